// Album pictures made by code whose frame number and colours survive encoding, and a whole-album
// encoding in one call.
#pragma once

#include "media/AlbumEncoder.h"

#include <QImage>
#include <QStringList>
#include <functional>

namespace lumiset::test {

// Grey, with a band across the middle of eight columns: red, six black-or-white columns holding the
// bits of `index` (0…63), blue.
QImage NumberedPicture(QSize size, int index);
// The index read back from a decoded picture that shows a NumberedPicture across its full width.
int ReadPictureNumber(const QImage& picture);
// Moving stripes under fine grain: enough detail that an encoder spends what its settings allow.
QImage NoisyPicture(QSize size, int index);

using PictureMaker = std::function<QImage(QSize, int)>;

// Encodes `frames` pictures and finishes; returns the warnings.
QStringList EncodeAlbum(const EncoderSettings& settings, const QString& path,
                        const QList<AudioSegment>& audio, int frames,
                        const PictureMaker& picture = NumberedPicture);

} // namespace lumiset::test
