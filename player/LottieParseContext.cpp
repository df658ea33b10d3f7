#include "player/LottieParseContext.h"

#include "core/Error.h"

namespace lumiset::lottie {

namespace {

bool ReadNumbers(const QJsonValue& value, Vec& out) {
    out.clear();
    if (value.isDouble()) {
        out.push_back(value.toDouble());
        return true;
    }
    if (!value.isArray())
        return false;
    for (const QJsonValue& item : value.toArray()) {
        if (!item.isDouble())
            return false;
        out.push_back(item.toDouble());
    }
    return !out.empty();
}

bool ReadPoints(const QJsonValue& value, std::vector<QPointF>& out) {
    if (!value.isArray())
        return false;
    out.clear();
    for (const QJsonValue& item : value.toArray()) {
        const QJsonArray xy = item.toArray();
        if (xy.size() < 2 || !xy[0].isDouble() || !xy[1].isDouble())
            return false;
        out.emplace_back(xy[0].toDouble(), xy[1].toDouble());
    }
    return true;
}

bool ReadShape(const QJsonValue& value, BezierShape& out) {
    // Keyframed shapes wrap the shape in a one-element array.
    const QJsonArray wrapped = value.toArray();
    const QJsonObject object =
        value.isArray() ? (wrapped.isEmpty() ? QJsonObject() : wrapped[0].toObject()) : value.toObject();
    if (!ReadPoints(object.value("v"), out.vertices) || !ReadPoints(object.value("i"), out.inTangents) ||
        !ReadPoints(object.value("o"), out.outTangents))
        return false;
    out.closed = object.value("c").toBool();
    return out.inTangents.size() == out.vertices.size() && out.outTangents.size() == out.vertices.size();
}

bool ReadValue(const QJsonValue& value, Vec& out) {
    return ReadNumbers(value, out);
}
bool ReadValue(const QJsonValue& value, BezierShape& out) {
    return ReadShape(value, out);
}

// The easing control values of a keyframe: one number or one per dimension.
std::vector<double> Coordinates(const QJsonValue& value) {
    Vec numbers;
    ReadNumbers(value, numbers);
    return numbers;
}

std::vector<EasingCurve> ReadEasing(const QJsonObject& key) {
    const QJsonObject out = key.value("o").toObject();
    const QJsonObject in = key.value("i").toObject();
    if (out.isEmpty() || in.isEmpty())
        return {};
    const Vec ox = Coordinates(out.value("x")), oy = Coordinates(out.value("y"));
    const Vec ix = Coordinates(in.value("x")), iy = Coordinates(in.value("y"));
    const size_t count = std::min({ox.size(), oy.size(), ix.size(), iy.size()});
    std::vector<EasingCurve> curves;
    for (size_t i = 0; i < count; ++i)
        curves.push_back(EasingCurve{QPointF(ox[i], oy[i]), QPointF(ix[i], iy[i])});
    return curves;
}

bool IsZero(const Vec& v) {
    return std::all_of(v.begin(), v.end(), [](double x) { return x == 0; });
}

template <typename T>
Animated<T> ReadAnimated(const ParseContext& context, const QJsonObject& property, const QString& field) {
    const QJsonValue k = property.value("k");
    const bool keyframed = k.isArray() && !k.toArray().isEmpty() && k.toArray().first().isObject() &&
                           k.toArray().first().toObject().contains("t");
    if (!keyframed) {
        T value;
        if (!ReadValue(k, value))
            context.invalid(field);
        return Animated<T>(std::move(value));
    }
    const QJsonArray array = k.toArray();
    std::vector<Keyframe<T>> keys;
    std::vector<bool> hasStart;
    for (const QJsonValue& item : array) {
        const QJsonObject object = item.toObject();
        if (!object.value("t").isDouble())
            context.invalid(field);
        Keyframe<T> key;
        key.time = object.value("t").toDouble();
        if (!keys.empty() && key.time < keys.back().time)
            context.invalid(field);
        const bool started = object.contains("s");
        if (started && !ReadValue(object.value("s"), key.start))
            context.invalid(field);
        if (object.contains("e") && !ReadValue(object.value("e"), key.end))
            context.invalid(field);
        key.hold = object.value("h").toInt() == 1;
        key.easing = ReadEasing(object);
        keys.push_back(std::move(key));
        hasStart.push_back(started);
    }
    // Older exports give each key its end ("e") and leave the last key without a start.
    for (size_t i = 0; i < keys.size(); ++i) {
        if (!hasStart[i]) {
            if (i == 0)
                context.invalid(field);
            keys[i].start = keys[i - 1].end;
        }
    }
    for (size_t i = 0; i + 1 < keys.size(); ++i) {
        if (hasStart[i + 1])
            keys[i].end = keys[i + 1].start;
    }
    if constexpr (std::is_same_v<T, Vec>) {
        for (size_t i = 0; i + 1 < keys.size(); ++i) {
            const QJsonObject object = array[int(i)].toObject();
            Vec out, in;
            if (ReadNumbers(object.value("to"), out) && ReadNumbers(object.value("ti"), in) &&
                (!IsZero(out) || !IsZero(in)) && keys[i].start.size() >= 2 && keys[i].end.size() >= 2)
                keys[i].motion.emplace(PointOf(keys[i].start), PointOf(out), PointOf(in),
                                       PointOf(keys[i].end));
        }
    }
    return Animated<T>(std::move(keys));
}

QJsonObject PropertyObject(const ParseContext& context, const QJsonObject& owner, const QString& key) {
    const QJsonValue value = owner.value(key);
    if (!value.isObject())
        context.invalid(key);
    const QJsonObject property = value.toObject();
    if (property.contains("x") && !property.value("x").toString().isEmpty())
        context.unsupported(QStringLiteral("表达式 (x)"));
    return property;
}

} // namespace

void ParseContext::unsupported(const QString& feature) const {
    if (layer_.isNull())
        throw Error(QStringLiteral("动画文件“%1”使用了不支持的功能：%2。").arg(source_, feature));
    throw Error(
        QStringLiteral("动画文件“%1”的图层“%2”使用了不支持的功能：%3。").arg(source_, layer_, feature));
}

void ParseContext::invalid(const QString& field) const {
    if (layer_.isNull())
        throw Error(QStringLiteral("动画文件“%1”中的“%2”数据无效。").arg(source_, field));
    throw Error(QStringLiteral("动画文件“%1”的图层“%2”中的“%3”数据无效。").arg(source_, layer_, field));
}

AnimatedVec ParseContext::vec(const QJsonObject& owner, const QString& key, const Vec& fallback) const {
    if (!owner.contains(key))
        return AnimatedVec(fallback);
    return ReadAnimated<Vec>(*this, PropertyObject(*this, owner, key), key);
}

AnimatedShape ParseContext::shape(const QJsonObject& owner, const QString& key) const {
    return ReadAnimated<BezierShape>(*this, PropertyObject(*this, owner, key), key);
}

double ParseContext::number(const QJsonObject& owner, const QString& key, double fallback) const {
    const QJsonValue value = owner.value(key);
    if (value.isUndefined() || value.isNull())
        return fallback;
    if (!value.isDouble())
        invalid(key);
    return value.toDouble();
}

void ParseContext::requireNeutral(const QJsonObject& owner, const QString& key, double neutral,
                                  const QString& feature) const {
    if (!owner.contains(key))
        return;
    const AnimatedVec value = vec(owner, key, Vec{neutral});
    const Vec constant = value.at(0);
    if (value.isAnimated() ||
        std::any_of(constant.begin(), constant.end(), [&](double x) { return x != neutral; }))
        unsupported(feature);
}

Transform ParseContext::transform(const QJsonObject& owner) const {
    Transform t;
    t.anchor = vec(owner, "a", Vec{0, 0});
    const QJsonObject position = owner.value("p").toObject();
    if (position.value("s").toBool()) {
        t.separatePosition = true;
        t.positionX = vec(position, "x", Vec{0});
        t.positionY = vec(position, "y", Vec{0});
    } else {
        t.position = vec(owner, "p", Vec{0, 0});
    }
    t.scale = vec(owner, "s", Vec{100, 100});
    t.rotation = vec(owner, owner.contains("r") ? "r" : "rz", Vec{0});
    t.opacity = vec(owner, "o", Vec{100});
    requireNeutral(owner, "sk", 0, QStringLiteral("倾斜 (sk)"));
    return t;
}

} // namespace lumiset::lottie
