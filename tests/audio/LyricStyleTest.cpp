#include "audio/LyricStyle.h"
#include "audio/MusicRows.h"
#include "core/Columns.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <thread>
#include <vector>

using namespace lumiset;

namespace {

// A lyric settings row as a newly added lyric has it, with some cells changed.
QStringList settingsRow(const std::map<int, QString>& changes = {}) {
    QStringList row = QStringList{"1", "甜蜜蜜", ".lrc", "/歌词/甜蜜蜜.lrc"} + DefaultLyricSettings();
    for (const auto& [column, value] : changes)
        row[column] = value;
    return row;
}

using namespace LyricSettingsCol;

const LyricStyle kDefault{true, 0, 335, "黑体", 10, true, false, QColor(255, 255, 255)};

LyricStyle with(const std::function<void(LyricStyle&)>& change) {
    LyricStyle style = kDefault;
    change(style);
    return style;
}

struct StyleCase {
    const char* name;
    std::map<int, QString> changes;
    LyricStyle expected;
};

class LyricStyleRow : public ::testing::TestWithParam<StyleCase> {};

TEST_P(LyricStyleRow, ReadsTheSettings) {
    const LyricStyle style = LyricStyleFromRow(settingsRow(GetParam().changes));
    const LyricStyle& e = GetParam().expected;
    EXPECT_EQ(style.centred, e.centred);
    EXPECT_EQ(style.left, e.left);
    EXPECT_EQ(style.top, e.top);
    EXPECT_EQ(style.fontFamily, e.fontFamily);
    EXPECT_EQ(style.pointSize, e.pointSize);
    EXPECT_EQ(style.bold, e.bold);
    EXPECT_EQ(style.italic, e.italic);
    EXPECT_EQ(style.colour.name().toStdString(), e.colour.name().toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Lyrics, LyricStyleRow,
    ::testing::Values(
        StyleCase{"NewLyric", {}, kDefault},
        StyleCase{"Italic", {{Style, "xieti"}}, with([](LyricStyle& s) { s.bold = false, s.italic = true; })},
        StyleCase{"BoldItalic", {{Style, "cutixieti"}}, with([](LyricStyle& s) { s.italic = true; })},
        StyleCase{"Regular", {{Style, "changgui"}}, with([](LyricStyle& s) { s.bold = false; })},
        StyleCase{
            "CustomLeft",
            {{Placement, "zidingyi_xianshi"}, {CustomLeft, "40"}, {CustomTop, "100"}, {Font, "宋体"}},
            with([](LyricStyle& s) { s.centred = false, s.left = 40, s.top = 100, s.fontFamily = "宋体"; })},
        StyleCase{"CustomCentred",
                  {{Placement, "zidingyi_xianshi"}, {CustomCentre, "zidingyi_juzhong"}, {CustomTop, "20"}},
                  with([](LyricStyle& s) { s.top = 20; })},
        StyleCase{"DefaultPlacementIgnoresTheCustomCells",
                  {{CustomLeft, "40"}, {CustomTop, "100"}, {DefaultTop, "300"}, {Size, "24"}},
                  with([](LyricStyle& s) { s.top = 300, s.pointSize = 24; })},
        // Windows colour numbers are 0x00BBGGRR.
        StyleCase{"Red", {{ColourNumber, "255"}}, with([](LyricStyle& s) { s.colour = QColor(255, 0, 0); })},
        StyleCase{"Blue", {{ColourNumber, "16711680"}}, with([](LyricStyle& s) { s.colour = Qt::blue; })},
        StyleCase{
            "Olive", {{ColourNumber, "32896"}}, with([](LyricStyle& s) { s.colour = QColor(128, 128, 0); })},
        StyleCase{"BadCellsTakeTheNewLyricValues",
                  {{Placement, "?"},
                   {DefaultTop, "abc"},
                   {Font, " "},
                   {Style, "bold"},
                   {Size, "0"},
                   {ColourNumber, "-16777201"}},
                  kDefault},
        StyleCase{"BadCustomCells",
                  {{Placement, "zidingyi_xianshi"},
                   {CustomCentre, ""},
                   {CustomLeft, "1e9"},
                   {CustomTop, ""},
                   {Size, "99999"},
                   {ColourNumber, "16777216"}},
                  with([](LyricStyle& s) { s.centred = false; })}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(LyricStyleRow, AShortRowTakesTheNewLyricValues) {
    EXPECT_TRUE(LyricStyleFromRow({}) == kDefault);
    EXPECT_TRUE(LyricStyleFromRow(settingsRow().mid(0, Size)) == kDefault);
}

TEST(LyricLine, ScalesFromThePreviewScreenToThePicture) {
    const QString text = "甜蜜蜜 像糖一样";
    struct Case {
        LyricStyle style;
        QSize picture;
        int left; // -1: centred
        int top;
        int pixelSize;
    };
    const LyricStyle custom = with([](LyricStyle& s) { s.centred = false, s.left = 40, s.top = 100; });
    for (const Case& c :
         {Case{kDefault, {679, 390}, -1, 335, 13}, Case{kDefault, {1280, 720}, -1, 618, 25},
          Case{kDefault, {2048, 1152}, -1, 990, 39}, Case{custom, {1280, 720}, 75, 185, 25}}) {
        const QFont font = LyricFont(c.style, c.picture.height());
        EXPECT_EQ(font.pixelSize(), c.pixelSize);
        const QFontMetrics metrics(font);
        const QRect rect = LyricLineRect(c.style, text, c.picture);
        EXPECT_EQ(rect.size(), QSize(metrics.horizontalAdvance(text), metrics.height()));
        EXPECT_EQ(rect.left(), c.left < 0 ? c.picture.width() / 2 - rect.width() / 2 : c.left);
        EXPECT_EQ(rect.top(), c.top);
    }
    EXPECT_TRUE(LyricLineRect(kDefault, text, QSize(0, 0)).isEmpty());
}

TEST(LyricLine, TheDefaultFontIsAChineseFontOnLinux) {
    const QFont font = LyricFont(kDefault, 720);
    EXPECT_EQ(QFontInfo(font).family(), "WenQuanYi Micro Hei");
    EXPECT_TRUE(font.bold());
    EXPECT_FALSE(font.italic());
}

QImage darkPicture(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(20, 24, 40));
    return image;
}

TEST(LyricLine, DrawsTheTextInItsColourWithinItsRectangleOnly) {
    const LyricStyle red = with([](LyricStyle& s) { s.colour = Qt::red; });
    const QString text = "甜蜜蜜";
    QImage image = darkPicture({1280, 720});
    const QRgb background = image.pixel(0, 0);
    {
        QPainter painter(&image);
        DrawLyricLine(painter, image.size(), red, text);
    }
    const QRect rect = LyricLineRect(red, text, image.size());
    int inked = 0;
    int outside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (!rect.contains(x, y))
                outside += p != background;
            else if (p == qRgb(255, 0, 0))
                ++inked;
        }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(inked, 200);
}

TEST(LyricLine, DrawsAlikeOnSeveralThreadsAtOnce) {
    const auto draw = [](const LyricStyle& style) {
        QImage image = darkPicture({1280, 720});
        QPainter painter(&image);
        DrawLyricLine(painter, image.size(), style, "洒在你脸庞");
        return image;
    };
    const std::vector<LyricStyle> styles{kDefault, with([](LyricStyle& s) { s.italic = true; }),
                                         with([](LyricStyle& s) { s.centred = false, s.pointSize = 30; })};
    std::vector<QImage> drawn(styles.size());
    std::vector<std::thread> threads;
    for (size_t i = 0; i < styles.size(); ++i)
        threads.emplace_back([&, i] {
            for (int n = 0; n < 20; ++n)
                drawn[i] = draw(styles[i]);
        });
    for (std::thread& t : threads)
        t.join();
    for (size_t i = 0; i < styles.size(); ++i)
        EXPECT_TRUE(drawn[i] == draw(styles[i])) << i;
}

} // namespace
