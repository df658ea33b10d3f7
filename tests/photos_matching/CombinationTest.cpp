#include "photos/CombinationMatching.h"
#include "photos/CombinationTemplates.h"

#include "core/AlbumFile.h"
#include "core/Columns.h"
#include "core/Error.h"
#include "core/IniFile.h"
#include "core/Package.h"
#include "core/Words.h"
#include "photos/ImportJobs.h"
#include "tests/photos_matching/MatchingFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;
using ::testing::HasSubstr;

namespace {

void WriteCombination(const TempTree& tree, int number, const QStringList& entries) {
    QString ini = QStringLiteral("[zuhemoban_canshu]\r\nshuliang=%1\r\n").arg(entries.size());
    for (int k = 0; k < entries.size(); ++k)
        ini += QStringLiteral("canshu_%1=%2\r\n").arg(k + 1).arg(entries[k]);
    tree.write(QStringLiteral("korvel/wj_0_or_9_9/wj_0_or_9_9_%1.rar").arg(number),
               EncodePackage(EncodeGbk(ini), PackageLayers::Combination));
}

std::string Text(const QString& text) {
    return text.toStdString();
}

TEST(CombinationEntry, IsCutAtItsTildes) {
    const struct {
        const char* value;
        const char* name;
        const char* landscape;
        const char* portrait;
    } cases[] = {{"浪漫~1~0~", "浪漫", "1", "0"},
                 {"浪漫~1~0", "浪漫", "1", ""}, // the closing "~" makes the
                                                // second field
                 {"浪漫~2~", "浪漫", "2", ""},
                 {"浪漫", "浪漫", "", ""},
                 {"", "", "", ""},
                 {"a~1~0~tail", "a", "1", "0"}};
    for (const auto& c : cases) {
        const CombinationEntry entry = CutCombinationEntry(c.value);
        EXPECT_EQ(entry.templateName, c.name) << c.value;
        EXPECT_EQ(entry.landscapeCount, c.landscape) << c.value;
        EXPECT_EQ(entry.portraitCount, c.portrait) << c.value;
    }
}

TEST(CombinationListing, ListsConsecutivePackagesWithTheirSums) {
    TempTree tree;
    WriteCombination(tree, 1, {"A~1~0~", "B~2~1~"});
    WriteCombination(tree, 2, {"C~0~1~"});
    tree.write("korvel/wj_0_or_9_9/readme.Rar", "mixed case is not counted");
    const CombinationListing listing = ListCombinationTemplates(DataPaths(tree.path(), tree.path()));

    EXPECT_TRUE(listing.problems.isEmpty());
    ASSERT_EQ(listing.combinations.size(), 2);
    const CombinationTemplate& first = listing.combinations[0];
    EXPECT_EQ(first.caption, "模板组合 - 1");
    EXPECT_EQ(first.landscapeSum, 3);
    EXPECT_EQ(first.portraitSum, 1);
    EXPECT_EQ(first.photoSum(), 4);
    ASSERT_EQ(first.entries.size(), 2);
    EXPECT_EQ(first.entries[1].templateName, "B");
    EXPECT_EQ(listing.combinations[1].caption, "模板组合 - 2");
    EXPECT_EQ(listing.combinations[1].portraitSum, 1);
}

// A damaged package keeps its place and number: choosing it fails naming it, and its neighbour is
// never taken in its stead.
TEST(CombinationListing, KeepsADamagedPackageInItsPlaceAndRefusesToChooseIt) {
    TempTree tree;
    tree.write("korvel/wj_0_or_9_9/wj_0_or_9_9_1.rar", "not a package");
    WriteCombination(tree, 2, {"A~1~0~"});
    WriteCombination(tree, 3, {"A~x~0~"});
    WriteCombination(tree, 4, {"B~0~1~"});
    tree.write("korvel/wj_0_or_9_9/sub/other.RAR", "counted, but there is no package 5");
    const CombinationListing listing = ListCombinationTemplates(DataPaths(tree.path(), tree.path()));

    ASSERT_EQ(listing.combinations.size(), 5);
    ASSERT_EQ(listing.problems.size(), 3);
    for (int index : {0, 2, 4}) {
        const std::string package = Text(QStringLiteral("wj_0_or_9_9_%1.rar").arg(index + 1));
        EXPECT_EQ(listing.combinations[index].number, index + 1);
        EXPECT_THAT(Text(listing.combinations[index].problem), HasSubstr(package));
        try {
            SelectCombination(listing, index);
            FAIL() << "chose damaged combination " << index + 1;
        } catch (const Error& e) {
            EXPECT_THAT(Text(e.message()), HasSubstr(package));
        }
    }
    EXPECT_EQ(SelectCombination(listing, 1).landscapeSum, 1);
    EXPECT_EQ(SelectCombination(listing, 3).portraitSum, 1);
}

// Counts that would wrap a sum around are refused, as is an entry count that would take for ever.
TEST(CombinationListing, RefusesCountsBeyondAnyRealCombination) {
    const QStringList bad[] = {{"A~2147483647~0~", "B~2147483647~0~"}, {"A~0~10001~"}};
    for (const QStringList& entries : bad) {
        TempTree tree;
        WriteCombination(tree, 1, entries);
        try {
            ReadCombinationTemplate(DataPaths(tree.path(), tree.path()), 1);
            FAIL() << Text(entries.join(' '));
        } catch (const Error& e) {
            EXPECT_THAT(Text(e.message()), HasSubstr("wj_0_or_9_9_1.rar"));
            EXPECT_THAT(Text(e.message()), HasSubstr("不是有效的数量"));
        }
    }
    TempTree tree;
    tree.write("korvel/wj_0_or_9_9/wj_0_or_9_9_1.rar",
               EncodePackage(EncodeGbk("[zuhemoban_canshu]\r\nshuliang=2147483647\r\n"),
                             PackageLayers::Combination));
    EXPECT_THROW(ReadCombinationTemplate(DataPaths(tree.path(), tree.path()), 1), Error);
}

TEST(CombinationListing, SelectionRefusals) {
    CombinationListing listing;
    try {
        SelectCombination(listing, 0);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), "没有找到组合模板！");
    }
    listing.combinations.append(CombinationTemplate{});
    try {
        SelectCombination(listing, -1);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), "没有选中组合模板！");
    }
    EXPECT_EQ(&SelectCombination(listing, 0), &listing.combinations[0]);
}

TEST(CombinationListing, NeedsLine) {
    EXPECT_EQ(CombinationNeedsLine(3, 0), "说明：选中的组合模板至少需要 1 张横照片");
    EXPECT_EQ(CombinationNeedsLine(0, 2), "说明：选中的组合模板至少需要 1 张竖照片");
    EXPECT_EQ(CombinationNeedsLine(1, 1), "说明：选中的组合模板至少需要 1 张横照片和 1 张竖照片");
    EXPECT_EQ(CombinationNeedsLine(0, 0), std::nullopt);
}

TEST(CombinationSelection, AsksAgainUntilEveryNeededOrientationIsThere) {
    FakePhotos photos;
    const QString portrait = photos.add("s1", 3000, 4000);
    const QString landscape = photos.add("h1", 4000, 3000);
    CombinationPhotoSelection selection(2, 1);

    EXPECT_EQ(selection.add({portrait}, photos.reader()),
              QStringList{"当前选中的组合模板，至少需要添加 1 张横照片,点[确定]按钮继续添加照片"});
    EXPECT_FALSE(selection.ready());

    const QStringList messages = selection.add({"/photos/broken.jpg", landscape}, photos.reader());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_THAT(Text(messages[0]), HasSubstr("broken.jpg"));
    EXPECT_TRUE(selection.ready());
    EXPECT_EQ(selection.landscape().size(), 1);
    EXPECT_EQ(selection.portrait().size(), 1);
}

TEST(CombinationSelection, PromptsForEachMissingOrientation) {
    FakePhotos photos;
    CombinationPhotoSelection selection(1, 1);
    EXPECT_EQ(selection.add({}, photos.reader()),
              QStringList({"当前选中的组合模板，至少需要添加 1 张横照片,点[确定]按钮继续添加照片",
                           "当前选中的组合模板，至少需要添加 1 张竖照片,点[确定]按钮继续添加照片"}));
    EXPECT_FALSE(CombinationPhotoSelection(0, 0).ready()); // nothing chosen at all
}

class CombinationJob : public ::testing::Test {
protected:
    CombinationJob() {
        world.add(LandscapeTemplate("A"));
        world.add(LandscapeTemplate("B"));
        world.add(MakeTemplate("M", {{"heng", "m_1"}, {"shu", "m_2", 360, 640}}));
    }

    MatchingOutcome run(const QStringList& entries, const QStringList& files) {
        for (const QString& file : files)
            AppendPhotoRow(album, photos.reader()(file));
        album.rebuildPhotoLists();
        CombinationTemplate combination;
        combination.number = 1;
        for (const QString& entry : entries)
            combination.entries.append(CutCombinationEntry(entry));
        Job job;
        const MatchingOutcome outcome =
            CombinationMatcher(album, world.catalogue(), random).run(combination, job);
        EXPECT_EQ(Problems(album, world.catalogue()), QStringList());
        return outcome;
    }

    TemplateWorld world;
    FakePhotos photos;
    ScriptedRandom random;
    Album album;
};

TEST_F(CombinationJob, EntriesRepeatUntilEveryPhotoIsPlaced) {
    const MatchingOutcome outcome = run({"A~1~0~", "B~1~0~"}, photos.addMany("h", 3, 4000, 3000));
    EXPECT_EQ(UsedTemplateNames(album), QStringList({"A", "B", "A"}));
    EXPECT_EQ(SlotPhotos(album, 2), QStringList{"2"});
    EXPECT_EQ(outcome.placed, 3);
    EXPECT_TRUE(outcome.message.isEmpty());
}

TEST_F(CombinationJob, EveryEntryIsAppliedOnceEvenWithFewerPhotos) {
    run({"A~1~0~", "B~1~0~"}, photos.addMany("h", 1, 4000, 3000));
    EXPECT_EQ(UsedTemplateNames(album), QStringList({"A", "B"}));
    EXPECT_EQ(SlotPhotos(album, 0), QStringList{"0"});
    EXPECT_EQ(SlotPhotos(album, 1), QStringList{"0"});
}

TEST_F(CombinationJob, PhotosNoEntryCanTakeEndTheJobWithAMessage) {
    const MatchingOutcome outcome =
        run({"A~1~0~", "B~1~0~"}, {photos.add("h1", 4000, 3000), photos.add("s1", 3000, 4000)});
    EXPECT_EQ(UsedTemplateNames(album), QStringList({"A", "B"}));
    EXPECT_EQ(outcome.portraitLeft, 1);
    EXPECT_EQ(outcome.message, "还有 1 张竖照片没有放进模板：选中的组合模板中没有能放下这些照片的模板。");
    EXPECT_EQ(album.photos.cell(1, PhotoCol::Status), "");
}

TEST_F(CombinationJob, AnEntryThatNamesNoTemplateEndsTheJob) {
    const MatchingOutcome outcome = run({"Nope~1~0~", "A~1~1~"}, photos.addMany("h", 2, 4000, 3000));
    EXPECT_TRUE(album.usedTemplates.isEmpty());
    EXPECT_EQ(outcome.landscapeLeft, 2);
    EXPECT_FALSE(outcome.message.isEmpty());
}

TEST_F(CombinationJob, ASlotWithoutPhotosOfItsOrientationStaysEmpty) {
    const MatchingOutcome outcome = run({"M~1~1~"}, photos.addMany("h", 2, 4000, 3000));
    EXPECT_EQ(UsedTemplateNames(album), QStringList({"M", "M"}));
    EXPECT_EQ(SlotPhotos(album, 0), QStringList({"0", ""}));
    EXPECT_EQ(SlotPhotos(album, 1), QStringList({"1", ""}));
    for (int t = 0; t < 2; ++t)
        EXPECT_EQ(album.usedTemplates.cell(t, UsedTemplateCol::Matching), Words::Incomplete);
    EXPECT_TRUE(outcome.message.isEmpty());
}

TEST_F(CombinationJob, TheImportJobAddsLandscapePhotosFirst) {
    WriteCombination(world.tree, 1, {"M~1~1~"});
    const CombinationTemplate combination = ReadCombinationTemplate(world.paths(), 1);
    CombinationPhotoSelection selection(combination.landscapeSum, combination.portraitSum);
    const QStringList files{photos.add("s1", 3000, 4000), photos.add("h1", 4000, 3000)};
    selection.add(files, photos.reader());
    ASSERT_TRUE(selection.ready());

    PhotoImportJobs jobs(world.catalogue(), world.paths(), random, {}, photos.reader());
    Job job;
    const JobOutcome outcome = jobs.importForCombination(album, selection, combination, {}, job);
    ASSERT_TRUE(outcome.isDone() && outcome.album);
    album = *outcome.album;

    EXPECT_TRUE(outcome.messages.isEmpty()) << Text(outcome.messages.join('\n'));
    EXPECT_EQ(album.photos.cell(0, PhotoCol::Name), "h1");
    EXPECT_EQ(album.photos.cell(1, PhotoCol::Name), "s1");
    EXPECT_EQ(UsedTemplateNames(album), QStringList{"M"});
    EXPECT_EQ(SlotPhotos(album, 0), QStringList({"0", "1"}));
    EXPECT_EQ(album.usedTemplates.cell(0, UsedTemplateCol::Matching), Words::Complete);
    EXPECT_EQ(album.facts.Edit_mobanfashi, kCombinationMode);
    EXPECT_EQ(album.facts.Edit_zuhemoban_xuanhao, "0");
    EXPECT_EQ(Problems(album, world.catalogue()), QStringList());
}

} // namespace
