#include "core/FileAccess.h"
#include "core/AlbumFile.h"
#include "core/Error.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempTree.h"

#include <QDir>
#include <QImage>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace lumiset;
using lumiset::test::FileSizeLimit;
using lumiset::test::TempTree;
using ::testing::HasSubstr;

namespace {

std::string text(const QString& s) {
    return s.toStdString();
}

Album albumOfPhotos(int count) {
    Album album;
    for (int i = 0; i < count; ++i)
        album.photos.appendRow(
            {QString::number(i + 1), "IMG", ".jpg", "4000", "3000", "/photos/IMG.jpg", ""});
    return album;
}

QImage noisyPicture() {
    QImage image(300, 300, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            image.setPixel(x, y, seed >> 8);
        }
    return image;
}

struct FailedWrite {
    const char* name;
    std::function<void(const QString& path)> write;
};

class WriteOnFullDisk : public ::testing::TestWithParam<FailedWrite> {};

} // namespace

// The old content stays and the error names the file, whether the write was small enough to sit in a
// buffer until the end or large enough to go to the disk at once.
TEST_P(WriteOnFullDisk, ReportsTheFileAndKeepsTheOldContent) {
    TempTree tree;
    const QString path = tree.write("albums/mine.lumiset", "the album as it was");
    try {
        const FileSizeLimit full(1000);
        GetParam().write(path);
        FAIL() << "a write onto a full disk was reported as done";
    } catch (const Error& e) {
        EXPECT_THAT(text(e.message()), HasSubstr("mine.lumiset"));
    }
    EXPECT_EQ(tree.read("albums/mine.lumiset"), "the album as it was");
    EXPECT_EQ(QDir(tree.file("albums")).entryList(QDir::Files | QDir::Hidden), QStringList{"mine.lumiset"})
        << "no temporary file may stay behind";
}

INSTANTIATE_TEST_SUITE_P(
    Writes, WriteOnFullDisk,
    ::testing::Values(
        FailedWrite{"BufferedSmallFile", [](const QString& p) { WriteWholeFile(p, QByteArray(4000, 'a')); }},
        FailedWrite{"LargeFile", [](const QString& p) { WriteWholeFile(p, QByteArray(200'000, 'a')); }},
        FailedWrite{"Picture", [](const QString& p) { SaveImageFile(p, noisyPicture(), "PNG"); }},
        FailedWrite{"AlbumFile", [](const QString& p) { SaveAlbum(albumOfPhotos(100), p); }}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(WriteWholeFile, ReplacesTheFileWhenTheWriteSucceeds) {
    TempTree tree;
    const QString path = tree.write("a/b.txt", "old");
    WriteWholeFile(path, "new content");
    EXPECT_EQ(tree.read("a/b.txt"), "new content");
}

TEST(SaveImageFile, WritesAPictureThatReadsBack) {
    TempTree tree;
    const QString path = tree.file("out/p.png");
    SaveImageFile(path, noisyPicture(), "PNG");
    EXPECT_EQ(QImage(path).size(), QSize(300, 300));
}

namespace {

struct UnreadableCase {
    const char* name;
    std::function<QString(TempTree&)> make; // the path to read
    const char* reason;
};

class ReadWholeFileRefuses : public ::testing::TestWithParam<UnreadableCase> {};

} // namespace

// Every case must end at once with a message naming the file: none may wait or read without end.
TEST_P(ReadWholeFileRefuses, WhatIsNotABoundedRegularFile) {
    TempTree tree;
    const QString path = GetParam().make(tree);
    try {
        ReadWholeFile(path, 1000);
        FAIL() << "read " << text(path);
    } catch (const Error& e) {
        EXPECT_THAT(text(e.message()), HasSubstr(text(QDir::toNativeSeparators(path))));
        EXPECT_THAT(text(e.message()), HasSubstr(GetParam().reason));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ReadWholeFileRefuses,
    ::testing::Values(
        UnreadableCase{"Pipe",
                       [](TempTree& tree) {
                           const QString path = tree.file("album.fifo");
                           mkfifo(QFile::encodeName(path).constData(), 0600);
                           return path;
                       },
                       "不是普通文件"},
        UnreadableCase{"EndlessDevice", [](TempTree&) { return QStringLiteral("/dev/zero"); },
                       "不是普通文件"},
        UnreadableCase{"Folder",
                       [](TempTree& tree) {
                           tree.write("folder/x", "x");
                           return tree.file("folder");
                       },
                       "不是普通文件"},
        UnreadableCase{"TooLarge",
                       [](TempTree& tree) { return tree.write("big.json", QByteArray(1001, '{')); }, "过大"},
        UnreadableCase{"Missing", [](TempTree& tree) { return tree.file("nowhere.json"); }, "不存在"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(ReadWholeFile, ReadsAFileUpToTheLimit) {
    TempTree tree;
    const QString path = tree.write("ok.json", QByteArray(1000, '{'));
    EXPECT_EQ(ReadWholeFile(path, 1000).size(), 1000);
}
