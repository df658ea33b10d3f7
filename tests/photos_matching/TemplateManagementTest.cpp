#include "photos/TemplateManagement.h"

#include "core/AlbumFile.h"
#include "core/Columns.h"
#include "core/Error.h"
#include "core/Words.h"
#include "photos/PhotoMatching.h"
#include "photos/PhotoRows.h"
#include "tests/photos_matching/MatchingFixture.h"

#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;

namespace {

QString ErrorOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

class Management : public ::testing::Test {
protected:
    Management() {
        world.add(LandscapeTemplate("T1"));
        world.add(MakeTemplate("T2", {{"heng", "a_1"}, {"heng", "a_2"}, {"shu", "a_3", 360, 640}}));
        world.add(LandscapeTemplate("T3"));
    }

    TemplateManagement management() {
        return TemplateManagement(world.catalogue(), random,
                                  [this](const QString& caption, const QString& text) {
                                      questions << caption + u'|' + text;
                                      return answer;
                                  });
    }

    void addPhotos(const QStringList& paths) {
        for (const QString& path : paths)
            AppendPhotoRow(album, photos.reader()(path));
    }

    // T1, T2 and T3 by hand, with photos 0 (T1), 1, 2 and 3 (T2) and 4 (T3).
    void buildThreeTemplates() {
        addPhotos(photos.addMany("h", 5, 4000, 3000));
        album.photos.setCell(3, PhotoCol::Width, "3000");
        album.photos.setCell(3, PhotoCol::Height, "4000");
        const TemplateManagement m = management();
        for (const char* name : {"T1", "T2", "T3"})
            m.useTemplate(album, world.templateListRow(name));
        m.putPhoto(album, 0, 0, 0);
        m.putPhoto(album, 1, 0, 1);
        m.putPhoto(album, 1, 1, 2);
        m.putPhoto(album, 1, 2, 3);
        m.putPhoto(album, 2, 0, 4);
        check();
    }

    void check() { EXPECT_EQ(Problems(album, world.catalogue()), QStringList()); }

    TemplateWorld world;
    FakePhotos photos;
    ScriptedRandom random;
    Album album;
    QStringList questions;
    bool answer = true;
};

TEST_F(Management, AHandAddedTemplateWaitsForItsPhotos) {
    addPhotos({photos.add("h1", 4000, 3000)});
    album.rebuildPhotoLists();
    const std::optional<int> row = management().useTemplate(album, world.templateListRow("T2"));
    ASSERT_EQ(row, 0);
    check();
    EXPECT_EQ(album.usedTemplates.cell(0, UsedTemplateCol::Matching), Words::Incomplete);
    EXPECT_EQ(album.usedTemplates.cell(0, UsedTemplateCol::Position), "1");
    ASSERT_EQ(album.templateSlots.rowCount(), 3);
    EXPECT_EQ(album.templateSlots.cell(2, SlotCol::Picture), "a_3");
    EXPECT_EQ(album.templateSlots.cell(2, SlotCol::Width), "360");
    EXPECT_EQ(SlotPhotos(album, 0), QStringList({"", "", ""}));
    EXPECT_EQ(album.backgrounds.cell(0, BackgroundCol::Path), "/photos/h1.jpg");
    EXPECT_EQ(album.photos.cell(0, PhotoCol::Status), "");
}

TEST_F(Management, UsingATemplateNeedsASelection) {
    EXPECT_EQ(ErrorOf([&] { management().useTemplate(album, -1); }), "没有选中模板文件！");
    TemplateWorld empty;
    empty.add(MakeTemplate("broken", {}));
    EXPECT_TRUE(empty.catalogue().templateList().isEmpty());
    const TemplateManagement nothing(empty.catalogue(), random, {});
    EXPECT_EQ(nothing.useTemplate(album, 0), std::nullopt);
    EXPECT_TRUE(album.usedTemplates.isEmpty());
}

TEST_F(Management, FillingTheLastSlotCompletesTheTemplate) {
    buildThreeTemplates();
    for (int t = 0; t < 3; ++t)
        EXPECT_EQ(album.usedTemplates.cell(t, UsedTemplateCol::Matching), Words::Complete) << t;
    EXPECT_EQ(SlotPhotos(album, 1), QStringList({"1", "2", "3"}));
    EXPECT_EQ(album.templateSlots.row(0).mid(SlotCol::CropLeft, 9),
              QStringList({"0", "0", "640", "480", "quanping_or_jubuquanping", "80", "0", "480", "360"}));
}

TEST_F(Management, APhotoOfTheWrongOrientationIsRefused) {
    buildThreeTemplates();
    const TemplateManagement m = management();
    EXPECT_EQ(ErrorOf([&] { m.putPhoto(album, 1, 2, 0); }), "此处需要一张竖照片！");
    EXPECT_EQ(ErrorOf([&] { m.putPhoto(album, 0, 0, 3); }), "此处需要一张横照片！");
    EXPECT_EQ(SlotPhotos(album, 1), QStringList({"1", "2", "3"}));
    EXPECT_EQ(ErrorOf([&] { m.putPhoto(album, -1, 0, 0); }),
              "没有选中已经添加模板文件！选中模板后,模板所需照片框会出现");
}

TEST_F(Management, APhotoReplacedInItsOnlySlotIsUnplacedAgain) {
    buildThreeTemplates();
    const TemplateManagement m = management();
    m.putPhoto(album, 0, 0, 4); // photo 4 now sits in T1 and T3, photo 0 nowhere
    check();
    EXPECT_EQ(album.photos.cell(0, PhotoCol::Status), "");
    m.putPhoto(album, 2, 0, 1); // photo 4 still sits in T1
    EXPECT_EQ(album.photos.cell(4, PhotoCol::Status), Words::Placed);
}

TEST_F(Management, DeletingTheSecondOfThreeTemplatesRenumbersSlotsAndBackgrounds) {
    buildThreeTemplates();
    album.backgrounds.setCell(2, BackgroundCol::Transparency, "40");
    ASSERT_TRUE(management().deleteOne(album, 1).changed);
    check();

    EXPECT_EQ(questions, QStringList{"删除模板文件|是否确定要删除当前选中已经使用的模板文件?"});
    EXPECT_EQ(UsedTemplateNames(album), QStringList({"T1", "T3"}));
    EXPECT_EQ(album.usedTemplates.cell(1, UsedTemplateCol::Position), "2");
    ASSERT_EQ(album.templateSlots.rowCount(), 2);
    EXPECT_EQ(album.templateSlots.cell(1, SlotCol::UsedRow), "1");
    EXPECT_EQ(album.templateSlots.cell(1, SlotCol::TemplateName), "T3");
    ASSERT_EQ(album.backgrounds.rowCount(), 2);
    EXPECT_EQ(album.backgrounds.cell(1, BackgroundCol::Number), "2");
    EXPECT_EQ(album.backgrounds.cell(1, BackgroundCol::TemplateName), "T3");
    EXPECT_EQ(album.backgrounds.cell(1, BackgroundCol::Transparency), "40");
    for (int photo : {1, 2, 3})
        EXPECT_EQ(album.photos.cell(photo, PhotoCol::Status), "") << photo;
    EXPECT_EQ(album.photos.cell(4, PhotoCol::Status), Words::Placed);
}

TEST_F(Management, APhotoThatAnotherTemplateStillShowsStaysPlaced) {
    buildThreeTemplates();
    management().putPhoto(album, 2, 0, 1); // photo 1 in T2 and T3
    management().deleteOne(album, 1);
    check();
    EXPECT_EQ(album.photos.cell(1, PhotoCol::Status), Words::Placed);
    EXPECT_EQ(album.photos.cell(2, PhotoCol::Status), "");
}

TEST_F(Management, AutomaticTextEffectsFollowTheirTemplate) {
    buildThreeTemplates();
    const auto effect = [](const QString& usedRow, const QString& mark) {
        return QStringList{"50",         "00:00:00",
                           Words::NoEnd, Words::Stopped,
                           "t",          "0",
                           "10",         "10",
                           "1",          mark,
                           "A",          usedRow,
                           "25",         usedRow.isEmpty() ? Words::AddedByHand : Words::AddedAutomatically,
                           Words::None};
    };
    for (int slot = 0; slot < album.templateSlots.rowCount(); ++slot)
        album.templateSlots.setCell(slot, SlotCol::TextEffectMark,
                                    "120000_" + album.templateSlots.cell(slot, SlotCol::UsedRow));
    album.textEffects.appendRow(effect("0", "120000_0"));
    album.textEffects.appendRow(effect("1", "120000_1"));
    album.textEffects.appendRow(effect("2", "120000_2"));
    album.textEffects.appendRow(effect("", ""));

    management().deleteOne(album, 1);
    check();

    ASSERT_EQ(album.textEffects.rowCount(), 3);
    EXPECT_EQ(album.textEffects.cell(1, TextEffectCol::TemplateMark), "120000_2");
    EXPECT_EQ(album.textEffects.cell(1, TextEffectCol::UsedRow), "1");
    // Re-timed after the first template (250 frames): 250 + 25 frames are 11 seconds.
    EXPECT_EQ(album.textEffects.cell(1, TextEffectCol::Start), "00:00:11");
    EXPECT_EQ(album.textEffects.cell(2, TextEffectCol::UsedRow), "");
}

TEST_F(Management, DeletionRefusalsAndAnswers) {
    const TemplateManagement m = management();
    EXPECT_EQ(ErrorOf([&] { m.deleteOne(album, 0); }), "没有添加模板文件！");
    EXPECT_EQ(ErrorOf([&] { m.deleteAll(album); }), "没有添加模板文件！");
    buildThreeTemplates();
    EXPECT_EQ(ErrorOf([&] { m.deleteOne(album, -1); }), "没有选中模板文件！");
    EXPECT_EQ(ErrorOf([&] { m.deleteOne(album, 3); }), "没有选中模板文件！");
    answer = false;
    EXPECT_FALSE(m.deleteOne(album, 0).changed);
    EXPECT_FALSE(m.deleteAll(album).changed);
    EXPECT_EQ(album.usedTemplates.rowCount(), 3);
}

TEST_F(Management, DeletingAllTemplatesUnplacesEveryPhoto) {
    buildThreeTemplates();
    album.textEffects.appendRow({"50", "00:00:03", Words::NoEnd, Words::Stopped, "t", "0", "10", "10", "1",
                                 "120000_0", "A", "0", "25", Words::AddedAutomatically, Words::None});
    const EditResult result = management().deleteAll(album);
    check();
    EXPECT_EQ(result.messages, QStringList{"已经使用的模板文件已经全部删除！"});
    EXPECT_EQ(questions, QStringList{"删除模板文件|是否确定要删除全部已经使用的模板文件?"});
    EXPECT_TRUE(album.usedTemplates.isEmpty());
    EXPECT_TRUE(album.templateSlots.isEmpty());
    EXPECT_TRUE(album.backgrounds.isEmpty());
    EXPECT_TRUE(album.textEffects.isEmpty());
    for (int p = 0; p < album.photos.rowCount(); ++p)
        EXPECT_EQ(album.photos.cell(p, PhotoCol::Status), "");
}

} // namespace
