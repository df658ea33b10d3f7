#include "media/EncoderPresets.h"

extern "C" {
#include <libavutil/macros.h>
}

#include <QtGlobal>
#include <cmath>

namespace lumiset {
namespace {

constexpr AVRational kPalRate{25, 1};
constexpr AVRational kNtscRate{30000, 1001};

int roundToEven(double value) {
    return qMax(2, 2 * int(std::lround(value / 2)));
}

// The largest rectangle of the album's shape that fits `frame` when the frame is shown at
// `displayAspect`, centred; black bars fill the rest.
QRect fitPicture(QSize album, QSize frame, AVRational displayAspect) {
    const double albumAspect = double(album.width()) / album.height();
    const double frameAspect = av_q2d(displayAspect);
    int width = frame.width();
    int height = frame.height();
    if (albumAspect > frameAspect)
        height = qMin(height, roundToEven(height * frameAspect / albumAspect));
    else
        width = qMin(width, roundToEven(width * albumAspect / frameAspect));
    return QRect(((frame.width() - width) / 2) & ~1, ((frame.height() - height) / 2) & ~1, width, height);
}

AVRational pixelShape(QSize frame, AVRational displayAspect) {
    AVRational shape{1, 1};
    av_reduce(&shape.num, &shape.den, qint64(displayAspect.num) * frame.height(),
              qint64(displayAspect.den) * frame.width(), 1 << 16);
    return shape;
}

template <typename Value> Value choose(PictureQuality quality, Value standard, Value high, Value super) {
    switch (quality) {
    case PictureQuality::Standard:
        return standard;
    case PictureQuality::High:
        return high;
    case PictureQuality::Super:
        return super;
    }
    return high;
}

// The extra search effort of the disc encoders, whose rates the standards fix. At those rates album
// pictures leave it little to win: rate–distortion macroblock decisions gained 0.0003 SSIM on a DVD of
// camera photos for 1.8 × the encoding time (a third of the production), and trellis quantisation
// costs four times more again for a thousandth. So only 超清 spends it; 标清 and 高清 discs code alike
// and are produced over ten times faster than realtime. The files, at up to 2048 × 1152, only trellis
// at 超清.
OptionList discEffort(PictureQuality quality) {
    if (quality != PictureQuality::Super)
        return {};
    return {{"mbd", "rd"}, {"trellis", "1"}, {"cmp", "satd"}, {"subcmp", "satd"}, {"qmin", "1"}};
}

QByteArray number(qint64 value) {
    return QByteArray::number(value);
}

struct Disc {
    const char* encoder;
    const char* muxer;
    int width;
    int palHeight;
    int ntscHeight;
    AVRational displayAspect;
    qint64 bitRate;
    qint64 maxRate;
    qint64 minRate; // 0: none
    qint64 bufferBits;
    int packetSize;
    qint64 muxRate; // 0: the muxer works it out
    AudioPlan audio;
};

// The rates and buffer sizes of the disc standards.
Disc discOf(AlbumType type) {
    switch (type) {
    case AlbumType::VCD:
        return {"mpeg1video",
                "vcd",
                352,
                288,
                240,
                {4, 3},
                1150000,
                1150000,
                1150000,
                40 * 1024 * 8,
                2324,
                1411200,
                {"mp2", 44100, 224000}};
    case AlbumType::SVCD:
        return {"mpeg2video",
                "svcd",
                480,
                576,
                480,
                {16, 9},
                2040000,
                2516000,
                0,
                224 * 1024 * 8,
                2324,
                0,
                {"mp2", 44100, 224000}};
    default:
        return {"mpeg2video",
                "dvd",
                720,
                576,
                480,
                {16, 9},
                6000000,
                9000000,
                0,
                224 * 1024 * 8,
                2048,
                10080000,
                {"ac3", 48000, 448000}};
    }
}

EncodingPlan discPlan(const EncoderSettings& settings) {
    const Disc disc = discOf(settings.type);
    const bool pal = settings.tv == TvSystem::Pal;
    EncodingPlan plan;
    VideoPlan& video = plan.video;
    video.encoder = disc.encoder;
    video.frameSize = QSize(disc.width, pal ? disc.palHeight : disc.ntscHeight);
    video.picture = fitPicture(settings.albumSize, video.frameSize, disc.displayAspect);
    video.frameRate = pal ? kPalRate : kNtscRate;
    video.sampleAspect = pixelShape(video.frameSize, disc.displayAspect);
    video.options = {{"b", number(disc.bitRate)},
                     {"maxrate", number(disc.maxRate)},
                     {"bufsize", number(disc.bufferBits)},
                     {"g", pal ? "15" : "18"},
                     {"bf", "2"}};
    if (disc.minRate > 0)
        video.options.push_back({"minrate", number(disc.minRate)});
    if (settings.type == AlbumType::SVCD)
        video.options.push_back({"scan_offset", "1"});
    const OptionList effort = discEffort(settings.quality);
    video.options.insert(video.options.end(), effort.begin(), effort.end());
    plan.audio = disc.audio;
    plan.mux.format = disc.muxer;
    plan.mux.packetSize = disc.packetSize;
    if (disc.muxRate > 0)
        plan.mux.options.push_back({"muxrate", number(disc.muxRate)});
    // The first packs of a VCD hold padding; the decoder's clock starts that much later.
    if (settings.type == AlbumType::VCD)
        plan.mux.options.push_back({"preload", "440000"});
    return plan;
}

EncodingPlan filePlan(const EncoderSettings& settings) {
    EncodingPlan plan;
    VideoPlan& video = plan.video;
    const PictureQuality quality = settings.quality;
    // Every encoder here codes 4:2:0 in whole chroma samples: the frame is made even.
    video.frameSize =
        QSize(qMax(2, settings.albumSize.width() & ~1), qMax(2, settings.albumSize.height() & ~1));
    video.picture = QRect(QPoint(0, 0), video.frameSize);
    const qint64 pixelsPerSecond = qint64(video.frameSize.width()) * video.frameSize.height() * 25;
    const qint64 mpegBitRate = pixelsPerSecond * choose(quality, 10, 16, 25) / 100;
    const QByteArray keyFrameGap = "250";
    plan.audio.sampleRate = 44100;
    switch (settings.type) {
    case AlbumType::AVI:
        video.encoder = "mpeg4";
        // The tag that stand-alone players and Windows codecs look for in an AVI of MPEG-4 Part 2.
        video.codecTag = MKTAG('X', 'V', 'I', 'D');
        video.frameRate = settings.tv == TvSystem::Pal ? kPalRate : kNtscRate;
        video.options = {{"b", number(mpegBitRate)}, {"g", keyFrameGap}, {"bf", "2"}};
        plan.audio.encoder = "libmp3lame";
        plan.audio.bitRate = choose(quality, 128, 192, 256) * 1000;
        plan.mux.format = "avi";
        plan.mux.streamsStartTogether = true;
        break;
    case AlbumType::WMV:
        video.encoder = "wmv2";
        video.options = {{"b", number(mpegBitRate)}, {"g", keyFrameGap}};
        plan.audio.encoder = "wmav2";
        plan.audio.bitRate = choose(quality, 128, 160, 192) * 1000;
        plan.mux.format = "asf";
        break;
    default: // MP4, MOV
        video.encoder = "libx264";
        // x264 keeps about 7 MB per 1920 × 1080 frame of its look-ahead: 6 frames instead of medium's 40
        // keep it near 140 MB, and a crf 2 finer than the reference settings buys back what the shorter
        // look-ahead loses. Slices share the work between threads without more frames in flight.
        video.options = {{"crf", choose(quality, "24", "21", "18")},
                         {"preset", "medium"},
                         {"rc-lookahead", "6"},
                         {"thread_type", "slice"}};
        plan.audio.encoder = "aac";
        plan.audio.bitRate = choose(quality, 128, 192, 256) * 1000;
        plan.mux.format = settings.type == AlbumType::MP4 ? "mp4" : "mov";
        // The index first, so that a player can start before the whole file has arrived.
        if (settings.type == AlbumType::MP4)
            plan.mux.options.push_back({"movflags", "+faststart"});
        break;
    }
    if (quality == PictureQuality::Super &&
        (settings.type == AlbumType::AVI || settings.type == AlbumType::WMV))
        video.options.push_back({"trellis", "1"});
    return plan;
}

} // namespace

EncodingPlan PlanEncoding(const EncoderSettings& settings) {
    EncodingPlan plan = IsDiscType(settings.type) ? discPlan(settings) : filePlan(settings);
    const QSize frame = plan.video.frameSize;
    plan.video.highDefinition = frame.width() >= 1280 || frame.height() >= 720;
    return plan;
}

} // namespace lumiset
