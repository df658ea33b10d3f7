// When and where the album's picture and text effects show. An effect whose start time (hh:mm:ss) is the
// clock of an album frame starts in the first such frame and shows its production frames 2_1.png, 2_2.png,
// … one per album frame until its frame count is reached.
#pragma once

#include "core/Album.h"
#include "core/DataPaths.h"

#include <QList>
#include <QPointF>
#include <QString>

namespace lumiset {

struct ScheduledEffect {
    enum class Kind { Picture, Text };
    Kind kind = Kind::Picture;
    QString folder;        // the effect's folder of frames
    qint64 firstFrame = 0; // album frame that shows 2_1.png
    int frames = 0;
    QPointF stagePosition; // text effects: top-left on the 800 × 450 stage
};

struct EffectInFrame {
    const ScheduledEffect* effect = nullptr;
    int frame = 0; // 1-based frame of the effect
};

class EffectSchedule {
public:
    EffectSchedule() = default;
    // Rows whose start time is not a clock text, whose frame count is not a number or whose effect
    // number is out of range never start; each gets a warning.
    EffectSchedule(const Album& album, const DataPaths& paths);

    // The effects showing in `frame`, in drawing order (the one started first at the bottom; picture
    // effects below text effects that start in the same frame).
    QList<EffectInFrame> at(qint64 frame) const;
    // Every effect that starts, sorted by first frame.
    const QList<ScheduledEffect>& all() const { return effects_; }
    const QStringList& warnings() const { return warnings_; }
    bool isEmpty() const { return effects_.isEmpty(); }

private:
    QList<ScheduledEffect> effects_; // sorted by first frame
    QStringList warnings_;
};

} // namespace lumiset
