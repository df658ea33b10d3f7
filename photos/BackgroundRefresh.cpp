#include "photos/BackgroundRefresh.h"

#include "core/Columns.h"
#include "core/TextHelpers.h"

namespace lumiset {

void RefreshBackgrounds(Album& album, RandomSource& random) {
    album.rebuildLandscapePhotoList();
    const Table& landscape = album.landscapePhotos;
    if (landscape.isEmpty())
        return;
    Table& backgrounds = album.backgrounds;
    for (int r = 0; r < backgrounds.rowCount(); ++r) {
        if (!backgrounds.cell(r, BackgroundCol::PictureName).isEmpty())
            continue;
        const int pick = random.uniform(0, landscape.rowCount() - 1);
        for (int k = 0; k < 5; ++k)
            backgrounds.setCell(r, BackgroundCol::PictureName + k,
                                landscape.cell(pick, LandscapePhotoCol::Name + k));
    }
}

} // namespace lumiset
