// Each template's parameter file and movie agree with each other and with how the program prepares,
// matches and plays templates.
#include "core/Folders.h"
#include "core/TemplateCatalogue.h"
#include "core/TextHelpers.h"
#include "tests/data/ShippedData.h"

#include <QJsonArray>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;

namespace {

class ShippedTemplates : public ::testing::Test {
protected:
    static void SetUpTestSuite() { templates_ = new std::vector<ShippedTemplate>(LoadShippedTemplates()); }
    static void TearDownTestSuite() { delete templates_; }
    static const std::vector<ShippedTemplate>& templates() { return *templates_; }
    static QString value(const ShippedTemplate& t, const char* key) { return t.parameters.value("1", key); }

private:
    static std::vector<ShippedTemplate>* templates_;
};

std::vector<ShippedTemplate>* ShippedTemplates::templates_ = nullptr;

} // namespace

TEST_F(ShippedTemplates, BothTreesPairUpOneToOne) {
    const DataPaths paths = ShippedPaths();
    const QStringList parameters = ScanPackages(paths.templateParameterTree());
    const QStringList animations = ScanPackages(paths.templateAnimationTree());
    ASSERT_EQ(parameters.size(), animations.size());
    EXPECT_GE(parameters.size(), 30);
    for (int k = 0; k < parameters.size(); ++k)
        EXPECT_EQ(parameters[k].mid(paths.templateParameterTree().size()),
                  animations[k].mid(paths.templateAnimationTree().size()));
}

TEST_F(ShippedTemplates, ParameterFilesAreGenuineAndComplete) {
    QSet<QString> names;
    for (const ShippedTemplate& t : templates()) {
        SCOPED_TRACE(t.parameterPackage.toStdString());
        EXPECT_EQ(t.parameters.value("l_x_k_r_v_t_w_j_s_y", "l_x_k_r_v_t_w_j_s_y"), kTemplateMarker);
        EXPECT_FALSE(t.name().isEmpty());
        EXPECT_FALSE(names.contains(t.name())) << "duplicate name";
        names.insert(t.name());
        EXPECT_FALSE(value(t, "mbfl").isEmpty());
        const QStringList pictures = SplitBarList(value(t, "xpjpgmc"));
        EXPECT_EQ(SplitBarList(value(t, "xpkd")).size(), pictures.size());
        EXPECT_EQ(SplitBarList(value(t, "xpgd")).size(), pictures.size());
        EXPECT_EQ(SplitBarList(value(t, "szhz")).size(), pictures.size());
        EXPECT_TRUE(IsPhotoPlaceholder(pictures.value(0))) << "the first picture must be a photo";
        EXPECT_EQ(value(t, "xpsl").toInt(),
                  std::count_if(pictures.begin(), pictures.end(), IsPhotoPlaceholder));
        EXPECT_FALSE(ClassifySlots(SplitBarList(value(t, "szhz"))).isEmpty()) << "never used without a class";
    }
}

TEST_F(ShippedTemplates, MovieMatchesTheParameters) {
    for (const ShippedTemplate& t : templates()) {
        SCOPED_TRACE(t.animationPackage.toStdString());
        const QJsonObject& m = t.movie;
        EXPECT_TRUE(CarriesMarker(m, kTemplateMarker));
        EXPECT_EQ(m.value("w").toInt(), 1920);
        EXPECT_EQ(m.value("h").toInt(), 1080);
        EXPECT_EQ(m.value("fr").toInt(), 25);
        const int frames = m.value("op").toInt();
        EXPECT_EQ(QString::number(frames), value(t, "mbdx"));
        EXPECT_GE(frames, 5 * 25);
        EXPECT_LE(frames, 12 * 25);
        EXPECT_EQ(SubsetProblems(m), QStringList());
    }
}

TEST_F(ShippedTemplates, EveryPictureHasAnAssetOfTheSlotSize) {
    for (const ShippedTemplate& t : templates()) {
        SCOPED_TRACE(t.animationPackage.toStdString());
        const QStringList names = SplitBarList(value(t, "xpjpgmc"));
        const QStringList widths = SplitBarList(value(t, "xpkd"));
        const QStringList heights = SplitBarList(value(t, "xpgd"));
        for (int i = 0; i < names.size(); ++i) {
            SCOPED_TRACE(names[i].toStdString());
            const QJsonObject asset = FindAsset(t.movie, names[i]);
            ASSERT_FALSE(asset.isEmpty());
            const bool wholeFrame = widths[i] == "0";
            EXPECT_EQ(asset.value("w").toInt(), wholeFrame ? 1920 : widths[i].toInt());
            EXPECT_EQ(asset.value("h").toInt(), wholeFrame ? 1080 : heights[i].toInt());
            if (IsPhotoPlaceholder(names[i])) {
                EXPECT_EQ(asset.value("e").toInt(), 0);
                EXPECT_EQ(asset.value("u").toString(), "");
                EXPECT_EQ(asset.value("p").toString(), names[i] + ".jpg");
            } else {
                // A package holds one payload: fixed pictures travel inside the movie.
                EXPECT_EQ(asset.value("e").toInt(), 1);
                EXPECT_TRUE(asset.value("p").toString().startsWith("data:image/png;base64,"));
            }
        }
    }
}

TEST_F(ShippedTemplates, ShowBackgroundAndHandOverPictures) {
    for (const ShippedTemplate& t : templates()) {
        SCOPED_TRACE(t.animationPackage.toStdString());
        const auto background = LayersNamed(t.movie, "num_stop");
        ASSERT_EQ(background.size(), 1u);
        const QJsonObject bg = FindAsset(t.movie, background[0].value("refId").toString());
        EXPECT_EQ(bg.value("p").toString(), "wj_y_l_b_j.jpg");
        EXPECT_EQ(bg.value("w").toInt(), 1920);
        EXPECT_EQ(bg.value("h").toInt(), 1080);
        bool handOver = false;
        for (const QJsonValue& a : t.movie.value("assets").toArray())
            handOver |= a.toObject().value("p").toString() == "picture_0.jpg" &&
                        a.toObject().value("u").toString() == "../../pic/";
        EXPECT_TRUE(handOver);
    }
}

TEST_F(ShippedTemplates, CaptionMarksUseTheDocumentedLettersInsideTheTemplate) {
    int withCaptions = 0;
    for (const ShippedTemplate& t : templates()) {
        SCOPED_TRACE(t.parameterPackage.toStdString());
        const QStringList positions = SplitBarList(value(t, "wxcs01"));
        const QStringList mandatory = SplitBarList(value(t, "wxcs02"));
        const QStringList random = SplitBarList(value(t, "wxcs04"));
        withCaptions += positions.isEmpty() ? 0 : 1;
        // Each mandatory mark has its position; a random mark takes one more.
        EXPECT_EQ(positions.size(), mandatory.size() + (random.isEmpty() ? 0 : 1));
        for (const QString& p : positions) {
            bool ok = false;
            const int frame = p.toInt(&ok);
            EXPECT_TRUE(ok && frame >= 0 && frame < value(t, "mbdx").toInt()) << p.toStdString();
        }
        for (const QString& mark : mandatory + random)
            EXPECT_TRUE(mark.size() == 1 && QStringLiteral("ABCD").contains(mark)) << mark.toStdString();
    }
    EXPECT_GE(withCaptions * 3, static_cast<int>(templates().size()))
        << "about half the templates carry captions";
}
