#include "photos/CombinationMatching.h"

#include "core/Columns.h"
#include "core/Words.h"
#include "photos/UsedTemplates.h"

namespace lumiset {

CombinationMatcher::CombinationMatcher(Album& album, const TemplateCatalogue& catalogue, RandomSource& random)
    : album_(album), catalogue_(catalogue), random_(random) {
    countUnplaced();
}

int CombinationMatcher::countUnplaced(const Table& pending) {
    int count = 0;
    for (const QStringList& row : pending.rows())
        count += row[PhotoCol::Status] != Words::Placed;
    return count;
}

void CombinationMatcher::countUnplaced() {
    landscapeUnplaced_ = countUnplaced(album_.pendingLandscape);
    portraitUnplaced_ = countUnplaced(album_.pendingPortrait);
}

CombinationMatcher::EntrySlots CombinationMatcher::applyEntry(const CombinationEntry& entry) {
    EntrySlots added;
    const Table& list = catalogue_.templateList();
    for (int t = 0; t < list.rowCount(); ++t) {
        const QStringList& row = list.row(t);
        if (row[TemplateListCol::Name] != entry.templateName ||
            row[TemplateListCol::LandscapeCount] != entry.landscapeCount ||
            row[TemplateListCol::PortraitCount] != entry.portraitCount)
            continue;
        const AppendedTemplate appended = AppendUsedTemplate(album_, catalogue_, t, Words::Complete, random_);
        ++templatesAdded_;
        for (int slot : appended.slotRows) {
            const bool landscape = album_.templateSlots.cell(slot, SlotCol::SlotKind) == Words::LandscapeSlot;
            Table& pending = landscape ? album_.pendingLandscape : album_.pendingPortrait;
            int& cursor = landscape ? landscapeCursor_ : portraitCursor_;
            ++(landscape ? added.landscape : added.portrait);
            if (pending.isEmpty())
                continue; // no photo of this orientation was chosen: the slot stays empty
            if (++cursor >= pending.rowCount())
                cursor = 0;
            if (PlacePendingPhoto(album_, slot, pending, cursor)) {
                ++placed_;
                --(landscape ? landscapeUnplaced_ : portraitUnplaced_);
            }
        }
        UpdateMatchingState(album_, appended.usedRow, appended.slotRows);
    }
    return added;
}

MatchingOutcome CombinationMatcher::run(const CombinationTemplate& combination, Job& job) {
    MatchingOutcome outcome;
    const int placedBefore = placed_;
    const int templatesBefore = templatesAdded_;
    countUnplaced();
    const int total = landscapeUnplaced_ + portraitUnplaced_;
    const auto entries = combination.entries.size();
    const QString text = QStringLiteral("添加照片");
    job.report(0, total, text);
    EntrySlots round;
    for (qsizetype k = 0; entries > 0; ++k) {
        const int landscapeLeft = landscapeUnplaced_;
        const int portraitLeft = portraitUnplaced_;
        if (k >= entries && landscapeLeft + portraitLeft == 0)
            break;
        if (k > 0 && k % entries == 0) {
            // Slots of an orientation move its cursor on, so every unplaced photo of it is reached in
            // time; a round without such slots shows that no further round can place the photos left.
            const bool progress =
                (landscapeLeft > 0 && round.landscape > 0) || (portraitLeft > 0 && round.portrait > 0);
            if (!progress) {
                outcome.message = UnplacedPhotosMessage(
                    landscapeLeft, portraitLeft, QStringLiteral("选中的组合模板中没有能放下这些照片的模板"));
                break;
            }
            round = {};
        }
        if (job.stopRequested()) {
            outcome.stopped = true;
            break;
        }
        const EntrySlots added = applyEntry(combination.entries[k % entries]);
        round.landscape += added.landscape;
        round.portrait += added.portrait;
        job.report(placed_ - placedBefore, total, text);
    }
    outcome.landscapeLeft = landscapeUnplaced_;
    outcome.portraitLeft = portraitUnplaced_;
    if (entries == 0 && outcome.landscapeLeft + outcome.portraitLeft > 0)
        outcome.message = UnplacedPhotosMessage(outcome.landscapeLeft, outcome.portraitLeft,
                                                QStringLiteral("选中的组合模板中没有模板"));
    outcome.placed = placed_ - placedBefore;
    outcome.templates = templatesAdded_ - templatesBefore;
    return outcome;
}

} // namespace lumiset
