#include "tests/support/JpegFixtures.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <stdexcept>
#include <turbojpeg.h>

namespace lumiset::test {
namespace {

class TiffWriter {
public:
    explicit TiffWriter(bool bigEndian) : bigEndian_(bigEndian) {}
    void put(quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = 8 * (bigEndian_ ? bytes - 1 - i : i);
            data_.append(char((value >> shift) & 0xFF));
        }
    }
    void entry(quint16 tag, quint16 type, quint32 value) {
        put(tag, 2);
        put(type, 2);
        put(1, 4);
        if (type == 3) { // a SHORT sits in the first two bytes of the value field
            put(value, 2);
            put(0, 2);
        } else {
            put(value, 4);
        }
    }
    QByteArray& data() { return data_; }

private:
    bool bigEndian_;
    QByteArray data_;
};

} // namespace

QByteArray EncodeJpeg(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPEG", quality))
        throw std::runtime_error("cannot encode a JPEG fixture");
    return bytes;
}

QByteArray CmykJpeg(QSize size, QColor colour) {
    const QColor cmyk = colour.toCmyk();
    QByteArray pixel;
    for (int ink : {cmyk.cyan(), cmyk.magenta(), cmyk.yellow(), cmyk.black()})
        pixel.append(char(255 - ink));
    const QByteArray pixels = pixel.repeated(size.width() * size.height());
    tjhandle compressor = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long jpegSize = 0;
    const int result =
        tjCompress2(compressor, reinterpret_cast<const unsigned char*>(pixels.constData()), size.width(), 0,
                    size.height(), TJPF_CMYK, &jpeg, &jpegSize, TJSAMP_444, 90, 0);
    const QByteArray bytes(reinterpret_cast<const char*>(jpeg), qsizetype(jpegSize));
    tjFree(jpeg);
    tjDestroy(compressor);
    if (result != 0)
        throw std::runtime_error("cannot encode a CMYK fixture");
    return bytes;
}

QByteArray ExifSegment(const ExifBlock& exif) {
    TiffWriter tiff(exif.bigEndian);
    tiff.data().append(exif.bigEndian ? "MM" : "II");
    tiff.put(42, 2);
    tiff.put(8, 4); // first directory right after the header
    const bool withThumbnail = !exif.thumbnail.isEmpty();
    constexpr quint32 kFirstDirectorySize = 2 + 12 + 4;
    constexpr quint32 kSecondDirectory = 8 + kFirstDirectorySize;
    constexpr quint32 kThumbnailStart = kSecondDirectory + 2 + 2 * 12 + 4;
    tiff.put(1, 2);
    tiff.entry(0x0112, 3, quint32(exif.orientation));
    tiff.put(withThumbnail ? kSecondDirectory : 0, 4);
    if (withThumbnail) {
        tiff.put(2, 2);
        tiff.entry(0x0201, 4, kThumbnailStart);
        tiff.entry(0x0202, 4, quint32(exif.thumbnail.size()));
        tiff.put(0, 4);
        tiff.data().append(exif.thumbnail);
    }
    QByteArray segment("\xFF\xE1", 2);
    const int length = 2 + 6 + int(tiff.data().size());
    segment.append(char(length >> 8)).append(char(length & 0xFF));
    segment.append(QByteArray("Exif\0\0", 6)).append(tiff.data());
    return segment;
}

QByteArray InsertSegment(const QByteArray& jpeg, const QByteArray& segment) {
    return jpeg.left(2) + segment + jpeg.mid(2);
}

QByteArray JpegWithExif(const QImage& picture, const ExifBlock& exif, int quality) {
    return InsertSegment(EncodeJpeg(picture, quality), ExifSegment(exif));
}

QImage StoredForOrientation(const QImage& upright, int orientation) {
    const bool quarterTurn = orientation >= 5;
    const QSize storedSize = quarterTurn ? upright.size().transposed() : upright.size();
    const int ws = storedSize.width(), hs = storedSize.height();
    QImage stored(storedSize, QImage::Format_RGB32);
    for (int ys = 0; ys < hs; ++ys) {
        for (int xs = 0; xs < ws; ++xs) {
            int xd = xs, yd = ys;
            switch (orientation) {
            case 2:
                xd = ws - 1 - xs;
                break;
            case 3:
                xd = ws - 1 - xs;
                yd = hs - 1 - ys;
                break;
            case 4:
                yd = hs - 1 - ys;
                break;
            case 5:
                xd = ys;
                yd = xs;
                break;
            case 6:
                xd = hs - 1 - ys;
                yd = xs;
                break;
            case 7:
                xd = hs - 1 - ys;
                yd = ws - 1 - xs;
                break;
            case 8:
                xd = ys;
                yd = ws - 1 - xs;
                break;
            default:
                break;
            }
            stored.setPixel(xs, ys, upright.pixel(xd, yd));
        }
    }
    return stored;
}

QImage QuadrantScene(QSize size) {
    QImage scene(size, QImage::Format_RGB32);
    const int w = size.width() / 2, h = size.height() / 2;
    QPainter painter(&scene);
    painter.fillRect(0, 0, w, h, Qt::red);
    painter.fillRect(w, 0, size.width() - w, h, Qt::green);
    painter.fillRect(0, h, w, size.height() - h, Qt::blue);
    painter.fillRect(w, h, size.width() - w, size.height() - h, Qt::yellow);
    return scene;
}

QImage CameraLikePicture(int seed) {
    QImage picture(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 4000, 3000);
    sky.setColorAt(0, QColor(70, 130, 200));
    sky.setColorAt(1, QColor(230, 190, 120));
    painter.fillRect(picture.rect(), sky);
    painter.end();
    QRandomGenerator random(static_cast<quint32>(seed));
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int grain = int(random.bounded(24)) - 12;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + grain, 255), qBound(0, qGreen(p) + grain, 255),
                           qBound(0, qBlue(p) + grain, 255));
        }
    }
    return picture;
}

} // namespace lumiset::test
