#include "media/AlbumEncoder.h"

#include "core/Error.h"
#include "media/EncoderPresets.h"
#include "media/FfmpegHolders.h"
#include "media/FrameConverter.h"
#include "media/MediaError.h"
#include "media/MediaLog.h"
#include "media/PartFile.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
}

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace lumiset {
namespace {

constexpr int kAlbumFramesPerSecond = 25;
constexpr int kLargestSide = 8192;

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

AVSampleFormat sampleFormatFor(const AVCodec* codec) {
    bool hasS16 = false;
    for (const AVSampleFormat* format = codec->sample_fmts; format && *format != AV_SAMPLE_FMT_NONE;
         ++format) {
        if (*format == AV_SAMPLE_FMT_FLTP)
            return AV_SAMPLE_FMT_FLTP;
        hasS16 = hasS16 || *format == AV_SAMPLE_FMT_S16;
    }
    return hasS16 ? AV_SAMPLE_FMT_S16 : AV_SAMPLE_FMT_NONE;
}

// FFmpeg from 6.1 copies an encoder's side data with its parameters; before, the muxer sees it only on
// the stream. The MPEG muxers need the CPB properties from it to write the VBV buffer size.
void copyCodedSideData(const AVCodecContext* codec, AVStream* stream) {
#if LIBAVCODEC_VERSION_INT < AV_VERSION_INT(60, 29, 100)
    for (int i = 0; i < codec->nb_coded_side_data; ++i) {
        const AVPacketSideData& data = codec->coded_side_data[i];
        uint8_t* copy = av_stream_new_side_data(stream, data.type, data.size);
        if (!copy)
            throw MediaError(QStringLiteral("无法分配编码参数"), AVERROR(ENOMEM));
        std::memcpy(copy, data.data, data.size);
    }
#else
    (void)codec;
    (void)stream;
#endif
}

void applyOptions(DictionaryHolder& dictionary, const OptionList& options) {
    for (const auto& [name, value] : options)
        dictionary.set(name.constData(), value.constData());
}

// Every option of the plan must have been taken: one left over is a misspelt or misplaced name.
void requireAllTaken(const DictionaryHolder& dictionary, const char* taker) {
    if (const AVDictionaryEntry* left = av_dict_get(dictionary.get(), "", nullptr, AV_DICT_IGNORE_SUFFIX))
        throw Error(QStringLiteral("%1 不认识选项 %2。").arg(QLatin1String(taker), QLatin1String(left->key)));
}

} // namespace

struct AlbumEncoder::Output {
    Output(const EncoderSettings& settings, const QString& outputPath, QList<AudioSegment> audio,
           qint64 totalFrames);

    void addFrame(const QImage& image);
    void addPicture(FrameHolder picture);
    void finish();

    // Context of messages about this album's file.
    QString refusal(const QString& what) const {
        return QStringLiteral("无法创建相册文件“%1”：%2").arg(native(finalPath_), what);
    }
    [[noreturn]] void writeFailed(int code) const {
        throw MediaError(QStringLiteral("无法写入相册文件“%1”，磁盘空间可能不足").arg(native(finalPath_)),
                         code);
    }

    void openVideo();
    void openAudio();
    void planSound(QList<AudioSegment> audio);
    void openFile();
    void sendVideo(const AVFrame* frame);
    void sendAudio(const AVFrame* frame);
    void writePackets(AVCodecContext* codec, AVStream* stream);
    void encodeAudioUntil(qint64 target);
    void fillAudioFrame(int count);
    void checkAccepting() const;
    void encodePicture(FrameHolder picture);
    qint64 albumFrameShownAt(qint64 outputFrame) const;
    qint64 samplesBefore(qint64 outputFrame) const;

    EncoderSettings settings_;
    EncodingPlan plan_;
    QString finalPath_;
    qint64 totalFrames_;
    PartFile part_; // declared first of the file's parts: removed after the muxer has closed it
    OutputFormatHolder format_;
    CodecContextHolder video_;
    CodecContextHolder audio_;
    AVStream* videoStream_ = nullptr;
    AVStream* audioStream_ = nullptr;
    std::optional<FrameConverter> converter_; // for frames given as pictures
    FrameHolder sound_;
    PacketHolder packet_;
    std::unique_ptr<AlbumSound> albumSound_;
    std::vector<float> left_, right_; // sound for encoders that take 16-bit samples

    qint64 totalOutputFrames_ = 0;
    qint64 framesAdded_ = 0;
    qint64 outputFrames_ = 0;
    int audioFrameSize_ = 1024;
    qint64 audioSkip_ = 0;  // album samples left out at the start
    qint64 audioTotal_ = 0; // samples given to the encoder
    qint64 samplesDone_ = 0;
    bool broken_ = false;
    bool finished_ = false;
};

AlbumEncoder::Output::Output(const EncoderSettings& settings, const QString& outputPath,
                             QList<AudioSegment> audio, qint64 totalFrames)
    : settings_(settings), plan_(PlanEncoding(settings)),
      finalPath_(QFileInfo(outputPath).absoluteFilePath()), totalFrames_(totalFrames), part_(finalPath_),
      packet_(NewPacket()) {
    const AVRational rate = plan_.video.frameRate;
    totalOutputFrames_ =
        av_rescale_rnd(totalFrames_, rate.num, qint64(rate.den) * kAlbumFramesPerSecond, AV_ROUND_NEAR_INF);
    const QByteArray url = "file:" + QFile::encodeName(part_.path());
    AVFormatContext* raw = nullptr;
    const int allocated = avformat_alloc_output_context2(&raw, nullptr, plan_.mux.format, url.constData());
    if (allocated < 0)
        throw MediaError(refusal(QStringLiteral("没有 %1 格式").arg(QLatin1String(plan_.mux.format))),
                         allocated);
    format_.reset(raw);
    openVideo();
    openAudio();
    planSound(std::move(audio));
    openFile();
}

// Lines the file's sound track up with the pictures, start and end. Encoders prime: a decoder plays
// `priming` samples of warm-up before the first real one. MP4 and MOV mark them to be skipped, MPEG and
// ASF start the pictures that much later; AVI keeps no start times, so there the album's first samples
// are left out instead. Where the encoder has nothing to flush at the end (no delay capability), the
// last `priming` samples stay inside the decoder: silence is added for them. An encoder of whole frames
// gets the nearest whole number of them. The sound fades out where the pictures end, silent after.
void AlbumEncoder::Output::planSound(QList<AudioSegment> audio) {
    const qint64 videoSamples = av_rescale(totalFrames_, plan_.audio.sampleRate, kAlbumFramesPerSecond);
    const int capabilities = audio_->codec->capabilities;
    const qint64 priming = std::max(0, audio_->initial_padding);
    const qint64 heldBack = (capabilities & AV_CODEC_CAP_DELAY) ? 0 : priming;
    audioSkip_ = plan_.mux.streamsStartTogether ? priming : 0;
    const qint64 wanted = videoSamples - audioSkip_ + heldBack;
    audioTotal_ = (capabilities & (AV_CODEC_CAP_SMALL_LAST_FRAME | AV_CODEC_CAP_VARIABLE_FRAME_SIZE))
                      ? wanted
                      : audioFrameSize_ * std::max<qint64>(1, av_rescale_rnd(wanted, 1, audioFrameSize_,
                                                                             AV_ROUND_NEAR_INF));
    const qint64 heard = audioSkip_ + audioTotal_ - heldBack;
    albumSound_ = std::make_unique<AlbumSound>(std::move(audio), plan_.audio.sampleRate,
                                               std::clamp<qint64>(heard, 0, videoSamples));
    for (qint64 skipped = 0; skipped < audioSkip_;) {
        const int count = int(std::min<qint64>(audioSkip_ - skipped, audioFrameSize_));
        std::vector<float> left(static_cast<size_t>(count)), right(static_cast<size_t>(count));
        albumSound_->read(left.data(), right.data(), count);
        skipped += count;
    }
}

void AlbumEncoder::Output::openVideo() {
    const VideoPlan& plan = plan_.video;
    const AVCodec* codec = avcodec_find_encoder_by_name(plan.encoder);
    if (!codec)
        throw Error(refusal(QStringLiteral("缺少视频编码器 %1。").arg(QLatin1String(plan.encoder))));
    video_.reset(avcodec_alloc_context3(codec));
    if (!video_)
        throw MediaError(refusal(QStringLiteral("内存不足")), AVERROR(ENOMEM));
    AVCodecContext* c = video_.get();
    c->width = plan.frameSize.width();
    c->height = plan.frameSize.height();
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->framerate = plan.frameRate;
    c->time_base = av_inv_q(plan.frameRate);
    c->sample_aspect_ratio = plan.sampleAspect;
    c->codec_tag = plan.codecTag;
    c->color_range = AVCOL_RANGE_MPEG;
    if (plan.highDefinition) {
        c->colorspace = AVCOL_SPC_BT709;
        c->color_primaries = AVCOL_PRI_BT709;
        c->color_trc = AVCOL_TRC_BT709;
    } else {
        c->colorspace = AVCOL_SPC_SMPTE170M;
    }
    // Slices on up to four cores: more would cost compression and memory for little speed.
    c->thread_count = std::clamp(QThread::idealThreadCount(), 1, 4);
    if (format_->oformat->flags & AVFMT_GLOBALHEADER)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    DictionaryHolder options;
    applyOptions(options, plan.options);
    CheckMedia(avcodec_open2(c, codec, options.slot()),
               refusal(QStringLiteral("视频编码器 %1 不接受这些设置").arg(QLatin1String(plan.encoder))));
    requireAllTaken(options, plan.encoder);

    videoStream_ = avformat_new_stream(format_.get(), nullptr);
    if (!videoStream_)
        throw MediaError(refusal(QStringLiteral("内存不足")), AVERROR(ENOMEM));
    videoStream_->time_base = c->time_base;
    videoStream_->avg_frame_rate = plan.frameRate;
    videoStream_->sample_aspect_ratio = plan.sampleAspect;
    CheckMedia(avcodec_parameters_from_context(videoStream_->codecpar, c),
               refusal(QStringLiteral("视频参数无效")));
    copyCodedSideData(c, videoStream_);
}

void AlbumEncoder::Output::openAudio() {
    const AudioPlan& plan = plan_.audio;
    const AVCodec* codec = avcodec_find_encoder_by_name(plan.encoder);
    if (!codec)
        throw Error(refusal(QStringLiteral("缺少音频编码器 %1。").arg(QLatin1String(plan.encoder))));
    audio_.reset(avcodec_alloc_context3(codec));
    if (!audio_)
        throw MediaError(refusal(QStringLiteral("内存不足")), AVERROR(ENOMEM));
    AVCodecContext* c = audio_.get();
    c->sample_fmt = sampleFormatFor(codec);
    c->sample_rate = plan.sampleRate;
    const AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    CheckMedia(av_channel_layout_copy(&c->ch_layout, &stereo), refusal(QStringLiteral("内存不足")));
    c->bit_rate = plan.bitRate;
    c->time_base = AVRational{1, plan.sampleRate};
    if (format_->oformat->flags & AVFMT_GLOBALHEADER)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    CheckMedia(avcodec_open2(c, codec, nullptr),
               refusal(QStringLiteral("音频编码器 %1 不接受这些设置").arg(QLatin1String(plan.encoder))));
    if (!(codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) && c->frame_size > 0)
        audioFrameSize_ = c->frame_size;

    audioStream_ = avformat_new_stream(format_.get(), nullptr);
    if (!audioStream_)
        throw MediaError(refusal(QStringLiteral("内存不足")), AVERROR(ENOMEM));
    audioStream_->time_base = c->time_base;
    CheckMedia(avcodec_parameters_from_context(audioStream_->codecpar, c),
               refusal(QStringLiteral("音频参数无效")));
    copyCodedSideData(c, audioStream_);

    sound_ = NewFrame();
    sound_->format = c->sample_fmt;
    sound_->sample_rate = c->sample_rate;
    sound_->nb_samples = audioFrameSize_;
    CheckMedia(av_channel_layout_copy(&sound_->ch_layout, &c->ch_layout),
               refusal(QStringLiteral("内存不足")));
    CheckMedia(av_frame_get_buffer(sound_.get(), 0), refusal(QStringLiteral("内存不足")));
    if (c->sample_fmt != AV_SAMPLE_FMT_FLTP) {
        left_.resize(size_t(audioFrameSize_));
        right_.resize(size_t(audioFrameSize_));
    }
}

void AlbumEncoder::Output::openFile() {
    format_->protocol_whitelist = av_strdup("file");
    format_->packet_size = unsigned(plan_.mux.packetSize);
    DictionaryHolder ioOptions;
    ioOptions.set("protocol_whitelist", "file");
    const int opened = avio_open2(&format_->pb, format_->url, AVIO_FLAG_WRITE, nullptr, ioOptions.slot());
    if (opened < 0)
        throw MediaError(refusal(QStringLiteral("无法打开文件")), opened);
    DictionaryHolder options;
    applyOptions(options, plan_.mux.options);
    const int written = avformat_write_header(format_.get(), options.slot());
    if (written < 0)
        throw MediaError(refusal(QStringLiteral("无法写入文件头")), written);
    requireAllTaken(options, plan_.mux.format);
}

qint64 AlbumEncoder::Output::albumFrameShownAt(qint64 outputFrame) const {
    const AVRational rate = plan_.video.frameRate;
    return av_rescale_rnd(outputFrame, qint64(rate.den) * kAlbumFramesPerSecond, rate.num, AV_ROUND_DOWN);
}

qint64 AlbumEncoder::Output::samplesBefore(qint64 outputFrame) const {
    const AVRational rate = plan_.video.frameRate;
    return av_rescale_rnd(outputFrame, qint64(rate.den) * plan_.audio.sampleRate, rate.num, AV_ROUND_DOWN);
}

void AlbumEncoder::Output::checkAccepting() const {
    if (broken_ || finished_)
        throw Error(QStringLiteral("相册文件“%1”已经停止写入。").arg(native(finalPath_)));
    if (framesAdded_ >= totalFrames_)
        throw Error(
            QStringLiteral("相册文件“%1”只应有 %2 帧画面。").arg(native(finalPath_)).arg(totalFrames_));
}

void AlbumEncoder::Output::addFrame(const QImage& image) {
    checkAccepting();
    if (!converter_)
        converter_.emplace(settings_);
    encodePicture(converter_->convert(image));
}

void AlbumEncoder::Output::addPicture(FrameHolder picture) {
    checkAccepting();
    if (!picture || !FrameConverter::Matches(*picture, plan_.video))
        throw Error(QStringLiteral("相册画面的格式与相册文件“%1”不符。").arg(native(finalPath_)));
    encodePicture(std::move(picture));
}

void AlbumEncoder::Output::encodePicture(FrameHolder picture) {
    try {
        const qint64 album = framesAdded_++;
        while (outputFrames_ < totalOutputFrames_ && albumFrameShownAt(outputFrames_) == album) {
            picture->pts = outputFrames_++;
            sendVideo(picture.get());
            encodeAudioUntil(samplesBefore(outputFrames_) - audioSkip_);
        }
    } catch (...) {
        broken_ = true;
        throw;
    }
}

void AlbumEncoder::Output::finish() {
    if (broken_ || finished_)
        throw Error(QStringLiteral("相册文件“%1”已经停止写入。").arg(native(finalPath_)));
    try {
        if (framesAdded_ != totalFrames_)
            throw Error(QStringLiteral("相册文件“%1”没有写完：应有 %2 帧画面，只收到 %3 帧。")
                            .arg(native(finalPath_))
                            .arg(totalFrames_)
                            .arg(framesAdded_));
        sendVideo(nullptr);
        encodeAudioUntil(audioTotal_);
        sendAudio(nullptr);
        if (const int written = av_write_trailer(format_.get()); written < 0)
            writeFailed(written);
        // Closing drops the error of its last flush: flush first and look.
        avio_flush(format_->pb);
        if (format_->pb->error < 0)
            writeFailed(format_->pb->error);
        if (const int closed = avio_closep(&format_->pb); closed < 0)
            writeFailed(closed);
        part_.moveTo(finalPath_);
        finished_ = true;
    } catch (...) {
        broken_ = true;
        throw;
    }
}

void AlbumEncoder::Output::sendVideo(const AVFrame* frame) {
    const int sent = avcodec_send_frame(video_.get(), frame);
    if (sent < 0)
        throw MediaError(QStringLiteral("编码相册文件“%1”的画面时出错").arg(native(finalPath_)), sent);
    writePackets(video_.get(), videoStream_);
}

void AlbumEncoder::Output::sendAudio(const AVFrame* frame) {
    const int sent = avcodec_send_frame(audio_.get(), frame);
    if (sent < 0)
        throw MediaError(QStringLiteral("编码相册文件“%1”的声音时出错").arg(native(finalPath_)), sent);
    writePackets(audio_.get(), audioStream_);
}

void AlbumEncoder::Output::writePackets(AVCodecContext* codec, AVStream* stream) {
    AVPacket* packet = packet_.get();
    for (;;) {
        const int received = avcodec_receive_packet(codec, packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return;
        if (received < 0)
            throw MediaError(QStringLiteral("编码相册文件“%1”时出错").arg(native(finalPath_)), received);
        // The last picture lasts one frame too, not zero, in containers that store durations.
        if (codec->codec_type == AVMEDIA_TYPE_VIDEO && packet->duration == 0)
            packet->duration = 1;
        av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
        packet->stream_index = stream->index;
        if (const int written = av_interleaved_write_frame(format_.get(), packet); written < 0)
            writeFailed(written);
    }
}

// Encodes sound up to sample `target` (of the encoder's) in whole encoder frames, so that the file holds
// sound and pictures of the same moments side by side and nothing waits long in the muxer.
void AlbumEncoder::Output::encodeAudioUntil(qint64 target) {
    while (samplesDone_ < audioTotal_) {
        const int count = int(std::min<qint64>(audioFrameSize_, audioTotal_ - samplesDone_));
        if (samplesDone_ + count > target)
            return;
        fillAudioFrame(count);
        sound_->pts = samplesDone_;
        sendAudio(sound_.get());
        samplesDone_ += count;
    }
}

void AlbumEncoder::Output::fillAudioFrame(int count) {
    AVFrame* frame = sound_.get();
    frame->nb_samples = audioFrameSize_;
    CheckMedia(av_frame_make_writable(frame), QStringLiteral("无法分配声音缓冲区"));
    frame->nb_samples = count;
    if (frame->format == AV_SAMPLE_FMT_FLTP) {
        albumSound_->read(reinterpret_cast<float*>(frame->data[0]), reinterpret_cast<float*>(frame->data[1]),
                          count);
        return;
    }
    albumSound_->read(left_.data(), right_.data(), count);
    auto* samples = reinterpret_cast<int16_t*>(frame->data[0]);
    const auto toShort = [](float value) {
        return int16_t(std::lrint(std::clamp(value, -1.f, 1.f) * 32767.f));
    };
    for (int i = 0; i < count; ++i) {
        samples[2 * i] = toShort(left_[size_t(i)]);
        samples[2 * i + 1] = toShort(right_[size_t(i)]);
    }
}

AlbumEncoder::AlbumEncoder(const EncoderSettings& settings, const QString& outputPath,
                           QList<AudioSegment> audio, qint64 totalFrames) {
    const QSize size = settings.albumSize;
    if (size.width() < 2 || size.height() < 2 || size.width() > kLargestSide || size.height() > kLargestSide)
        throw Error(QStringLiteral("相册画面尺寸 %1 × %2 无法编码。").arg(size.width()).arg(size.height()));
    if (totalFrames <= 0)
        throw Error(QStringLiteral("相册没有画面，无法制作相册文件“%1”。").arg(native(outputPath)));
    CheckOutputFolder(outputPath);
    const MediaLogRedirect redirect;
    output_ = std::make_unique<Output>(settings, outputPath, std::move(audio), totalFrames);
}

AlbumEncoder::~AlbumEncoder() {
    const MediaLogRedirect redirect;
    output_.reset();
}

void AlbumEncoder::addFrame(const QImage& frame) {
    const MediaLogRedirect redirect;
    output_->addFrame(frame);
}

void AlbumEncoder::addPicture(FrameHolder picture) {
    const MediaLogRedirect redirect;
    output_->addPicture(std::move(picture));
}

void AlbumEncoder::finish() {
    const MediaLogRedirect redirect;
    output_->finish();
}

QStringList AlbumEncoder::warnings() const {
    return output_->albumSound_->warnings();
}

qint64 AlbumEncoder::totalFrames() const {
    return output_->totalFrames_;
}

qint64 AlbumEncoder::encodedFrames() const {
    return output_->framesAdded_;
}

qint64 AlbumEncoder::totalAudioSamples() const {
    return output_->audioTotal_;
}

qint64 AlbumEncoder::encodedAudioSamples() const {
    return output_->samplesDone_;
}

int AlbumEncoder::audioSampleRate() const {
    return output_->plan_.audio.sampleRate;
}

void AlbumEncoder::CheckOutputFolder(const QString& outputPath) {
    const QFileInfo target(outputPath);
    const QString folder = native(target.absolutePath());
    if (outputPath.isEmpty() || target.fileName().isEmpty())
        throw Error(QStringLiteral("没有指定相册文件名。"));
    const QFileInfo about(target.absolutePath());
    if (!about.exists())
        throw Error(QStringLiteral("保存相册的文件夹“%1”不存在，请选择其他保存位置。").arg(folder));
    if (!about.isDir())
        throw Error(QStringLiteral("“%1”不是文件夹，请选择其他保存位置。").arg(folder));
    if (target.isDir())
        throw Error(
            QStringLiteral("“%1”是一个文件夹，请换一个相册名称。").arg(native(target.absoluteFilePath())));
    // Only creating a file shows for sure that one can be created (permissions, read-only disks, ACLs).
    const PartFile probe(target.absoluteFilePath());
}

} // namespace lumiset
