#include "production/EffectSchedule.h"

#include <gtest/gtest.h>

namespace lumiset::test {
namespace {

QStringList PictureEffectRow(const QString& start, const QString& frames, const QString& index = "0") {
    QStringList row(PictureEffectCol::Count);
    row[PictureEffectCol::FrameCount] = frames;
    row[PictureEffectCol::Start] = start;
    row[PictureEffectCol::Name] = QStringLiteral("花瓣");
    row[PictureEffectCol::Index] = index;
    return row;
}

QStringList TextEffectRow(const QString& start, const QString& frames, int x, int y) {
    QStringList row(TextEffectCol::Count);
    row[TextEffectCol::FrameCount] = frames;
    row[TextEffectCol::Start] = start;
    row[TextEffectCol::Name] = QStringLiteral("字幕");
    row[TextEffectCol::Index] = QStringLiteral("2");
    row[TextEffectCol::Category] = QStringLiteral("1");
    row[TextEffectCol::X] = QString::number(x);
    row[TextEffectCol::Y] = QString::number(y);
    return row;
}

const DataPaths kPaths(QStringLiteral("/program"), QStringLiteral("/work"));

TEST(EffectScheduleTest, EffectStartsInTheFirstFrameOfItsSecondAndRunsItsFrames) {
    Album album;
    album.pictureEffects.appendRow(PictureEffectRow("00:00:02", "30"));
    const EffectSchedule schedule(album, kPaths);
    EXPECT_TRUE(schedule.at(49).isEmpty());
    ASSERT_EQ(schedule.at(50).size(), 1);
    EXPECT_EQ(schedule.at(50).first().frame, 1);
    EXPECT_EQ(schedule.at(79).first().frame, 30);
    EXPECT_TRUE(schedule.at(80).isEmpty());
    EXPECT_EQ(schedule.at(50).first().effect->folder, kPaths.pictureEffectFolder(1));
}

TEST(EffectScheduleTest, TextEffectsKeepTheirFolderAndStagePosition) {
    Album album;
    album.textEffects.appendRow(TextEffectRow("00:01:05", "10", 120, 300));
    album.pictureEffects.appendRow(PictureEffectRow("00:01:05", "10"));
    const EffectSchedule schedule(album, kPaths);
    const QList<EffectInFrame> showing = schedule.at(65 * 25);
    ASSERT_EQ(showing.size(), 2);
    EXPECT_EQ(showing[0].effect->kind, ScheduledEffect::Kind::Picture); // below the caption
    EXPECT_EQ(showing[1].effect->folder, kPaths.textEffectFolder(1, 3));
    EXPECT_EQ(showing[1].effect->stagePosition, QPointF(120, 300));
}

TEST(EffectScheduleTest, RowsThatCanNeverStartAreReported) {
    Album album;
    for (const auto& [start, frames] :
         {std::pair{"0:00:02", "10"}, {"00:00:61", "10"}, {"", "10"}, {"00:00:02", "0"}, {"00:00:02", "x"}})
        album.pictureEffects.appendRow(PictureEffectRow(start, frames));
    album.pictureEffects.appendRow(PictureEffectRow("00:00:02", "10", "-1"));
    const EffectSchedule schedule(album, kPaths);
    EXPECT_TRUE(schedule.isEmpty());
    EXPECT_EQ(schedule.warnings().size(), 6);
}

} // namespace
} // namespace lumiset::test
