// Keeping the references between album tables right, driven by the table descriptions: removing rows
// shifts every reference into the table, and the consistency check finds every broken one.
#pragma once

#include "core/Album.h"

#include <QList>
#include <QStringList>

namespace lumiset {

// Removes `rows` of `table` (any order) and keeps the album consistent: rows that follow the table go
// with the same indices, references to a removed row are emptied or take their row with them (as the
// table description says), later references shift down, and 1-based position columns are renumbered.
// Throws Error for a row that does not exist, or for a table whose rows follow another's (nothing is
// removed then).
void RemoveRows(Album& album, TableId table, QList<int> rows);

// Every broken reference between the album's tables (empty when consistent). `catalogueSize` (when >= 0)
// also checks that template numbers exist.
QStringList AlbumProblems(const Album& album, int catalogueSize = -1);

} // namespace lumiset
