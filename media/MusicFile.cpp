#include "media/MusicFile.h"

#include "core/Error.h"
#include "core/TextHelpers.h"
#include "media/FfmpegHolders.h"
#include "media/MediaError.h"
#include "media/MediaLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

extern "C" {
#include <libavutil/intreadwrite.h>
}

namespace lumiset {
namespace {

QString musicContext(const QString& path, const QString& problem) {
    return QStringLiteral("音乐文件“%1”%2").arg(QDir::toNativeSeparators(path), problem);
}

Error musicError(const QString& path, const QString& problem) {
    return Error(musicContext(path, problem));
}

struct OpenMusic {
    InputFormatHolder format;
    AVStream* stream = nullptr;
};

OpenMusic openMusic(const QString& path) {
    const QFileInfo about(path);
    if (!about.exists())
        throw musicError(path, QStringLiteral("不存在。"));
    if (!about.isFile()) // a pipe or device would block the reader for ever
        throw musicError(path, QStringLiteral("不是普通文件。"));

    // The "file:" prefix and the whitelist keep a name such as "concat:..." or a playlist inside the
    // file from making FFmpeg read anything but local files.
    DictionaryHolder options;
    options.set("protocol_whitelist", "file");
    const QByteArray url = "file:" + QFile::encodeName(about.absoluteFilePath());
    AVFormatContext* raw = nullptr;
    const int opened = avformat_open_input(&raw, url.constData(), nullptr, options.slot());
    if (opened < 0)
        throw MediaError(musicContext(path, QStringLiteral("不是能读取的音频文件")), opened);
    OpenMusic music{InputFormatHolder(raw), nullptr};
    CheckMedia(avformat_find_stream_info(raw, nullptr), musicContext(path, QStringLiteral("无法读取")));
    const int index = av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (index < 0)
        throw musicError(path, QStringLiteral("不包含声音。"));
    music.stream = raw->streams[index];
    for (unsigned i = 0; i < raw->nb_streams; ++i) // cover pictures and the like are not read at all
        if (static_cast<int>(i) != index)
            raw->streams[i]->discard = AVDISCARD_ALL;
    return music;
}

struct PacketTotals {
    qint64 packets = 0;
    qint64 duration = 0;       // in the stream's time base
    qint64 skippedSamples = 0; // encoder delay and padding the file declares
    bool everyPacketTimed = true;
};

// Calls `use` with every packet of the music stream, in file order.
template <typename Use> void forEachPacket(const OpenMusic& music, const QString& path, Use use) {
    const PacketHolder packet = NewPacket();
    int read = 0;
    while ((read = av_read_frame(music.format.get(), packet.get())) >= 0) {
        if (packet->stream_index == music.stream->index)
            use(packet.get());
        av_packet_unref(packet.get());
    }
    if (read != AVERROR_EOF)
        throw MediaError(musicContext(path, QStringLiteral("读取时出错")), read);
}

PacketTotals sumPackets(const OpenMusic& music, const QString& path) {
    PacketTotals totals;
    forEachPacket(music, path, [&totals](const AVPacket* packet) {
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
qint64 lengthFromDecoding(const OpenMusic& music, const QString& path) {
    const AVCodec* codec = avcodec_find_decoder(music.stream->codecpar->codec_id);
    const CodecContextHolder decoder(avcodec_alloc_context3(codec));
    if (!codec || !decoder || avcodec_parameters_to_context(decoder.get(), music.stream->codecpar) < 0 ||
        avcodec_open2(decoder.get(), codec, nullptr) < 0)
        throw musicError(path, QStringLiteral("的声音格式无法解码。"));
    const FrameHolder frame = NewFrame();
    qint64 samples = 0;
    int sampleRate = 0;
    const auto drain = [&] {
        while (avcodec_receive_frame(decoder.get(), frame.get()) >= 0) {
            samples += frame->nb_samples;
            sampleRate = frame->sample_rate;
            av_frame_unref(frame.get());
        }
    };
    forEachPacket(music, path, [&](const AVPacket* packet) {
        if (avcodec_send_packet(decoder.get(), packet) >= 0) // a damaged packet is skipped, as a player would
            drain();
    });
    avcodec_send_packet(decoder.get(), nullptr);
    drain();
    if (samples == 0 || sampleRate <= 0)
        throw musicError(path, QStringLiteral("没有声音数据。"));
    return av_rescale_rnd(samples, 1000, sampleRate, AV_ROUND_DOWN);
}

} // namespace

qint64 MusicLengthMilliseconds(const QString& path) {
    // A damaged file makes the demuxer and decoder complain line by line; the user gets our message.
    const MediaLogRedirect quiet;
    const OpenMusic music = openMusic(path);
    if (!packetsCountSamples(music.stream))
        return lengthFromDecoding(music, path);
    const PacketTotals totals = sumPackets(music, path);
    if (totals.packets == 0)
        throw musicError(path, QStringLiteral("没有声音数据。"));
    if (!totals.everyPacketTimed) // the packets were read: open again to decode them
        return lengthFromDecoding(openMusic(path), path);
    return lengthFromPackets(totals, music.stream);
}

QString MusicLengthText(qint64 milliseconds) {
    return QStringLiteral("00:") + SecondsToMinutesClock(milliseconds / 1000);
}

} // namespace lumiset
