#include "core/Album.h"

#include "core/Columns.h"
#include "core/TextHelpers.h"
#include "core/Words.h"

namespace lumiset {

Album::Album()
    : photos(QStringLiteral("ListView_daoru_zhaopian"), PhotoCol::Count),
      pendingLandscape(QStringLiteral("ListView_heng_zhao"), PhotoCol::Count),
      pendingPortrait(QStringLiteral("ListView_shu_zhao"), PhotoCol::Count),
      usedTemplates(QStringLiteral("ListView_moban_shiyong"), UsedTemplateCol::Count),
      templateSlots(QStringLiteral("ListView_moban_shiyong_canshu"), SlotCol::Count),
      landscapePhotos(QStringLiteral("ListView_qubu_hengzhao"), LandscapePhotoCol::Count),
      backgrounds(QStringLiteral("ListView_moban_beijing"), BackgroundCol::Count),
      music(QStringLiteral("ListView_daoru_yinyue"), MusicCol::Count),
      lyrics(QStringLiteral("ListView_daoru_LRC"), LyricCol::Count),
      lyricSettings(QStringLiteral("ListView_geci_shezhi_canshu"), LyricSettingsCol::Count),
      pictureEffects(QStringLiteral("TForm32.ListView_Image"), PictureEffectCol::Count),
      textEffects(QStringLiteral("TForm33.ListView_Image"), TextEffectCol::Count) {}

QList<Table*> Album::tables() {
    return {&photos,        &pendingLandscape, &pendingPortrait, &usedTemplates,
            &templateSlots, &landscapePhotos,  &backgrounds,     &music,
            &lyrics,        &lyricSettings,    &pictureEffects,  &textEffects};
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
