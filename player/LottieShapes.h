// Shape layer contents at one frame: the paths with their fills and strokes, in painting order.
#pragma once

#include "player/LottieModel.h"

#include <QBrush>
#include <QPainterPath>
#include <QPen>

class QPainter;

namespace lumiset::lottie {

// One fill or stroke of a shape layer at one frame.
struct ShapeDraw {
    QPainterPath path;  // in the coordinates of the group holding the paint
    QTransform toLayer; // group coordinates -> layer coordinates
    QBrush brush;       // the fill, or the stroke's brush
    std::optional<QPen> pen;
    double opacity = 1;
};

// The draws of `items` at `frame`, bottom first. A paint applies to every path listed before it in
// its group, including paths inside groups listed before it.
std::vector<ShapeDraw> BuildShapeDraws(const std::vector<ShapeItem>& items, double frame);

// A conservative bounding rectangle of the draws in layer coordinates (strokes included).
QRectF ShapeDrawBounds(const std::vector<ShapeDraw>& draws);

void PaintShapeDraws(QPainter& painter, const std::vector<ShapeDraw>& draws, const QTransform& layerToDevice,
                     double opacity);

QPainterPath BezierPath(const BezierShape& shape);

} // namespace lumiset::lottie
