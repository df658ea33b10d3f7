#include "tools/templates/Shapes.h"

#include "tools/templates/Channel.h"
#include "tools/templates/Lottie.h"

#include <QPainterPath>
#include <QTransform>
#include <cmath>

namespace lumiset::templates {

namespace {

const QStringList kShapes = {"rect",    "ellipse", "star",  "polygon", "heart",   "petal",     "leaf",
                             "sparkle", "ring",    "bokeh", "bubble",  "diamond", "snowflake", "filmstrip"};

// Outlines drawn in a unit box centred on (0, 0), scaled to the shape's size.
QPainterPath unitOutline(const QString& shape) {
    QPainterPath p;
    if (shape == u"heart") {
        p.moveTo(0, -0.28);
        p.cubicTo(-0.02, -0.42, -0.14, -0.5, -0.27, -0.5);
        p.cubicTo(-0.44, -0.5, -0.54, -0.36, -0.5, -0.18);
        p.cubicTo(-0.45, 0.04, -0.2, 0.22, 0, 0.46);
        p.cubicTo(0.2, 0.22, 0.45, 0.04, 0.5, -0.18);
        p.cubicTo(0.54, -0.36, 0.44, -0.5, 0.27, -0.5);
        p.cubicTo(0.14, -0.5, 0.02, -0.42, 0, -0.28);
    } else if (shape == u"petal") {
        p.moveTo(0, 0.5);
        p.cubicTo(-0.42, 0.22, -0.52, -0.28, -0.22, -0.48);
        p.cubicTo(-0.12, -0.55, -0.04, -0.47, 0, -0.38);
        p.cubicTo(0.04, -0.47, 0.12, -0.55, 0.22, -0.48);
        p.cubicTo(0.52, -0.28, 0.42, 0.22, 0, 0.5);
    } else if (shape == u"leaf") {
        p.moveTo(0, -0.5);
        p.cubicTo(0.38, -0.26, 0.36, 0.24, 0, 0.5);
        p.cubicTo(-0.36, 0.24, -0.38, -0.26, 0, -0.5);
    } else if (shape == u"sparkle") {
        p.moveTo(0, -0.5);
        p.cubicTo(0.04, -0.12, 0.12, -0.04, 0.5, 0);
        p.cubicTo(0.12, 0.04, 0.04, 0.12, 0, 0.5);
        p.cubicTo(-0.04, 0.12, -0.12, 0.04, -0.5, 0);
        p.cubicTo(-0.12, -0.04, -0.04, -0.12, 0, -0.5);
    } else if (shape == u"diamond") {
        p.moveTo(0, -0.5);
        p.lineTo(0.5, 0);
        p.lineTo(0, 0.5);
        p.lineTo(-0.5, 0);
        p.closeSubpath();
    }
    return p;
}

QJsonObject outlineItem(const QString& shape, QSizeF size) {
    const QPainterPath p = QTransform::fromScale(size.width(), size.height()).map(unitOutline(shape));
    return PathItem(BezierPath::fromPainterPath(p).front());
}

QJsonObject transformItem(QPointF offset, double rotation, double opacity) {
    return QJsonObject{{"ty", "tr"},
                       {"p", Static({offset.x(), offset.y()})},
                       {"a", Static({0.0, 0.0})},
                       {"s", Static({100.0, 100.0})},
                       {"r", Static(rotation)},
                       {"o", Static(opacity)},
                       {"sk", Static(0.0)},
                       {"sa", Static(0.0)}};
}

// Paint of one of the composite shapes, with the shape's own paint on top.
QJsonArray styled(const QJsonArray& paths, const ShapeSpec& s) {
    QJsonArray items = paths;
    if (s.stroke)
        items.append(StrokeItem(*s.stroke));
    if (s.fill.kind != Paint::Kind::None)
        items.append(FillItem(s.fill, s.opacity));
    return items;
}

Paint radialFade(const QColor& color, std::vector<GradientStop> stops, double radius) {
    Paint p;
    p.kind = Paint::Kind::Radial;
    p.color = color;
    for (GradientStop& stop : stops)
        stop.color = color;
    p.stops = std::move(stops);
    p.from = {0, 0};
    p.to = {radius, 0};
    return p;
}

QColor paintColor(const Paint& p) {
    if (p.kind == Paint::Kind::Solid)
        return p.color;
    if (!p.stops.empty())
        return p.stops.front().color;
    return Qt::white;
}

} // namespace

bool IsKnownShape(const QString& shape) {
    return kShapes.contains(shape);
}

QJsonObject GroupItem(const QJsonArray& items, QPointF offset, double rotation, double opacity) {
    QJsonArray it = items;
    it.append(transformItem(offset, rotation, opacity));
    return QJsonObject{{"ty", "gr"}, {"nm", "group"}, {"it", it}};
}

QJsonObject PathItem(const BezierPath& path) {
    return QJsonObject{{"ty", "sh"}, {"d", 1}, {"ks", QJsonObject{{"a", 0}, {"k", path.toJson()}}}};
}

QJsonObject RectItem(QSizeF size, QPointF centre, double radius) {
    return QJsonObject{{"ty", "rc"},
                       {"d", 1},
                       {"s", Static({size.width(), size.height()})},
                       {"p", Static({centre.x(), centre.y()})},
                       {"r", Static(radius)}};
}

QJsonObject EllipseItem(QSizeF size, QPointF centre) {
    return QJsonObject{{"ty", "el"},
                       {"d", 1},
                       {"s", Static({size.width(), size.height()})},
                       {"p", Static({centre.x(), centre.y()})}};
}

QJsonObject FillItem(const Paint& paint, double opacity) {
    if (paint.kind == Paint::Kind::Solid)
        return QJsonObject{{"ty", "fl"},
                           {"c", QJsonObject{{"a", 0}, {"k", ColorJson(paint.color)}}},
                           {"o", Static(opacity)},
                           {"r", 1}};
    QJsonArray colors;
    QJsonArray alphas;
    for (const GradientStop& s : paint.stops) {
        const QJsonArray c = ColorJson(s.color);
        colors.append(s.at);
        colors.append(c[0]);
        colors.append(c[1]);
        colors.append(c[2]);
        alphas.append(s.at);
        alphas.append(s.alpha);
    }
    for (const QJsonValue& a : alphas)
        colors.append(a);
    return QJsonObject{{"ty", "gf"},
                       {"o", Static(opacity)},
                       {"r", 1},
                       {"g", QJsonObject{{"p", static_cast<int>(paint.stops.size())},
                                         {"k", QJsonObject{{"a", 0}, {"k", colors}}}}},
                       {"s", Static({paint.from.x(), paint.from.y()})},
                       {"e", Static({paint.to.x(), paint.to.y()})},
                       {"t", paint.kind == Paint::Kind::Linear ? 1 : 2},
                       {"h", Static(0.0)},
                       {"a", Static(0.0)}};
}

QJsonObject StrokeItem(const Stroke& s) {
    return QJsonObject{{"ty", "st"},
                       {"c", QJsonObject{{"a", 0}, {"k", ColorJson(s.color)}}},
                       {"o", Static(s.opacity)},
                       {"w", Static(s.width)},
                       {"lc", 2},
                       {"lj", 2},
                       {"ml", 4}};
}

Paint ReadPaint(Fields& owner, const QString& key, QSizeF size) {
    if (!owner.has(key))
        return {};
    const QJsonValue v = owner.value(key);
    if (v.isString())
        return Paint::solid(ParseColor(v.toString(), owner, key));
    Fields g = owner.object(key);
    Paint p;
    for (const QJsonValue& item : g.array("stops")) {
        const QJsonArray stop = item.toArray();
        if (stop.size() < 2 || stop.size() > 3 || !stop[0].isDouble() || !stop[1].isString() ||
            (stop.size() == 3 && !stop[2].isDouble()))
            g.fail("stops", QStringLiteral("每个色标应写成 [位置, \"#rrggbb\", 不透明度]"));
        p.stops.push_back({stop[0].toDouble(), ParseColor(stop[1].toString(), g, "stops"),
                           stop.size() == 3 ? stop[2].toDouble() : 1.0});
    }
    if (p.stops.size() < 2)
        g.fail("stops", QStringLiteral("渐变至少需要两个色标"));
    p.kind = g.has("radial") ? Paint::Kind::Radial : Paint::Kind::Linear;
    const double h = size.height() / 2.0;
    const double w = size.width() / 2.0;
    if (p.kind == Paint::Kind::Radial) {
        Fields r = g.object("radial");
        p.from = r.point("centre", QPointF(0, 0));
        p.to = p.from + QPointF(r.number("radius", std::max(w, h)), 0);
        r.finish();
    } else {
        const QString direction = g.text("linear", QStringLiteral("down"));
        if (direction == u"down")
            p.from = {0, -h}, p.to = {0, h};
        else if (direction == u"right")
            p.from = {-w, 0}, p.to = {w, 0};
        else if (direction == u"diagonal")
            p.from = {-w, -h}, p.to = {w, h};
        else
            g.fail("linear", QStringLiteral("方向应是 down, right 或 diagonal"));
    }
    g.finish();
    return p;
}

std::optional<Stroke> ReadStroke(Fields& owner, const QString& key) {
    if (!owner.has(key))
        return std::nullopt;
    Fields s = owner.object(key);
    Stroke stroke{s.color("color"), s.number("width"), s.number("opacity", 100.0)};
    s.finish();
    return stroke;
}

ShapeSpec ReadShape(Fields& f) {
    ShapeSpec s;
    s.shape = f.text("shape");
    if (!IsKnownShape(s.shape))
        f.fail(
            "shape",
            QStringLiteral("未知的形状 \"%1\" (可用: %2)").arg(s.shape, kShapes.join(QStringLiteral(", "))));
    s.size = f.size("size");
    s.fill = ReadPaint(f, "fill", s.size);
    s.stroke = ReadStroke(f, "stroke");
    s.radius = f.number("radius", 0.0);
    s.points = f.integer("points", 5);
    s.inner = f.number("inner", 0.45);
    s.opacity = f.number("paintOpacity", 100.0);
    return s;
}

QJsonArray ShapeItems(const ShapeSpec& s) {
    const QSizeF size = s.size;
    const double outer = std::min(size.width(), size.height()) / 2.0;
    QJsonArray paths;
    if (s.shape == u"rect") {
        paths.append(RectItem(size, {}, s.radius));
    } else if (s.shape == u"ellipse" || s.shape == u"ring") {
        paths.append(EllipseItem(size));
    } else if (s.shape == u"star" || s.shape == u"polygon") {
        const bool star = s.shape == u"star";
        QJsonObject sr{{"ty", "sr"},
                       {"d", 1},
                       {"sy", star ? 1 : 2},
                       {"pt", Static(s.points)},
                       {"p", Static({0.0, 0.0})},
                       {"r", Static(0.0)},
                       {"or", Static(outer)},
                       {"os", Static(0.0)}};
        if (star) {
            sr.insert("ir", Static(outer * s.inner));
            sr.insert("is", Static(0.0));
        }
        paths.append(sr);
    } else if (s.shape == u"bokeh") {
        ShapeSpec disc = s;
        disc.fill = radialFade(paintColor(s.fill), {{0.0, {}, 0.75}, {0.7, {}, 0.6}, {1.0, {}, 0.0}}, outer);
        return QJsonArray{GroupItem(styled({EllipseItem(size)}, disc))};
    } else if (s.shape == u"bubble") {
        const QColor c = paintColor(s.fill);
        ShapeSpec body = s;
        body.fill = radialFade(c, {{0.0, {}, 0.0}, {0.75, {}, 0.12}, {1.0, {}, 0.55}}, outer);
        body.stroke = Stroke{c, std::max(1.5, outer * 0.04), 60.0};
        ShapeSpec shine;
        shine.fill = Paint::solid(Qt::white);
        shine.opacity = 80.0;
        const QSizeF glint(size.width() * 0.22, size.height() * 0.14);
        return QJsonArray{
            GroupItem(styled({EllipseItem(glint)}, shine), {-outer * 0.38, -outer * 0.45}, -35.0),
            GroupItem(styled({EllipseItem(size)}, body))};
    } else if (s.shape == u"snowflake") {
        QJsonArray arms;
        const QSizeF arm(std::max(2.0, size.width() * 0.08), size.height());
        for (int i = 0; i < 3; ++i)
            arms.append(GroupItem(styled({RectItem(arm, {}, arm.width() / 2.0)}, s), {}, i * 60.0));
        return arms;
    } else if (s.shape == u"filmstrip") {
        // A dark band with two rows of light sprocket holes.
        QJsonArray holes;
        const double hole = size.height() * 0.09;
        const double step = hole * 2.2;
        const int count = static_cast<int>(size.width() / step);
        for (int i = 0; i < count; ++i) {
            const double x = -size.width() / 2.0 + step * (i + 0.5) + (size.width() - count * step) / 2.0;
            holes.append(RectItem({hole * 1.1, hole}, {x, -size.height() / 2.0 + hole}, hole * 0.2));
            holes.append(RectItem({hole * 1.1, hole}, {x, size.height() / 2.0 - hole}, hole * 0.2));
        }
        ShapeSpec holePaint;
        holePaint.fill = Paint::solid(QColor(245, 240, 230));
        holePaint.opacity = 85.0;
        return QJsonArray{GroupItem(styled(holes, holePaint)), GroupItem(styled({RectItem(size)}, s))};
    } else {
        paths.append(outlineItem(s.shape, size));
        if (s.shape == u"leaf" && s.fill.kind != Paint::Kind::None) {
            // The midrib, lighter than the leaf.
            BezierPath rib;
            rib.closed = false;
            rib.add({0, -size.height() * 0.42});
            rib.add({0, size.height() * 0.42});
            const Stroke vein{paintColor(s.fill).lighter(150), std::max(1.5, size.width() * 0.05), 70.0};
            return QJsonArray{GroupItem({PathItem(rib), StrokeItem(vein)}), GroupItem(styled(paths, s))};
        }
    }
    return QJsonArray{GroupItem(styled(paths, s))};
}

} // namespace lumiset::templates
