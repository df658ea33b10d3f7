#include "audio/MusicRows.h"
#include "core/AlbumFile.h"
#include "core/Columns.h"
#include "core/Error.h"
#include "tests/support/TempTree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace lumiset;
using lumiset::test::TempTree;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// Lengths by file name, as a music reader would measure them; any other file cannot be read.
qint64 fakeLength(const QString& path) {
    if (path.endsWith("甜蜜蜜.mp3"))
        return 245'000;
    if (path.endsWith("长歌.MP3"))
        return 3'725'999;
    if (path.endsWith("短.mp3"))
        return 999;
    throw Error(QStringLiteral("音乐文件“%1”不包含声音。").arg(path));
}

QStringList column(const Table& table, int column) {
    QStringList cells;
    for (const QStringList& row : table.rows())
        cells.append(row[column]);
    return cells;
}

Confirm answering(bool answer, QStringList& asked) {
    return [answer, &asked](const QString& caption, const QString& question) {
        asked.append(caption + u'|' + question);
        return answer;
    };
}

} // namespace

TEST(MusicRows, AppendsFilesNumberedAfterTheExistingRowsWithTheirLengths) {
    Album album;
    AddMusicFiles(album, {"/m/甜蜜蜜.mp3"}, fakeLength);
    const EditResult result = AddMusicFiles(album, {"/m/长歌.MP3", "/m/短.mp3", "/m/甜蜜蜜.mp3"}, fakeLength);
    EXPECT_TRUE(result.changed);
    EXPECT_TRUE(result.messages.isEmpty());
    EXPECT_THAT(column(album.music, MusicCol::Number), ElementsAre("1", "2", "3", "4"));
    EXPECT_EQ(album.music.row(1), QStringList({"2", "长歌", ".MP3", "00:62:05", "/m/长歌.MP3"}));
    EXPECT_THAT(column(album.music, MusicCol::Length),
                ElementsAre("00:04:05", "00:62:05", "00:00:00", "00:04:05"));
}

TEST(MusicRows, AnUnreadableFileIsNamedAndTheOthersAreAdded) {
    Album album;
    const EditResult result = AddMusicFiles(album, {"/m/坏.mp3", "/m/短.mp3"}, fakeLength);
    EXPECT_THAT(column(album.music, MusicCol::Name), ElementsAre("短"));
    EXPECT_EQ(album.music.cell(0, MusicCol::Number), "1");
    ASSERT_EQ(result.messages.size(), 1);
    EXPECT_THAT(result.messages[0].toStdString(), HasSubstr("/m/坏.mp3"));
}

TEST(MusicRows, AStoppedAddAddsNothing) {
    Album album;
    Job job;
    job.requestStop();
    EXPECT_FALSE(AddMusicFiles(album, {"/m/短.mp3"}, fakeLength, &job).changed);
    EXPECT_TRUE(album.music.isEmpty());
}

TEST(MusicRows, LyricFilesGetTheDefaultDisplaySettings) {
    TempTree tree;
    const QString first = tree.write("歌词/甜蜜蜜.lrc", "[00:01.00]hi");
    const QString second = tree.write("歌词/二.LRC", "");
    Album album;
    const EditResult result = AddLyricFiles(album, {first, tree.file("missing.lrc"), second});
    EXPECT_THAT(column(album.lyrics, LyricCol::Number), ElementsAre("1", "2"));
    EXPECT_EQ(album.lyrics.row(1), QStringList({"2", "二", ".LRC", second}));
    EXPECT_EQ(album.lyricSettings.row(0),
              QStringList({"1", "甜蜜蜜", ".lrc", first, "moren_xianshi", "335", "0", "335", "黑体", "cuti",
                           "10", "wu", "暂时不用", "clWhite", "16777215", "jianti"}));
    ASSERT_EQ(result.messages.size(), 1);
    EXPECT_THAT(result.messages[0].toStdString(), HasSubstr("missing.lrc"));

    AddLyricFiles(album, {first}, 480);
    EXPECT_EQ(album.lyricSettings.cell(2, LyricSettingsCol::DefaultTop), "412"); // 480 - 480 div 7
    EXPECT_EQ(album.lyricSettings.cell(2, LyricSettingsCol::CustomTop), "412");
    EXPECT_TRUE(AlbumProblems(album).isEmpty());
}

TEST(MusicRows, TheSampleFileIsOfferedOnlyTheFirstTime) {
    TempTree tree;
    const QString sample = tree.write("yinyuegeciwenjian/甜蜜蜜.mp3", "x");
    QString flag = "0";
    EXPECT_EQ(FirstUseSample(flag, sample), sample);
    EXPECT_EQ(flag, "1");
    EXPECT_TRUE(FirstUseSample(flag, sample).isEmpty());

    QString fresh = "0";
    EXPECT_TRUE(FirstUseSample(fresh, tree.file("none.mp3")).isEmpty());
    EXPECT_EQ(fresh, "1");
}

// The music and the lyric window delete alike, with their own texts; a lyric row goes with its settings row.
struct ListKind {
    const char* name;
    EditResult (*deleteOne)(Album&, int, const Confirm&);
    EditResult (*deleteAll)(Album&, const Confirm&);
    const char* caption;
    const char* empty;
    const char* askOne;
    const char* noSelection;
    const char* deletedOne;
    const char* askAll;
    const char* deletedAll;
};

class ListDeletion : public ::testing::TestWithParam<ListKind> {
protected:
    // Three rows named 一, 二, 三 in the list (and its settings).
    void SetUp() override {
        TempTree tree;
        for (const char* name : {"一", "二", "三"}) {
            AddMusicFiles(album, {QStringLiteral("/m/%1.mp3").arg(name)},
                          [](const QString&) { return 1000; });
            AddLyricFiles(album, {tree.write(QStringLiteral("%1.lrc").arg(name), "")});
        }
    }
    const QList<const Table*> tables() const {
        return GetParam().name == std::string("music")
                   ? QList<const Table*>{&album.music}
                   : QList<const Table*>{&album.lyrics, &album.lyricSettings};
    }

    Album album;
    QStringList asked;
};

TEST_P(ListDeletion, DeletesTheSelectedRowAndRenumbers) {
    const ListKind& k = GetParam();
    const EditResult result = k.deleteOne(album, 1, answering(true, asked));
    EXPECT_THAT(asked, ElementsAre(QStringLiteral("%1|%2").arg(k.caption, k.askOne)));
    EXPECT_THAT(result.messages, ElementsAre(k.deletedOne));
    for (const Table* t : tables()) {
        EXPECT_THAT(column(*t, 0), ElementsAre("1", "2")) << t->name().toStdString();
        EXPECT_THAT(column(*t, 1), ElementsAre("一", "三")) << t->name().toStdString();
    }
    EXPECT_TRUE(AlbumProblems(album).isEmpty());
}

TEST_P(ListDeletion, ChangesNothingWhenDeclinedOrWithoutSelection) {
    const ListKind& k = GetParam();
    const Album before = album;
    EXPECT_TRUE(k.deleteOne(album, 1, answering(false, asked)).messages.isEmpty());
    EXPECT_THAT(k.deleteOne(album, -1, answering(true, asked)).messages, ElementsAre(k.noSelection));
    EXPECT_TRUE(k.deleteAll(album, answering(false, asked)).messages.isEmpty());
    EXPECT_EQ(asked.size(), 3);
    for (const Table* t : tables())
        EXPECT_EQ(t->rowCount(), 3);
    EXPECT_EQ(album.music, before.music);
    EXPECT_EQ(album.lyricSettings, before.lyricSettings);
}

TEST_P(ListDeletion, DeletesAllAndThenHasNothingToDelete) {
    const ListKind& k = GetParam();
    EXPECT_THAT(k.deleteAll(album, answering(true, asked)).messages, ElementsAre(k.deletedAll));
    EXPECT_THAT(asked, ElementsAre(QStringLiteral("%1|%2").arg(k.caption, k.askAll)));
    for (const Table* t : tables())
        EXPECT_TRUE(t->isEmpty());
    EXPECT_THAT(k.deleteOne(album, 0, answering(true, asked)).messages, ElementsAre(k.empty));
    EXPECT_THAT(k.deleteAll(album, answering(true, asked)).messages, ElementsAre(k.empty));
    EXPECT_EQ(asked.size(), 1);
    EXPECT_TRUE(AlbumProblems(album).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Lists, ListDeletion,
                         ::testing::Values(ListKind{"music", DeleteMusic, DeleteAllMusic, "删除音乐",
                                                    "没有添加音乐文件！", "是否确定要删除当前选中的音乐文件?",
                                                    "没有选中音乐文件！", "选中的音乐文件已经删除！",
                                                    "是否确定要删除全部音乐文件?", "音乐文件已经全部删除！"},
                                           ListKind{"lyrics", DeleteLyrics, DeleteAllLyrics, "删除歌词",
                                                    "没有添加歌词文件！", "是否确定要删除当前选中的歌词文件?",
                                                    "没有选中歌词文件！", "选中的歌词文件已经删除！",
                                                    "是否确定要删除全部歌词文件?", "歌词文件已经全部删除！"}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });
