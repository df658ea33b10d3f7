#include "player/PictureSet.h"

#include "core/Error.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
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

QImage ReadPicture(QIODevice* device) {
    QImageReader reader(device);
    return ForPainting(reader.read());
}

} // namespace

Picture::Picture(QImage image) {
    levels_.push_back(std::move(image));
}

const QImage& Picture::levelFor(double deviceScale) const {
    // Reduce while the next reduction would still be drawn at its own size or smaller.
    size_t level = 0;
    for (double scale = deviceScale; scale > 0 && scale * 2 <= 1.0 + 1e-9; scale *= 2) {
        const QImage& current = levels_[level];
        if (current.width() < 2 || current.height() < 2)
            break;
        if (level + 1 == levels_.size())
            levels_.push_back(current.scaled(current.width() / 2, current.height() / 2, Qt::IgnoreAspectRatio,
                                             Qt::SmoothTransformation));
        ++level;
    }
    return levels_[level];
}

PictureSet::PictureSet(const lottie::LottieMovie& movie, const QString& folder, const QString& sourceName) {
    const QDir dir(folder);
    for (const lottie::ImageAsset& asset : movie.images) {
        QImage image;
        if (asset.embedded) {
            QByteArray data = asset.data;
            QBuffer buffer(&data);
            image = ReadPicture(&buffer);
            if (image.isNull())
                throw Error(QStringLiteral("动画文件“%1”中的内嵌图片“%2”已损坏。").arg(sourceName, asset.id));
        } else {
            const QString path = QDir::cleanPath(dir.absoluteFilePath(asset.fileName));
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                image = ReadPicture(&file);
            if (image.isNull())
                missing_.append(path);
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
