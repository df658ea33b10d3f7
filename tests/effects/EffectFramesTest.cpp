// The effect-frame reader: whole and cropped frames, RGBA and palette files, and damaged ones.
#include "effects/EffectFrames.h"
#include "effects/EffectPng.h"

#include "core/Error.h"
#include "tests/support/TempTree.h"

#include <QBuffer>
#include <QColor>
#include <QFileInfo>
#include <QtEndian>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace lumiset;
using namespace lumiset::test;

namespace {

// A small frame: a half-transparent square on a transparent ground, so that premultiplication shows.
QImage drawnFrame(QImage::Format format) {
    QImage image(6, 4, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 1; y < 3; ++y) {
        for (int x = 2; x < 5; ++x)
            image.setPixel(x, y, qRgba(200, 100, 40, x == 2 ? 128 : 255));
    }
    return image.convertToFormat(format);
}

QByteArray pngOf(const QImage& image, QPoint offset) {
    QImage placed = image;
    placed.setOffset(offset);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(placed.save(&buffer, "PNG"));
    return bytes;
}

struct FrameCase {
    const char* name;
    QImage::Format stored;
    QPoint offset;
};

class EffectFrameFiles : public ::testing::TestWithParam<FrameCase> {};

TEST_P(EffectFrameFiles, ComeBackPremultipliedWithTheirPlaceInTheWholeFrame) {
    const FrameCase& c = GetParam();
    TempTree tree;
    const QImage stored = drawnFrame(c.stored);
    const QString path = tree.write("2_1.png", pngOf(stored, c.offset));

    const EffectFrame frame = LoadEffectFrame(path);

    EXPECT_EQ(frame.offset, c.offset);
    EXPECT_EQ(frame.image.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(frame.image.offset(), QPoint()) << "the place is told once, in the frame's offset";
    const QImage expected = stored.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_EQ(frame.image.size(), expected.size());
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x)
            ASSERT_EQ(frame.image.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(All, EffectFrameFiles,
                         ::testing::Values(FrameCase{"whole_rgba", QImage::Format_ARGB32, {0, 0}},
                                           FrameCase{"cropped_rgba", QImage::Format_ARGB32, {37, 12}},
                                           FrameCase{"cropped_palette", QImage::Format_Indexed8, {1500, 900}},
                                           FrameCase{"whole_palette", QImage::Format_Indexed8, {0, 0}}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

// A frame too large for the reader's kept buffer is inflated a row at a time, or whole into a buffer of
// its own: the same picture either way, and the same errors when it is cut short or damaged part way.
class LargeEffectFrames : public ::testing::TestWithParam<LargeFrames> {
protected:
    std::optional<QImage> read(const QByteArray& file, const QString& path) {
        struct IntoImage : EffectPngRows {
            void begin(QSize size, QPoint) override {
                image = QImage(size, QImage::Format_ARGB32_Premultiplied);
            }
            QRgb* rowBuffer(int y) override { return reinterpret_cast<QRgb*>(image.scanLine(y)); }
            void rowDone(int) override {}
            QImage image;
        } into;
        if (!ReadEffectPngRows(file, path, into, GetParam()))
            return std::nullopt;
        return into.image;
    }
};

TEST_P(LargeEffectFrames, ReadTheSameAsQtReadsThem) {
    QImage stored(1200, 1000, QImage::Format_ARGB32);
    for (int y = 0; y < stored.height(); ++y)
        for (int x = 0; x < stored.width(); ++x)
            stored.setPixel(x, y, qRgba(x % 256, y % 256, (x * y) % 251, (x + 3 * y) % 256));
    const QByteArray file = pngOf(stored, {});
    const std::optional<QImage> image = read(file, QStringLiteral("big.png"));
    ASSERT_TRUE(image);
    EXPECT_EQ(*image, stored.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    EXPECT_THROW(read(file.left(file.size() / 2), QStringLiteral("cut.png")), Error);
    QByteArray damaged = file;
    damaged.replace(damaged.size() / 2, 64, QByteArray(64, '\xff'));
    EXPECT_THROW(read(damaged, QStringLiteral("damaged.png")), Error);
}

INSTANTIATE_TEST_SUITE_P(BothWays, LargeEffectFrames,
                         ::testing::Values(LargeFrames::RowByRow, LargeFrames::Whole),
                         [](const auto& testInfo) {
                             return testInfo.param == LargeFrames::Whole ? "Whole" : "RowByRow";
                         });

TEST(EffectFrameReader, APaletteFrameKeepsItsTransparentIndexWhollyTransparent) {
    TempTree tree;
    QImage indexed(3, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgba(0, 0, 0, 0), qRgba(255, 0, 0, 64), qRgba(10, 20, 30, 255)});
    for (int x = 0; x < 3; ++x)
        indexed.setPixel(x, 0, uint(x));
    const EffectFrame frame = LoadEffectFrame(tree.write("1.png", pngOf(indexed, {})));
    EXPECT_EQ(frame.image.pixel(0, 0), 0u);
    EXPECT_EQ(frame.image.pixel(1, 0), qPremultiply(qRgba(255, 0, 0, 64)));
    EXPECT_EQ(frame.image.pixel(2, 0), qRgba(10, 20, 30, 255));
}

// Frames read one after another into the same memory live there, cropped offset and all, instead of in
// fresh megabytes of their own.
TEST(EffectFrameReader, FramesReadIntoMemoryLiveThere) {
    TempTree tree;
    std::vector<QRgb> memory;
    for (const QPoint offset : {QPoint(30, 20), QPoint(0, 0)}) {
        const QImage stored = drawnFrame(QImage::Format_ARGB32);
        const EffectFrame frame = LoadEffectFrame(tree.write("f.png", pngOf(stored, offset)), &memory);
        EXPECT_EQ(static_cast<const void*>(frame.image.constBits()), static_cast<const void*>(memory.data()));
        EXPECT_EQ(frame.offset, offset);
        EXPECT_EQ(frame.image, stored.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
}

// A PNG written byte by byte, each row under its own filter: the writers we use pick "none" for palette
// pictures and choose per row for full colour, but any writer may choose any filter, and each has its own
// arithmetic.
QByteArray chunk(const char* type, const QByteArray& body) {
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(quint32(body.size()), out.data());
    out += QByteArray(type, 4) + body + QByteArray(4, '\0'); // the reader does not need the CRC
    return out;
}

// `rows` of palette indices (`paletteSize` > 0) or of red, green, blue and alpha bytes (0); `idatChunks`:
// the compressed data split over that many IDAT chunks, as PNG writers split large files.
QByteArray filteredEffectPng(const std::vector<std::vector<uchar>>& rows, int paletteSize,
                             int idatChunks = 1) {
    const int bytes = paletteSize > 0 ? 1 : 4;
    const int length = int(rows[0].size());
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(quint32(length / bytes), header.data());
    qToBigEndian<quint32>(quint32(rows.size()), header.data() + 4);
    header[8] = 8;                       // bits per sample
    header[9] = paletteSize > 0 ? 3 : 6; // palette, or colours with alpha
    QByteArray palette;
    for (int i = 0; i < paletteSize; ++i)
        palette.append(char(i * 7)).append(char(255 - i)).append(char(i * 3));
    QByteArray raw;
    std::vector<uchar> prior(size_t(length), 0);
    for (size_t y = 0; y < rows.size(); ++y) {
        const int filter = int(y % 5);
        const std::vector<uchar>& row = rows[y];
        raw += char(filter);
        for (int x = 0; x < length; ++x) {
            const int left = x >= bytes ? row[size_t(x - bytes)] : 0;
            const int up = prior[size_t(x)];
            const int upLeft = x >= bytes ? prior[size_t(x - bytes)] : 0;
            int predicted = 0;
            if (filter == 1)
                predicted = left;
            else if (filter == 2)
                predicted = up;
            else if (filter == 3)
                predicted = (left + up) / 2;
            else if (filter == 4) {
                const int p = left + up - upLeft;
                const int pa = std::abs(p - left), pb = std::abs(p - up), pc = std::abs(p - upLeft);
                predicted = pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft;
            }
            raw += char(uchar(row[size_t(x)] - predicted));
        }
        prior = row;
    }
    const QByteArray compressed = qCompress(raw).mid(4);
    QByteArray data;
    const qsizetype part = (compressed.size() + idatChunks - 1) / idatChunks;
    for (qsizetype at = 0; at < compressed.size(); at += part)
        data += chunk("IDAT", compressed.mid(at, part));
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) +
           (paletteSize > 0 ? chunk("PLTE", palette) : QByteArray()) + data + chunk("IEND", {});
}

TEST(EffectFrameReader, UndoesEveryRowFilterOfAPaletteFile) {
    std::vector<std::vector<uchar>> indices(10, std::vector<uchar>(9));
    for (size_t y = 0; y < indices.size(); ++y)
        for (size_t x = 0; x < 9; ++x)
            indices[y][x] = uchar((x * 37 + y * 11 + x * y) % 20);
    for (const int idatChunks : {1, 3}) {
        const std::optional<QImage> image =
            DecodeEffectPng(filteredEffectPng(indices, 20, idatChunks), QStringLiteral("f.png"));
        ASSERT_TRUE(image);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 9; ++x) {
                const int i = indices[size_t(y)][size_t(x)];
                ASSERT_EQ(image->pixel(x, y), qRgb(i * 7, 255 - i, i * 3))
                    << x << "," << y << " in " << idatChunks;
            }
    }
}

// Full colour goes a pixel (or four) at a time: random bytes meet every tie of the Paeth predictor and
// every rounding of the average and of premultiplying, at widths with and without a ragged end.
TEST(EffectFrameReader, UndoesEveryRowFilterOfAFullColourFile) {
    std::mt19937 random(7);
    for (const int width : {1, 7, 64}) {
        std::vector<std::vector<uchar>> rows(60, std::vector<uchar>(size_t(4 * width)));
        for (std::vector<uchar>& row : rows)
            for (uchar& byte : row)
                byte = uchar(random() % 4 == 0 ? 255 : random()); // some opaque pixels among the rest
        const std::optional<QImage> image =
            DecodeEffectPng(filteredEffectPng(rows, 0), QStringLiteral("f.png"));
        ASSERT_TRUE(image);
        for (int y = 0; y < int(rows.size()); ++y)
            for (int x = 0; x < width; ++x) {
                const uchar* p = rows[size_t(y)].data() + 4 * x;
                ASSERT_EQ(image->pixel(x, y), qPremultiply(qRgba(p[0], p[1], p[2], p[3])))
                    << x << "," << y << " of " << width;
            }
    }
}

TEST(EffectFrameReader, OtherKindsOfPictureAreLeftToTheGeneralReaderAndADamagedOneIsAnError) {
    EXPECT_FALSE(DecodeEffectPng(pngOf(drawnFrame(QImage::Format_Grayscale8), {}), QStringLiteral("a.png")));
    EXPECT_FALSE(DecodeEffectPng(QByteArray("not a picture"), QStringLiteral("b.png")));
    std::vector<std::vector<uchar>> indices(4, std::vector<uchar>(4, 1));
    const QByteArray whole = filteredEffectPng(indices, 2);
    const QByteArray truncated = whole.left(whole.size() - 20);
    EXPECT_THROW(DecodeEffectPng(truncated, QStringLiteral("c.png")), Error);
}

TEST(EffectFrameReader, DamagedOrMissingFilesAreErrorsNamingTheFile) {
    TempTree tree;
    const QString negative = tree.write("2_5.png", pngOf(drawnFrame(QImage::Format_ARGB32), {-4, 3}));
    const QString truncated = tree.write("2_6.png", pngOf(drawnFrame(QImage::Format_ARGB32), {}).left(40));
    for (const QString& path : {negative, truncated, tree.file("2_7.png")}) {
        try {
            LoadEffectFrame(path);
            ADD_FAILURE() << qPrintable(path) << " was read";
        } catch (const Error& e) {
            EXPECT_TRUE(e.message().contains(QFileInfo(path).fileName())) << qPrintable(e.message());
        }
    }
}

} // namespace
