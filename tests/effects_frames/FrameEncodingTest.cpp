// The effect generator's frame files read back through the program's own reader: palette frames stay
// within the error they report, transparent stays transparent, crops keep their place.
#include "effects/EffectFrames.h"
#include "tests/support/TempTree.h"
#include "tools/effects/GeneratorOutput.h"
#include "tools/effects/PaletteImage.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <cmath>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;
using namespace lumiset::tools;

namespace {

QImage blank(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Three flat shapes: few colours, which a palette holds exactly.
QImage flatShapes() {
    QImage image = blank({64, 40});
    QPainter p(&image);
    p.fillRect(10, 8, 20, 10, QColor(255, 200, 40));
    p.fillRect(34, 20, 12, 12, QColor(20, 40, 200, 128));
    p.fillRect(50, 4, 6, 30, QColor(255, 255, 255, 30));
    return image;
}

// Soft light of several hues over a transparent ground: far more colours than a palette has.
QImage softLight() {
    QImage image = blank({160, 90});
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const struct {
        QPointF at;
        QColor colour;
    } glows[] = {{{50, 40}, QColor(255, 170, 90)},
                 {{110, 50}, QColor(255, 120, 180)},
                 {{80, 30}, QColor(120, 200, 255)}};
    for (const auto& glow : glows) {
        QRadialGradient g(glow.at, 40);
        g.setColorAt(0, glow.colour);
        QColor edge = glow.colour;
        edge.setAlpha(0);
        g.setColorAt(1, edge);
        p.setBrush(g);
        p.setPen(Qt::NoPen);
        p.drawEllipse(glow.at, 40, 40);
    }
    return image;
}

// A caption-like shape with a gradient fill and an outline, away from the frame's edges.
QImage outlinedText() {
    QImage image = blank({200, 80});
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 20, 0, 60);
    fill.setColorAt(0, QColor(255, 250, 220));
    fill.setColorAt(1, QColor(240, 160, 40));
    p.setPen(QPen(QColor(100, 50, 0), 3));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(40, 22, 110, 34), 12, 12);
    return image;
}

// The decoded file placed on a frame of the drawing's size.
QImage decodedOnFrame(const QString& path, QSize whole) {
    const EffectFrame frame = LoadEffectFrame(path);
    QImage placed = blank(whole);
    QPainter p(&placed);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(frame.offset, frame.image);
    return placed;
}

struct Difference {
    int largest = 0;
    double meanOverCovered = 0;
    int transparentChanged = 0; // transparent pixels of the drawing that the file shows
};

Difference compare(const QImage& drawn, const QImage& decoded) {
    Difference d;
    double sum = 0;
    qint64 covered = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb a = drawn.pixel(x, y), b = decoded.pixel(x, y);
            const int diffs[4] = {std::abs(qAlpha(a) - qAlpha(b)), std::abs(qRed(a) - qRed(b)),
                                  std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))};
            for (int c : diffs)
                d.largest = std::max(d.largest, c);
            if (a == 0 && b != 0)
                ++d.transparentChanged;
            if (a != 0) {
                sum += (diffs[0] + diffs[1] + diffs[2] + diffs[3]) / 4.0;
                ++covered;
            }
        }
    }
    d.meanOverCovered = covered ? sum / covered : 0;
    return d;
}

struct PaletteCase {
    const char* name;
    QImage (*draw)();
    PaletteDither dither;
    bool exact; // few enough colours for the palette to hold them all
};

class PaletteFrames : public ::testing::TestWithParam<PaletteCase> {};

TEST_P(PaletteFrames, ReadBackWithinTheReportedErrorAndNeverVeilTheTransparentGround) {
    const PaletteCase& c = GetParam();
    const QImage drawn = c.draw();
    const PaletteImage palette = QuantizeToPalette(drawn, drawn.rect(), c.dither);
    ASSERT_EQ(palette.image.format(), QImage::Format_Indexed8);
    ASSERT_LE(palette.image.colorCount(), 256);

    TempTree tree;
    const QString path = tree.write("1.png", EncodePng(palette.image, "1.png"));
    const Difference d = compare(drawn, decodedOnFrame(path, drawn.size()));

    EXPECT_EQ(d.transparentChanged, 0);
    if (c.dither == PaletteDither::None) {
        EXPECT_EQ(d.largest, palette.error.largest) << "the reported largest difference is the real one";
        EXPECT_NEAR(d.meanOverCovered, palette.error.mean(), 1e-9);
    } else { // the report counts each colour's share of the pattern, the file its actual pixels
        EXPECT_LE(d.largest, palette.error.largest);
        EXPECT_NEAR(d.meanOverCovered, palette.error.mean(), 0.05);
    }
    if (c.exact)
        EXPECT_EQ(d.largest, 0);
    else // three hues over every alpha in a small picture, the hardest kind the libraries hold
        EXPECT_LE(palette.error.mean(), 2.5);
}

INSTANTIATE_TEST_SUITE_P(
    All, PaletteFrames,
    ::testing::Values(PaletteCase{"flat_shapes", flatShapes, PaletteDither::None, true},
                      PaletteCase{"soft_light", softLight, PaletteDither::None, false},
                      PaletteCase{"soft_light_dithered", softLight, PaletteDither::Ordered, false},
                      PaletteCase{"outlined_text", outlinedText, PaletteDither::None, false}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

struct EncodingCase {
    const char* name;
    QImage (*draw)();
    FrameCrop crop;
    FrameColours colours;
};

class EffectFrameEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(EffectFrameEncoding, CroppedFramesKeepTheirPlaceAndHoldAllTheyShow) {
    const EncodingCase& c = GetParam();
    const QImage drawn = c.draw();
    FrameReport report;
    const QByteArray file = EncodeEffectFrame(drawn, c.crop, c.colours, report, "2_1.png");
    EXPECT_EQ(file, EncodeEffectFrame(drawn, c.crop, c.colours, report, "2_1.png")) << "not deterministic";

    TempTree tree;
    const QString path = tree.write("2_1.png", file);
    const EffectFrame frame = LoadEffectFrame(path);
    EXPECT_TRUE(drawn.rect().contains(QRect(frame.offset, frame.image.size())));
    if (c.crop == FrameCrop::Whole) {
        EXPECT_EQ(frame.offset, QPoint());
        EXPECT_EQ(frame.image.size(), drawn.size());
    } else {
        EXPECT_LT(frame.image.width() * frame.image.height(), drawn.width() * drawn.height());
    }
    const Difference d = compare(drawn, decodedOnFrame(path, drawn.size()));
    EXPECT_EQ(d.transparentChanged, 0);
    if (c.colours == FrameColours::Full)
        EXPECT_EQ(d.largest, 0);
    else
        EXPECT_LE(d.largest, 40);
}

INSTANTIATE_TEST_SUITE_P(
    All, EffectFrameEncoding,
    ::testing::Values(
        EncodingCase{"whole_palette", outlinedText, FrameCrop::Whole, FrameColours::Palette},
        EncodingCase{"cropped_palette", outlinedText, FrameCrop::ToContent, FrameColours::Palette},
        EncodingCase{"cropped_dithered", softLight, FrameCrop::ToContent, FrameColours::DitheredPalette},
        EncodingCase{"cropped_full", outlinedText, FrameCrop::ToContent, FrameColours::Full}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(EffectFrameEncoding, AnEmptyFrameBecomesOneTransparentPixel) {
    FrameReport report;
    TempTree tree;
    const QString path =
        tree.write("2_1.png", EncodeEffectFrame(blank({1920, 1080}), FrameCrop::ToContent,
                                                FrameColours::DitheredPalette, report, "2_1.png"));
    const EffectFrame frame = LoadEffectFrame(path);
    EXPECT_EQ(frame.image.size(), QSize(1, 1));
    EXPECT_EQ(frame.image.pixel(0, 0), 0u);
}

} // namespace
