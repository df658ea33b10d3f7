#include "effects/AutomaticPictureEffects.h"
#include "core/AlbumFile.h"
#include "core/Columns.h"
#include "tests/support/EffectFixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// Templates of the given frame counts (all used and complete unless listed in `incomplete`) and picture
// effects 1…6 with the given frame counts (0: the effect has no parameter file).
struct World {
    World(const QList<int>& templateFrames, const QList<int>& effectFrames,
          const QList<int>& incomplete = {}) {
        for (int t = 0; t < templateFrames.size(); ++t) {
            TemplateSpec design;
            design.frames = QString::number(templateFrames[t]);
            WriteTemplate(tree, QStringLiteral("t%1").arg(t + 1, 3, 10, QLatin1Char('0')), design);
        }
        for (int n = 1; n <= effectFrames.size(); ++n) {
            EffectSpec design;
            design.name = QStringLiteral("画面%1").arg(n);
            design.frames = QString::number(effectFrames[n - 1]);
            design.parameterFile = effectFrames[n - 1] > 0;
            design.framesDrawn = 1;
            WritePictureEffect(tree, n, design);
        }
        catalogue = TemplateCatalogue::build(PathsOf(tree));
        AlbumBuilder builder(album, catalogue);
        for (int t = 0; t < templateFrames.size(); ++t)
            builder.addTemplate(
                t, {incomplete.contains(t) ? -1 : builder.addPhoto(QStringLiteral("p%1").arg(t))});
    }

    QStringList column(int column) const {
        QStringList cells;
        for (const QStringList& row : album.pictureEffects.rows())
            cells.append(row[column]);
        return cells;
    }

    TempTree tree;
    TemplateCatalogue catalogue;
    EffectLibrary library{PathsOf(tree)};
    Album album;
};

const int kCartoon = 1; // "卡通特效组合": |1|5|5|5| at |0|0|1|2| and |2|5|6| at |0|0|0|

} // namespace

TEST(AutomaticPictureEffects, GroupsHoldTheirCombinations) {
    const QList<PictureEffectGroup>& groups = PictureEffectGroups();
    ASSERT_EQ(groups.size(), 5);
    EXPECT_EQ(groups[0].name, "婚纱特效组合");
    EXPECT_EQ(groups[0].combinations.size(), 4);
    EXPECT_EQ(groups[0].combinations[2].effects, "|3|5|5|6|");
    EXPECT_EQ(groups[0].combinations[2].offsets, "|0|0|1|0|");
    EXPECT_EQ(groups[4].name, "滤镜特效组合");
    EXPECT_EQ(groups[4].listName, "lujing");
    for (const PictureEffectGroup& g : groups)
        for (const PictureEffectCombination& c : g.combinations)
            EXPECT_EQ(c.effects.count(u'|'), c.offsets.count(u'|')) << c.effects.toStdString();
}

TEST(AutomaticPictureEffects, ASingleTemplateKeepsAFirstCombinationLongerThanTheAlbum) {
    World w({100}, {150, 40, 40, 40, 40, 40});
    ScriptedRandom random({0});
    const AutomaticRunResult result =
        AutomaticPictureEffects(w.catalogue, w.library, random).runManual(w.album, kCartoon);
    EXPECT_TRUE(result.completed);
    EXPECT_THAT(result.messages, ElementsAre("自动添加画面特效已完成,单击[确定]按钮返回到画面特效窗口！"));
    EXPECT_THAT(w.column(PictureEffectCol::Index), ElementsAre("0", "4", "4", "4"));
    EXPECT_THAT(w.column(PictureEffectCol::Start),
                ElementsAre("00:00:00", "00:00:00", "00:00:01", "00:00:02"));
    EXPECT_EQ(w.album.pictureEffects.row(0),
              QStringList({"150", "00:00:00", "暂无", "tingzhi", "画面1", "0", "自动添加", "wu"}));
    EXPECT_TRUE(AlbumProblems(w.album).isEmpty());
}

TEST(AutomaticPictureEffects, DropsTheCombinationThatOverrunsTheAlbumByMoreThanThirtyFrames) {
    World w({100, 200}, {120, 120, 40, 40, 40, 40});
    ScriptedRandom random({0, 1, 0});
    AutomaticPictureEffects(w.catalogue, w.library, random).runManual(w.album, kCartoon);
    EXPECT_EQ(random.ranges.size(), 3); // 120, 240, 360 > 330: the third is drawn and dropped
    EXPECT_THAT(w.column(PictureEffectCol::Index), ElementsAre("0", "4", "4", "4", "1", "4", "5"));
    EXPECT_THAT(w.column(PictureEffectCol::Start), ElementsAre("00:00:00", "00:00:00", "00:00:01", "00:00:02",
                                                               "00:00:04", "00:00:04", "00:00:04"));
}

TEST(AutomaticPictureEffects, KeepsACombinationWithinThirtyFramesOfTheEnd) {
    World w({100, 200}, {165, 165, 40, 40, 40, 40});
    ScriptedRandom random({0, 1});
    AutomaticPictureEffects(w.catalogue, w.library, random).runManual(w.album, kCartoon);
    EXPECT_EQ(w.album.pictureEffects.rowCount(), 7); // 330 = T + 30 frames is still placed
}

TEST(AutomaticPictureEffects, LaysCombinationsEndToEnd) {
    World w({250, 250}, {250, 250, 40, 40, 40, 40});
    ScriptedRandom random({0, 1});
    AutomaticPictureEffects(w.catalogue, w.library, random).runManual(w.album, kCartoon);
    EXPECT_THAT(w.column(PictureEffectCol::Start).mid(4),
                ElementsAre("00:00:10", "00:00:10", "00:00:10")); // |2|5|6| at B = 250 frames
}

TEST(AutomaticPictureEffects, OnlyCompleteTemplatesCountTowardsTheAlbumLength) {
    World w({100, 1000}, {100, 100, 40, 40, 40, 40}, {1});
    ScriptedRandom random;
    AutomaticPictureEffects(w.catalogue, w.library, random).runManual(w.album, kCartoon);
    EXPECT_EQ(random.ranges.size(), 1);
}

TEST(AutomaticPictureEffects, WithNoCompleteTemplateNothingIsPlacedAndTheRunStillCompletes) {
    World w({100}, {100, 100, 40, 40, 40, 40}, {0});
    ScriptedRandom random;
    const AutomaticRunResult result =
        AutomaticPictureEffects(w.catalogue, w.library, random).runManual(w.album, kCartoon);
    EXPECT_TRUE(result.completed);
    EXPECT_THAT(result.messages, ElementsAre("自动添加画面特效已完成,单击[确定]按钮返回到画面特效窗口！"));
    EXPECT_TRUE(w.album.pictureEffects.isEmpty());
}

TEST(AutomaticPictureEffects, ACombinationWhoseFirstEffectIsMissingIsNeverDrawn) {
    World w({300}, {0, 120, 40, 40, 40, 40}); // effect 1 has no parameter file
    ScriptedRandom random;
    const AutomaticRunResult result =
        AutomaticPictureEffects(w.catalogue, w.library, random).runManual(w.album, kCartoon);
    EXPECT_TRUE(result.completed);
    EXPECT_THAT(random.ranges, ElementsAre(std::pair(0, 0), std::pair(0, 0), std::pair(0, 0)));
    EXPECT_THAT(w.column(PictureEffectCol::Index), ElementsAre("1", "4", "5", "1", "4", "5", "1", "4", "5"));
    ASSERT_FALSE(result.notes.isEmpty());
    EXPECT_THAT(result.notes[0].toStdString(), HasSubstr("|1|5|5|5|"));
}

TEST(AutomaticPictureEffects, AMissingLaterEffectOfACombinationIsLeftOut) {
    World w({100}, {100, 100, 40, 40, 40}); // effect 6 is missing
    ScriptedRandom random({1});
    const AutomaticRunResult result =
        AutomaticPictureEffects(w.catalogue, w.library, random).runManual(w.album, kCartoon);
    EXPECT_THAT(w.column(PictureEffectCol::Index), ElementsAre("1", "4"));
    ASSERT_EQ(result.notes.size(), 1);
    EXPECT_THAT(result.notes[0].toStdString(), HasSubstr("画面特效 6"));
}

TEST(AutomaticPictureEffects, StopsWithAMessageWhenNoCombinationHasALength) {
    World w({300}, {0, 0, 0, 40, 40, 40}); // every group's first effects are missing
    w.album.pictureEffects.appendRow({"40", "00:00:01", "暂无", "tingzhi", "手动", "2", "手动添加", "wu"});
    const Album before = w.album;
    ScriptedRandom random;
    const AutomaticPictureEffects automatic(w.catalogue, w.library, random);
    const AutomaticRunResult manual = automatic.runManual(w.album, kCartoon);
    EXPECT_FALSE(manual.completed);
    EXPECT_THAT(manual.messages, ElementsAre(kNoPictureEffectCombination));
    EXPECT_EQ(w.album.pictureEffects, before.pictureEffects);

    const AutomaticRunResult hidden = automatic.runHidden(w.album);
    EXPECT_EQ(hidden.failure, kNoPictureEffectCombination);
    EXPECT_TRUE(hidden.messages.isEmpty());
    EXPECT_EQ(w.album.facts.Edit_zidongtianjia_huamiantexiao_wancheng,
              "zidongtianjia_huamiantexiao_wangcheng");
    EXPECT_EQ(w.album.pictureEffects, before.pictureEffects);
}

TEST(AutomaticPictureEffects, AMalformedFrameCountFailsWithoutChangingTheAlbum) {
    World w({300}, {100, 100, 40, 40, 40, 40});
    EffectSpec malformed;
    malformed.frames = "很多";
    malformed.framesDrawn = 1;
    WritePictureEffect(w.tree, 5, malformed);
    ScriptedRandom random;
    const AutomaticRunResult result =
        AutomaticPictureEffects(w.catalogue, w.library, random).runManual(w.album, kCartoon);
    EXPECT_FALSE(result.completed);
    ASSERT_EQ(result.messages.size(), 1);
    EXPECT_THAT(result.messages[0].toStdString(), HasSubstr("wj_x_g_c_l_5"));
    EXPECT_TRUE(w.album.pictureEffects.isEmpty());
}
