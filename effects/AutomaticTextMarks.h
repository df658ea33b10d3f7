// The template marks that tie automatically placed text effects to their template: stamping, re-timing
// and removal. The automatic placement, the text-effect window's deletions and the photo deletions all
// use these, so the effects of a template always move and go together.
#pragma once

#include "core/Album.h"
#include "core/TemplateCatalogue.h"

#include <QTime>

namespace lumiset {

// The mark of a template stamped at `time`: "hhmmss_<used-template row>", for example "143005_2".
QString TemplateMark(const QTime& time, int usedRow);

// Sets the start time of every automatic text effect to its frame position inside its template plus the
// frames of the complete templates before it (S + position, as hh:mm:ss). A template that is not
// complete adds nothing. Writes nothing and throws Error when a frame count or position is not a number.
void RetimeAutomaticTextEffects(Album& album, const TemplateCatalogue& catalogue);

// Deletes every text effect of `mark` and clears the mark from the slot rows that carry it, which makes
// their template eligible for automatic text effects again. Returns the number of effects deleted.
int RemoveAutomaticTextEffects(Album& album, const QString& mark);

} // namespace lumiset
