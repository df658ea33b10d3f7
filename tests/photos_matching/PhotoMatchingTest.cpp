#include "photos/PhotoMatching.h"

#include "core/AlbumFile.h"
#include "core/Columns.h"
#include "core/Words.h"
#include "photos/PhotoRows.h"
#include "tests/photos_matching/MatchingFixture.h"

#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;

namespace {

class Matching : public ::testing::Test {
protected:
    void addPhotos(const QStringList& paths) {
        for (const QString& path : paths)
            AppendPhotoRow(album, photos.reader()(path));
        album.rebuildPhotoLists();
    }

    MatchingOutcome matchAll() {
        Job job;
        const MatchingOutcome outcome = PhotoMatcher(album, world.catalogue(), random).matchAll(job, "匹配");
        EXPECT_EQ(Problems(album, world.catalogue()), QStringList());
        return outcome;
    }

    QString slotCell(int slotRow, SlotCol::Column column) const {
        return album.templateSlots.cell(slotRow, column);
    }

    TemplateWorld world;
    FakePhotos photos;
    ScriptedRandom random;
    Album album;
};

TEST_F(Matching, SingleTemplatesOfAClassCycleInCatalogueOrder) {
    for (const char* name : {"T1", "T2", "T3"})
        world.add(LandscapeTemplate(name));
    addPhotos(photos.addMany("h", 5, 4000, 3000));

    const MatchingOutcome outcome = matchAll();

    EXPECT_EQ(UsedTemplateNames(album), QStringList({"T1", "T2", "T3", "T1", "T2"}));
    for (int t = 0; t < 5; ++t) {
        EXPECT_EQ(SlotPhotos(album, t), QStringList{QString::number(t)});
        EXPECT_EQ(album.usedTemplates.cell(t, UsedTemplateCol::Matching), Words::Complete);
        EXPECT_EQ(album.usedTemplates.cell(t, UsedTemplateCol::Position), QString::number(t + 1));
        EXPECT_EQ(album.photos.cell(t, PhotoCol::Status), Words::Placed);
    }
    EXPECT_EQ(outcome.placed, 5);
    EXPECT_TRUE(outcome.message.isEmpty());
    EXPECT_TRUE(album.pendingLandscape.isEmpty());
}

TEST_F(Matching, EveryJobStartsTheCycleAgain) {
    for (const char* name : {"T1", "T2", "T3"})
        world.add(LandscapeTemplate(name));
    addPhotos(photos.addMany("a", 2, 4000, 3000));
    matchAll();
    addPhotos(photos.addMany("b", 1, 4000, 3000));
    matchAll();
    EXPECT_EQ(UsedTemplateNames(album), QStringList({"T1", "T2", "T1"}));
}

TEST_F(Matching, AMixedAdvancedTemplateTakesAllThreePhotosInTheFirstStep) {
    world.add(MakeTemplate("A", {{"heng", "a_1"}, {"heng", "a_2"}, {"shu", "a_3", 360, 640}}));
    world.add(LandscapeTemplate("H"));
    world.add(PortraitTemplate("S"));
    addPhotos({photos.add("h1", 4000, 3000), photos.add("h2", 4000, 3000), photos.add("s1", 3000, 4000)});

    PhotoMatcher matcher(album, world.catalogue(), random);
    EXPECT_EQ(matcher.step(CandidateList::Mixed), 3);
    EXPECT_EQ(UsedTemplateNames(album), QStringList{"A"});
    EXPECT_EQ(SlotPhotos(album, 0), QStringList({"0", "1", "2"}));
    EXPECT_TRUE(album.pendingLandscape.isEmpty());
    EXPECT_TRUE(album.pendingPortrait.isEmpty());

    const MatchingOutcome rest = matchAll();
    EXPECT_EQ(rest.templates, 0);
    EXPECT_EQ(UsedTemplateNames(album), QStringList{"A"});
}

TEST_F(Matching, CandidateListsFollowThePendingCounts) {
    world.add(MakeTemplate("HHS", {{"heng", "a_1"}, {"heng", "a_2"}, {"shu", "a_3"}}));
    world.add(MakeTemplate("HH", {{"heng", "b_1"}, {"heng", "b_2"}}));
    world.add(MakeTemplate("SS", {{"shu", "c_1"}, {"shu", "c_2"}}));
    world.add(LandscapeTemplate("H"));
    addPhotos({photos.add("h1", 4000, 3000), photos.add("s1", 3000, 4000), photos.add("s2", 3000, 4000)});

    PhotoMatcher matcher(album, world.catalogue(), random);
    EXPECT_TRUE(matcher.candidates(CandidateList::Mixed).isEmpty()); // needs two landscape photos
    EXPECT_TRUE(matcher.candidates(CandidateList::AdvancedLandscape).isEmpty());
    EXPECT_EQ(matcher.candidates(CandidateList::AdvancedPortrait).size(), 1);
    EXPECT_EQ(matcher.candidates(CandidateList::LandscapeSingle).size(), 1);
    EXPECT_TRUE(matcher.candidates(CandidateList::PortraitSingle).isEmpty()); // no portrait single template
}

TEST_F(Matching, ASquarePhotoGoesToALandscapeSlot) {
    world.add(LandscapeTemplate("H"));
    world.add(PortraitTemplate("S"));
    addPhotos({photos.add("square", 1000, 1000)});
    matchAll();
    ASSERT_EQ(UsedTemplateNames(album), QStringList{"H"});
    EXPECT_EQ(slotCell(0, SlotCol::SlotKind), Words::LandscapeSlot);
    EXPECT_EQ(album.usedTemplates.cell(0, UsedTemplateCol::Category), Words::LandscapeCategory);
}

TEST_F(Matching, APassThatPlacesNothingEndsTheJobAndSaysWhy) {
    world.add(LandscapeTemplate("H"));
    addPhotos({photos.add("h1", 4000, 3000), photos.add("s1", 3000, 4000), photos.add("h2", 4000, 3000)});

    const MatchingOutcome outcome = matchAll();

    EXPECT_EQ(outcome.placed, 2);
    EXPECT_EQ(outcome.portraitLeft, 1);
    EXPECT_EQ(outcome.message, "还有 1 张竖照片没有放进模板：模板库中没有能放下这些照片的模板。");
    EXPECT_EQ(album.photos.cell(1, PhotoCol::Status), "");
    EXPECT_EQ(album.pendingPortrait.rowCount(), 1);
    EXPECT_EQ(UsedTemplateNames(album), QStringList({"H", "H"}));
}

TEST_F(Matching, UnplacedMessageCountsBothOrientations) {
    EXPECT_EQ(UnplacedPhotosMessage(2, 3, "原因"), "还有 2 张横照片和 3 张竖照片没有放进模板：原因。");
    EXPECT_EQ(UnplacedPhotosMessage(4, 0, "原因"), "还有 4 张横照片没有放进模板：原因。");
}

TEST_F(Matching, ATemplateWithoutPhotoSlotsDoesNotEndTheJobEarly) {
    world.add(MakeTemplate("Frame", {{"heng", "frame"}})); // a landscape template with no photo placeholder
    world.add(LandscapeTemplate("T1"));
    addPhotos(photos.addMany("h", 2, 4000, 3000));

    const MatchingOutcome outcome = matchAll();

    EXPECT_TRUE(outcome.message.isEmpty());
    EXPECT_EQ(outcome.placed, 2);
    EXPECT_EQ(UsedTemplateNames(album), QStringList({"Frame", "T1", "Frame", "T1"}));
}

TEST_F(Matching, PlaceholdersFillTheSlotsOfTheirOrientationInPictureOrder) {
    world.add(MakeTemplate("A", {{"heng", "a_1", 640, 360},
                                 {"shu", "b_2", 300, 400},
                                 {"heng", "frame", 1920, 1080},
                                 {"shu", "x_y_z", 1, 1},
                                 {"heng", "c_3", 800, 450}}));
    addPhotos({photos.add("h1", 4000, 3000), photos.add("h2", 4000, 3000), photos.add("s1", 3000, 4000)});
    matchAll();

    ASSERT_EQ(album.templateSlots.rowCount(), 3);
    const struct {
        const char* kind;
        const char* picture;
        const char* width;
        const char* height;
        const char* photo;
    } expected[] = {{"heng_zhaopian", "a_1", "640", "360", "0"},
                    {"heng_zhaopian", "c_3", "800", "450", "1"},
                    {"shu_zhaopian", "b_2", "300", "400", "2"}};
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(slotCell(s, SlotCol::SlotKind), expected[s].kind) << s;
        EXPECT_EQ(slotCell(s, SlotCol::Picture), expected[s].picture) << s;
        EXPECT_EQ(slotCell(s, SlotCol::Width), expected[s].width) << s;
        EXPECT_EQ(slotCell(s, SlotCol::Height), expected[s].height) << s;
        EXPECT_EQ(slotCell(s, SlotCol::SlotIndex), QString::number(s)) << s;
        EXPECT_EQ(slotCell(s, SlotCol::PhotoRow), expected[s].photo) << s;
    }
}

TEST_F(Matching, AnEitherWayTemplateServesBothOrientations) {
    world.add(MakeTemplate("E", {{"shuheng", "zp_1", 0, 0}}));
    addPhotos({photos.add("h1", 4000, 3000), photos.add("s1", 3000, 4000)});
    matchAll();

    ASSERT_EQ(UsedTemplateNames(album), QStringList({"E", "E"}));
    EXPECT_EQ(album.usedTemplates.cell(0, UsedTemplateCol::Category), Words::LandscapeCategory);
    EXPECT_EQ(album.usedTemplates.cell(1, UsedTemplateCol::Category), Words::PortraitCategory);
    EXPECT_EQ(slotCell(0, SlotCol::SlotKind), Words::LandscapeSlot);
    EXPECT_EQ(slotCell(1, SlotCol::SlotKind), Words::PortraitSlot);
    for (int s = 0; s < 2; ++s) {
        EXPECT_EQ(slotCell(s, SlotCol::Picture), "zp_1");
        EXPECT_EQ(slotCell(s, SlotCol::PhotoRow), QString::number(s));
    }
}

TEST_F(Matching, AnAdvancedTemplatesEitherWayPictureFillsTheLandscapeSlotItWasCountedAs) {
    world.add(MakeTemplate("A", {{"heng", "a_1"}, {"heng", "a_2"}, {"shuheng", "a_3", 500, 500}}));
    addPhotos(photos.addMany("h", 3, 4000, 3000));
    matchAll();

    ASSERT_EQ(album.templateSlots.rowCount(), 3);
    EXPECT_EQ(slotCell(2, SlotCol::SlotKind), Words::LandscapeSlot);
    EXPECT_EQ(slotCell(2, SlotCol::Picture), "a_3");
    EXPECT_EQ(slotCell(2, SlotCol::Width), "500");
    EXPECT_EQ(slotCell(2, SlotCol::PhotoRow), "2");
}

TEST_F(Matching, SlotsGetBothCropRectangles) {
    world.add(LandscapeTemplate("H", 640, 360));
    world.add(PortraitTemplate("Whole", 0, 0));
    addPhotos({photos.add("h1", 4000, 3000), photos.add("s1", 3000, 4000)});
    matchAll();

    QStringList landscape = album.templateSlots.row(0).mid(SlotCol::CropLeft, 9);
    EXPECT_EQ(landscape,
              QStringList({"0", "0", "640", "480", "quanping_or_jubuquanping", "80", "0", "480", "360"}));
    QStringList portrait = album.templateSlots.row(1).mid(SlotCol::CropLeft, 9);
    EXPECT_EQ(portrait, QStringList({"0", "0", "810", "1080", "shizhong", "0", "0", "810", "1080"}));
    EXPECT_EQ(slotCell(0, SlotCol::PhotoPath), "/photos/h1.jpg");
    EXPECT_EQ(slotCell(0, SlotCol::MatchState), Words::SlotFilled);
}

TEST_F(Matching, EveryUsedTemplateGetsABackgroundRowWithARandomLandscapePhoto) {
    world.add(LandscapeTemplate("H"));
    addPhotos(photos.addMany("h", 3, 4000, 3000));
    random.draws = {2, 0, 1};
    matchAll();

    ASSERT_EQ(album.backgrounds.rowCount(), 3);
    const QStringList expectedPaths{"/photos/h3.jpg", "/photos/h1.jpg", "/photos/h2.jpg"};
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(album.backgrounds.row(r).mid(0, 4),
                  QStringList({QString::number(r + 1), "H", Words::SingleKind, Words::LandscapeCategory}));
        EXPECT_EQ(album.backgrounds.cell(r, BackgroundCol::Path), expectedPaths[r]);
        EXPECT_EQ(album.backgrounds.cell(r, BackgroundCol::Width), "4000");
        EXPECT_EQ(album.backgrounds.cell(r, BackgroundCol::Transparency), "0");
    }
}

TEST_F(Matching, AStopRequestEndsTheJobBetweenPasses) {
    world.add(LandscapeTemplate("H"));
    addPhotos(photos.addMany("h", 3, 4000, 3000));
    Job job;
    job.requestStop();
    const MatchingOutcome outcome = PhotoMatcher(album, world.catalogue(), random).matchAll(job, "匹配");
    EXPECT_TRUE(outcome.stopped);
    EXPECT_TRUE(album.usedTemplates.isEmpty());
}

} // namespace
