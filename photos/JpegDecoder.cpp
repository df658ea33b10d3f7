#include "photos/JpegDecoder.h"

#include "photos/PhotoFile.h"

#include <QSysInfo>
#include <memory>
#include <optional>
#include <turbojpeg.h>

namespace lumiset {
namespace {

// 32 megapixels (128 MB of pixels): covers any picture the program shows, even a full-screen one
// from a 100-megapixel photo, while a forged header cannot make a thumbnail take gigabytes.
constexpr qint64 kMaxDecodedPixels = 32LL * 1024 * 1024;

struct DecompressorDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Decompressor = std::unique_ptr<void, DecompressorDeleter>;

const unsigned char* bytesOf(QByteArrayView data) {
    return reinterpret_cast<const unsigned char*>(data.data());
}

struct HeaderFacts {
    QSize size;
    int colorspace = TJCS_RGB;
};

bool readHeader(void* decompressor, QByteArrayView data, HeaderFacts& facts) {
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(decompressor, bytesOf(data), static_cast<unsigned long>(data.size()), &width,
                            &height, &subsampling, &colorspace) != 0)
        return false;
    facts = HeaderFacts{QSize(width, height), colorspace};
    return width > 0 && height > 0;
}

QSize scaled(QSize size, tjscalingfactor factor) {
    return QSize(TJSCALED(size.width(), factor), TJSCALED(size.height(), factor));
}

qint64 pixels(QSize size) {
    return qint64(size.width()) * size.height();
}

// The smallest reduction that still covers `minimum`; within the memory budget.
std::optional<QSize> chooseDecodedSize(QSize stored, QSize minimum) {
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    std::optional<QSize> covering, largest;
    for (int i = 0; i < count; ++i) {
        if (factors[i].num > factors[i].denom)
            continue; // never enlarge while decoding: painting scales better
        const QSize size = scaled(stored, factors[i]);
        if (pixels(size) > kMaxDecodedPixels)
            continue;
        if (size.width() >= minimum.width() && size.height() >= minimum.height() &&
            (!covering || pixels(size) < pixels(*covering)))
            covering = size;
        if (!largest || pixels(size) > pixels(*largest))
            largest = size;
    }
    return covering ? covering : largest;
}

// Adobe CMYK JPEGs store inverted inks; libjpeg cannot turn them into RGB itself.
QImage cmykToRgb(const QImage& cmyk) {
    QImage rgb(cmyk.size(), QImage::Format_RGB32);
    for (int y = 0; y < cmyk.height(); ++y) {
        const uchar* in = cmyk.constScanLine(y);
        auto* out = reinterpret_cast<QRgb*>(rgb.scanLine(y));
        for (int x = 0; x < cmyk.width(); ++x, in += 4) {
            const int k = in[3];
            out[x] = qRgb(in[0] * k / 255, in[1] * k / 255, in[2] * k / 255);
        }
    }
    return rgb;
}

} // namespace

QSize JpegDataSize(QByteArrayView data) {
    const Decompressor decompressor(tjInitDecompress());
    HeaderFacts facts;
    if (!decompressor || !readHeader(decompressor.get(), data, facts))
        return QSize();
    return facts.size;
}

DecodedJpeg DecodeJpegScaled(QByteArrayView data, QSize minimumSize, const QString& path) {
    const Decompressor decompressor(tjInitDecompress());
    if (!decompressor)
        throw PhotoError(path, QStringLiteral("无法解码：JPEG 解码器无法启动。"));
    const auto damaged = [&] {
        return PhotoError(path, QStringLiteral("的图片数据已损坏，无法显示（%1）。")
                                    .arg(QString::fromLocal8Bit(tjGetErrorStr2(decompressor.get()))));
    };
    HeaderFacts facts;
    if (!readHeader(decompressor.get(), data, facts))
        throw damaged();
    const std::optional<QSize> size = chooseDecodedSize(facts.size, minimumSize);
    if (!size)
        throw PhotoError(path, QStringLiteral("的图片太大（%1 × %2），无法显示。")
                                   .arg(facts.size.width())
                                   .arg(facts.size.height()));

    const bool cmyk = facts.colorspace == TJCS_CMYK || facts.colorspace == TJCS_YCCK;
    // Format_RGB32 is 0xffRRGGBB in native byte order, the format QPainter draws fastest.
    const int rgbLayout = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? TJPF_BGRX : TJPF_XRGB;
    QImage image(*size, cmyk ? QImage::Format_RGBA8888 : QImage::Format_RGB32);
    if (image.isNull())
        throw PhotoError(path, QStringLiteral("的图片太大，内存不足，无法显示。"));
    // LIMITSCANS stops crafted progressive files with endless scans from taking minutes.
    const int result =
        tjDecompress2(decompressor.get(), bytesOf(data), static_cast<unsigned long>(data.size()),
                      image.bits(), size->width(), static_cast<int>(image.bytesPerLine()), size->height(),
                      cmyk ? TJPF_CMYK : rgbLayout, TJFLAG_LIMITSCANS);
    DecodedJpeg decoded;
    if (result != 0) {
        if (tjGetErrorCode(decompressor.get()) != TJERR_WARNING)
            throw damaged();
        decoded.complete = false;
    }
    decoded.image = cmyk ? cmykToRgb(image) : image;
    return decoded;
}

} // namespace lumiset
