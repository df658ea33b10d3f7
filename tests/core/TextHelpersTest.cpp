#include "core/TextHelpers.h"
#include "core/Error.h"
#include "core/IniFile.h"

#include <gtest/gtest.h>

using namespace lumiset;

TEST(BarList, SplitsBetweenConsecutiveBars) {
    const struct {
        const char* value;
        QStringList tokens;
    } cases[] = {
        {"|heng|shu|heng|", {"heng", "shu", "heng"}},
        {"|heng|", {"heng"}},
        {"heng", {}},
        {"|heng", {}},
        {"", {}},
        {"x|a||b|y", {"a", "", "b"}},
        {"||", {""}},
        {"|永结|同心|", {"永结", "同心"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitBarList(QString::fromUtf8(c.value)), c.tokens) << c.value;
        if (!c.tokens.isEmpty()) {
            EXPECT_EQ(SplitBarList(JoinBarList(c.tokens)), c.tokens) << c.value;
        }
    }
}

TEST(Clock, FormatsFramesAndSeconds) {
    EXPECT_EQ(FramesToClock(1500), "00:01:00");
    EXPECT_EQ(FramesToClock(1500 + 150), "00:01:06");
    EXPECT_EQ(FramesToClock(90000), "01:00:00");
    EXPECT_EQ(FramesToClock(24), "00:00:00"); // truncated, not rounded
    EXPECT_EQ(FramesToClock(25), "00:00:01");
    EXPECT_EQ(FramesToClock(-10), "00:00:00");
    EXPECT_EQ(SecondsToClock(3 * 3600 + 5 * 60 + 9), "03:05:09");
    EXPECT_EQ(SecondsToMinutesClock(125), "02:05");
    EXPECT_EQ(SecondsToMinutesClock(100 * 60), "100:00");
    EXPECT_EQ(ClockToSeconds("01:00:06"), 3606);
    EXPECT_EQ(ClockToSeconds("02:05"), 125);
    EXPECT_EQ(ClockToSeconds("abc"), -1);
}

TEST(Orientation, SquareCountsAsLandscape) {
    EXPECT_TRUE(IsLandscape(4000, 3000));
    EXPECT_TRUE(IsLandscape(1000, 1000));
    EXPECT_FALSE(IsLandscape(3000, 4000));
}

TEST(ParseNumber, RejectsNonNumericTextNamingIt) {
    EXPECT_EQ(ParseNumber(" 250 ", "x"), 250);
    try {
        ParseNumber("25o", "模板总帧数");
        FAIL();
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains("25o"));
        EXPECT_TRUE(e.message().contains("模板总帧数"));
    }
}

TEST(IniFile, ReadsGbkWithCrlfAndMissingKeysAsEmpty) {
    const IniFile ini = IniFile::fromBytes(EncodeGbk("; comment\r\n[1]\r\nmbfl = 婚纱模板 \r\nszhz=|heng|\r\n"
                                                     "[L_X]\r\nName=时光\r\n"));
    EXPECT_EQ(ini.value("1", "mbfl"), "婚纱模板");
    EXPECT_EQ(ini.value("1", "szhz"), "|heng|");
    EXPECT_EQ(ini.value("l_x", "NAME"), "时光"); // names are case-insensitive
    EXPECT_EQ(ini.value("1", "missing"), "");
    EXPECT_EQ(ini.value("nosection", "mbfl"), "");
}

TEST(IniFile, ReadsUtf8WithByteOrderMark) {
    const IniFile ini = IniFile::fromBytes(QByteArray("\xEF\xBB\xBF[wj_x_g_c_l_0]\nwj_x_g_c_l_0=飘落花瓣\n"));
    EXPECT_EQ(ini.value("wj_x_g_c_l_0", "wj_x_g_c_l_0"), "飘落花瓣");
}

TEST(SplitFileName, SplitsAtTheLastDotOfTheFileName) {
    const struct {
        const char* path;
        const char* name;
        const char* extension;
    } cases[] = {
        {"/photos/IMG_1.JPG", "IMG_1", ".JPG"}, {"/a.b/song.tar.mp3", "song.tar", ".mp3"},
        {"/a.b/README", "README", ""},          {"song.", "song", "."},
        {"/m/甜蜜蜜.lrc", "甜蜜蜜", ".lrc"},
    };
    for (const auto& c : cases) {
        const FileNameParts parts = SplitFileName(QString::fromUtf8(c.path));
        EXPECT_EQ(parts.name, QString::fromUtf8(c.name)) << c.path;
        EXPECT_EQ(parts.extension, QString::fromUtf8(c.extension)) << c.path;
    }
}
