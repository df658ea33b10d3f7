#include "player/LayerBuffers.h"

#include <cstring>

namespace lumiset {

LayerBuffers::Lease::Lease(LayerBuffers& pool, std::unique_ptr<QImage> buffer, QSize size)
    : pool_(pool), buffer_(std::move(buffer)),
      view_(buffer_->bits(), size.width(), size.height(), buffer_->bytesPerLine(), buffer_->format()) {}

LayerBuffers::Lease::~Lease() {
    view_ = QImage();
    pool_.free_.push_back(std::move(buffer_));
}

LayerBuffers::Lease LayerBuffers::acquire(QSize size, QSize allocate) {
    for (auto it = free_.begin(); it != free_.end(); ++it) {
        if ((*it)->width() >= size.width() && (*it)->height() >= size.height()) {
            std::unique_ptr<QImage> buffer = std::move(*it);
            free_.erase(it);
            return Lease(*this, std::move(buffer), size);
        }
    }
    return Lease(*this,
                 std::make_unique<QImage>(size.expandedTo(allocate), QImage::Format_ARGB32_Premultiplied),
                 size);
}

void ClearArea(QImage& image, const QRect& area) {
    const QRect rect = area & image.rect();
    if (rect.isEmpty())
        return;
    const size_t bytes = size_t(rect.width()) * 4;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        std::memset(image.scanLine(y) + size_t(rect.left()) * 4, 0, bytes);
}

} // namespace lumiset
