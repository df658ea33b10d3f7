// Placed effect frames draw what QPainter draws with the picture itself: scaled smoothly, at fractional
// places, cut at the frame's edges, over an opaque frame and with half-transparent pixels.
#include "effects/PlacedEffectFrame.h"
#include "tests/support/ImageCompare.h"

#include <QPainter>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace lumiset;

namespace {

// A sparse picture like an effect frame: soft translucent dots and one opaque bar on transparency.
QImage sparsePicture(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator random(7);
    for (int i = 0; i < 12; ++i) {
        const QColor colour(random.bounded(256), random.bounded(256), random.bounded(256),
                            40 + random.bounded(216));
        painter.setBrush(colour);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(random.bounded(size.width()), random.bounded(size.height())), 5.5, 3.5);
    }
    painter.fillRect(QRect(2, size.height() / 2, size.width() - 4, 3), QColor(250, 240, 10));
    return image;
}

// An opaque frame with a gradient, so that blending errors show in every channel.
QImage backgroundFrame(QSize size) {
    QImage frame(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            frame.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(), 128));
    return frame;
}

struct PlacementCase {
    const char* name;
    QRectF target;
    QSize frameSize = {96, 54};
};

class PlacedEffectFrameTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacedEffectFrameTest, DrawsAsThePainterDrawsThePicture) {
    const QSize frameSize = GetParam().frameSize;
    const QImage picture = sparsePicture({120, 60});
    const QRectF target = GetParam().target;

    QImage expected = backgroundFrame(frameSize);
    {
        QPainter painter(&expected);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, picture);
    }
    QImage drawn = backgroundFrame(frameSize);
    const PlacedEffectFrame placed(picture, target, frameSize);
    placed.drawOver(drawn);

    EXPECT_LE(test::LargestChannelDifference(drawn, expected), 1);
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            ASSERT_EQ(qAlpha(drawn.pixel(x, y)), 255) << "the frame stays opaque at " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Placements, PlacedEffectFrameTest,
    ::testing::Values(PlacementCase{"UnscaledAtAWholePixel", QRectF(-10, -3, 120, 60)},
                      PlacementCase{"ShrunkAtAFractionalPlace", QRectF(3.4, 5.7, 80, 40)},
                      PlacementCase{"EnlargedAndCutAtEveryEdge", QRectF(-20.5, -10.25, 150, 75)},
                      PlacementCase{"PartlyPastTheBottomRight", QRectF(50.6, 30.3, 60, 30)},
                      // Taller than the bands it is placed in, so the bands must join without a seam.
                      PlacementCase{"EnlargedOverManyBands", QRectF(7.3, 11.6, 180, 290.5), {200, 320}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(PlacedEffectFrame, KeepsOnlyWhatShowsAndNothingOutsideTheFrame) {
    const QSize frameSize(96, 54);
    const QImage picture = sparsePicture({120, 60});
    const PlacedEffectFrame whole(picture, QRectF(0, 0, 96, 54), frameSize);
    EXPECT_FALSE(whole.isEmpty());
    EXPECT_LT(whole.bytes(), 96 * 54 * 4) << "transparent pixels take no room";

    const PlacedEffectFrame outside(picture, QRectF(200, 10, 120, 60), frameSize);
    EXPECT_TRUE(outside.isEmpty());
    QImage transparent(40, 20, QImage::Format_ARGB32_Premultiplied);
    transparent.fill(Qt::transparent);
    EXPECT_TRUE(PlacedEffectFrame(transparent, QRectF(0, 0, 40, 20), frameSize).isEmpty());

    QImage frame = backgroundFrame(frameSize);
    const QImage before = frame;
    outside.drawOver(frame);
    EXPECT_EQ(frame, before);
}

TEST(PlacedEffectFrame, DrawsOnlyWhatFitsAFrameSmallerThanItWasPlacedFor) {
    const QImage picture = sparsePicture({120, 60});
    const PlacedEffectFrame placed(picture, QRectF(0, 0, 120, 60), {120, 60});
    QImage small = backgroundFrame({40, 20});
    placed.drawOver(small); // must not write past the frame
    EXPECT_EQ(small.size(), QSize(40, 20));
}

} // namespace
