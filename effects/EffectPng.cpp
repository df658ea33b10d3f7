#include "effects/EffectPng.h"

#include "core/Error.h"
#include "effects/PngRowFilters.h"

#include <QDir>
#include <QtEndian>
#include <libdeflate.h>
#include <memory>
#include <vector>
#include <zlib.h>

namespace lumiset {

namespace {

constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
constexpr int kSignatureSize = 8;
// Far beyond any frame (effects are made for 1920 x 1080); keeps a damaged header from asking for gigabytes.
constexpr quint32 kMaxSide = 8192;

struct DecompressorDeleter {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// One per thread: the composers read frames at the same time.
libdeflate_decompressor* ThreadDecompressor() {
    thread_local std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(
        libdeflate_alloc_decompressor());
    return decompressor.get();
}

[[noreturn]] void Damaged(const QString& path, const char* what) {
    throw Error(
        QStringLiteral("特效帧图片已损坏 (%1): %2").arg(QLatin1String(what), QDir::toNativeSeparators(path)));
}

quint32 Read32(const uchar* p) {
    return qFromBigEndian<quint32>(p);
}

// The inflating buffer a thread keeps for its frames; larger frames are inflated a row at a time, or whole
// into the buffer grown for them.
// Enough for a whole 1920 × 1080 palette frame (a filter byte and an index a pixel).
constexpr size_t kKeptBufferBytes = size_t(1920 + 1) * 1080;
// The joined compressed data a thread keeps room for.
constexpr size_t kKeptJoinedBytes = size_t(1) << 20;

} // namespace

int EffectPngBytesPerPixel(QByteArrayView file) {
    // The signature, then IHDR's length, type, width, height, depth and colour type.
    constexpr qsizetype kColourType = kSignatureSize + 8 + 9;
    const bool palette = file.size() > kColourType && memcmp(file.data(), kSignature, kSignatureSize) == 0 &&
                         uchar(file[kColourType - 1]) == 8 && uchar(file[kColourType]) == 3;
    return palette ? 1 : 4;
}

bool ReadEffectPngRows(QByteArrayView file, const QString& path, EffectPngRows& rows, LargeFrames large) {
    const auto* data = reinterpret_cast<const uchar*>(file.data());
    const qsizetype size = file.size();
    if (size < kSignatureSize || memcmp(data, kSignature, kSignatureSize) != 0)
        return false;

    quint32 width = 0;
    quint32 height = 0;
    int bytesPerPixel = 1; // a palette index, or red, green, blue and alpha
    QRgb palette[256] = {};
    int paletteSize = 0;
    QPoint offset;
    thread_local std::vector<uchar> joined; // IDAT chunks joined, when there are several
    joined.clear();
    struct Trim {
        ~Trim() {
            if (joined.capacity() > kKeptJoinedBytes) {
                joined.clear();
                joined.shrink_to_fit();
            }
        }
    } trim;
    const uchar* compressed = nullptr; // the one IDAT chunk's data in the file, or `joined`
    size_t compressedSize = 0;
    int idatChunks = 0;
    bool sawHeader = false;
    bool sawEnd = false;
    for (qsizetype at = kSignatureSize; at + 12 <= size && !sawEnd;) {
        const quint32 length = Read32(data + at);
        const uchar* type = data + at + 4;
        const uchar* body = data + at + 8;
        if (length > static_cast<quint64>(size - at - 12))
            Damaged(path, "chunk");
        const auto is = [type](const char* name) { return memcmp(type, name, 4) == 0; };
        if (!sawHeader) {
            if (!is("IHDR") || length != 13)
                Damaged(path, "IHDR");
            sawHeader = true;
            width = Read32(body);
            height = Read32(body + 4);
            const uchar depth = body[8], colourType = body[9], interlace = body[12];
            if (depth != 8 || (colourType != 3 && colourType != 6) || interlace != 0)
                return false;
            bytesPerPixel = colourType == 6 ? 4 : 1;
            if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide)
                Damaged(path, "size");
        } else if (is("PLTE")) {
            paletteSize = static_cast<int>(std::min<quint32>(length / 3, 256));
            for (int i = 0; i < paletteSize; ++i)
                palette[i] = qRgb(body[3 * i], body[3 * i + 1], body[3 * i + 2]);
        } else if (is("tRNS")) {
            for (int i = 0; i < static_cast<int>(std::min<quint32>(length, 256)); ++i)
                palette[i] =
                    qPremultiply(qRgba(qRed(palette[i]), qGreen(palette[i]), qBlue(palette[i]), body[i]));
        } else if (is("oFFs") && length == 9 && body[8] == 0) {
            offset = QPoint(static_cast<qint32>(Read32(body)), static_cast<qint32>(Read32(body + 4)));
        } else if (is("IDAT")) {
            if (++idatChunks == 1) {
                compressed = body;
            } else {
                if (idatChunks == 2)
                    joined.assign(compressed, compressed + compressedSize);
                joined.insert(joined.end(), body, body + length);
                compressed = joined.data();
            }
            compressedSize += length;
        } else if (is("IEND")) {
            sawEnd = true;
        }
        at += 12 + static_cast<qsizetype>(length);
    }
    if (!sawHeader || (bytesPerPixel == 1 && paletteSize == 0) || compressedSize == 0)
        Damaged(path, "IDAT");

    const size_t stride = width * bytesPerPixel + 1;
    const auto emitRow = [&](quint32 y, uchar* row, const uchar* prior) {
        if (!UnfilterPngRow(row[0], row + 1, prior, static_cast<int>(stride - 1), bytesPerPixel))
            Damaged(path, "filter");
        QRgb* out = rows.rowBuffer(static_cast<int>(y));
        if (bytesPerPixel == 1)
            ExpandPaletteRow(row + 1, palette, out, static_cast<int>(width)); // indices past it: transparent
        else
            PremultiplyRgbaRow(row + 1, out, static_cast<int>(width));
        rows.rowDone(static_cast<int>(y));
    };
    const std::vector<uchar> zeros(stride, 0);

    const size_t rawBytes = stride * height;
    if (rawBytes > kKeptBufferBytes && large == LargeFrames::RowByRow) {
        // A large frame is inflated a row at a time (zlib, slower than libdeflate): a buffer for all of
        // it would take up to 8 MB at 1920 × 1080, where memory is shortest.
        z_stream stream{};
        if (inflateInit(&stream) != Z_OK)
            throw std::bad_alloc();
        const std::unique_ptr<z_stream, int (*)(z_stream*)> end(&stream, inflateEnd);
        stream.next_in = const_cast<uchar*>(compressed);
        stream.avail_in = static_cast<uInt>(compressedSize);
        std::vector<uchar> twoRows(2 * stride);
        rows.begin(QSize(static_cast<int>(width), static_cast<int>(height)), offset);
        const uchar* prior = zeros.data();
        for (quint32 y = 0; y < height; ++y) {
            uchar* row = twoRows.data() + (y % 2) * stride;
            stream.next_out = row;
            stream.avail_out = static_cast<uInt>(stride);
            while (stream.avail_out > 0) {
                const int inflated = inflate(&stream, Z_SYNC_FLUSH);
                if ((inflated != Z_OK && inflated != Z_STREAM_END) ||
                    (inflated == Z_STREAM_END && stream.avail_out))
                    Damaged(path, "IDAT");
            }
            emitRow(y, row, prior);
            prior = row + 1;
        }
        return true;
    }

    // This thread's buffer, kept between frames: a fresh one of megabytes would be mapped and cleared by
    // the system for every frame. It grows for a larger frame only when that is inflated whole.
    thread_local std::vector<uchar> kept(kKeptBufferBytes);
    if (kept.size() < rawBytes)
        kept.resize(rawBytes);
    uchar* const raw = kept.data();
    size_t inflated = 0;
    if (libdeflate_zlib_decompress(ThreadDecompressor(), compressed, compressedSize, raw, rawBytes,
                                   &inflated) != LIBDEFLATE_SUCCESS ||
        inflated != rawBytes)
        Damaged(path, "IDAT");
    rows.begin(QSize(static_cast<int>(width), static_cast<int>(height)), offset);
    const uchar* prior = zeros.data();
    for (quint32 y = 0; y < height; ++y) {
        uchar* row = raw + y * stride;
        emitRow(y, row, prior);
        prior = row + 1;
    }
    return true;
}

std::optional<QImage> DecodeEffectPng(QByteArrayView file, const QString& path, std::vector<QRgb>* memory) {
    struct IntoImage : EffectPngRows {
        explicit IntoImage(std::vector<QRgb>* pixels) : memory(pixels) {}
        void begin(QSize size, QPoint offset) override {
            if (memory) {
                memory->resize(size_t(size.width()) * size_t(size.height()));
                image = QImage(reinterpret_cast<uchar*>(memory->data()), size.width(), size.height(),
                               qsizetype(size.width()) * 4, QImage::Format_ARGB32_Premultiplied);
            } else {
                image = QImage(size, QImage::Format_ARGB32_Premultiplied);
            }
            if (image.isNull())
                throw std::bad_alloc();
            image.setOffset(offset);
        }
        QRgb* rowBuffer(int y) override { return reinterpret_cast<QRgb*>(image.scanLine(y)); }
        void rowDone(int) override {}
        std::vector<QRgb>* memory;
        QImage image;
    } into(memory);
    if (!ReadEffectPngRows(file, path, into, LargeFrames::Whole))
        return std::nullopt;
    return std::move(into.image);
}

} // namespace lumiset
