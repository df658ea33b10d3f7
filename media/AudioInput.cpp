#include "media/AudioInput.h"

#include "core/Error.h"
#include "media/MediaError.h"

#include <QFile>
#include <QFileInfo>

namespace lumiset {

AudioInput OpenAudioInput(const QString& path, const QString& subject) {
    const QFileInfo about(path);
    if (!about.exists())
        throw Error(subject + QStringLiteral("不存在。"));
    if (!about.isFile())
        throw Error(subject + QStringLiteral("不是普通文件。"));

    DictionaryHolder options;
    options.set("protocol_whitelist", "file");
    const QByteArray url = "file:" + QFile::encodeName(about.absoluteFilePath());
    AVFormatContext* raw = nullptr;
    const int opened = avformat_open_input(&raw, url.constData(), nullptr, options.slot());
    if (opened < 0)
        throw MediaError(subject + QStringLiteral("不是能读取的音频文件"), opened);
    AudioInput input{InputFormatHolder(raw), nullptr};
    CheckMedia(avformat_find_stream_info(raw, nullptr), subject + QStringLiteral("无法读取"));
    const int index = av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (index < 0)
        throw Error(subject + QStringLiteral("不包含声音。"));
    input.stream = raw->streams[index];
    for (unsigned i = 0; i < raw->nb_streams; ++i)
        if (static_cast<int>(i) != index)
            raw->streams[i]->discard = AVDISCARD_ALL;
    return input;
}

void ForEachAudioPacket(const AudioInput& input, const QString& subject,
                        const std::function<void(const AVPacket*)>& use) {
    const PacketHolder packet = NewPacket();
    int read = 0;
    while ((read = av_read_frame(input.format.get(), packet.get())) >= 0) {
        if (packet->stream_index == input.stream->index)
            use(packet.get());
        av_packet_unref(packet.get());
    }
    if (read != AVERROR_EOF)
        throw MediaError(subject + QStringLiteral("读取时出错"), read);
}

CodecContextHolder OpenAudioDecoder(const AudioInput& input, const QString& subject) {
    const AVCodec* codec = avcodec_find_decoder(input.stream->codecpar->codec_id);
    CodecContextHolder decoder(avcodec_alloc_context3(codec));
    if (!codec || !decoder || avcodec_parameters_to_context(decoder.get(), input.stream->codecpar) < 0 ||
        avcodec_open2(decoder.get(), codec, nullptr) < 0)
        throw Error(subject + QStringLiteral("的声音格式无法解码。"));
    return decoder;
}

void DecodeAudio(const AudioInput& input, const QString& subject,
                 const std::function<void(const AVFrame*)>& use) {
    const CodecContextHolder decoder = OpenAudioDecoder(input, subject);
    const FrameHolder frame = NewFrame();
    const auto drain = [&] {
        while (avcodec_receive_frame(decoder.get(), frame.get()) >= 0) {
            use(frame.get());
            av_frame_unref(frame.get());
        }
    };
    ForEachAudioPacket(input, subject, [&](const AVPacket* packet) {
        if (avcodec_send_packet(decoder.get(), packet) >= 0)
            drain();
    });
    avcodec_send_packet(decoder.get(), nullptr);
    drain();
}

} // namespace lumiset
