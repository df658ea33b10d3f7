#include "photos/BackgroundEdits.h"

#include "core/Columns.h"
#include "core/Error.h"
#include "tests/photos_matching/MatchingFixture.h"

#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;

namespace {

class Backgrounds : public ::testing::Test {
protected:
    Backgrounds() {
        for (int r = 0; r < 2; ++r)
            album.backgrounds.appendRow({QString::number(r + 1), "T", "单张模板", "横照模板", "h", ".jpg",
                                         "4000", "3000", "/photos/h.jpg", "0"});
        album.backgrounds.appendRow({"3", "T", "单张模板", "横照模板", "", "", "", "", "", "0"});
    }

    QString errorOf(const std::function<void()>& operation) {
        try {
            operation();
        } catch (const Error& e) {
            return e.message();
        }
        return {};
    }

    QStringList transparencies() const {
        QStringList values;
        for (const QStringList& row : album.backgrounds.rows())
            values << row[BackgroundCol::Transparency];
        return values;
    }

    Album album;
    FakePhotos photos;
};

TEST_F(Backgrounds, ReplacingTakesALandscapeOrSquarePictureAndKeepsTheTransparency) {
    album.backgrounds.setCell(1, BackgroundCol::Transparency, "30");
    const QString square = photos.add("square", 1200, 1200);
    ReplaceBackgroundPicture(album, 1, square, photos.reader());
    EXPECT_EQ(album.backgrounds.row(1).mid(BackgroundCol::PictureName),
              QStringList({"square", ".jpg", "1200", "1200", "/photos/square.jpg", "30"}));
}

TEST_F(Backgrounds, APortraitPictureIsRefusedAndTheRowStays) {
    const QStringList before = album.backgrounds.row(0);
    const QString portrait = photos.add("tall", 3000, 4000);
    EXPECT_EQ(errorOf([&] { ReplaceBackgroundPicture(album, 0, portrait, photos.reader()); }),
              "此张照片不是横照片,请重新更换一张横照片!");
    EXPECT_FALSE(
        errorOf([&] { ReplaceBackgroundPicture(album, 0, "/photos/none.jpg", photos.reader()); }).isEmpty());
    EXPECT_EQ(album.backgrounds.row(0), before);
}

TEST_F(Backgrounds, SavingForAllRowsIncludesRowsWithoutAPicture) {
    EXPECT_EQ(SaveBackgroundTransparency(album, 0, 45, false), "保存设置完成！");
    EXPECT_EQ(transparencies(), QStringList({"45", "0", "0"}));
    SaveBackgroundTransparency(album, 1, 70, true);
    EXPECT_EQ(transparencies(), QStringList({"70", "70", "70"}));
    EXPECT_FALSE(errorOf([&] { SaveBackgroundTransparency(album, 0, 101, false); }).isEmpty());
    EXPECT_EQ(transparencies(), QStringList({"70", "70", "70"}));
}

TEST_F(Backgrounds, DefaultsResetOneOrAllRows) {
    SaveBackgroundTransparency(album, 0, 70, true);
    EXPECT_EQ(ResetBackgroundTransparency(album, 2, false), "默认设置完成！");
    EXPECT_EQ(transparencies(), QStringList({"70", "70", "0"}));
    ResetBackgroundTransparency(album, 0, true);
    EXPECT_EQ(transparencies(), QStringList({"0", "0", "0"}));
}

TEST_F(Backgrounds, RefusalsNameWhatIsMissing) {
    EXPECT_EQ(errorOf([&] { SaveBackgroundTransparency(album, -1, 10, true); }), "没有选中背景图片文件！");
    EXPECT_EQ(errorOf([&] { BackgroundRowToShow(album, 2); }), "没有添加背景图片文件！");
    EXPECT_EQ(BackgroundRowToShow(album, 0)[BackgroundCol::Path], "/photos/h.jpg");
    Album empty;
    EXPECT_EQ(errorOf([&] { ResetBackgroundTransparency(empty, 0, false); }), "没有找到背景图片文件！");
    EXPECT_EQ(errorOf([&] { ReplaceBackgroundPicture(empty, 0, "/x.jpg", photos.reader()); }),
              "没有找到背景图片文件！");
}

} // namespace
