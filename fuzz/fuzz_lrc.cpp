// The LRC reader: lyric files in GBK or UTF-8 with time and information tags, brackets that may not pair.
#include "audio/LrcReader.h"
#include "fuzz/FuzzSupport.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const lumiset::LyricTimeline timeline = lumiset::ParseLyrics(lumiset::fuzz::InputBytes(data, size));
    // Every timeline starts with the empty row that the start of a song finds.
    if (timeline.rows.isEmpty() || timeline.rows[0].tag != QLatin1String("00:00") ||
        lumiset::LookupLyric(timeline, QStringLiteral("00:00")) != QString())
        std::abort();
    for (const lumiset::LyricTimelineRow& row : timeline.rows)
        (void)lumiset::LookupLyric(timeline, row.tag.left(5));
    return 0;
}
