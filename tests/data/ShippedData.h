// Reading the data folder the build produced (LUMISET_PROGRAM_DIR, else this build's program folder):
// the template pairs, the special movies and the combinations, decoded from their packages.
#pragma once

#include "core/DataPaths.h"
#include "core/IniFile.h"

#include <QJsonObject>
#include <QStringList>
#include <vector>

namespace lumiset::test {

DataPaths ShippedPaths();

struct ShippedTemplate {
    QString parameterPackage;
    QString animationPackage;
    IniFile parameters;
    QJsonObject movie;
    QString name() const;
};

// Every template, pairing the k-th parameter package with the k-th animation package.
std::vector<ShippedTemplate> LoadShippedTemplates();
QJsonObject LoadMovie(const QString& package, int layers);

// The image asset with this id, or an empty object.
QJsonObject FindAsset(const QJsonObject& movie, const QString& id);
// Top-level layers with this name.
std::vector<QJsonObject> LayersNamed(const QJsonObject& movie, const QString& name);
bool CarriesMarker(const QJsonObject& movie, const QString& marker);

// What a movie uses outside the player's documented subset, one line per problem; empty when it
// stays inside.
QStringList SubsetProblems(const QJsonObject& movie);

} // namespace lumiset::test
