// Owners of FFmpeg objects, so that every way out of a function (errors included) frees them. Each
// holder is a unique_ptr with the freeing function FFmpeg pairs with the allocation.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/dict.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>

namespace lumiset {

// From avformat_open_input.
struct InputFormatCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
using InputFormatHolder = std::unique_ptr<AVFormatContext, InputFormatCloser>;

// From avformat_alloc_output_context2: closes the file it writes (when the muxer uses one) and frees
// the context. Writing the trailer is the owner's job; a holder freed without one leaves a cut file.
struct OutputFormatCloser {
    void operator()(AVFormatContext* context) const;
};
using OutputFormatHolder = std::unique_ptr<AVFormatContext, OutputFormatCloser>;

// From avcodec_alloc_context3, for decoders and encoders alike.
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

// Buffers handed out again once every reference to them is gone (av_buffer_pool_init). Uninit lets the
// buffers still out live on until they come back.
struct BufferPoolFreer {
    void operator()(AVBufferPool* pool) const { av_buffer_pool_uninit(&pool); }
};
using BufferPoolHolder = std::unique_ptr<AVBufferPool, BufferPoolFreer>;

// Picture scaling and pixel-format conversion (sws_getContext).
struct ScaleContextFreer {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};
using ScaleContextHolder = std::unique_ptr<SwsContext, ScaleContextFreer>;

// Sample-rate and sample-format conversion (swr_alloc_set_opts2).
struct ResampleContextFreer {
    void operator()(SwrContext* context) const { swr_free(&context); }
};
using ResampleContextHolder = std::unique_ptr<SwrContext, ResampleContextFreer>;

// A queue of audio samples (av_audio_fifo_alloc).
struct AudioFifoFreer {
    void operator()(AVAudioFifo* fifo) const { av_audio_fifo_free(fifo); }
};
using AudioFifoHolder = std::unique_ptr<AVAudioFifo, AudioFifoFreer>;

// Options for opening inputs, codecs and muxers. FFmpeg consumes the options it knows and leaves the
// rest in the dictionary, so the functions that take one get `slot()` and the holder frees what is left.
class DictionaryHolder {
public:
    DictionaryHolder() = default;
    ~DictionaryHolder() { av_dict_free(&dictionary_); }
    DictionaryHolder(const DictionaryHolder&) = delete;
    DictionaryHolder& operator=(const DictionaryHolder&) = delete;

    void set(const char* key, const char* value) { av_dict_set(&dictionary_, key, value, 0); }
    AVDictionary** slot() { return &dictionary_; }
    const AVDictionary* get() const { return dictionary_; }

private:
    AVDictionary* dictionary_ = nullptr;
};

// Allocations that fail only when memory runs out; they throw MediaError instead of returning null.
PacketHolder NewPacket();
FrameHolder NewFrame();

} // namespace lumiset
