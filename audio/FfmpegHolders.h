// Owners of FFmpeg objects, so that every way out of a function (errors included) frees them.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <QString>
#include <memory>

namespace lumiset {

struct InputFormatCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
using InputFormatHolder = std::unique_ptr<AVFormatContext, InputFormatCloser>;

struct CodecContextFreer {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
using CodecContextHolder = std::unique_ptr<AVCodecContext, CodecContextFreer>;

struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
using PacketHolder = std::unique_ptr<AVPacket, PacketFreer>;

struct FrameFreer {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using FrameHolder = std::unique_ptr<AVFrame, FrameFreer>;

// FFmpeg's own text for an error code (English), for the detail part of a message.
QString AvErrorText(int code);

} // namespace lumiset
