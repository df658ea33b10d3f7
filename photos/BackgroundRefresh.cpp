#include "photos/BackgroundRefresh.h"

#include "core/AlbumFile.h"
#include "core/Columns.h"

namespace lumiset {

namespace {

constexpr int kPictureCells = BackgroundCol::Path - BackgroundCol::PictureName + 1;

void setPicture(Table& backgrounds, int row, const QStringList& cells) {
    for (int i = 0; i < kPictureCells; ++i)
        backgrounds.setCell(row, BackgroundCol::PictureName + i, cells.value(i));
}

} // namespace

QStringList RandomBackgroundPicture(const Album& album, RandomSource& random) {
    const Table& list = album.landscapePhotos;
    if (list.isEmpty())
        return QStringList(kPictureCells, QString());
    const int r = random.uniform(0, list.rowCount() - 1);
    return list.row(r).mid(LandscapePhotoCol::Name, kPictureCells);
}

void AppendBackgroundRow(Album& album, int usedRow, RandomSource& random) {
    const QStringList& used = album.usedTemplates.row(usedRow);
    const int row = album.backgrounds.appendRow({QString::number(album.usedTemplates.rowCount()),
                                                 used[UsedTemplateCol::Name], used[UsedTemplateCol::Kind],
                                                 used[UsedTemplateCol::Category]});
    setPicture(album.backgrounds, row, RandomBackgroundPicture(album, random));
    album.backgrounds.setCell(row, BackgroundCol::Transparency, QStringLiteral("0"));
}

void RefreshBackgrounds(Album& album, RandomSource& random) {
    RebuildPhotoLists(album);
    if (album.landscapePhotos.isEmpty())
        return;
    for (int r = 0; r < album.backgrounds.rowCount(); ++r)
        if (album.backgrounds.cell(r, BackgroundCol::PictureName).isEmpty())
            setPicture(album.backgrounds, r, RandomBackgroundPicture(album, random));
}

} // namespace lumiset
