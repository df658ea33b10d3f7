// Paints frames of a parsed Lottie movie with QPainter.
//
// Threading: a renderer (with its pictures) belongs to one thread at a time; separate renderers may
// paint in parallel. Only QImage is used, never QPixmap.
#pragma once

#include "player/LayerBuffers.h"
#include "player/LayerRasters.h"
#include "player/LottieModel.h"
#include "player/LottieShapes.h"
#include "player/PictureSet.h"

#include <QImage>
#include <optional>
#include <unordered_map>
#include <vector>

class QPainter;

namespace lumiset {

struct RenderOptions {
    // Replaces the opacity (0..1) of every layer named "num_stop" when set.
    std::optional<double> numStopOpacity;
};

class LottieRenderer {
public:
    // @pre `movie` and `pictures` outlive the renderer.
    LottieRenderer(const lottie::LottieMovie& movie, const PictureSet& pictures);

    // Paints composition frame `frame` over `surface`, the composition scaled to fill it.
    void render(QImage& surface, double frame, const RenderOptions& options);
    // Forgets kept layer pixels (call after the pictures changed).
    void forgetRasters() { rasters_.clear(); }

private:
    // Where a composition lands on the surface.
    struct Placement {
        QTransform toDevice;
        QRect clip; // device pixels that may be touched
    };
    // One layer at one frame, ready to paint.
    struct PreparedLayer {
        const lottie::Layer* layer = nullptr;
        QTransform toDevice;
        double opacity = 1;
        double localFrame = 0;
        std::vector<lottie::ShapeDraw> draws;
        QRect area;          // device pixels the layer can cover on the surface
        QRectF deviceBounds; // the same before clipping; empty when unbounded
    };

    void renderComposition(const lottie::Composition& composition, QPainter& painter,
                           const Placement& placement, double opacity, double frame);
    void drawLayer(const lottie::Composition& composition, int index, QPainter& painter,
                   const Placement& placement, double opacity, double frame);
    PreparedLayer prepare(const lottie::Composition& composition, int index, const Placement& placement,
                          double parentOpacity, double frame) const;
    bool needsBuffer(const PreparedLayer& prepared) const;
    bool worthKeeping(const PreparedLayer& prepared) const;
    bool drawKept(const lottie::Composition& composition, const PreparedLayer& prepared, QPainter& painter,
                  double frame);
    bool keep(LayerRasters::Raster& raster, const lottie::Composition& composition,
              const PreparedLayer& prepared, double frame);
    void shownLayers(const lottie::Layer& layer, double localFrame, std::vector<char>& shown) const;
    double childFrame(const lottie::Layer& layer, double localFrame) const;
    void drawBuffered(const lottie::Composition& composition, const PreparedLayer& prepared,
                      QPainter& painter, const Placement& placement, double frame);
    void paintContent(const PreparedLayer& prepared, QPainter& painter, double opacity, const QRect& clip);
    void paintMasks(const PreparedLayer& prepared, QImage& mask, const QRect& area);
    QTransform layerToComposition(const lottie::Composition& composition, int index, double frame) const;
    double layerOpacity(const lottie::Layer& layer, double localFrame) const;
    QRectF contentBounds(const PreparedLayer& prepared) const;
    QSizeF imageSize(const lottie::Layer& layer) const;

    // Layer-to-composition transforms of one composition at one frame, each found once: a chain of
    // parented layers costs time in proportion to its length, not to its square.
    struct FrameTransforms {
        double frame = 0;
        std::vector<QTransform> matrices;
        std::vector<char> known;
    };

    const lottie::LottieMovie& movie_;
    const PictureSet& pictures_;
    mutable std::unordered_map<const lottie::Composition*, FrameTransforms> transforms_;
    mutable std::vector<int> unknownChain_; // scratch for layerToComposition
    LayerBuffers buffers_;
    LayerRasters rasters_;
    bool keepRasters_ = true; // off while a raster itself is drawn
    RenderOptions options_;
    QSize surfaceSize_;
};

} // namespace lumiset
