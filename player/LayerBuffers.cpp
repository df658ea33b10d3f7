#include "player/LayerBuffers.h"

#include <cstring>

namespace lumiset {

LayerBuffers::Lease LayerBuffers::acquire(QSize size) {
    for (auto it = free_.begin(); it != free_.end(); ++it) {
        if ((*it)->width() >= size.width() && (*it)->height() >= size.height()) {
            std::unique_ptr<QImage> image = std::move(*it);
            free_.erase(it);
            return Lease(*this, std::move(image));
        }
    }
    return Lease(*this, std::make_unique<QImage>(size, QImage::Format_ARGB32_Premultiplied));
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
