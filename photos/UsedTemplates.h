// The album's used templates and their photo slots: appending a template of the template list (with its
// background row, its slot rows and their placeholder pictures and sizes), putting a photo into a slot
// with its crop rectangles, and the template's matching state.
#pragma once

#include "core/Album.h"
#include "core/Random.h"
#include "core/TemplateCatalogue.h"

#include <QList>

namespace lumiset {

struct AppendedTemplate {
    int usedRow = -1;
    QList<int> slotRows; // landscape slots first, then portrait slots
};

// Appends row `templateListRow` of the template list to the album: the used-template row with
// `matchingState` ("已完成" or "未完成"), its background row (a random landscape photo, if any) and one
// slot row per photo slot, each given its placeholder picture and size. Throws Error naming the template
// when the catalogue does not describe it.
AppendedTemplate AppendUsedTemplate(Album& album, const TemplateCatalogue& catalogue, int templateListRow,
                                    const QString& matchingState, RandomSource& random);

// Writes the placeholder pictures of the template into its slot rows that have none yet (so it may run
// again). A landscape-list template's "shuheng" pictures go to landscape slots, a portrait-list one's to
// portrait slots; an advanced template counts them as landscape slots, so they fill landscape slots.
void FillPlaceholders(Album& album, const TemplateCatalogue& catalogue, int usedRow);
// The same for the template's slot rows when they are known: no search of the whole slot table, which
// would make an import's cost grow with the square of the album.
void FillPlaceholders(Album& album, const TemplateCatalogue& catalogue, int usedRow,
                      const QList<int>& slotRows);

// Slot-table rows of used-template row `usedRow`, in table order.
QList<int> SlotRowsOf(const Album& album, int usedRow);

// Puts photo-table row `photoRow` into slot-table row `slotRow`: the slot takes the photo's row and path
// and both crop rectangles (the crop switches come from the album's system settings), and the photo is
// marked placed. Throws Error naming the template when the slot has no usable size.
void PutPhotoIntoSlot(Album& album, int slotRow, int photoRow);

// Column 7 of the used-template row: "已完成" when every slot holds a photo, else "未完成".
void UpdateMatchingState(Album& album, int usedRow);
// The same for the template's slot rows when they are known (see FillPlaceholders).
void UpdateMatchingState(Album& album, int usedRow, const QList<int>& slotRows);

// Whether any slot holds photo-table row `photoRow`.
bool PhotoSitsInSlot(const Album& album, int photoRow);

} // namespace lumiset
