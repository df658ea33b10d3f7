// Scratch images for layers that need their own buffer (masks, mattes, group opacity), kept between
// frames so that rendering a frame does not allocate them again.
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
        Lease(LayerBuffers& pool, std::unique_ptr<QImage> buffer, QSize size);
        ~Lease();
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        // Exactly the size asked for: painting on it is cut to that size from the start.
        QImage& image() { return view_; }

    private:
        LayerBuffers& pool_;
        std::unique_ptr<QImage> buffer_;
        QImage view_; // the top left of buffer_
    };

    // A premultiplied ARGB image of `size`, in a pooled buffer; a new buffer is made at least as large
    // as `allocate`, so that it serves later loans of any size up to that.
    Lease acquire(QSize size, QSize allocate);

private:
    std::vector<std::unique_ptr<QImage>> free_;
};

// Makes `area` of `image` (premultiplied ARGB) fully transparent.
void ClearArea(QImage& image, const QRect& area);

} // namespace lumiset
