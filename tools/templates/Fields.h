// Typed reading of one JSON object of a design source, with messages that name the file and the field,
// and a check that every field was understood (a mistyped field name is an error, not a silent default).
#pragma once

#include <QColor>
#include <QJsonArray>
#include <QJsonObject>
#include <QPointF>
#include <QSet>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

namespace lumiset::templates {

class Fields {
public:
    Fields(QJsonObject object, QString where);
    // Reads a whole JSON file; throws Error naming it when it cannot be read or parsed.
    static Fields load(const QString& path);

    bool has(const QString& key) const;
    double number(const QString& key, std::optional<double> fallback = {});
    int integer(const QString& key, std::optional<int> fallback = {});
    QString text(const QString& key, std::optional<QString> fallback = {});
    bool flag(const QString& key, bool fallback);
    // "#rrggbb"
    QColor color(const QString& key, std::optional<QColor> fallback = {});
    // [x, y]
    QPointF point(const QString& key, std::optional<QPointF> fallback = {});
    // [w, h], or one number for a square
    QSizeF size(const QString& key, std::optional<QSizeF> fallback = {});
    // [a, b] of numbers, or one number for both
    std::pair<double, double> range(const QString& key,
                                    std::optional<std::pair<double, double>> fallback = {});
    std::vector<double> numbers(const QString& key);
    QJsonArray array(const QString& key);
    QStringList texts(const QString& key);
    Fields object(const QString& key);
    std::vector<Fields> objects(const QString& key);
    QJsonValue value(const QString& key);

    // Throws Error naming every field that no reader asked for.
    void finish() const;
    // "file: path.key" for messages.
    QString where(const QString& key = {}) const;
    [[noreturn]] void fail(const QString& key, const QString& problem) const;

private:
    QJsonValue take(const QString& key);
    // [a, b], or one number for both.
    std::pair<double, double> pairOrOne(const QString& key, std::optional<std::pair<double, double>> fallback,
                                        const QString& expected);
    QJsonObject object_;
    QString where_;
    QSet<QString> read_;
};

QColor ParseColor(const QString& text, const Fields& owner, const QString& key);

} // namespace lumiset::templates
