#include "photos/Orientation.h"

#include <QTransform>

namespace lumiset {

int NormalisedOrientation(int exifValue) {
    return exifValue >= 1 && exifValue <= 8 ? exifValue : kUprightOrientation;
}

bool SwapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

QSize DisplayedSize(QSize storedSize, int orientation) {
    return SwapsSides(orientation) ? storedSize.transposed() : storedSize;
}

QImage ApplyOrientation(const QImage& stored, int orientation) {
    // Quarter turns are exact pixel moves in QImage::transformed, so no smoothing is involved.
    const auto turned = [&stored](qreal degrees) { return stored.transformed(QTransform().rotate(degrees)); };
    switch (NormalisedOrientation(orientation)) {
    case 2:
        return stored.mirrored(true, false);
    case 3:
        return stored.mirrored(true, true);
    case 4:
        return stored.mirrored(false, true);
    case 5: // transpose
        return turned(90).mirrored(true, false);
    case 6:
        return turned(90);
    case 7: // transverse
        return turned(90).mirrored(false, true);
    case 8:
        return turned(270);
    default:
        return stored;
    }
}

} // namespace lumiset
