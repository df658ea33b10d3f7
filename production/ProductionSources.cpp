#include "production/ProductionSources.h"

#include "core/Package.h"
#include "production/FramePainter.h"

namespace lumiset {

namespace {

// Placed effect frames kept for later showings. Most cover a few hundredths of the frame, tens to hundreds
// of kilobytes each: 128 MB keeps every frame of a typical album's effects at the discs' sizes, where
// composing sets the pace. At 1280 × 720, where x264 shares the cores, 96 MB keeps most of them: on the
// bench album 7,478 of 9,520 showings are found kept (7,046 with 64 MB), and composing a frame takes 2 ms
// less on one core. Larger frames keep none: the encoder sets the pace there, and the memory is needed
// for the frames themselves.
qsizetype EffectFrameBudget(QSize frameSize) {
    const qint64 area = qint64(frameSize.width()) * frameSize.height();
    if (area <= 1024 * 576)
        return qsizetype(128) << 20;
    return area <= 1280 * 720 ? qsizetype(96) << 20 : 0;
}

} // namespace

ProductionSources::ProductionSources(const Album& album, const TemplateCatalogue& catalogue,
                                     const DataPaths& paths, const ProductionPlan& plan, FrameShape frame,
                                     int painters, Ahead ahead)
    : album_(album), catalogue_(catalogue), paths_(paths), plan_(plan), frame_(frame),
      kept_(std::max(1, painters)), timeline_(plan), effects_(album, paths),
      effectFrames_(effects_, frame.pixels, EffectFrameBudget(frame.pixels)),
      lyrics_(album_, plan_, timeline_), closingMovieName_(paths.endingPackage()), aheadMode_(ahead) {
    closingMovie_ = DecodePackageToMemory(closingMovieName_, PackageLayers::Ending);
}

ProductionSources::~ProductionSources() = default;

std::shared_ptr<const TemplatePictures> ProductionSources::templatePictures(int templateIndex) {
    // Held while preparing: a second composer asking for the same template waits for it instead of
    // making it twice.
    QMutexLocker lock(&picturesMutex_);
    for (int i = 0; i < recentPictures_.size(); ++i) {
        if (recentPictures_[i].first == templateIndex) {
            auto found = recentPictures_.takeAt(i);
            recentPictures_.append(found);
            return found.second;
        }
    }
    // Made after letting the oldest go. Painters paint neighbouring frames, so as many templates are in
    // use as there are painters (a painter moving on paints its hand-over picture from the template it
    // leaves, then lets it go). At 1920 × 1080 one template's pictures take up to about 50 MB; a set
    // evicted too early is made again, never shown wrong.
    while (recentPictures_.size() >= kept_)
        recentPictures_.removeFirst();
    std::shared_ptr<const TemplatePictures> made;
    if (aheadIndex_ == templateIndex) {
        aheadIndex_ = -1;
        made = ahead_.get(); // what went wrong making it is thrown here, to the painter that needs it
    } else {
        made = makePictures(templateIndex);
    }
    for (const QString& warning : made->warnings)
        if (!pictureWarnings_.contains(warning))
            pictureWarnings_.append(warning);
    recentPictures_.append({templateIndex, made});
    return made;
}

std::shared_ptr<const TemplatePictures> ProductionSources::segmentPictures(int segment) {
    const QList<MovieSegment>& segments = timeline_.segments();
    const int current = segments[segment].templateIndex;
    const int next = segment + 1 < segments.size() ? segments[segment + 1].templateIndex : -1;
    if (aheadMode_ != Ahead::NextTemplate || next < 0 || next == current)
        return templatePictures(current);
    // Pictures being made ahead are taken first; pictures not made yet (the first template's) are made
    // while the next template's are made ahead, so that both cores work from the start.
    bool madeAhead;
    {
        QMutexLocker lock(&picturesMutex_);
        madeAhead = aheadIndex_ == current;
    }
    std::shared_ptr<const TemplatePictures> pictures = madeAhead ? templatePictures(current) : nullptr;
    {
        QMutexLocker lock(&picturesMutex_);
        const bool kept = std::any_of(recentPictures_.begin(), recentPictures_.end(),
                                      [next](const auto& recent) { return recent.first == next; });
        if (!kept && aheadIndex_ != next) {
            if (ahead_.valid())
                ahead_.wait(); // one set made ahead at a time
            aheadIndex_ = next;
            ahead_ = std::async(std::launch::async, [this, next] { return makePictures(next); });
        }
    }
    return pictures ? pictures : templatePictures(current);
}

std::shared_ptr<const TemplatePictures> ProductionSources::makePictures(int templateIndex) const {
    return std::make_shared<const TemplatePictures>(PrepareTemplatePictures(
        album_, catalogue_, paths_, plan_.templates[templateIndex].usedRow, frame_.shown));
}

QImage ProductionSources::handOverPicture(int segment, FramePainter& painter) {
    QMutexLocker lock(&handOverMutex_);
    // Each hand-over picture is painted from the one before it, so work up from the latest one kept.
    int from = 0;
    for (const auto& [kept, picture] : recentHandOvers_) {
        if (kept == segment)
            return picture;
        if (kept < segment)
            from = std::max(from, kept + 1);
    }
    QImage picture;
    for (int s = from; s <= segment; ++s) {
        if (s == 0) {
            picture = plan_.templates.isEmpty() ? QImage() : segmentPictures(0)->background;
        } else {
            const MovieSegment& before = timeline_.segments()[s - 1];
            picture = painter.paint(before.firstFrame + before.frames - 1, FramePainter::Lyric::Left);
        }
        recentHandOvers_.append({s, picture});
        while (recentHandOvers_.size() > kept_)
            recentHandOvers_.removeFirst();
    }
    return picture;
}

QStringList ProductionSources::warnings() const {
    QStringList all;
    {
        QMutexLocker lock(&picturesMutex_);
        all = pictureWarnings_;
    }
    all += lyrics_.warnings();
    all += effects_.warnings();
    return all;
}

} // namespace lumiset
