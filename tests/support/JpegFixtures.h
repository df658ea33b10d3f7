// JPEG fixtures made in memory: pictures of given sizes with camera-style EXIF blocks. Shared by the
// photo tests and the photo benchmarks.
#pragma once

#include <QByteArray>
#include <QImage>

namespace lumiset::test {

QByteArray EncodeJpeg(const QImage& image, int quality = 90);

// A CMYK JPEG of one colour with inverted inks, as Photoshop writes them.
QByteArray CmykJpeg(QSize size, QColor colour);

struct ExifBlock {
    int orientation = 1;
    bool bigEndian = false; // "MM" (Motorola) instead of "II" (Intel) byte order
    QByteArray thumbnail;   // a JPEG stored as the EXIF thumbnail; none when empty
};

// A complete APP1 segment, marker included.
QByteArray ExifSegment(const ExifBlock& exif);
// The JPEG with `segment` inserted right after its SOI marker, where cameras put the EXIF block.
QByteArray InsertSegment(const QByteArray& jpeg, const QByteArray& segment);
QByteArray JpegWithExif(const QImage& picture, const ExifBlock& exif, int quality = 90);

// The pixels a camera stores for the upright scene `upright` when it records `orientation`: decoding
// them and applying the orientation must give the scene back. Built pixel by pixel from the EXIF
// definitions of where row 0 and column 0 of the stored picture appear.
QImage StoredForOrientation(const QImage& upright, int orientation);

// A 4000 x 3000 camera-like picture: a gradient with fine grain, so that its JPEG has a realistic size.
QImage CameraLikePicture(int seed);

// A picture of four coloured quadrants (red, green / blue, yellow), to see which way it is shown.
QImage QuadrantScene(QSize size);

} // namespace lumiset::test
