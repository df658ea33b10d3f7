#include "core/Error.h"
#include "media/AlbumEncoder.h"
#include "tests/media/AlbumFixtures.h"
#include "tests/media/AudioFixtures.h"
#include "tests/media/MediaProbe.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

using namespace lumiset;
using namespace lumiset::test;
using ::testing::HasSubstr;

namespace {

constexpr QSize kAlbumSize(320, 176);

const EncoderSettings kMp4{AlbumType::MP4, TvSystem::Pal, PictureQuality::High, kAlbumSize};

std::string text(const QString& s) {
    return s.toStdString();
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

QString toneSong(const TempTree& tree, const QString& name) {
    const QString path = tree.file(name);
    WriteAudio(path, AudioSpec{"libmp3lame", "mp3", 44100, 0, 3.0, false, false, true});
    return path;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

struct DamageCase {
    const char* label;
    // Makes the song in `tree` and returns its path.
    std::function<QString(const TempTree& tree)> make;
    double playsUntil; // seconds of the song's sound that must come through
};

class DamagedSong : public ::testing::TestWithParam<DamageCase> {};

} // namespace

// A song that cannot be read, or only in part, still gives an album: what can be read plays, silence
// fills the rest, and a warning names the file.
TEST_P(DamagedSong, PlaysWhatCanBeReadAndWarns) {
    TempTree tree;
    const QString song = GetParam().make(tree);
    const QString path = tree.file("album.mp4");

    const QStringList warnings = EncodeAlbum(kMp4, path, {{song, 60}}, 75);

    ASSERT_EQ(warnings.size(), 1) << text(warnings.join('\n'));
    EXPECT_THAT(text(warnings.first()), HasSubstr(text(QFileInfo(song).fileName())));
    const MediaFacts facts = ProbeMedia(path);
    ASSERT_TRUE(facts.video && facts.audio);
    EXPECT_NEAR(facts.audio->end, facts.video->end, 0.04);
    const MonoSound sound = DecodeMonoSound(path);
    if (GetParam().playsUntil > 0) {
        EXPECT_GT(sound.rms(0.1, GetParam().playsUntil), 0.25) << "the song plays up to its damage";
    }
    EXPECT_LT(sound.rms(2.0, 2.4), 0.01) << "silence where the song could not be read";
}

INSTANTIATE_TEST_SUITE_P(
    Songs, DamagedSong,
    ::testing::Values(
        DamageCase{"CutShort",
                   [](const TempTree& tree) {
                       const QString path = toneSong(tree, "cut.mp3");
                       const QByteArray whole = readAll(path);
                       writeAll(path, whole.left(whole.size() * 2 / 5));
                       return path;
                   },
                   1.0},
        DamageCase{"GarbledMiddle",
                   [](const TempTree& tree) {
                       const QString path = toneSong(tree, "garbled.mp3");
                       QByteArray bytes = readAll(path);
                       quint32 seed = 99;
                       for (qsizetype i = bytes.size() / 3; i < bytes.size(); ++i) {
                           seed = seed * 1664525u + 1013904223u;
                           bytes[i] = char(seed >> 24);
                       }
                       writeAll(path, bytes);
                       return path;
                   },
                   0.8},
        DamageCase{"Missing", [](const TempTree& tree) { return tree.file("gone.mp3"); }, 0},
        DamageCase{"NotSound",
                   [](const TempTree& tree) { return tree.write("words.mp3", "just some words\n"); }, 0}),
    [](const auto& testInfo) { return std::string(testInfo.param.label); });

// Stopping (the encoder ends without finish) leaves the folder as it was: an older album of the same
// name untouched and no temporary file. Finishing replaces that album.
TEST(AlbumEncoder, ReplacesAnOlderAlbumOnlyWhenFinished) {
    TempTree tree;
    const QString path = tree.write("albums/album.mp4", "the older album");
    {
        AlbumEncoder encoder(kMp4, path, {}, 30);
        for (int i = 0; i < 10; ++i)
            encoder.addFrame(NumberedPicture(kAlbumSize, i));
        EXPECT_EQ(filesIn(tree.file("albums")).size(), 2) << "the file is written beside the album";
    }
    EXPECT_EQ(readAll(path), "the older album");
    EXPECT_EQ(filesIn(tree.file("albums")), QStringList{"album.mp4"});

    EncodeAlbum(kMp4, path, {}, 30);
    EXPECT_EQ(filesIn(tree.file("albums")), QStringList{"album.mp4"});
    ASSERT_TRUE(ProbeMedia(path).video);
}

// Frames that do not match what was announced are refused, and a file missing frames is never finished.
TEST(AlbumEncoder, RefusesFramesThatDoNotMatchTheAlbum) {
    TempTree tree;
    const QString path = tree.file("album.mp4");
    {
        AlbumEncoder encoder(kMp4, path, {}, 3);
        EXPECT_THROW(encoder.addFrame(NumberedPicture(QSize(322, 176), 0)), Error);
    }
    {
        AlbumEncoder encoder(kMp4, path, {}, 3);
        encoder.addFrame(NumberedPicture(kAlbumSize, 0));
        EXPECT_THROW(encoder.finish(), Error) << "two frames are missing";
    }
    {
        AlbumEncoder encoder(kMp4, path, {}, 1);
        encoder.addFrame(NumberedPicture(kAlbumSize, 0));
        EXPECT_THROW(encoder.addFrame(NumberedPicture(kAlbumSize, 1)), Error) << "one frame too many";
    }
    EXPECT_EQ(filesIn(tree.path()), QStringList());
    EXPECT_THROW(AlbumEncoder(kMp4, path, {}, 0), Error);
    EXPECT_THROW(
        AlbumEncoder({AlbumType::MP4, TvSystem::Pal, PictureQuality::High, QSize(0, 0)}, path, {}, 10),
        Error);
}

namespace {

struct FolderCase {
    const char* label;
    // The output path to try, made in `tree`, and the text the message must hold.
    std::function<std::pair<QString, QString>(const TempTree& tree)> make;
};

class UnusableFolder : public ::testing::TestWithParam<FolderCase> {};

} // namespace

// A folder that cannot take the album is refused before anything is written, with a message naming it.
TEST_P(UnusableFolder, IsRefusedBeforeAnythingIsWritten) {
    TempTree tree;
    const auto [path, named] = GetParam().make(tree);
    const QStringList before = filesIn(tree.path());
    for (const bool checkOnly : {true, false}) {
        try {
            if (checkOnly)
                AlbumEncoder::CheckOutputFolder(path);
            else
                AlbumEncoder(kMp4, path, {}, 10);
            FAIL() << "accepted " << text(path);
        } catch (const Error& e) {
            EXPECT_THAT(text(e.message()), HasSubstr(text(QDir::toNativeSeparators(named))));
        }
    }
    EXPECT_EQ(filesIn(tree.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, UnusableFolder,
    ::testing::Values(FolderCase{"Missing",
                                 [](const TempTree& tree) {
                                     return std::pair(tree.file("nowhere/album.mp4"), tree.file("nowhere"));
                                 }},
                      FolderCase{"AFileInstead",
                                 [](const TempTree& tree) {
                                     const QString file = tree.write("notes.txt", "notes");
                                     return std::pair(file + "/album.mp4", file);
                                 }},
                      FolderCase{"NameOfAFolder",
                                 [](const TempTree& tree) {
                                     QDir(tree.path()).mkdir("album.mp4");
                                     return std::pair(tree.file("album.mp4"), tree.file("album.mp4"));
                                 }},
                      // Permissions do not stop the superuser; the kernel's own folders stop anyone.
                      FolderCase{"ReadOnly",
                                 [](const TempTree& tree) {
                                     if (geteuid() == 0)
                                         return std::pair(QString("/proc/album.mp4"), QString("/proc"));
                                     const QString folder = tree.file("locked");
                                     QDir(tree.path()).mkdir("locked");
                                     QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
                                     return std::pair(folder + "/album.mp4", folder);
                                 }}),
    [](const auto& testInfo) { return std::string(testInfo.param.label); });

namespace {

struct FullDiskCase {
    AlbumType type;
    rlim_t room; // bytes a file may grow to
};

class FullDisk : public ::testing::TestWithParam<FullDiskCase> {};

} // namespace

// When the disk fills up the encoder says so, naming the album, and leaves nothing behind.
TEST_P(FullDisk, IsReportedAndLeavesNoFile) {
    TempTree tree;
    const QString song = toneSong(tree, "tone.mp3");
    const QString folder = tree.file("albums");
    QDir(tree.path()).mkdir("albums");
    const QString path = folder + "/我的相册" + FileEnding(GetParam().type);
    QString message;
    {
        std::unique_ptr<AlbumEncoder> encoder;
        const FileSizeLimit full(GetParam().room);
        try {
            encoder = std::make_unique<AlbumEncoder>(
                EncoderSettings{GetParam().type, TvSystem::Pal, PictureQuality::High, kAlbumSize}, path,
                QList<AudioSegment>{{song, 60}}, 60);
            for (int i = 0; i < 60; ++i)
                encoder->addFrame(NoisyPicture(kAlbumSize, i));
            encoder->finish();
        } catch (const Error& e) {
            message = e.message();
        }
    }
    EXPECT_THAT(text(message), HasSubstr("我的相册"));
    EXPECT_EQ(filesIn(folder), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Types, FullDisk,
    ::testing::Values(FullDiskCase{AlbumType::MP4, 20000}, FullDiskCase{AlbumType::AVI, 20000},
                      FullDiskCase{AlbumType::WMV, 20000}, FullDiskCase{AlbumType::DVD, 100000},
                      FullDiskCase{AlbumType::MP4, 100}),
    [](const auto& testInfo) {
        return text(AlbumTypeWord(testInfo.param.type)) + "_" + std::to_string(testInfo.param.room);
    });
