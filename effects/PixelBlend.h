// Premultiplied pixels drawn source-over, rounded as Qt's raster engine rounds, so that what production
// blends itself matches what QPainter would have drawn.
#pragma once

#include <QRgb>

namespace lumiset {

// `source` over `target`, `count` pixels: source + target × (255 − source alpha) / 255 per channel. The
// target may be RGB32 or premultiplied ARGB32.
void BlendPixelsOver(const QRgb* source, QRgb* target, int count);

} // namespace lumiset
