#include "media/FfmpegHolders.h"

#include "media/MediaError.h"

namespace lumiset {

void OutputFormatCloser::operator()(AVFormatContext* context) const {
    if (context->oformat && !(context->oformat->flags & AVFMT_NOFILE))
        avio_closep(&context->pb);
    avformat_free_context(context);
}

PacketHolder NewPacket() {
    PacketHolder packet(av_packet_alloc());
    if (!packet)
        throw MediaError(QStringLiteral("无法分配数据包"), AVERROR(ENOMEM));
    return packet;
}

FrameHolder NewFrame() {
    FrameHolder frame(av_frame_alloc());
    if (!frame)
        throw MediaError(QStringLiteral("无法分配帧"), AVERROR(ENOMEM));
    return frame;
}

} // namespace lumiset
