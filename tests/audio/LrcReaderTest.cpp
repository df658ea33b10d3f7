#include "audio/LrcReader.h"
#include "core/Error.h"
#include "core/IniFile.h"
#include "tests/support/TempTree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <random>

using namespace lumiset;
using lumiset::test::TempTree;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

namespace lumiset {
void PrintTo(const LyricTimelineRow& row, std::ostream* out) {
    *out << '(' << row.tag.toStdString() << ", " << row.text.toStdString() << ')';
}
} // namespace lumiset

namespace {

using Rows = QList<LyricTimelineRow>;

const LyricTimelineRow kStartRow{"00:00", ""};

struct ParseCase {
    const char* name;
    QByteArray file;
    Rows rows; // after the first row "00:00"
};

class LrcParsing : public ::testing::TestWithParam<ParseCase> {};

TEST_P(LrcParsing, GivesTheTimelineRows) {
    const ParseCase& c = GetParam();
    EXPECT_THAT(ParseLyrics(c.file).rows, ElementsAreArray(Rows{kStartRow} + c.rows));
}

INSTANTIATE_TEST_SUITE_P(
    Lrc, LrcParsing,
    ::testing::Values(
        ParseCase{"EmptyFile", "", {}},
        ParseCase{"TimeTagWithoutTextIsAnInformationLine", "[00:12.34]\n", {}},
        ParseCase{"OneTagPerLine",
                  "[00:01.50]One\r\n[00:04.00]Two\r\n",
                  {{"00:01.50", "One"}, {"00:04.00", "Two"}}},
        ParseCase{"InformationRowsGoToTheEnd",
                  "[ti:My Song]\n[ar:Singer]\n[00:01.00]Hi\n",
                  {{"00:01.00", "Hi"}, {"ti", "My Song"}, {"ar", "Singer"}}},
        ParseCase{"AdjacentTagsShareTheTextRightmostFirst",
                  "[00:01.00][00:02.00][00:03.00]La la",
                  {{"00:03.00", "La la"}, {"00:02.00", "La la"}, {"00:01.00", "La la"}}},
        ParseCase{"TagsWithinALineEachKeepTheirOwnText",
                  "[00:01.00]Hi[00:05.00]Yo",
                  {{"00:05.00", "Yo"}, {"00:01.00", "Hi"}}},
        ParseCase{"AdjacentTagsAfterText",
                  "[00:01.00]Hi[00:05.00][00:06.00]Yo",
                  {{"00:06.00", "Yo"}, {"00:05.00", "Yo"}, {"00:01.00", "Hi"}}},
        ParseCase{"EveryKindOfLineEnd",
                  "[00:01.00]a\r\n[00:02.00]b\r[00:03.00]c\n\n[00:04.00]d",
                  {{"00:01.00", "a"}, {"00:02.00", "b"}, {"00:03.00", "c"}, {"00:04.00", "d"}}},
        // A tagged line ending in a space is a lyric line; its information tag is moved, and it comes after
        // the information lines of the file.
        ParseCase{"InformationTagOnALyricLineIsMoved",
                  "[ar:Singer] \n[ti:Song]\n[00:01.00]a",
                  {{"00:01.00", "a"}, {"ti", "Song"}, {"ar", "Singer"}}},
        ParseCase{"InformationLinesInFileOrder",
                  "[by:Me]\n[ti:Song]\n[ti]lost text",
                  {{"by", "Me"}, {"ti", "Song"}, {"ti", ""}}},
        ParseCase{"MovedInformationTagsInTagOrder",
                  "[by:Me]x\n[al:Album]x\n[ti:Song]x\n[ar:Singer]x",
                  {{"ti", "Song"}, {"ar", "Singer"}, {"al", "Album"}, {"by", "Me"}}},
        ParseCase{"OtherInformationLinesAreIgnored", "[offset:500]\n[00:01.00]a\n[x]", {{"00:01.00", "a"}}},
        ParseCase{"TextBeforeTheFirstTagIsDropped", "Intro[00:01.00]a", {{"00:01.00", "a"}}},
        ParseCase{"ClosingBracketInTheText", "[00:01.00]a]b", {{"00:01.00", "a]b"}}},
        ParseCase{"OpeningBracketWithoutClosingIsText", "[00:01.00]a [b", {{"00:01.00", "a [b"}}},
        ParseCase{"LineWithoutTags", "just words\n[00:02.00]x", {{"00:02.00", "x"}}},
        ParseCase{"ChineseText",
                  "[00:01.00]甜蜜蜜[00:02.00]像糖一样",
                  {{"00:02.00", "像糖一样"}, {"00:01.00", "甜蜜蜜"}}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(LrcParsing, LooksUpTheFirstRowBeginningWithTheTime) {
    const LyricTimeline timeline = ParseLyrics("[00:03.00]A\n[00:03.50]B\n"
                                               "[00:04.10]c[00:04.90]d\n"
                                               "[01:05.00]Two\n[1:07.00]Short\n[Ab:01]mixed\n[ti:Song]");
    const std::vector<std::pair<QString, std::optional<QString>>> cases{
        {"00:00", ""},      // the first row empties the lyric line
        {"00:03", "A"},     // the first of two rows of the same second
        {"00:04", "d"},     // within a line, right to left
        {"01:05", "Two"},   //
        {"01:07", {}},      // a one-digit minute is never found
        {"00:02", {}},      //
        {"ab:01", "mixed"}, // letter case ignored
        {"", {}}};          // no time, no row
    for (const auto& [mmss, text] : cases)
        EXPECT_EQ(LookupLyric(timeline, mmss), text) << mmss.toStdString();
}

// Which encoding a file is read in: the text of its one lyric row.
struct DecodingCase {
    const char* name;
    QByteArray file;
    const char* text; // UTF-8
};

class LrcDecoding : public ::testing::TestWithParam<DecodingCase> {};

TEST_P(LrcDecoding, ReadsTheTextInItsEncoding) {
    const Rows rows = ParseLyrics(GetParam().file).rows;
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1].text, QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Lrc, LrcDecoding,
    ::testing::Values(DecodingCase{"Gbk", EncodeGbk("[00:01.00]甜蜜蜜 像糖一样\r\n"), "甜蜜蜜 像糖一样"},
                      DecodingCase{"Utf8", "[00:01.00]甜蜜蜜 像糖一样\r\n", "甜蜜蜜 像糖一样"},
                      // Also valid GBK: six bytes read as three GBK characters.
                      DecodingCase{"Utf8ThatIsValidGbk", "[00:01.00]你好\r\n", "你好"},
                      DecodingCase{"Utf8WithByteOrderMark", "\xEF\xBB\xBF[00:01.00]你好", "你好"},
                      // Also valid UTF-8 (U+0163).
                      DecodingCase{"GbkThatIsValidUtf8", EncodeGbk("[00:01.00]牛"), "牛"},
                      DecodingCase{"GbkInformationLine", EncodeGbk("[ti:甜蜜蜜]"), "甜蜜蜜"},
                      DecodingCase{"CharacterBeyondTheBasicPlane", "[ti:\xF0\x9F\x8E\xB5歌]",
                                   "\xF0\x9F\x8E\xB5歌"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(LrcParsing, BrokenBracketsAndRandomBytesNeverFail) {
    QList<QByteArray> files{"[",
                            "]",
                            "[]",
                            "][",
                            "[[",
                            "]]",
                            "[[]]",
                            "a[b]c]d[e",
                            "[00:01.00",
                            "00:01.00]x",
                            "[]]]",
                            "[[[x",
                            "]a[00:01.00]b[",
                            "[ti",
                            "[ti:",
                            "[\xFF\xFE]",
                            QByteArray(3, '\0')};
    std::mt19937 random(20240611);
    for (int length : {1, 7, 64, 4096}) {
        for (int n = 0; n < 40; ++n) {
            QByteArray bytes(length, Qt::Uninitialized);
            for (char& b : bytes)
                b = static_cast<char>("[]\r\n:0a\xB0\xA1\xFF\xE4"[random() % 11] ^
                                      (random() % 4 == 0 ? random() : 0));
            files.append(bytes);
        }
    }
    for (const QByteArray& file : files) {
        LyricTimeline timeline;
        ASSERT_NO_THROW(timeline = ParseLyrics(file)) << file.toHex().toStdString();
        ASSERT_FALSE(timeline.rows.isEmpty());
        EXPECT_EQ(timeline.rows[0], kStartRow);
    }
}

TEST(LrcFile, ReadsAFileAndRefusesWhatIsNoLyricFile) {
    TempTree tree;
    const QString lyric = tree.write("歌词/甜蜜蜜.lrc", EncodeGbk("[ti:甜蜜蜜]\r\n[00:05.50]清晨的阳光\r\n"));
    EXPECT_THAT(ReadLyricFile(lyric).rows,
                ElementsAreArray(Rows{kStartRow, {"00:05.50", "清晨的阳光"}, {"ti", "甜蜜蜜"}}));

    const QString tooBig = tree.write("big.lrc", QByteArray(kMaxLyricFileSize + 1, 'a'));
    for (const QString& path : {tree.file("missing.lrc"), tree.path(), tooBig}) {
        try {
            ReadLyricFile(path);
            ADD_FAILURE() << "read " << path.toStdString();
        } catch (const Error& e) {
            EXPECT_THAT(e.message().toStdString(), HasSubstr("歌词文件"));
            EXPECT_THAT(e.message().toStdString(), HasSubstr(path.toStdString()));
        }
    }
}

} // namespace
