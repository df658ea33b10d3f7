// The two things the program reads from a photo's EXIF block: the orientation and where the embedded
// thumbnail lies.
#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace lumiset {

struct ExifFacts {
    int orientation = 1;
    // The embedded JPEG thumbnail, as an offset from the start of the TIFF data and a length; a length of
    // 0 means there is none.
    qint64 thumbnailOffset = 0;
    qint64 thumbnailLength = 0;
};

// Reads the TIFF structure that follows "Exif\0\0" in an APP1 segment. Camera makers write all kinds of
// broken blocks: whatever cannot be read is treated as absent (upright, no thumbnail), never as an error.
ExifFacts ParseExif(QByteArrayView tiff);

} // namespace lumiset
