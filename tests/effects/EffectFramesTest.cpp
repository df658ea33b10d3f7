// The effect-frame reader: whole and cropped frames, RGBA and palette files, and damaged ones.
#include "effects/EffectFrames.h"

#include "core/Error.h"
#include "tests/support/TempTree.h"

#include <QBuffer>
#include <QColor>
#include <QFileInfo>
#include <gtest/gtest.h>

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
