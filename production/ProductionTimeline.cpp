#include "production/ProductionTimeline.h"

#include <algorithm>

namespace lumiset {

ProductionTimeline::ProductionTimeline(const ProductionPlan& plan) : totalFrames_(plan.totalFrames) {
    // The closing movie follows one pass directly, and the album ends one frame before the movie does
    // (frame 0 is the black frame). When the music makes the album longer (music sync), the templates
    // repeat and the closing movie takes the last 150 frames whole.
    const qint64 closingStart =
        totalFrames_ > plan.passFrames + kClosingFrames ? totalFrames_ - kClosingFrames : 1 + plan.passFrames;
    qint64 frame = 1;
    if (plan.passFrames > 0) {
        for (int index = 0; frame < closingStart; index = (index + 1) % plan.templates.size()) {
            const qint64 length = plan.templates[index].frames;
            if (length <= 0)
                continue;
            segments_.append({index, frame, std::min(length, closingStart - frame)});
            frame += length;
        }
    }
    frame = std::max<qint64>(1, closingStart);
    if (frame < totalFrames_)
        segments_.append({-1, frame, totalFrames_ - frame});

    qint64 start = 0;
    for (const SongPlanRow& song : plan.songs) {
        songStarts_.append(start);
        songFrames_.append(song.frames);
        start += song.frames;
    }
}

MovieFrameRef ProductionTimeline::movieAt(qint64 frame) const {
    auto after = std::upper_bound(segments_.begin(), segments_.end(), frame,
                                  [](qint64 f, const MovieSegment& s) { return f < s.firstFrame; });
    if (after == segments_.begin())
        return {};
    const auto segment = std::prev(after);
    if (frame >= segment->firstFrame + segment->frames)
        return {};
    return {static_cast<int>(segment - segments_.begin()), static_cast<int>(frame - segment->firstFrame)};
}

SongPosition ProductionTimeline::songAt(qint64 frame) const {
    auto after = std::upper_bound(songStarts_.begin(), songStarts_.end(), frame);
    if (after == songStarts_.begin())
        return {};
    const int row = static_cast<int>(after - songStarts_.begin()) - 1;
    const qint64 songFrame = frame - songStarts_[row];
    if (songFrame >= songFrames_[row])
        return {};
    return {row, songFrame};
}

} // namespace lumiset
