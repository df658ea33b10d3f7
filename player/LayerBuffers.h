// Surface-sized scratch images for layers that need their own buffer (masks, mattes, group opacity),
// kept between frames so that rendering a frame does not allocate them again.
#pragma once

#include <QImage>
#include <memory>
#include <vector>

namespace lumiset {

class LayerBuffers {
public:
    // A buffer on loan; it returns to the pool when the lease ends. Its pixels are undefined: clear the
    // area you use (see ClearArea).
    class Lease {
    public:
        Lease(LayerBuffers& pool, std::unique_ptr<QImage> image) : pool_(pool), image_(std::move(image)) {}
        ~Lease() { pool_.free_.push_back(std::move(image_)); }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        QImage& image() { return *image_; }

    private:
        LayerBuffers& pool_;
        std::unique_ptr<QImage> image_;
    };

    // A premultiplied ARGB buffer at least as large as `size`.
    Lease acquire(QSize size);

private:
    std::vector<std::unique_ptr<QImage>> free_;
};

// Makes `area` of `image` (premultiplied ARGB) fully transparent.
void ClearArea(QImage& image, const QRect& area);

} // namespace lumiset
