#include "production/EffectFrameCache.h"

#include "core/Error.h"
#include "core/FileAccess.h"
#include "effects/EffectFrames.h"
#include "effects/EffectLibrary.h"
#include "effects/EffectPng.h"
#include "effects/PixelBlend.h"

#include <QPainter>
#include <algorithm>
#include <limits>
#include <optional>

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

// Where a text effect's place on the stage falls on a frame of `frameSize`; the origin for picture effects.
QPointF StagePlace(const ScheduledEffect& effect, QSize frameSize) {
    if (effect.kind != ScheduledEffect::Kind::Text)
        return {};
    return {effect.stagePosition.x() * frameSize.width() / kStageWidth,
            effect.stagePosition.y() * frameSize.height() / kStageHeight};
}

QString FramePathOf(const EffectInFrame& showing) {
    return EffectFramePath(showing.effect->folder, showing.frame, FrameUse::Production);
}

struct Placement {
    QImage picture;
    QRectF target;
    qint64 storedBytes = 0; // read from the file
};

std::optional<Placement> PlacementOf(const EffectInFrame& showing, QSize frameSize) {
    // Each thread reads its frames into the same memory: the picture goes as soon as it is placed.
    thread_local std::vector<QRgb> memory;
    EffectFrame picture;
    try {
        picture = LoadEffectFrame(FramePathOf(showing), &memory);
    } catch (const Error&) {
        return std::nullopt;
    }
    const double width = frameSize.width();
    const double height = frameSize.height();
    const double sx = width / kDesignWidth;
    const double sy = height / kDesignHeight;
    // Frames are cropped to their content; the offset puts them back where they belong.
    const QPointF topLeft =
        QPointF(picture.offset.x() * sx, picture.offset.y() * sy) + StagePlace(*showing.effect, frameSize);
    const QSizeF size(picture.image.width() * sx, picture.image.height() * sy);
    return Placement{std::move(picture.image), QRectF(topLeft, size), picture.storedBytes};
}

// Rows of an effect frame blended over a frame as they are read, `origin` being where the frame file's
// own top-left lands.
class BlendedRows : public EffectPngRows {
public:
    BlendedRows(QImage& frame, QPoint origin, const QString& path)
        : frame_(frame), origin_(origin), path_(path) {}
    void begin(QSize size, QPoint offset) override {
        CheckEffectFrameOffset(offset, path_);
        origin_ += offset;
        row_.resize(size_t(size.width()));
    }
    QRgb* rowBuffer(int) override { return row_.data(); }
    void rowDone(int y) override {
        const int top = origin_.y() + y;
        const int left = std::max(0, origin_.x());
        const int right = std::min(frame_.width(), origin_.x() + int(row_.size()));
        if (top < 0 || top >= frame_.height() || left >= right)
            return;
        BlendPixelsOver(row_.data() + (left - origin_.x()),
                        reinterpret_cast<QRgb*>(frame_.scanLine(top)) + left, right - left);
    }

private:
    QImage& frame_;
    QPoint origin_;
    const QString& path_;
    std::vector<QRgb> row_;
};

// At the frame size effects are made for, a frame file covers the frame's pixels one to one (text effects
// at a whole pixel of it): its rows are blended straight over the frame as they are read, with no picture
// of its own, which would take up to 8 MB there. False when that does not apply; the frame is then
// untouched.
bool DrawOneToOne(const EffectInFrame& showing, QImage& frame) {
    if (frame.size() != QSize(int(kDesignWidth), int(kDesignHeight)))
        return false;
    const QPointF place = StagePlace(*showing.effect, frame.size());
    const QPoint origin = place.toPoint();
    if (QPointF(origin) != place)
        return false;
    const QString path = FramePathOf(showing);
    BlendedRows rows(frame, origin, path);
    return ReadEffectPngRows(ReadWholeFile(path), path, rows);
}

} // namespace

void DrawEffectFrame(const EffectInFrame& showing, QImage& frame) {
    try {
        if (DrawOneToOne(showing, frame))
            return;
    } catch (const Error&) {
        return;
    }
    const std::optional<Placement> placement = PlacementOf(showing, frame.size());
    if (!placement)
        return;
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(placement->target, placement->picture);
}

PlacedEffectFrame PlaceEffectFrame(const EffectInFrame& showing, QSize frameSize, qint64* storedBytes) {
    const std::optional<Placement> placement = PlacementOf(showing, frameSize);
    if (storedBytes)
        *storedBytes = placement ? placement->storedBytes : 0;
    return placement ? PlacedEffectFrame(placement->picture, placement->target, frameSize)
                     : PlacedEffectFrame();
}

EffectFrameCache::EffectFrameCache(const EffectSchedule& schedule, QSize frameSize, qsizetype budgetBytes)
    : frameSize_(frameSize), budget_(budgetBytes) {
    for (const ScheduledEffect& effect : schedule.all())
        for (int frame = 1; frame <= effect.frames; ++frame)
            showings_[KeyOf(effect, frame)].push_back(effect.firstFrame + frame - 1);
    for (std::vector<qint64>& frames : showings_)
        std::sort(frames.begin(), frames.end());
}

void EffectFrameCache::draw(const EffectInFrame& showing, qint64 albumFrame, QImage& frame) {
    const QString key = KeyOf(*showing.effect, showing.frame);
    std::shared_ptr<const PlacedEffectFrame> placed;
    {
        QMutexLocker lock(&mutex_);
        if (const auto found = kept_.constFind(key); found != kept_.constEnd()) {
            placed = found->frame;
            ++found_;
        }
    }
    if (placed) {
        placed->drawOver(frame);
        return;
    }
    const qint64 wanted = nextShowing(key, albumFrame);
    if (wanted == kNever || budget_ <= 0) {
        DrawEffectFrame(showing, frame);
        return;
    }
    // Placed outside the lock, so the composers place frames side by side; two that miss the same frame
    // at once both place it, and the second keeps the first's.
    qint64 storedBytes = 0;
    placed = std::make_shared<const PlacedEffectFrame>(PlaceEffectFrame(showing, frameSize_, &storedBytes));
    placed->drawOver(frame);
    keep(key, {std::move(placed), 0, storedBytes}, wanted, albumFrame);
}

qint64 EffectFrameCache::nextShowing(const QString& key, qint64 albumFrame) const {
    const auto found = showings_.constFind(key);
    if (found == showings_.constEnd())
        return kNever;
    const auto next = std::upper_bound(found->begin(), found->end(), albumFrame);
    return next == found->end() ? kNever : *next;
}

double EffectFrameCache::worth(const Entry& entry, qint64 wanted, qint64 albumFrame) {
    if (wanted == kNever)
        return 0;
    return double(std::max<qint64>(entry.storedBytes, 1)) /
           (double(entry.bytes) * double(std::max<qint64>(wanted - albumFrame, 1)));
}

void EffectFrameCache::keep(const QString& key, Entry entry, qint64 wanted, qint64 albumFrame) {
    entry.bytes = entry.frame->bytes();
    if (entry.bytes > budget_)
        return;
    QMutexLocker lock(&mutex_);
    if (kept_.contains(key))
        return;
    // Room is made by dropping the frames worth least, as long as they are worth less than this one.
    const double newWorth = worth(entry, wanted, albumFrame);
    while (bytesHeld_ + entry.bytes > budget_) {
        auto least = kept_.end();
        double leastWorth = newWorth;
        for (auto it = kept_.begin(); it != kept_.end(); ++it) {
            const double itsWorth = worth(*it, nextShowing(it.key(), albumFrame), albumFrame);
            if (itsWorth < leastWorth) {
                leastWorth = itsWorth;
                least = it;
            }
        }
        if (least == kept_.end())
            return;
        bytesHeld_ -= least->bytes;
        kept_.erase(least);
    }
    bytesHeld_ += entry.bytes;
    kept_.insert(key, std::move(entry));
}

qint64 EffectFrameCache::framesFound() const {
    QMutexLocker lock(&mutex_);
    return found_;
}

qsizetype EffectFrameCache::bytesHeld() const {
    QMutexLocker lock(&mutex_);
    return bytesHeld_;
}

} // namespace lumiset
