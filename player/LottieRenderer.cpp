#include "player/LottieRenderer.h"

#include "player/ImageDrawing.h"

#include <QPainter>
#include <QScopeGuard>
#include <cmath>
#include <utility>

namespace lumiset {

using namespace lottie;

namespace {

// Starts painting on `area` of a scratch buffer, cleared first.
void BeginArea(QPainter& painter, QImage& buffer, const QRect& area) {
    ClearArea(buffer, area);
    painter.begin(&buffer);
    SetDrawingHints(painter);
    painter.setClipRect(area);
}

// Draws `picture` stretched to `size` (layer units), sampled from the reduction that suits its scale;
// only its `cut` (layer units) when that is given.
void DrawPicture(QPainter& painter, const Picture& picture, QSizeF size, const QTransform& layerToDevice,
                 double opacity, const std::optional<QRectF>& cut) {
    const QSize pixels = picture.size();
    const QTransform layerToImage =
        QTransform::fromScale(pixels.width() / size.width(), pixels.height() / size.height());
    const QTransform imageToDevice = layerToImage.inverted() * layerToDevice;
    const double scale = std::max(std::hypot(imageToDevice.m11(), imageToDevice.m12()),
                                  std::hypot(imageToDevice.m21(), imageToDevice.m22()));
    const QImage& level = picture.levelFor(scale);
    const QTransform imageToLevel = QTransform::fromScale(double(level.width()) / pixels.width(),
                                                          double(level.height()) / pixels.height());
    QRectF part;
    if (cut) {
        part = (layerToImage * imageToLevel).mapRect(*cut) & QRectF(level.rect());
        if (part.isEmpty())
            return;
    }
    painter.setOpacity(opacity);
    DrawImage(painter, level, imageToLevel.inverted() * imageToDevice, part);
}

// The rectangle a closed path of four straight sides makes, square to the axes.
std::optional<QRectF> AxisRectangle(const BezierShape& shape) {
    std::vector<QPointF> corners = shape.vertices;
    if (!shape.closed ||
        std::any_of(shape.inTangents.begin(), shape.inTangents.end(),
                    [](QPointF t) { return !t.isNull(); }) ||
        std::any_of(shape.outTangents.begin(), shape.outTangents.end(),
                    [](QPointF t) { return !t.isNull(); }))
        return std::nullopt;
    if (corners.size() == 5 && corners.front() == corners.back())
        corners.pop_back();
    if (corners.size() != 4)
        return std::nullopt;
    for (size_t i = 0; i < 4; ++i) { // each side runs along one axis
        const QPointF a = corners[i], b = corners[(i + 1) % 4];
        if ((a.x() == b.x()) == (a.y() == b.y()))
            return std::nullopt;
    }
    const auto [left, right] = std::minmax({corners[0].x(), corners[1].x(), corners[2].x(), corners[3].x()});
    const auto [top, bottom] = std::minmax({corners[0].y(), corners[1].y(), corners[2].y(), corners[3].y()});
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

// Combines `alpha` into `content` over `area` with a Porter-Duff mode (DestinationIn keeps what the
// alpha covers, DestinationOut what it does not).
void ApplyAlpha(QImage& content, const QImage& alpha, const QRect& area, QPainter::CompositionMode mode) {
    QPainter painter(&content);
    painter.setCompositionMode(mode);
    painter.drawImage(area.topLeft(), alpha, area);
}

QRect DeviceArea(const QRectF& deviceBounds, const QRect& clip) {
    if (deviceBounds.isEmpty())
        return {};
    // One pixel of margin for antialiased edges.
    const QRectF bounded = deviceBounds.adjusted(-1, -1, 1, 1) & QRectF(clip);
    return bounded.toAlignedRect() & clip;
}

} // namespace

LottieRenderer::LottieRenderer(const LottieMovie& movie, const PictureSet& pictures)
    : movie_(movie), pictures_(pictures) {}

void LottieRenderer::render(QImage& surface, double frame, const RenderOptions& options) {
    if (surface.isNull())
        return;
    if (options.numStopOpacity != options_.numStopOpacity)
        rasters_.clear(); // kept precompositions may hold a "num_stop" layer
    options_ = options;
    surfaceSize_ = surface.size();
    rasters_.beginFrame(surfaceSize_);
    keptThisFrame_ = 0;
    QPainter painter(&surface);
    SetDrawingHints(painter);
    const Placement root{
        QTransform::fromScale(surface.width() / movie_.width, surface.height() / movie_.height),
        surface.rect(),
        QRectF(0, 0, movie_.width, movie_.height),
    };
    renderComposition(movie_.root, painter, root, 1.0, frame);
    rasters_.endFrame();
}

void LottieRenderer::renderComposition(const Composition& composition, QPainter& painter,
                                       const Placement& placement, double opacity, double frame) {
    // The layers to draw, bottom first (the first layer of a composition is the top one).
    std::vector<int> drawn;
    for (int i = int(composition.layers.size()) - 1; i >= 0; --i) {
        const Layer& layer = composition.layers[i];
        if (!layer.isMatteSource && !layer.hidden && layer.isVisibleAt(frame))
            drawn.push_back(i);
    }
    // Nothing under a layer that hides the whole area shows.
    for (size_t k = drawn.size(); k-- > 1;) {
        if (hidesBelow(composition, drawn[k], placement, opacity, frame)) {
            drawn.erase(drawn.begin(), drawn.begin() + std::ptrdiff_t(k));
            break;
        }
    }
    std::vector<int> run;
    for (size_t k = 0; k < drawn.size();) {
        run.clear();
        for (size_t end = k; end < drawn.size() && joinsRun(composition.layers[drawn[end]], frame); ++end)
            run.push_back(drawn[end]);
        // Neighbours that do not change are kept as one picture; they fade together only at opacity 1.
        if (run.size() > 1 && keepRasters_ && opacity >= 1) {
            if (!drawKeptRun(composition, run, painter, placement, frame)) {
                // Drawn as they are until the run is kept: keeping each of them now would be wasted.
                keepRasters_ = false;
                const auto restore = qScopeGuard([this] { keepRasters_ = true; });
                for (int index : run)
                    drawLayer(composition, index, painter, placement, opacity, frame);
            }
            k += run.size();
            continue;
        }
        for (const size_t stop = k + std::max<size_t>(run.size(), 1); k < stop; ++k)
            drawLayer(composition, drawn[k], painter, placement, opacity, frame);
    }
}

void LottieRenderer::drawLayer(const Composition& composition, int index, QPainter& painter,
                               const Placement& placement, double opacity, double frame) {
    PreparedLayer prepared = prepare(composition, index, placement, opacity, frame);
    if (prepared.opacity <= 0 || prepared.area.isEmpty())
        return;
    if (matteHidesAll(composition, prepared, placement, frame))
        return;
    if (matteChangesNothing(composition, prepared, placement, frame))
        prepared.matte = MatteMode::None;
    if (keepRasters_ && worthKeeping(prepared) && drawKeptLayer(composition, prepared, painter, frame))
        return;
    if (needsBuffer(prepared))
        drawBuffered(composition, prepared, painter, placement, frame);
    else
        paintContent(prepared, painter, prepared.opacity, placement.clip);
}

LottieRenderer::PreparedLayer LottieRenderer::prepare(const Composition& composition, int index,
                                                      const Placement& placement, double parentOpacity,
                                                      double frame) const {
    PreparedLayer prepared;
    const Layer& layer = composition.layers[index];
    prepared.layer = &layer;
    prepared.matte = layer.matte;
    prepared.frame = frame;
    prepared.localFrame = frame - layer.startTime;
    prepared.opacity = parentOpacity * layerOpacity(layer, prepared.localFrame);
    prepared.toDevice = layerToComposition(composition, index, frame) * placement.toDevice;
    if (layer.kind == LayerKind::Shape)
        prepared.draws = BuildShapeDraws(layer.shapes, prepared.localFrame);
    QRectF bounds = contentBounds(prepared);
    const bool unbounded = layer.kind == LayerKind::Precomposition && bounds.isEmpty();
    // Masks that only add (and subtract or intersect afterwards) confine the layer to their shapes.
    const auto& masks = layer.masks;
    const bool masksConfine =
        !masks.empty() && masks.front().mode == Mask::Mode::Add &&
        std::none_of(masks.begin(), masks.end(), [](const Mask& m) { return m.inverted; });
    // A picture cut by one rectangle is drawn as that part of it, at once.
    if (layer.kind == LayerKind::Image && masks.size() == 1 && masks.front().mode == Mask::Mode::Add &&
        !masks.front().inverted) {
        prepared.cut = AxisRectangle(masks.front().path.at(prepared.localFrame));
        prepared.cutOpacity =
            std::clamp(Component(masks.front().opacity.at(prepared.localFrame), 0) / 100, 0.0, 1.0);
    }
    if (masksConfine) {
        QRectF maskBounds;
        for (const Mask& mask : masks) {
            if (mask.mode == Mask::Mode::Add)
                maskBounds |= BezierPath(mask.path.at(prepared.localFrame)).controlPointRect();
        }
        bounds = unbounded ? maskBounds : bounds & maskBounds;
    }
    if (unbounded && !masksConfine) {
        prepared.area = placement.clip;
    } else {
        prepared.bounds = bounds;
        prepared.deviceBounds = prepared.toDevice.mapRect(bounds);
        prepared.area = DeviceArea(prepared.deviceBounds, placement.clip);
    }
    return prepared;
}

bool LottieRenderer::needsBuffer(const PreparedLayer& prepared) const {
    const Layer& layer = *prepared.layer;
    if ((!layer.masks.empty() && !prepared.cut) || prepared.matte != MatteMode::None)
        return true;
    // A fading precomposition fades as one picture: its layers must not show through each other.
    return layer.kind == LayerKind::Precomposition && prepared.opacity < 1 &&
           movie_.precompositions[layer.precomposition]->layers.size() > 1;
}

void LottieRenderer::drawBuffered(const Composition& composition, const PreparedLayer& prepared,
                                  QPainter& painter, const Placement& placement, double frame) {
    const Layer& layer = *prepared.layer;
    QRect area = prepared.area;
    const bool matteVisible =
        prepared.matte != MatteMode::None && composition.layers[layer.matteLayer].isVisibleAt(frame);
    if (prepared.matte == MatteMode::Alpha) {
        if (!matteVisible)
            return; // an absent alpha matte hides everything
        area &= prepare(composition, layer.matteLayer, placement, 1.0, frame).area;
        if (area.isEmpty())
            return;
    }

    // Buffers the size of the area: what is drawn into them is cut to it from the start.
    const QPoint origin = area.topLeft();
    const QTransform shift = QTransform::fromTranslate(-origin.x(), -origin.y());
    const QRect local(QPoint(0, 0), area.size());
    PreparedLayer moved = prepared;
    moved.toDevice = prepared.toDevice * shift;
    moved.area = local;
    moved.deviceBounds = prepared.deviceBounds.translated(-origin);
    auto content = buffers_.acquire(area.size(), surfaceSize_);
    {
        QPainter buffer;
        BeginArea(buffer, content.image(), local);
        paintContent(moved, buffer, 1.0, local);
    }
    if (!layer.masks.empty()) {
        auto mask = buffers_.acquire(area.size(), surfaceSize_);
        paintMasks(moved, mask.image(), local);
        ApplyAlpha(content.image(), mask.image(), local, QPainter::CompositionMode_DestinationIn);
    }
    if (matteVisible) {
        auto matte = buffers_.acquire(area.size(), surfaceSize_);
        {
            QPainter buffer;
            BeginArea(buffer, matte.image(), local);
            drawLayer(composition, layer.matteLayer, buffer,
                      Placement{placement.toDevice * shift, local, placement.frame}, 1.0, frame);
        }
        ApplyAlpha(content.image(), matte.image(), local,
                   prepared.matte == MatteMode::Alpha ? QPainter::CompositionMode_DestinationIn
                                                      : QPainter::CompositionMode_DestinationOut);
    }
    painter.save();
    painter.resetTransform();
    painter.setOpacity(prepared.opacity);
    painter.drawImage(origin, content.image());
    painter.restore();
}

void LottieRenderer::paintContent(const PreparedLayer& prepared, QPainter& painter, double opacity,
                                  const QRect& clip) {
    const Layer& layer = *prepared.layer;
    switch (layer.kind) {
    case LayerKind::Solid:
        painter.setTransform(prepared.toDevice);
        painter.setOpacity(opacity);
        painter.fillRect(QRectF(0, 0, layer.width, layer.height), layer.solidColor);
        break;
    case LayerKind::Image:
        if (const Picture* picture = pictures_.picture(layer.image))
            DrawPicture(painter, *picture, imageSize(layer), prepared.toDevice, opacity * prepared.cutOpacity,
                        prepared.cut);
        break;
    case LayerKind::Shape:
        PaintShapeDraws(painter, prepared.draws, prepared.toDevice, opacity);
        break;
    case LayerKind::Precomposition: {
        painter.save();
        Placement inner{prepared.toDevice, clip, {}};
        if (layer.width > 0 && layer.height > 0) {
            inner.frame = QRectF(0, 0, layer.width, layer.height);
            painter.setTransform(prepared.toDevice);
            painter.setClipRect(inner.frame, Qt::IntersectClip);
            inner.clip = DeviceArea(prepared.toDevice.mapRect(inner.frame), clip);
        }
        const auto restore =
            qScopeGuard([this, outer = std::exchange(instance_, &layer)] { instance_ = outer; });
        renderComposition(*movie_.precompositions[layer.precomposition], painter, inner, opacity,
                          childFrame(layer, prepared.localFrame));
        painter.restore();
        break;
    }
    case LayerKind::Null:
        break;
    }
}

void LottieRenderer::paintMasks(const PreparedLayer& prepared, QImage& mask, const QRect& area) {
    QPainter painter;
    BeginArea(painter, mask, area);
    const auto& masks = prepared.layer->masks;
    // A first mask that subtracts or intersects works on the whole layer.
    if (masks.front().mode != Mask::Mode::Add)
        painter.fillRect(area, Qt::black);
    for (const Mask& m : masks) {
        const QPainterPath path = BezierPath(m.path.at(prepared.localFrame));
        QColor color(Qt::black);
        color.setAlphaF(float(std::clamp(Component(m.opacity.at(prepared.localFrame), 0) / 100, 0.0, 1.0)));
        painter.setTransform(prepared.toDevice);
        if (!m.inverted && m.mode != Mask::Mode::Intersect) {
            painter.setCompositionMode(m.mode == Mask::Mode::Add ? QPainter::CompositionMode_SourceOver
                                                                 : QPainter::CompositionMode_DestinationOut);
            painter.fillPath(path, color);
            continue;
        }
        // Inverted and intersecting masks change pixels outside their path too: draw them apart first.
        auto shape = buffers_.acquire(mask.size(), surfaceSize_);
        {
            QPainter shapePainter;
            BeginArea(shapePainter, shape.image(), area);
            shapePainter.setTransform(prepared.toDevice);
            if (m.inverted) {
                shapePainter.fillPath(path, Qt::black);
                shapePainter.resetTransform();
                shapePainter.setCompositionMode(QPainter::CompositionMode_SourceOut);
                shapePainter.fillRect(area, color);
            } else {
                shapePainter.fillPath(path, color);
            }
        }
        painter.resetTransform();
        painter.setCompositionMode(m.mode == Mask::Mode::Add ? QPainter::CompositionMode_SourceOver
                                   : m.mode == Mask::Mode::Subtract
                                       ? QPainter::CompositionMode_DestinationOut
                                       : QPainter::CompositionMode_DestinationIn);
        painter.drawImage(area.topLeft(), shape.image(), area);
    }
}

double LottieRenderer::childFrame(const Layer& layer, double localFrame) const {
    return layer.timeRemap ? Component(layer.timeRemap->at(localFrame), 0) * movie_.frameRate
                           : localFrame / layer.timeStretch;
}

QTransform LottieRenderer::layerToComposition(const Composition& composition, int index, double frame) const {
    const auto& layers = composition.layers;
    FrameTransforms& cache = transforms_[&composition];
    if (cache.frame != frame || cache.known.size() != layers.size()) {
        cache.frame = frame;
        cache.known.assign(layers.size(), 0);
        cache.matrices.resize(layers.size());
    }
    if (cache.known[index])
        return cache.matrices[index];
    // Parents pass on their transform, not their opacity: a layer's transform is its own times its
    // parent's. Loops were rejected when parsing.
    unknownChain_.clear();
    int p = index;
    for (; p >= 0 && !cache.known[p]; p = layers[p].parent)
        unknownChain_.push_back(p);
    QTransform matrix = p >= 0 ? cache.matrices[p] : QTransform();
    for (auto it = unknownChain_.rbegin(); it != unknownChain_.rend(); ++it) {
        const Layer& layer = layers[*it];
        matrix = layer.transform.matrixAt(frame - layer.startTime) * matrix;
        cache.matrices[*it] = matrix;
        cache.known[*it] = 1;
    }
    return matrix;
}

double LottieRenderer::layerOpacity(const Layer& layer, double localFrame) const {
    if (options_.numStopOpacity && layer.name == QLatin1String("num_stop"))
        return std::clamp(*options_.numStopOpacity, 0.0, 1.0);
    return layer.transform.opacityAt(localFrame);
}

QRectF LottieRenderer::contentBounds(const PreparedLayer& prepared) const {
    const Layer& layer = *prepared.layer;
    switch (layer.kind) {
    case LayerKind::Solid:
    case LayerKind::Precomposition:
        return QRectF(0, 0, layer.width, layer.height);
    case LayerKind::Image:
        return pictures_.picture(layer.image) ? QRectF(QPointF(0, 0), imageSize(layer)) : QRectF();
    case LayerKind::Shape:
        return ShapeDrawBounds(prepared.draws);
    case LayerKind::Null:
        break;
    }
    return {};
}

QSizeF LottieRenderer::imageSize(const Layer& layer) const {
    const ImageAsset& asset = movie_.images[layer.image];
    if (asset.width > 0 && asset.height > 0)
        return {asset.width, asset.height};
    const Picture* picture = pictures_.picture(layer.image);
    return picture ? QSizeF(picture->size()) : QSizeF();
}

} // namespace lumiset
