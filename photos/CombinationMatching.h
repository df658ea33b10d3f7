// Applying a combination template to the pending photos: its entries in order, then again from the
// first, until every pending photo sits in a slot. Two cursors (one per orientation) walk the pending
// lists cyclically across the whole job, so photos are reused when the combination has more slots.
#pragma once

#include "core/Album.h"
#include "core/Job.h"
#include "core/Random.h"
#include "core/TemplateCatalogue.h"
#include "photos/CombinationTemplates.h"
#include "photos/PhotoMatching.h"

namespace lumiset {

class CombinationMatcher {
public:
    CombinationMatcher(Album& album, const TemplateCatalogue& catalogue, RandomSource& random);

    // Adds every template of the template list with the entry's name and counts and fills its slots
    // from the cursors. A slot of an orientation without pending photos stays empty and its template
    // "未完成". Returns the slots added for each orientation.
    struct EntrySlots {
        int landscape = 0;
        int portrait = 0;
    };
    EntrySlots applyEntry(const CombinationEntry& entry);

    // Entries 1 … E once, then cycling while a pending photo is unplaced. When a whole round of the
    // entries brings no slot for the orientations still unplaced (no template of the combination takes
    // them, or an entry names no template), the job ends with those photos unplaced and a message.
    // `job` may stop the job between entries.
    MatchingOutcome run(const CombinationTemplate& combination, Job& job);

private:
    static int countUnplaced(const Table& pending);
    void countUnplaced();

    Album& album_;
    const TemplateCatalogue& catalogue_;
    RandomSource& random_;
    int landscapeCursor_ = -1;
    int portraitCursor_ = -1;
    int templatesAdded_ = 0;
    int placed_ = 0;
    // Unplaced rows of each pending list, kept as photos are placed: counting them again after every
    // entry would make a job's cost grow with the square of the album.
    int landscapeUnplaced_ = 0;
    int portraitUnplaced_ = 0;
};

} // namespace lumiset
