// Which movie frame and which song position every frame of the produced album shows. Frame 0 is black;
// from frame 1 the templates follow one another, each from its frame 0 to its last, then the closing
// movie. Under music sync the templates start over from the first until the closing movie ends the album
// with the music. Random access, so several threads can compose frames at once.
#pragma once

#include "production/ProductionPlan.h"

#include <QList>
#include <optional>

namespace lumiset {

// One stretch of the album that plays one movie from its frame 0.
struct MovieSegment {
    int templateIndex = -1; // index into the plan's templates; -1 for the closing movie
    qint64 firstFrame = 0;  // album frame that shows the movie's frame 0
    qint64 frames = 0;      // album frames it lasts (a template cut short by the closing movie: fewer)
    bool isClosing() const { return templateIndex < 0; }
};

struct MovieFrameRef {
    int segment = -1;   // index into segments(); -1 for the black first frame
    int movieFrame = 0; // frame of that movie
};

struct SongPosition {
    int planRow = -1;     // row of the song plan; -1 when no song plays
    qint64 songFrame = 0; // frames since that song started
};

class ProductionTimeline {
public:
    explicit ProductionTimeline(const ProductionPlan& plan);

    qint64 totalFrames() const { return totalFrames_; }
    const QList<MovieSegment>& segments() const { return segments_; }
    MovieFrameRef movieAt(qint64 frame) const;
    SongPosition songAt(qint64 frame) const;
    // The album frame where song-plan row `row` starts.
    qint64 songStart(int row) const { return songStarts_.value(row, -1); }

private:
    qint64 totalFrames_ = 0;
    QList<MovieSegment> segments_;
    QList<qint64> songStarts_;
    QList<qint64> songFrames_;
};

} // namespace lumiset
