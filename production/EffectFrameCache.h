// The effect frames of one production, placed for its frame size and kept between the album frames that
// show them. An album shows a few effects many times over, and placing a frame (reading its file,
// scaling it) costs many times drawing it. The cache holds at most a given number of bytes; when full,
// it keeps the frames that show again soonest (the schedule says when), so an album that cycles through
// more effects than fit still finds most of them, where keeping the most recent would evict each frame
// just before its turn. Thread-safe: the composers share one.
#pragma once

#include "effects/PlacedEffectFrame.h"
#include "production/EffectSchedule.h"

#include <QHash>
#include <QMutex>
#include <QSize>
#include <memory>
#include <vector>

namespace lumiset {

// The frame `showing` shows, read from its file and placed in a frame of `frameSize`: picture effects
// where the whole 1920 × 1080 frame they are drawn for falls, text effects at their place on the stage.
// A frame file that is missing or damaged places nothing, as a frame the effect does not draw.
PlacedEffectFrame PlaceEffectFrame(const EffectInFrame& showing, QSize frameSize);

class EffectFrameCache {
public:
    EffectFrameCache(const EffectSchedule& schedule, QSize frameSize, qsizetype budgetBytes);

    // What `showing` shows in album frame `albumFrame`.
    std::shared_ptr<const PlacedEffectFrame> frame(const EffectInFrame& showing, qint64 albumFrame);
    qsizetype bytesHeld() const;

private:
    struct Entry {
        std::shared_ptr<const PlacedEffectFrame> frame;
        qsizetype bytes = 0;
    };
    // The album frames after `albumFrame` that show the frame `key`; the last frame of all when none.
    qint64 nextShowing(const QString& key, qint64 albumFrame) const;
    void keep(const QString& key, std::shared_ptr<const PlacedEffectFrame> frame, qint64 albumFrame);

    QSize frameSize_;
    qsizetype budget_;
    QHash<QString, std::vector<qint64>> showings_; // every album frame showing each frame, ascending
    mutable QMutex mutex_;
    QHash<QString, Entry> kept_;
    qsizetype bytesHeld_ = 0;
};

} // namespace lumiset
