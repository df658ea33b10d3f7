// The sample photos as cameras write them: baseline JPEG, optionally with an EXIF block that tells
// viewers how to turn the stored pixels upright.
#pragma once

#include <QByteArray>
#include <QImage>

namespace lumiset::tools {

// Baseline (not progressive) JPEG with optimised Huffman tables; throws Error when Qt cannot encode.
QByteArray EncodeBaselineJpeg(const QImage& image, int quality);

// An APP1 segment, marker included: "Exif", a little-endian TIFF header and one directory holding
// only the Orientation tag.
QByteArray ExifOrientationSegment(int orientation);

// `jpeg` with `segment` after its SOI marker and its JFIF APP0 segment, if any: JFIF readers expect
// APP0 first, EXIF readers find APP1 wherever it follows.
QByteArray InsertAfterJfifHeader(const QByteArray& jpeg, const QByteArray& segment);

} // namespace lumiset::tools
