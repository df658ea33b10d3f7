#include "player/LottieParser.h"

#include "core/Error.h"
#include "player/LottieParseContext.h"
#include "player/PlayerLimits.h"

#include <QHash>
#include <QJsonDocument>
#include <cmath>
#include <functional>
#include <limits>

namespace lumiset::lottie {

namespace {

using limits::kMaxFrames;
using limits::kMaxPrecompositionDepth;

struct AssetIndex {
    QHash<QString, int> images;
    QHash<QString, int> precompositions;
    std::vector<QJsonArray> precompositionLayers;
};

QString LayerKindName(int type) {
    switch (type) {
    case 5:
        return QStringLiteral("文字图层");
    case 6:
        return QStringLiteral("音频图层");
    case 13:
        return QStringLiteral("摄像机图层");
    case 14:
        return QStringLiteral("灯光图层");
    default:
        return QStringLiteral("图层类型 %1").arg(type);
    }
}

QString LayerLabel(const QString& name) {
    return name.isEmpty() ? QStringLiteral("（未命名）") : name;
}

Mask ParseMask(const ParseContext& context, const QJsonObject& object, bool& used) {
    Mask mask;
    const QString mode = object.value("mode").toString("a");
    used = mode != "n";
    if (mode == "a")
        mask.mode = Mask::Mode::Add;
    else if (mode == "s")
        mask.mode = Mask::Mode::Subtract;
    else if (mode == "i")
        mask.mode = Mask::Mode::Intersect;
    else if (mode != "n")
        context.unsupported(QStringLiteral("蒙版模式“%1”").arg(mode));
    if (!used)
        return mask;
    mask.inverted = object.value("inv").toBool();
    mask.path = context.shape(object, "pt");
    mask.opacity = context.vec(object, "o", Vec{100});
    context.requireNeutral(object, "x", 0, QStringLiteral("蒙版扩展"));
    return mask;
}

QColor SolidColor(const ParseContext& context, const QJsonObject& object) {
    const QColor color = QColor::fromString(object.value("sc").toString());
    if (!color.isValid())
        context.invalid(QStringLiteral("sc"));
    return color;
}

Layer ParseLayer(ParseContext& context, const QJsonObject& object, const AssetIndex& assets) {
    Layer layer;
    layer.name = object.value("nm").toString();
    const LayerScope scope(context, LayerLabel(layer.name));
    const int type = object.value("ty").toInt(-1);
    switch (type) {
    case 0:
        layer.kind = LayerKind::Precomposition;
        break;
    case 1:
        layer.kind = LayerKind::Solid;
        break;
    case 2:
        layer.kind = LayerKind::Image;
        break;
    case 3:
        layer.kind = LayerKind::Null;
        break;
    case 4:
        layer.kind = LayerKind::Shape;
        break;
    default:
        context.unsupported(LayerKindName(type));
    }
    if (object.value("ddd").toInt() == 1)
        context.unsupported(QStringLiteral("三维图层 (ddd)"));
    if (!object.value("ef").toArray().isEmpty())
        context.unsupported(QStringLiteral("效果 (ef)"));
    if (object.value("bm").toInt() != 0)
        context.unsupported(QStringLiteral("混合模式 (bm)"));
    if (object.value("ao").toInt() == 1)
        context.unsupported(QStringLiteral("自动朝向 (ao)"));
    const int matte = object.value("tt").toInt();
    if (matte == 1)
        layer.matte = MatteMode::Alpha;
    else if (matte == 2)
        layer.matte = MatteMode::InvertedAlpha;
    else if (matte == 3 || matte == 4)
        context.unsupported(QStringLiteral("亮度遮罩 (tt)"));
    else if (matte != 0)
        context.invalid(QStringLiteral("tt"));
    layer.isMatteSource = object.value("td").toInt() == 1;
    layer.hidden = object.value("hd").toBool();
    layer.inPoint = context.number(object, "ip", 0);
    layer.outPoint = context.number(object, "op", std::numeric_limits<double>::infinity());
    layer.startTime = context.number(object, "st", 0);
    layer.timeStretch = context.number(object, "sr", 1);
    if (layer.timeStretch <= 0)
        context.invalid(QStringLiteral("sr"));
    layer.transform = context.transform(object.value("ks").toObject());
    for (const QJsonValue& value : object.value("masksProperties").toArray()) {
        bool used = false;
        Mask mask = ParseMask(context, value.toObject(), used);
        if (used)
            layer.masks.push_back(std::move(mask));
    }

    const QString ref = object.value("refId").toString();
    switch (layer.kind) {
    case LayerKind::Precomposition:
        layer.precomposition = assets.precompositions.value(ref, -1);
        if (layer.precomposition < 0)
            context.invalid(QStringLiteral("refId"));
        layer.width = context.number(object, "w", 0);
        layer.height = context.number(object, "h", 0);
        if (object.contains("tm"))
            layer.timeRemap = context.vec(object, "tm", Vec{0});
        break;
    case LayerKind::Image:
        layer.image = assets.images.value(ref, -1);
        if (layer.image < 0)
            context.invalid(QStringLiteral("refId"));
        break;
    case LayerKind::Solid:
        layer.solidColor = SolidColor(context, object);
        layer.width = context.number(object, "sw", 0);
        layer.height = context.number(object, "sh", 0);
        break;
    case LayerKind::Shape:
        layer.shapes = ParseShapeItems(context, object.value("shapes").toArray(), nullptr);
        break;
    case LayerKind::Null:
        break;
    }
    return layer;
}

// A parent loop has no transform; a chain deeper than the limit is refused. Each layer's depth is
// found once, so a long chain costs time in proportion to its length.
void RejectParentLoopsAndDeepChains(ParseContext& context, const std::vector<Layer>& layers) {
    constexpr int kUnknown = -1, kOnPath = -2;
    std::vector<int> depth(layers.size(), kUnknown); // parents above each layer, once known
    std::vector<int> path;
    for (int i = 0; i < int(layers.size()); ++i) {
        path.clear();
        int p = i;
        while (p >= 0 && depth[p] == kUnknown) {
            depth[p] = kOnPath;
            path.push_back(p);
            p = layers[p].parent;
        }
        if (p >= 0 && depth[p] == kOnPath) {
            const LayerScope scope(context, LayerLabel(layers[p].name));
            context.invalid(QStringLiteral("parent"));
        }
        int below = p < 0 ? -1 : depth[p]; // the depth of the first layer already known
        for (auto it = path.rbegin(); it != path.rend(); ++it) {
            depth[*it] = ++below;
            if (below > limits::kMaxParentDepth) {
                const LayerScope scope(context, LayerLabel(layers[*it].name));
                context.unsupported(QStringLiteral("父图层超过 %1 层").arg(limits::kMaxParentDepth));
            }
        }
    }
}

// Turns the "parent" and matte references (layer "ind" numbers) into positions in the list.
void LinkLayers(ParseContext& context, Composition& composition, const QJsonArray& objects) {
    QHash<int, int> positions;
    for (int i = 0; i < objects.size(); ++i) {
        const QJsonValue ind = objects[i].toObject().value("ind");
        if (ind.isDouble() && !positions.contains(ind.toInt()))
            positions.insert(ind.toInt(), i);
    }
    auto& layers = composition.layers;
    for (int i = 0; i < int(layers.size()); ++i) {
        const QJsonObject object = objects[i].toObject();
        const LayerScope scope(context, LayerLabel(layers[i].name));
        if (object.contains("parent")) {
            layers[i].parent = positions.value(object.value("parent").toInt(), -1);
            if (layers[i].parent < 0 || layers[i].parent == i)
                context.invalid(QStringLiteral("parent"));
        }
        if (layers[i].matte == MatteMode::None)
            continue;
        // Newer exports name the matte layer ("tp"); older ones use the layer just above.
        const int source = object.contains("tp") ? positions.value(object.value("tp").toInt(), -1) : i - 1;
        if (source < 0 || source == i)
            context.invalid(QStringLiteral("tt"));
        layers[i].matteLayer = source;
    }
    RejectParentLoopsAndDeepChains(context, layers);
}

Composition ParseComposition(ParseContext& context, const QJsonArray& objects, const AssetIndex& assets) {
    Composition composition;
    for (const QJsonValue& value : objects) {
        if (!value.isObject())
            context.invalid(QStringLiteral("layers"));
        composition.layers.push_back(ParseLayer(context, value.toObject(), assets));
    }
    LinkLayers(context, composition, objects);
    return composition;
}

ImageAsset ParseImageAsset(const ParseContext& context, const QJsonObject& object) {
    ImageAsset image;
    image.id = object.value("id").toString();
    image.width = context.number(object, "w", 0);
    image.height = context.number(object, "h", 0);
    const QString p = object.value("p").toString();
    image.embedded = object.value("e").toInt() == 1 || p.startsWith("data:");
    if (!image.embedded) {
        image.fileName = object.value("u").toString() + p;
        if (p.isEmpty())
            context.invalid(QStringLiteral("p"));
        return image;
    }
    const qsizetype comma = p.indexOf(',');
    if (!p.startsWith("data:") || comma < 0 || !p.left(comma).endsWith(";base64"))
        context.invalid(QStringLiteral("p"));
    const auto decoded =
        QByteArray::fromBase64Encoding(p.mid(comma + 1).toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        context.invalid(QStringLiteral("p"));
    image.data = *decoded;
    return image;
}

// A precomposition that contains itself, directly or not, would never finish drawing; a very deep
// chain would exhaust the stack (drawing recurses once per level).
void RejectCyclesAndDeepNesting(const ParseContext& context, const LottieMovie& movie) {
    std::vector<int> height(movie.precompositions.size(), -1); // levels below, once known
    std::vector<bool> onPath(movie.precompositions.size(), false);
    const auto tooDeep = [&] {
        context.unsupported(QStringLiteral("预合成嵌套超过 %1 层").arg(kMaxPrecompositionDepth));
    };
    std::function<int(const Composition&, int)> heightOf = [&](const Composition& composition, int depth) {
        if (depth > kMaxPrecompositionDepth)
            tooDeep();
        int levels = 0;
        for (const Layer& layer : composition.layers) {
            const int child = layer.precomposition;
            if (child < 0)
                continue;
            if (onPath[child])
                context.invalid(QStringLiteral("refId"));
            if (height[child] < 0) {
                onPath[child] = true;
                height[child] = heightOf(*movie.precompositions[child], depth + 1);
                onPath[child] = false;
            }
            if (depth + 1 + height[child] > kMaxPrecompositionDepth)
                tooDeep();
            levels = std::max(levels, height[child] + 1);
        }
        return levels;
    };
    heightOf(movie.root, 0);
    // A precomposition that no layer uses is still marked and counted later: a cycle there must end here.
    for (size_t i = 0; i < movie.precompositions.size(); ++i) {
        if (height[i] >= 0)
            continue;
        onPath[i] = true;
        height[i] = heightOf(*movie.precompositions[i], 1);
        onPath[i] = false;
    }
}

// Drawing a frame draws every layer of every use of a precomposition, and a matte again for the layer
// it mattes: ten uses of a precomposition that uses the next ten times, seven levels deep, would draw
// ten million layers. The count is an upper bound (all layers shown at once), found once per
// precomposition.
void RejectExcessiveLayerCount(const ParseContext& context, const LottieMovie& movie) {
    constexpr qint64 kLimit = limits::kMaxLayerInstances;
    std::vector<qint64> drawn(movie.precompositions.size(), -1); // layers drawn per use, once known
    const auto capped = [](qint64 n) { return std::min(n, kLimit + 1); };
    // Cycles were rejected before: the recursion ends, at most kMaxPrecompositionDepth deep.
    std::function<qint64(const Composition&)> count = [&](const Composition& composition) {
        const auto layerCost = [&](const Layer& layer) -> qint64 {
            if (layer.precomposition < 0)
                return 1;
            qint64& inner = drawn[layer.precomposition];
            if (inner < 0)
                inner = count(*movie.precompositions[layer.precomposition]);
            return capped(1 + inner);
        };
        qint64 total = 0;
        for (const Layer& layer : composition.layers) {
            if (layer.isMatteSource || layer.hidden)
                continue; // a matte is drawn through the layers it mattes, hidden or not
            total = capped(total + layerCost(layer));
            if (layer.matteLayer >= 0)
                total = capped(total + layerCost(composition.layers[layer.matteLayer]));
        }
        return total;
    };
    if (count(movie.root) > kLimit)
        throw Error(QStringLiteral("动画文件“%1”过于复杂：每帧要绘制的图层超过 %2 个。")
                        .arg(context.source())
                        .arg(kLimit));
}

} // namespace

LottieMovie ParseLottieMovie(const QByteArray& json, const QString& sourceName) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        throw Error(QStringLiteral("动画文件“%1”已损坏，无法读取（%2，位置 %3）。")
                        .arg(sourceName, error.errorString())
                        .arg(error.offset));
    const QJsonObject top = document.object();
    if (!document.isObject() || !top.value("layers").isArray())
        throw Error(QStringLiteral("动画文件“%1”不是 Lottie 动画。").arg(sourceName));

    ParseContext context(sourceName);
    LottieMovie movie;
    movie.width = context.number(top, "w", 0);
    movie.height = context.number(top, "h", 0);
    movie.frameRate = context.number(top, "fr", 0);
    movie.inPoint = context.number(top, "ip", 0);
    movie.outPoint = context.number(top, "op", 0);
    if (movie.width <= 0 || movie.height <= 0)
        context.invalid(QStringLiteral("w/h"));
    if (movie.frameRate <= 0)
        context.invalid(QStringLiteral("fr"));
    if (!(movie.outPoint > movie.inPoint) || movie.outPoint - movie.inPoint > kMaxFrames)
        context.invalid(QStringLiteral("ip/op"));

    AssetIndex assets;
    for (const QJsonValue& value : top.value("assets").toArray()) {
        const QJsonObject asset = value.toObject();
        const QString id = asset.value("id").toString();
        if (asset.contains("layers")) {
            assets.precompositions.insert(id, int(assets.precompositionLayers.size()));
            assets.precompositionLayers.push_back(asset.value("layers").toArray());
        } else if (asset.contains("p")) {
            assets.images.insert(id, int(movie.images.size()));
            movie.images.push_back(ParseImageAsset(context, asset));
        }
    }
    for (const QJsonArray& layers : assets.precompositionLayers)
        movie.precompositions.push_back(
            std::make_unique<Composition>(ParseComposition(context, layers, assets)));
    movie.root = ParseComposition(context, top.value("layers").toArray(), assets);
    RejectCyclesAndDeepNesting(context, movie);
    RejectExcessiveLayerCount(context, movie);
    MarkChanges(movie);

    for (const QJsonValue& value : top.value("markers").toArray())
        movie.markers.append(value.toObject().value("cm").toString());
    return movie;
}

} // namespace lumiset::lottie
