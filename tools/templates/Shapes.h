// The vector shapes a design can draw (rectangles, ellipses, stars, hearts, petals, leaves, sparkles,
// rings, bokeh discs, bubbles, film strips…) and their paints, as Lottie shape items centred on (0, 0).
#pragma once

#include "tools/templates/BezierPath.h"
#include "tools/templates/Fields.h"

#include <QColor>
#include <QJsonArray>
#include <QJsonObject>
#include <QSizeF>
#include <optional>
#include <vector>

namespace lumiset::templates {

struct GradientStop {
    double at = 0.0;
    QColor color;
    double alpha = 1.0;
};

struct Paint {
    enum class Kind { None, Solid, Linear, Radial };
    Kind kind = Kind::None;
    QColor color;
    std::vector<GradientStop> stops;
    QPointF from; // linear: start; radial: centre
    QPointF to;   // linear: end; radial: a point on the rim

    static Paint solid(const QColor& color) { return {Kind::Solid, color, {}, {}, {}}; }
};

struct Stroke {
    QColor color;
    double width = 0.0;
    double opacity = 100.0;
};

struct ShapeSpec {
    QString shape;
    QSizeF size;
    Paint fill;
    std::optional<Stroke> stroke;
    double radius = 0.0;    // rect corner radius
    int points = 5;         // star and polygon
    double inner = 0.45;    // star: inner radius as a fraction of the outer
    double opacity = 100.0; // of the paint (the layer opacity animates separately)
};

// Reads "shape", "size", "fill", "stroke", "radius", "points", "inner" of a shape description.
ShapeSpec ReadShape(Fields& f);
// "#rrggbb" or {"linear"|"radial": …, "stops": [[at, "#rrggbb", alpha], …]} in a box of `size`.
Paint ReadPaint(Fields& owner, const QString& key, QSizeF size);
std::optional<Stroke> ReadStroke(Fields& owner, const QString& key);
bool IsKnownShape(const QString& shape);

// The shape items of one shape (a group ready for a shape layer).
QJsonArray ShapeItems(const ShapeSpec& design);

QJsonObject GroupItem(const QJsonArray& items, QPointF offset = {}, double rotation = 0.0,
                      double opacity = 100.0);
QJsonObject PathItem(const BezierPath& path);
QJsonObject RectItem(QSizeF size, QPointF centre = {}, double radius = 0.0);
QJsonObject EllipseItem(QSizeF size, QPointF centre = {});
QJsonObject FillItem(const Paint& paint, double opacity = 100.0);
QJsonObject StrokeItem(const Stroke& stroke);

} // namespace lumiset::templates
