#include "effects/EffectFrames.h"

#include "core/Error.h"
#include "core/FileAccess.h"
#include "effects/EffectPng.h"

#include <QDir>

namespace lumiset {

void CheckEffectFrameOffset(QPoint offset, const QString& path) {
    // A crop lies inside its frame; anything else is a damaged file, not a place to draw at.
    if (offset.x() < 0 || offset.y() < 0)
        throw Error(QStringLiteral("特效帧图片的位置无效: %1 (%2, %3)")
                        .arg(QDir::toNativeSeparators(path))
                        .arg(offset.x())
                        .arg(offset.y()));
}

EffectFrame LoadEffectFrame(const QString& path, std::vector<QRgb>* memory) {
    EffectFrame frame;
    const QByteArray file = ReadWholeFile(path);
    std::optional<QImage> palettePicture = DecodeEffectPng(file, path, memory);
    frame.image = palettePicture ? std::move(*palettePicture) : ReadImageFile(path);
    frame.storedBytes = qint64(frame.image.width()) * frame.image.height() * EffectPngBytesPerPixel(file);
    frame.offset = frame.image.offset();
    CheckEffectFrameOffset(frame.offset, path);
    frame.image.setOffset({});
    frame.image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return frame;
}

} // namespace lumiset
