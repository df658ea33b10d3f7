// The template generator on small design folders: a valid folder builds a data folder the program
// reads; a design mistake stops the build with a message naming the file and what is wrong.
#include "core/Columns.h"
#include "core/DataPaths.h"
#include "core/TemplateCatalogue.h"
#include "tests/support/TempTree.h"

#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;

namespace {

const char* kTemplate = R"({
  "name": "测试模板", "seconds": 6, "motion": "m",
  "pictures": [{"name": "zp_1", "fits": "heng"}],
  "layers": [{"kind": "picture", "picture": "zp_1", "scale": 60, "in": {"style": "fade", "at": 0, "seconds": 1}}],
  "captions": [[1.0, "A"]]
})";

// The smallest design folder the generator accepts; `replace` swaps one file's text.
void writeDesigns(const TempTree& tree, const QString& file = {}, const QByteArray& text = {}) {
    const QList<std::pair<QString, QByteArray>> files = {
        {"01_a/category.json",
         R"({"name": "分类", "page": {"base": "#202020", "background": {}}, "handover": {"style": "fade"}})"},
        {"01_a/01_t.json", kTemplate},
        {"special/startup.json", R"({"name": "s", "seconds": 4, "page": {"base": "#000000"}})"},
        {"special/ending.json", R"({"name": "e", "seconds": 6, "page": {"base": "#000000"}})"},
        {"special/background_preview.json", R"({"name": "b", "seconds": 3, "page": {"background": {}}})"},
        {"combinations/01.json", R"({"name": "c", "entries": [{"template": "测试模板"}]})"},
    };
    for (const auto& [name, content] : files)
        tree.write("designs/" + name, name == file ? text : content);
}

struct GeneratorRun {
    int exitCode;
    QString errors;
};

GeneratorRun generate(const TempTree& tree) {
    QProcess p;
    p.start(LUMISET_TEMPLATE_GENERATOR, {"--sources", tree.file("designs"), "--out", tree.file("program")});
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardError())};
}

struct BadDesign {
    const char* what;
    const char* file;
    QByteArray from; // text in the valid template (or the whole file when empty)
    QByteArray to;
    const char* message; // a part of the error
};

const BadDesign kBadDesigns[] = {
    {"mistyped field", "01_a/01_t.json", R"("scale": 60)", R"("sacle": 60)", "sacle"},
    {"unknown entrance", "01_a/01_t.json", R"("style": "fade")", R"("style": "wobble")", "wobble"},
    {"photo name without one underscore", "01_a/01_t.json", R"("zp_1")", R"("zp_1_x")", "zp_1_x"},
    {"slots no class takes", "01_a/01_t.json", R"([{"name": "zp_1", "fits": "heng"}])",
     R"([{"name": "zp_1", "fits": "heng"}, {"name": "zp_2", "fits": "shuheng", "size": [10, 10]}])",
     "shuheng"},
    {"caption letter outside A-D", "01_a/01_t.json", R"([1.0, "A"])", R"([1.0, "E"])", "MARKS.md"},
    {"caption after the end", "01_a/01_t.json", R"([1.0, "A"])", R"([9.0, "A"])", "9"},
    {"too long", "01_a/01_t.json", R"("seconds": 6)", R"("seconds": 20)", "12"},
    {"broken JSON", "01_a/01_t.json", R"("motion": "m",)", R"("motion": "m")", "JSON"},
    {"combination of an unknown template", "combinations/01.json", R"(测试模板)", R"(无此模板)", "无此模板"},
};

void PrintTo(const BadDesign& bad, std::ostream* out) {
    *out << bad.what;
}

class GeneratorRejects : public ::testing::TestWithParam<BadDesign> {};

} // namespace

TEST(Generator, BuildsADataFolderTheCatalogueReads) {
    TempTree tree;
    writeDesigns(tree);
    const GeneratorRun run = generate(tree);
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const TemplateCatalogue c = TemplateCatalogue::build(DataPaths(tree.file("program"), tree.path()));
    ASSERT_EQ(c.landscapeList().rowCount(), 1);
    EXPECT_EQ(c.catalogue().cell(0, CatalogueCol::Name), "测试模板");
    EXPECT_EQ(c.catalogue().cell(0, CatalogueCol::FrameCount), "150");
    EXPECT_EQ(c.catalogue().cell(0, CatalogueCol::CaptionPositions), "|25|");
}

TEST(Generator, AMistakeLeavesTheLastGoodFolder) {
    TempTree tree;
    writeDesigns(tree);
    ASSERT_EQ(generate(tree).exitCode, 0);
    writeDesigns(tree, "combinations/01.json", R"({"name": "c", "entries": [{"template": "无此模板"}]})");
    ASSERT_EQ(generate(tree).exitCode, 1);
    const DataPaths paths(tree.file("program"), tree.path());
    EXPECT_EQ(TemplateCatalogue::build(paths).catalogue().rowCount(), 1);
    EXPECT_TRUE(QFileInfo::exists(paths.combinationPackage(1)));
}

TEST_P(GeneratorRejects, NamingTheFileAndTheProblem) {
    const BadDesign& bad = GetParam();
    TempTree tree;
    QByteArray text = bad.file == QByteArrayLiteral("combinations/01.json")
                          ? QByteArray(R"({"name": "c", "entries": [{"template": "测试模板"}]})")
                          : QByteArray(kTemplate);
    ASSERT_TRUE(text.contains(bad.from)) << bad.what;
    text.replace(bad.from, bad.to);
    writeDesigns(tree, bad.file, text);
    const GeneratorRun run = generate(tree);
    EXPECT_EQ(run.exitCode, 1) << bad.what;
    EXPECT_TRUE(run.errors.contains(QString::fromUtf8(bad.file))) << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains(QString::fromUtf8(bad.message))) << run.errors.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Mistakes, GeneratorRejects, ::testing::ValuesIn(kBadDesigns),
                         [](const auto& testInfo) { return "case" + std::to_string(testInfo.index); });
