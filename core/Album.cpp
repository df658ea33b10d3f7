#include "core/Album.h"

#include "core/Columns.h"
#include "core/TextHelpers.h"
#include "core/Words.h"

namespace lumiset {

namespace {
Table tableOf(TableId id) {
    const TableSchema& schema = SchemaOf(id);
    return Table(schema.name, static_cast<int>(schema.columns.size()));
}
} // namespace

Album::Album()
    : photos(tableOf(TableId::Photos)), pendingLandscape(tableOf(TableId::PendingLandscape)),
      pendingPortrait(tableOf(TableId::PendingPortrait)), usedTemplates(tableOf(TableId::UsedTemplates)),
      templateSlots(tableOf(TableId::TemplateSlots)), landscapePhotos(tableOf(TableId::LandscapePhotos)),
      backgrounds(tableOf(TableId::Backgrounds)), music(tableOf(TableId::Music)),
      lyrics(tableOf(TableId::Lyrics)), lyricSettings(tableOf(TableId::LyricSettings)),
      pictureEffects(tableOf(TableId::PictureEffects)), textEffects(tableOf(TableId::TextEffects)) {}

QList<Table*> Album::tables() {
    return {&photos,        &pendingLandscape, &pendingPortrait, &usedTemplates,
            &templateSlots, &landscapePhotos,  &backgrounds,     &music,
            &lyrics,        &lyricSettings,    &pictureEffects,  &textEffects};
}

Table& Album::table(TableId id) {
    return *tables()[static_cast<int>(id)];
}

const Table& Album::table(TableId id) const {
    return const_cast<Album*>(this)->table(id);
}

QList<const Table*> Album::tables() const {
    QList<const Table*> out;
    for (Table* t : const_cast<Album*>(this)->tables())
        out.append(t);
    return out;
}

void Album::clearTables() {
    for (Table* t : tables())
        t->clear();
    finishedTemplates.clear();
}

void Album::clearData() {
    clearTables();
    facts = AlbumFacts();
}

namespace {
bool isLandscapeRow(const QStringList& photo) {
    return IsLandscape(photo[PhotoCol::Width].toLongLong(), photo[PhotoCol::Height].toLongLong());
}
} // namespace

void Album::rebuildPendingLists() {
    pendingLandscape.clear();
    pendingPortrait.clear();
    for (const QStringList& photo : photos.rows())
        if (photo[PhotoCol::Status].isEmpty())
            (isLandscapeRow(photo) ? pendingLandscape : pendingPortrait).appendRow(photo);
}

void Album::rebuildLandscapePhotoList() {
    landscapePhotos.clear();
    for (int r = 0; r < photos.rowCount(); ++r) {
        const QStringList& p = photos.row(r);
        if (isLandscapeRow(p))
            landscapePhotos.appendRow({p[PhotoCol::Number], p[PhotoCol::Name], p[PhotoCol::Extension],
                                       p[PhotoCol::Width], p[PhotoCol::Height], p[PhotoCol::Path],
                                       QString::number(r)});
    }
}

void Album::rebuildFinishedTemplates() {
    finishedTemplates.clear();
    for (int r = 0; r < usedTemplates.rowCount(); ++r)
        if (usedTemplates.cell(r, UsedTemplateCol::Matching) == Words::Complete)
            finishedTemplates.append(QString::number(r));
}

} // namespace lumiset
