#include "core/AlbumFile.h"

#include "core/Columns.h"
#include "core/Error.h"
#include "core/Package.h"
#include "core/TextHelpers.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace lumiset {

namespace {

// Tables an older or hand-made file may leave out: they follow from the photo table.
bool isDerivedTable(const Album& album, const Table* table) {
    return table == &album.pendingLandscape || table == &album.pendingPortrait ||
           table == &album.landscapePhotos;
}

// A reference cell: a row index below `rows`, or empty where `emptyAllowed`.
void checkReference(QStringList& problems, const Table& table, int column, const Table& target,
                    bool emptyAllowed) {
    for (int r = 0; r < table.rowCount(); ++r) {
        const QString& text = table.cell(r, column);
        if (text.isEmpty() && emptyAllowed)
            continue;
        bool ok = false;
        const int target_row = text.toInt(&ok);
        if (!ok || target_row < 0 || target_row >= target.rowCount())
            problems.append(QStringLiteral("表 %1 第 %2 行第 %3 列引用了不存在的 %4 行“%5”")
                                .arg(table.name())
                                .arg(r + 1)
                                .arg(column)
                                .arg(target.name(), text));
    }
}

void checkTemplateNumbers(QStringList& problems, const Table& table, int column, int catalogueSize) {
    for (int r = 0; r < table.rowCount(); ++r) {
        bool ok = false;
        const int n = table.cell(r, column).toInt(&ok);
        if (!ok || n < 0 || (catalogueSize >= 0 && n >= catalogueSize))
            problems.append(QStringLiteral("表 %1 第 %2 行的模板编号“%3”无效")
                                .arg(table.name())
                                .arg(r + 1)
                                .arg(table.cell(r, column)));
    }
}

void checkSameLength(QStringList& problems, const Table& a, const Table& b) {
    if (a.rowCount() != b.rowCount())
        problems.append(QStringLiteral("表 %1 有 %2 行, 但表 %3 有 %4 行")
                            .arg(a.name())
                            .arg(a.rowCount())
                            .arg(b.name())
                            .arg(b.rowCount()));
}

} // namespace

QStringList AlbumProblems(const Album& album, int catalogueSize) {
    QStringList problems;
    checkTemplateNumbers(problems, album.usedTemplates, UsedTemplateCol::TemplateNumber, catalogueSize);
    checkTemplateNumbers(problems, album.templateSlots, SlotCol::TemplateNumber, catalogueSize);
    checkReference(problems, album.templateSlots, SlotCol::UsedRow, album.usedTemplates, false);
    checkReference(problems, album.templateSlots, SlotCol::PhotoRow, album.photos, true);
    checkReference(problems, album.landscapePhotos, LandscapePhotoCol::PhotoRow, album.photos, false);
    checkReference(problems, album.textEffects, TextEffectCol::UsedRow, album.usedTemplates, true);
    checkSameLength(problems, album.backgrounds, album.usedTemplates);
    checkSameLength(problems, album.lyricSettings, album.lyrics);
    return problems;
}

QByteArray AlbumToJson(const Album& album) {
    QJsonObject tables;
    for (const Table* table : album.tables()) {
        QJsonArray rows;
        for (const QStringList& row : table->rows())
            rows.append(QJsonArray::fromStringList(row));
        tables.insert(table->name(), rows);
    }
    QJsonObject settings;
    for (auto it = album.settings.begin(); it != album.settings.end(); ++it)
        settings.insert(it.key(), it.value());
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
    for (auto it = tables.begin(); it != tables.end(); ++it) {
        const auto known = album.tables();
        if (std::none_of(known.begin(), known.end(), [&](const Table* t) { return t->name() == it.key(); }))
            throw Error(QStringLiteral("相册文件中有未知的表: %1").arg(it.key()));
    }
    bool derivedMissing = false;
    for (Table* table : album.tables()) {
        const QJsonValue value = tables.value(table->name());
        if (value.isUndefined() && isDerivedTable(album, table)) {
            derivedMissing = true;
            continue;
        }
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
    if (derivedMissing)
        album.rebuildPhotoLists();

    const QJsonValue settings = root.value(QStringLiteral("settings"));
    if (!settings.isUndefined() && !settings.isObject())
        throw Error(QStringLiteral("相册文件的 settings 不是对象"));
    const QJsonObject settingsObject = settings.toObject();
    for (auto it = settingsObject.begin(); it != settingsObject.end(); ++it) {
        if (!it.value().isString())
            throw Error(QStringLiteral("设置 %1 的值不是文字").arg(it.key()));
        album.settings.insert(it.key(), it.value().toString());
    }

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
