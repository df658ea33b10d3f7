#include "tools/templates/Lottie.h"

#include "tools/templates/BezierPath.h"

#include <QJsonArray>

namespace lumiset::templates {

namespace {

QJsonObject baseLayer(int type, const QString& name) {
    return QJsonObject{{"ddd", 0}, {"ty", type}, {"nm", name}, {"sr", 1}, {"ao", 0}, {"st", 0}, {"bm", 0}};
}

QJsonObject maskJson(const BezierPath& path, MaskMode mode) {
    const char* modes[] = {"a", "s", "i"};
    return QJsonObject{{"inv", false},
                       {"mode", modes[static_cast<int>(mode)]},
                       {"pt", QJsonObject{{"a", 0}, {"k", path.toJson()}}},
                       {"o", Static(100.0)},
                       {"x", Static(0.0)},
                       {"nm", "mask"}};
}

} // namespace

QJsonObject TransformJson(const Track& t, QPointF anchor) {
    QJsonObject position;
    if (t.x.animated() || t.y.animated())
        position = QJsonObject{{"s", true}, {"x", ScalarProperty(t.x)}, {"y", ScalarProperty(t.y)}};
    else
        position = Static({t.x.valueAt(0), t.y.valueAt(0), 0.0});
    return QJsonObject{{"a", Static({anchor.x(), anchor.y(), 0.0})},
                       {"p", position},
                       {"s", VectorProperty({&t.scaleX, &t.scaleY}, {100.0})},
                       {"r", ScalarProperty(t.rotation)},
                       {"o", ScalarProperty(t.opacity)}};
}

QJsonObject StaticTransform(QPointF position, QPointF anchor, double scale, double rotation, double opacity) {
    return QJsonObject{{"a", Static({anchor.x(), anchor.y(), 0.0})},
                       {"p", Static({position.x(), position.y(), 0.0})},
                       {"s", Static({scale, scale, 100.0})},
                       {"r", Static(rotation)},
                       {"o", Static(opacity)}};
}

QJsonObject ImageLayer(const QString& name, const QString& assetId) {
    QJsonObject l = baseLayer(2, name);
    l.insert("refId", assetId);
    return l;
}

QJsonObject ShapeLayer(const QString& name, const QJsonArray& shapes) {
    QJsonObject l = baseLayer(4, name);
    l.insert("shapes", shapes);
    return l;
}

QJsonObject NullLayer(const QString& name) {
    return baseLayer(3, name);
}

QJsonObject PrecompLayer(const QString& name, const QString& assetId, QSizeF size) {
    QJsonObject l = baseLayer(0, name);
    l.insert("refId", assetId);
    l.insert("w", qRound(size.width()));
    l.insert("h", qRound(size.height()));
    return l;
}

QJsonObject RectMask(const QRectF& rect, MaskMode mode, double radius) {
    return maskJson(BezierPath::rect(rect, radius), mode);
}

QJsonObject EllipseMask(const QRectF& rect, MaskMode mode) {
    return maskJson(BezierPath::ellipse(rect), mode);
}

int Composition::add(QJsonObject l, const QJsonObject& transform, int inFrame, int outFrame) {
    const int index = static_cast<int>(layers_.size()) + 1;
    l.insert("ind", index);
    l.insert("ks", transform);
    l.insert("ip", inFrame);
    l.insert("op", outFrame);
    layers_.append(l);
    return index;
}

QJsonObject& Composition::layer(int index) {
    return layers_[index - 1];
}

void Composition::setParent(int l, int parent) {
    layer(l).insert("parent", parent);
}

void Composition::addMask(int l, const QJsonObject& mask) {
    QJsonObject& target = layer(l);
    QJsonArray masks = target.value("masksProperties").toArray();
    masks.append(mask);
    target.insert("masksProperties", masks);
    target.insert("hasMask", true);
}

void Composition::setMatte(int target, int matte, bool inverted) {
    Q_ASSERT(matte == target + 1);
    layer(target).insert("tt", inverted ? 2 : 1);
    layer(matte).insert("td", 1);
}

QJsonArray Composition::layers() const {
    QJsonArray out;
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it)
        out.append(*it);
    return out;
}

QJsonObject MovieDocument(const QString& name, int width, int height, int frames, const QJsonArray& assets,
                          const QJsonArray& layers) {
    return QJsonObject{
        {"v", "5.7.4"},
        {"fr", kFps},
        {"ip", 0},
        {"op", frames},
        {"w", width},
        {"h", height},
        {"nm", name},
        {"ddd", 0},
        {"assets", assets},
        {"layers", layers},
        {"markers", QJsonArray{QJsonObject{{"cm", kGenuineMarker}, {"tm", 0}, {"dr", 0}}}},
    };
}

QJsonObject FileAsset(const QString& id, const QString& file, QSizeF size, const QString& folder) {
    return QJsonObject{
        {"id", id}, {"w", qRound(size.width())}, {"h", qRound(size.height())}, {"u", folder}, {"p", file},
        {"e", 0}};
}

QJsonObject EmbeddedAsset(const QString& id, const QByteArray& png, QSizeF size) {
    return QJsonObject{{"id", id},
                       {"w", qRound(size.width())},
                       {"h", qRound(size.height())},
                       {"u", ""},
                       {"p", QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64())},
                       {"e", 1}};
}

QJsonObject PrecompAsset(const QString& id, const QJsonArray& layers) {
    return QJsonObject{{"id", id}, {"layers", layers}};
}

QJsonArray ColorJson(const QColor& c) {
    auto r = [](double v) { return std::round(v * 1000.0) / 1000.0; };
    return QJsonArray{r(c.redF()), r(c.greenF()), r(c.blueF()), r(c.alphaF())};
}

} // namespace lumiset::templates
