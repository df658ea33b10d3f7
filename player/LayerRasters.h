// Pixels of content that never changes, kept between frames: a layer with static content, or a run
// of neighbouring layers that never change within their composition. Such content that only moves
// is drawn by placing its kept pixels at the new position instead of drawing its pictures, shapes and
// sub-layers again: turned and zoomed pictures, masks and large antialiased shapes are the slow part
// of a frame.
#pragma once

#include <QImage>
#include <QTransform>
#include <unordered_map>
#include <vector>

namespace lumiset {

class LayerRasters {
public:
    // What is kept: a layer, or the run of layers starting at it, as drawn by the precomposition
    // layer `instance` (null in the root composition): a precomposition used twice draws twice.
    struct Key {
        const void* instance = nullptr;
        const void* layer = nullptr;
        bool run = false;
        bool operator==(const Key&) const = default;
    };

    struct Raster {
        // How the content's own units map to the kept pixels.
        enum class Grid {
            Device,  // as on the surface when drawn: valid while the content only moves
            Picture, // pixel for pixel on a reduction of its finest picture: valid while drawn from it
        };
        QImage pixels; // premultiplied ARGB, the content at opacity 1
        Grid grid = Grid::Device;
        QTransform contentToPixels;
        QTransform drawnAt;         // content -> device when drawn
        int level = 0;              // Picture grid: the reduction of the picture drawn
        std::vector<int> signature; // what the content was made of when drawn
        std::vector<int> refused;   // what the content was made of when it could not be kept
        // What the content looked like in the previous frame, kept or not.
        QTransform lastSeen;
        std::vector<int> lastSignature;
        bool seen = false;
        bool used = false; // asked for in the current frame
    };

    // The raster of `key` (created empty on first use), marked as used in this frame.
    Raster& of(Key key);
    // Starts a frame on a surface of `size`; a new size drops every raster.
    void beginFrame(QSize size);
    // Drops the rasters of content that was not drawn in the frame.
    void endFrame();
    void clear() { rasters_.clear(); }
    // Whether `raster` may grow to `pixels` pixels: all rasters together stay within a few surfaces.
    bool fits(const Raster& raster, qint64 pixels) const;

private:
    struct KeyHash {
        size_t operator()(const Key& key) const {
            const std::hash<const void*> hash;
            return (hash(key.instance) * 31 + hash(key.layer)) * 2 + size_t(key.run);
        }
    };
    std::unordered_map<Key, Raster, KeyHash> rasters_;
    QSize surface_;
};

} // namespace lumiset
