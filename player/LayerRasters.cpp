#include "player/LayerRasters.h"

namespace lumiset {

namespace {

// Kept pixels of one player stay within this many surfaces (50 MB at 1920 × 1080).
constexpr qint64 kSurfaces = 6;

qint64 PixelsOf(const QImage& image) {
    return qint64(image.width()) * image.height();
}

} // namespace

LayerRasters::Raster& LayerRasters::of(Key key) {
    Raster& raster = rasters_[key];
    raster.used = true;
    return raster;
}

void LayerRasters::beginFrame(QSize size) {
    if (size != surface_)
        rasters_.clear();
    surface_ = size;
}

void LayerRasters::endFrame() {
    for (auto it = rasters_.begin(); it != rasters_.end();) {
        if (!it->second.used) {
            it = rasters_.erase(it);
        } else {
            it->second.used = false;
            ++it;
        }
    }
}

bool LayerRasters::fits(const Raster& raster, qint64 pixels) const {
    qint64 total = pixels - PixelsOf(raster.pixels);
    for (const auto& [layer, kept] : rasters_)
        total += PixelsOf(kept.pixels);
    return total <= kSurfaces * qint64(surface_.width()) * surface_.height();
}

} // namespace lumiset
