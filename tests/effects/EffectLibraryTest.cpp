#include "effects/EffectLibrary.h"
#include "core/Error.h"
#include "effects/TextEffectCategories.h"
#include "tests/support/EffectFixtures.h"

#include <QDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

QList<int> numbersOf(const PictureEffectListing& listing) {
    QList<int> numbers;
    for (const PictureEffectEntry& e : listing.entries)
        numbers.append(e.number);
    return numbers;
}

QList<std::pair<int, int>> idsOf(const TextEffectListing& listing) {
    QList<std::pair<int, int>> ids;
    for (const TextEffectEntry& e : listing.entries)
        ids.append({e.category, e.effect});
    return ids;
}

EffectSpec named(const QString& name) {
    EffectSpec design;
    design.name = name;
    return design;
}

} // namespace

TEST(TextEffectCategories, HoldTheFortyTwoSelectorEntries) {
    const QStringList& entries = TextEffectCategoryEntries();
    ASSERT_EQ(entries.size(), 42);
    EXPECT_EQ(entries[0], "01 全部文字元素");
    EXPECT_EQ(entries[14], "08 毕业文字元素");
    EXPECT_EQ(entries[22], "12 数码文字元素");
    EXPECT_EQ(entries[40], "21 运动会文字元素");
    for (int i = 1; i < 42; i += 2) {
        EXPECT_EQ(entries[i], QString(i == 15 ? 12 : 15, u'-')) << i;
        EXPECT_TRUE(IsCategorySeparator(i)) << i;
    }
    for (int i = 0; i < 42; i += 2) {
        EXPECT_FALSE(IsCategorySeparator(i)) << i;
        EXPECT_EQ(CategoryOfEntry(i), i / 2);
    }
    EXPECT_TRUE(IsCategorySeparator(-1)); // nothing chosen
    EXPECT_TRUE(IsCategorySeparator(42));
}

TEST(EffectLibrary, PictureEffectsEndAtTheFirstMissingFolder) {
    TempTree tree;
    for (int n : {1, 2, 4})
        WritePictureEffect(tree, n, named(QStringLiteral("花瓣%1").arg(n)));
    const PictureEffectListing listing = EffectLibrary(PathsOf(tree)).listPictureEffects();
    EXPECT_THAT(numbersOf(listing), ElementsAre(1, 2));
    EXPECT_EQ(listing.entries[1].name, "花瓣2");
    EXPECT_TRUE(listing.problems.isEmpty());
}

TEST(EffectLibrary, APictureEffectFolderWithoutParameterFileShiftsNoLaterEffectAndIsReported) {
    TempTree tree;
    EffectSpec broken = named("坏");
    broken.parameterFile = false;
    WritePictureEffect(tree, 1, named("一"));
    WritePictureEffect(tree, 2, broken);
    WritePictureEffect(tree, 3, named("三"));
    const EffectLibrary library(PathsOf(tree));
    const PictureEffectListing listing = library.listPictureEffects();
    EXPECT_THAT(numbersOf(listing), ElementsAre(1, 3));
    ASSERT_EQ(listing.problems.size(), 1);
    EXPECT_THAT(listing.problems[0].toStdString(), HasSubstr("wj_x_g_c_l_2"));
    EXPECT_FALSE(library.pictureEffect(2).has_value());
    EXPECT_EQ(library.pictureEffect(3)->name, "三");
}

TEST(EffectLibrary, ListsTextEffectsOfOneOrAllCategories) {
    TempTree tree;
    WriteTextEffect(tree, 1, 1, named("婚纱一"));
    WriteTextEffect(tree, 1, 2, named("婚纱二"));
    WriteTextEffect(tree, 2, 1, named("结婚一"));
    WriteTextCategory(tree, 3); // a category without effects
    const EffectLibrary library(PathsOf(tree));
    EXPECT_EQ(library.textCategoryCount(), 3);

    const TextEffectListing all = library.listTextEffects(0, ListingOccasion::CategoryChange);
    EXPECT_THAT(idsOf(all), ElementsAre(std::pair(1, 1), std::pair(1, 2), std::pair(2, 1)));
    EXPECT_EQ(all.entries[2].name, "结婚一");
    EXPECT_TRUE(all.message.isEmpty());

    EXPECT_THAT(idsOf(library.listTextEffects(4, ListingOccasion::CategoryChange)),
                ElementsAre(std::pair(2, 1)));
    const TextEffectListing empty = library.listTextEffects(6, ListingOccasion::CategoryChange);
    EXPECT_TRUE(empty.entries.isEmpty());
    EXPECT_TRUE(empty.message.isEmpty());
}

TEST(EffectLibrary, AMissingTextParameterFileIsSkippedWhenPreparingAndStopsAChosenCategory) {
    TempTree tree;
    EffectSpec broken = named("坏");
    broken.parameterFile = false;
    WriteTextEffect(tree, 1, 1, named("一"));
    WriteTextEffect(tree, 1, 2, broken);
    WriteTextEffect(tree, 1, 3, named("三"));
    WriteTextEffect(tree, 2, 1, named("二类"));
    const EffectLibrary library(PathsOf(tree));

    const TextEffectListing prepared = library.listTextEffects(0, ListingOccasion::WindowPreparation);
    EXPECT_THAT(idsOf(prepared), ElementsAre(std::pair(1, 1), std::pair(1, 3), std::pair(2, 1)));
    EXPECT_TRUE(prepared.message.isEmpty());
    EXPECT_EQ(prepared.problems.size(), 1);

    for (int index : {0, 2}) {
        const TextEffectListing chosen = library.listTextEffects(index, ListingOccasion::CategoryChange);
        EXPECT_THAT(idsOf(chosen), ElementsAre(std::pair(1, 1))) << index;
        EXPECT_EQ(chosen.message, "没有找到选中的文字特效文件！");
    }
}

TEST(EffectLibrary, NoCategoryFolderAtAllIsReportedOnlyWhenTheUserChoosesACategory) {
    TempTree tree;
    const EffectLibrary library(PathsOf(tree));
    EXPECT_EQ(library.listTextEffects(0, ListingOccasion::CategoryChange).message,
              "没有找到选中的文字特效文件！");
    EXPECT_TRUE(library.listTextEffects(0, ListingOccasion::WindowPreparation).message.isEmpty());
}

TEST(EffectLibrary, ChoosingEitherSeparatorFallsBackToAllCategories) {
    TempTree tree;
    WriteTextEffect(tree, 1, 1, named("一"));
    WriteTextEffect(tree, 8, 1, named("八")); // not reached: categories 2..7 are missing
    const EffectLibrary library(PathsOf(tree));
    for (int separator : {15, 17, 41}) {
        const TextCategoryChoice choice = library.chooseTextCategory(separator);
        EXPECT_EQ(choice.index, 0) << separator;
        EXPECT_THAT(choice.messages, ElementsAre("没有选中文字特效分类！"));
        EXPECT_THAT(idsOf(choice.listing), ElementsAre(std::pair(1, 1)));
    }
    const TextCategoryChoice first = library.chooseTextCategory(2);
    EXPECT_EQ(first.index, 2);
    EXPECT_TRUE(first.messages.isEmpty());
}

struct PositionCase {
    const char* mode;
    const char* x;
    const char* y;
    QSize still;
    const char* expectedX;
    const char* expectedY;
};

class DefaultPosition : public ::testing::TestWithParam<PositionCase> {};

TEST_P(DefaultPosition, FollowsThePositionMode) {
    const PositionCase& c = GetParam();
    TempTree tree;
    EffectSpec design;
    design.positionMode = c.mode;
    design.x = c.x;
    design.y = c.y;
    design.frameSize = c.still;
    design.stillFrame = "2";
    WriteTextEffect(tree, 1, 1, design);
    const EffectLibrary library(PathsOf(tree));
    const StagePosition position = library.defaultPosition(1, 1, library.textEffect(1, 1));
    EXPECT_EQ(position.x, c.expectedX);
    EXPECT_EQ(position.y, c.expectedY);
}

INSTANTIATE_TEST_SUITE_P(Modes, DefaultPosition,
                         ::testing::Values(PositionCase{"n", "120", "-35", {40, 20}, "120", "-35"},
                                           PositionCase{"z", "", "", {40, 20}, "380", "215"},
                                           PositionCase{"z", "7", "7", {801, 451}, "0", "0"},
                                           PositionCase{"z", "", "", {121, 33}, "340", "209"},
                                           PositionCase{"m", "5", "5", {40, 20}, "", ""},
                                           PositionCase{"", "5", "5", {40, 20}, "", ""}));

struct MalformedCase {
    const char* what;
    EffectSpec design;
    const char* message;
};

class MalformedTextEffect : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedTextEffect, IsReportedNamingItsParameterFile) {
    TempTree tree;
    WriteTextEffect(tree, 1, 1, GetParam().design);
    const EffectLibrary library(PathsOf(tree));
    try {
        const EffectParameters parameters = library.textEffect(1, 1);
        parameters.frames();
        library.defaultPosition(1, 1, parameters);
        FAIL() << "accepted " << GetParam().what;
    } catch (const Error& e) {
        EXPECT_THAT(e.message().toStdString(), HasSubstr(GetParam().message));
        EXPECT_THAT(e.message().toStdString(), HasSubstr("wj_x_g_c_l_1"));
    }
}

MalformedCase malformed(const char* what, void (*edit)(EffectSpec&), const char* message) {
    EffectSpec design;
    edit(design);
    return {what, design, message};
}

INSTANTIATE_TEST_SUITE_P(
    Values, MalformedTextEffect,
    ::testing::Values(malformed(
                          "a frame count that is no number", [](EffectSpec& s) { s.frames = "三"; },
                          "wj_x_g_c_l_sum"),
                      malformed(
                          "no frame count", [](EffectSpec& s) { s.frames = ""; }, "wj_x_g_c_l_sum"),
                      malformed(
                          "a frame count of 0", [](EffectSpec& s) { s.frames = "0"; }, "wj_x_g_c_l_sum"),
                      malformed(
                          "an X that is no number", [](EffectSpec& s) { s.x = "左"; }, "wj_x_g_c_l_wz1"),
                      malformed(
                          "a Y that is no number", [](EffectSpec& s) { s.y = "1.5"; }, "wj_x_g_c_l_wz2"),
                      malformed(
                          "a still that does not exist",
                          [](EffectSpec& s) {
                              s.positionMode = "z";
                              s.stillFrame = "9";
                          },
                          "9.png")));

TEST(EffectLibrary, AMissingTextParameterFileReadsAsTheLibraryMessage) {
    TempTree tree;
    EffectSpec design;
    design.parameterFile = false;
    WriteTextEffect(tree, 1, 1, design);
    try {
        EffectLibrary(PathsOf(tree)).textEffect(1, 1);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), "没有找到选中的文字特效文件！");
    }
}

TEST(EffectLibrary, FramesArePreviewAndProductionPngsNumberedFromOne) {
    TempTree tree;
    WriteTextEffect(tree, 2, 3, EffectSpec{});
    const QString folder = EffectLibrary(PathsOf(tree)).textEffectFolder(2, 3);
    EXPECT_TRUE(folder.endsWith(
        "korvel/wj_x_g_c_l_2/wj_x_g_c_l_1/wj_x_g_c_l_1/wj_x_g_c_l_0/wj_x_g_c_l_2/wj_x_g_c_l_3"));
    EXPECT_EQ(EffectFramePath(folder, 3, FrameUse::Preview), folder + "/3.png");
    EXPECT_EQ(EffectFramePath(folder, 12, FrameUse::Production), folder + "/2_12.png");
    EXPECT_TRUE(QFileInfo::exists(EffectFramePath(folder, 3, FrameUse::Production)));
}
