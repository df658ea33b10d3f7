#include "effects/AlbumTimeline.h"

#include "core/Columns.h"
#include "core/Error.h"
#include "core/TextHelpers.h"
#include "core/Words.h"

namespace lumiset {

bool IsCompleteTemplate(const Album& album, int usedRow) {
    return album.usedTemplates.cell(usedRow, UsedTemplateCol::Matching) == Words::Complete;
}

int CatalogueRowOfUsedTemplate(const Album& album, const TemplateCatalogue& catalogue, int usedRow) {
    const QStringList& used = album.usedTemplates.row(usedRow);
    bool ok = false;
    const int number = used[UsedTemplateCol::TemplateNumber].toInt(&ok);
    const std::optional<int> row = ok ? catalogue.rowOfTemplate(number) : std::nullopt;
    if (!row)
        throw Error(QStringLiteral("已使用的模板“%1”(编号 %2) 不在模板目录中")
                        .arg(used[UsedTemplateCol::Name], used[UsedTemplateCol::TemplateNumber]));
    return *row;
}

qint64 UsedTemplateFrames(const Album& album, const TemplateCatalogue& catalogue, int usedRow) {
    const int row = CatalogueRowOfUsedTemplate(album, catalogue, usedRow);
    return ParseNumber(catalogue.catalogue().cell(row, CatalogueCol::FrameCount),
                       QStringLiteral("模板“%1”的总帧数 mbdx")
                           .arg(album.usedTemplates.cell(usedRow, UsedTemplateCol::Name)));
}

int LastSlotRow(const Album& album, int usedRow) {
    const QString wanted = QString::number(usedRow);
    for (int s = album.templateSlots.rowCount() - 1; s >= 0; --s)
        if (album.templateSlots.cell(s, SlotCol::UsedRow) == wanted)
            return s;
    return -1;
}

QList<int> LastSlotRows(const Album& album) {
    QList<int> last(album.usedTemplates.rowCount(), -1);
    const Table& slotTable = album.templateSlots;
    for (int s = 0; s < slotTable.rowCount(); ++s) {
        // The same test as LastSlotRow: the cell spells the used row's number exactly.
        const QString& cell = slotTable.cell(s, SlotCol::UsedRow);
        bool ok = false;
        const int usedRow = cell.toInt(&ok);
        if (ok && usedRow >= 0 && usedRow < last.size() && QString::number(usedRow) == cell)
            last[usedRow] = s;
    }
    return last;
}

} // namespace lumiset
