#include "core/AlbumFile.h"

#include "core/AlbumReferences.h"
#include "core/Error.h"
#include "core/Package.h"
#include "core/TextHelpers.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace lumiset {

namespace {

// The album facts travel among the settings, under their field names.
struct FactField {
    const char* name;
    QString AlbumFacts::*field;
};
const FactField kFactFields[] = {
    {"Edit_mobanfashi", &AlbumFacts::Edit_mobanfashi},
    {"Edit_zuhemoban_xuanhao", &AlbumFacts::Edit_zuhemoban_xuanhao},
    {"Edit_zidongtianjia_wenzitexiao_wancheng", &AlbumFacts::Edit_zidongtianjia_wenzitexiao_wancheng},
    {"Edit_zidongtianjia_huamiantexiao_wancheng", &AlbumFacts::Edit_zidongtianjia_huamiantexiao_wancheng},
};

} // namespace

QByteArray AlbumToJson(const Album& album) {
    QJsonObject tables;
    for (const TableSchema& schema : AlbumTableSchemas()) {
        if (schema.derived)
            continue; // follows from the other tables; never trusted from a file
        const Table* table = &album.table(schema.id);
        QJsonArray rows;
        for (const QStringList& row : table->rows())
            rows.append(QJsonArray::fromStringList(row));
        tables.insert(table->name(), rows);
    }
    QJsonObject settings;
    for (auto it = album.settings.begin(); it != album.settings.end(); ++it)
        settings.insert(it.key(), it.value());
    for (const FactField& fact : kFactFields)
        if (!(album.facts.*fact.field).isEmpty())
            settings.insert(QLatin1String(fact.name), album.facts.*fact.field);
    const QJsonObject root{{QStringLiteral("format"), kAlbumFormat},
                           {QStringLiteral("version"), kAlbumVersion},
                           {QStringLiteral("tables"), tables},
                           {QStringLiteral("settings"), settings}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

Album AlbumFromJson(const QByteArray& json, int catalogueSize) {
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        throw Error(QStringLiteral("不是有效的相册文件 (第 %1 个字符处: %2)")
                        .arg(parseError.offset)
                        .arg(parseError.errorString()));
    const QJsonObject root = doc.object();
    if (!doc.isObject() || root.value(QStringLiteral("format")).toString() != kAlbumFormat)
        throw Error(QStringLiteral("不是 Lumiset 相册文件"));
    const QJsonValue version = root.value(QStringLiteral("version"));
    if (!version.isDouble() || version.toInt() != kAlbumVersion)
        throw Error(QStringLiteral("不支持的相册文件版本: %1").arg(version.toVariant().toString()));

    Album album;
    const QJsonObject tables = root.value(QStringLiteral("tables")).toObject();
    for (auto it = tables.begin(); it != tables.end(); ++it)
        if (!TableNamed(it.key()))
            throw Error(QStringLiteral("相册文件中有未知的表: %1").arg(it.key()));
    for (const TableSchema& schema : AlbumTableSchemas()) {
        // Older files hold the derived lists too; they may be stale, so they are rebuilt below.
        if (schema.derived)
            continue;
        Table* table = &album.table(schema.id);
        const QJsonValue value = tables.value(table->name());
        if (!value.isArray())
            throw Error(QStringLiteral("相册文件缺少表 %1").arg(table->name()));
        QList<QStringList> rows;
        const QJsonArray jsonRows = value.toArray();
        for (qsizetype r = 0; r < jsonRows.size(); ++r) {
            const QJsonArray cells = jsonRows[r].toArray();
            if (!jsonRows[r].isArray() || cells.size() != table->columnCount())
                throw Error(QStringLiteral("表 %1 第 %2 行应有 %3 列")
                                .arg(table->name())
                                .arg(r + 1)
                                .arg(table->columnCount()));
            QStringList row;
            for (const QJsonValue& cell : cells) {
                if (!cell.isString())
                    throw Error(
                        QStringLiteral("表 %1 第 %2 行有非文字的单元格").arg(table->name()).arg(r + 1));
                row.append(cell.toString());
            }
            rows.append(row);
        }
        table->setRows(std::move(rows));
    }
    album.refreshDerived();

    const QJsonValue settings = root.value(QStringLiteral("settings"));
    if (!settings.isUndefined() && !settings.isObject())
        throw Error(QStringLiteral("相册文件的 settings 不是对象"));
    const QJsonObject settingsObject = settings.toObject();
    for (auto it = settingsObject.begin(); it != settingsObject.end(); ++it) {
        if (!it.value().isString())
            throw Error(QStringLiteral("设置 %1 的值不是文字").arg(it.key()));
        album.settings.insert(it.key(), it.value().toString());
    }
    for (const FactField& fact : kFactFields)
        album.facts.*fact.field = album.settings.take(QLatin1String(fact.name));

    const QStringList problems = AlbumProblems(album, catalogueSize);
    if (!problems.isEmpty())
        throw Error(QStringLiteral("相册文件已损坏:\n%1").arg(problems.join(u'\n')));
    return album;
}

void SaveAlbum(const Album& album, const QString& path) {
    WriteWholeFile(path, AlbumToJson(album));
}

Album OpenAlbum(const QString& path, int catalogueSize) {
    const QByteArray json = ReadWholeFile(path);
    try {
        return AlbumFromJson(json, catalogueSize);
    } catch (const Error& e) {
        throw Error(
            QStringLiteral("无法打开相册文件 %1: %2").arg(QDir::toNativeSeparators(path), e.message()));
    }
}

} // namespace lumiset
