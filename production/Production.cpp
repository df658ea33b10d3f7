#include "production/Production.h"

#include "core/Error.h"
#include "core/Job.h"
#include "core/TextHelpers.h"
#include "core/Words.h"
#include "effects/AlbumTimeline.h"
#include "media/AlbumEncoder.h"
#include "media/EncoderPresets.h"
#include "media/FrameConverter.h"
#include "media/MusicFile.h"
#include "production/FramePainter.h"
#include "production/OrderedFrameQueue.h"
#include "production/ProductionSources.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSemaphore>
#include <QThreadPool>
#include <algorithm>
#include <cmath>
#include <exception>
#include <mutex>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace lumiset {

namespace {

constexpr int kMaxLogLines = 32000;

// Two composers on two cores: disc encoders are cheap, so composing is what takes the time there; with
// the other encoders, frames heavy with effects would otherwise keep a busy encoder waiting. x264 above
// 1280 x 720 spreads its own work over both cores already, and a second composer's player and pictures
// (over 100 MB at 1920 x 1080) would cost memory without making the run faster.
int ComposerCount(const ProductionRequest& request) {
    const bool x264 = request.type == AlbumType::MP4 || request.type == AlbumType::MOV;
    return x264 && request.size.width() > 1280 ? 1 : 2;
}

// How many frames in a row each composer paints. A painter that paints neighbouring frames finds its
// player's kept layers and the effect frames of the frame before still in place: on discs, where
// composing sets the pace, runs of half a second made productions about a tenth faster than taking
// frames in turns (measured in pairs of runs). Each run waits in the queue for the one before it, so
// the queue holds two runs; at larger sizes, where the encoder sets the pace, frames go in turns.
int ComposerRun(const ProductionRequest& request) {
    return IsDiscType(request.type) ? 12 : 1;
}

// Discs code a small frame (720 × 576 at most): composing a larger album size only for the encoder to
// shrink it costs time for detail no viewer gets. The album is laid out at the smallest size of its own
// shape that still gives every coded pixel, in square pixels, at least one composed pixel, and painted
// straight at the size of its place in the coded picture, whose pixels are narrower or wider than square:
// the encoder then only converts the colours.
FrameShape CompositionShape(const ProductionRequest& request) {
    if (!IsDiscType(request.type))
        return request.size;
    const VideoPlan video = PlanEncoding({request.type, request.tv, request.quality, request.size}).video;
    const double codedWidth = video.picture.width() * av_q2d(video.sampleAspect);
    const double scale =
        std::max(codedWidth / request.size.width(), double(video.picture.height()) / request.size.height());
    const auto even = [](double side) { return std::max(2, 2 * int(std::ceil(side / 2))); };
    const QSize shown = scale >= 1
                            ? request.size
                            : QSize(even(request.size.width() * scale), even(request.size.height() * scale));
    const QSize coded = PlanEncoding({request.type, request.tv, request.quality, shown}).video.picture.size();
    if (qint64(coded.width()) * coded.height() >= qint64(shown.width()) * shown.height())
        return shown;
    return FrameShape(coded, shown);
}

// Frames, photos being decoded, kept layers and effect frames of a megabyte and more come and go all
// through a production. Up to 1280 x 720 glibc's heaps keep them when freed: taking each afresh from the
// system faulted in every page again, a quarter of a DVD production's time and 5 % of a 1280 x 720 one
// (for about 30 MB more at the peak). Above that size they go straight back to the system, as the memory
// budget there needs: kept in per-thread heaps they pile up (about 40 MB more at 1920 x 1080).
void SetBigBufferHandling(QSize frame) {
#ifdef __GLIBC__
    const int threshold = qint64(frame.width()) * frame.height() > 1280 * 720 ? 1 << 20 : 32 << 20;
    mallopt(M_MMAP_THRESHOLD, threshold);
    mallopt(M_TRIM_THRESHOLD, 2 * threshold); // glibc's own ratio
#else
    Q_UNUSED(frame);
#endif
}

QString TimeText(qint64 milliseconds) {
    return SecondsToClock(std::max<qint64>(milliseconds, 0) / 1000);
}

using PictureQueue = OrderedFrameQueue<FrameHolder>;

// Composers on their own threads, putting runs of frames into the queue in turns, converted for the
// encoder. Any error ends them all and is handed to the encoder's side.
//
// They run on threads of Qt's global pool. Qt's raster engine hands the rows of a large drawing from any
// other thread to that pool in pieces and waits for them; with both cores already busy composing and
// encoding, that only adds hand-overs (about a tenth of a disc production's time). Drawing on a pool
// thread is done where it is asked for. The pool grows by the composers, so Qt's other work still has
// its threads.
class Composers {
public:
    Composers(ProductionSources& sources, const EncoderSettings& settings, PictureQueue& queue, int count,
              int runLength)
        : queue_(queue), count_(count), run_(runLength) {
        QThreadPool* pool = QThreadPool::globalInstance();
        pool->setMaxThreadCount(std::max(pool->maxThreadCount(), count + QThread::idealThreadCount()));
        for (int index = 0; index < count; ++index)
            pool->start([this, &sources, settings, index, count] {
                run(sources, settings, index, count);
                finished_.release();
            });
    }
    ~Composers() {
        queue_.cancel();
        finished_.acquire(count_);
    }
    void rethrowFailure() {
        std::lock_guard lock(mutex_);
        if (failure_)
            std::rethrow_exception(failure_);
    }

private:
    void run(ProductionSources& sources, const EncoderSettings& settings, int index, int count) {
        try {
            FramePainter painter(sources);
            FrameConverter converter(settings);
            const qint64 total = sources.timeline().totalFrames();
            for (qint64 first = index * run_; first < total; first += count * run_)
                for (qint64 frame = first; frame < std::min(total, first + run_); ++frame)
                    if (!queue_.put(frame, converter.convert(painter.paint(frame))))
                        return;
        } catch (...) {
            {
                std::lock_guard lock(mutex_);
                if (!failure_)
                    failure_ = std::current_exception();
            }
            queue_.cancel();
        }
    }

    PictureQueue& queue_;
    int count_;
    int run_; // frames a composer paints in a row before the next composer's turn
    QSemaphore finished_;
    std::mutex mutex_;
    std::exception_ptr failure_;
};

} // namespace

ProductionRequest DefaultProductionRequest(AlbumType type) {
    ProductionRequest request;
    request.type = type;
    request.size = OutputSizes(type).value(LaunchSizeIndex(type));
    return request;
}

QString SizeText(QSize size) {
    return QStringLiteral("%1 × %2").arg(size.width()).arg(size.height());
}

std::optional<QString> LaunchRefusal(const Album& album, SyncMode sync) {
    if (album.photos.isEmpty())
        return QStringLiteral("没有添加照片文件！");
    if (sync == SyncMode::Music && album.music.isEmpty())
        return QStringLiteral("没有找到音乐文件！使用随音乐文件同步,至少添加一个音乐文件！");
    if (album.usedTemplates.isEmpty())
        return QStringLiteral("没有添加模板文件！");
    for (int row = 0; row < album.usedTemplates.rowCount(); ++row)
        if (IsCompleteTemplate(album, row))
            return std::nullopt;
    return QStringLiteral("没有已完成的模板！请先为模板添加照片，再制作相册。");
}

void CheckOutputSize(AlbumType type, QSize size) {
    const QList<QSize> sizes = OutputSizes(type);
    if (sizes.contains(size))
        return;
    QStringList allowed;
    for (QSize s : sizes)
        allowed.append(SizeText(s));
    throw Error(QStringLiteral("%1相册没有 %2 的输出尺寸。可选的尺寸: %3")
                    .arg(AlbumTypeWord(type), SizeText(size), allowed.join(QStringLiteral(", "))));
}

void ProductionLog::append(const QString& line) {
    QMutexLocker lock(&mutex_);
    if (lines_.size() >= kMaxLogLines)
        lines_.removeFirst();
    lines_.append(line);
}

QStringList ProductionLog::lines() const {
    QMutexLocker lock(&mutex_);
    return lines_;
}

JobOutcome ProduceAlbum(const Album& album, const TemplateCatalogue& catalogue, const DataPaths& paths,
                        const ProductionRequest& request, Job& job, ProductionLog* log) {
    ProductionLog ownLog;
    ProductionLog& out = log ? *log : ownLog;
    if (const auto refusal = LaunchRefusal(album, request.sync))
        return JobOutcome::failed(Error(*refusal));
    CheckOutputSize(request.type, request.size);
    AlbumEncoder::CheckOutputFolder(request.outputPath);

    job.report(0, 0, QStringLiteral("正在计算音乐长度"));
    const ProductionPlan plan = PlanProduction(album, catalogue, request.sync, MusicLengthMilliseconds,
                                               [&] { return job.stopRequested(); });
    if (job.stopRequested())
        return JobOutcome::stopped();
    const FrameShape composed = CompositionShape(request);
    SetBigBufferHandling(composed.shown);
    const int composerCount = ComposerCount(request);
    // Where memory allows a third set of template pictures, the next template's photos are decoded while
    // the one before plays, instead of holding up both composers and leaving the encoder without frames.
    const auto ahead =
        composerCount > 1 ? ProductionSources::Ahead::NextTemplate : ProductionSources::Ahead::No;
    ProductionSources sources(album, catalogue, paths, plan, composed, composerCount, ahead);
    const qint64 total = sources.timeline().totalFrames();

    QList<AudioSegment> audio;
    for (const SongPlanRow& song : plan.songs)
        if (song.frames > 0)
            audio.append({song.path, song.frames});
    const EncoderSettings settings{request.type, request.tv, request.quality, composed.shown};
    AlbumEncoder encoder(settings, request.outputPath, audio, total);
    out.append(QStringLiteral("Total frames:  %1").arg(total));
    out.append(QStringLiteral("Total samples: %1").arg(encoder.totalAudioSamples()));
    out.append(QStringLiteral("Preparing conversion..."));
    out.append(QStringLiteral("Starting conversion..."));

    // A run of frames in reach of each composer, and two frames more; a lone composer (at large sizes,
    // where every frame weighs megabytes) one more than it paints.
    const int runLength = ComposerRun(request);
    PictureQueue queue(composerCount == 1 ? 2 : 2 + composerCount * runLength);
    QElapsedTimer clock;
    clock.start();
    qint64 lastLog = -1000;
    {
        Composers composers(sources, settings, queue, composerCount, runLength);
        for (qint64 frame = 0; frame < total; ++frame) {
            if (job.stopRequested()) {
                out.append(QStringLiteral("Conversion ended."));
                return JobOutcome::stopped({QStringLiteral("相册制作已停止，没有生成视频文件。")});
            }
            std::optional<FrameHolder> picture = queue.take();
            if (!picture) {
                composers.rethrowFailure();
                return JobOutcome::stopped();
            }
            encoder.addPicture(std::move(*picture));
            const qint64 elapsed = clock.elapsed();
            if (elapsed - lastLog >= 1000 || frame + 1 == total) {
                lastLog = elapsed;
                const qint64 left = frame + 1 < total ? elapsed * (total - frame - 1) / (frame + 1) : 0;
                out.append(QStringLiteral("Frame: %1, Sample: %2, Time Left: %3")
                               .arg(frame + 1)
                               .arg(encoder.totalAudioSamples() * (frame + 1) / std::max<qint64>(total, 1))
                               .arg(TimeText(left)));
            }
            job.report(static_cast<int>(frame + 1), static_cast<int>(total),
                       QStringLiteral("正在制作%1相册").arg(AlbumTypeWord(request.type)));
        }
    }
    encoder.finish();
    out.append(QStringLiteral("Multiplexing done: 100%"));
    out.append(QStringLiteral("Processing time: %1").arg(TimeText(clock.elapsed())));
    out.append(QStringLiteral("Conversion ended."));

    QStringList messages = plan.warnings + sources.warnings() + encoder.warnings();
    messages.append(QStringLiteral("相册制作完成: %1").arg(QDir::toNativeSeparators(request.outputPath)));
    return JobOutcome::unchanged(messages);
}

} // namespace lumiset
