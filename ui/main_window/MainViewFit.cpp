#include "ui/main_window/MainViewFit.h"

namespace lumiset::ui {

QSize MainViewPictureSize(QSize photo, QSize display, bool landscapeModerate) {
    const qint64 w = photo.width();
    const qint64 h = photo.height();
    if (w <= 0 || h <= 0 || display.width() <= 0 || display.height() <= 0)
        return {};
    qint64 width = 0;
    qint64 height = 0;
    if (w >= h) {
        width = display.width();
        height = h * width / w;
        if (landscapeModerate && height > display.height()) {
            height = display.height();
            width = w * height / h;
        }
    } else {
        height = display.height();
        width = w * height / h;
        if (width > display.width()) {
            width = display.width();
            height = h * width / w;
        }
    }
    return {static_cast<int>(qMax<qint64>(1, width)), static_cast<int>(qMax<qint64>(1, height))};
}

} // namespace lumiset::ui
