#include "photos/ImportJobs.h"

#include "core/Columns.h"
#include "core/Error.h"
#include "core/JobRunner.h"
#include "core/Package.h"
#include "core/SystemSettings.h"
#include "core/Words.h"
#include "tests/photos_matching/MatchingFixture.h"

#include <QDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class Import : public ::testing::Test {
protected:
    Import() {
        world.add(LandscapeTemplate("H"));
        world.add(PortraitTemplate("S"));
    }

    PhotoImportJobs jobs(PhotoReader read = {}) {
        AfterImportEffects effects{[this](Album& a, const Job&) { return runEffect(a, textRuns); },
                                   [this](Album& a, const Job&) { return runEffect(a, pictureRuns); }};
        return PhotoImportJobs(world.catalogue(), world.paths(), random, effects,
                               read ? read : photos.reader());
    }

    // Runs a job as the runner does and keeps its album when it completed.
    JobOutcome run(const AlbumJob& job, Job& control) {
        JobOutcome outcome = RunJobHere(album, job, control);
        if (outcome.isDone() && outcome.album)
            album = *outcome.album;
        return outcome;
    }
    JobOutcome run(const AlbumJob& job) {
        Job control;
        return run(job, control);
    }

    // Asks what the import asks first (answering `answer`), then imports.
    JobOutcome importWith(const PhotoImportJobs& importJobs, const QStringList& files, Job& control) {
        ImportAnswers answers;
        for (const Question& q : importJobs.questionsBefore(album)) {
            questions.append(q);
            answers.replacePictureEffects = answer;
        }
        return run([&](const Album& a, Job& c) { return importJobs.importPhotos(a, files, answers, c); },
                   control);
    }

    AutomaticRunResult runEffect(Album& a, int& runs) {
        ++runs;
        effectSawTemplates = a.usedTemplates.rowCount();
        AutomaticRunResult result;
        result.started = result.completed = true;
        return result;
    }

    JobOutcome import(const QStringList& files) {
        Job control;
        JobOutcome outcome = importWith(jobs(), files, control);
        EXPECT_EQ(Problems(album, world.catalogue()), QStringList());
        return outcome;
    }

    void writeDefaultBackground(int width, int height) {
        world.tree.write("korvel/wj_0_or_6_6/wj_0_or_6_6.rar",
                         EncodePackage(JpegBytes(width, height), PackageLayers::DefaultBackground));
    }

    TemplateWorld world;
    FakePhotos photos;
    ScriptedRandom random;
    Album album;
    QList<Question> questions;
    bool answer = true;
    int textRuns = 0;
    int pictureRuns = 0;
    int effectSawTemplates = -1;
};

TEST_F(Import, ImportsRowsThenMatchesThem) {
    const QStringList files{photos.add("IMG_1", 4000, 3000), photos.add("IMG_2", 3000, 4000)};
    const JobOutcome outcome = import(files);

    ASSERT_EQ(album.photos.rowCount(), 2);
    EXPECT_EQ(album.photos.row(0),
              QStringList({"1", "IMG_1", ".jpg", "4000", "3000", "/photos/IMG_1.jpg", Words::Placed}));
    EXPECT_EQ(album.photos.row(1),
              QStringList({"2", "IMG_2", ".jpg", "3000", "4000", "/photos/IMG_2.jpg", Words::Placed}));
    EXPECT_EQ(UsedTemplateNames(album), QStringList({"H", "S"}));
    EXPECT_TRUE(outcome.messages.isEmpty()) << outcome.messages.join('\n').toStdString();
    EXPECT_EQ(album.facts.Edit_mobanfashi, kRandomTemplatesMode);
    EXPECT_EQ(album.landscapePhotos.rowCount(), 1);
}

TEST_F(Import, AFileThatIsNotAReadableJpegIsLeftOutWithItsNameAndTheRestGoesOn) {
    const QString good = world.tree.write("photos/good.jpg", JpegBytes(64, 48));
    const QString text = world.tree.write("photos/note.jpg", "not a picture");
    const QString missing = world.tree.file("photos/missing.jpg");
    Job job;
    const JobOutcome outcome = importWith(jobs(ReadPhotoRow), {text, good, missing}, job);

    ASSERT_EQ(album.photos.rowCount(), 1);
    EXPECT_EQ(album.photos.cell(0, PhotoCol::Path), good);
    EXPECT_EQ(album.photos.cell(0, PhotoCol::Width), "64");
    ASSERT_EQ(outcome.messages.size(), 1);
    EXPECT_THAT(outcome.messages[0].toStdString(), HasSubstr("2 个文件"));
    EXPECT_THAT(outcome.messages[0].toStdString(), HasSubstr("note.jpg"));
    EXPECT_THAT(outcome.messages[0].toStdString(), HasSubstr("missing.jpg"));
}

TEST_F(Import, TheSameFileTwiceGivesTwoRows) {
    const QString file = photos.add("IMG_1", 4000, 3000);
    import({file, file});
    EXPECT_EQ(album.photos.rowCount(), 2);
    EXPECT_EQ(album.templateSlots.rowCount(), 2);
}

TEST_F(Import, TemplatesWithoutABackgroundGetTheDefaultPicture) {
    writeDefaultBackground(1600, 1200);
    import({photos.add("s1", 3000, 4000)});

    ASSERT_EQ(album.backgrounds.rowCount(), 1);
    const DataPaths paths = world.paths();
    EXPECT_EQ(album.backgrounds.row(0).mid(BackgroundCol::PictureName, 5),
              QStringList({"wj_0_or_6_6", ".jpg", "1600", "1200", paths.defaultBackgroundPicture()}));
}

TEST_F(Import, AMissingDefaultBackgroundIsReportedAndLeavesTheRowEmpty) {
    const JobOutcome outcome = import({photos.add("s1", 3000, 4000)});
    ASSERT_EQ(outcome.messages.size(), 1);
    EXPECT_THAT(outcome.messages[0].toStdString(), HasSubstr("默认背景图片"));
    EXPECT_EQ(album.backgrounds.cell(0, BackgroundCol::Path), "");
}

// The message names the package the user can find, not the work copy the program unpacked it to.
TEST_F(Import, ADamagedDefaultBackgroundIsReportedByItsPackage) {
    world.tree.write("korvel/wj_0_or_6_6/wj_0_or_6_6.rar",
                     EncodePackage("not a picture", PackageLayers::DefaultBackground));
    const JobOutcome outcome = import({photos.add("s1", 3000, 4000)});
    ASSERT_EQ(outcome.messages.size(), 1);
    const std::string message = outcome.messages[0].toStdString();
    EXPECT_THAT(message, HasSubstr("wj_0_or_6_6.rar"));
    EXPECT_THAT(
        message,
        Not(HasSubstr(QDir::toNativeSeparators(world.paths().defaultBackgroundPicture()).toStdString())));
}

TEST_F(Import, ABackgroundTheUserChoseIsKept) {
    writeDefaultBackground(1600, 1200);
    import({photos.add("s1", 3000, 4000)});
    album.backgrounds.setCell(0, BackgroundCol::Path, "/chosen/beach.jpg");
    import({photos.add("s2", 3000, 4000)});
    EXPECT_EQ(album.backgrounds.cell(0, BackgroundCol::Path), "/chosen/beach.jpg");
    EXPECT_EQ(album.backgrounds.cell(1, BackgroundCol::Path), world.paths().defaultBackgroundPicture());
}

TEST_F(Import, AutomaticEffectsRunAfterMatchingAsTheSettingsSay) {
    import({photos.add("h1", 4000, 3000)});
    EXPECT_EQ(textRuns, 1); // "自动添加文字特效" is the default
    EXPECT_EQ(pictureRuns, 0);
    EXPECT_EQ(effectSawTemplates, 1);

    SystemSettings settings(album.settings);
    settings.check(SettingControl::NoTextEffects);
    settings.check(SettingControl::AddPictureEffects);
    import({photos.add("h2", 4000, 3000)});
    EXPECT_EQ(textRuns, 1);
    EXPECT_EQ(pictureRuns, 1);
    EXPECT_TRUE(questions.isEmpty());
}

TEST_F(Import, PictureEffectsAreReplacedOnlyWhenTheUserAgrees) {
    SystemSettings(album.settings).check(SettingControl::AddPictureEffects);
    album.pictureEffects.appendRow(
        {"50", "00:00:00", Words::NoEnd, Words::Stopped, "effect", "0", Words::AddedByHand, Words::None});
    answer = false;
    import({photos.add("h1", 4000, 3000)});
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0].caption, "画面特效");
    EXPECT_EQ(questions[0].text,
              "检测到已经添加了画面特效,重新添加画面特效,需要先删除已经添加的画面特效!是否确定要删除?");
    EXPECT_EQ(pictureRuns, 0);
    EXPECT_EQ(album.pictureEffects.rowCount(), 1);

    answer = true;
    import({photos.add("h2", 4000, 3000)});
    EXPECT_EQ(pictureRuns, 1);
    EXPECT_TRUE(album.pictureEffects.isEmpty());
}

TEST_F(Import, AFailedEffectRunIsReportedAndTheImportStays) {
    AfterImportEffects failing{[](Album&, const Job&) {
                                   AutomaticRunResult result;
                                   result.failure = "文字特效库是空的";
                                   return result;
                               },
                               {}};
    const QString h1 = photos.add("h1", 4000, 3000);
    PhotoImportJobs failingJobs(world.catalogue(), world.paths(), random, failing, photos.reader());
    Job job;
    const JobOutcome outcome = importWith(failingJobs, {h1}, job);
    EXPECT_EQ(outcome.messages, QStringList{"文字特效库是空的"});
    EXPECT_EQ(album.photos.rowCount(), 1);
}

TEST_F(Import, AStoppedImportLeavesTheAlbumAsItWas) {
    import({photos.add("h1", 4000, 3000)});
    const Album before = album;
    Job job([&](int position, int, const QString&) {
        if (position == 1)
            job.requestStop();
    });
    const QStringList files{photos.add("h2", 4000, 3000), photos.add("h3", 4000, 3000)};
    const JobOutcome outcome = importWith(jobs(), files, job);
    EXPECT_TRUE(outcome.isStopped());
    EXPECT_EQ(outcome.messages, QStringList{"已停止，相册没有改变。"});
    for (int t = 0; t < before.tables().size(); ++t)
        EXPECT_EQ(*album.tables()[t], *before.tables()[t]) << before.tables()[t]->name().toStdString();
}

TEST_F(Import, AutoMatchRefusesAnEmptyAlbumAndReportsCompletion) {
    const PhotoImportJobs importJobs = jobs();
    const AlbumJob match = [&](const Album& a, Job& c) { return importJobs.matchPendingPhotos(a, c); };
    const JobOutcome empty = run(match);
    EXPECT_EQ(empty.status, JobOutcome::Status::Failed);
    EXPECT_EQ(empty.messages, QStringList{"没有添加照片文件！"});

    const QString h1 = photos.add("h1", 4000, 3000);
    AppendPhotoRow(album, photos.reader()(h1));
    const JobOutcome first = run(match);
    EXPECT_EQ(first.messages, QStringList{"照片与模板自动匹配已完成！"});
    EXPECT_EQ(UsedTemplateNames(album), QStringList{"H"});
    EXPECT_EQ(Problems(album, world.catalogue()), QStringList());

    const JobOutcome again = run(match);
    EXPECT_EQ(again.messages, QStringList{"照片与模板自动匹配已完成！"});
    EXPECT_EQ(UsedTemplateNames(album), QStringList{"H"});
}

TEST_F(Import, AutoMatchSaysWhatItCouldNotPlace) {
    TemplateWorld landscapeOnly;
    landscapeOnly.add(LandscapeTemplate("H"));
    const QString s1 = photos.add("s1", 3000, 4000);
    AppendPhotoRow(album, photos.reader()(s1));
    PhotoImportJobs onlyLandscape(landscapeOnly.catalogue(), landscapeOnly.paths(), random, {},
                                  photos.reader());
    const JobOutcome outcome =
        run([&](const Album& a, Job& c) { return onlyLandscape.matchPendingPhotos(a, c); });
    EXPECT_EQ(outcome.messages,
              QStringList{"还有 1 张竖照片没有放进模板：模板库中没有能放下这些照片的模板。"});
    EXPECT_EQ(album.photos.cell(0, PhotoCol::Status), "");
}

} // namespace
