// Parsing of shape layer contents: geometry, paints and groups.
#include "player/LottieParseContext.h"

namespace lumiset::lottie {

namespace {

// Shape items outside our subset, by their Lottie type, with the name designers know them by.
QString UnsupportedShapeName(const QString& type) {
    static const std::pair<const char*, const char*> names[] = {
        {"tm", "修剪路径 (tm)"}, {"rp", "中继器 (rp)"},   {"mm", "合并路径 (mm)"},
        {"rd", "圆角 (rd)"},     {"op", "位移路径 (op)"}, {"pb", "收缩和膨胀 (pb)"},
        {"tw", "扭转 (tw)"},     {"zz", "Z字形 (zz)"},    {"no", "无样式 (no)"},
    };
    for (const auto& [key, name] : names) {
        if (type == QLatin1String(key))
            return QString::fromUtf8(name);
    }
    return QStringLiteral("形状类型“%1”").arg(type);
}

bool Reversed(const QJsonObject& item) {
    return item.value("d").toInt() == 3;
}

Qt::FillRule FillRule(const QJsonObject& item) {
    return item.value("r").toInt(1) == 2 ? Qt::OddEvenFill : Qt::WindingFill;
}

StrokeStyle ParseStrokeStyle(const ParseContext& context, const QJsonObject& item) {
    StrokeStyle style;
    style.width = context.vec(item, "w", Vec{1});
    switch (item.value("lc").toInt(2)) {
    case 1:
        style.cap = Qt::FlatCap;
        break;
    case 3:
        style.cap = Qt::SquareCap;
        break;
    default:
        style.cap = Qt::RoundCap;
    }
    switch (item.value("lj").toInt(2)) {
    case 1:
        style.join = Qt::MiterJoin;
        break;
    case 3:
        style.join = Qt::BevelJoin;
        break;
    default:
        style.join = Qt::RoundJoin;
    }
    style.miterLimit = context.number(item, "ml", 4);
    for (const QJsonValue& value : item.value("d").toArray()) {
        const QJsonObject dash = value.toObject();
        const QString kind = dash.value("n").toString();
        if (kind == "o")
            style.dashOffset = context.vec(dash, "v", Vec{0});
        else if (kind == "d" || kind == "g")
            style.dashes.push_back(context.vec(dash, "v", Vec{0}));
        else
            context.invalid(QStringLiteral("d"));
    }
    if (style.dashes.size() % 2 == 1) // a lone dash repeats with an equal gap
        style.dashes.push_back(style.dashes.back());
    return style;
}

GradientStyle ParseGradient(const ParseContext& context, const QJsonObject& item) {
    GradientStyle gradient;
    gradient.radial = item.value("t").toInt(1) == 2;
    const QJsonObject stops = item.value("g").toObject();
    gradient.colorStops = stops.value("p").toInt();
    if (gradient.colorStops < 1)
        context.invalid(QStringLiteral("g"));
    gradient.stops = context.vec(stops, "k", Vec{});
    if (gradient.stops.at(0).size() < size_t(gradient.colorStops) * 4)
        context.invalid(QStringLiteral("g"));
    gradient.start = context.vec(item, "s", Vec{0, 0});
    gradient.end = context.vec(item, "e", Vec{0, 0});
    gradient.highlightLength = context.vec(item, "h", Vec{0});
    gradient.highlightAngle = context.vec(item, "a", Vec{0});
    return gradient;
}

} // namespace

std::vector<ShapeItem> ParseShapeItems(const ParseContext& context, const QJsonArray& items,
                                       Transform* groupTransform) {
    std::vector<ShapeItem> result;
    for (const QJsonValue& value : items) {
        const QJsonObject item = value.toObject();
        if (item.value("hd").toBool())
            continue;
        const QString type = item.value("ty").toString();
        if (type == "gr") {
            ShapeGroup group;
            group.items = ParseShapeItems(context, item.value("it").toArray(), &group.transform);
            result.push_back({std::move(group)});
        } else if (type == "tr") {
            if (groupTransform)
                *groupTransform = context.transform(item);
        } else if (type == "rc") {
            result.push_back(
                {RectangleShape{context.vec(item, "p", Vec{0, 0}), context.vec(item, "s", Vec{0, 0}),
                                context.vec(item, "r", Vec{0}), Reversed(item)}});
        } else if (type == "el") {
            result.push_back({EllipseShape{context.vec(item, "p", Vec{0, 0}),
                                           context.vec(item, "s", Vec{0, 0}), Reversed(item)}});
        } else if (type == "sr") {
            PolystarShape star;
            star.star = item.value("sy").toInt(1) != 2;
            star.position = context.vec(item, "p", Vec{0, 0});
            star.points = context.vec(item, "pt", Vec{5});
            star.rotation = context.vec(item, "r", Vec{0});
            star.innerRadius = context.vec(item, "ir", Vec{0});
            star.innerRoundness = context.vec(item, "is", Vec{0});
            star.outerRadius = context.vec(item, "or", Vec{0});
            star.outerRoundness = context.vec(item, "os", Vec{0});
            star.reversed = Reversed(item);
            result.push_back({std::move(star)});
        } else if (type == "sh") {
            result.push_back({PathShape{context.shape(item, "ks"), Reversed(item)}});
        } else if (type == "fl") {
            result.push_back({FillPaint{context.vec(item, "c", Vec{0, 0, 0}),
                                        context.vec(item, "o", Vec{100}), FillRule(item)}});
        } else if (type == "st") {
            result.push_back(
                {StrokePaint{context.vec(item, "c", Vec{0, 0, 0}), context.vec(item, "o", Vec{100}),
                             ParseStrokeStyle(context, item)}});
        } else if (type == "gf" || type == "gs") {
            GradientPaint paint{
                ParseGradient(context, item), context.vec(item, "o", Vec{100}), FillRule(item), {}};
            if (type == "gs")
                paint.stroke = ParseStrokeStyle(context, item);
            result.push_back({std::move(paint)});
        } else {
            context.unsupported(UnsupportedShapeName(type));
        }
    }
    return result;
}

} // namespace lumiset::lottie
