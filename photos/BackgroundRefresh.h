// Background pictures that follow the photos: every used template shows a landscape photo of the album
// behind its animation until the user chooses another picture.
#pragma once

#include "core/Album.h"
#include "core/Random.h"

#include <QStringList>

namespace lumiset {

// Background cells 4..8 (name, extension, width, height, path) of a uniformly random row of the
// landscape photo list; five empty cells when the list is empty.
QStringList RandomBackgroundPicture(const Album& album, RandomSource& random);

// Appends the background row of the used-template row just appended (same index): its number, the
// template's name, kind and category, a random landscape photo and transparency "0".
void AppendBackgroundRow(Album& album, int usedRow, RandomSource& random);

// The background refresh: rebuilds the landscape photo list (and with it the pending lists) from the
// photo table, then gives every background row without a picture a random landscape photo.
void RefreshBackgrounds(Album& album, RandomSource& random);

} // namespace lumiset
