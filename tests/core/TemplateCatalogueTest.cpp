#include "core/TemplateCatalogue.h"
#include "core/Columns.h"
#include "core/Error.h"
#include "core/Package.h"
#include "core/TextHelpers.h"
#include "tests/support/TemplateFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace lumiset;
using lumiset::test::TemplateSpec;
using lumiset::test::TempTree;
using lumiset::test::WriteTemplate;
using ::testing::HasSubstr;

TEST(TemplateCatalogue, ClassifiesBySlotOrientations) {
    const struct {
        const char* orientations;
        const char* cls;
    } cases[] = {
        {"|heng|", "heng"},
        {"|shu|", "shu"},
        {"|shuheng|", "shuheng"},
        {"|heng|heng|", "gaojimoban"},
        {"|heng|shu|", "gaojimoban"},
        {"|shu|shu|shu|", "gaojimoban"},
        {"|shu|shuheng|shu|", "gaojimoban"},
        {"|shuheng|shuheng|", ""},
        {"|heng|shuheng|", ""},
        {"heng", ""},
        {"", ""},
        {"|round|", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClassifySlots(SplitBarList(c.orientations)), c.cls) << c.orientations;
}

TEST(TemplateCatalogue, CountsOnlyPicturesWithExactlyOneUnderscore) {
    const QStringList orientations{"heng", "shu", "heng", "shu", "shuheng"};
    const QStringList pictures{"zp_1", "zp_2", "frame", "a_b_c", "zp_5"};
    const SlotCounts inLandscape = CountPhotoSlots(orientations, pictures, false);
    EXPECT_EQ(inLandscape.landscape, 2); // zp_1 and the either-way zp_5
    EXPECT_EQ(inLandscape.portrait, 1);
    const SlotCounts inPortrait = CountPhotoSlots(orientations, pictures, true);
    EXPECT_EQ(inPortrait.landscape, 1);
    EXPECT_EQ(inPortrait.portrait, 2);
}

namespace {

// 3 advanced, 5 landscape (one of them either-way) and 3 portrait templates, scanned in name order.
TempTree makeDataFolder() {
    TempTree tree;
    const auto add = [&](const QString& stem, const QString& orientations, const QString& pictures,
                         const QString& frames = "250") {
        TemplateSpec design;
        design.name = QStringLiteral("模板") + stem;
        design.orientations = orientations;
        design.pictures = pictures;
        design.frames = frames;
        WriteTemplate(tree, stem, design);
    };
    add("a01", "|heng|", "|zp_1|");
    add("a02", "|heng|shu|", "|zp_1|zp_2|", "300");
    add("a03", "|shu|", "|zp_1|");
    add("b/a04", "|shuheng|", "|zp_1|"); // a sub-folder, listed at its position
    add("b/a05", "|heng|heng|heng|", "|zp_1|zp_2|zp_3|");
    add("c06", "|heng|", "|zp_1|");
    add("c07", "|shu|shu|", "|zp_1|zp_2|");
    add("c08", "|heng|", "|zp_1|", "1650");
    add("c09", "|shu|", "|zp_1|");
    add("c10", "|heng|shuheng|", "|zp_1|zp_2|"); // unclassified
    add("c11", "|heng|shu|heng|", "|zp_1|logo|zp_3|");
    return tree;
}

DataPaths pathsOf(const TempTree& tree) {
    return DataPaths(tree.path(), tree.path());
}

QStringList column(const Table& table, int col) {
    QStringList out;
    for (const QStringList& row : table.rows())
        out.append(row[col]);
    return out;
}

} // namespace

TEST(TemplateCatalogue, BuildsEveryTableFromTheDataFolder) {
    const TempTree tree = makeDataFolder();
    int lastPosition = 0, maximum = 0;
    const TemplateCatalogue c = TemplateCatalogue::build(pathsOf(tree), [&](int position, int max) {
        lastPosition = position;
        maximum = max;
    });
    EXPECT_EQ(lastPosition, 11);
    EXPECT_EQ(maximum, 11);

    ASSERT_EQ(c.catalogue().rowCount(), 11);
    const QStringList& a04 = c.catalogue().row(3);
    EXPECT_EQ(a04[CatalogueCol::Name], "模板b/a04");
    EXPECT_EQ(a04[CatalogueCol::Number], "3");
    EXPECT_EQ(a04[CatalogueCol::Class], "shuheng");
    EXPECT_EQ(a04[CatalogueCol::AnimationPath], tree.path() + "/korvel/wj_0_or_2/wjj_02/b/a04.rar");
    EXPECT_EQ(a04[CatalogueCol::Category], "浪漫");
    EXPECT_EQ(a04[CatalogueCol::FrameCount], "250");
    EXPECT_EQ(c.catalogue().cell(9, CatalogueCol::Class), "");

    // The either-way template is listed in both single lists; counts follow the list it is in.
    EXPECT_EQ(column(c.landscapeList(), ClassListCol::Number), (QStringList{"0", "3", "5", "7"}));
    EXPECT_EQ(column(c.portraitList(), ClassListCol::Number), (QStringList{"2", "3", "8"}));
    EXPECT_EQ(column(c.advancedList(), ClassListCol::Number), (QStringList{"1", "4", "6", "10"}));
    EXPECT_EQ(c.landscapeList().cell(1, ClassListCol::LandscapeCount), "1");
    EXPECT_EQ(c.landscapeList().cell(1, ClassListCol::PortraitCount), "0");
    EXPECT_EQ(c.portraitList().cell(1, ClassListCol::LandscapeCount), "0");
    EXPECT_EQ(c.portraitList().cell(1, ClassListCol::PortraitCount), "1");
    EXPECT_EQ(c.advancedList().cell(3, ClassListCol::LandscapeCount), "2"); // "logo" is no photo slot
    EXPECT_EQ(c.advancedList().cell(3, ClassListCol::PortraitCount), "0");

    // Published: advanced, then landscape, then portrait; the either-way template twice.
    const Table& list = c.templateList();
    EXPECT_EQ(column(list, TemplateListCol::Number),
              (QStringList{"1", "4", "6", "10", "0", "3", "5", "7", "2", "3", "8"}));
    EXPECT_EQ(list.row(0), (QStringList{"1", "模板a02", "高级模板", "1", "1", "00:00:12", "综合模板"}));
    EXPECT_EQ(list.row(5), (QStringList{"3", "模板b/a04", "单张模板", "1", "0", "00:00:10", "横照模板"}));
    EXPECT_EQ(list.row(7)[TemplateListCol::Duration], "00:01:06");
    EXPECT_EQ(list.row(9), (QStringList{"3", "模板b/a04", "单张模板", "0", "1", "00:00:10", "竖照模板"}));
}

TEST(TemplateCatalogue, PackageWithoutPayloadGivesNoRowButKeepsItsPosition) {
    TempTree tree = makeDataFolder();
    tree.write("korvel/wj_0_or_2/wjj_01/a02.rar", EncodePackage({}, 20));
    const TemplateCatalogue c = TemplateCatalogue::build(pathsOf(tree));
    ASSERT_EQ(c.catalogue().rowCount(), 10);
    EXPECT_EQ(c.catalogue().cell(1, CatalogueCol::Number), "2");
    EXPECT_EQ(c.catalogue().cell(1, CatalogueCol::AnimationPath),
              tree.path() + "/korvel/wj_0_or_2/wjj_02/a03.rar");
    EXPECT_EQ(c.rowOfTemplate(2), 1);
    EXPECT_EQ(c.rowOfTemplate(1), std::nullopt);
}

struct CatalogueFailure {
    const char* name;
    void (*damage)(const TempTree&);
    const char* message;
};

class CatalogueFailures : public ::testing::TestWithParam<CatalogueFailure> {};

TEST_P(CatalogueFailures, EndWithAClearMessage) {
    const TempTree tree = makeDataFolder();
    GetParam().damage(tree);
    try {
        TemplateCatalogue::build(pathsOf(tree));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_THAT(e.message().toStdString(), HasSubstr(GetParam().message));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CatalogueFailures,
    ::testing::Values(CatalogueFailure{"NoParameterPackages",
                                       [](const TempTree& tree) {
                                           QDir(tree.file("korvel/wj_0_or_2/wjj_01")).removeRecursively();
                                       },
                                       "没有找到模板文件"},
                      CatalogueFailure{"NoAnimationPackages",
                                       [](const TempTree& tree) {
                                           QDir(tree.file("korvel/wj_0_or_2/wjj_02")).removeRecursively();
                                       },
                                       "没有找到模板文件"},
                      CatalogueFailure{"UnpairedPackages",
                                       [](const TempTree& tree) {
                                           QFile::remove(tree.file("korvel/wj_0_or_2/wjj_02/c06.rar"));
                                       },
                                       "数量不一致"},
                      CatalogueFailure{"WrongMarker",
                                       [](const TempTree& tree) {
                                           TemplateSpec design;
                                           design.marker = "someone_else";
                                           WriteTemplate(tree, "c08", design);
                                       },
                                       "c08.rar"},
                      CatalogueFailure{"CorruptPackage",
                                       [](const TempTree& tree) {
                                           tree.write("korvel/wj_0_or_2/wjj_01/a03.rar", "\x10\0\0\0garbage");
                                       },
                                       "a03.rar"},
                      CatalogueFailure{"NonNumericFrameCount",
                                       [](const TempTree& tree) {
                                           TemplateSpec design;
                                           design.name = "坏模板";
                                           design.frames = "12x";
                                           WriteTemplate(tree, "c06", design);
                                       },
                                       "坏模板"},
                      CatalogueFailure{"NegativeFrameCount",
                                       [](const TempTree& tree) {
                                           TemplateSpec design;
                                           design.frames = "-200";
                                           WriteTemplate(tree, "c06", design);
                                       },
                                       "c06.rar"},
                      CatalogueFailure{"AbsurdFrameCount",
                                       [](const TempTree& tree) {
                                           TemplateSpec design;
                                           design.frames = "9223372036854775807";
                                           WriteTemplate(tree, "c09", design);
                                       },
                                       "c09.rar"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });
