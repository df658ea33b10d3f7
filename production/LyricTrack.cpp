#include "production/LyricTrack.h"

#include "audio/LrcReader.h"
#include "audio/ScriptConversion.h"
#include "core/Error.h"
#include "core/TextHelpers.h"

namespace lumiset {

LyricTrack::LyricTrack(const Album& album, const ProductionPlan& plan, const ProductionTimeline& timeline)
    : album_(album), plan_(plan), timeline_(timeline) {}

std::shared_ptr<const LyricTrack::Song> LyricTrack::song(int planRow) const {
    const int musicRow = plan_.songs[planRow].musicRow;
    QMutexLocker lock(&mutex_);
    if (auto found = songs_.find(musicRow); found != songs_.end())
        return found.value();
    auto made = std::make_shared<Song>();
    // Lyric row i belongs to music row i; a song past the end of the lyric list has no lyric.
    if (musicRow < album_.lyrics.rowCount()) {
        const QStringList settings =
            musicRow < album_.lyricSettings.rowCount() ? album_.lyricSettings.row(musicRow) : QStringList();
        made->style = std::make_shared<const LyricStyle>(LyricStyleFromRow(settings));
        const QString script = settings.value(LyricSettingsCol::Script);
        try {
            const LyricTimeline timeline = ReadLyricFile(album_.lyrics.cell(musicRow, LyricCol::Path));
            const qint64 seconds = plan_.songs[planRow].frames / kFramesPerSecond;
            QString shown;
            for (qint64 second = 0; second < seconds; ++second) {
                if (const auto line =
                        LookupLyric(timeline, FramesToClock(second * kFramesPerSecond).right(5)))
                    shown = ConvertToScript(*line, script);
                made->lineBySecond.append(shown);
            }
        } catch (const Error& error) {
            warnings_.append(error.message());
        }
    }
    songs_.insert(musicRow, made);
    return made;
}

LyricLine LyricTrack::at(qint64 frame) const {
    if (album_.lyrics.isEmpty())
        return {};
    const SongPosition position = timeline_.songAt(frame);
    if (position.planRow < 0 || frame == 0)
        return {};
    const auto playing = song(position.planRow);
    const qint64 second = position.songFrame / kFramesPerSecond;
    if (second >= playing->lineBySecond.size())
        return {};
    return {playing->lineBySecond[second], playing->style};
}

QStringList LyricTrack::warnings() const {
    QMutexLocker lock(&mutex_);
    return warnings_;
}

} // namespace lumiset
