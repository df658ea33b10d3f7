#include "tools/effects/GeneratorOutput.h"

#include "core/Error.h"
#include "core/IniFile.h"

#include <QDir>
#include <QFile>
#include <QThreadPool>
#include <array>
#include <atomic>
#include <cstring>
#include <exception>
#include <mutex>
#include <unistd.h>
#include <vector>
#include <zlib.h>

namespace lumiset::tools {

namespace {
constexpr int kDeflateLevel = 4;
// A frame whose palette would miss a premultiplied channel by more than this anywhere, or by more than
// the mean on average, keeps all its colours. The shipped frames stay well within both.
constexpr int kMaxPaletteError = 40;
constexpr double kMaxPaletteMeanError = 2.0;
} // namespace

StagedFolder::StagedFolder(const QString& finalPath)
    : finalPath_(QDir::cleanPath(finalPath)), stagingPath_(finalPath_ + QStringLiteral(".partial")) {
    QDir(stagingPath_).removeRecursively();
    if (!QDir().mkpath(stagingPath_))
        throw Error(QStringLiteral("无法创建文件夹 %1").arg(stagingPath_));
}

StagedFolder::~StagedFolder() {
    if (!committed_)
        QDir(stagingPath_).removeRecursively();
}

void StagedFolder::commit() {
    QDir old(finalPath_);
    if (old.exists() && !old.removeRecursively())
        throw Error(QStringLiteral("无法删除旧的文件夹 %1").arg(finalPath_));
    if (!QDir().rename(stagingPath_, finalPath_))
        throw Error(QStringLiteral("无法把 %1 改名为 %2").arg(stagingPath_, finalPath_));
    committed_ = true;
}

void WriteStagedFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        throw Error(QStringLiteral("无法写入文件 %1（%2）").arg(path, file.errorString()));
}

void WriteStagedCopy(const QString& existing, const QString& path) {
    // A hard link costs no space; where the file system has none, the bytes are copied.
    if (::link(QFile::encodeName(existing).constData(), QFile::encodeName(path).constData()) == 0)
        return;
    QFile source(existing);
    if (!source.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("无法读取文件 %1（%2）").arg(existing, source.errorString()));
    WriteStagedFile(path, source.readAll());
}

void WriteGbkIni(const QString& path, const QString& section, const IniEntries& entries) {
    QString text = QStringLiteral("[%1]\r\n").arg(section);
    for (const auto& [key, value] : entries)
        text += key + u'=' + value + QStringLiteral("\r\n");
    WriteStagedFile(path, EncodeGbk(text));
}

namespace {

void appendChunk(QByteArray& png, const char* type, const QByteArray& data) {
    const quint32 length = static_cast<quint32>(data.size());
    const char size[4] = {char(length >> 24), char(length >> 16), char(length >> 8), char(length)};
    png.append(size, 4);
    const qsizetype typeAt = png.size();
    png.append(type, 4);
    png.append(data);
    const auto* checked = reinterpret_cast<const Bytef*>(png.constData() + typeAt);
    const quint32 crc = static_cast<quint32>(crc32(0L, checked, static_cast<uInt>(4 + data.size())));
    const char crcBytes[4] = {char(crc >> 24), char(crc >> 16), char(crc >> 8), char(crc)};
    png.append(crcBytes, 4);
}

} // namespace

namespace {

QByteArray deflateRows(QByteArray& rows, int strategy, const QString& nameForErrors) {
    QByteArray packed(static_cast<qsizetype>(compressBound(static_cast<uLong>(rows.size()))),
                      Qt::Uninitialized);
    z_stream stream{};
    if (deflateInit2(&stream, kDeflateLevel, Z_DEFLATED, 15, 8, strategy) != Z_OK)
        throw Error(QStringLiteral("无法压缩图片 %1").arg(nameForErrors));
    stream.next_in = reinterpret_cast<Bytef*>(rows.data());
    stream.avail_in = static_cast<uInt>(rows.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = static_cast<uInt>(packed.size());
    const int result = deflate(&stream, Z_FINISH);
    const auto packedSize = static_cast<qsizetype>(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw Error(QStringLiteral("无法压缩图片 %1").arg(nameForErrors));
    packed.truncate(packedSize);
    return packed;
}

// Each row gets the cheapest of the sub, up and Paeth filters; run-length deflate then packs the many
// zero residuals.
QByteArray filteredRgbaRows(const QImage& image) {
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    const int width = rgba.width(), height = rgba.height();
    const qsizetype rowBytes = qsizetype(width) * 4;
    QByteArray filtered;
    filtered.resize((rowBytes + 1) * height);
    char* out = filtered.data();
    std::vector<quint8> zero(rowBytes, 0);
    auto residual = [](int filter, const quint8* row, const quint8* above, qsizetype i) {
        const int a = i >= 4 ? row[i - 4] : 0, b = above[i], c = i >= 4 ? above[i - 4] : 0;
        if (filter == 0)
            return quint8(row[i] - a);
        if (filter == 1)
            return quint8(row[i] - b);
        const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
        return quint8(row[i] - (pa <= pb && pa <= pc ? a : pb <= pc ? b : c));
    };
    for (int y = 0; y < height; ++y) {
        const quint8* row = rgba.constScanLine(y);
        const quint8* above = y > 0 ? rgba.constScanLine(y - 1) : zero.data();
        // The filter is chosen on a sample of the row, which picks as well as the whole row at a
        // fraction of the work.
        long cost[3] = {0, 0, 0};
        for (qsizetype i = 0; i < rowBytes; i += 7) {
            for (int f = 0; f < 3; ++f)
                cost[f] += std::abs(static_cast<qint8>(residual(f, row, above, i)));
        }
        const int best = cost[0] <= cost[1] && cost[0] <= cost[2] ? 0 : cost[1] <= cost[2] ? 1 : 2;
        *out++ = static_cast<char>(best == 2 ? 4 : best + 1); // PNG filter types: sub 1, up 2, paeth 4
        for (qsizetype i = 0; i < rowBytes; ++i)
            *out++ = static_cast<char>(residual(best, row, above, i));
    }
    return filtered;
}

// Palette indices need no filter: the long runs of one index are what deflate packs best.
QByteArray indexedRows(const QImage& image) {
    const int width = image.width(), height = image.height();
    QByteArray rows;
    rows.resize((qsizetype(width) + 1) * height);
    char* out = rows.data();
    for (int y = 0; y < height; ++y) {
        *out++ = 0;
        std::memcpy(out, image.constScanLine(y), width);
        out += width;
    }
    return rows;
}

QByteArray bigEndian(quint32 value) {
    const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    return QByteArray(bytes, 4);
}

} // namespace

// Our own writer: Qt's (libpng's) took several times longer than drawing the frames.
QByteArray EncodePng(const QImage& image, const QString& nameForErrors, QPoint offset) {
    const bool indexed = image.format() == QImage::Format_Indexed8;
    QByteArray header = bigEndian(image.width()) + bigEndian(image.height());
    header.append(char(8));               // bits per channel or per index
    header.append(char(indexed ? 3 : 6)); // palette or RGBA
    header.append(3, char(0));            // deflate, adaptive filters, no interlace
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header);
    if (indexed) {
        QByteArray colours, alphas;
        for (const QRgb colour : image.colorTable()) {
            const char rgb[3] = {char(qRed(colour)), char(qGreen(colour)), char(qBlue(colour))};
            colours.append(rgb, 3);
            alphas.append(char(qAlpha(colour)));
        }
        appendChunk(png, "PLTE", colours);
        appendChunk(png, "tRNS", alphas);
    }
    if (!offset.isNull())
        appendChunk(png, "oFFs", bigEndian(offset.x()) + bigEndian(offset.y()) + QByteArray(1, 0)); // pixels
    QByteArray rows = indexed ? indexedRows(image) : filteredRgbaRows(image);
    appendChunk(png, "IDAT", deflateRows(rows, indexed ? Z_DEFAULT_STRATEGY : Z_RLE, nameForErrors));
    appendChunk(png, "IEND", {});
    return png;
}

void FrameReport::add(bool palette, const PaletteError& error) {
    std::lock_guard guard(lock_);
    ++frames_;
    if (palette) {
        ++paletteFrames_;
        error_.add(error);
    }
}

QString FrameReport::summary() const {
    std::lock_guard guard(lock_);
    return QStringLiteral("%1 of %2 frames with a palette (largest channel difference %3, mean %4)")
        .arg(paletteFrames_)
        .arg(frames_)
        .arg(error_.largest)
        .arg(error_.mean(), 0, 'f', 3);
}

namespace {

// The smallest rectangle holding every pixel that shows something, with a transparent border of one
// pixel so that smooth scaling fades the edge out instead of stretching its last pixels.
template <typename Pixel, typename Shows> QRect contentOf(const QImage& frame, Shows shows) {
    const int width = frame.width(), height = frame.height();
    int top = height, bottom = -1, left = width, right = -1;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const Pixel*>(frame.constScanLine(y));
        int first = 0;
        while (first < width && !shows(row[first]))
            ++first;
        if (first == width)
            continue;
        int last = width - 1;
        while (!shows(row[last]))
            --last;
        top = std::min(top, y);
        bottom = y;
        left = std::min(left, first);
        right = std::max(right, last);
    }
    if (bottom < 0)
        return QRect(0, 0, 1, 1);
    return QRect(QPoint(left, top), QPoint(right, bottom)).adjusted(-1, -1, 1, 1).intersected(frame.rect());
}

QRect drawnContent(const QImage& frame) {
    return contentOf<quint32>(frame, [](quint32 pixel) { return pixel != 0; });
}

// The palette may have turned the faintest edge pixels transparent, so its picture can shrink again.
QRect paletteContent(const QImage& image) {
    std::array<bool, 256> opaque{};
    const QList<QRgb> table = image.colorTable();
    for (int i = 0; i < table.size(); ++i)
        opaque[i] = qAlpha(table[i]) != 0;
    return contentOf<uchar>(image, [&](uchar index) { return opaque[index]; });
}

} // namespace

QByteArray EncodeEffectFrame(const QImage& frame, FrameCrop crop, FrameColours colours, FrameReport& report,
                             const QString& nameForErrors) {
    Q_ASSERT(frame.format() == QImage::Format_ARGB32_Premultiplied);
    const QRect area = crop == FrameCrop::ToContent ? drawnContent(frame) : frame.rect();
    if (colours == FrameColours::Full) {
        report.add(false, {});
        return EncodePng(frame.copy(area), nameForErrors, area.topLeft());
    }
    const PaletteImage palette = QuantizeToPalette(
        frame, area, colours == FrameColours::DitheredPalette ? PaletteDither::Ordered : PaletteDither::None);
    const bool usePalette =
        palette.error.largest <= kMaxPaletteError && palette.error.mean() <= kMaxPaletteMeanError;
    report.add(usePalette, palette.error);
    if (!usePalette)
        return EncodePng(frame.copy(area), nameForErrors, area.topLeft());
    if (crop == FrameCrop::Whole)
        return EncodePng(palette.image, nameForErrors, area.topLeft());
    const QRect shown = paletteContent(palette.image);
    return EncodePng(palette.image.copy(shown), nameForErrors, area.topLeft() + shown.topLeft());
}

void ParallelFor(int count, const std::function<void(int)>& body) {
    // The work runs on Qt's global pool and the caller only waits: QPainter and QImage split large fills
    // and conversions over that pool unless they already run on it, and nesting that splitting inside
    // our own split only adds hand-over costs.
    QThreadPool* pool = QThreadPool::globalInstance();
    const int workers = std::max(1, std::min(count, pool->maxThreadCount()));
    std::atomic<int> next{0};
    std::exception_ptr firstError;
    std::mutex errorLock;
    for (int w = 0; w < workers; ++w) {
        pool->start([&] {
            for (int i = next++; i < count; i = next++) {
                try {
                    body(i);
                } catch (...) {
                    std::lock_guard guard(errorLock);
                    if (!firstError)
                        firstError = std::current_exception();
                    next = count; // stop handing out work
                }
            }
        });
    }
    pool->waitForDone();
    if (firstError)
        std::rethrow_exception(firstError);
}

} // namespace lumiset::tools
