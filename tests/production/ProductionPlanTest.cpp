#include "production/ProductionPlan.h"
#include "core/Error.h"
#include "core/Words.h"
#include "production/ProductionTimeline.h"
#include "tests/production/ProductionFixture.h"

#include <gtest/gtest.h>

namespace lumiset::test {
namespace {

class ProductionPlanTest : public ::testing::Test {
protected:
    void SetUp() override {
        world.addTemplate(QStringLiteral("长"), 250);
        world.addTemplate(QStringLiteral("短"), 100);
        world.useTemplate(album, 0, Words::LandscapeCategory);
        world.useTemplate(album, 1, Words::LandscapeCategory);
    }
    void addSongs(const QList<qint64>& milliseconds) {
        for (qint64 ms : milliseconds) {
            const QString path = QStringLiteral("/music/%1.mp3").arg(album.music.rowCount());
            album.music.appendRow({QString::number(album.music.rowCount() + 1), path, ".mp3", "", path});
            lengths.insert(path, ms);
        }
    }
    ProductionPlan plan(SyncMode sync = SyncMode::Template) {
        return PlanProduction(album, world.catalogue(), sync, [this](const QString& path) {
            if (!lengths.contains(path))
                throw Error(QStringLiteral("音乐文件“%1”已损坏").arg(path));
            return lengths.value(path);
        });
    }
    QList<qint64> songFrames(const ProductionPlan& p) {
        QList<qint64> frames;
        for (const SongPlanRow& song : p.songs)
            frames.append(song.frames);
        return frames;
    }

    ProductionWorld world;
    Album album;
    QHash<QString, qint64> lengths;
};

TEST_F(ProductionPlanTest, FrameTotalIsFinishedTemplatesPlusClosingMovie) {
    world.useTemplate(album, 0, Words::LandscapeCategory, /*finished=*/false);
    addSongs({270900}); // 4 min 30.9 s: whole seconds only
    const ProductionPlan p = plan();
    EXPECT_EQ(p.totalFrames, 500);
    EXPECT_EQ(p.templates.size(), 2);
    EXPECT_EQ(songFrames(p), QList<qint64>({6750}));
}

TEST_F(ProductionPlanTest, SongsRepeatUntilTheyCoverTheAlbum) {
    world.useTemplate(album, 0, Words::LandscapeCategory); // 600 frames with the closing movie
    addSongs({10000, 10999, 10000});
    const ProductionPlan p = plan();
    EXPECT_EQ(p.totalFrames, 750);
    EXPECT_EQ(songFrames(p), QList<qint64>({250, 250, 250}));

    lengths.clear();
    album.music.clear();
    addSongs({4000, 900}); // the short song adds rows of 0 frames and the plan still ends
    const ProductionPlan repeated = plan();
    EXPECT_EQ(songFrames(repeated),
              QList<qint64>({100, 0, 100, 0, 100, 0, 100, 0, 100, 0, 100, 0, 100, 0, 100}));
}

TEST_F(ProductionPlanTest, UnreadableSongIsLeftOutWithAWarning) {
    addSongs({20000});
    album.music.appendRow({"2", "坏", ".mp3", "", "/music/broken.mp3"});
    const ProductionPlan p = plan();
    ASSERT_EQ(p.warnings.size(), 1);
    EXPECT_TRUE(p.warnings.first().contains(QStringLiteral("broken.mp3")));
    for (const SongPlanRow& song : p.songs)
        EXPECT_EQ(song.musicRow, 0);
    EXPECT_EQ(songFrames(p), QList<qint64>({500}));
}

TEST_F(ProductionPlanTest, MusicSyncFollowsLongerMusicAndRepeatsShorterMusic) {
    addSongs({30000, 30000}); // 1500 frames of music against 500 of templates
    const ProductionPlan longer = plan(SyncMode::Music);
    EXPECT_EQ(longer.totalFrames, 1500);
    EXPECT_EQ(songFrames(longer), QList<qint64>({750, 750}));

    lengths.clear();
    album.music.clear();
    addSongs({6000});
    const ProductionPlan shorter = plan(SyncMode::Music);
    EXPECT_EQ(shorter.totalFrames, 500);
    EXPECT_EQ(songFrames(shorter), QList<qint64>({150, 150, 150, 150}));
}

// Frame 0 is black; every template shows its frames from 0 to the last, and the next template starts
// in the frame after.
TEST(ProductionTimelineTest, TemplatesFollowOneAnotherAfterTheBlackFrame) {
    const ProductionTimeline timeline(PlanOf({120, 80}));
    EXPECT_EQ(timeline.movieAt(0).segment, -1);
    EXPECT_EQ(timeline.movieAt(1).segment, 0);
    EXPECT_EQ(timeline.movieAt(1).movieFrame, 0);
    EXPECT_EQ(timeline.movieAt(120).movieFrame, 119);
    EXPECT_EQ(timeline.movieAt(121).segment, 1);
    EXPECT_EQ(timeline.movieAt(121).movieFrame, 0);
    const MovieFrameRef closing = timeline.movieAt(201);
    ASSERT_GE(closing.segment, 0);
    EXPECT_TRUE(timeline.segments()[closing.segment].isClosing());
    EXPECT_EQ(closing.movieFrame, 0);
    EXPECT_EQ(timeline.totalFrames(), 350);
    EXPECT_EQ(timeline.movieAt(349).movieFrame, 148);
    EXPECT_EQ(timeline.movieAt(350).segment, -1);
}

TEST(ProductionTimelineTest, MusicSyncRepeatsTemplatesAndEndsWithTheWholeClosingMovie) {
    const ProductionTimeline timeline(PlanOf({100, 50}, {1000}, SyncMode::Music));
    ASSERT_EQ(timeline.totalFrames(), 1000);
    QList<int> order;
    for (const MovieSegment& segment : timeline.segments())
        order.append(segment.templateIndex);
    // 849 frames of templates (1 … 849): 0,1 five times, then 100 frames of the first cut to 99.
    EXPECT_EQ(order, QList<int>({0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, -1}));
    EXPECT_EQ(timeline.segments()[10].frames, 99);
    EXPECT_EQ(timeline.segments().last().firstFrame, 850);
    EXPECT_EQ(timeline.movieAt(999).movieFrame, 149);
}

TEST(ProductionTimelineTest, SongsFollowTheSongPlan) {
    const ProductionTimeline timeline(PlanOf({300}, {250, 0, 250}));
    EXPECT_EQ(timeline.songAt(0).planRow, 0);
    EXPECT_EQ(timeline.songAt(249).songFrame, 249);
    EXPECT_EQ(timeline.songAt(250).planRow, 2); // a song of 0 frames never plays
    EXPECT_EQ(timeline.songAt(250).songFrame, 0);
    EXPECT_EQ(timeline.songAt(500).planRow, -1);
}

} // namespace
} // namespace lumiset::test
