#include "tools/samples/JpegOutput.h"

#include "core/Error.h"

#include <QBuffer>
#include <QImageWriter>

namespace lumiset::tools {
namespace {

void putLittleEndian(QByteArray& out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

} // namespace

QByteArray EncodeBaselineJpeg(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setQuality(quality);
    writer.setOptimizedWrite(true);
    writer.setProgressiveScanWrite(false);
    if (!writer.write(image))
        throw Error(QStringLiteral("无法编码 JPEG 图片：%1").arg(writer.errorString()));
    return bytes;
}

QByteArray ExifOrientationSegment(int orientation) {
    QByteArray tiff("II", 2);
    putLittleEndian(tiff, 42, 2);
    putLittleEndian(tiff, 8, 4); // the directory follows the header
    putLittleEndian(tiff, 1, 2); // one entry
    putLittleEndian(tiff, 0x0112, 2);
    putLittleEndian(tiff, 3, 2); // SHORT
    putLittleEndian(tiff, 1, 4); // one value, held in the first two bytes of the value field
    putLittleEndian(tiff, quint32(orientation), 2);
    putLittleEndian(tiff, 0, 2);
    putLittleEndian(tiff, 0, 4); // no further directory
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(payload.size()) + 2;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char(length >> 8)).append(char(length & 0xFF));
    return segment + payload;
}

QByteArray InsertAfterJfifHeader(const QByteArray& jpeg, const QByteArray& segment) {
    qsizetype at = 2;
    if (jpeg.size() >= 6 && quint8(jpeg[2]) == 0xFF && quint8(jpeg[3]) == 0xE0)
        at = 4 + ((quint8(jpeg[4]) << 8) | quint8(jpeg[5]));
    if (at > jpeg.size())
        throw Error(QStringLiteral("JPEG 数据的文件头不完整。"));
    return jpeg.left(at) + segment + jpeg.mid(at);
}

} // namespace lumiset::tools
