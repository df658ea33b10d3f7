#include "tests/media/AlbumFixtures.h"

#include <QPainter>

namespace lumiset::test {
namespace {

constexpr int kColumns = 8;

QPoint columnCentre(QSize size, int column) {
    return QPoint((2 * column + 1) * size.width() / (2 * kColumns), size.height() / 2);
}

} // namespace

QImage NumberedPicture(QSize size, int index) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(128, 128, 128));
    QPainter painter(&image);
    for (int column = 0; column < kColumns; ++column) {
        QColor colour = ((index >> (column - 1)) & 1) ? Qt::white : Qt::black;
        if (column == 0)
            colour = Qt::red;
        else if (column == kColumns - 1)
            colour = Qt::blue;
        const int left = column * size.width() / kColumns;
        const int right = (column + 1) * size.width() / kColumns;
        painter.fillRect(QRect(left, size.height() * 2 / 5, right - left, size.height() / 5), colour);
    }
    return image;
}

int ReadPictureNumber(const QImage& picture) {
    int index = 0;
    for (int bit = 0; bit < kColumns - 2; ++bit)
        if (qGray(picture.pixel(columnCentre(picture.size(), bit + 1))) > 128)
            index |= 1 << bit;
    return index;
}

QImage NoisyPicture(QSize size, int index) {
    QImage image(size, QImage::Format_RGB32);
    quint32 seed = quint32(index) * 2654435761u + 1;
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = int(seed >> 29) - 4;
            const int shade = (x + y + index * 4) % 200;
            line[x] = qRgb(shade + 28 + grain, (y * 3 + index) % 200 + 28 + grain, 128 + grain);
        }
    }
    return image;
}

QStringList EncodeAlbum(const EncoderSettings& settings, const QString& path,
                        const QList<AudioSegment>& audio, int frames, const PictureMaker& picture) {
    AlbumEncoder encoder(settings, path, audio, frames);
    for (int i = 0; i < frames; ++i)
        encoder.addFrame(picture(settings.albumSize, i));
    encoder.finish();
    return encoder.warnings();
}

} // namespace lumiset::test
