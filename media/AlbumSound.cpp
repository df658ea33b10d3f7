#include "media/AlbumSound.h"

#include "core/Error.h"
#include "media/AudioInput.h"
#include "media/FfmpegHolders.h"
#include "media/MediaError.h"
#include "media/MusicFile.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <vector>

namespace lumiset {
namespace {

constexpr int kAlbumFramesPerSecond = 25;

QString seconds(qint64 samples, int sampleRate) {
    return QString::number(double(samples) / sampleRate, 'f', 1);
}

} // namespace

// One song decoded on demand into stereo float samples at the track's rate. Packets the decoder
// refuses are skipped and counted, as a player skips a damaged frame; a read error ends the song.
class AlbumSound::Song {
public:
    Song(const QString& path, int sampleRate)
        : subject_(MusicSubject(path)), input_(OpenAudioInput(path, subject_)),
          decoder_(OpenAudioDecoder(input_, subject_)),
          fifo_(av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, 2, 4096)), packet_(NewPacket()), frame_(NewFrame()),
          sampleRate_(sampleRate) {
        if (!fifo_)
            throw MediaError(QStringLiteral("无法分配声音缓冲区"), AVERROR(ENOMEM));
    }
    ~Song() { av_channel_layout_uninit(&layout_); }
    Song(const Song&) = delete;
    Song& operator=(const Song&) = delete;

    const QString& subject() const { return subject_; }
    int damagedPackets() const { return damaged_; }

    // Up to `count` samples of each channel; fewer only where the song ends.
    int read(float* left, float* right, int count) {
        while (av_audio_fifo_size(fifo_.get()) < count && !ended_)
            decodeMore();
        const int n = std::min(count, av_audio_fifo_size(fifo_.get()));
        void* planes[2] = {left, right};
        return std::max(0, av_audio_fifo_read(fifo_.get(), planes, n));
    }

private:
    void decodeMore() {
        const int received = avcodec_receive_frame(decoder_.get(), frame_.get());
        if (received >= 0) {
            if (configure(frame_.get()))
                convert(frame_.get());
            else
                ++damaged_;
            av_frame_unref(frame_.get());
            errorsInARow_ = 0;
            return;
        }
        if (received == AVERROR_EOF || (received == AVERROR(EAGAIN) && inputDone_)) {
            if (resampler_)
                convert(nullptr);
            ended_ = true;
            return;
        }
        if (received != AVERROR(EAGAIN)) {
            // The refused packet is gone and the next call goes on; a decoder that fails for ever
            // ends the song instead of looping.
            ++damaged_;
            if (++errorsInARow_ > kMaxErrorsInARow)
                ended_ = true;
            return;
        }
        errorsInARow_ = 0;
        feed();
    }

    void feed() {
        const int read = av_read_frame(input_.format.get(), packet_.get());
        if (read < 0) {
            if (read != AVERROR_EOF)
                ++damaged_;
            avcodec_send_packet(decoder_.get(), nullptr);
            inputDone_ = true;
            return;
        }
        if (packet_->stream_index == input_.stream->index &&
            avcodec_send_packet(decoder_.get(), packet_.get()) < 0)
            ++damaged_;
        av_packet_unref(packet_.get());
    }

    // Makes the resampler take `frame`'s kind of samples; false when it cannot.
    bool configure(const AVFrame* frame) {
        AVChannelLayout layout{};
        if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&layout, frame->ch_layout.nb_channels);
        else if (av_channel_layout_copy(&layout, &frame->ch_layout) < 0)
            return false;
        if (resampler_ && frame->format == format_ && frame->sample_rate == inputRate_ &&
            av_channel_layout_compare(&layout, &layout_) == 0) {
            av_channel_layout_uninit(&layout);
            return true;
        }
        if (resampler_)
            convert(nullptr); // what the old resampler still holds
        resampler_.reset();
        av_channel_layout_uninit(&layout_);
        layout_ = layout;
        format_ = frame->format;
        inputRate_ = frame->sample_rate;
        SwrContext* raw = nullptr;
        AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
        if (swr_alloc_set_opts2(&raw, &stereo, AV_SAMPLE_FMT_FLTP, sampleRate_, &layout_,
                                AVSampleFormat(format_), inputRate_, 0, nullptr) < 0)
            return false;
        resampler_.reset(raw);
        // A mono song goes to both sides at its full level, not 3 dB down as a centre channel would.
        if (layout_.nb_channels == 1)
            av_opt_set_double(raw, "center_mix_level", 1.0, 0);
        if (swr_init(raw) < 0) {
            resampler_.reset();
            return false;
        }
        return true;
    }

    // Resamples `frame`, or with nullptr what the resampler still holds, into the queue.
    void convert(const AVFrame* frame) {
        const int inputCount = frame ? frame->nb_samples : 0;
        const int capacity = swr_get_out_samples(resampler_.get(), inputCount);
        if (capacity <= 0)
            return;
        left_.resize(size_t(capacity));
        right_.resize(size_t(capacity));
        uint8_t* planes[2] = {reinterpret_cast<uint8_t*>(left_.data()),
                              reinterpret_cast<uint8_t*>(right_.data())};
        const int converted =
            swr_convert(resampler_.get(), planes, capacity,
                        frame ? const_cast<const uint8_t**>(frame->extended_data) : nullptr, inputCount);
        if (converted < 0) {
            ++damaged_;
            return;
        }
        void* queued[2] = {planes[0], planes[1]};
        if (av_audio_fifo_write(fifo_.get(), queued, converted) < converted)
            throw MediaError(QStringLiteral("无法分配声音缓冲区"), AVERROR(ENOMEM));
    }

    QString subject_;
    AudioInput input_;
    CodecContextHolder decoder_;
    AudioFifoHolder fifo_;
    PacketHolder packet_;
    FrameHolder frame_;
    int sampleRate_;
    ResampleContextHolder resampler_;
    AVChannelLayout layout_{}; // of the resampler's input
    int format_ = -1;
    int inputRate_ = 0;
    std::vector<float> left_, right_;
    bool inputDone_ = false;
    bool ended_ = false;
    int damaged_ = 0;
    static constexpr int kMaxErrorsInARow = 1000;
    int errorsInARow_ = 0;
};

AlbumSound::AlbumSound(QList<AudioSegment> segments, int sampleRate, qint64 length)
    : sampleRate_(sampleRate), length_(std::max<qint64>(0, length)),
      fadeLength_(std::min<qint64>(sampleRate, length_)) {
    qint64 frames = 0;
    for (const AudioSegment& segment : segments) {
        const qint64 start = std::min<qint64>(length_, av_rescale(frames, sampleRate, kAlbumFramesPerSecond));
        frames += std::max<qint64>(0, segment.frames);
        const qint64 end = std::min<qint64>(length_, av_rescale(frames, sampleRate, kAlbumFramesPerSecond));
        if (end > start)
            ranges_.append(Range{segment.path, start, end});
    }
}

AlbumSound::~AlbumSound() = default;

void AlbumSound::read(float* left, float* right, int count) {
    for (int done = 0; done < count;) {
        int n = count - done;
        if (current_ < ranges_.size()) {
            const Range& range = ranges_[current_];
            if (!song_ && !songFailed_)
                startSegment();
            n = int(std::min<qint64>(n, range.end - position_));
            const int got = song_ ? song_->read(left + done, right + done, n) : 0;
            std::fill(left + done + got, left + done + n, 0.f);
            std::fill(right + done + got, right + done + n, 0.f);
            missing_ += n - got;
            shape(left + done, right + done, n, range.end);
        } else {
            std::fill(left + done, left + count, 0.f);
            std::fill(right + done, right + count, 0.f);
        }
        position_ += n;
        done += n;
        if (current_ < ranges_.size() && position_ == ranges_[current_].end)
            endSegment();
    }
}

void AlbumSound::startSegment() {
    const Range& range = ranges_[current_];
    try {
        song_ = std::make_unique<Song>(range.path, sampleRate_);
    } catch (const Error& e) {
        songFailed_ = true;
        const QString line = e.message() + QStringLiteral("相册中这一段 %1 秒以静音代替。")
                                               .arg(seconds(range.end - range.start, sampleRate_));
        if (!warnings_.contains(line))
            warnings_.append(line);
    }
}

void AlbumSound::endSegment() {
    const Range& range = ranges_[current_];
    // A plan rounded to whole album frames may ask for a little more than a song holds.
    const qint64 tolerance = 2 * qint64(sampleRate_) / kAlbumFramesPerSecond;
    QString line;
    if (song_ && missing_ > tolerance)
        line = song_->subject() + QStringLiteral("已损坏或比预计的短：只读出 %1 秒，其余 %2 秒以静音代替。")
                                      .arg(seconds(range.end - range.start - missing_, sampleRate_),
                                           seconds(missing_, sampleRate_));
    else if (song_ && song_->damagedPackets() > 0)
        line = song_->subject() + QStringLiteral("有损坏的部分，已跳过。");
    if (!line.isEmpty() && !warnings_.contains(line))
        warnings_.append(line);
    song_.reset();
    songFailed_ = false;
    missing_ = 0;
    ++current_;
}

// Applies the fade of the album's end and a short ramp at the end of each segment, where a song cut in
// the middle would otherwise click.
void AlbumSound::shape(float* left, float* right, int count, qint64 segmentEnd) const {
    const qint64 ramp = std::max(1, sampleRate_ / 100);
    for (int i = 0; i < count; ++i) {
        const qint64 at = position_ + i;
        const qint64 toEnd = length_ - at;
        const qint64 toSegmentEnd = segmentEnd - at;
        if (toEnd >= fadeLength_ && toSegmentEnd >= ramp)
            continue;
        float gain = 1.f;
        if (toEnd < fadeLength_)
            gain *= float(std::max<qint64>(0, toEnd)) / float(fadeLength_);
        if (toSegmentEnd < ramp)
            gain *= float(toSegmentEnd) / float(ramp);
        left[i] *= gain;
        right[i] *= gain;
    }
}

} // namespace lumiset
