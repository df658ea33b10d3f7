// The production's cache of placed effect frames: what it draws is always what drawing the frame from its
// file gives, whatever it had to drop, from two threads at once; and an album cycling through more effects
// than fit still finds frames in it.
#include "production/EffectFrameCache.h"

#include "core/DataPaths.h"
#include "effects/EffectFrames.h"
#include "effects/EffectLibrary.h"
#include "tests/support/ImageCompare.h"
#include "tests/support/TempTree.h"

#include <QBuffer>
#include <QPainter>
#include <gtest/gtest.h>
#include <thread>

namespace lumiset::test {
namespace {

constexpr QSize kFrame(320, 180);

// Writes frames 2_1.png … of an effect: a translucent block of its own colour, cropped, moving right.
void writeEffectFrames(const QString& folder, int frames, QColor colour) {
    QDir().mkpath(folder);
    for (int k = 1; k <= frames; ++k) {
        QImage image(240, 120, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter(&image).fillRect(20, 10, 200, 100 - 10 * k, colour);
        image.setOffset(QPoint(300 + 60 * k, 200 + 30 * k));
        ASSERT_TRUE(image.save(folder + QStringLiteral("/2_%1.png").arg(k)));
    }
}

QStringList pictureRow(int seconds, int index, int frames) {
    QStringList row(PictureEffectCol::Count);
    row[PictureEffectCol::FrameCount] = QString::number(frames);
    row[PictureEffectCol::Start] = QStringLiteral("00:00:%1").arg(seconds, 2, 10, QLatin1Char('0'));
    row[PictureEffectCol::Index] = QString::number(index);
    return row;
}

QStringList textRow(int seconds, int x, int y, int frames) {
    QStringList row(TextEffectCol::Count);
    row[TextEffectCol::FrameCount] = QString::number(frames);
    row[TextEffectCol::Start] = QStringLiteral("00:00:%1").arg(seconds, 2, 10, QLatin1Char('0'));
    row[TextEffectCol::Index] = QStringLiteral("0");
    row[TextEffectCol::Category] = QStringLiteral("1");
    row[TextEffectCol::X] = QString::number(x);
    row[TextEffectCol::Y] = QString::number(y);
    return row;
}

QImage greyFrame() {
    QImage frame(kFrame, QImage::Format_RGB32);
    frame.fill(QColor(90, 90, 90));
    return frame;
}

QImage drawnFromCache(EffectFrameCache& cache, const EffectInFrame& showing, qint64 albumFrame) {
    QImage frame = greyFrame();
    cache.draw(showing, albumFrame, frame);
    return frame;
}

QImage drawnFromFile(const EffectInFrame& showing) {
    QImage frame = greyFrame();
    DrawEffectFrame(showing, frame);
    return frame;
}

// Three picture effects of four frames shown again and again, overlapping, and one text effect at two
// places on the stage.
class EffectFrameCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QColor colours[] = {QColor(255, 0, 0, 160), QColor(0, 255, 0, 200), QColor(0, 0, 255, 255)};
        for (int effect = 0; effect < 3; ++effect)
            writeEffectFrames(paths.pictureEffectFolder(effect + 1), 4, colours[effect]);
        writeEffectFrames(paths.textEffectFolder(1, 1), 4, QColor(255, 255, 0, 128));
        for (int seconds = 1; seconds <= 12; ++seconds) {
            album.pictureEffects.appendRow(pictureRow(seconds, seconds % 3, 4));
            album.pictureEffects.appendRow(pictureRow(seconds, (seconds + 1) % 3, 3));
        }
        album.textEffects.appendRow(textRow(2, 10, 20, 4));
        album.textEffects.appendRow(textRow(2, 400, 200, 4));
        album.textEffects.appendRow(textRow(5, 10, 20, 4));
        schedule = EffectSchedule(album, paths);
    }

    // Draws every frame's effects in album order, checking each against drawing it from its file (the
    // cache's own blending may round a channel the other way).
    void expectEveryFrameAsDrawnFromItsFile(EffectFrameCache& cache, qint64 from, qint64 step) {
        for (qint64 frame = from; frame < 14 * 25; frame += step)
            for (const EffectInFrame& showing : schedule.at(frame)) {
                const QImage expected = drawnFromFile(showing);
                ASSERT_NE(expected, greyFrame());
                ASSERT_LE(LargestChannelDifference(drawnFromCache(cache, showing, frame), expected), 1)
                    << "frame " << frame << ", effect frame " << showing.frame;
            }
    }

    TempTree tree;
    DataPaths paths{tree.path(), tree.path()};
    Album album;
    EffectSchedule schedule;
};

class EffectFrameCacheBudgets : public EffectFrameCacheTest,
                                public ::testing::WithParamInterface<qsizetype> {};

TEST_P(EffectFrameCacheBudgets, DrawsWhatDrawingFromTheFileGives) {
    EffectFrameCache cache(schedule, kFrame, GetParam());
    expectEveryFrameAsDrawnFromItsFile(cache, 0, 1);
    EXPECT_LE(cache.bytesHeld(), GetParam());
    if (GetParam() > 0) {
        EXPECT_GT(cache.framesFound(), 0);
    }
}

// Nothing fits, a few frames fit, everything fits.
INSTANTIATE_TEST_SUITE_P(Budgets, EffectFrameCacheBudgets, ::testing::Values(0, 20000, 1 << 24));

TEST_F(EffectFrameCacheTest, TwoThreadsAtOnceGetTheRightFrames) {
    for (const qsizetype budget : {qsizetype(20000), qsizetype(1) << 24}) {
        EffectFrameCache cache(schedule, kFrame, budget);
        std::thread other([&] { expectEveryFrameAsDrawnFromItsFile(cache, 1, 2); });
        expectEveryFrameAsDrawnFromItsFile(cache, 0, 2);
        other.join();
    }
}

TEST_F(EffectFrameCacheTest, TextEffectsAtOtherPlacesGetTheirOwnFrames) {
    EffectFrameCache cache(schedule, kFrame, 1 << 24);
    const QList<EffectInFrame> showing = schedule.at(2 * 25);
    ASSERT_EQ(showing.size(), 4); // two picture effects, then the text effect at its two places
    EXPECT_NE(drawnFromCache(cache, showing[2], 50), drawnFromCache(cache, showing[3], 50));
}

TEST_F(EffectFrameCacheTest, MissingFrameShowsNothing) {
    // Second 1 starts effects 2 and 3; the second frame of one is missing, of the other damaged.
    QFile::remove(paths.pictureEffectFolder(2) + QStringLiteral("/2_2.png"));
    QFile::resize(paths.pictureEffectFolder(3) + QStringLiteral("/2_2.png"), 30);
    EffectFrameCache cache(schedule, kFrame, 1 << 24);
    const QList<EffectInFrame> showing = schedule.at(25 + 1);
    ASSERT_EQ(showing.size(), 2);
    for (const EffectInFrame& effect : showing) {
        ASSERT_EQ(effect.frame, 2);
        EXPECT_EQ(drawnFromCache(cache, effect, 26), greyFrame());
    }
    EXPECT_NE(drawnFromCache(cache, schedule.at(25).first(), 25), greyFrame());
}

// At the size effects are made for, frames are blended straight from their rows: the result is what
// QPainter draws from the whole picture, at whole-pixel text places, across the frame's edges, and at a
// text place between pixels (drawn the general way).
TEST_F(EffectFrameCacheTest, AtTheirOwnSizeFramesDrawAsThePainterDrawsThem) {
    const QSize full(1920, 1080);
    album.textEffects.appendRow(textRow(1, 600, 340, 4)); // across the right and bottom edges
    album.textEffects.appendRow(textRow(1, 401, 7, 4));   // 962.4 × 16.8: between pixels
    schedule = EffectSchedule(album, paths);
    int drawn = 0;
    for (const qint64 albumFrame : {26, 27, 52, 126}) {
        for (const EffectInFrame& showing : schedule.at(albumFrame)) {
            QImage expected(full, QImage::Format_RGB32);
            expected.fill(QColor(90, 90, 90));
            const QImage grey = expected;
            QImage actual = expected;
            const EffectFrame file =
                LoadEffectFrame(EffectFramePath(showing.effect->folder, showing.frame, FrameUse::Production));
            QPointF place = file.offset;
            if (showing.effect->kind == ScheduledEffect::Kind::Text)
                place += showing.effect->stagePosition * 2.4;
            {
                QPainter painter(&expected);
                painter.setRenderHint(QPainter::SmoothPixmapTransform);
                painter.drawImage(QRectF(place, QSizeF(file.image.size())), file.image);
            }
            DrawEffectFrame(showing, actual);
            ASSERT_LE(LargestChannelDifference(actual, expected), 1) << "frame " << albumFrame;
            drawn += actual != grey;
        }
    }
    EXPECT_GT(drawn, 6);
}

TEST(EffectFrameCacheCycle, KeepsFramesThatShowSoonestWhenTheCycleDoesNotFit) {
    // Effects A, B and C of one frame each, shown in turn A B C A B C …, with room for two of them:
    // dropping the least recently used would always drop the one shown next and find nothing.
    TempTree tree;
    const DataPaths paths(tree.path(), tree.path());
    Album album;
    for (int effect = 0; effect < 3; ++effect)
        writeEffectFrames(paths.pictureEffectFolder(effect + 1), 1, QColor(255, 0, 0));
    for (int seconds = 1; seconds <= 9; ++seconds)
        album.pictureEffects.appendRow(pictureRow(seconds, (seconds - 1) % 3, 1));
    const EffectSchedule schedule(album, paths);
    const qsizetype oneFrame = PlaceEffectFrame(schedule.at(25).first(), kFrame).bytes();
    EffectFrameCache cache(schedule, kFrame, 2 * oneFrame + oneFrame / 2);

    for (int seconds = 1; seconds <= 9; ++seconds) {
        QImage frame = greyFrame();
        cache.draw(schedule.at(seconds * 25).first(), seconds * 25, frame);
    }
    EXPECT_EQ(cache.framesFound(), 4); // of the six showings after the first three, all but C's
    EXPECT_LE(cache.bytesHeld(), 2 * oneFrame + oneFrame / 2);
}

TEST(EffectFrameCacheCycle, KeepsAFullColourFrameOverAPaletteFrameWantedSooner) {
    // The same picture stored in full colour (A) and as a palette (B), which is four times less to read
    // again, with room for one: A, then B twice, then A. Keeping what is wanted soonest would keep B and
    // read A again; weighing what each saves keeps A.
    TempTree tree;
    const DataPaths paths(tree.path(), tree.path());
    QImage picture(240, 120, QImage::Format_ARGB32);
    picture.fill(QColor(255, 0, 0, 200));
    picture.setOffset(QPoint(300, 200));
    QDir().mkpath(paths.pictureEffectFolder(1));
    QDir().mkpath(paths.pictureEffectFolder(2));
    ASSERT_TRUE(picture.save(paths.pictureEffectFolder(1) + QStringLiteral("/2_1.png")));
    QImage palette = picture.convertToFormat(QImage::Format_Indexed8);
    palette.setOffset(picture.offset());
    ASSERT_TRUE(palette.save(paths.pictureEffectFolder(2) + QStringLiteral("/2_1.png")));
    Album album;
    for (const auto& [seconds, effect] : {std::pair(1, 0), {2, 1}, {3, 1}, {5, 0}})
        album.pictureEffects.appendRow(pictureRow(seconds, effect, 1));
    const EffectSchedule schedule(album, paths);
    const qsizetype oneFrame = PlaceEffectFrame(schedule.at(25).first(), kFrame).bytes();
    ASSERT_EQ(PlaceEffectFrame(schedule.at(50).first(), kFrame).bytes(), oneFrame);
    EffectFrameCache cache(schedule, kFrame, oneFrame + oneFrame / 2);

    const auto draw = [&](int seconds) {
        QImage frame = greyFrame();
        cache.draw(schedule.at(seconds * 25).first(), seconds * 25, frame);
    };
    draw(1);
    draw(2);
    draw(3);
    EXPECT_EQ(cache.framesFound(), 0); // B was read again
    draw(5);
    EXPECT_EQ(cache.framesFound(), 1); // A was kept
}

} // namespace
} // namespace lumiset::test
