// The template window's edits of the album: appending a template by hand, putting a photo into a slot,
// deleting one or all used templates. The window shows the returned messages and the Error texts.
#pragma once

#include "core/JobOutcome.h"

#include "core/Album.h"
#include "core/Confirm.h"
#include "core/Random.h"
#include "core/TemplateCatalogue.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace lumiset {

namespace TemplateText {
inline const QString NoTemplates = QStringLiteral("没有添加模板文件！");
inline const QString NoSelection = QStringLiteral("没有选中模板文件！");
inline const QString NoUsedSelection =
    QStringLiteral("没有选中已经添加模板文件！选中模板后,模板所需照片框会出现");
inline const QString NoPhotoSelection = QStringLiteral("没有选中照片文件！");
inline const QString DeleteCaption = QStringLiteral("删除模板文件");
inline const QString DeleteOneQuestion = QStringLiteral("是否确定要删除当前选中已经使用的模板文件?");
inline const QString DeleteAllQuestion = QStringLiteral("是否确定要删除全部已经使用的模板文件?");
inline const QString Deleted = QStringLiteral("选中的模板文件已经删除！");
inline const QString AllDeleted = QStringLiteral("已经使用的模板文件已经全部删除！");
// "此处需要一张横照片！" / "此处需要一张竖照片！"
QString NeedPhotoOf(bool landscapeSlot);
} // namespace TemplateText

class TemplateManagement {
public:
    TemplateManagement(const TemplateCatalogue& catalogue, RandomSource& random, Confirm confirm);

    // "使用选中模板": appends row `templateListRow` of the template list (-1 = none selected) with its
    // background and empty slots; it stays "未完成" until its slots hold photos. Returns the new
    // used-template row, nothing when the template list is empty.
    std::optional<int> useTemplate(Album& album, int templateListRow) const;

    // Dropping photo-table row `photoRow` on slot `slotNumber` (slot-table column 10) of used-template row
    // `usedRow`: the slot must have the photo's orientation. A photo the slot held before and no other
    // slot holds becomes unplaced again.
    void putPhoto(Album& album, int usedRow, int slotNumber, int photoRow) const;

    // "删除模板": deletes used-template row `usedRow` (-1 = none selected) after asking, with its slots,
    // its background row and its automatic text effects; later rows move up and are renumbered. Its
    // photos become unplaced unless another slot still holds them.
    EditResult deleteOne(Album& album, int usedRow) const;

    // "全删模板": deletes every used template after asking; every photo becomes unplaced.
    EditResult deleteAll(Album& album) const;

private:
    void retimeTextEffects(Album& album) const;

    const TemplateCatalogue& catalogue_;
    RandomSource& random_;
    Confirm confirm_;
};

} // namespace lumiset
