// Content kept as pixels between frames: a layer whose content never changes, and a run of
// neighbouring layers that never change within their composition. Kept pixels are valid while the
// content looks the same (the same sub-layers show) and either only moves (pixels of the surface's
// grid) or is drawn from the same reduction of its finest picture (pixels of that picture's grid).
#include "player/ImageDrawing.h"
#include "player/LottieRenderer.h"

#include <QPainter>
#include <QScopeGuard>
#include <cmath>
#include <numeric>

namespace lumiset {

using namespace lottie;
using Grid = LayerRasters::Raster::Grid;

namespace {

// Content that changes again within this many frames is drawn, not kept: it would be kept for too
// few frames to repay drawing it into kept pixels first.
constexpr double kSettledFrames = 4;
// Kept pixels made in one frame, in surfaces: more are left for the following frames, so that a
// frame where much comes to rest costs little more than one that draws it all.
constexpr double kKeptPerFrame = 1.0;

// Kept pixels on a picture's grid are drawn as that picture would be. Past this enlargement of the
// picture, the shapes drawn with it would soften: such content is kept on the surface's grid only.
constexpr double kMostEnlargement = 1.25;

bool SameLinear(const QTransform& a, const QTransform& b) {
    return a.m11() == b.m11() && a.m12() == b.m12() && a.m21() == b.m21() && a.m22() == b.m22() &&
           a.type() < QTransform::TxProject && b.type() < QTransform::TxProject;
}

bool Settled(const Changes& changes, double frame) {
    return changes.stillAt(frame) && changes.nextChange(frame) >= frame + kSettledFrames;
}

bool IsWhole(double value) {
    return std::abs(value - std::round(value)) < 1e-4;
}

// Device pixels per picture pixel, measured as the picture drawing measures it.
double ScaleOf(const QTransform& t) {
    return std::max(std::hypot(t.m11(), t.m12()), std::hypot(t.m21(), t.m22()));
}

} // namespace

bool LottieRenderer::worthKeeping(const PreparedLayer& prepared) const {
    const Layer& layer = *prepared.layer;
    if (!layer.contentChanges.stillAt(prepared.frame) || prepared.matte != MatteMode::None ||
        prepared.deviceBounds.isEmpty())
        return false;
    if (needsBuffer(prepared)) // masks: four passes over the layer's pixels every frame
        return true;
    switch (layer.kind) {
    case LayerKind::Precomposition:
        return true;
    case LayerKind::Image: { // a picture is sampled anew every frame unless it lands pixel for pixel
        const Picture* picture = pictures_.picture(layer.image);
        if (!picture)
            return false;
        const QSizeF size = imageSize(layer);
        const QTransform pixelsToDevice = QTransform::fromScale(size.width() / picture->size().width(),
                                                                size.height() / picture->size().height()) *
                                          prepared.toDevice;
        return pixelsToDevice.type() > QTransform::TxTranslate;
    }
    case LayerKind::Shape: // several paints, strokes and gradients cost more than a copy
        return prepared.draws.size() > 1 ||
               std::any_of(prepared.draws.begin(), prepared.draws.end(),
                           [](const ShapeDraw& draw) { return draw.pen || draw.brush.gradient(); });
    case LayerKind::Solid:
    case LayerKind::Null:
        break;
    }
    return false;
}

bool LottieRenderer::joinsRun(const Layer& layer, double frame) const {
    // The background's opacity follows "num_stop" when it is drawn.
    return layer.placementChanges.stillAt(frame) && layer.name != QLatin1String("num_stop");
}

void LottieRenderer::shownLayers(const Layer& layer, double localFrame, std::vector<int>& shown) const {
    if (layer.kind != LayerKind::Precomposition)
        return;
    const double frame = childFrame(layer, localFrame);
    for (const Layer& child : movie_.precompositions[layer.precomposition]->layers) {
        const bool visible = !child.hidden && child.isVisibleAt(frame);
        shown.push_back(visible);
        if (visible)
            shownLayers(child, frame - child.startTime, shown);
    }
}

const Picture* LottieRenderer::finestPicture(const Composition& composition, const std::vector<int>& layers,
                                             double frame, QTransform& pictureToComposition) const {
    const Picture* chosen = nullptr;
    double finest = 0; // pixels per unit of area
    for (int index : layers) {
        const Layer& layer = composition.layers[index];
        if (layer.kind != LayerKind::Image || layer.hidden || layer.isMatteSource ||
            !layer.isVisibleAt(frame))
            continue;
        const Picture* picture = pictures_.picture(layer.image);
        if (!picture)
            continue;
        const QSizeF size = imageSize(layer);
        const QSize pixels = picture->size();
        const QTransform toComposition =
            QTransform::fromScale(size.width() / pixels.width(), size.height() / pixels.height()) *
            layerToComposition(composition, index, frame);
        // Only a picture that lies square (not turned or mirrored) gives a grid for its neighbours.
        if (toComposition.type() > QTransform::TxScale || toComposition.m11() <= 0 ||
            toComposition.m22() <= 0)
            continue;
        // The finest picture sets the grid: kept on it, no picture loses detail.
        const double density = 1 / (toComposition.m11() * toComposition.m22());
        if (density > finest) {
            chosen = picture;
            finest = density;
            pictureToComposition = toComposition;
        }
    }
    return chosen;
}

bool LottieRenderer::drawKeptLayer(const Composition& composition, const PreparedLayer& prepared,
                                   QPainter& painter, double frame) {
    const Layer& layer = *prepared.layer;
    KeptContent content;
    content.key = {instance_, &layer, false};
    content.toDevice = prepared.toDevice;
    content.opacity = prepared.opacity;
    content.settled = Settled(layer.contentChanges, prepared.frame);
    content.signature.push_back(layer.contentChanges.stretchAt(prepared.frame));
    shownLayers(layer, prepared.localFrame, content.signature);
    if (layer.kind == LayerKind::Precomposition) {
        const Composition& inner = *movie_.precompositions[layer.precomposition];
        std::vector<int> all(inner.layers.size());
        std::iota(all.begin(), all.end(), 0);
        content.picture =
            finestPicture(inner, all, childFrame(layer, prepared.localFrame), content.pictureToContent);
    } else if (layer.kind == LayerKind::Image && !layer.masks.empty() && !prepared.cut) {
        content.picture = pictures_.picture(layer.image);
        if (content.picture) {
            const QSizeF size = imageSize(layer);
            content.pictureToContent =
                QTransform::fromScale(size.width() / content.picture->size().width(),
                                      size.height() / content.picture->size().height());
        }
    }
    content.bounds = [&] { return prepared.bounds; };
    content.paint = [&](QPainter& target, const QTransform& toPixels, const QRect& area) {
        PreparedLayer local = prepared;
        local.toDevice = toPixels;
        local.opacity = 1; // the layer's opacity is applied when the kept pixels are placed
        local.area = area;
        local.deviceBounds = QRectF(area);
        if (needsBuffer(local))
            drawBuffered(composition, local, target, Placement{QTransform(), area, {}}, frame);
        else
            paintContent(local, target, 1.0, area);
    };
    return drawKept(content, painter);
}

bool LottieRenderer::drawKeptRun(const Composition& composition, const std::vector<int>& run,
                                 QPainter& painter, const Placement& placement, double frame) {
    KeptContent content;
    content.key = {instance_, &composition.layers[run.front()], true};
    content.toDevice = placement.toDevice;
    content.settled = true;
    for (int index : run) {
        const Changes& changes = composition.layers[index].placementChanges;
        content.settled = content.settled && Settled(changes, frame);
        content.signature.push_back(index);
        content.signature.push_back(changes.stretchAt(frame));
    }
    content.signature.push_back(-1);
    for (int index : run) {
        const Layer& layer = composition.layers[index];
        shownLayers(layer, frame - layer.startTime, content.signature);
    }
    content.picture = finestPicture(composition, run, frame, content.pictureToContent);
    content.bounds = [&] {
        // In the composition's units: placed by the identity.
        const Placement own{QTransform(), QRect(-(1 << 29), -(1 << 29), 1 << 30, 1 << 30), placement.frame};
        QRectF bounds;
        for (int index : run) {
            const PreparedLayer prepared = prepare(composition, index, own, 1.0, frame);
            if (prepared.opacity <= 0)
                continue;
            QRectF layerBounds = prepared.deviceBounds;
            if (prepared.layer->kind == LayerKind::Precomposition && layerBounds.isEmpty())
                layerBounds = QRectF(-1e9, -1e9, 2e9, 2e9); // unbounded
            if (prepared.layer->matte == MatteMode::Alpha)  // shows only where its matte does
                layerBounds &= prepare(composition, prepared.layer->matteLayer, own, 1.0, frame).deviceBounds;
            bounds |= layerBounds;
        }
        // A precomposition's frame cuts each of its layers with soft edges where it is drawn; the
        // run is kept only when that cuts nothing, since cutting the run once would differ.
        if (instance_ && !placement.frame.isEmpty() && !placement.frame.contains(bounds))
            return QRectF();
        return placement.frame.isEmpty() ? bounds : bounds & placement.frame;
    };
    content.paint = [&](QPainter& target, const QTransform& toPixels, const QRect& area) {
        for (int index : run)
            drawLayer(composition, index, target, Placement{toPixels, area, placement.frame}, 1.0, frame);
    };
    return drawKept(content, painter);
}

int LottieRenderer::pictureLevel(const KeptContent& content) const {
    if (!content.picture)
        return -1;
    const double scale = ScaleOf(content.pictureToContent * content.toDevice);
    if (!(scale > 0) || scale > kMostEnlargement)
        return -1;
    return content.picture->levelIndexFor(scale);
}

bool LottieRenderer::drawKept(const KeptContent& content, QPainter& painter) {
    LayerRasters::Raster& raster = rasters_.of(content.key);
    const QTransform& now = content.toDevice;
    const bool sameLook = raster.seen && raster.lastSignature == content.signature;
    const bool steady = sameLook && SameLinear(raster.lastSeen, now);
    const bool atRest = steady && raster.lastSeen.dx() == now.dx() && raster.lastSeen.dy() == now.dy();
    raster.seen = true;
    raster.lastSeen = now;
    raster.lastSignature = content.signature;

    const int level = pictureLevel(content);
    bool valid = !raster.pixels.isNull() && raster.signature == content.signature;
    if (valid && raster.grid == Grid::Device) {
        // Moved by whole pixels: copied. By a fraction: sampled at its exact place, and drawn afresh
        // once it comes to rest so that it stays sharp.
        const double dx = now.dx() - raster.drawnAt.dx(), dy = now.dy() - raster.drawnAt.dy();
        valid = SameLinear(raster.drawnAt, now) && (!atRest || (IsWhole(dx) && IsWhole(dy)));
    } else if (valid) {
        valid = raster.level == level;
    }
    // Only content that kept its look since the last frame, and keeps it a while, is worth keeping.
    if (!valid && !(content.settled &&
                    (steady ? keep(raster, content, Grid::Device, 0)
                            : level >= 0 && sameLook && keep(raster, content, Grid::Picture, level)))) {
        raster.pixels = QImage();
        return false;
    }
    painter.save();
    painter.setOpacity(content.opacity);
    // The kept pixels have a clear rim: the edge of their rectangle needs no smoothing of its own.
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawImage(painter, raster.pixels, raster.contentToPixels.inverted() * now);
    painter.restore();
    return true;
}

bool LottieRenderer::keep(LayerRasters::Raster& raster, const KeptContent& content, Grid grid, int level) {
    if (raster.refused == content.signature)
        return false;
    const QRectF bounds = content.bounds();
    if (bounds.isEmpty()) {
        raster.refused = content.signature; // not asked again while it looks the same
        return false;
    }
    QTransform toPixels = content.toDevice;
    if (grid == Grid::Picture) {
        // Pixel for pixel with the reduction of the picture that drawing it now would use.
        const QImage& reduced = content.picture->level(level);
        const QSize pixels = content.picture->size();
        const QTransform reducedToContent =
            QTransform::fromScale(double(pixels.width()) / reduced.width(),
                                  double(pixels.height()) / reduced.height()) *
            content.pictureToContent;
        toPixels = reducedToContent.inverted();
    }
    const QRect box = toPixels.mapRect(bounds).adjusted(-1, -1, 1, 1).toAlignedRect();
    const double pixels = double(box.width()) * box.height();
    if (!(pixels <= 2.0 * surfaceSize_.width() * surfaceSize_.height()) ||
        !rasters_.fits(raster, qint64(pixels)))
        return false;
    toPixels *= QTransform::fromTranslate(-box.left(), -box.top()); // whole pixels: the grid stays
    QImage image(box.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        // Buffers for masks are sized to the kept pixels, and layers inside are drawn, not kept.
        const QSize surfaceSize = std::exchange(surfaceSize_, box.size());
        keepRasters_ = false;
        const auto restore = qScopeGuard([&] {
            surfaceSize_ = surfaceSize;
            keepRasters_ = true;
        });
        QPainter painter(&image);
        SetDrawingHints(painter);
        const QRect area(QPoint(0, 0), box.size());
        painter.setClipRect(area);
        content.paint(painter, toPixels, area);
    }
    raster.pixels = std::move(image);
    raster.grid = grid;
    raster.contentToPixels = toPixels;
    raster.drawnAt = content.toDevice;
    raster.level = level;
    raster.signature = content.signature;
    return true;
}

} // namespace lumiset
