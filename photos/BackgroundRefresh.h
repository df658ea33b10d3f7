// The background refresh that the import, the matching and the photo deletions run after changing the
// photo table: every used template without a background picture gets a random landscape photo.
#pragma once

#include "core/Album.h"
#include "core/Random.h"

namespace lumiset {

// Rebuilds the landscape photo list, then, when it and the background table both have rows, copies a
// randomly drawn landscape photo (name, extension, width, height, path) into every background row whose
// picture name is empty. Rows that already have a picture keep it.
void RefreshBackgrounds(Album& album, RandomSource& random);

} // namespace lumiset
