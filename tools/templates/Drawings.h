// Pictures the generator paints itself: the fixed pictures some templates show (lace, ornate frames,
// floral corners, paper cards, ribbons, tape) and the default background picture.
#pragma once

#include "tools/templates/Fields.h"

#include <QImage>

namespace lumiset::templates {

// Reads "kind", "color", "accent", "border", "seed" and paints a picture of `size` pixels.
QImage DrawPicture(Fields& f, QSize size);
// The soft pastel picture used behind templates when the user gave no background.
QImage DrawDefaultBackground(QSize size);

QByteArray EncodePng(const QImage& image);
QByteArray EncodeJpeg(const QImage& image, int quality);

} // namespace lumiset::templates
