#include "tests/media/AudioFixtures.h"

#include "media/FfmpegHolders.h"
#include "media/MediaError.h"

#include <QFile>
#include <cmath>
#include <random>
#include <stdexcept>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

namespace lumiset::test {
namespace {

void check(int result, const char* what) {
    CheckMedia(result, QString::fromUtf8(what));
}

AVSampleFormat pickSampleFormat(const AVCodec* codec) {
    for (const AVSampleFormat* f = codec->sample_fmts; f && *f != AV_SAMPLE_FMT_NONE; ++f)
        if (*f == AV_SAMPLE_FMT_FLTP || *f == AV_SAMPLE_FMT_S16)
            return *f;
    throw std::runtime_error("no usable sample format");
}

class Encoder {
public:
    Encoder(const QString& path, const AudioSpec& design) {
        AVFormatContext* raw = nullptr;
        const QByteArray name = QFile::encodeName(path);
        check(avformat_alloc_output_context2(&raw, nullptr, design.container, name.constData()), "output");
        output_.reset(raw);
        const AVCodec* codec = avcodec_find_encoder_by_name(design.encoder);
        if (!codec)
            throw std::runtime_error("no encoder");
        codec_.reset(avcodec_alloc_context3(codec));
        codec_->sample_rate = design.sampleRate;
        codec_->sample_fmt = pickSampleFormat(codec);
        av_channel_layout_default(&codec_->ch_layout, 1);
        codec_->time_base = AVRational{1, design.sampleRate};
        if (output_->oformat->flags & AVFMT_GLOBALHEADER)
            codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (design.variableBitRate) {
            codec_->flags |= AV_CODEC_FLAG_QSCALE;
            codec_->global_quality = FF_QP2LAMBDA * 2;
        } else {
            codec_->bit_rate = 128000;
        }
        check(avcodec_open2(codec_.get(), codec, nullptr), "encoder");
        stream_ = avformat_new_stream(output_.get(), nullptr);
        check(avcodec_parameters_from_context(stream_->codecpar, codec_.get()), "parameters");
        stream_->time_base = codec_->time_base;
        check(avio_open(&output_->pb, name.constData(), AVIO_FLAG_WRITE), "open");
        DictionaryHolder options;
        if (!design.xingHeader)
            options.set("write_xing", "0");
        check(avformat_write_header(output_.get(), options.slot()), "header");
    }

    qint64 encode(const AudioSpec& design) {
        const int frameSize = codec_->frame_size > 0 ? codec_->frame_size : 1024;
        const qint64 silent = std::llround(design.silentSeconds * design.sampleRate);
        const qint64 total = silent + std::llround(design.soundSeconds * design.sampleRate);
        std::mt19937 random(7);
        std::uniform_real_distribution<float> noise(-0.6f, 0.6f);
        const FrameHolder frame = NewFrame();
        for (qint64 start = 0; start < total; start += frameSize) {
            frame->nb_samples = int(std::min<qint64>(frameSize, total - start));
            frame->format = codec_->sample_fmt;
            frame->sample_rate = codec_->sample_rate;
            check(av_channel_layout_copy(&frame->ch_layout, &codec_->ch_layout), "layout");
            check(av_frame_get_buffer(frame.get(), 0), "frame");
            for (int i = 0; i < frame->nb_samples; ++i) {
                const qint64 n = start + i;
                const float value =
                    n < silent
                        ? 0.f
                        : (design.noise ? noise(random)
                                        : 0.5f * float(std::sin(2 * M_PI * 440 * n / design.sampleRate)));
                if (codec_->sample_fmt == AV_SAMPLE_FMT_FLTP)
                    reinterpret_cast<float*>(frame->data[0])[i] = value;
                else
                    reinterpret_cast<int16_t*>(frame->data[0])[i] = int16_t(value * 32767);
            }
            frame->pts = start;
            send(frame.get());
            av_frame_unref(frame.get());
        }
        send(nullptr);
        check(av_write_trailer(output_.get()), "trailer");
        return total;
    }

private:
    void send(AVFrame* frame) {
        check(avcodec_send_frame(codec_.get(), frame), "send");
        const PacketHolder packet = NewPacket();
        while (avcodec_receive_packet(codec_.get(), packet.get()) >= 0) {
            av_packet_rescale_ts(packet.get(), codec_->time_base, stream_->time_base);
            packet->stream_index = stream_->index;
            check(av_interleaved_write_frame(output_.get(), packet.get()), "write");
        }
    }

    OutputFormatHolder output_;
    CodecContextHolder codec_;
    AVStream* stream_ = nullptr;
};

InputFormatHolder openInput(const QString& path) {
    AVFormatContext* raw = nullptr;
    check(avformat_open_input(&raw, QFile::encodeName(path).constData(), nullptr, nullptr), "open input");
    InputFormatHolder input(raw);
    check(avformat_find_stream_info(raw, nullptr), "stream info");
    return input;
}

} // namespace

qint64 WriteAudio(const QString& path, const AudioSpec& design) {
    Encoder encoder(path, design);
    return encoder.encode(design);
}

qint64 DecodedMilliseconds(const QString& path) {
    const InputFormatHolder input = openInput(path);
    const AVCodec* codec = nullptr;
    const int index = av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    check(index, "audio stream");
    const CodecContextHolder decoder(avcodec_alloc_context3(codec));
    check(avcodec_parameters_to_context(decoder.get(), input->streams[index]->codecpar),
          "decoder parameters");
    check(avcodec_open2(decoder.get(), codec, nullptr), "decoder");
    const PacketHolder packet = NewPacket();
    const FrameHolder frame = NewFrame();
    qint64 samples = 0;
    const auto drain = [&] {
        while (avcodec_receive_frame(decoder.get(), frame.get()) >= 0)
            samples += frame->nb_samples;
    };
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == index) {
            check(avcodec_send_packet(decoder.get(), packet.get()), "decode");
            drain();
        }
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(decoder.get(), nullptr);
    drain();
    return samples * 1000 / decoder->sample_rate;
}

qint64 DeclaredMilliseconds(const QString& path) {
    return openInput(path)->duration / (AV_TIME_BASE / 1000);
}

} // namespace lumiset::test
