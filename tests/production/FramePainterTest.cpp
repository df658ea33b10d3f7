#include "production/FramePainter.h"
#include "core/Words.h"
#include "production/ProductionSources.h"
#include "tests/production/ProductionFixture.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <gtest/gtest.h>

namespace lumiset::test {
namespace {

constexpr QSize kFrame(320, 180);

int BrightPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qGray(image.pixel(x, y)) > 200;
    return count;
}

// Two templates of ten frames each, one red photo and one blue, then the closing movie (which draws
// nothing here); one song of four seconds with a lyric line from its second 1.
class FramePainterTest : public ::testing::Test {
protected:
    void SetUp() override {
        world.addRedAndBlueTemplates(album, 10, 10);
        album.music.appendRow({"1", "歌", ".mp3", "00:00:04", "/music/song.mp3"});
        const QString lrc = world.tree.write("song.lrc", QByteArrayLiteral("[00:01.00]hello world\n"));
        album.lyrics.appendRow({"1", "song", ".lrc", lrc});
        QStringList settings(LyricSettingsCol::Count);
        settings[LyricSettingsCol::Placement] = QStringLiteral("moren_xianshi");
        settings[LyricSettingsCol::DefaultTop] = QStringLiteral("335");
        settings[LyricSettingsCol::Font] = QStringLiteral("黑体");
        settings[LyricSettingsCol::Style] = QStringLiteral("cuti");
        settings[LyricSettingsCol::Size] = QStringLiteral("20");
        settings[LyricSettingsCol::ColourNumber] = QStringLiteral("16777215");
        settings[LyricSettingsCol::Script] = QStringLiteral("jianti");
        album.lyricSettings.appendRow(settings);
    }
    ProductionPlan plan() {
        return PlanProduction(album, world.catalogue(), SyncMode::Template,
                              [](const QString&) { return 4000; });
    }

    ProductionWorld world;
    Album album;
};

TEST_F(FramePainterTest, HandOverPictureIsTheLastFrameOfTheTemplateBefore) {
    const ProductionPlan p = plan();
    ProductionSources sources(album, world.catalogue(), world.paths(), p, kFrame);
    FramePainter painter(sources);
    const QPoint middle(160, 40);
    EXPECT_EQ(painter.paint(0).pixel(middle), qRgb(0, 0, 0)); // the black first frame
    EXPECT_EQ(painter.paint(1).pixel(middle), qRgb(0, 0, 0)); // before the first template: its background
    EXPECT_GT(qRed(painter.paint(2).pixel(middle)), 200);     // its photo
    EXPECT_GT(qRed(painter.paint(11).pixel(middle)), 200);    // the second template hands over the first
    EXPECT_GT(qBlue(painter.paint(12).pixel(middle)), 200);   // then shows its own photo
    // A second painter, starting in the middle, paints the same frames.
    FramePainter other(sources);
    EXPECT_EQ(other.paint(11), painter.paint(11));
}

// Sources for one painter keep one template's pictures at a time: at 1920 × 1080 a second set would cost
// tens of megabytes. Moving on to the next template lets the last set go.
TEST_F(FramePainterTest, LetsTheLastTemplatesPicturesGoWhenItMovesOn) {
    const ProductionPlan p = plan();
    ProductionSources sources(album, world.catalogue(), world.paths(), p, kFrame, 1);
    FramePainter painter(sources);
    painter.paint(5);
    const std::weak_ptr<const TemplatePictures> first = sources.templatePictures(0);
    ASSERT_FALSE(first.expired());
    EXPECT_GT(qBlue(painter.paint(12).pixel(160, 40)), 200);
    EXPECT_TRUE(first.expired());
}

// Made ahead on a thread of their own, the next template's pictures show exactly as those made when
// needed, and a photo gone since import is reported once, as it is when the set is made on demand.
TEST_F(FramePainterTest, PicturesMadeAheadShowTheSame) {
    ASSERT_TRUE(QFile::remove(world.tree.path() + QStringLiteral("/p1.jpg")));
    const ProductionPlan p = plan();
    ProductionSources onDemand(album, world.catalogue(), world.paths(), p, kFrame, 2);
    ProductionSources ahead(album, world.catalogue(), world.paths(), p, kFrame, 2,
                            ProductionSources::Ahead::NextTemplate);
    FramePainter expected(onDemand);
    FramePainter painter(ahead);
    for (qint64 frame = 0; frame < onDemand.timeline().totalFrames(); frame += 3)
        ASSERT_EQ(painter.paint(frame), expected.paint(frame)) << "frame " << frame;
    EXPECT_EQ(ahead.warnings(), onDemand.warnings());
    ASSERT_EQ(ahead.warnings().size(), 1);
    EXPECT_TRUE(ahead.warnings().first().contains(QStringLiteral("p1.jpg")));
}

TEST_F(FramePainterTest, LyricLineShowsFromItsSecondUntilTheSongEnds) {
    const ProductionPlan p = plan();
    ProductionSources sources(album, world.catalogue(), world.paths(), p, kFrame);
    FramePainter painter(sources);
    EXPECT_EQ(BrightPixels(painter.paint(24)), 0);
    const QImage shown = painter.paint(25);
    EXPECT_GT(BrightPixels(shown), 20);
    EXPECT_EQ(BrightPixels(painter.paint(25, FramePainter::Lyric::Left)), 0);
    EXPECT_GT(BrightPixels(painter.paint(99)), 20);
    EXPECT_EQ(BrightPixels(painter.paint(100)), 0); // the song starts over: its second 0 has no line
    // The line sits in the lower part of the frame, centred.
    int top = kFrame.height(), left = kFrame.width(), right = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (qGray(shown.pixel(x, y)) > 200) {
                top = std::min(top, y);
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_NEAR(top, 335 * kFrame.height() / 390, 6);
    EXPECT_NEAR((left + right) / 2, kFrame.width() / 2, 4);
}

// Frames painted at a disc's coded size, whose pixels are wider than square, show what frames in square
// pixels show, squeezed: the photos, backgrounds and the lyric line are laid out in square pixels first.
TEST_F(FramePainterTest, FramesOfWidePixelsShowTheSquareFrameSqueezed) {
    const ProductionPlan p = plan();
    ProductionSources square(album, world.catalogue(), world.paths(), p, kFrame);
    const QSize coded(240, 180);
    ProductionSources wide(album, world.catalogue(), world.paths(), p, FrameShape(coded, kFrame));
    FramePainter expected(square);
    FramePainter painter(wide);
    const auto brightColumns = [](const QImage& image) {
        int left = image.width(), right = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) > 200) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return std::make_pair(left, right);
    };
    for (const qint64 frame : {1, 2, 11, 12, 30}) {
        const QImage shown = painter.paint(frame);
        ASSERT_EQ(shown.size(), coded);
        const QImage reference =
            expected.paint(frame).scaled(coded, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        int differing = 0;
        for (int y = 0; y < coded.height(); ++y)
            for (int x = 0; x < coded.width(); ++x) {
                const QRgb a = shown.pixel(x, y), b = reference.pixel(x, y);
                differing += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                                 std::abs(qBlue(a) - qBlue(b)) >
                             60;
            }
        EXPECT_LT(differing, coded.width() * coded.height() / 50) << "frame " << frame;
    }
    // The lyric line is squeezed with the rest.
    const auto [left, right] = brightColumns(painter.paint(30));
    const auto [squareLeft, squareRight] = brightColumns(expected.paint(30));
    ASSERT_LT(squareLeft, squareRight);
    EXPECT_NEAR(left, squareLeft * 3 / 4, 2);
    EXPECT_NEAR(right, squareRight * 3 / 4, 2);
}

TEST_F(FramePainterTest, EffectFramesAreScaledToTheFrameFromTheirStart) {
    // A picture effect whose frames mark the top-left tenth of a 1920 × 1080 frame.
    const DataPaths paths = world.paths();
    QImage mark(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    mark.fill(Qt::transparent);
    QPainter(&mark).fillRect(0, 0, 192, 108, Qt::green);
    QDir().mkpath(paths.pictureEffectFolder(1));
    for (int k = 1; k <= 3; ++k)
        mark.save(paths.pictureEffectFolder(1) + QStringLiteral("/2_%1.png").arg(k));
    QStringList row(PictureEffectCol::Count);
    row[PictureEffectCol::FrameCount] = QStringLiteral("3");
    row[PictureEffectCol::Start] = QStringLiteral("00:00:02");
    row[PictureEffectCol::Index] = QStringLiteral("0");
    album.pictureEffects.appendRow(row);

    const ProductionPlan p = plan();
    ProductionSources sources(album, world.catalogue(), paths, p, kFrame);
    FramePainter painter(sources);
    EXPECT_NE(painter.paint(49).pixel(10, 10), qRgb(0, 255, 0));
    const QImage first = painter.paint(50);
    EXPECT_EQ(first.pixel(10, 10), qRgb(0, 255, 0));
    EXPECT_NE(first.pixel(40, 25), qRgb(0, 255, 0)); // 192 × 108 becomes 32 × 18
    EXPECT_EQ(painter.paint(52).pixel(10, 10), qRgb(0, 255, 0));
    EXPECT_NE(painter.paint(53).pixel(10, 10), qRgb(0, 255, 0));
}

} // namespace
} // namespace lumiset::test
