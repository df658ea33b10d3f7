#include "player/LayerBuffers.h"

#include <cstring>

namespace lumiset {

LayerBuffers::Lease LayerBuffers::acquire(QSize size) {
    std::unique_ptr<QImage> image;
    if (!free_.empty()) {
        image = std::move(free_.back());
        free_.pop_back();
    }
    if (!image || image->size() != size)
        image = std::make_unique<QImage>(size, QImage::Format_ARGB32_Premultiplied);
    return Lease(*this, std::move(image));
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
