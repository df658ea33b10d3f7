// Painting of the chrome pictures (Theme::picture keeps them).
#pragma once

#include "ui/Theme.h"

namespace lumiset::ui {

// `which` at its size in device-independent pixels, painted for `pixelRatio` device pixels per pixel.
QPixmap PaintThemePicture(ThemePicture which, qreal pixelRatio);

} // namespace lumiset::ui
