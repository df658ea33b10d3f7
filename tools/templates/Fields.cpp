#include "tools/templates/Fields.h"

#include "core/Error.h"
#include "core/Package.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

namespace lumiset::templates {

Fields::Fields(QJsonObject object, QString where) : object_(std::move(object)), where_(std::move(where)) {}

Fields Fields::load(const QString& path) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(ReadWholeFile(path), &error);
    if (error.error != QJsonParseError::NoError)
        throw Error(QStringLiteral("设计文件 %1 不是有效的 JSON (位置 %2): %3")
                        .arg(path)
                        .arg(error.offset)
                        .arg(error.errorString()));
    if (!doc.isObject())
        throw Error(QStringLiteral("设计文件 %1 的内容应是一个 JSON 对象").arg(path));
    return Fields(doc.object(), path + QStringLiteral(":"));
}

QString Fields::where(const QString& key) const {
    if (key.isEmpty())
        return where_;
    return where_.endsWith(u':') ? where_ + u' ' + key : where_ + u'.' + key;
}

void Fields::fail(const QString& key, const QString& problem) const {
    throw Error(QStringLiteral("%1: %2").arg(where(key), problem));
}

bool Fields::has(const QString& key) const {
    return object_.contains(key);
}

QJsonValue Fields::take(const QString& key) {
    read_.insert(key);
    return object_.value(key);
}

QJsonValue Fields::value(const QString& key) {
    return take(key);
}

double Fields::number(const QString& key, std::optional<double> fallback) {
    const QJsonValue v = take(key);
    if (v.isUndefined() && fallback)
        return *fallback;
    if (!v.isDouble())
        fail(key, v.isUndefined() ? QStringLiteral("缺少数值") : QStringLiteral("应是数值"));
    return v.toDouble();
}

int Fields::integer(const QString& key, std::optional<int> fallback) {
    const double n = number(key, fallback ? std::optional<double>(*fallback) : std::nullopt);
    if (n != static_cast<int>(n))
        fail(key, QStringLiteral("应是整数"));
    return static_cast<int>(n);
}

QString Fields::text(const QString& key, std::optional<QString> fallback) {
    const QJsonValue v = take(key);
    if (v.isUndefined() && fallback)
        return *fallback;
    if (!v.isString())
        fail(key, v.isUndefined() ? QStringLiteral("缺少文字") : QStringLiteral("应是文字"));
    return v.toString();
}

bool Fields::flag(const QString& key, bool fallback) {
    const QJsonValue v = take(key);
    if (v.isUndefined())
        return fallback;
    if (!v.isBool())
        fail(key, QStringLiteral("应是 true 或 false"));
    return v.toBool();
}

QColor ParseColor(const QString& text, const Fields& owner, const QString& key) {
    static const QRegularExpression hex(QStringLiteral("^#[0-9a-fA-F]{6}$"));
    if (!hex.match(text).hasMatch())
        owner.fail(key, QStringLiteral("颜色应写成 #rrggbb, 而不是 \"%1\"").arg(text));
    return QColor(text);
}

QColor Fields::color(const QString& key, std::optional<QColor> fallback) {
    if (!has(key) && fallback) {
        read_.insert(key);
        return *fallback;
    }
    return ParseColor(text(key), *this, key);
}

std::vector<double> Fields::numbers(const QString& key) {
    const QJsonValue v = take(key);
    if (!v.isArray())
        fail(key, QStringLiteral("应是数值列表"));
    std::vector<double> out;
    for (const QJsonValue& item : v.toArray()) {
        if (!item.isDouble())
            fail(key, QStringLiteral("列表中应全是数值"));
        out.push_back(item.toDouble());
    }
    return out;
}

QJsonArray Fields::array(const QString& key) {
    const QJsonValue v = take(key);
    if (!v.isArray())
        fail(key, v.isUndefined() ? QStringLiteral("缺少列表") : QStringLiteral("应是列表"));
    return v.toArray();
}

QStringList Fields::texts(const QString& key) {
    const QJsonValue v = take(key);
    if (!v.isArray())
        fail(key, QStringLiteral("应是文字列表"));
    QStringList out;
    for (const QJsonValue& item : v.toArray()) {
        if (!item.isString())
            fail(key, QStringLiteral("列表中应全是文字"));
        out.append(item.toString());
    }
    return out;
}

QPointF Fields::point(const QString& key, std::optional<QPointF> fallback) {
    if (!has(key) && fallback) {
        read_.insert(key);
        return *fallback;
    }
    const std::vector<double> v = numbers(key);
    if (v.size() != 2)
        fail(key, QStringLiteral("应是 [x, y]"));
    return {v[0], v[1]};
}

std::pair<double, double> Fields::pairOrOne(const QString& key,
                                            std::optional<std::pair<double, double>> fallback,
                                            const QString& expected) {
    if (!has(key) && fallback) {
        read_.insert(key);
        return *fallback;
    }
    if (object_.value(key).isDouble()) {
        const double s = number(key);
        return {s, s};
    }
    const std::vector<double> v = numbers(key);
    if (v.size() != 2)
        fail(key, expected);
    return {v[0], v[1]};
}

QSizeF Fields::size(const QString& key, std::optional<QSizeF> fallback) {
    const auto [w, h] = pairOrOne(
        key, fallback ? std::optional(std::pair{fallback->width(), fallback->height()}) : std::nullopt,
        QStringLiteral("应是 [宽, 高] 或一个数值"));
    return {w, h};
}

std::pair<double, double> Fields::range(const QString& key,
                                        std::optional<std::pair<double, double>> fallback) {
    return pairOrOne(key, fallback, QStringLiteral("应是 [最小, 最大] 或一个数值"));
}

Fields Fields::object(const QString& key) {
    const QJsonValue v = take(key);
    if (!v.isObject())
        fail(key, v.isUndefined() ? QStringLiteral("缺少对象") : QStringLiteral("应是 JSON 对象"));
    return Fields(v.toObject(), where(key));
}

std::vector<Fields> Fields::objects(const QString& key) {
    const QJsonValue v = take(key);
    if (v.isUndefined())
        return {};
    if (!v.isArray())
        fail(key, QStringLiteral("应是对象列表"));
    std::vector<Fields> out;
    const QJsonArray items = v.toArray();
    for (int i = 0; i < items.size(); ++i) {
        const QString itemWhere = where(key) + QStringLiteral("[%1]").arg(i);
        if (!items[i].isObject())
            throw Error(QStringLiteral("%1: 应是 JSON 对象").arg(itemWhere));
        out.emplace_back(items[i].toObject(), itemWhere);
    }
    return out;
}

void Fields::finish() const {
    QStringList unknown;
    for (auto it = object_.begin(); it != object_.end(); ++it)
        if (!read_.contains(it.key()) && !it.key().startsWith(u'_'))
            unknown.append(it.key());
    if (!unknown.isEmpty())
        throw Error(QStringLiteral("%1 不认识的字段: %2").arg(where_, unknown.join(QStringLiteral(", "))));
}

} // namespace lumiset::templates
