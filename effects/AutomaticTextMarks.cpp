#include "effects/AutomaticTextMarks.h"

#include "core/Columns.h"
#include "core/TextHelpers.h"
#include "effects/AlbumTimeline.h"

#include <QHash>
#include <QList>
#include <utility>

namespace lumiset {

QString TemplateMark(const QTime& time, int usedRow) {
    return time.toString(QStringLiteral("hhmmss")) + u'_' + QString::number(usedRow);
}

void RetimeAutomaticTextEffects(Album& album, const TemplateCatalogue& catalogue) {
    Table& effects = album.textEffects;
    QList<std::pair<int, QString>> starts; // effect row, new start; written only once all are known
    qint64 sum = 0;                        // Edit_moban_zhenleijia_sum
    // Effect rows by template mark and the last slot rows, each found in one pass: looking them up
    // template by template would make the cost grow with the square of the album.
    QHash<QString, QList<int>> effectsByMark;
    for (int e = 0; e < effects.rowCount(); ++e)
        effectsByMark[effects.cell(e, TextEffectCol::TemplateMark)].append(e);
    const QList<int> lastSlots = LastSlotRows(album);
    for (int r = 0; r < album.usedTemplates.rowCount(); ++r) {
        if (!IsCompleteTemplate(album, r))
            continue;
        const qint64 frames = UsedTemplateFrames(album, catalogue, r);
        const int last = lastSlots[r];
        const QString mark = last >= 0 ? album.templateSlots.cell(last, SlotCol::TextEffectMark) : QString();
        if (!mark.isEmpty()) {
            for (const int e : effectsByMark.value(mark)) {
                const qint64 position = ParseNumber(
                    effects.cell(e, TextEffectCol::FramePosition),
                    QStringLiteral("文字特效“%1”的帧位置").arg(effects.cell(e, TextEffectCol::Name)));
                starts.append({e, FramesToClock(position + sum)});
            }
        }
        sum += frames;
    }
    for (const auto& [row, start] : starts)
        effects.setCell(row, TextEffectCol::Start, start);
}

int RemoveAutomaticTextEffects(Album& album, const QString& mark) {
    if (mark.isEmpty())
        return 0;
    int removed = 0;
    Table& effects = album.textEffects;
    for (int e = effects.rowCount() - 1; e >= 0; --e) {
        if (effects.cell(e, TextEffectCol::TemplateMark) == mark) {
            effects.removeRow(e);
            ++removed;
        }
    }
    Table& slotTable = album.templateSlots;
    for (int s = 0; s < slotTable.rowCount(); ++s)
        if (slotTable.cell(s, SlotCol::TextEffectMark) == mark)
            slotTable.setCell(s, SlotCol::TextEffectMark, QString());
    return removed;
}

} // namespace lumiset
