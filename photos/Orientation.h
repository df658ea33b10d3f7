// The EXIF orientation of a photo: how the stored pixels are turned to show the picture upright.
#pragma once

#include <QImage>
#include <QSize>

namespace lumiset {

// Values 1..8 of the EXIF Orientation tag; anything else reads as upright.
constexpr int kUprightOrientation = 1;

int NormalisedOrientation(int exifValue);

// Orientations 5..8 turn the picture by a quarter, so width and height trade places.
bool SwapsSides(int orientation);

// The size the picture shows upright, given the size of its stored pixels.
QSize DisplayedSize(QSize storedSize, int orientation);

// The stored pixels turned (and mirrored) so that the picture stands upright.
QImage ApplyOrientation(const QImage& stored, int orientation);

} // namespace lumiset
