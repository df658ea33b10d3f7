// The lyric line of every album frame: for each song of the song plan that has a lyric file, the line
// found for each second of the song (a line stays until the next second that has a tag), in the script
// and style of the song's lyric settings. Thread-safe; each lyric file is read once.
#pragma once

#include "audio/LyricStyle.h"
#include "core/Album.h"
#include "production/ProductionTimeline.h"

#include <QHash>
#include <QMutex>
#include <QStringList>
#include <memory>

namespace lumiset {

struct LyricLine {
    QString text; // empty: nothing shown
    std::shared_ptr<const LyricStyle> style;
};

class LyricTrack {
public:
    LyricTrack(const Album& album, const ProductionPlan& plan, const ProductionTimeline& timeline);

    LyricLine at(qint64 frame) const;
    QStringList warnings() const;

private:
    struct Song {
        QStringList lineBySecond;
        std::shared_ptr<const LyricStyle> style;
    };
    std::shared_ptr<const Song> song(int planRow) const;

    Album album_;
    const ProductionPlan& plan_;
    const ProductionTimeline& timeline_;
    mutable QMutex mutex_;
    mutable QHash<int, std::shared_ptr<const Song>> songs_; // by music row
    mutable QStringList warnings_;
};

} // namespace lumiset
