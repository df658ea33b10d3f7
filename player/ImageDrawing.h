// Drawing a QImage through a transform with bilinear sampling and sub-pixel positions.
#pragma once

#include <QImage>
#include <QTransform>

class QPainter;

namespace lumiset {

// The hints every painter of the renderer uses: antialiased edges, smoothly sampled pictures.
void SetDrawingHints(QPainter& painter);

// Draws `image` (its pixel (0, 0) at the origin) mapped by `imageToDevice`; only its `part` (in its
// pixels) when that is given. A whole-pixel shift is a plain copy. Qt snaps other pure shifts to whole
// pixels, which makes slow slides judder; those are drawn through a scale a hair above 1 so that they
// are sampled at their exact position.
// @pre the painter has SmoothPixmapTransform set.
void DrawImage(QPainter& painter, const QImage& image, const QTransform& imageToDevice,
               const QRectF& part = QRectF());

} // namespace lumiset
