#include "tests/data/ShippedData.h"

#include "core/Folders.h"
#include "core/Package.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

namespace lumiset::test {

DataPaths ShippedPaths() {
    // The program folder named by the environment (ctest sets it), else the one this build fills
    // (the tests run by hand).
    if (!qEnvironmentVariableIsEmpty("LUMISET_PROGRAM_DIR"))
        return DataPaths::forRunningProgram();
    return DataPaths::forProgramDir(QStringLiteral(LUMISET_BUILT_PROGRAM_DIR));
}

QString ShippedTemplate::name() const {
    return parameters.value("l_x_k_r_v_t_w_j_s_y", "l_x_k_r_v_t_w_j_s_y_m_c");
}

QJsonObject LoadMovie(const QString& package, int layers) {
    return QJsonDocument::fromJson(DecodePackageToMemory(package, layers)).object();
}

std::vector<ShippedTemplate> LoadShippedTemplates() {
    const DataPaths paths = ShippedPaths();
    const QStringList parameters = ScanPackages(paths.templateParameterTree());
    const QStringList animations = ScanPackages(paths.templateAnimationTree());
    std::vector<ShippedTemplate> out;
    for (int k = 0; k < std::min(parameters.size(), animations.size()); ++k)
        out.push_back({parameters[k], animations[k],
                       IniFile::fromBytes(DecodePackageToMemory(parameters[k], 20)),
                       LoadMovie(animations[k], 20)});
    return out;
}

QJsonObject FindAsset(const QJsonObject& movie, const QString& id) {
    for (const QJsonValue& a : movie.value("assets").toArray())
        if (a.toObject().value("id").toString() == id)
            return a.toObject();
    return {};
}

std::vector<QJsonObject> LayersNamed(const QJsonObject& movie, const QString& name) {
    std::vector<QJsonObject> out;
    for (const QJsonValue& l : movie.value("layers").toArray())
        if (l.toObject().value("nm").toString() == name)
            out.push_back(l.toObject());
    return out;
}

bool CarriesMarker(const QJsonObject& movie, const QString& marker) {
    const QJsonArray markers = movie.value("markers").toArray();
    return !markers.isEmpty() && markers.first().toObject().value("cm").toString() == marker;
}

namespace {

const QSet<QString> kShapeItems = {"gr", "rc", "el", "sr", "sh", "fl", "st", "gf", "tr"};

// Expressions are text in an animated property's "x".
void checkProperties(const QJsonValue& v, const QString& where, QStringList& problems) {
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        if (o.contains("k") && o.value("x").isString())
            problems.append(where + ": expression");
        for (auto it = o.begin(); it != o.end(); ++it)
            checkProperties(it.value(), where, problems);
    } else if (v.isArray()) {
        for (const QJsonValue& item : v.toArray())
            checkProperties(item, where, problems);
    }
}

void checkShapes(const QJsonArray& items, const QString& where, QStringList& problems) {
    for (const QJsonValue& v : items) {
        const QJsonObject item = v.toObject();
        const QString type = item.value("ty").toString();
        if (!kShapeItems.contains(type))
            problems.append(where + ": shape item " + type);
        if (type == "gr")
            checkShapes(item.value("it").toArray(), where, problems);
    }
}

void checkLayers(const QJsonObject& movie, const QJsonArray& layers, const QString& comp,
                 QStringList& problems) {
    QSet<int> indices;
    for (const QJsonValue& v : layers)
        indices.insert(v.toObject().value("ind").toInt());
    for (int i = 0; i < layers.size(); ++i) {
        const QJsonObject l = layers[i].toObject();
        const QString where = comp + "/" + l.value("nm").toString();
        const int type = l.value("ty").toInt(-1);
        if (type < 0 || type > 4)
            problems.append(where + ": layer type " + QString::number(type));
        if (l.value("ddd").toInt() != 0 || l.contains("ef") || l.value("bm").toInt() != 0 ||
            l.value("ao").toInt() != 0)
            problems.append(where + ": 3D, effects, blend mode or auto-orient");
        const int matte = l.value("tt").toInt();
        if (matte != 0) {
            if (matte != 1 && matte != 2)
                problems.append(where + ": luma matte");
            if (i == 0 || layers[i - 1].toObject().value("td").toInt() != 1)
                problems.append(where + ": matte without a matte source above it");
        }
        if (l.contains("parent") && !indices.contains(l.value("parent").toInt()))
            problems.append(where + ": parent not in the composition");
        for (const QJsonValue& m : l.value("masksProperties").toArray()) {
            const QString mode = m.toObject().value("mode").toString();
            if (mode != "a" && mode != "s" && mode != "i")
                problems.append(where + ": mask mode " + mode);
        }
        if (type == 0 || type == 2) {
            const QJsonObject asset = FindAsset(movie, l.value("refId").toString());
            if (asset.isEmpty() || (type == 0) != asset.contains("layers"))
                problems.append(where + ": missing asset " + l.value("refId").toString());
        }
        if (type == 4)
            checkShapes(l.value("shapes").toArray(), where, problems);
        checkProperties(l, where, problems);
    }
}

} // namespace

QStringList SubsetProblems(const QJsonObject& movie) {
    QStringList problems;
    checkLayers(movie, movie.value("layers").toArray(), "main", problems);
    for (const QJsonValue& a : movie.value("assets").toArray())
        if (a.toObject().contains("layers"))
            checkLayers(movie, a.toObject().value("layers").toArray(), a.toObject().value("id").toString(),
                        problems);
    return problems;
}

} // namespace lumiset::test
