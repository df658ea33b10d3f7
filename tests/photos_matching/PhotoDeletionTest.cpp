#include "photos/PhotoDeletion.h"
#include "core/AlbumFile.h"
#include "core/Columns.h"
#include "effects/AutomaticTextEffects.h"
#include "tests/support/EffectFixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;
using ::testing::ElementsAre;

namespace {

// Photos 1…5; used templates: A [photo 1], B [photos 2, 3], A [photo 4], A [photo 5]. Template A plays
// 250 frames with a caption at frame 30, template B 300 frames with a caption at frame 50. Every template
// got its automatic text effect, and one effect was placed by hand.
struct World {
    World() {
        TemplateSpec a;
        a.frames = "250";
        a.positions = "|30|";
        a.mandatoryMarks = "|A|";
        TemplateSpec b = a;
        b.frames = "300";
        b.positions = "|50|";
        b.orientations = "|heng|heng|";
        b.pictures = "|zp_1|zp_2|";
        b.widths = b.heights = "|0|0|";
        WriteTemplate(tree, "t001", a);
        WriteTemplate(tree, "t002", b);
        EffectSpec caption;
        caption.marks = "A";
        WriteTextEffect(tree, 1, 1, caption);
        catalogue = TemplateCatalogue::build(PathsOf(tree));

        AlbumBuilder builder(album, catalogue);
        for (int p = 1; p <= 5; ++p)
            builder.addPhoto(QStringLiteral("照片%1").arg(p), p == 2 ? 3000 : 4000, p == 2 ? 4000 : 3000);
        builder.addTemplate(0, {0});
        builder.addTemplate(1, {1, 2});
        builder.addTemplate(0, {3});
        builder.addTemplate(0, {4});
        ScriptedRandom setupDraws;
        const EffectLibrary library(PathsOf(tree));
        AutomaticTextEffects(catalogue, library, setupDraws, [] { return QTime(9, 5, 0); }).runHidden(album);
        album.textEffects.appendRow({"3", "00:00:07", "暂无", "tingzhi", "手动", "0", "1", "1", "1", "", "",
                                     "", "", "手动添加", "wu"});
    }

    PhotoDeletion deletion(bool answer) {
        return PhotoDeletion(catalogue, random,
                             [this, answer](const QString& caption, const QString& question) {
                                 questions.append(caption + u'|' + question);
                                 return answer;
                             });
    }

    QStringList column(const Table& table, int column) const {
        QStringList cells;
        for (const QStringList& row : table.rows())
            cells.append(row[column]);
        return cells;
    }

    TempTree tree;
    TemplateCatalogue catalogue;
    Album album;
    ScriptedRandom random;
    QStringList questions;
};

} // namespace

TEST(PhotoDeletion, TheFixtureTimesEveryTemplatesCaption) {
    World w;
    EXPECT_THAT(w.column(w.album.textEffects, TextEffectCol::Start),
                ElementsAre("00:00:01", "00:00:12", "00:00:23", "00:00:33", "00:00:07"));
    EXPECT_TRUE(AlbumProblems(w.album, 2).isEmpty());
}

TEST(PhotoDeletion, DeletingTheThirdOfFivePhotosShiftsReferencesAndRemovesItsTemplatesEffects) {
    World w;
    const EditResult result = w.deletion(true).deleteOne(w.album, 2);

    EXPECT_TRUE(result.changed);
    EXPECT_THAT(
        w.questions,
        ElementsAre("删除照片|此张照片文件在 1 个模板文件中使用,删除后,模板文件中的照片文件也会被删除,"
                    "是否确定要删除当前选中的照片文件?"));
    EXPECT_THAT(result.messages,
                ElementsAre("选中的照片文件已经删除！",
                            "此张照片文件删除后,自动匹配到相关模板中的文字特效也已经删除!！"));
    const Album& a = w.album;
    EXPECT_THAT(w.column(a.photos, PhotoCol::Number), ElementsAre("1", "2", "3", "4"));
    EXPECT_THAT(w.column(a.photos, PhotoCol::Name), ElementsAre("照片1", "照片2", "照片4", "照片5"));
    EXPECT_THAT(w.column(a.templateSlots, SlotCol::PhotoRow), ElementsAre("0", "1", "", "2", "3"));
    EXPECT_THAT(w.column(a.usedTemplates, UsedTemplateCol::Matching),
                ElementsAre("已完成", "未完成", "已完成", "已完成"));
    const QStringList emptied = a.templateSlots.row(2);
    for (int c : {int(SlotCol::MatchState), int(SlotCol::PhotoPath), int(SlotCol::CropLeft),
                  int(SlotCol::CropMode), int(SlotCol::ModerateHeight), int(SlotCol::TextEffectMark)})
        EXPECT_TRUE(emptied[c].isEmpty()) << c;
    EXPECT_EQ(emptied[SlotCol::Picture], "zp_2"); // the slot itself stays

    // Template B lost its caption and its stamp; it no longer plays, so the captions after it move up by
    // its 300 frames. The one placed by hand keeps its time.
    EXPECT_THAT(w.column(a.templateSlots, SlotCol::TextEffectMark),
                ElementsAre("090500_0", "", "", "090500_2", "090500_3"));
    EXPECT_THAT(w.column(a.textEffects, TextEffectCol::UsedRow), ElementsAre("0", "2", "3", ""));
    EXPECT_THAT(w.column(a.textEffects, TextEffectCol::Start),
                ElementsAre("00:00:01", "00:00:11", "00:00:21", "00:00:07"));

    // The background refresh gave every template a landscape photo of the four left.
    EXPECT_THAT(w.column(a.landscapePhotos, LandscapePhotoCol::PhotoRow), ElementsAre("0", "2", "3"));
    EXPECT_THAT(w.column(a.backgrounds, BackgroundCol::PictureName),
                ElementsAre("照片1", "照片1", "照片1", "照片1"));
    EXPECT_TRUE(AlbumProblems(a, 2).isEmpty());
}

TEST(PhotoDeletion, APhotoInNoSlotGoesWithoutTouchingTheEffects) {
    World w;
    AlbumBuilder(w.album, w.catalogue).addPhoto("新照片");
    const Table effects = w.album.textEffects;
    const EditResult result = w.deletion(true).deleteOne(w.album, 5);
    EXPECT_THAT(w.questions, ElementsAre("删除照片|是否确定要删除当前选中的照片文件?"));
    EXPECT_THAT(result.messages, ElementsAre("选中的照片文件已经删除！"));
    EXPECT_EQ(w.album.photos.rowCount(), 5);
    EXPECT_EQ(w.album.textEffects, effects);
    EXPECT_TRUE(AlbumProblems(w.album, 2).isEmpty());
}

struct RefusedDeletion {
    const char* name;
    bool emptyAlbum;
    int selected;
    bool answer;
    QStringList questions;
    QStringList messages;
};

class PhotoDeletionRefused : public ::testing::TestWithParam<RefusedDeletion> {};

TEST_P(PhotoDeletionRefused, LeavesTheAlbumAsItWas) {
    const RefusedDeletion& c = GetParam();
    World w;
    if (c.emptyAlbum)
        w.album.clearTables();
    const Album before = w.album;
    const EditResult result = w.deletion(c.answer).deleteOne(w.album, c.selected);
    EXPECT_FALSE(result.changed);
    EXPECT_EQ(w.questions, c.questions);
    EXPECT_EQ(result.messages, c.messages);
    for (int t = 0; t < before.tables().size(); ++t)
        EXPECT_EQ(*w.album.tables()[t], *before.tables()[t]) << before.tables()[t]->name().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PhotoDeletionRefused,
    ::testing::Values(RefusedDeletion{"no_photos", true, 0, true, {}, {"没有添加照片文件！"}},
                      RefusedDeletion{
                          "declined",
                          false,
                          0,
                          false,
                          {"删除照片|此张照片文件在 1 个模板文件中使用,删除后,模板文件中的照片文件也会被"
                           "删除,是否确定要删除当前选中的照片文件?"},
                          {}},
                      RefusedDeletion{"nothing_selected",
                                      false,
                                      -1,
                                      true,
                                      {"删除照片|是否确定要删除当前选中的照片文件?"},
                                      {"没有选中照片文件！"}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(PhotoDeletion, DeletingAllPhotosEmptiesTheTemplatesAndTheirAutomaticEffects) {
    World w;
    const EditResult result = w.deletion(true).deleteAll(w.album);
    EXPECT_TRUE(result.changed);
    EXPECT_THAT(
        w.questions,
        ElementsAre("删除照片|是否确定要删除全部照片文件?删除后,自动添加到模板中的文字特效也会被全部删除!"));
    EXPECT_THAT(result.messages, ElementsAre("照片文件已经全部删除！"));
    for (const Table* t : std::initializer_list<const Table*>{&w.album.photos, &w.album.landscapePhotos,
                                                              &w.album.usedTemplates, &w.album.templateSlots,
                                                              &w.album.backgrounds})
        EXPECT_TRUE(t->isEmpty()) << t->name().toStdString();
    EXPECT_THAT(w.column(w.album.textEffects, TextEffectCol::Name), ElementsAre("手动"));
    EXPECT_TRUE(AlbumProblems(w.album, 2).isEmpty());
}

TEST(PhotoDeletion, DeletingAllAsksPlainlyWithoutAutomaticEffectsAndNotAtAllWithoutPhotos) {
    World w;
    w.album.textEffects.clear();
    EXPECT_FALSE(w.deletion(false).deleteAll(w.album).changed);
    EXPECT_THAT(w.questions, ElementsAre("删除照片|是否确定要删除全部照片文件?"));
    EXPECT_EQ(w.album.photos.rowCount(), 5);

    w.album.clearTables();
    EXPECT_THAT(w.deletion(true).deleteAll(w.album).messages, ElementsAre("没有添加照片文件！"));
    EXPECT_EQ(w.questions.size(), 1);
}
