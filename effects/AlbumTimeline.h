// How the used templates lie on the album's time line: which are complete, how many frames each plays
// and which slot row carries a template's automatic text-effect mark.
#pragma once

#include "core/Album.h"
#include "core/TemplateCatalogue.h"

#include <QList>

namespace lumiset {

// "照片匹配" of a used template reads "已完成": it plays.
bool IsCompleteTemplate(const Album& album, int usedRow);

// The catalogue row of a used template's template. Throws Error naming the template when it is not in
// the catalogue.
int CatalogueRowOfUsedTemplate(const Album& album, const TemplateCatalogue& catalogue, int usedRow);

// The total frames of a used template (catalogue column 10 of its template). Throws Error naming the
// template when it is not in the catalogue or its frame count is not a number.
qint64 UsedTemplateFrames(const Album& album, const TemplateCatalogue& catalogue, int usedRow);

// The last slot row of a used template (the one whose column 26 tells whether the template carries
// automatic text effects), or -1 when the template has no slot row.
int LastSlotRow(const Album& album, int usedRow);
// LastSlotRow of every used template, in one pass over the slot table: asking template by template
// would make a run's cost grow with the square of the album.
QList<int> LastSlotRows(const Album& album);

} // namespace lumiset
