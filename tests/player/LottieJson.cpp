#include "tests/player/LottieJson.h"

#include <QBuffer>
#include <QJsonDocument>

namespace lumiset::test::lottie {

namespace {

QJsonArray Rgb(const QColor& color) {
    return {color.redF(), color.greenF(), color.blueF(), 1};
}

QJsonObject Ease(double x, double y) {
    return {{"x", QJsonArray{x}}, {"y", QJsonArray{y}}};
}

QJsonObject Layer(const QString& name, int ind, int type, const QJsonObject& transform) {
    return {{"ddd", 0}, {"ind", ind}, {"ty", type}, {"nm", name}, {"sr", 1}, {"ks", transform},
            {"ao", 0},  {"ip", 0},    {"op", 1000}, {"st", 0},    {"bm", 0}};
}

QJsonObject Gradient(int type, const QJsonArray& start, const QJsonArray& end, const QJsonArray& stops,
                     int count) {
    return {{"ty", "gf"},
            {"t", type},
            {"o", Value(100)},
            {"r", 1},
            {"s", Value(start)},
            {"e", Value(end)},
            {"g", QJsonObject{{"p", count}, {"k", Value(stops)}}},
            {"nm", "Gradient"}};
}

QJsonArray Tangents(qsizetype count) {
    QJsonArray zeros;
    for (qsizetype i = 0; i < count; ++i)
        zeros.append(QJsonArray{0, 0});
    return zeros;
}

// Writes `value` as compact JSON with "ty" first in every object, as Bodymovin does: rlottie reads a
// shape's type before its other fields.
void Write(const QJsonValue& value, QByteArray& out) {
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        QStringList keys = object.keys();
        if (keys.removeOne("ty"))
            keys.prepend("ty");
        out += '{';
        for (const QString& key : keys) {
            if (out.back() != '{')
                out += ',';
            Write(key, out);
            out += ':';
            Write(object.value(key), out);
        }
        out += '}';
    } else if (value.isArray()) {
        out += '[';
        for (const QJsonValue& item : value.toArray()) {
            if (out.back() != '[')
                out += ',';
            Write(item, out);
        }
        out += ']';
    } else {
        const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
        out += wrapped.mid(1, wrapped.size() - 2);
    }
}

} // namespace

QJsonObject Value(double v) {
    return {{"a", 0}, {"k", v}};
}

QJsonObject Value(const QJsonArray& v) {
    return {{"a", 0}, {"k", v}};
}

QJsonObject LinearKey(double t, const QJsonArray& s) {
    return {{"t", t}, {"s", s}, {"o", Ease(0, 0)}, {"i", Ease(1, 1)}};
}

QJsonObject HoldKey(double t, const QJsonArray& s) {
    return {{"t", t}, {"s", s}, {"h", 1}};
}

QJsonObject EaseKey(double t, const QJsonArray& s, QPointF out, QPointF in) {
    return {{"t", t}, {"s", s}, {"o", Ease(out.x(), out.y())}, {"i", Ease(in.x(), in.y())}};
}

QJsonObject EndKey(double t, const QJsonArray& s) {
    return {{"t", t}, {"s", s}};
}

QJsonObject Animated(const QJsonArray& keys) {
    return {{"a", 1}, {"k", keys}};
}

QJsonObject Transform(const QJsonObject& overrides) {
    QJsonObject t{{"a", Value(QJsonArray{0, 0, 0})},
                  {"p", Value(QJsonArray{0, 0, 0})},
                  {"s", Value(QJsonArray{100, 100, 100})},
                  {"r", Value(0)},
                  {"o", Value(100)}};
    for (auto it = overrides.begin(); it != overrides.end(); ++it)
        t.insert(it.key(), it.value());
    return t;
}

QJsonObject Rect(const QJsonArray& position, const QJsonArray& size, double roundness) {
    return {{"ty", "rc"},  {"d", 1}, {"p", Value(position)}, {"s", Value(size)}, {"r", Value(roundness)},
            {"nm", "Rect"}};
}

QJsonObject Ellipse(const QJsonArray& position, const QJsonArray& size) {
    return {{"ty", "el"}, {"d", 1}, {"p", Value(position)}, {"s", Value(size)}, {"nm", "Ellipse"}};
}

QJsonObject Path(const QJsonArray& vertices, bool closed) {
    const QJsonObject shape{
        {"c", closed}, {"v", vertices}, {"i", Tangents(vertices.size())}, {"o", Tangents(vertices.size())}};
    return {{"ty", "sh"}, {"ks", QJsonObject{{"a", 0}, {"k", shape}}}, {"nm", "Path"}};
}

QJsonObject Star(const QJsonArray& position, int points, double outer, double inner) {
    return {{"ty", "sr"},
            {"sy", 1},
            {"d", 1},
            {"p", Value(position)},
            {"pt", Value(points)},
            {"r", Value(0)},
            {"or", Value(outer)},
            {"os", Value(0)},
            {"ir", Value(inner)},
            {"is", Value(0)},
            {"nm", "Star"}};
}

QJsonObject Fill(const QColor& color, double opacity) {
    return {{"ty", "fl"}, {"c", Value(Rgb(color))}, {"o", Value(opacity)}, {"r", 1}, {"nm", "Fill"}};
}

QJsonObject Stroke(const QColor& color, double width) {
    return {
        {"ty", "st"}, {"c", Value(Rgb(color))}, {"o", Value(100)}, {"w", Value(width)}, {"lc", 2}, {"lj", 2},
        {"ml", 4},    {"nm", "Stroke"}};
}

QJsonObject LinearGradient(const QJsonArray& start, const QJsonArray& end, const QJsonArray& stops,
                           int count) {
    return Gradient(1, start, end, stops, count);
}

QJsonObject RadialGradient(const QJsonArray& start, const QJsonArray& end, const QJsonArray& stops,
                           int count) {
    QJsonObject gradient = Gradient(2, start, end, stops, count);
    gradient.insert("h", Value(0));
    gradient.insert("a", Value(0));
    return gradient;
}

QJsonObject Group(const QJsonArray& items, const QJsonObject& transform) {
    QJsonObject tr = transform;
    tr.insert("ty", "tr");
    QJsonArray all = items;
    all.append(tr);
    return {{"ty", "gr"}, {"it", all}, {"nm", "Group"}};
}

QJsonObject ShapeLayer(const QString& name, int ind, const QJsonArray& shapes, const QJsonObject& transform) {
    QJsonObject layer = Layer(name, ind, 4, transform);
    layer.insert("shapes", shapes);
    return layer;
}

QJsonObject SolidLayer(const QString& name, int ind, const QColor& color, double w, double h,
                       const QJsonObject& transform) {
    QJsonObject layer = Layer(name, ind, 1, transform);
    layer.insert("sc", color.name());
    layer.insert("sw", w);
    layer.insert("sh", h);
    return layer;
}

QJsonObject ImageLayer(const QString& name, int ind, const QString& refId, const QJsonObject& transform) {
    QJsonObject layer = Layer(name, ind, 2, transform);
    layer.insert("refId", refId);
    return layer;
}

QJsonObject NullLayer(const QString& name, int ind, const QJsonObject& transform) {
    return Layer(name, ind, 3, transform);
}

QJsonObject PrecompLayer(const QString& name, int ind, const QString& refId, double w, double h,
                         const QJsonObject& transform) {
    QJsonObject layer = Layer(name, ind, 0, transform);
    layer.insert("refId", refId);
    layer.insert("w", w);
    layer.insert("h", h);
    return layer;
}

QJsonObject Mask(const QString& mode, const QJsonArray& vertices, double opacity, bool inverted) {
    const QJsonObject shape{
        {"c", true}, {"v", vertices}, {"i", Tangents(vertices.size())}, {"o", Tangents(vertices.size())}};
    return {{"inv", inverted},     {"mode", mode},  {"pt", QJsonObject{{"a", 0}, {"k", shape}}},
            {"o", Value(opacity)}, {"x", Value(0)}, {"nm", "Mask"}};
}

QJsonObject ImageAsset(const QString& id, double w, double h, const QString& folder, const QString& file) {
    return {{"id", id}, {"w", w}, {"h", h}, {"u", folder}, {"p", file}, {"e", 0}};
}

QJsonObject PrecompAsset(const QString& id, const QJsonArray& layers) {
    return {{"id", id}, {"layers", layers}};
}

QJsonObject Movie(const QJsonArray& layers, double w, double h, int frames, const QJsonArray& assets) {
    return {{"v", "5.7.4"},
            {"fr", 25},
            {"ip", 0},
            {"op", frames},
            {"w", w},
            {"h", h},
            {"nm", "test"},
            {"ddd", 0},
            {"assets", assets},
            {"layers", layers},
            {"markers", QJsonArray{QJsonObject{{"tm", 0}, {"cm", "k_r_v_t_s_y_l_x"}, {"dr", 0}}}}};
}

QByteArray Json(const QJsonObject& movie) {
    QByteArray out;
    Write(movie, out);
    return out;
}

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace lumiset::test::lottie
