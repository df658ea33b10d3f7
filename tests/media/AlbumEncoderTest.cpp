#include "media/AlbumEncoder.h"
#include "core/Error.h"
#include "media/FrameConverter.h"
#include "tests/media/AlbumFixtures.h"
#include "tests/media/AudioFixtures.h"
#include "tests/media/MediaProbe.h"
#include "tests/support/TempTree.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

extern "C" {
#include <libavutil/mathematics.h>
#include <libavutil/pixfmt.h>
}

using namespace lumiset;
using namespace lumiset::test;

namespace {

constexpr QSize kAlbumSize(320, 176);
constexpr int kFrames = 60;
constexpr AVRational kPal{25, 1};
constexpr AVRational kNtsc{30000, 1001};
const EncoderSettings kMp4Settings{AlbumType::MP4, TvSystem::Pal, PictureQuality::High, kAlbumSize};

QString toneSong(const TempTree& tree, double seconds = 3.0) {
    const QString path = tree.file("tone.mp3");
    WriteAudio(path, AudioSpec{"libmp3lame", "mp3", 44100, 0, seconds, false, false, true});
    return path;
}

// Output frames of `frames` album frames at `rate`, and the album frame output frame `n` shows.
qint64 outputFrames(qint64 frames, AVRational rate) {
    return av_rescale_rnd(frames, rate.num, qint64(rate.den) * 25, AV_ROUND_NEAR_INF);
}
qint64 albumFrameAt(qint64 n, AVRational rate) {
    return av_rescale_rnd(n, qint64(rate.den) * 25, rate.num, AV_ROUND_DOWN);
}

struct TypeCase {
    const char* label;
    AlbumType type;
    TvSystem tv;
    const char* videoCodec;
    QSize frameSize;
    AVRational frameRate;
    AVRational displayAspect;
    const char* audioCodec;
    int sampleRate;
    bool letterboxed;
};

class EveryTypeAndSystem : public ::testing::TestWithParam<TypeCase> {};

} // namespace

// The file has the type's codecs and geometry, lasts as long as the album, shows every album frame at
// its time (NTSC repeating some), in the right colours, and plays the song fading out with the pictures.
TEST_P(EveryTypeAndSystem, WritesTheAlbumAsPlayersShowIt) {
    const TypeCase& expected = GetParam();
    TempTree tree;
    const QString path = tree.file(QStringLiteral("我的相册") + FileEnding(expected.type));
    const EncoderSettings settings{expected.type, expected.tv, PictureQuality::High, kAlbumSize};

    EXPECT_EQ(EncodeAlbum(settings, path, {{toneSong(tree), kFrames}}, kFrames), QStringList());

    const MediaFacts facts = ProbeMedia(path);
    ASSERT_TRUE(facts.video && facts.audio);
    const StreamFacts& video = *facts.video;
    const double frame = 1 / av_q2d(expected.frameRate);
    const double seconds = kFrames / 25.0;
    EXPECT_EQ(video.codec, expected.videoCodec);
    EXPECT_EQ(QSize(video.width, video.height), expected.frameSize);
    EXPECT_NEAR(av_q2d(video.frameRate), av_q2d(expected.frameRate), 1e-3);
    // MPEG-1 codes the pixel shape from a table: 4:3 reads back as 1958:1467 (PAL) or 880:657 (NTSC).
    EXPECT_NEAR(av_q2d(video.displayAspect), av_q2d(expected.displayAspect), 0.01)
        << video.displayAspect.num << ":" << video.displayAspect.den;
    EXPECT_NEAR(video.end - video.start, seconds, frame);
    const StreamFacts& audio = *facts.audio;
    EXPECT_EQ(audio.codec, expected.audioCodec);
    EXPECT_EQ(audio.sampleRate, expected.sampleRate);
    EXPECT_EQ(audio.channels, 2);
    EXPECT_NEAR(audio.end, video.end, frame);

    qint64 shown = 0;
    ForEachPicture(path, [&](const QImage& picture) {
        EXPECT_EQ(ReadPictureNumber(picture), albumFrameAt(shown, expected.frameRate)) << "picture " << shown;
        if (shown++ != 10)
            return;
        const QRgb left = picture.pixel(picture.width() / 16, picture.height() / 2);
        const QRgb right = picture.pixel(picture.width() * 15 / 16, picture.height() / 2);
        EXPECT_TRUE(qRed(left) > 160 && qGreen(left) < 90 && qBlue(left) < 90) << std::hex << left;
        EXPECT_TRUE(qBlue(right) > 160 && qRed(right) < 90 && qGreen(right) < 90) << std::hex << right;
        const int top = qGray(picture.pixel(picture.width() / 2, picture.height() * 3 / 100));
        if (expected.letterboxed) {
            EXPECT_LT(top, 40) << "a black bar above the picture";
        } else {
            EXPECT_NEAR(top, 128, 30) << "the picture reaches the top";
        }
    });
    EXPECT_EQ(shown, outputFrames(kFrames, expected.frameRate));

    const MonoSound sound = DecodeMonoSound(path);
    EXPECT_GT(sound.rms(0.2, 1.2), 0.25) << "the song plays";
    const double halfway = sound.rms(seconds - 0.55, seconds - 0.45);
    EXPECT_TRUE(halfway > 0.1 && halfway < 0.25) << "half way through the fade: " << halfway;
    EXPECT_LT(sound.rms(seconds - 0.05, seconds), 0.03) << "faded out";
}

INSTANTIATE_TEST_SUITE_P(
    Albums, EveryTypeAndSystem,
    ::testing::Values(TypeCase{"VCD_PAL",
                               AlbumType::VCD,
                               TvSystem::Pal,
                               "mpeg1video",
                               {352, 288},
                               kPal,
                               {4, 3},
                               "mp2",
                               44100,
                               true},
                      TypeCase{"VCD_NTSC",
                               AlbumType::VCD,
                               TvSystem::Ntsc,
                               "mpeg1video",
                               {352, 240},
                               kNtsc,
                               {4, 3},
                               "mp2",
                               44100,
                               true},
                      TypeCase{"SVCD_PAL",
                               AlbumType::SVCD,
                               TvSystem::Pal,
                               "mpeg2video",
                               {480, 576},
                               kPal,
                               {16, 9},
                               "mp2",
                               44100,
                               false},
                      TypeCase{"SVCD_NTSC",
                               AlbumType::SVCD,
                               TvSystem::Ntsc,
                               "mpeg2video",
                               {480, 480},
                               kNtsc,
                               {16, 9},
                               "mp2",
                               44100,
                               false},
                      TypeCase{"DVD_PAL",
                               AlbumType::DVD,
                               TvSystem::Pal,
                               "mpeg2video",
                               {720, 576},
                               kPal,
                               {16, 9},
                               "ac3",
                               48000,
                               false},
                      TypeCase{"DVD_NTSC",
                               AlbumType::DVD,
                               TvSystem::Ntsc,
                               "mpeg2video",
                               {720, 480},
                               kNtsc,
                               {16, 9},
                               "ac3",
                               48000,
                               false},
                      TypeCase{"AVI_PAL",
                               AlbumType::AVI,
                               TvSystem::Pal,
                               "mpeg4",
                               kAlbumSize,
                               kPal,
                               {20, 11},
                               "mp3",
                               44100,
                               false},
                      TypeCase{"AVI_NTSC",
                               AlbumType::AVI,
                               TvSystem::Ntsc,
                               "mpeg4",
                               kAlbumSize,
                               kNtsc,
                               {20, 11},
                               "mp3",
                               44100,
                               false},
                      TypeCase{"WMV_PAL",
                               AlbumType::WMV,
                               TvSystem::Pal,
                               "wmv2",
                               kAlbumSize,
                               kPal,
                               {20, 11},
                               "wmav2",
                               44100,
                               false},
                      // WMV, MP4 and MOV keep the album's 25 frames a second under NTSC too.
                      TypeCase{"WMV_NTSC",
                               AlbumType::WMV,
                               TvSystem::Ntsc,
                               "wmv2",
                               kAlbumSize,
                               kPal,
                               {20, 11},
                               "wmav2",
                               44100,
                               false},
                      TypeCase{"MP4_PAL",
                               AlbumType::MP4,
                               TvSystem::Pal,
                               "h264",
                               kAlbumSize,
                               kPal,
                               {20, 11},
                               "aac",
                               44100,
                               false},
                      TypeCase{"MP4_NTSC",
                               AlbumType::MP4,
                               TvSystem::Ntsc,
                               "h264",
                               kAlbumSize,
                               kPal,
                               {20, 11},
                               "aac",
                               44100,
                               false},
                      TypeCase{"MOV_PAL",
                               AlbumType::MOV,
                               TvSystem::Pal,
                               "h264",
                               kAlbumSize,
                               kPal,
                               {20, 11},
                               "aac",
                               44100,
                               false},
                      TypeCase{"MOV_NTSC",
                               AlbumType::MOV,
                               TvSystem::Ntsc,
                               "h264",
                               kAlbumSize,
                               kPal,
                               {20, 11},
                               "aac",
                               44100,
                               false}),
    [](const auto& testInfo) { return std::string(testInfo.param.label); });

namespace {

struct SizeCase {
    AlbumType type;
    QSize size;
};

std::vector<SizeCase> everyTableSize() {
    std::vector<SizeCase> cases;
    for (const AlbumType type : kAlbumTypes)
        for (const QSize size : OutputSizes(type))
            cases.push_back({type, size});
    return cases;
}

class EveryTableSize : public ::testing::TestWithParam<SizeCase> {};

} // namespace

// Every size the user can pick encodes: files at the album size (discs at their own), H.264 marking the
// colours it was given (BT.709 for HD).
TEST_P(EveryTableSize, Encodes) {
    const SizeCase& param = GetParam();
    TempTree tree;
    const QString path = tree.file("a" + FileEnding(param.type));
    EncodeAlbum({param.type, TvSystem::Pal, PictureQuality::High, param.size}, path, {}, 2);

    const MediaFacts facts = ProbeMedia(path);
    ASSERT_TRUE(facts.video);
    const QSize frame(facts.video->width, facts.video->height);
    if (IsDiscType(param.type)) {
        EXPECT_EQ(frame.height(), 288 * (param.type == AlbumType::VCD ? 1 : 2));
    } else {
        EXPECT_EQ(frame, param.size);
    }
    if (facts.video->codec == "h264") {
        const bool hd = param.size.width() >= 1280;
        EXPECT_EQ(facts.video->colorSpace, hd ? AVCOL_SPC_BT709 : AVCOL_SPC_SMPTE170M);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, EveryTableSize, ::testing::ValuesIn(everyTableSize()),
                         [](const auto& testInfo) {
                             const SizeCase& c = testInfo.param;
                             return QStringLiteral("%1_%2x%3")
                                 .arg(AlbumTypeWord(c.type))
                                 .arg(c.size.width())
                                 .arg(c.size.height())
                                 .toStdString();
                         });

// Pictures converted apart from the encoder, as production converts them, are coded in the order
// given, while the converter hands its buffers out again as they come back. A picture converted for
// other settings is refused and spoils nothing.
TEST(AlbumEncoder, TakesPicturesConvertedElsewhere) {
    TempTree tree;
    const QString path = tree.file("album.mpg");
    const EncoderSettings settings{AlbumType::DVD, TvSystem::Pal, PictureQuality::High, kAlbumSize};
    AlbumEncoder encoder(settings, path, {}, kFrames);
    FrameConverter converter(settings);
    FrameConverter other({AlbumType::MP4, TvSystem::Pal, PictureQuality::High, QSize(640, 352)});
    try {
        encoder.addPicture(other.convert(NumberedPicture(QSize(640, 352), 0)));
        ADD_FAILURE() << "a picture of another size was taken";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("格式"))) << error.message().toStdString();
    }
    for (int n = 0; n < kFrames; ++n)
        encoder.addPicture(converter.convert(NumberedPicture(kAlbumSize, n)));
    encoder.finish();

    qint64 shown = 0;
    ForEachPicture(path, [&](const QImage& picture) {
        EXPECT_EQ(ReadPictureNumber(picture), shown) << "picture " << shown;
        ++shown;
    });
    EXPECT_EQ(shown, kFrames);
}

// An album size no encoder codes (odd) becomes the even size just below it.
TEST(AlbumEncoder, CodesAnOddAlbumSizeAsTheEvenOneBelow) {
    TempTree tree;
    for (const AlbumType type : {AlbumType::AVI, AlbumType::WMV, AlbumType::MP4}) {
        const QString path = tree.file("odd" + FileEnding(type));
        EncodeAlbum({type, TvSystem::Pal, PictureQuality::High, QSize(321, 177)}, path, {}, 3);
        const MediaFacts facts = ProbeMedia(path);
        ASSERT_TRUE(facts.video);
        EXPECT_EQ(QSize(facts.video->width, facts.video->height), QSize(320, 176));
    }
}

namespace {

class PictureFormats : public ::testing::TestWithParam<QImage::Format> {};

} // namespace

// Frames come in any pixel format with their colours and content intact.
TEST_P(PictureFormats, KeepTheirColours) {
    TempTree tree;
    const QString path = tree.file("album.mp4");
    EncodeAlbum(kMp4Settings, path, {}, 3, [](QSize size, int index) {
        return NumberedPicture(size, index + 5).convertToFormat(GetParam());
    });

    int shown = 0;
    ForEachPicture(path, [&](const QImage& picture) {
        EXPECT_EQ(ReadPictureNumber(picture), shown++ + 5);
        const QRgb left = picture.pixel(picture.width() / 16, picture.height() / 2);
        const QRgb right = picture.pixel(picture.width() * 15 / 16, picture.height() / 2);
        EXPECT_TRUE(qRed(left) > 160 && qBlue(left) < 90) << std::hex << left;
        EXPECT_TRUE(qBlue(right) > 160 && qRed(right) < 90) << std::hex << right;
    });
    EXPECT_EQ(shown, 3);
}

INSTANTIATE_TEST_SUITE_P(Formats, PictureFormats,
                         ::testing::Values(QImage::Format_RGB32, QImage::Format_ARGB32,
                                           QImage::Format_ARGB32_Premultiplied, QImage::Format_RGBA8888,
                                           QImage::Format_RGB888));

namespace {

class QualityRises : public ::testing::TestWithParam<AlbumType> {};

} // namespace

// 标清, 高清 and 超清 of the same pictures take more and more bytes.
TEST_P(QualityRises, FromStandardToSuper) {
    TempTree tree;
    qint64 previous = 0;
    for (const PictureQuality quality :
         {PictureQuality::Standard, PictureQuality::High, PictureQuality::Super}) {
        const QString path = tree.file(PictureQualityWord(quality) + FileEnding(GetParam()));
        EncodeAlbum({GetParam(), TvSystem::Pal, quality, kAlbumSize}, path, {}, 20, NoisyPicture);
        const qint64 size = QFileInfo(path).size();
        EXPECT_GT(size, previous * 11 / 10) << PictureQualityWord(quality).toStdString();
        previous = size;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, QualityRises,
                         ::testing::Values(AlbumType::AVI, AlbumType::WMV, AlbumType::MP4),
                         [](const auto& testInfo) { return AlbumTypeWord(testInfo.param).toStdString(); });

namespace {

struct LengthCase {
    AlbumType type;
    TvSystem tv;
    int frames;
};

std::vector<LengthCase> lengthCases() {
    std::vector<LengthCase> cases;
    for (const AlbumType type : kAlbumTypes)
        for (const TvSystem tv : {TvSystem::Pal, TvSystem::Ntsc})
            for (const int frames : {1, 37, 101})
                if (tv == TvSystem::Pal || type == AlbumType::AVI || IsDiscType(type))
                    cases.push_back({type, tv, frames});
    return cases;
}

class SoundTrack : public ::testing::TestWithParam<LengthCase> {};

} // namespace

// Whatever the album's length and the sound encoder's frame size and priming, the sound track ends
// within a frame of the pictures; without songs it is silence.
TEST_P(SoundTrack, EndsWithThePictures) {
    const LengthCase& param = GetParam();
    TempTree tree;
    const QString path = tree.file("quiet" + FileEnding(param.type));
    EncodeAlbum({param.type, param.tv, PictureQuality::Standard, kAlbumSize}, path, {}, param.frames);

    const MediaFacts facts = ProbeMedia(path);
    ASSERT_TRUE(facts.video && facts.audio);
    // Not the rate read back: a file of one frame shows none.
    const bool ntscRate =
        param.tv == TvSystem::Ntsc && (IsDiscType(param.type) || param.type == AlbumType::AVI);
    const double frame = 1 / av_q2d(ntscRate ? kNtsc : kPal);
    const double videoEnd = facts.video->start + double(facts.video->packets) * frame;
    EXPECT_NEAR(videoEnd - facts.video->start, param.frames / 25.0, frame / 2);
    EXPECT_NEAR(facts.audio->end, videoEnd, frame);
    EXPECT_LT(DecodeMonoSound(path).rms(0, 10), 1e-3);
}

INSTANTIATE_TEST_SUITE_P(Lengths, SoundTrack, ::testing::ValuesIn(lengthCases()), [](const auto& testInfo) {
    const LengthCase& c = testInfo.param;
    return QStringLiteral("%1_%2_%3")
        .arg(AlbumTypeWord(c.type), TvSystemWord(c.tv))
        .arg(c.frames)
        .toStdString();
});

namespace {

class SoundInStep : public ::testing::TestWithParam<AlbumType> {};

} // namespace

// A song that starts one second into the album is heard one second after the first picture, whatever
// the container does with the sound encoder's priming.
TEST_P(SoundInStep, WithThePictures) {
    TempTree tree;
    const QString quiet = tree.file("quiet.mp3");
    WriteAudio(quiet, AudioSpec{"libmp3lame", "mp3", 44100, 3.0, 0.0, false, false, true});
    const QString path = tree.file("album" + FileEnding(GetParam()));
    EncodeAlbum({GetParam(), TvSystem::Pal, PictureQuality::High, kAlbumSize}, path,
                {{quiet, 25}, {toneSong(tree), 50}}, 75);

    const MediaFacts facts = ProbeMedia(path);
    ASSERT_TRUE(facts.video);
    EXPECT_NEAR(DecodeMonoSound(path).onset(0.25f), facts.video->start + 1.0, 0.012);
}

INSTANTIATE_TEST_SUITE_P(Types, SoundInStep, ::testing::ValuesIn(kAlbumTypes),
                         [](const auto& testInfo) { return AlbumTypeWord(testInfo.param).toStdString(); });

// Each segment plays the start of its song for its length, one after the other; silence follows them.
TEST(AlbumEncoder, PlaysTheSegmentsInTurnForTheirLengths) {
    TempTree tree;
    const QString tone = toneSong(tree);
    const QString quiet = tree.file("quiet.mp3");
    WriteAudio(quiet, AudioSpec{"libmp3lame", "mp3", 44100, 3.0, 0.0, false, false, true});
    const QString path = tree.file("album.mp4");

    const QStringList warnings =
        EncodeAlbum({AlbumType::MP4, TvSystem::Pal, PictureQuality::High, kAlbumSize}, path,
                    {{tone, 20}, {quiet, 20}, {tone, 20}}, 100);

    EXPECT_EQ(warnings, QStringList());
    const MonoSound sound = DecodeMonoSound(path);
    EXPECT_GT(sound.rms(0.1, 0.7), 0.25);
    EXPECT_LT(sound.rms(0.9, 1.5), 0.01);
    EXPECT_GT(sound.rms(1.7, 2.3), 0.25);
    EXPECT_LT(sound.rms(2.5, 4.0), 0.01);
    EXPECT_NEAR(double(sound.samples.size()) / sound.sampleRate, 4.0, 0.04);
}

namespace {

class DvdAuthoring : public ::testing::TestWithParam<TvSystem> {};

} // namespace

// dvdauthor, which makes a DVD's VIDEO_TS folder, takes the file as it is, 16:9 and in its TV system.
TEST_P(DvdAuthoring, AcceptsTheDvdFile) {
    const QString dvdauthor = QStandardPaths::findExecutable("dvdauthor");
    if (dvdauthor.isEmpty())
        GTEST_SKIP() << "dvdauthor is not installed";
    TempTree tree;
    const QString path = tree.file("album.mpg");
    EncodeAlbum({AlbumType::DVD, GetParam(), PictureQuality::High, QSize(1280, 720)}, path,
                {{toneSong(tree), kFrames}}, kFrames);

    QProcess author;
    author.setProcessChannelMode(QProcess::MergedChannels);
    author.start(dvdauthor, {"-o", tree.file("disc"), "-t", path});
    ASSERT_TRUE(author.waitForFinished(60000));
    const QString report = QString::fromUtf8(author.readAll());
    EXPECT_EQ(author.exitCode(), 0) << report.toStdString();
    EXPECT_FALSE(report.contains("ERR:")) << report.toStdString();
    EXPECT_TRUE(report.contains("Aspect ratio: 16:9")) << report.toStdString();
    const QString standard = GetParam() == TvSystem::Pal ? "pal" : "ntsc";
    EXPECT_TRUE(report.contains("TV standard: " + standard)) << report.toStdString();
    EXPECT_TRUE(report.contains("ac3/2ch")) << report.toStdString();
    EXPECT_GT(QFileInfo(tree.file("disc/VIDEO_TS/VTS_01_1.VOB")).size(), 0);
}

INSTANTIATE_TEST_SUITE_P(Systems, DvdAuthoring, ::testing::Values(TvSystem::Pal, TvSystem::Ntsc),
                         [](const auto& testInfo) { return TvSystemWord(testInfo.param).toStdString(); });
