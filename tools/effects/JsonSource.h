// Reading the generators' JSON sources with messages that name the file and the item at fault.
#pragma once

#include <QColor>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

namespace lumiset::tools {

class JsonSource {
public:
    // Throws Error when the file cannot be read or is not a JSON object.
    static QJsonObject load(const QString& path);
};

// Field readers: `where` names the file and item for the error message when a field is missing or has
// the wrong type.
QString RequireString(const QJsonObject& object, const QString& key, const QString& where);
double RequireNumber(const QJsonObject& object, const QString& key, const QString& where);
int RequireInt(const QJsonObject& object, const QString& key, int min, int max, const QString& where);
QJsonArray RequireArray(const QJsonObject& object, const QString& key, const QString& where);
// A [low, high] pair of numbers.
QPair<double, double> RequireRange(const QJsonObject& object, const QString& key, const QString& where);
// One "#rrggbb" or "#aarrggbb" colour.
QColor RequireColor(const QJsonObject& object, const QString& key, const QString& where);
// A non-empty list of "#rrggbb" or "#aarrggbb" colours.
QList<QColor> RequireColors(const QJsonObject& object, const QString& key, const QString& where);

} // namespace lumiset::tools
