#include "tools/music/Mp3Writer.h"

#include "core/Error.h"
#include "media/FfmpegHolders.h"
#include "media/MediaError.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace lumiset::tools {

namespace {

void check(int result, const char* what) {
    CheckMedia(result, QStringLiteral("MP3 编码失败：%1").arg(QString::fromUtf8(what)));
}

// Sends one frame (or the end of the stream) and appends every packet the encoder has ready.
void pump(AVCodecContext* context, const AVFrame* frame, AVPacket* packet, QByteArray& stream) {
    check(avcodec_send_frame(context, frame), "send_frame");
    for (;;) {
        const int result = avcodec_receive_packet(context, packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return;
        check(result, "receive_packet");
        stream.append(reinterpret_cast<const char*>(packet->data), packet->size);
        av_packet_unref(packet);
    }
}

} // namespace

QByteArray EncodeMp3(const StereoSamples& samples, int bitRate) {
    const AVCodec* codec = avcodec_find_encoder_by_name("libmp3lame");
    if (!codec)
        throw Error(QStringLiteral("MP3 编码失败：FFmpeg 中没有 libmp3lame 编码器"));
    CodecContextHolder context(avcodec_alloc_context3(codec));
    context->bit_rate = bitRate;
    context->sample_rate = kSampleRate;
    context->sample_fmt = AV_SAMPLE_FMT_FLTP;
    av_channel_layout_default(&context->ch_layout, 2);
    check(avcodec_open2(context.get(), codec, nullptr), "open");

    FrameHolder frame = NewFrame();
    PacketHolder packet = NewPacket();
    frame->format = context->sample_fmt;
    frame->sample_rate = kSampleRate;
    check(av_channel_layout_copy(&frame->ch_layout, &context->ch_layout), "channel layout");
    const int frameSize = context->frame_size;
    QByteArray stream;
    const size_t total = samples.left.size();
    for (size_t at = 0; at < total; at += frameSize) {
        const int count = static_cast<int>(std::min<size_t>(frameSize, total - at));
        frame->nb_samples = frameSize; // the last frame is padded with silence
        check(av_frame_get_buffer(frame.get(), 0), "frame buffer");
        auto* left = reinterpret_cast<float*>(frame->data[0]);
        auto* right = reinterpret_cast<float*>(frame->data[1]);
        for (int i = 0; i < frameSize; ++i) {
            left[i] = i < count ? samples.left[at + i] : 0.0f;
            right[i] = i < count ? samples.right[at + i] : 0.0f;
        }
        frame->pts = static_cast<int64_t>(at);
        pump(context.get(), frame.get(), packet.get(), stream);
        av_frame_unref(frame.get());
        frame->format = context->sample_fmt;
        frame->sample_rate = kSampleRate;
        check(av_channel_layout_copy(&frame->ch_layout, &context->ch_layout), "channel layout");
    }
    pump(context.get(), nullptr, packet.get(), stream);
    return stream;
}

} // namespace lumiset::tools
