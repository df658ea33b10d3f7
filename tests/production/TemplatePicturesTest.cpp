#include "production/TemplatePictures.h"
#include "core/Words.h"
#include "tests/production/ProductionFixture.h"
#include "tests/support/JpegFixtures.h"

#include <gtest/gtest.h>

namespace lumiset::test {
namespace {

TEST(BackgroundAreaTest, CoversTheFrameCentredAndCutAtTheBottom) {
    const struct {
        QSize picture;
        QRect area;
    } cases[] = {
        {{1000, 500}, {-80, 0, 1440, 720}},
        {{500, 1000}, {0, 0, 1280, 2560}},
        {{1920, 1080}, {0, 0, 1280, 720}},
        {{1000, 1000}, {0, 0, 1280, 1280}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BackgroundArea(c.picture, {1280, 720}), c.area)
            << c.picture.width() << "x" << c.picture.height();
}

class TemplatePicturesTest : public ::testing::Test {
protected:
    QString photo(const QString& name, QSize size) {
        return world.tree.write(name, EncodeJpeg(QuadrantScene(size), 95));
    }
    ProductionWorld world;
    Album album;
};

TEST_F(TemplatePicturesTest, NameTakesTheLastSlotWhoseNameItContains) {
    world.addTemplate(QStringLiteral("双图"), 100, QStringLiteral("|pic_1|pic_1_s|pic_2|other|"),
                      QStringLiteral("|960|480|960|960|"), QStringLiteral("|540|270|540|540|"));
    const int used = world.useTemplate(album, 0, Words::AdvancedCategory);
    world.addSlot(album, used, "pic_1", "/a.jpg", {0, 0, 960, 540}, {960, 540});
    world.addSlot(album, used, "pic_2", "/b.jpg", {0, 0, 960, 540}, {960, 540});
    const QList<PicturePlan> plans = PlanPictures(album, world.catalogue(), used, {1280, 720});
    ASSERT_EQ(plans.size(), 4);
    EXPECT_EQ(plans[0].sourceSlot, 0);
    EXPECT_EQ(plans[1].sourceSlot, 0); // pic_1_s holds pic_1
    EXPECT_EQ(plans[2].sourceSlot, 1);
    EXPECT_EQ(plans[3].sourceSlot, 1); // no slot name in it: the source before
    EXPECT_EQ(plans[0].size, QSize(640, 360));
    EXPECT_EQ(plans[1].size, QSize(320, 180));
}

TEST_F(TemplatePicturesTest, PicturesHaveTheSizeAndContentOfTheirSlot) {
    world.addTemplate(QStringLiteral("横"), 100);
    world.addTemplate(QStringLiteral("竖"), 100);
    const QString wide = photo("wide.jpg", {1600, 900});
    const QString tall = photo("tall.jpg", {900, 1600});
    const int landscape = world.useTemplate(album, 0, Words::LandscapeCategory);
    world.addSlot(album, landscape, "zp_1", wide, {0, 0, 1920, 1080});
    const int portrait = world.useTemplate(album, 1, Words::PortraitCategory);
    world.addSlot(album, portrait, "zp_1", tall, {100, 0, 608, 1080});

    const TemplatePictures l =
        PrepareTemplatePictures(album, world.catalogue(), world.paths(), landscape, {1280, 720});
    EXPECT_TRUE(l.warnings.isEmpty()) << l.warnings.join(u'\n').toStdString();
    const QImage lp = l.pictures.find("zp_1.jpg");
    ASSERT_EQ(lp.size(), QSize(1280, 720));
    EXPECT_GT(qRed(lp.pixel(100, 100)), 200); // the red quadrant, top left
    EXPECT_GT(qBlue(lp.pixel(100, 600)), 200);
    EXPECT_EQ(l.background.size(), QSize(1280, 720));
    EXPECT_EQ(l.background.pixel(5, 5), qRgb(0, 0, 0)); // no background picture: black

    // A portrait panel is the moderate rectangle with its left margin on both sides, as high as the frame.
    const TemplatePictures p =
        PrepareTemplatePictures(album, world.catalogue(), world.paths(), portrait, {1280, 720});
    const QImage pp = p.pictures.find("zp_1.jpg");
    ASSERT_EQ(pp.size(), QSize(808 * 720 / 1080, 720));
    EXPECT_EQ(pp.pixel(10, 360), qRgb(255, 255, 255)); // the white margin
    EXPECT_GT(qRed(pp.pixel(120, 100)), 200);
}

TEST_F(TemplatePicturesTest, PhotoGoneSinceImportGivesAWhitePictureAndAWarning) {
    world.addTemplate(QStringLiteral("横"), 100);
    const int used = world.useTemplate(album, 0, Words::LandscapeCategory);
    const QString gone = world.tree.file("gone.jpg");
    world.addSlot(album, used, "zp_1", gone, {0, 0, 1920, 1080});
    const TemplatePictures t =
        PrepareTemplatePictures(album, world.catalogue(), world.paths(), used, {800, 450});
    const QImage picture = t.pictures.find("zp_1.jpg");
    ASSERT_EQ(picture.size(), QSize(800, 450));
    EXPECT_EQ(picture.pixel(400, 200), qRgb(255, 255, 255));
    ASSERT_EQ(t.warnings.size(), 1);
    EXPECT_TRUE(t.warnings.first().contains(QStringLiteral("gone.jpg")));
}

} // namespace
} // namespace lumiset::test
