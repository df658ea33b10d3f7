#include "tests/media/MediaProbe.h"

#include "media/AudioInput.h"
#include "media/FfmpegHolders.h"
#include "media/MediaError.h"
#include "media/MediaLog.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

#include <QFile>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace lumiset::test {
namespace {

InputFormatHolder openMedia(const QString& path) {
    AVFormatContext* raw = nullptr;
    CheckMedia(avformat_open_input(&raw, QFile::encodeName(path).constData(), nullptr, nullptr),
               "open " + path);
    InputFormatHolder input(raw);
    CheckMedia(avformat_find_stream_info(raw, nullptr), "stream info");
    return input;
}

StreamFacts describe(AVFormatContext* input, AVStream* stream) {
    const AVCodecParameters* codec = stream->codecpar;
    StreamFacts facts;
    facts.codec = avcodec_get_name(codec->codec_id);
    facts.width = codec->width;
    facts.height = codec->height;
    facts.frameRate = stream->r_frame_rate;
    facts.colorSpace = codec->color_space;
    facts.sampleRate = codec->sample_rate;
    facts.channels = codec->ch_layout.nb_channels;
    if (codec->codec_type == AVMEDIA_TYPE_VIDEO) {
        AVRational shape = av_guess_sample_aspect_ratio(input, stream, nullptr);
        if (shape.num <= 0)
            shape = AVRational{1, 1};
        av_reduce(&facts.displayAspect.num, &facts.displayAspect.den, qint64(codec->width) * shape.num,
                  qint64(codec->height) * shape.den, 1 << 20);
    }
    return facts;
}

} // namespace

MediaFacts ProbeMedia(const QString& path) {
    const MediaLogRedirect quiet;
    const InputFormatHolder input = openMedia(path);
    MediaFacts facts;
    const int videoIndex = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const int audioIndex = av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (videoIndex >= 0)
        facts.video = describe(input.get(), input->streams[videoIndex]);
    if (audioIndex >= 0)
        facts.audio = describe(input.get(), input->streams[audioIndex]);
    // Packets without a time of their own (frames of MPEG and AVI files) count by their decoding time;
    // the pictures end a frame's length after the last of them in showing order, which with B-frames is
    // not the last one read: a constant-rate video ends `packets` frames after its first picture.
    const PacketHolder packet = NewPacket();
    bool seen[2] = {false, false};
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        const int index = packet->stream_index;
        StreamFacts* stream = index == videoIndex   ? &*facts.video
                              : index == audioIndex ? &*facts.audio
                                                    : nullptr;
        const qint64 time = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (stream && time != AV_NOPTS_VALUE) {
            const AVRational base = input->streams[index]->time_base;
            const double start = double(time) * av_q2d(base);
            const double end = start + double(packet->duration) * av_q2d(base);
            bool& first = seen[index == videoIndex ? 0 : 1];
            stream->start = first ? std::min(stream->start, start) : start;
            stream->end = first ? std::max(stream->end, end) : end;
            first = true;
            ++stream->packets;
        }
        av_packet_unref(packet.get());
    }
    if (facts.video)
        facts.video->end = facts.video->start + double(facts.video->packets) / av_q2d(facts.video->frameRate);
    return facts;
}

void ForEachPicture(const QString& path, const std::function<void(const QImage&)>& use) {
    const MediaLogRedirect quiet;
    const InputFormatHolder input = openMedia(path);
    const AVCodec* codec = nullptr;
    const int index = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    CheckMedia(index, "video stream");
    const CodecContextHolder decoder(avcodec_alloc_context3(codec));
    CheckMedia(avcodec_parameters_to_context(decoder.get(), input->streams[index]->codecpar), "parameters");
    CheckMedia(avcodec_open2(decoder.get(), codec, nullptr), "decoder");
    const PacketHolder packet = NewPacket();
    const FrameHolder frame = NewFrame();
    ScaleContextHolder scaler;
    const auto drain = [&] {
        while (avcodec_receive_frame(decoder.get(), frame.get()) >= 0) {
            QImage picture(frame->width, frame->height, QImage::Format_RGB32);
            scaler.reset(sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format),
                                        frame->width, frame->height, AV_PIX_FMT_RGB32, SWS_POINT, nullptr,
                                        nullptr, nullptr));
            uint8_t* planes[1] = {picture.bits()};
            const int strides[1] = {int(picture.bytesPerLine())};
            sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, planes, strides);
            use(picture);
            av_frame_unref(frame.get());
        }
    };
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == index) {
            avcodec_send_packet(decoder.get(), packet.get());
            drain();
        }
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(decoder.get(), nullptr);
    drain();
}

MonoSound DecodeMonoSound(const QString& path) {
    const MediaLogRedirect quiet;
    const AudioInput input = OpenAudioInput(path, path);
    MonoSound sound;
    ResampleContextHolder mixer;
    DecodeAudio(input, path, [&](const AVFrame* frame) {
        if (!mixer) {
            SwrContext* raw = nullptr;
            AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
            AVChannelLayout layout = frame->ch_layout;
            CheckMedia(swr_alloc_set_opts2(&raw, &mono, AV_SAMPLE_FMT_FLT, frame->sample_rate, &layout,
                                           AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr),
                       "mixer");
            mixer.reset(raw);
            CheckMedia(swr_init(raw), "mixer");
            sound.sampleRate = frame->sample_rate;
            sound.firstTime = double(frame->best_effort_timestamp) * av_q2d(input.stream->time_base);
        }
        const size_t at = sound.samples.size();
        sound.samples.resize(at + size_t(frame->nb_samples) + 64);
        uint8_t* out[1] = {reinterpret_cast<uint8_t*>(sound.samples.data() + at)};
        const int converted =
            swr_convert(mixer.get(), out, frame->nb_samples + 64,
                        const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
        sound.samples.resize(at + size_t(std::max(0, converted)));
    });
    return sound;
}

double MonoSound::rms(double from, double to) const {
    const auto first = size_t(std::clamp<double>(from * sampleRate, 0, double(samples.size())));
    const auto last = size_t(std::clamp<double>(to * sampleRate, 0, double(samples.size())));
    if (last <= first)
        return 0;
    double sum = 0;
    for (size_t i = first; i < last; ++i)
        sum += double(samples[i]) * samples[i];
    return std::sqrt(sum / double(last - first));
}

double MonoSound::onset(float level) const {
    for (size_t i = 0; i < samples.size(); ++i)
        if (std::abs(samples[i]) >= level)
            return firstTime + double(i) / sampleRate;
    return -1;
}

} // namespace lumiset::test
