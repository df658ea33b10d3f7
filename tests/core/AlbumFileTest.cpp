#include "core/AlbumFile.h"
#include "core/Columns.h"
#include "core/Error.h"
#include "tests/support/TempTree.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace lumiset;
using lumiset::test::TempTree;
using ::testing::HasSubstr;

namespace {

// Two photos in one used template with one slot, a song, a lyric file and one effect of each kind.
Album sampleAlbum() {
    Album a;
    a.photos.appendRow({"1", "IMG_1", ".jpg", "4000", "3000", "/photos/IMG_1.jpg", "完成"});
    a.photos.appendRow({"2", "竖照", ".JPG", "3000", "4000", "/photos/竖照.JPG", ""});
    a.pendingPortrait.appendRow({"2", "竖照", ".JPG", "3000", "4000", "/photos/竖照.JPG", ""});
    a.landscapePhotos.appendRow({"1", "IMG_1", ".jpg", "4000", "3000", "/photos/IMG_1.jpg", "0"});
    a.usedTemplates.appendRow({"4", "浪漫", "单张模板", "1", "0", "00:00:10", "横照模板", "已完成", "1"});
    QStringList slot{"4",
                     "浪漫",
                     "单张模板",
                     "1",
                     "0",
                     "00:00:10",
                     "横照模板",
                     "0",
                     "heng_zhaopian",
                     "zp_1",
                     "0",
                     "yi_pipei",
                     "0",
                     "/photos/IMG_1.jpg",
                     "640",
                     "360",
                     "0",
                     "0",
                     "640",
                     "480",
                     "quanping_or_jubuquanping",
                     "80",
                     "0",
                     "480",
                     "360",
                     "",
                     ""};
    a.templateSlots.appendRow(slot);
    a.backgrounds.appendRow({"1", "浪漫", "单张模板", "横照模板", "", "", "", "", "", "0"});
    a.music.appendRow({"1", "甜蜜蜜", ".mp3", "00:01:12", "/m/甜蜜蜜.mp3"});
    a.lyrics.appendRow({"1", "甜蜜蜜", ".lrc", "/m/甜蜜蜜.lrc"});
    a.lyricSettings.appendRow({"1", "甜蜜蜜", ".lrc", "/m/甜蜜蜜.lrc", "moren_xianshi", "386", "0", "386",
                               "黑体", "cuti", "10", "wu", "暂时不用", "clWhite", "16777215", "jianti"});
    a.pictureEffects.appendRow({"50", "00:00:01", "暂无", "tingzhi", "花瓣", "0", "自动添加", "wu"});
    a.textEffects.appendRow({"40", "00:00:02", "暂无", "tingzhi", "永结同心", "2", "250", "180", "1",
                             "143005_0", "A", "0", "50", "自动添加", "wu"});
    a.settings.insert("RadioButton_huamiantexiao_tianjia", "1");
    a.facts.Edit_mobanfashi = "shiyong_zuhemoban";
    a.facts.Edit_zuhemoban_xuanhao = "2";
    return a;
}

QByteArray edited(const std::function<void(QJsonObject&)>& edit) {
    QJsonObject root = QJsonDocument::fromJson(AlbumToJson(sampleAlbum())).object();
    edit(root);
    return QJsonDocument(root).toJson();
}

void setTable(QJsonObject& root, const QString& name, const QJsonValue& value) {
    QJsonObject tables = root["tables"].toObject();
    if (value.isUndefined())
        tables.remove(name);
    else
        tables[name] = value;
    root["tables"] = tables;
}

// Replaces one cell of the first row of a table.
QByteArray withFirstRowCell(const QString& table, int column, const QString& value) {
    return edited([&](QJsonObject& root) {
        QJsonArray rows = root["tables"][table].toArray();
        QJsonArray row = rows[0].toArray();
        row[column] = value;
        rows[0] = row;
        setTable(root, table, rows);
    });
}

} // namespace

TEST(AlbumFile, RoundTripsEveryTableAndSetting) {
    TempTree tree;
    const Album album = sampleAlbum();
    SaveAlbum(album, tree.file("sub/album.lumiset"));
    const Album back = OpenAlbum(tree.file("sub/album.lumiset"), 5);
    for (int t = 0; t < album.tables().size(); ++t)
        EXPECT_EQ(*back.tables()[t], *album.tables()[t]) << album.tables()[t]->name().toStdString();
    EXPECT_EQ(back.settings, album.settings);
    EXPECT_EQ(back.facts, album.facts);
    EXPECT_THAT(AlbumToJson(album).toStdString(), HasSubstr("\"format\": \"lumiset-album\""));
}

TEST(AlbumFile, DerivesThePhotoListsWhenAFileLeavesThemOut) {
    const QByteArray json = edited([](QJsonObject& root) {
        for (const char* name : {"ListView_heng_zhao", "ListView_shu_zhao", "ListView_qubu_hengzhao"})
            setTable(root, name, QJsonValue::Undefined);
    });
    const Album back = AlbumFromJson(json);
    const Album original = sampleAlbum();
    EXPECT_EQ(back.pendingPortrait, original.pendingPortrait);
    EXPECT_EQ(back.pendingLandscape, original.pendingLandscape);
    EXPECT_EQ(back.landscapePhotos, original.landscapePhotos);
}

// A save that fails on a full disk keeps the old file: WriteOnFullDisk/AlbumFile.
TEST(AlbumFile, SavesOverAnExistingFileAndFailsWhereNoFolderCanBeMade) {
    TempTree tree;
    const QString path = tree.write("album.lumiset", "old");
    SaveAlbum(sampleAlbum(), path);
    EXPECT_NO_THROW(OpenAlbum(path));
    // A save into a folder that cannot be created fails and leaves nothing behind.
    tree.write("blocker", "x");
    EXPECT_THROW(SaveAlbum(sampleAlbum(), tree.file("blocker/album.lumiset")), Error);
}

struct DamagedFile {
    const char* name;
    QByteArray (*make)();
    const char* message;
};

class DamagedAlbumFile : public ::testing::TestWithParam<DamagedFile> {};

TEST_P(DamagedAlbumFile, IsRejectedAndTheCurrentAlbumStaysUntouched) {
    TempTree tree;
    const QString path = tree.write("bad.lumiset", GetParam().make());
    Album current = sampleAlbum();
    try {
        current = OpenAlbum(path, 5);
        FAIL() << "accepted a damaged file";
    } catch (const Error& e) {
        EXPECT_THAT(e.message().toStdString(), HasSubstr("bad.lumiset"));
        EXPECT_THAT(e.message().toStdString(), HasSubstr(GetParam().message));
    }
    EXPECT_EQ(current.photos, sampleAlbum().photos);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DamagedAlbumFile,
    ::testing::Values(
        DamagedFile{"NotJson", [] { return QByteArray("{\"format\": \"lumiset-album\", "); },
                    "不是有效的相册文件"},
        DamagedFile{"Truncated", [] { return AlbumToJson(sampleAlbum()).left(300); }, "不是有效的相册文件"},
        DamagedFile{"WrongFormat", [] { return edited([](QJsonObject& r) { r["format"] = "something"; }); },
                    "不是 Lumiset 相册文件"},
        DamagedFile{"FutureVersion", [] { return edited([](QJsonObject& r) { r["version"] = 2; }); }, "版本"},
        DamagedFile{"UnknownTable",
                    [] { return edited([](QJsonObject& r) { setTable(r, "ListView_x", QJsonArray()); }); },
                    "ListView_x"},
        DamagedFile{"MissingTable",
                    [] {
                        return edited([](QJsonObject& r) {
                            setTable(r, "ListView_moban_shiyong", QJsonValue::Undefined);
                        });
                    },
                    "缺少表 ListView_moban_shiyong"},
        DamagedFile{"ShortRow",
                    [] {
                        return edited([](QJsonObject& r) {
                            setTable(r, "ListView_daoru_yinyue", QJsonArray{QJsonArray{"1", "x"}});
                        });
                    },
                    "ListView_daoru_yinyue"},
        DamagedFile{"NonTextCell",
                    [] {
                        return edited([](QJsonObject& r) {
                            setTable(r, "ListView_daoru_LRC", QJsonArray{QJsonArray{"1", "x", ".lrc", 5}});
                        });
                    },
                    "非文字"},
        DamagedFile{"SlotPointsPastUsedTemplates",
                    [] { return withFirstRowCell("ListView_moban_shiyong_canshu", SlotCol::UsedRow, "1"); },
                    "ListView_moban_shiyong_canshu"},
        DamagedFile{"SlotPointsPastPhotos",
                    [] { return withFirstRowCell("ListView_moban_shiyong_canshu", SlotCol::PhotoRow, "7"); },
                    "“7”"},
        DamagedFile{
            "TemplateOutsideCatalogue",
            [] { return withFirstRowCell("ListView_moban_shiyong", UsedTemplateCol::TemplateNumber, "9"); },
            "模板编号"},
        DamagedFile{"BackgroundRowsOutOfStep",
                    [] {
                        return edited(
                            [](QJsonObject& r) { setTable(r, "ListView_moban_beijing", QJsonArray()); });
                    },
                    "ListView_moban_beijing"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });
