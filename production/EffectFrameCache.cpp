#include "production/EffectFrameCache.h"

#include "core/Error.h"
#include "effects/EffectFrames.h"
#include "effects/EffectLibrary.h"

#include <algorithm>
#include <limits>

namespace lumiset {

namespace {

// Effect frames are drawn for a 1920 × 1080 frame; text effects sit at their place on the 800 × 450 stage.
constexpr double kDesignWidth = 1920.0;
constexpr double kDesignHeight = 1080.0;
constexpr qint64 kNever = std::numeric_limits<qint64>::max();

// What makes two showings place the same picture in frames of one size: the file, and for text effects
// their place on the stage.
QString KeyOf(const ScheduledEffect& effect, int frame) {
    QString key = effect.folder + u'|' + QString::number(frame);
    if (effect.kind == ScheduledEffect::Kind::Text)
        key += u'|' + QString::number(effect.stagePosition.x(), 'g', 17) + u',' +
               QString::number(effect.stagePosition.y(), 'g', 17);
    return key;
}

} // namespace

PlacedEffectFrame PlaceEffectFrame(const EffectInFrame& showing, QSize frameSize) {
    EffectFrame picture;
    try {
        picture =
            LoadEffectFrame(EffectFramePath(showing.effect->folder, showing.frame, FrameUse::Production));
    } catch (const Error&) {
        return {};
    }
    const double width = frameSize.width();
    const double height = frameSize.height();
    const double sx = width / kDesignWidth;
    const double sy = height / kDesignHeight;
    // Frames are cropped to their content; the offset puts them back where they belong.
    QPointF topLeft(picture.offset.x() * sx, picture.offset.y() * sy);
    if (showing.effect->kind == ScheduledEffect::Kind::Text)
        topLeft += QPointF(showing.effect->stagePosition.x() * width / kStageWidth,
                           showing.effect->stagePosition.y() * height / kStageHeight);
    const QSizeF size(picture.image.width() * sx, picture.image.height() * sy);
    return PlacedEffectFrame(picture.image, QRectF(topLeft, size), frameSize);
}

EffectFrameCache::EffectFrameCache(const EffectSchedule& schedule, QSize frameSize, qsizetype budgetBytes)
    : frameSize_(frameSize), budget_(budgetBytes) {
    for (const ScheduledEffect& effect : schedule.all())
        for (int frame = 1; frame <= effect.frames; ++frame)
            showings_[KeyOf(effect, frame)].push_back(effect.firstFrame + frame - 1);
    for (std::vector<qint64>& frames : showings_)
        std::sort(frames.begin(), frames.end());
}

std::shared_ptr<const PlacedEffectFrame> EffectFrameCache::frame(const EffectInFrame& showing,
                                                                 qint64 albumFrame) {
    const QString key = KeyOf(*showing.effect, showing.frame);
    {
        QMutexLocker lock(&mutex_);
        const auto found = kept_.constFind(key);
        if (found != kept_.constEnd())
            return found->frame;
    }
    // Placed outside the lock, so the composers place frames side by side; two that miss the same frame
    // at once both place it, and the second keeps the first's.
    auto placed = std::make_shared<const PlacedEffectFrame>(PlaceEffectFrame(showing, frameSize_));
    keep(key, placed, albumFrame);
    return placed;
}

qint64 EffectFrameCache::nextShowing(const QString& key, qint64 albumFrame) const {
    const auto found = showings_.constFind(key);
    if (found == showings_.constEnd())
        return kNever;
    const auto next = std::upper_bound(found->begin(), found->end(), albumFrame);
    return next == found->end() ? kNever : *next;
}

void EffectFrameCache::keep(const QString& key, std::shared_ptr<const PlacedEffectFrame> frame,
                            qint64 albumFrame) {
    const qint64 wanted = nextShowing(key, albumFrame);
    const qsizetype bytes = frame->bytes();
    if (wanted == kNever || bytes > budget_)
        return;
    QMutexLocker lock(&mutex_);
    if (kept_.contains(key))
        return;
    // Room is made by dropping the frames needed latest, as long as they are needed later than this one.
    while (bytesHeld_ + bytes > budget_) {
        auto latest = kept_.end();
        qint64 latestShowing = wanted;
        for (auto it = kept_.begin(); it != kept_.end(); ++it) {
            const qint64 next = nextShowing(it.key(), albumFrame);
            if (next > latestShowing) {
                latestShowing = next;
                latest = it;
            }
        }
        if (latest == kept_.end())
            return;
        bytesHeld_ -= latest->bytes;
        kept_.erase(latest);
    }
    kept_.insert(key, {std::move(frame), bytes});
    bytesHeld_ += bytes;
}

qsizetype EffectFrameCache::bytesHeld() const {
    QMutexLocker lock(&mutex_);
    return bytesHeld_;
}

} // namespace lumiset
