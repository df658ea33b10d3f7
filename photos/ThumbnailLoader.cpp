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
    if (const QSize size = reader.size(); size.isValid())
        CheckShowableProportions(file.fileName(), size);
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

// The part of `target` the painter can show: inside its clip and its device.
QRectF shownPart(const QPainter& painter, const QRectF& target) {
    QRectF shown = target;
    if (painter.hasClipping())
        shown &= painter.clipBoundingRect();
    bool invertible = false;
    const QTransform toLogical = painter.deviceTransform().inverted(&invertible);
    if (const QPaintDevice* device = painter.device(); device && invertible) {
        // Device pixels, generously: a ratio above 1 can only enlarge the rectangle.
        const qreal ratio = std::max<qreal>(1, device->devicePixelRatio());
        shown &= toLogical.mapRect(QRectF(0, 0, device->width() * ratio, device->height() * ratio));
    }
    return shown;
}

// Draws `picture` stretched over `target`, scaling only the pixels that land in the visible part: a
// picture covering a frame may be drawn far larger than the panel (a tall photo across a wide frame),
// and scaling all of it would take gigabytes.
void drawShownPart(QPainter& painter, const QImage& picture, const QRect& target) {
    const QRectF visible = shownPart(painter, QRectF(target));
    if (visible.isEmpty() || target.isEmpty() || picture.isNull())
        return;
    const qreal sx = qreal(picture.width()) / target.width();
    const qreal sy = qreal(picture.height()) / target.height();
    // Whole source pixels covering the visible part, and where exactly they land.
    const QRect source =
        QRect(QPoint(static_cast<int>(std::floor((visible.left() - target.x()) * sx)),
                     static_cast<int>(std::floor((visible.top() - target.y()) * sy))),
              QPoint(static_cast<int>(std::ceil((visible.right() - target.x()) * sx)) - 1,
                     static_cast<int>(std::ceil((visible.bottom() - target.y()) * sy)) - 1)) &
        picture.rect();
    if (source.isEmpty())
        return;
    const QRectF landing(target.x() + source.x() / sx, target.y() + source.y() / sy, source.width() / sx,
                         source.height() / sy);
    const QSize deviceSize = painter.deviceTransform().mapRect(landing).size().toSize();
    // The part is read in place, not copied: at camera sizes a copy would take tens of megabytes more.
    const QImage part =
        source == picture.rect() ? picture
        : picture.depth() == 32
            ? QImage(picture.constBits() + source.y() * picture.bytesPerLine() + source.x() * 4,
                     source.width(), source.height(), picture.bytesPerLine(), picture.format())
            : picture.copy(source);
    // Area-averaged scaling here looks better than the painter's bilinear sampling when shrinking.
    const QImage shown = part.size() == deviceSize || deviceSize.isEmpty()
                             ? part
                             : part.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(landing, shown);
}

} // namespace

ThumbnailStatus ThumbnailLoader::render(const QString& path, QPainter& painter, const QRect& area) const {
    ThumbnailStatus status;
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.fillRect(area, Qt::white);
    try {
        const LoadedPicture picture = loadPicture(path, area, painter.deviceTransform());
        drawShownPart(painter, picture.upright, PlacePicture(picture.displayedSize, area));
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
