#include "core/Error.h"
#include "core/Job.h"
#include "core/Words.h"
#include "production/Production.h"
#include "tests/media/AudioFixtures.h"
#include "tests/media/MediaProbe.h"
#include "tests/production/ProductionFixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace lumiset::test {
namespace {

class ProduceAlbumTest : public ::testing::Test {
protected:
    void SetUp() override {
        world.addRedAndBlueTemplates(album, 10, 15);
        album.photos.appendRow({"1", "p", ".jpg", "64", "36", "/p.jpg", Words::Placed});
        request = DefaultProductionRequest(AlbumType::MP4);
        request.size = {320, 176};
        request.outputPath = world.tree.file("out/album.mp4");
        QDir().mkpath(world.tree.file("out"));
    }
    void addSong(const QString& name, double seconds) {
        AudioSpec tone;
        tone.soundSeconds = seconds;
        const QString path = world.tree.file(name);
        WriteAudio(path, tone);
        album.music.appendRow({QString::number(album.music.rowCount() + 1), name, ".mp3", "", path});
    }
    JobOutcome produce(Job& job) {
        return ProduceAlbum(album, world.catalogue(), world.paths(), request, job);
    }
    JobOutcome produce() {
        Job job;
        return produce(job);
    }
    QStringList outputFolder() const {
        return QDir(world.tree.file("out")).entryList(QDir::Files | QDir::Hidden);
    }

    ProductionWorld world;
    Album album;
    ProductionRequest request;
};

TEST_F(ProduceAlbumTest, ProducesTheWholeAlbumWithItsMusic) {
    addSong("song.mp3", 3.5); // 3 s of it in the plan, repeated to cover the album
    const JobOutcome outcome = produce();
    ASSERT_TRUE(outcome.isDone()) << outcome.messages.join(u'\n').toStdString();
    const MediaFacts facts = ProbeMedia(request.outputPath);
    ASSERT_TRUE(facts.video && facts.audio);
    EXPECT_EQ(facts.video->codec, "h264");
    EXPECT_EQ(facts.video->width, 320);
    EXPECT_EQ(facts.video->packets, 25 + 150);
    EXPECT_NEAR(facts.audio->end, 7.0, 0.04);
    EXPECT_EQ(outputFolder(), QStringList({"album.mp4"}));
}

// A DVD is painted at its coded size by two composers taking runs of frames in turns: every frame comes
// once and in its place, the red template's before the blue one's, shown at 16:9.
TEST_F(ProduceAlbumTest, ProducesADvdWithEveryFrameInItsPlace) {
    request = DefaultProductionRequest(AlbumType::DVD);
    request.outputPath = world.tree.file("out/album.mpg");
    const JobOutcome outcome = produce();
    ASSERT_TRUE(outcome.isDone()) << outcome.messages.join(u'\n').toStdString();
    const MediaFacts facts = ProbeMedia(request.outputPath);
    ASSERT_TRUE(facts.video);
    EXPECT_EQ(facts.video->codec, "mpeg2video");
    EXPECT_EQ(QSize(facts.video->width, facts.video->height), QSize(720, 576));
    EXPECT_EQ(av_cmp_q(facts.video->displayAspect, AVRational{16, 9}), 0);
    std::vector<QRgb> middles;
    ForEachPicture(request.outputPath, [&](const QImage& picture) {
        middles.push_back(picture.pixel(picture.width() / 2, picture.height() / 4));
    });
    ASSERT_EQ(middles.size(), size_t(25 + 150));
    EXPECT_LT(qGray(middles[0]), 40); // the black first frame
    for (int frame = 3; frame <= 9; ++frame)
        EXPECT_TRUE(qRed(middles[frame]) > 150 && qBlue(middles[frame]) < 100) << "frame " << frame;
    for (int frame = 14; frame <= 24; ++frame)
        EXPECT_TRUE(qBlue(middles[frame]) > 150 && qRed(middles[frame]) < 100) << "frame " << frame;
}

TEST_F(ProduceAlbumTest, LaunchChecksRefuseInTheirOrder) {
    request.sync = SyncMode::Music;
    EXPECT_EQ(LaunchRefusal(album, SyncMode::Music),
              QStringLiteral("没有找到音乐文件！使用随音乐文件同步,至少添加一个音乐文件！"));
    album.usedTemplates.setCell(0, UsedTemplateCol::Matching, Words::Incomplete);
    album.usedTemplates.setCell(1, UsedTemplateCol::Matching, Words::Incomplete);
    EXPECT_TRUE(LaunchRefusal(album, SyncMode::Template)->contains(QStringLiteral("没有已完成的模板")));
    album.usedTemplates.clear();
    EXPECT_EQ(LaunchRefusal(album, SyncMode::Template), QStringLiteral("没有添加模板文件！"));
    album.photos.clear();
    EXPECT_EQ(LaunchRefusal(album, SyncMode::Music), QStringLiteral("没有添加照片文件！"));
    const JobOutcome outcome = produce();
    EXPECT_EQ(outcome.status, JobOutcome::Status::Failed);
    EXPECT_TRUE(outputFolder().isEmpty());
}

TEST_F(ProduceAlbumTest, RefusesSizesOutsideTheTypeAndUnwritableFoldersBeforeRendering) {
    request.size = {1920, 1088};
    try {
        produce();
        FAIL() << "a size MP4 does not have was accepted";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("1920 × 1080"))) << error.message().toStdString();
    }
    request.size = {320, 176};
    request.outputPath = world.tree.file("missing/album.mp4");
    int reports = 0;
    Job job([&](int, int, const QString&) { ++reports; });
    EXPECT_THROW(produce(job), Error);
    EXPECT_EQ(reports, 0);
}

TEST_F(ProduceAlbumTest, StopLeavesNoFile) {
    Job* running = nullptr;
    Job job([&](int position, int, const QString&) {
        if (position == 40)
            running->requestStop();
    });
    running = &job;
    const JobOutcome outcome = produce(job);
    EXPECT_TRUE(outcome.isStopped());
    EXPECT_TRUE(outputFolder().isEmpty()) << outputFolder().join(' ').toStdString();
}

TEST_F(ProduceAlbumTest, MissingPhotoAndDamagedSongGiveWarningsNotFailures) {
    QFile::remove(world.tree.file("p1.jpg"));
    addSong("good.mp3", 2);
    world.tree.write("broken.mp3", QByteArray(5000, 'x'));
    album.music.appendRow({"2", "broken", ".mp3", "", world.tree.file("broken.mp3")});
    const JobOutcome outcome = produce();
    ASSERT_TRUE(outcome.isDone()) << outcome.messages.join(u'\n').toStdString();
    const QString messages = outcome.messages.join(u'\n');
    EXPECT_TRUE(messages.contains(QStringLiteral("p1.jpg"))) << messages.toStdString();
    EXPECT_TRUE(messages.contains(QStringLiteral("broken.mp3"))) << messages.toStdString();
    EXPECT_TRUE(QFile::exists(request.outputPath));
}

} // namespace
} // namespace lumiset::test
