#include "tools/effects/JsonSource.h"

#include "core/Error.h"
#include "core/Package.h"

#include <QJsonDocument>

namespace lumiset::tools {

namespace {

[[noreturn]] void fail(const QString& where, const QString& key, const QString& what) {
    throw Error(QStringLiteral("%1：字段 %2 %3").arg(where, key, what));
}

QJsonValue required(const QJsonObject& object, const QString& key, const QString& where) {
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull())
        fail(where, key, QStringLiteral("缺失"));
    return value;
}

} // namespace

QJsonObject JsonSource::load(const QString& path) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(ReadWholeFile(path), &error);
    if (error.error != QJsonParseError::NoError)
        throw Error(QStringLiteral("%1 不是有效的 JSON 文件（第 %2 个字符：%3）")
                        .arg(path)
                        .arg(error.offset)
                        .arg(error.errorString()));
    if (!document.isObject())
        throw Error(QStringLiteral("%1 的顶层必须是一个对象").arg(path));
    return document.object();
}

QString RequireString(const QJsonObject& object, const QString& key, const QString& where) {
    const QJsonValue value = required(object, key, where);
    if (!value.isString() || value.toString().isEmpty())
        fail(where, key, QStringLiteral("必须是非空文本"));
    return value.toString();
}

double RequireNumber(const QJsonObject& object, const QString& key, const QString& where) {
    const QJsonValue value = required(object, key, where);
    if (!value.isDouble())
        fail(where, key, QStringLiteral("必须是数字"));
    return value.toDouble();
}

int RequireInt(const QJsonObject& object, const QString& key, int min, int max, const QString& where) {
    const double number = RequireNumber(object, key, where);
    const int whole = static_cast<int>(number);
    if (whole != number || whole < min || whole > max)
        fail(where, key, QStringLiteral("必须是 %1 到 %2 之间的整数").arg(min).arg(max));
    return whole;
}

QJsonArray RequireArray(const QJsonObject& object, const QString& key, const QString& where) {
    const QJsonValue value = required(object, key, where);
    if (!value.isArray() || value.toArray().isEmpty())
        fail(where, key, QStringLiteral("必须是非空数组"));
    return value.toArray();
}

QPair<double, double> RequireRange(const QJsonObject& object, const QString& key, const QString& where) {
    const QJsonArray pair = RequireArray(object, key, where);
    if (pair.size() != 2 || !pair[0].isDouble() || !pair[1].isDouble() ||
        pair[0].toDouble() > pair[1].toDouble())
        fail(where, key, QStringLiteral("必须是 [下限, 上限] 两个数字"));
    return {pair[0].toDouble(), pair[1].toDouble()};
}

namespace {

QColor colorOf(const QJsonValue& item, const QString& key, const QString& where) {
    const QColor color = QColor::fromString(item.toString());
    if (!item.isString() || !color.isValid())
        fail(where, key, QStringLiteral("含有无效的颜色 %1").arg(item.toString()));
    return color;
}

} // namespace

QColor RequireColor(const QJsonObject& object, const QString& key, const QString& where) {
    return colorOf(required(object, key, where), key, where);
}

QList<QColor> RequireColors(const QJsonObject& object, const QString& key, const QString& where) {
    QList<QColor> colors;
    for (const QJsonValue& item : RequireArray(object, key, where))
        colors.append(colorOf(item, key, where));
    return colors;
}

} // namespace lumiset::tools
