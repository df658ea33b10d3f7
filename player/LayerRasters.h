// Pixels of layers whose content never changes, kept between frames. Such a layer that only moves
// is drawn by placing its kept pixels at the new position instead of drawing its pictures, shapes and
// sub-layers again: rotated pictures and large antialiased shapes are the slow part of a frame.
#pragma once

#include <QImage>
#include <QTransform>
#include <unordered_map>
#include <vector>

namespace lumiset {

class LayerRasters {
public:
    struct Raster {
        QImage pixels;           // premultiplied ARGB, the layer at opacity 1
        QPoint origin;           // device position of pixels(0, 0) when drawn
        QTransform drawnAt;      // layer -> device when drawn
        std::vector<char> shown; // which sub-layers showed when drawn
        // What the layer looked like in the previous frame, kept or not.
        QTransform lastSeen;
        std::vector<char> lastShown;
        bool seen = false;
        bool used = false; // asked for in the current frame
    };

    // The raster of `layer` (created empty on first use), marked as used in this frame.
    Raster& of(const void* layer);
    // Starts a frame on a surface of `size`; a new size drops every raster.
    void beginFrame(QSize size);
    // Drops the rasters of layers that were not drawn in the frame.
    void endFrame();
    void clear() { rasters_.clear(); }
    // Whether `raster` may grow to `pixels` pixels: all rasters together stay within a few surfaces.
    bool fits(const Raster& raster, qint64 pixels) const;

private:
    std::unordered_map<const void*, Raster> rasters_;
    QSize surface_;
};

} // namespace lumiset
