// The splash window's picture (Image1): the program's name over a fan of photo cards in the theme's
// colours, painted by code (no picture files).
#pragma once

#include <QPixmap>
#include <QSize>

namespace lumiset::ui {

inline constexpr QSize kSplashPictureSize{500, 249};

// Painted at `pixelRatio` device pixels per pixel, so it stays sharp on dense screens.
QPixmap SplashPicture(qreal pixelRatio = 1.0);

} // namespace lumiset::ui
