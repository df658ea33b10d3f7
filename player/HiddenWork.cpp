// Work that shows nothing: layers under an opaque layer that hides the whole area, layers whose alpha
// matte lies wholly beside them, and mattes that are opaque wherever their layer draws.
#include "player/LottieRenderer.h"

#include <QPolygonF>

namespace lumiset {

using namespace lottie;

namespace {

// Every corner turns the same way (a polygon as toFillPolygon gives it, closed or not).
bool IsConvex(const QPolygonF& polygon) {
    int turns = 0;
    const qsizetype n = polygon.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QPointF a = polygon[i], b = polygon[(i + 1) % n], c = polygon[(i + 2) % n];
        const double cross = (b.x() - a.x()) * (c.y() - b.y()) - (b.y() - a.y()) * (c.x() - b.x());
        if (std::abs(cross) < 1e-9)
            continue;
        const int turn = cross > 0 ? 1 : -1;
        if (turns == 0)
            turns = turn;
        else if (turn != turns)
            return false;
    }
    return turns != 0;
}

// The fills of `draws` on the surface, each as a convex polygon; false when one is not convex or a
// draw is a stroke.
bool ConvexFills(const std::vector<ShapeDraw>& draws, const QTransform& toDevice,
                 std::vector<QPolygonF>& out) {
    for (const ShapeDraw& draw : draws) {
        if (draw.pen)
            return false;
        QPolygonF polygon = draw.path.toFillPolygon(draw.toLayer * toDevice);
        if (!IsConvex(polygon))
            return false;
        out.push_back(std::move(polygon));
    }
    return true;
}

// Some axis of `a` or `b` keeps them at least `gap` apart (separating axes of convex polygons).
bool Apart(const QPolygonF& a, const QPolygonF& b, double gap) {
    for (const QPolygonF* polygon : {&a, &b}) {
        const qsizetype n = polygon->size();
        for (qsizetype i = 0; i < n; ++i) {
            const QPointF edge = polygon->at((i + 1) % n) - polygon->at(i);
            const double length = std::hypot(edge.x(), edge.y());
            if (length < 1e-9)
                continue;
            const QPointF axis(-edge.y() / length, edge.x() / length);
            const auto span = [&](const QPolygonF& p) {
                double low = 1e300, high = -1e300;
                for (const QPointF& point : p) {
                    const double d = QPointF::dotProduct(point, axis);
                    low = std::min(low, d);
                    high = std::max(high, d);
                }
                return std::pair(low, high);
            };
            const auto [aLow, aHigh] = span(a);
            const auto [bLow, bHigh] = span(b);
            if (bLow - aHigh >= gap || aLow - bHigh >= gap)
                return true;
        }
    }
    return false;
}

} // namespace

bool LottieRenderer::hidesBelow(const Composition& composition, int index, const Placement& placement,
                                double opacity, double frame) const {
    const Layer& layer = composition.layers[index];
    if (!layer.masks.empty() || layer.matte != MatteMode::None)
        return false;
    QSizeF size;
    if (layer.kind == LayerKind::Image) {
        const Picture* picture = pictures_.picture(layer.image);
        if (!picture || !picture->isOpaque())
            return false;
        size = imageSize(layer);
    } else if (layer.kind == LayerKind::Solid && layer.solidColor.alpha() == 255) {
        size = QSizeF(layer.width, layer.height);
    }
    if (size.isEmpty() || opacity * layerOpacity(layer, frame - layer.startTime) < 1)
        return false;
    const QTransform toDevice = layerToComposition(composition, index, frame) * placement.toDevice;
    bool invertible = false;
    const QTransform toLayer = toDevice.inverted(&invertible);
    if (!invertible || toDevice.type() == QTransform::TxProject)
        return false;
    // Every pixel of the area, with one pixel to spare for antialiased and sampled edges, lies inside.
    const QRectF area = QRectF(placement.clip).adjusted(-1, -1, 1, 1);
    const QRectF rect(QPointF(0, 0), size);
    for (const QPointF& corner : {area.topLeft(), area.topRight(), area.bottomLeft(), area.bottomRight()}) {
        if (!rect.contains(toLayer.map(corner)))
            return false;
    }
    return true;
}

bool LottieRenderer::matteChangesNothing(const Composition& composition, const PreparedLayer& prepared,
                                         const Placement& placement, double frame) const {
    const Layer& layer = *prepared.layer;
    if (prepared.matte != MatteMode::Alpha || prepared.bounds.isEmpty())
        return false;
    const Layer& matte = composition.layers[layer.matteLayer];
    if (!matte.isVisibleAt(frame) || matte.kind != LayerKind::Shape || !matte.masks.empty() ||
        matte.matte != MatteMode::None)
        return false;
    const PreparedLayer cover = prepare(composition, layer.matteLayer, placement, 1.0, frame);
    if (cover.opacity < 1 || cover.draws.size() != 1)
        return false;
    const ShapeDraw& draw = cover.draws.front();
    if (draw.pen || draw.opacity < 1 || draw.brush.style() != Qt::SolidPattern ||
        draw.brush.color().alpha() != 255)
        return false;
    const QPolygonF opaque = draw.path.toFillPolygon(draw.toLayer * cover.toDevice);
    if (!IsConvex(opaque))
        return false;
    // Every pixel the layer may touch, with one to spare for soft edges, lies inside the matte.
    for (const QPointF& corner : prepared.toDevice.map(QPolygonF(prepared.bounds))) {
        for (const QPointF spare : {QPointF(-1, -1), QPointF(1, -1), QPointF(-1, 1), QPointF(1, 1)}) {
            if (!opaque.containsPoint(corner + spare, Qt::OddEvenFill))
                return false;
        }
    }
    return true;
}

bool LottieRenderer::matteHidesAll(const Composition& composition, const PreparedLayer& prepared,
                                   const Placement& placement, double frame) const {
    const Layer& layer = *prepared.layer;
    if (prepared.matte != MatteMode::Alpha || layer.kind != LayerKind::Shape || !layer.masks.empty())
        return false;
    const Layer& matte = composition.layers[layer.matteLayer];
    if (matte.kind != LayerKind::Shape || !matte.masks.empty() || matte.matte != MatteMode::None ||
        !matte.isVisibleAt(frame))
        return false;
    const PreparedLayer cover = prepare(composition, layer.matteLayer, placement, 1.0, frame);
    std::vector<QPolygonF> fills, holes;
    if (!ConvexFills(prepared.draws, prepared.toDevice, fills) ||
        !ConvexFills(cover.draws, cover.toDevice, holes))
        return false;
    // Two pixels apart: no pixel takes a soft edge from both.
    for (const QPolygonF& fill : fills) {
        for (const QPolygonF& hole : holes) {
            if (!Apart(fill, hole, 2.0))
                return false;
        }
    }
    return true;
}

} // namespace lumiset
