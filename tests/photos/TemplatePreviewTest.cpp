#include "photos/TemplatePreview.h"
#include "core/DataPaths.h"
#include "core/Package.h"
#include "core/TemplateCatalogue.h"
#include "player/AnimationPlayer.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/TempTree.h"
#include "tests/support/TemplateFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <thread>

using namespace lumiset;
using namespace lumiset::test;

namespace {

QJsonObject ImageLayer(const QString& name, int ind, const QString& refId) {
    const QJsonObject still{{"a", 0}, {"k", QJsonArray{0, 0}}};
    const QJsonObject transform{{"a", still}, {"p", still}};
    return {{"ty", 2}, {"nm", name}, {"ind", ind}, {"refId", refId},
            {"ip", 0}, {"op", 25},   {"st", 0},    {"ks", transform}};
}

QJsonObject Asset(const QString& id, const QString& folder, const QString& file) {
    return {{"id", id}, {"w", 1920}, {"h", 1080}, {"u", folder}, {"p", file}, {"e", 0}};
}

// A one-slot template whose movie shows, as the shipped ones do, its photo slot over the background
// and the hand-over picture.
DataPaths OneSlotTemplate(const TempTree& tree) {
    WriteTemplate(tree, "t001", TemplateSpec{});
    const QJsonArray layers{ImageLayer("slot", 1, "zp_1"), ImageLayer("hand_over", 2, "hand_over"),
                            ImageLayer("num_stop", 3, "background")};
    const QJsonArray assets{Asset("zp_1", "", "zp_1.jpg"), Asset("hand_over", "../../pic/", "picture_0.jpg"),
                            Asset("background", "", "wj_y_l_b_j.jpg")};
    const QJsonObject movie{{"v", "5.7.0"}, {"fr", 25},  {"ip", 0},          {"op", 25},
                            {"w", 1920},    {"h", 1080}, {"assets", assets}, {"layers", layers}};
    tree.write("korvel/wj_0_or_2/wjj_02/t001.rar",
               EncodePackage(QJsonDocument(movie).toJson(), PackageLayers::TemplateAnimation));
    return DataPaths(tree.path(), tree.file("work"));
}

QImage Solid(QColor colour) {
    QImage image(320, 180, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

bool Near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
           std::abs(a.blue() - b.blue()) < 40;
}

TEST(TemplatePreview, TwoPreviewsPreparedAtOnceEachShowTheirOwnPictures) {
    TempTree tree;
    const DataPaths paths = OneSlotTemplate(tree);
    const TemplateCatalogue catalogue = TemplateCatalogue::build(paths);
    const QString red = tree.write("red.jpg", EncodeJpeg(Solid(QColor(220, 20, 20))));
    const QString blue = tree.write("blue.jpg", EncodeJpeg(Solid(QColor(20, 20, 220))));
    const QSize size(192, 108);

    const TemplatePreview previews[] = {
        TemplatePreview::prepare(paths, catalogue, 0, {red}, size),
        TemplatePreview::prepare(paths, catalogue, 0, {blue}, size),
        TemplatePreview::prepare(paths, catalogue, 0, {}, size),
    };
    // Played side by side, as a preview window beside another preview or a production.
    QImage frames[3];
    QStringList missing[3];
    std::vector<std::thread> players;
    for (int i = 0; i < 3; ++i) {
        players.emplace_back([&, i] {
            AnimationPlayer player;
            previews[i].loadInto(player);
            missing[i] = player.missingPictures();
            frames[i] = player.grabFrame(size);
        });
    }
    for (std::thread& player : players)
        player.join();

    const QColor expected[] = {QColor(220, 20, 20), QColor(20, 20, 220), QColor(0, 128, 128)};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(missing[i].isEmpty()) << i << ": " << missing[i].join(", ").toStdString();
        const QColor centre = frames[i].pixelColor(20, 20);
        EXPECT_TRUE(Near(centre, expected[i])) << i << ": " << centre.name().toStdString();
    }
    // Nothing was written below the work root.
    EXPECT_FALSE(QFileInfo::exists(paths.workRoot()));
}

TEST(TemplatePreview, PlaceholderReachesThePlayerPixelForPixel) {
    TempTree tree;
    const DataPaths paths = OneSlotTemplate(tree);
    const TemplateCatalogue catalogue = TemplateCatalogue::build(paths);
    const QSize size(192, 108);
    const TemplatePreview preview = TemplatePreview::prepare(paths, catalogue, 0, {}, size);
    AnimationPlayer player;
    preview.loadInto(player);
    // The placeholder's lettering is drawn exactly, with no JPEG blur around it.
    EXPECT_EQ(player.grabFrame(size).convertToFormat(QImage::Format_RGB32),
              PlaceholderPicture({1920, 1080}, size).convertToFormat(QImage::Format_RGB32));
}

} // namespace
