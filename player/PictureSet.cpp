#include "player/PictureSet.h"

#include "core/Error.h"
#include "core/FileAccess.h"
#include "player/PlayerLimits.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <algorithm>
#include <cmath>

namespace lumiset {

namespace {

// Fast formats for QPainter: opaque pictures stay 32-bit RGB, others become premultiplied ARGB.
QImage ForPainting(QImage image) {
    if (image.isNull())
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

qint64 PixelCount(QSize size) {
    return qint64(size.width()) * size.height();
}

// A null image when the data does not decode or would decode to more than `maxPixels` pixels.
QImage ReadPicture(QIODevice* device, qint64 maxPixels) {
    QImageReader reader(device);
    const QSize size = reader.size(); // from the header, before anything is allocated
    if (size.isValid() && PixelCount(size) > maxPixels)
        return {};
    QImage image = reader.read();
    if (PixelCount(image.size()) > maxPixels)
        return {};
    return ForPainting(std::move(image));
}

// Only a regular file of bounded size is opened: an asset naming a FIFO or a device must not block.
QImage ReadPictureFile(const QString& path, qint64 maxPixels) {
    QFile file(path);
    try {
        OpenRegularFile(file, limits::kMaxPictureFileBytes);
    } catch (const Error&) {
        return {}; // reported as missing
    }
    return ReadPicture(&file, maxPixels);
}

} // namespace

Picture::Picture(QImage image) {
    levels_.push_back(std::move(image));
}

int Picture::levelIndexFor(double deviceScale) const {
    // Reduce while the next reduction would still be drawn at its own size or smaller.
    int index = 0;
    QSize size = this->size();
    for (double scale = deviceScale; scale > 0 && scale * 2 <= 1.0 + 1e-9; scale *= 2) {
        if (size.width() < 2 || size.height() < 2)
            break;
        size = QSize(size.width() / 2, size.height() / 2);
        ++index;
    }
    return index;
}

const QImage& Picture::level(int index) const {
    while (int(levels_.size()) <= index) {
        const QImage& current = levels_.back();
        levels_.push_back(current.scaled(current.width() / 2, current.height() / 2, Qt::IgnoreAspectRatio,
                                         Qt::SmoothTransformation));
    }
    return levels_[size_t(index)];
}

PictureSet::PictureSet(const lottie::LottieMovie& movie, const QString& folder,
                       const PictureProvider& provided, const QString& sourceName) {
    const QDir dir(folder);
    // Pixels the movie's own pictures may still take; pictures given from memory are the program's.
    qint64 budget = limits::kMaxMoviePicturePixels;
    for (const lottie::ImageAsset& asset : movie.images) {
        const qint64 maxPixels = std::min(limits::kMaxPicturePixels, budget);
        QImage image;
        if (asset.embedded) {
            QByteArray data = asset.data;
            QBuffer buffer(&data);
            image = ReadPicture(&buffer, maxPixels);
            if (image.isNull())
                throw Error(
                    QStringLiteral("动画文件“%1”中的内嵌图片“%2”已损坏或过大。").arg(sourceName, asset.id));
            budget -= PixelCount(image.size());
        } else if (const QImage given = provided.find(asset.fileName); !given.isNull()) {
            image = ForPainting(given);
        } else if (folder.isEmpty()) {
            missing_.append(asset.fileName); // a movie from memory without a folder: nothing to read
        } else {
            const QString path = QDir::cleanPath(dir.absoluteFilePath(asset.fileName));
            image = ReadPictureFile(path, maxPixels);
            if (image.isNull())
                missing_.append(path);
            budget -= PixelCount(image.size());
        }
        if (image.isNull())
            pictures_.emplace_back();
        else
            pictures_.emplace_back(Picture(std::move(image)));
    }
}

const Picture* PictureSet::picture(int index) const {
    if (index < 0 || index >= int(pictures_.size()) || !pictures_[index])
        return nullptr;
    return &*pictures_[index];
}

} // namespace lumiset
