#include "photos/PhotoMatching.h"

#include "core/Columns.h"
#include "core/Error.h"
#include "core/TextHelpers.h"
#include "core/Words.h"
#include "photos/UsedTemplates.h"

namespace lumiset {

namespace {

QString templateKey(const QString& number, const QString& category) {
    return number + u'\x1f' + category;
}

// A step fills slots from the front of each pending list (rows 0, 1, 2 … of it), so the rows it placed
// are the leading ones: removing them costs their number, not the length of the list, which keeps a
// whole matching job linear in the album. Removing from the front of a table's row list is cheap.
void removePlaced(Table& pending) {
    while (!pending.isEmpty() && pending.cell(0, PhotoCol::Status) == Words::Placed)
        pending.removeRow(0);
}

} // namespace

bool PlacePendingPhoto(Album& album, int slotRow, Table& pending, int pendingRow) {
    const qint64 photoRow =
        ParseNumber(pending.cell(pendingRow, PhotoCol::Number), QStringLiteral("待匹配照片的序号")) - 1;
    if (photoRow < 0 || photoRow >= album.photos.rowCount())
        throw Error(
            QStringLiteral("待匹配照片“%1”不在照片列表中").arg(pending.cell(pendingRow, PhotoCol::Path)));
    PutPhotoIntoSlot(album, slotRow, int(photoRow));
    const bool wasUnplaced = pending.cell(pendingRow, PhotoCol::Status) != Words::Placed;
    pending.setCell(pendingRow, PhotoCol::Status, Words::Placed);
    return wasUnplaced;
}

QString UnplacedPhotosMessage(int landscapeLeft, int portraitLeft, const QString& reason) {
    QString counts;
    if (landscapeLeft > 0 && portraitLeft > 0)
        counts = QStringLiteral("%1 张横照片和 %2 张竖照片").arg(landscapeLeft).arg(portraitLeft);
    else if (landscapeLeft > 0)
        counts = QStringLiteral("%1 张横照片").arg(landscapeLeft);
    else
        counts = QStringLiteral("%1 张竖照片").arg(portraitLeft);
    return QStringLiteral("还有 %1没有放进模板：%2。").arg(counts, reason);
}

PhotoMatcher::PhotoMatcher(Album& album, const TemplateCatalogue& catalogue, RandomSource& random)
    : album_(album), catalogue_(catalogue), random_(random) {
    const Table& list = catalogue.templateList();
    for (int r = 0; r < list.rowCount(); ++r)
        templateRows_[templateKey(list.cell(r, TemplateListCol::Number),
                                  list.cell(r, TemplateListCol::Category))]
            .append(r);
}

const Table& PhotoMatcher::classList(CandidateList list) const {
    switch (list) {
    case CandidateList::LandscapeSingle:
        return catalogue_.landscapeList();
    case CandidateList::PortraitSingle:
        return catalogue_.portraitList();
    default:
        return catalogue_.advancedList();
    }
}

const QString& PhotoMatcher::category(CandidateList list) const {
    switch (list) {
    case CandidateList::LandscapeSingle:
        return Words::LandscapeCategory;
    case CandidateList::PortraitSingle:
        return Words::PortraitCategory;
    default:
        return Words::AdvancedCategory;
    }
}

QList<int> PhotoMatcher::candidates(CandidateList list) const {
    const int l = album_.pendingLandscape.rowCount();
    const int p = album_.pendingPortrait.rowCount();
    const Table& source = classList(list);
    QList<int> rows;
    for (int r = 0; r < source.rowCount(); ++r) {
        const int h = source.cell(r, ClassListCol::LandscapeCount).toInt();
        const int s = source.cell(r, ClassListCol::PortraitCount).toInt();
        bool take = false;
        switch (list) {
        case CandidateList::Mixed:
            take = l > 0 && p > 0 && h != 0 && s != 0 && h <= l && s <= p;
            break;
        case CandidateList::AdvancedLandscape:
            take = l > 0 && h > 0 && s == 0 && h <= l;
            break;
        case CandidateList::AdvancedPortrait:
            take = p > 0 && h == 0 && s > 0 && s <= p;
            break;
        case CandidateList::LandscapeSingle:
            take = l > 0;
            break;
        case CandidateList::PortraitSingle:
            take = p > 0;
            break;
        }
        if (take)
            rows.append(r);
    }
    return rows;
}

int PhotoMatcher::step(CandidateList list) {
    const QList<int> rows = candidates(list);
    if (rows.isEmpty())
        return 0;
    const Table& source = classList(list);
    QSet<QString>& used = usedNumbers_[int(list)];
    const auto numberOf = [&](int row) { return source.cell(row, ClassListCol::Number); };
    const auto usedCount =
        std::count_if(rows.begin(), rows.end(), [&](int r) { return used.contains(numberOf(r)); });
    int chosen = rows.first();
    if (usedCount == 0 || usedCount >= rows.size())
        used.clear(); // every template of the list had its turn: start the cycle again
    else
        chosen = *std::find_if(rows.begin(), rows.end(), [&](int r) { return !used.contains(numberOf(r)); });

    const QString number = numberOf(chosen);
    int placed = 0;
    for (int templateRow : templateRows_.value(templateKey(number, category(list))))
        placed += addTemplate(templateRow);
    used.insert(number);
    removePlaced(album_.pendingLandscape);
    removePlaced(album_.pendingPortrait);
    return placed;
}

int PhotoMatcher::addTemplate(int templateListRow) {
    const AppendedTemplate added =
        AppendUsedTemplate(album_, catalogue_, templateListRow, Words::Complete, random_);
    ++templatesAdded_;
    int placed = 0;
    int nextLandscape = 0;
    int nextPortrait = 0;
    for (int slot : added.slotRows) {
        const bool landscape = album_.templateSlots.cell(slot, SlotCol::SlotKind) == Words::LandscapeSlot;
        Table& pending = landscape ? album_.pendingLandscape : album_.pendingPortrait;
        const int k = landscape ? nextLandscape++ : nextPortrait++;
        if (k >= pending.rowCount())
            continue; // no photo of this orientation is left: the slot stays empty
        placed += PlacePendingPhoto(album_, slot, pending, k);
    }
    UpdateMatchingState(album_, added.usedRow, added.slotRows);
    return placed;
}

int PhotoMatcher::longestCandidateList() const {
    qsizetype longest = 0;
    for (int list = 0; list < kCandidateListCount; ++list)
        longest = std::max(longest, candidates(CandidateList(list)).size());
    return int(longest);
}

int PhotoMatcher::pass() {
    int placed = 0;
    for (int list = 0; list < kCandidateListCount; ++list)
        placed += step(CandidateList(list));
    return placed;
}

MatchingOutcome PhotoMatcher::matchAll(Job& job, const QString& progressText) {
    MatchingOutcome outcome;
    const int total = album_.pendingLandscape.rowCount() + album_.pendingPortrait.rowCount();
    const int templatesBefore = templatesAdded_;
    job.report(0, total, progressText);
    int idlePasses = 0;
    while (!album_.pendingLandscape.isEmpty() || !album_.pendingPortrait.isEmpty()) {
        if (job.stopRequested()) {
            outcome.stopped = true;
            break;
        }
        const int longestList = longestCandidateList();
        const int placed = pass();
        outcome.placed += placed;
        job.report(outcome.placed, total, progressText);
        idlePasses = placed == 0 ? idlePasses + 1 : 0;
        // A pass that places nothing leaves the pending counts, and so the candidate lists, as they were;
        // only the cycles move on. Once every list has cycled through all its templates without placing a
        // photo (at once when the lists are empty), no further pass can place one.
        if (idlePasses > 0 && idlePasses >= longestList) {
            outcome.message =
                UnplacedPhotosMessage(album_.pendingLandscape.rowCount(), album_.pendingPortrait.rowCount(),
                                      QStringLiteral("模板库中没有能放下这些照片的模板"));
            break;
        }
    }
    outcome.templates = templatesAdded_ - templatesBefore;
    outcome.landscapeLeft = album_.pendingLandscape.rowCount();
    outcome.portraitLeft = album_.pendingPortrait.rowCount();
    return outcome;
}

} // namespace lumiset
