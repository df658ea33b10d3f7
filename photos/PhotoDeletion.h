// Deleting photos from the album (the photo window's "删除照片" and "全部删除", also requested from the
// photo files window and the main window): the slots that held a photo are emptied, references to later
// photos shift, and the automatic text effects of the templates that lost a photo go with it.
#pragma once

#include "core/JobOutcome.h"

#include "core/Album.h"
#include "core/Confirm.h"
#include "core/Random.h"
#include "core/TemplateCatalogue.h"

#include <QString>
#include <QStringList>

namespace lumiset {

namespace PhotoDeletionText {
inline const QString NoPhotos = QStringLiteral("没有添加照片文件！");
inline const QString NoSelection = QStringLiteral("没有选中照片文件！");
inline const QString Deleted = QStringLiteral("选中的照片文件已经删除！");
inline const QString TextEffectsDeleted =
    QStringLiteral("此张照片文件删除后,自动匹配到相关模板中的文字特效也已经删除!！");
inline const QString AllDeleted = QStringLiteral("照片文件已经全部删除！");
} // namespace PhotoDeletionText

class PhotoDeletion {
public:
    PhotoDeletion(const TemplateCatalogue& catalogue, RandomSource& random, Confirm confirm);

    // Deletes photo row `selectedRow` (-1 when none is selected) after asking. Its slots are emptied and
    // their templates become "未完成"; later photo references shift down by one; empty background rows get
    // landscape photos; the automatic text effects of the affected templates are deleted and the rest
    // re-timed. The album is unchanged unless the result says `changed`.
    EditResult deleteOne(Album& album, int selectedRow) const;

    // Deletes every photo after asking, with the used templates, their slots and backgrounds and every
    // automatic text effect.
    EditResult deleteAll(Album& album) const;

private:
    const TemplateCatalogue& catalogue_;
    RandomSource& random_;
    Confirm confirm_;
};

} // namespace lumiset
