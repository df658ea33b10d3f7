#include "player/LottieShapes.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

namespace lumiset::lottie {

namespace {

// Control point distance of a cubic bezier quarter circle.
constexpr double kKappa = 0.5519150244935106;
// A polystar with more points than this is a corrupt value, not a design.
constexpr int kMaxPolystarPoints = 1000;

template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>; // clang 14 has no aggregate deduction

QPainterPath Directed(QPainterPath path, bool reversed) {
    return reversed ? path.toReversed() : path;
}

// Clockwise from the top right corner, as After Effects builds rectangles.
QPainterPath RectanglePath(const RectangleShape& rect, double frame) {
    const QPointF c = PointOf(rect.position.at(frame));
    const Vec size = rect.size.at(frame);
    const double hw = std::abs(Component(size, 0)) / 2, hh = std::abs(Component(size, 1)) / 2;
    const double r = std::clamp(Component(rect.roundness.at(frame), 0), 0.0, std::min(hw, hh));
    const double k = r * kKappa;
    const double left = c.x() - hw, right = c.x() + hw, top = c.y() - hh, bottom = c.y() + hh;
    QPainterPath path;
    path.moveTo(right, top + r);
    path.lineTo(right, bottom - r);
    if (r > 0)
        path.cubicTo(right, bottom - r + k, right - r + k, bottom, right - r, bottom);
    path.lineTo(left + r, bottom);
    if (r > 0)
        path.cubicTo(left + r - k, bottom, left, bottom - r + k, left, bottom - r);
    path.lineTo(left, top + r);
    if (r > 0)
        path.cubicTo(left, top + r - k, left + r - k, top, left + r, top);
    path.lineTo(right - r, top);
    if (r > 0)
        path.cubicTo(right - r + k, top, right, top + r - k, right, top + r);
    path.closeSubpath();
    return Directed(path, rect.reversed);
}

// Clockwise from the top, as After Effects builds ellipses.
QPainterPath EllipsePath(const EllipseShape& ellipse, double frame) {
    const QPointF c = PointOf(ellipse.position.at(frame));
    const Vec size = ellipse.size.at(frame);
    const double rx = Component(size, 0) / 2, ry = Component(size, 1) / 2;
    const double kx = rx * kKappa, ky = ry * kKappa;
    QPainterPath path;
    path.moveTo(c.x(), c.y() - ry);
    path.cubicTo(c.x() + kx, c.y() - ry, c.x() + rx, c.y() - ky, c.x() + rx, c.y());
    path.cubicTo(c.x() + rx, c.y() + ky, c.x() + kx, c.y() + ry, c.x(), c.y() + ry);
    path.cubicTo(c.x() - kx, c.y() + ry, c.x() - rx, c.y() + ky, c.x() - rx, c.y());
    path.cubicTo(c.x() - rx, c.y() - ky, c.x() - kx, c.y() - ry, c.x(), c.y() - ry);
    path.closeSubpath();
    return Directed(path, ellipse.reversed);
}

QPainterPath PolystarPath(const PolystarShape& star, double frame) {
    const int corners =
        int(std::clamp(std::floor(Component(star.points.at(frame), 0)), 0.0, double(kMaxPolystarPoints)));
    if (corners < 2)
        return {};
    const QPointF center = PointOf(star.position.at(frame));
    const double outer = Component(star.outerRadius.at(frame), 0);
    const double inner = Component(star.innerRadius.at(frame), 0);
    const double outerRound = Component(star.outerRoundness.at(frame), 0) / 100;
    const double innerRound = Component(star.innerRoundness.at(frame), 0) / 100;
    const int count = star.star ? corners * 2 : corners;
    const double direction = star.reversed ? -1 : 1;
    const double step = 2 * std::numbers::pi / count * direction;
    double angle = -std::numbers::pi / 2 + Component(star.rotation.at(frame), 0) * std::numbers::pi / 180;
    // Roundness pulls tangents along the circle; the length follows the shape's perimeter.
    const double divisor = star.star ? count * 2.0 : count * 4.0;
    BezierShape shape;
    shape.closed = true;
    for (int i = 0; i < count; ++i) {
        const bool isOuter = !star.star || i % 2 == 0;
        const double radius = isOuter ? outer : inner;
        const double round = isOuter ? outerRound : innerRound;
        const double tangentLength = 2 * std::numbers::pi * radius / divisor * round * direction;
        const QPointF offset(radius * std::cos(angle), radius * std::sin(angle));
        const QPointF tangent(-std::sin(angle), std::cos(angle)); // clockwise along the circle
        shape.vertices.push_back(center + offset);
        shape.inTangents.push_back(-tangent * tangentLength);
        shape.outTangents.push_back(tangent * tangentLength);
        angle += step;
    }
    return BezierPath(shape);
}

QColor ColorOf(const Vec& v) {
    // Old exports store 0..255, current ones 0..1.
    const double scale = (Component(v, 0) > 1 || Component(v, 1) > 1 || Component(v, 2) > 1) ? 255.0 : 1.0;
    return QColor::fromRgbF(float(std::clamp(Component(v, 0) / scale, 0.0, 1.0)),
                            float(std::clamp(Component(v, 1) / scale, 0.0, 1.0)),
                            float(std::clamp(Component(v, 2) / scale, 0.0, 1.0)));
}

double Percent(const AnimatedVec& value, double frame) {
    return std::clamp(Component(value.at(frame), 0) / 100, 0.0, 1.0);
}

// Piecewise linear lookup in (offset, value) stops; 1 when there are none.
double Lookup(const std::vector<std::pair<double, double>>& stops, double at) {
    if (stops.empty())
        return 1;
    if (at <= stops.front().first)
        return stops.front().second;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (at <= stops[i].first) {
            const auto& [x0, y0] = stops[i - 1];
            const auto& [x1, y1] = stops[i];
            return x1 > x0 ? y0 + (y1 - y0) * (at - x0) / (x1 - x0) : y1;
        }
    }
    return stops.back().second;
}

QGradientStops GradientStops(const GradientStyle& style, double frame) {
    const Vec v = style.stops.at(frame);
    const size_t count = std::min<size_t>(style.colorStops, v.size() / 4);
    std::vector<std::pair<double, double>> channel[3], alpha;
    std::vector<double> offsets;
    for (size_t i = 0; i < count; ++i) {
        offsets.push_back(v[4 * i]);
        for (int c = 0; c < 3; ++c)
            channel[c].emplace_back(v[4 * i], v[4 * i + 1 + c]);
    }
    for (size_t i = 4 * count; i + 1 < v.size(); i += 2) {
        alpha.emplace_back(v[i], v[i + 1]);
        offsets.push_back(v[i]);
    }
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
    QGradientStops stops;
    for (double offset : offsets) {
        QColor color =
            ColorOf({Lookup(channel[0], offset), Lookup(channel[1], offset), Lookup(channel[2], offset)});
        color.setAlphaF(float(std::clamp(Lookup(alpha, offset), 0.0, 1.0)));
        stops.append({std::clamp(offset, 0.0, 1.0), color});
    }
    return stops;
}

QBrush GradientBrush(const GradientStyle& style, double frame) {
    const QPointF start = PointOf(style.start.at(frame));
    const QPointF end = PointOf(style.end.at(frame));
    QGradient gradient;
    if (style.radial) {
        const double radius = QLineF(start, end).length();
        const double highlight = std::clamp(Component(style.highlightLength.at(frame), 0) / 100, -0.99, 0.99);
        const double angle = std::atan2(end.y() - start.y(), end.x() - start.x()) +
                             Component(style.highlightAngle.at(frame), 0) * std::numbers::pi / 180;
        const QPointF focal = start + QPointF(std::cos(angle), std::sin(angle)) * radius * highlight;
        gradient = QRadialGradient(start, radius, focal);
    } else {
        gradient = QLinearGradient(start, end);
    }
    gradient.setStops(GradientStops(style, frame));
    return QBrush(gradient);
}

std::optional<QPen> StrokePen(const StrokeStyle& style, const QBrush& brush, double frame) {
    const double width = Component(style.width.at(frame), 0);
    if (width <= 0)
        return std::nullopt;
    QPen pen(brush, width, Qt::SolidLine, style.cap, style.join);
    pen.setMiterLimit(style.miterLimit);
    if (!style.dashes.empty()) {
        QList<qreal> pattern; // Qt measures dashes in pen widths
        for (const AnimatedVec& dash : style.dashes)
            pattern.append(std::max(Component(dash.at(frame), 0) / width, 1e-3));
        pen.setDashPattern(pattern);
        if (style.dashOffset)
            pen.setDashOffset(Component(style.dashOffset->at(frame), 0) / width);
    }
    return pen;
}

// Qt's stroker slows down without bound for absurd widths and dash counts (minutes for a stroke a
// million pixels wide). Wider than twice the surface's diagonal covers as much as it ever will; a dash
// pattern repeating more than 100 000 times along a path is drawn solid.
QPen BoundedPen(QPen pen, const QPainterPath& path, const QTransform& toDevice, double surfaceDiagonal) {
    const double scale = std::sqrt(std::abs(toDevice.determinant()));
    if (scale <= 0)
        return pen;
    const double maxWidth = 2 * surfaceDiagonal / scale;
    if (pen.widthF() > maxWidth) {
        pen.setWidthF(maxWidth);
        pen.setStyle(Qt::SolidLine);
    }
    if (pen.style() == Qt::CustomDashLine) {
        double cycle = 0;
        for (qreal part : pen.dashPattern())
            cycle += part * pen.widthF();
        if (cycle <= 0 || path.length() / cycle > 100'000)
            pen.setStyle(Qt::SolidLine);
    }
    return pen;
}

class DrawBuilder {
public:
    DrawBuilder(double frame, std::vector<ShapeDraw>& out) : frame_(frame), out_(out) {}

    // Every path of `items` (including nested groups) in the coordinates of their group's parent.
    QPainterPath geometry(const std::vector<ShapeItem>& items) const {
        QPainterPath all;
        for (const ShapeItem& item : items)
            all.addPath(itemGeometry(item));
        return all;
    }

    void group(const std::vector<ShapeItem>& items, const QTransform& toLayer, double opacity) {
        // Paths accumulate downwards; each paint uses what has accumulated above it.
        std::vector<QPainterPath> pathsAbove(items.size());
        QPainterPath accumulated;
        for (size_t k = 0; k < items.size(); ++k) {
            if (isPaint(items[k]))
                pathsAbove[k] = accumulated;
            else
                accumulated.addPath(itemGeometry(items[k]));
        }
        for (size_t k = items.size(); k-- > 0;) {
            const auto& content = items[k].content;
            if (const auto* sub = std::get_if<ShapeGroup>(&content)) {
                const QTransform subToLayer = sub->transform.matrixAt(frame_) * toLayer;
                group(sub->items, subToLayer, opacity * sub->transform.opacityAt(frame_));
            } else if (isPaint(items[k]) && !pathsAbove[k].isEmpty()) {
                paint(items[k], pathsAbove[k], toLayer, opacity);
            }
        }
    }

private:
    static bool isPaint(const ShapeItem& item) {
        return std::holds_alternative<FillPaint>(item.content) ||
               std::holds_alternative<StrokePaint>(item.content) ||
               std::holds_alternative<GradientPaint>(item.content);
    }

    QPainterPath itemGeometry(const ShapeItem& item) const {
        return std::visit(
            Overloaded{
                [&](const ShapeGroup& g) { return g.transform.matrixAt(frame_).map(geometry(g.items)); },
                [&](const RectangleShape& r) { return RectanglePath(r, frame_); },
                [&](const EllipseShape& e) { return EllipsePath(e, frame_); },
                [&](const PolystarShape& s) { return PolystarPath(s, frame_); },
                [&](const PathShape& p) { return Directed(BezierPath(p.path.at(frame_)), p.reversed); },
                [](const auto&) { return QPainterPath(); },
            },
            item.content);
    }

    void paint(const ShapeItem& item, QPainterPath path, const QTransform& toLayer, double opacity) {
        ShapeDraw draw;
        draw.toLayer = toLayer;
        if (const auto* fill = std::get_if<FillPaint>(&item.content)) {
            path.setFillRule(fill->rule);
            draw.brush = QBrush(ColorOf(fill->color.at(frame_)));
            draw.opacity = opacity * Percent(fill->opacity, frame_);
        } else if (const auto* stroke = std::get_if<StrokePaint>(&item.content)) {
            draw.pen = StrokePen(stroke->style, QBrush(ColorOf(stroke->color.at(frame_))), frame_);
            draw.opacity = opacity * Percent(stroke->opacity, frame_);
            if (!draw.pen)
                return;
        } else if (const auto* gradient = std::get_if<GradientPaint>(&item.content)) {
            const QBrush brush = GradientBrush(gradient->gradient, frame_);
            draw.opacity = opacity * Percent(gradient->opacity, frame_);
            if (gradient->stroke) {
                draw.pen = StrokePen(*gradient->stroke, brush, frame_);
                if (!draw.pen)
                    return;
            } else {
                path.setFillRule(gradient->rule);
                draw.brush = brush;
            }
        }
        if (draw.opacity <= 0)
            return;
        draw.path = std::move(path);
        out_.push_back(std::move(draw));
    }

    double frame_;
    std::vector<ShapeDraw>& out_;
};

} // namespace

QPainterPath BezierPath(const BezierShape& shape) {
    QPainterPath path;
    const auto& v = shape.vertices;
    if (v.empty())
        return path;
    path.moveTo(v[0]);
    for (size_t k = 1; k < v.size(); ++k)
        path.cubicTo(v[k - 1] + shape.outTangents[k - 1], v[k] + shape.inTangents[k], v[k]);
    if (shape.closed) {
        path.cubicTo(v.back() + shape.outTangents.back(), v[0] + shape.inTangents[0], v[0]);
        path.closeSubpath();
    }
    return path;
}

std::vector<ShapeDraw> BuildShapeDraws(const std::vector<ShapeItem>& items, double frame) {
    std::vector<ShapeDraw> draws;
    DrawBuilder(frame, draws).group(items, QTransform(), 1.0);
    return draws;
}

QRectF ShapeDrawBounds(const std::vector<ShapeDraw>& draws) {
    QRectF bounds;
    for (const ShapeDraw& draw : draws) {
        QRectF rect = draw.path.controlPointRect();
        if (draw.pen) {
            const double reach =
                draw.pen->widthF() / 2 *
                (draw.pen->joinStyle() == Qt::MiterJoin ? std::max(1.0, draw.pen->miterLimit()) : 1.5);
            rect.adjust(-reach, -reach, reach, reach);
        }
        bounds |= draw.toLayer.mapRect(rect);
    }
    return bounds;
}

void PaintShapeDraws(QPainter& painter, const std::vector<ShapeDraw>& draws, const QTransform& layerToDevice,
                     double opacity) {
    const double surfaceDiagonal = std::hypot(painter.device()->width(), painter.device()->height());
    for (const ShapeDraw& draw : draws) {
        const QTransform toDevice = draw.toLayer * layerToDevice;
        painter.setTransform(toDevice);
        painter.setOpacity(opacity * draw.opacity);
        if (draw.pen) {
            painter.strokePath(draw.path, BoundedPen(*draw.pen, draw.path, toDevice, surfaceDiagonal));
        } else {
            painter.fillPath(draw.path, draw.brush);
        }
    }
}

} // namespace lumiset::lottie
