#include "media/MusicFile.h"
#include "core/Error.h"
#include "tests/media/AudioFixtures.h"
#include "tests/media/StderrCapture.h"
#include "tests/photos/CaseNames.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/TempTree.h"

#include <QImage>
#include <functional>
#include <gtest/gtest.h>

using namespace lumiset;
using namespace lumiset::test;

struct MusicCase {
    const char* label;
    const char* fileName;
    AudioSpec design;
};

class MusicLengths : public ::testing::TestWithParam<MusicCase> {};

TEST_P(MusicLengths, EqualTheDecodedLength) {
    TempTree tree;
    const QString path = tree.file(QString::fromUtf8(GetParam().fileName));
    WriteAudio(path, GetParam().design);

    EXPECT_EQ(MusicLengthMilliseconds(path), DecodedMilliseconds(path));
}

INSTANTIATE_TEST_SUITE_P(
    Files, MusicLengths,
    ::testing::Values(
        MusicCase{"cbr", "歌.mp3", AudioSpec{"libmp3lame", "mp3", 44100, 0, 3.0, false, false, true}},
        MusicCase{"vbr", "vbr.mp3", AudioSpec{"libmp3lame", "mp3", 44100, 2.0, 3.0, true, true, true}},
        MusicCase{"vbr without xing", "vbr_no_xing.mp3",
                  AudioSpec{"libmp3lame", "mp3", 44100, 2.0, 3.0, true, true, false}},
        MusicCase{"32 kHz", "low.mp3", AudioSpec{"libmp3lame", "mp3", 32000, 0, 1.7, false, false, true}},
        MusicCase{"wave", "tone.wav", AudioSpec{"pcm_s16le", "wav", 22050, 0, 2.5, false, false, true}},
        // millisecond packet clock: the packet sum is off, so these are decoded
        MusicCase{"matroska mp3", "song.mka",
                  AudioSpec{"libmp3lame", "matroska", 44100, 0, 2.0, false, false, true}},
        MusicCase{"ogg vorbis", "song.ogg",
                  AudioSpec{"libvorbis", "ogg", 44100, 0, 2.0, false, false, true}}),
    LabelName());

TEST(MusicFile, AThreeSecondMp3ReadsThreeSeconds) {
    TempTree tree;
    const QString path = tree.file("three.mp3");
    WriteAudio(path, AudioSpec{"libmp3lame", "mp3", 44100, 0, 3.0, false, false, true});

    const qint64 length = MusicLengthMilliseconds(path);

    EXPECT_EQ(length, 3000); // the encoder's delay and padding are not part of the song
    EXPECT_EQ(MusicLengthText(length), "00:00:03");
}

TEST(MusicFile, AVbrMp3WithoutXingHeaderIsMeasuredExactly) {
    TempTree tree;
    const QString path = tree.file("vbr.mp3");
    // Quiet frames first: the container guesses the length from the first frame's small bit rate.
    WriteAudio(path, AudioSpec{"libmp3lame", "mp3", 44100, 4.0, 6.0, true, true, false});
    const qint64 decoded = DecodedMilliseconds(path);
    ASSERT_GT(std::abs(DeclaredMilliseconds(path) - decoded), decoded / 10)
        << "the fixture no longer misleads";

    EXPECT_EQ(MusicLengthMilliseconds(path), decoded);
}

struct TextCase {
    qint64 milliseconds;
    const char* text;
};

class LengthTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(LengthTexts, CountWholeSecondsAndDoNotWrapMinutes) {
    EXPECT_EQ(MusicLengthText(GetParam().milliseconds), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Lengths, LengthTexts,
                         ::testing::Values(TextCase{0, "00:00:00"}, TextCase{999, "00:00:00"},
                                           TextCase{59999, "00:00:59"}, TextCase{245000, "00:04:05"},
                                           TextCase{3725999, "00:62:05"}, TextCase{6000000, "00:100:00"}));

struct NotMusicCase {
    const char* label;
    std::function<QString(const TempTree&)> make;
};

class NotMusic : public ::testing::TestWithParam<NotMusicCase> {};

TEST_P(NotMusic, IsRefusedWithAMessageNamingTheFile) {
    TempTree tree;
    const QString path = GetParam().make(tree);
    try {
        const qint64 length = MusicLengthMilliseconds(path);
        FAIL() << GetParam().label << " measured " << length << " ms";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("音乐文件“") + path + QStringLiteral("”")))
            << error.message().toStdString();
    }
}

namespace {

std::function<QString(const TempTree&)> file(QByteArray content) {
    return [content](const TempTree& tree) { return tree.write("歌曲.mp3", content); };
}

QByteArray randomBytes(int size) {
    QByteArray bytes(size, '\0');
    quint32 state = 12345;
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = char(state >> 24);
    }
    return bytes;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Inputs, NotMusic,
    ::testing::Values(NotMusicCase{"missing", [](const TempTree& tree) { return tree.file("gone.mp3"); }},
                      NotMusicCase{"folder", [](const TempTree& tree) { return tree.path(); }},
                      NotMusicCase{"empty", file({})}, NotMusicCase{"text", file("歌词而已，不是音乐\n")},
                      NotMusicCase{"picture", file(EncodeJpeg(QuadrantScene(QSize(64, 48))))},
                      NotMusicCase{"random bytes", file(randomBytes(20000))},
                      NotMusicCase{"playlist", file("concat:/etc/hostname|/etc/hostname\n")}),
    LabelName());

struct DamageCase {
    const char* label;
    std::function<QByteArray(QByteArray)> damage;
};

class DamagedMp3 : public ::testing::TestWithParam<DamageCase> {};

// FFmpeg's demuxer and decoder complain about a damaged file line by line; only our message (or a
// length) may come out, never their lines on stderr.
TEST_P(DamagedMp3, LeavesStderrQuiet) {
    TempTree tree;
    const QString sound = tree.file("good.mp3");
    WriteAudio(sound, AudioSpec{"libmp3lame", "mp3", 44100, 0, 3.0, false, false, true});
    QFile good(sound);
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QString path = tree.write("坏.mp3", GetParam().damage(good.readAll()));

    StderrCapture capture;
    try {
        MusicLengthMilliseconds(path);
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("音乐文件“") + path))
            << error.message().toStdString();
    }

    EXPECT_EQ(capture.finish().toStdString(), "");
}

namespace {

// MPEG frame headers that a reader syncs on, each followed by noise instead of sound.
QByteArray noiseFrames(QByteArray) {
    QByteArray frames;
    const QByteArray noise = randomBytes(413 * 300);
    for (int i = 0; i < 300; ++i)
        frames += QByteArray("\xFF\xFB\x90\x64", 4) + noise.mid(i * 413, 413);
    return frames;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Files, DamagedMp3,
                         ::testing::Values(DamageCase{"cut short",
                                                      [](QByteArray mp3) { return mp3.left(300); }},
                                           DamageCase{"noise frames", noiseFrames},
                                           DamageCase{"every header broken",
                                                      [](QByteArray mp3) {
                                                          for (qsizetype i = 0; i < mp3.size(); i += 417)
                                                              mp3[i] = char(mp3[i] ^ 0x55);
                                                          return mp3;
                                                      }}),
                         LabelName());
