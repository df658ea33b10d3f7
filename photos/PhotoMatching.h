// Automatic matching of pending photos to templates: matching passes over five candidate lists, each
// cycling through its templates in catalogue order within one job.
#pragma once

#include "core/Album.h"
#include "core/Job.h"
#include "core/Random.h"
#include "core/TemplateCatalogue.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <array>

namespace lumiset {

// The candidate lists, in the order a matching pass runs them.
enum class CandidateList {
    Mixed,             // ListView_gaoji_moban: advanced, landscape and portrait photos
    AdvancedLandscape, // ListView_gaojimoban_hengzhaopian_moban
    AdvancedPortrait,  // ListView_gaojimoban_shuzhaopian_moban
    LandscapeSingle,   // ListView_hengzhaopian_moban
    PortraitSingle,    // ListView_shuzhaopian_moban
};
constexpr int kCandidateListCount = 5;

struct MatchingOutcome {
    int placed = 0;        // photos put into slots
    int templates = 0;     // used templates added
    int landscapeLeft = 0; // pending photos nobody could place
    int portraitLeft = 0;
    bool stopped = false; // the job was asked to stop
    QString message;      // why photos were left unplaced; empty when all were placed
};

// Puts the photo of row `pendingRow` of a pending list into slot-table row `slotRow` and marks it placed
// in the pending list too. Returns whether it was unplaced until now.
bool PlacePendingPhoto(Album& album, int slotRow, Table& pending, int pendingRow);

// The message for photos left unplaced: how many of each orientation and why.
QString UnplacedPhotosMessage(int landscapeLeft, int portraitLeft, const QString& reason);

// One matching job: its used-number lists live as long as the object, so the cycling starts over with
// every job. Photos are placed in the pending lists' order, the k-th slot of an orientation taking the
// k-th pending photo of it.
class PhotoMatcher {
public:
    PhotoMatcher(Album& album, const TemplateCatalogue& catalogue, RandomSource& random);

    // The rows of the class list (advanced, landscape or portrait list) that the candidate list holds for
    // the current pending counts.
    QList<int> candidates(CandidateList list) const;

    // One matching step: chooses the list's next template, adds it and places photos into it, then drops
    // the placed photos from the pending lists. Returns the number of photos placed.
    int step(CandidateList list);
    // The five steps once.
    int pass();

    // Passes until no photo is pending. When passes place no photo any more (no template of the
    // catalogue can take the photos left), the job ends: those photos stay unplaced and the outcome says
    // how many and why. `job` sees the photos placed after every pass and may stop the job between passes.
    MatchingOutcome matchAll(Job& job, const QString& progressText);

private:
    const Table& classList(CandidateList list) const;
    const QString& category(CandidateList list) const;
    int addTemplate(int templateListRow);
    int longestCandidateList() const;

    Album& album_;
    const TemplateCatalogue& catalogue_;
    RandomSource& random_;
    std::array<QSet<QString>, kCandidateListCount> usedNumbers_; // ListBox_..._shiyonghao
    QHash<QString, QList<int>> templateRows_;                    // template list rows by number and category
    int templatesAdded_ = 0;
};

} // namespace lumiset
