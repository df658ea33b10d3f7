#include "photos/PhotoFit.h"

namespace lumiset {

QSize FitPhotoSize(QSize photo, QSize frame) {
    const qint64 w = photo.width(), h = photo.height();
    if (w <= 0 || h <= 0 || frame.isEmpty())
        return QSize(0, 0);
    qint64 width = 0, height = 0;
    if (w >= h) {
        width = frame.width();
        height = h * width / w;
        if (height > frame.height()) {
            height = frame.height();
            width = w * height / h;
        }
    } else {
        height = frame.height();
        width = w * height / h;
        if (width > frame.width()) {
            width = frame.width();
            height = h * width / w;
        }
    }
    return QSize(static_cast<int>(width), static_cast<int>(height));
}

QRect PlacePicture(QSize photo, const QRect& area) {
    const QSize fitted = FitPhotoSize(photo, area.size());
    if (area.width() - fitted.width() <= 1 && area.height() - fitted.height() <= 1)
        return area;
    return QRect(area.x() + (area.width() - fitted.width()) / 2,
                 area.y() + (area.height() - fitted.height()) / 2, fitted.width(), fitted.height());
}

PhotoTile LayOutPhotoTile(QSize photo, QSize tile) {
    const QSize inner = tile - QSize(8, 8);
    QSize fitted = FitPhotoSize(photo, inner);
    if (fitted.isEmpty())
        fitted = inner.expandedTo(QSize(1, 1));
    const QSize framed = fitted + QSize(6, 6);
    const QRect frame(QPoint((tile.width() - framed.width()) / 2, (tile.height() - framed.height()) / 2),
                      framed);
    return {frame, QRect(frame.topLeft() + QPoint(3, 3), fitted)};
}

} // namespace lumiset
