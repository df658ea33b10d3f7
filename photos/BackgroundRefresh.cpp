#include "photos/BackgroundRefresh.h"

#include "core/Columns.h"
#include "core/TextHelpers.h"

namespace lumiset {

void RebuildLandscapePhotoList(Album& album) {
    album.landscapePhotos.clear();
    for (int r = 0; r < album.photos.rowCount(); ++r) {
        const QStringList& p = album.photos.row(r);
        if (!IsLandscape(p[PhotoCol::Width].toLongLong(), p[PhotoCol::Height].toLongLong()))
            continue;
        album.landscapePhotos.appendRow({p[PhotoCol::Number], p[PhotoCol::Name], p[PhotoCol::Extension],
                                         p[PhotoCol::Width], p[PhotoCol::Height], p[PhotoCol::Path],
                                         QString::number(r)});
    }
}

void RefreshBackgrounds(Album& album, RandomSource& random) {
    RebuildLandscapePhotoList(album);
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
