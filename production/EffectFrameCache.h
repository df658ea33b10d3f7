// The effect frames of one production, placed for its frame size and kept between the album frames that
// show them. An album shows a few effects many times over, and placing a frame (reading its file,
// scaling it) costs many times drawing it. The cache holds at most a given number of bytes; when full,
// it keeps the frames worth most: those that show again soonest (the schedule says when) and save the
// most reading for the memory they take. So an album that cycles through more effects than fit still
// finds most of them, where keeping the most recent would evict each frame just before its turn; and a
// full-colour frame, four times the reading of a palette frame of its size, is not given up for a
// large palette frame that is quick to read again. Thread-safe: the composers share one.
#pragma once

#include "effects/PlacedEffectFrame.h"
#include "production/EffectSchedule.h"

#include <QHash>
#include <QMutex>
#include <QSize>
#include <memory>
#include <vector>

namespace lumiset {

// The frame `showing` shows, read from its file and drawn over `frame` (RGB32): picture effects where the
// whole 1920 × 1080 frame they are drawn for falls, text effects at their place on the stage. A frame file
// that is missing or damaged draws nothing, as a frame the effect does not draw (at 1920 × 1080, where rows
// are drawn as they are read, a file damaged part way may leave the rows before the damage).
void DrawEffectFrame(const EffectInFrame& showing, QImage& frame);
// The same frame placed for frames of `frameSize`, to be drawn again and again; `storedBytes`, when given,
// gets the picture data read from its file.
PlacedEffectFrame PlaceEffectFrame(const EffectInFrame& showing, QSize frameSize,
                                   qint64* storedBytes = nullptr);

class EffectFrameCache {
public:
    EffectFrameCache(const EffectSchedule& schedule, QSize frameSize, qsizetype budgetBytes);

    // Draws what `showing` shows in album frame `albumFrame` over `frame` (RGB32, of the cache's size). A
    // frame that never shows again is drawn straight from its file, not placed.
    void draw(const EffectInFrame& showing, qint64 albumFrame, QImage& frame);
    qsizetype bytesHeld() const;
    // How many draws found their frame kept.
    qint64 framesFound() const;

private:
    struct Entry {
        std::shared_ptr<const PlacedEffectFrame> frame;
        qsizetype bytes = 0;    // held
        qint64 storedBytes = 0; // read from the file to place it
    };
    // What keeping `entry` until album frame `wanted` saves for each byte held and frame waited.
    static double worth(const Entry& entry, qint64 wanted, qint64 albumFrame);
    // The first album frame after `albumFrame` that shows the frame `key`; the largest qint64 when none.
    qint64 nextShowing(const QString& key, qint64 albumFrame) const;
    // Keeps `entry`, wanted next in album frame `wanted`, if it fits or frames worth less make room.
    void keep(const QString& key, Entry entry, qint64 wanted, qint64 albumFrame);

    QSize frameSize_;
    qsizetype budget_;
    QHash<QString, std::vector<qint64>> showings_; // every album frame showing each frame, ascending
    mutable QMutex mutex_;
    QHash<QString, Entry> kept_;
    qsizetype bytesHeld_ = 0;
    qint64 found_ = 0;
};

} // namespace lumiset
