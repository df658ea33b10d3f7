#include "media/AlbumFormat.h"

#include <gtest/gtest.h>

using namespace lumiset;

TEST(AlbumFormat, EveryWordNamesItsChoiceAndOnlyThat) {
    for (const AlbumType type : kAlbumTypes)
        EXPECT_EQ(AlbumTypeFromWord(AlbumTypeWord(type)), type);
    for (const TvSystem system : {TvSystem::Pal, TvSystem::Ntsc})
        EXPECT_EQ(TvSystemFromWord(TvSystemWord(system)), system);
    for (const PictureQuality quality :
         {PictureQuality::Standard, PictureQuality::High, PictureQuality::Super})
        EXPECT_EQ(PictureQualityFromWord(PictureQualityWord(quality)), quality);

    EXPECT_EQ(AlbumTypeWord(AlbumType::SVCD), "SVCD");
    EXPECT_EQ(TvSystemWord(TvSystem::Ntsc), "NTSC");
    EXPECT_EQ(PictureQualityWord(PictureQuality::Standard), "biaoqing");
    EXPECT_EQ(PictureQualityWord(PictureQuality::Super), "chaoqing");
    for (const char* word : {"", "vcd", "MPG", " DVD", "pal", "gaoqing "}) {
        EXPECT_FALSE(AlbumTypeFromWord(QString::fromUtf8(word))) << word;
        EXPECT_FALSE(TvSystemFromWord(QString::fromUtf8(word))) << word;
        EXPECT_FALSE(PictureQualityFromWord(QString::fromUtf8(word))) << word;
    }
}

struct SizeTableCase {
    AlbumType type;
    qsizetype count;
    QSize eighth; // QSize() where the type has no eighth size
    QSize atLaunch;
    const char* ending;
};

class SizeTables : public ::testing::TestWithParam<SizeTableCase> {};

TEST_P(SizeTables, ListTheTypesSizesAndEnding) {
    const SizeTableCase& expected = GetParam();
    const QList<QSize> sizes = OutputSizes(expected.type);
    ASSERT_EQ(sizes.size(), expected.count);
    EXPECT_EQ(sizes.first(), QSize(320, 176));
    EXPECT_EQ(sizes[4], QSize(1280, 720));
    if (expected.eighth.isValid()) {
        EXPECT_EQ(sizes[7], expected.eighth);
    }
    EXPECT_EQ(sizes[LaunchSizeIndex(expected.type)], expected.atLaunch);
    EXPECT_EQ(FileEnding(expected.type), QString::fromUtf8(expected.ending));
    for (const QSize size : sizes)
        EXPECT_TRUE(size.width() % 2 == 0 && size.height() % 2 == 0) << size.width() << "x" << size.height();
}

INSTANTIATE_TEST_SUITE_P(
    Types, SizeTables,
    ::testing::Values(SizeTableCase{AlbumType::VCD, 5, QSize(), QSize(1280, 720), ".mpg"},
                      SizeTableCase{AlbumType::SVCD, 9, QSize(1920, 1080), QSize(1280, 720), ".mpg"},
                      SizeTableCase{AlbumType::DVD, 9, QSize(1920, 1080), QSize(1280, 720), ".mpg"},
                      SizeTableCase{AlbumType::AVI, 9, QSize(1920, 1080), QSize(1280, 720), ".avi"},
                      SizeTableCase{AlbumType::WMV, 9, QSize(1920, 1088), QSize(1280, 720), ".wmv"},
                      SizeTableCase{AlbumType::MP4, 9, QSize(1920, 1080), QSize(1280, 720), ".mp4"},
                      SizeTableCase{AlbumType::MOV, 9, QSize(1920, 1088), QSize(1920, 1088), ".mov"}),
    [](const auto& testInfo) { return AlbumTypeWord(testInfo.param.type).toStdString(); });
