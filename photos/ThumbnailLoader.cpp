#include "photos/ThumbnailLoader.h"

#include "photos/JpegDecoder.h"
#include "photos/PhotoFile.h"
#include "photos/PhotoFit.h"
#include "photos/ThumbnailPlaceholder.h"

#include <QFile>
#include <QImageReader>
#include <cmath>
#include <optional>

namespace lumiset {
namespace {

struct LoadedPicture {
    QImage upright;
    QSize displayedSize;
    bool complete = true;
};

// The EXIF thumbnail serves when it covers the wanted size and shows the same picture: a thumbnail of
// other proportions is letterboxed (black bars) or stale.
bool exifThumbnailServes(QSize thumbnail, QSize stored, QSize wanted) {
    if (thumbnail.isEmpty() || thumbnail.width() < wanted.width() || thumbnail.height() < wanted.height())
        return false;
    const double thumbnailRatio = double(thumbnail.width()) / thumbnail.height();
    const double storedRatio = double(stored.width()) / stored.height();
    return std::abs(thumbnailRatio / storedRatio - 1.0) < 0.02;
}

// `wanted` is the displayed size the picture will be painted at, in device pixels.
LoadedPicture loadJpeg(QFile& file, const PhotoInfo& info, QSize wanted) {
    const QSize wantedStored = SwapsSides(info.orientation) ? wanted.transposed() : wanted;
    std::optional<DecodedJpeg> decoded;
    if (info.exifThumbnailLength > 0 && file.seek(info.exifThumbnailOffset)) {
        const QByteArray thumbnail = file.read(info.exifThumbnailLength);
        if (exifThumbnailServes(JpegDataSize(thumbnail), info.storedSize, wantedStored)) {
            try {
                decoded = DecodeJpegScaled(thumbnail, wantedStored, file.fileName());
            } catch (const Error&) {
                // A broken thumbnail does not make the photo unreadable: decode the photo itself.
            }
        }
    }
    if (!decoded || !decoded->complete) {
        if (!file.seek(0))
            throw PhotoError(file.fileName(), QStringLiteral("无法读取。"));
        decoded = DecodeJpegScaled(file.readAll(), wantedStored, file.fileName());
    }
    return LoadedPicture{ApplyOrientation(decoded->image, info.orientation), info.displayedSize(),
                         decoded->complete};
}

LoadedPicture loadOtherFormat(QFile& file) {
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        throw PhotoError(file.fileName(), QStringLiteral("不是能显示的图片。"));
    return LoadedPicture{image, image.size(), true};
}

LoadedPicture loadPicture(const QString& path, const QRect& area, const QTransform& toDevice) {
    QFile file(path);
    OpenPhotoFile(file);
    if (file.size() > 0 && file.peek(2) != QByteArrayView("\xFF\xD8"))
        return loadOtherFormat(file);
    // The decode size depends on where the picture lands, which needs the header first.
    const PhotoInfo info = ReadPhotoInfo(file);
    const QRectF target = toDevice.mapRect(QRectF(PlacePicture(info.displayedSize(), area)));
    const QSize wanted(static_cast<int>(std::ceil(target.width())),
                       static_cast<int>(std::ceil(target.height())));
    return loadJpeg(file, info, wanted);
}

} // namespace

ThumbnailStatus ThumbnailLoader::render(const QString& path, QPainter& painter, const QRect& area) const {
    ThumbnailStatus status;
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.fillRect(area, Qt::white);
    try {
        const LoadedPicture picture = loadPicture(path, area, painter.deviceTransform());
        const QRect target = PlacePicture(picture.displayedSize, area);
        const QSize deviceSize = painter.deviceTransform().mapRect(QRectF(target)).size().toSize();
        // Area-averaged scaling here looks better than the painter's bilinear sampling when shrinking.
        const QImage shown =
            picture.upright.size() == deviceSize || deviceSize.isEmpty()
                ? picture.upright
                : picture.upright.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(target), shown);
        if (!picture.complete)
            status.message =
                PhotoError(path, QStringLiteral("的图片数据不完整，只显示了能读出的部分。")).message();
    } catch (const Error& error) {
        DrawPicturePlaceholder(painter, area);
        status.pictureShown = false;
        status.message = error.message();
    }
    painter.restore();
    return status;
}

QImage ThumbnailLoader::renderPanel(const QString& path, QSize panelSize, const QRect& area,
                                    ThumbnailStatus* status) const {
    QImage panel(panelSize, QImage::Format_RGB32);
    panel.fill(Qt::white);
    QPainter painter(&panel);
    const ThumbnailStatus result = render(path, painter, area);
    if (status)
        *status = result;
    return panel;
}

} // namespace lumiset
