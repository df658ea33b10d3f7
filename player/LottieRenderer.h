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
#include <functional>
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
        QRect clip;   // device pixels that may be touched
        QRectF frame; // the composition's own frame, in its units; empty when unbounded
    };
    // One layer at one frame, ready to paint.
    struct PreparedLayer {
        const lottie::Layer* layer = nullptr;
        lottie::MatteMode matte = lottie::MatteMode::None; // none also when it would change nothing
        QTransform toDevice;
        double opacity = 1;
        double frame = 0;      // of its composition
        double localFrame = 0; // of the layer (before its start time)
        std::vector<lottie::ShapeDraw> draws;
        std::optional<QRectF> cut; // a picture's part its one rectangular mask leaves, in its units
        double cutOpacity = 1;     // and that mask's opacity
        QRectF bounds;             // what the layer can cover, in its units; empty when unbounded
        QRect area;                // device pixels the layer can cover on the surface
        QRectF deviceBounds;       // the same before clipping; empty when unbounded
    };
    // Content that may be kept as pixels between frames (see KeptContent.cpp).
    struct KeptContent {
        LayerRasters::Key key;
        QTransform toDevice;        // its units -> device, this frame
        std::vector<int> signature; // what it is made of this frame
        double opacity = 1;         // applied when the kept pixels are placed
        bool settled = false;       // it looks the same for a while from this frame on
        // Its finest picture and where that lies in its units (picture pixels -> its units), when
        // it holds more than the picture: kept pixel for pixel with that picture, the pixels are drawn
        // turned or zoomed as the picture itself would be, and stay valid while it turns and zooms.
        const Picture* picture = nullptr;
        QTransform pictureToContent;
        std::function<QRectF()> bounds; // where it paints, in its units
        // Paints it at opacity 1 with `toPixels` (its units -> the painter's pixels) within `area`.
        std::function<void(QPainter&, const QTransform& toPixels, const QRect& area)> paint;
    };

    void renderComposition(const lottie::Composition& composition, QPainter& painter,
                           const Placement& placement, double opacity, double frame);
    // Work that shows nothing (see HiddenWork.cpp).
    bool hidesBelow(const lottie::Composition& composition, int index, const Placement& placement,
                    double opacity, double frame) const;
    bool matteHidesAll(const lottie::Composition& composition, const PreparedLayer& prepared,
                       const Placement& placement, double frame) const;
    bool matteChangesNothing(const lottie::Composition& composition, const PreparedLayer& prepared,
                             const Placement& placement, double frame) const;
    void drawLayer(const lottie::Composition& composition, int index, QPainter& painter,
                   const Placement& placement, double opacity, double frame);
    PreparedLayer prepare(const lottie::Composition& composition, int index, const Placement& placement,
                          double parentOpacity, double frame) const;
    bool needsBuffer(const PreparedLayer& prepared) const;
    bool worthKeeping(const PreparedLayer& prepared) const;
    bool joinsRun(const lottie::Layer& layer, double frame) const;
    bool drawKeptLayer(const lottie::Composition& composition, const PreparedLayer& prepared,
                       QPainter& painter, double frame);
    bool drawKeptRun(const lottie::Composition& composition, const std::vector<int>& run, QPainter& painter,
                     const Placement& placement, double frame);
    bool drawKept(const KeptContent& content, QPainter& painter);
    bool keep(LayerRasters::Raster& raster, const KeptContent& content, LayerRasters::Raster::Grid grid,
              int level);
    int pictureLevel(const KeptContent& content) const;
    // The picture with the most pixels per unit among `layers` of `composition` at `frame` that
    // lies square to it, and where it lies (picture pixels -> composition units).
    const Picture* finestPicture(const lottie::Composition& composition, const std::vector<int>& layers,
                                 double frame, QTransform& pictureToComposition) const;
    void shownLayers(const lottie::Layer& layer, double localFrame, std::vector<int>& shown) const;
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
    bool keepRasters_ = true;                 // off while a raster itself is drawn
    double keptThisFrame_ = 0;                // pixels of rasters drawn in this frame
    const lottie::Layer* instance_ = nullptr; // the precomposition layer being drawn, if any
    RenderOptions options_;
    QSize surfaceSize_;
};

} // namespace lumiset
