// How each album type is encoded: codecs, frame geometry, rates and the encoder options of each picture
// quality, as data that the encoder applies and the tests read.
//
// | Type     | Video                            | Sound                                  |
// |----------|----------------------------------|----------------------------------------|
// | VCD      | MPEG-1, 352×288 / 352×240, 4:3   | MP2 224 kb/s, 44.1 kHz                 |
// | SVCD     | MPEG-2, 480×576 / 480×480, 16:9  | MP2 224 kb/s, 44.1 kHz                 |
// | DVD      | MPEG-2, 720×576 / 720×480, 16:9  | AC-3 448 kb/s, 48 kHz                  |
// | AVI      | MPEG-4 Part 2, album size        | MP3, 44.1 kHz                          |
// | WMV      | WMV 8, album size                | WMA 2, 44.1 kHz                        |
// | MP4, MOV | H.264, album size                | AAC, 44.1 kHz                          |
//
// Picture quality:
//
// | Type            | 标清               | 高清                   | 超清                            |
// |-----------------|--------------------|------------------------|---------------------------------|
// | MP4, MOV        | crf 24             | crf 21                 | crf 18                          |
// | AVI, WMV        | 0.10 bit/pixel     | 0.16 bit/pixel         | 0.25 bit/pixel, trellis         |
// | VCD, SVCD, DVD  | standard rate      | standard rate          | standard rate, RD, SATD, qmin 1 |
// | sound: MP4, MOV | AAC 128 kb/s       | AAC 192 kb/s           | AAC 256 kb/s                    |
// | sound: AVI      | MP3 128 kb/s       | MP3 192 kb/s           | MP3 256 kb/s                    |
// | sound: WMV      | WMA 2 128 kb/s     | WMA 2 160 kb/s         | WMA 2 192 kb/s                  |
//
// - crf: x264's constant rate factor (lower is finer), preset medium with a 10-frame look-ahead (to
//   bound memory). Measured on a panning picture, each level is at least as fine (SSIM, PSNR) as x264
//   medium crf 26 / medium crf 23 / slow crf 20 with their full look-ahead, for 10–16 % more bytes.
// - bit/pixel: average bit rate = bits × width × height × 25 (album frames a second); 1280 × 720 at
//   高清 is 3.7 Mb/s. MPEG-4 uses two B-frames. AVI and WMV have a key frame at least every 10 s.
//   trellis: trellis quantisation.
// - RD: macroblock decisions by rate–distortion (mbd rd) and trellis quantisation. SATD: the motion
//   search compares blocks by SATD instead of SAD. qmin 1: the finest quantiser is allowed where the
//   disc's rate leaves bits over.
// - Standard rates: VCD 1150 kb/s constant; SVCD 2040 kb/s average, 2516 at most; DVD 6000 kb/s
//   average, 9000 at most. GOP 15 (PAL) or 18 (NTSC) with two B-frames. VCD letterboxes the album;
//   SVCD and DVD mark 16:9 by the pixel shape. Disc sounds are the same at every quality.
// - Frame rates: NTSC discs and NTSC AVI run at 30000/1001 frames a second, repeating album frames;
//   PAL, and WMV, MP4 and MOV always, run at the album's 25.
// - Colours: BT.709 from 1280 wide or 720 high upwards, BT.601 below; limited range; 4:2:0.
#pragma once

#include "media/AlbumFormat.h"

extern "C" {
#include <libavutil/rational.h>
}

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <utility>
#include <vector>

namespace lumiset {

// AVOption names and values, given to avcodec_open2 or avformat_write_header.
using OptionList = std::vector<std::pair<QByteArray, QByteArray>>;

struct VideoPlan {
    const char* encoder = nullptr; // libavcodec encoder name
    QSize frameSize;               // of the coded picture
    QRect picture;                 // where the album frame lands in it; the rest is black
    AVRational frameRate{25, 1};   // of the file; above 25 the album frames repeat
    AVRational sampleAspect{1, 1}; // pixel shape, giving players the display aspect
    bool highDefinition = false;   // BT.709 rather than BT.601 colours
    uint32_t codecTag = 0;         // 0: the muxer's own
    OptionList options;
};

struct AudioPlan {
    const char* encoder = nullptr;
    int sampleRate = 44100;
    qint64 bitRate = 0;
};

struct MuxPlan {
    const char* format = nullptr; // libavformat muxer name
    int packetSize = 0;           // 0: the muxer's own
    OptionList options;
    bool streamsStartTogether = false; // keeps no start times: every stream starts with the file
};

struct EncodingPlan {
    VideoPlan video;
    AudioPlan audio;
    MuxPlan mux;
};

// The plan for `settings`; the album size must be positive.
EncodingPlan PlanEncoding(const EncoderSettings& settings);

} // namespace lumiset
