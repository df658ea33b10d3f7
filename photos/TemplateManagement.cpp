#include "photos/TemplateManagement.h"

#include "core/AlbumReferences.h"
#include "core/Columns.h"
#include "core/Error.h"
#include "core/TextHelpers.h"
#include "core/Words.h"
#include "effects/AutomaticTextMarks.h"
#include "photos/UsedTemplates.h"

#include <QSet>

namespace lumiset {

namespace {} // namespace

QString TemplateText::NeedPhotoOf(bool landscapeSlot) {
    return QStringLiteral("此处需要一张") + (landscapeSlot ? QStringLiteral("横") : QStringLiteral("竖")) +
           QStringLiteral("照片！");
}

TemplateManagement::TemplateManagement(const TemplateCatalogue& catalogue, RandomSource& random,
                                       Confirm confirm)
    : catalogue_(catalogue), random_(random), confirm_(std::move(confirm)) {}

void TemplateManagement::retimeTextEffects(Album& album) const {
    if (!album.textEffects.isEmpty())
        RetimeAutomaticTextEffects(album, catalogue_);
}

std::optional<int> TemplateManagement::useTemplate(Album& album, int templateListRow) const {
    const Table& list = catalogue_.templateList();
    if (list.isEmpty())
        return std::nullopt;
    if (templateListRow < 0 || templateListRow >= list.rowCount())
        throw Error(TemplateText::NoSelection);
    Album changed = album;
    const AppendedTemplate added =
        AppendUsedTemplate(changed, catalogue_, templateListRow, Words::Incomplete, random_);
    // A template without photo slots has nothing to wait for.
    UpdateMatchingState(changed, added.usedRow);
    album = std::move(changed);
    return added.usedRow;
}

void TemplateManagement::putPhoto(Album& album, int usedRow, int slotNumber, int photoRow) const {
    if (usedRow < 0 || usedRow >= album.usedTemplates.rowCount())
        throw Error(TemplateText::NoUsedSelection);
    if (photoRow < 0 || photoRow >= album.photos.rowCount())
        throw Error(TemplateText::NoPhotoSelection);
    int slotRow = -1;
    for (int s : SlotRowsOf(album, usedRow))
        if (album.templateSlots.cell(s, SlotCol::SlotIndex) == QString::number(slotNumber))
            slotRow = s;
    if (slotRow < 0)
        throw Error(QStringLiteral("模板“%1”中没有第 %2 个照片框")
                        .arg(album.usedTemplates.cell(usedRow, UsedTemplateCol::Name))
                        .arg(slotNumber + 1));
    const bool landscapeSlot = album.templateSlots.cell(slotRow, SlotCol::SlotKind) == Words::LandscapeSlot;
    const QStringList& photo = album.photos.row(photoRow);
    if (IsLandscape(photo[PhotoCol::Width].toLongLong(), photo[PhotoCol::Height].toLongLong()) !=
        landscapeSlot)
        throw Error(TemplateText::NeedPhotoOf(landscapeSlot));

    Album changed = album;
    const QString previous = changed.templateSlots.cell(slotRow, SlotCol::PhotoRow);
    const QString stateBefore = changed.usedTemplates.cell(usedRow, UsedTemplateCol::Matching);
    PutPhotoIntoSlot(changed, slotRow, photoRow);
    if (!previous.isEmpty() && !PhotoSitsInSlot(changed, previous.toInt()))
        changed.photos.setCell(previous.toInt(), PhotoCol::Status, QString());
    UpdateMatchingState(changed, usedRow);
    // Automatic text effects are timed after the complete templates before them.
    if (changed.usedTemplates.cell(usedRow, UsedTemplateCol::Matching) != stateBefore)
        retimeTextEffects(changed);
    album = std::move(changed);
}

EditResult TemplateManagement::deleteOne(Album& album, int usedRow) const {
    if (album.usedTemplates.isEmpty())
        throw Error(TemplateText::NoTemplates);
    if (usedRow < 0 || usedRow >= album.usedTemplates.rowCount())
        throw Error(TemplateText::NoSelection);
    if (!confirm_ || !confirm_(TemplateText::DeleteCaption, TemplateText::DeleteOneQuestion))
        return {};

    Album changed = album;
    QSet<int> photos;
    for (int s : SlotRowsOf(changed, usedRow))
        if (!changed.templateSlots.cell(s, SlotCol::PhotoRow).isEmpty())
            photos.insert(changed.templateSlots.cell(s, SlotCol::PhotoRow).toInt());
    // Its slots, its background and its automatic text effects go with it; later rows move up.
    RemoveRows(changed, TableId::UsedTemplates, {usedRow});
    // Photos may sit in several slots (placed by hand, or reused by a combination).
    for (int photo : photos)
        if (!PhotoSitsInSlot(changed, photo))
            changed.photos.setCell(photo, PhotoCol::Status, QString());
    retimeTextEffects(changed);
    album = std::move(changed);
    return {true, {TemplateText::Deleted}};
}

EditResult TemplateManagement::deleteAll(Album& album) const {
    if (album.usedTemplates.isEmpty())
        throw Error(TemplateText::NoTemplates);
    if (!confirm_ || !confirm_(TemplateText::DeleteCaption, TemplateText::DeleteAllQuestion))
        return {};
    album.usedTemplates.clear();
    album.templateSlots.clear();
    album.backgrounds.clear();
    for (int r = 0; r < album.photos.rowCount(); ++r)
        album.photos.setCell(r, PhotoCol::Status, QString());
    Table& effects = album.textEffects;
    for (int r = effects.rowCount() - 1; r >= 0; --r)
        if (!effects.cell(r, TextEffectCol::UsedRow).isEmpty())
            effects.removeRow(r);
    return {true, {TemplateText::AllDeleted}};
}

} // namespace lumiset
