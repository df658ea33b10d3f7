#include "effects/AutomaticTextEffects.h"

#include "core/AlbumFile.h"
#include "core/Columns.h"
#include "core/JobRunner.h"
#include "effects/AutomaticTextMarks.h"
#include "tests/support/EffectFixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

TemplateSpec captioned(const QString& frames, const QString& positions = {}, const QString& mandatory = {},
                       const QString& random = {}) {
    TemplateSpec design;
    design.frames = frames;
    design.positions = positions;
    design.mandatoryMarks = mandatory;
    design.randomMarks = random;
    return design;
}

EffectSpec suiting(const QString& marks, const QString& name = QStringLiteral("文字")) {
    EffectSpec design;
    design.marks = marks;
    design.name = name + marks;
    return design;
}

// A data folder with templates t001, t002, … (catalogue rows 0, 1, …) and text effects of category 1.
struct World {
    World(const QList<TemplateSpec>& templates, const QList<EffectSpec>& effects) {
        for (int t = 0; t < templates.size(); ++t)
            WriteTemplate(tree, QStringLiteral("t%1").arg(t + 1, 3, 10, QLatin1Char('0')), templates[t]);
        for (int e = 0; e < effects.size(); ++e)
            WriteTextEffect(tree, 1, e + 1, effects[e]);
        catalogue = TemplateCatalogue::build(PathsOf(tree));
    }

    // One used template per entry: its catalogue row, complete or not.
    void use(const QList<std::pair<int, bool>>& templates) {
        AlbumBuilder builder(album, catalogue);
        for (const auto& [row, complete] : templates)
            builder.addTemplate(row, {complete ? builder.addPhoto(QStringLiteral("照片%1").arg(row)) : -1});
    }

    AutomaticTextEffects automatic(RandomSource& random) const {
        return AutomaticTextEffects(catalogue, library, random, [] { return QTime(14, 30, 5); });
    }

    QStringList column(int column) const {
        QStringList cells;
        for (const QStringList& row : album.textEffects.rows())
            cells.append(row[column]);
        return cells;
    }

    QStringList stampedTemplates() const {
        QStringList rows;
        for (const QStringList& slot : album.templateSlots.rows())
            if (!slot[SlotCol::TextEffectMark].isEmpty())
                rows.append(slot[SlotCol::UsedRow]);
        return rows;
    }

    TempTree tree;
    TemplateCatalogue catalogue;
    EffectLibrary library{PathsOf(tree)};
    Album album;
};

const int kCategoryOne = 2; // selector entry "02 婚纱文字元素"

} // namespace

TEST(AutomaticTextEffects, CaptionMarksAreTheCharactersBetweenTheBars) {
    EXPECT_THAT(CaptionMarks("|A|B|"), ElementsAre("A", "B"));
    EXPECT_THAT(CaptionMarks("|X|"), ElementsAre("X"));
    EXPECT_TRUE(CaptionMarks("").isEmpty());
    EXPECT_TRUE(CaptionMarks("|").isEmpty());
}

TEST(AutomaticTextEffects, PlacesOneEffectPerMarkAtItsFramePositionAfterTheTemplatesBefore) {
    World w({captioned("250"), captioned("300", "|50|200|", "|A|B|")}, {suiting("A"), suiting("B")});
    w.use({{0, true}, {1, true}});
    ScriptedRandom random;
    const AutomaticRunResult result = w.automatic(random).runHidden(w.album);

    EXPECT_TRUE(result.completed);
    EXPECT_TRUE(result.messages.isEmpty());
    EXPECT_EQ(result.effectsAdded, 2);
    EXPECT_EQ(w.album.facts.Edit_zidongtianjia_wenzitexiao_wancheng, "zidongtianjia_wenzitexiao_wangcheng");
    ASSERT_EQ(w.album.textEffects.rowCount(), 2);
    EXPECT_EQ(w.album.textEffects.row(0),
              QStringList({"3", "00:00:12", "暂无", "tingzhi", "文字A", "0", "10", "20", "1", "143005_1", "A",
                           "1", "50", "自动添加", "wu"}));
    EXPECT_EQ(w.album.textEffects.cell(1, TextEffectCol::Start), "00:00:18"); // 250 + 200 frames
    EXPECT_EQ(w.album.textEffects.cell(1, TextEffectCol::Index), "1");
    EXPECT_THAT(w.stampedTemplates(), ElementsAre("1"));
    EXPECT_TRUE(AlbumProblems(w.album, w.catalogue.catalogue().rowCount()).isEmpty());
}

class RandomMark : public ::testing::TestWithParam<std::tuple<int, const char*>> {};

TEST_P(RandomMark, IsDrawnFromTheRandomSetAndTakesTheLastPosition) {
    const auto [draw, mark] = GetParam();
    World w({captioned("300", "|50|200|", "|A|", "|X|Y|")}, {suiting("A"), suiting("X"), suiting("Y")});
    w.use({{0, true}});
    ScriptedRandom random({draw});
    w.automatic(random).runHidden(w.album);
    EXPECT_EQ(random.ranges.first(), std::pair(1, 2));
    EXPECT_THAT(w.column(TextEffectCol::MarkLetter), ElementsAre("A", mark));
    EXPECT_THAT(w.column(TextEffectCol::FramePosition), ElementsAre("50", "200"));
}

INSTANTIATE_TEST_SUITE_P(Draws, RandomMark, ::testing::Values(std::tuple(1, "X"), std::tuple(2, "Y")));

TEST(AutomaticTextEffects, ARandomMarkBeyondThePositionsRepeatsTheLastPosition) {
    World w({captioned("300", "|50|", "|A|", "|X|")}, {suiting("A"), suiting("X")});
    w.use({{0, true}});
    ScriptedRandom random;
    w.automatic(random).runHidden(w.album);
    EXPECT_THAT(w.column(TextEffectCol::MarkLetter), ElementsAre("A", "X"));
    EXPECT_THAT(w.column(TextEffectCol::Start), ElementsAre("00:00:02", "00:00:02"));
}

struct ChoiceCase {
    const char* name;
    TemplateChoice choice;
    int interval;
    QList<int> draws;
    QStringList stamped;
};

class TemplateChoiceRule : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(TemplateChoiceRule, PicksTheEligibleTemplates) {
    const ChoiceCase& c = GetParam();
    World w({captioned("100", "|10|", "|A|")}, {suiting("A")});
    w.use({{0, true}, {0, true}, {0, true}, {0, true}, {0, true}});
    ScriptedRandom random(c.draws);
    AutomaticTextOptions options;
    options.categoryIndex = kCategoryOne;
    options.choice = c.choice;
    options.interval = c.interval;
    const AutomaticRunResult result = w.automatic(random).runManual(w.album, options);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(w.stampedTemplates(), c.stamped);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, TemplateChoiceRule,
    ::testing::Values(ChoiceCase{"every", TemplateChoice::EveryTemplate, 1, {}, {"0", "1", "2", "3", "4"}},
                      ChoiceCase{"interval1", TemplateChoice::Interval, 1, {}, {"0", "2", "4"}},
                      ChoiceCase{"interval2", TemplateChoice::Interval, 2, {}, {"1", "4"}},
                      ChoiceCase{"interval3", TemplateChoice::Interval, 3, {}, {"2"}},
                      ChoiceCase{"interval9", TemplateChoice::Interval, 9, {}, {}},
                      // Odd draws in 0…5 choose a template; each chosen template then draws its effect.
                      ChoiceCase{"random", TemplateChoice::Random, 1, {5, 0, 0, 2, 3, 0, 4}, {"0", "3"}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(AutomaticTextEffects, AnIncompleteTemplateGetsNothingAndAddsNoTime) {
    World w({captioned("250"), captioned("300", "|50|", "|A|")}, {suiting("A")});
    w.use({{0, true}, {1, false}, {1, true}});
    ScriptedRandom random;
    AutomaticTextOptions options;
    options.categoryIndex = kCategoryOne;
    const AutomaticRunResult result = w.automatic(random).runManual(w.album, options);
    EXPECT_THAT(result.messages,
                ElementsAre("已经使用的模板文件有 1 个模板文件没有匹配相片文件!这些将被忽略添加文字特效!",
                            "自动加入文字特效到已使用模板中完成,单击[确定]按钮返回到文字特效窗口！"));
    EXPECT_THAT(w.column(TextEffectCol::UsedRow), ElementsAre("2"));
    EXPECT_THAT(w.column(TextEffectCol::Start), ElementsAre("00:00:12")); // 250 + 50 frames
    EXPECT_TRUE(AlbumProblems(w.album).isEmpty());
}

class MarkWeight : public ::testing::TestWithParam<std::tuple<int, const char*>> {};

TEST_P(MarkWeight, CountsEveryRepetitionOfTheMarkAsOneCandidate) {
    const auto [draw, chosen] = GetParam();
    World w({captioned("300", "|50|", "|A|")}, {suiting("AA", "双"), suiting("A", "单")});
    w.use({{0, true}});
    ScriptedRandom random({draw});
    w.automatic(random).runHidden(w.album);
    EXPECT_THAT(random.ranges, ElementsAre(std::pair(0, 2))); // three candidates: 双 twice, 单 once
    EXPECT_THAT(w.column(TextEffectCol::Name), ElementsAre(chosen));
}

INSTANTIATE_TEST_SUITE_P(Draws, MarkWeight,
                         ::testing::Values(std::tuple(0, "双AA"), std::tuple(1, "双AA"),
                                           std::tuple(2, "单A")));

TEST(AutomaticTextEffects, SkipsAMarkWithoutSuitableEffectOrWithoutPosition) {
    World w({captioned("300", "|50|", "|A|B|C|")}, {suiting("AC")});
    w.use({{0, true}});
    ScriptedRandom random;
    const AutomaticRunResult result = w.automatic(random).runHidden(w.album);
    EXPECT_TRUE(result.completed);
    EXPECT_THAT(w.column(TextEffectCol::MarkLetter), ElementsAre("A"));
    ASSERT_EQ(result.notes.size(), 2);
    EXPECT_THAT(result.notes[0].toStdString(), HasSubstr("“B”没有对应的帧位置"));
    EXPECT_THAT(result.notes[1].toStdString(), HasSubstr("“C”没有对应的帧位置"));

    World unsuited({captioned("300", "|50|60|", "|A|B|")}, {suiting("A")});
    unsuited.use({{0, true}});
    const AutomaticRunResult second = unsuited.automatic(random).runHidden(unsuited.album);
    EXPECT_THAT(unsuited.column(TextEffectCol::MarkLetter), ElementsAre("A"));
    ASSERT_EQ(second.notes.size(), 1);
    EXPECT_THAT(second.notes[0].toStdString(), HasSubstr("“B”没有合适的文字特效"));
    EXPECT_THAT(unsuited.stampedTemplates(), ElementsAre("0"));
}

TEST(AutomaticTextEffects, AFailedHiddenRunChangesNothingButStillReportsCompletion) {
    EffectSpec malformed = suiting("A");
    malformed.frames = "abc";
    World w({captioned("300", "|50|", "|A|")}, {malformed});
    w.use({{0, true}});
    const Album before = w.album;
    ScriptedRandom random;
    const AutomaticRunResult result = w.automatic(random).runHidden(w.album);
    EXPECT_FALSE(result.completed);
    EXPECT_THAT(result.failure.toStdString(), HasSubstr("wj_x_g_c_l_sum"));
    EXPECT_TRUE(result.messages.isEmpty());
    EXPECT_EQ(w.album.facts.Edit_zidongtianjia_wenzitexiao_wancheng, "zidongtianjia_wenzitexiao_wangcheng");
    EXPECT_EQ(w.album.textEffects, before.textEffects);
    EXPECT_EQ(w.album.templateSlots, before.templateSlots);
}

TEST(AutomaticTextEffects, AFailedManualRunShowsWhy) {
    EffectSpec malformed = suiting("A");
    malformed.positionMode = "n";
    malformed.x = "左边";
    World w({captioned("300", "|50|", "|A|")}, {malformed});
    w.use({{0, true}});
    ScriptedRandom random;
    AutomaticTextOptions options;
    options.categoryIndex = kCategoryOne;
    const AutomaticRunResult result = w.automatic(random).runManual(w.album, options);
    EXPECT_TRUE(result.started);
    EXPECT_FALSE(result.completed);
    ASSERT_EQ(result.messages.size(), 1);
    EXPECT_THAT(result.messages[0].toStdString(), HasSubstr("wj_x_g_c_l_wz1"));
    EXPECT_TRUE(w.album.textEffects.isEmpty());
}

// The same run as a job: the album comes back only from a run that went through.
TEST(AutomaticTextEffects, AManualRunAsAJobHandsBackTheAlbumOnlyWhenItCompleted) {
    EffectSpec malformed = suiting("A");
    malformed.x = "左边";
    for (const bool broken : {false, true}) {
        World w({captioned("300", "|50|", "|A|")}, {broken ? malformed : suiting("A")});
        w.use({{0, true}});
        ScriptedRandom random;
        const AutomaticTextEffects automatic = w.automatic(random);
        AutomaticTextOptions options;
        options.categoryIndex = kCategoryOne;
        Job control;
        const JobOutcome outcome = RunJobHere(w.album, AutomaticRunJob([&](Album& a, const Job& c) {
                                                  return automatic.runManual(a, options, &c);
                                              }),
                                              control);
        SCOPED_TRACE(broken ? "broken effect" : "sound effect");
        EXPECT_EQ(outcome.status, broken ? JobOutcome::Status::Failed : JobOutcome::Status::Done);
        EXPECT_EQ(outcome.album.has_value(), !broken);
        if (outcome.album) {
            EXPECT_EQ(outcome.album->textEffects.rowCount(), 1);
        }
        EXPECT_EQ(outcome.messages.size(), 1);
    }
}

struct RefusalCase {
    const char* name;
    int categoryIndex;
    QList<std::pair<int, bool>> templates;
    const char* message;
};

class StartCheck : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(StartCheck, RefusesWithTheMessage) {
    const RefusalCase& c = GetParam();
    World w({captioned("300", "|50|", "|A|")}, {suiting("A")});
    w.use(c.templates);
    const Album before = w.album;
    ScriptedRandom random;
    AutomaticTextOptions options;
    options.categoryIndex = c.categoryIndex;
    const AutomaticRunResult result = w.automatic(random).runManual(w.album, options);
    EXPECT_FALSE(result.started);
    EXPECT_THAT(result.messages, ElementsAre(c.message));
    EXPECT_EQ(w.album.templateSlots, before.templateSlots);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, StartCheck,
    ::testing::Values(RefusalCase{"nothing_chosen", -1, {{0, true}}, "没有选择文字特效分类。"},
                      RefusalCase{"short_separator", 15, {{0, true}}, "没有选择文字特效分类。"},
                      RefusalCase{"no_templates", 0, {}, "没有添加相片文件或模板文件!"},
                      RefusalCase{
                          "none_complete",
                          0,
                          {{0, false}, {0, false}},
                          "已经使用的模板文件有 2 个模板文件没有匹配相片文件!请匹配后再添加文字特效!"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(AutomaticTextEffects, FillsOnlyTemplatesWithoutAutomaticEffects) {
    World w({captioned("300", "|50|", "|A|")}, {suiting("A")});
    w.use({{0, true}, {0, true}});
    ScriptedRandom random;
    w.automatic(random).runHidden(w.album);
    ASSERT_EQ(w.album.textEffects.rowCount(), 2);
    EXPECT_EQ(w.automatic(random).runHidden(w.album).effectsAdded, 0);

    // Removing the first template's effects makes it eligible again, and only it.
    EXPECT_EQ(RemoveAutomaticTextEffects(w.album, "143005_0"), 1);
    EXPECT_THAT(w.stampedTemplates(), ElementsAre("1"));
    EXPECT_EQ(w.automatic(random).runHidden(w.album).effectsAdded, 1);
    EXPECT_THAT(w.column(TextEffectCol::UsedRow), ElementsAre("1", "0"));
    EXPECT_THAT(w.column(TextEffectCol::Start), ElementsAre("00:00:14", "00:00:02"));
    EXPECT_TRUE(AlbumProblems(w.album).isEmpty());
}

TEST(AutomaticTextEffects, AStoppedRunChangesNothing) {
    World w({captioned("300", "|50|", "|A|")}, {suiting("A")});
    w.use({{0, true}});
    Job job;
    job.requestStop();
    ScriptedRandom random;
    const AutomaticRunResult result = w.automatic(random).runHidden(w.album, &job);
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(result.completed);
    EXPECT_TRUE(w.album.textEffects.isEmpty());
    EXPECT_TRUE(w.stampedTemplates().isEmpty());
}

TEST(AutomaticTextEffects, ReportsTwoProgressStepsPerTemplate) {
    World w({captioned("300", "|50|", "|A|")}, {suiting("A")});
    w.use({{0, true}, {0, false}, {0, true}});
    QList<int> positions;
    int maximum = 0;
    const Job job([&](int position, int max, const QString&) {
        positions.append(position);
        maximum = max;
    });
    ScriptedRandom random;
    w.automatic(random).runHidden(w.album, &job);
    EXPECT_EQ(maximum, 6);
    EXPECT_THAT(positions, ElementsAre(1, 2, 3, 6));
}
