#include "photos/PhotoDeletion.h"

#include "core/AlbumReferences.h"
#include "core/Columns.h"
#include "core/Error.h"
#include "core/Words.h"
#include "effects/AutomaticTextMarks.h"
#include "photos/BackgroundRefresh.h"

namespace lumiset {

namespace {

const QString kCaption = QStringLiteral("删除照片");

// Empties a slot: the photo reference and both crop rectangles go (columns 11–13 and 16–25).
void emptySlot(Table& slotTable, int row) {
    for (const int column : {int(SlotCol::MatchState), int(SlotCol::PhotoRow), int(SlotCol::PhotoPath)})
        slotTable.setCell(row, column, QString());
    for (int column = SlotCol::CropLeft; column <= SlotCol::UsageMark; ++column)
        slotTable.setCell(row, column, QString());
}

} // namespace

PhotoDeletion::PhotoDeletion(const TemplateCatalogue& catalogue, RandomSource& random, Confirm confirm)
    : catalogue_(catalogue), random_(random), confirm_(std::move(confirm)) {}

EditResult PhotoDeletion::deleteOne(Album& album, int selectedRow) const {
    EditResult result;
    if (album.photos.isEmpty()) {
        result.messages.append(PhotoDeletionText::NoPhotos);
        return result;
    }
    const QString selected = QString::number(selectedRow);
    int uses = 0;
    for (int s = 0; s < album.templateSlots.rowCount(); ++s)
        if (album.templateSlots.cell(s, SlotCol::PhotoRow) == selected)
            ++uses;
    const QString question =
        uses == 0 ? QStringLiteral("是否确定要删除当前选中的照片文件?")
                  : QStringLiteral("此张照片文件在 %1 个模板文件中使用,删除后,模板文件中的照片文件也会被删除,"
                                   "是否确定要删除当前选中的照片文件?")
                        .arg(uses);
    if (!confirm_(kCaption, question))
        return result;
    if (selectedRow < 0 || selectedRow >= album.photos.rowCount()) {
        result.messages.append(PhotoDeletionText::NoSelection);
        return result;
    }

    Album work = album;
    Table& slotTable = work.templateSlots;
    QStringList marks; // ListBox_jilu_wenzitexiao_biaozhu
    for (int s = 0; s < slotTable.rowCount(); ++s) {
        if (slotTable.cell(s, SlotCol::PhotoRow) != selected)
            continue;
        emptySlot(slotTable, s);
        const QString& mark = slotTable.cell(s, SlotCol::TextEffectMark);
        if (!mark.isEmpty() && !marks.contains(mark))
            marks.append(mark);
        const int used = slotTable.cell(s, SlotCol::UsedRow).toInt();
        if (used >= 0 && used < work.usedTemplates.rowCount())
            work.usedTemplates.setCell(used, UsedTemplateCol::Matching, Words::Incomplete);
    }
    RemoveRows(work, TableId::Photos, {selectedRow});
    RefreshBackgrounds(work, random_);
    result.messages.append(PhotoDeletionText::Deleted);
    if (!marks.isEmpty()) {
        for (const QString& mark : marks)
            RemoveAutomaticTextEffects(work, mark);
        result.messages.append(PhotoDeletionText::TextEffectsDeleted);
    }
    try {
        RetimeAutomaticTextEffects(work, catalogue_);
    } catch (const Error& e) {
        return {false, {e.message()}};
    }
    album = std::move(work);
    result.changed = true;
    return result;
}

EditResult PhotoDeletion::deleteAll(Album& album) const {
    EditResult result;
    Table& effects = album.textEffects;
    int automatic = 0;
    for (int e = 0; e < effects.rowCount(); ++e)
        if (!effects.cell(e, TextEffectCol::TemplateMark).isEmpty())
            ++automatic;
    if (album.photos.isEmpty()) {
        result.messages.append(PhotoDeletionText::NoPhotos);
        return result;
    }
    const QString question =
        automatic == 0
            ? QStringLiteral("是否确定要删除全部照片文件?")
            : QStringLiteral("是否确定要删除全部照片文件?删除后,自动添加到模板中的文字特效也会被全部删除!");
    if (!confirm_(kCaption, question))
        return result;

    for (Table* table : std::initializer_list<Table*>{&album.photos, &album.usedTemplates,
                                                      &album.templateSlots, &album.backgrounds})
        table->clear();
    album.refreshDerived();
    for (int e = effects.rowCount() - 1; e >= 0; --e)
        if (!effects.cell(e, TextEffectCol::TemplateMark).isEmpty())
            effects.removeRow(e);
    result.changed = true;
    result.messages.append(PhotoDeletionText::AllDeleted);
    return result;
}

} // namespace lumiset
