#include "media/MusicFile.h"

#include "core/Error.h"
#include "core/TextHelpers.h"
#include "media/AudioInput.h"
#include "media/MediaLog.h"

#include <QDir>
#include <algorithm>

extern "C" {
#include <libavutil/intreadwrite.h>
}

namespace lumiset {
namespace {

struct PacketTotals {
    qint64 packets = 0;
    qint64 duration = 0;       // in the stream's time base
    qint64 skippedSamples = 0; // encoder delay and padding the file declares
    bool everyPacketTimed = true;
};

PacketTotals sumPackets(const AudioInput& music, const QString& path) {
    PacketTotals totals;
    ForEachAudioPacket(music, MusicSubject(path), [&totals](const AVPacket* packet) {
        ++totals.packets;
        if (packet->duration > 0)
            totals.duration += packet->duration;
        else
            totals.everyPacketTimed = false;
        size_t size = 0;
        if (const uint8_t* skip = av_packet_get_side_data(packet, AV_PKT_DATA_SKIP_SAMPLES, &size);
            skip && size >= 8)
            totals.skippedSamples += qint64(AV_RL32(skip)) + AV_RL32(skip + 4);
    });
    return totals;
}

// Packet durations add up to the exact length only where every packet holds a whole, fixed number of
// samples and the time base counts single samples: MPEG audio and PCM in their own files. Elsewhere
// (Matroska's millisecond clock, the priming and trimming of Vorbis, Opus and AAC) the sum is off by
// tens of milliseconds, and only decoding gives the count a player plays.
bool packetsCountSamples(const AVStream* stream) {
    const AVCodecParameters* codec = stream->codecpar;
    const bool fixedFrames = codec->codec_id == AV_CODEC_ID_MP3 || codec->codec_id == AV_CODEC_ID_MP2 ||
                             codec->codec_id == AV_CODEC_ID_MP1 ||
                             av_get_exact_bits_per_sample(codec->codec_id) > 0;
    const AVRational timeBase = stream->time_base;
    return fixedFrames && codec->sample_rate > 0 && timeBase.num == 1 &&
           timeBase.den % codec->sample_rate == 0;
}

qint64 lengthFromPackets(const PacketTotals& totals, const AVStream* stream) {
    const AVRational timeBase = stream->time_base;
    const qint64 skipped =
        av_rescale_q(totals.skippedSamples, AVRational{1, stream->codecpar->sample_rate}, timeBase);
    const qint64 duration = std::max<qint64>(totals.duration - skipped, 0);
    return av_rescale_q_rnd(duration, timeBase, AVRational{1, 1000}, AV_ROUND_DOWN);
}

// Decodes the whole stream and counts the samples: exact for every format, slower (a few hundred
// milliseconds for a song).
qint64 lengthFromDecoding(const AudioInput& music, const QString& path) {
    qint64 samples = 0;
    int sampleRate = 0;
    DecodeAudio(music, MusicSubject(path), [&](const AVFrame* frame) {
        samples += frame->nb_samples;
        sampleRate = frame->sample_rate;
    });
    if (samples == 0 || sampleRate <= 0)
        throw Error(MusicSubject(path) + QStringLiteral("没有声音数据。"));
    return av_rescale_rnd(samples, 1000, sampleRate, AV_ROUND_DOWN);
}

} // namespace

QString MusicSubject(const QString& path) {
    return QStringLiteral("音乐文件“%1”").arg(QDir::toNativeSeparators(path));
}

qint64 MusicLengthMilliseconds(const QString& path) {
    // A damaged file makes the demuxer and decoder complain line by line; the user gets our message.
    const MediaLogRedirect quiet;
    const AudioInput music = OpenAudioInput(path, MusicSubject(path));
    if (!packetsCountSamples(music.stream))
        return lengthFromDecoding(music, path);
    const PacketTotals totals = sumPackets(music, path);
    if (totals.packets == 0)
        throw Error(MusicSubject(path) + QStringLiteral("没有声音数据。"));
    if (!totals.everyPacketTimed) // the packets were read: open again to decode them
        return lengthFromDecoding(OpenAudioInput(path, MusicSubject(path)), path);
    return lengthFromPackets(totals, music.stream);
}

QString MusicLengthText(qint64 milliseconds) {
    return QStringLiteral("00:") + SecondsToMinutesClock(milliseconds / 1000);
}

} // namespace lumiset
