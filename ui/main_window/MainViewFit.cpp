#include "ui/main_window/MainViewFit.h"

#include "photos/PhotoFit.h"

namespace lumiset::ui {

QSize MainViewPictureSize(QSize photo, QSize display, bool landscapeModerate) {
    const qint64 w = photo.width();
    const qint64 h = photo.height();
    if (w <= 0 || h <= 0 || display.width() <= 0 || display.height() <= 0)
        return {};
    // Only a landscape photo shown full-screen may grow taller than the display.
    const QSize fitted = w >= h && !landscapeModerate
                             ? QSize(display.width(), static_cast<int>(h * display.width() / w))
                             : FitPhotoSize(photo, display);
    return fitted.expandedTo(QSize(1, 1));
}

} // namespace lumiset::ui
