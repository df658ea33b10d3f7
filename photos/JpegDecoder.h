// Scaled JPEG decoding with TurboJPEG: libjpeg decodes straight to 1/2, 1/4 or 1/8 of the size (and
// other eighths), which skips most of the inverse DCT work for thumbnails.
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

namespace lumiset {

struct DecodedJpeg {
    QImage image;         // the stored pixels, not yet turned upright
    bool complete = true; // false when the data ended early or had errors: the rest shows grey
};

// The pixel size in the header of JPEG data held in memory; an empty size when it cannot be read.
QSize JpegDataSize(QByteArrayView data);

// Decodes at the smallest scale factor (at most 1) that gives at least `minimumSize` pixels, or at full
// size when none does. Pictures whose decoded size would exceed a sane memory budget are decoded smaller
// still, or refused. Throws Error naming `path` when the data cannot be decoded.
// Thread-safe: every call uses its own decoder.
DecodedJpeg DecodeJpegScaled(QByteArrayView data, QSize minimumSize, const QString& path);

} // namespace lumiset
