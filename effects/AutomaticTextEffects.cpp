#include "effects/AutomaticTextEffects.h"

#include "core/Columns.h"
#include "core/Error.h"
#include "core/TextHelpers.h"
#include "core/Words.h"
#include "effects/AlbumTimeline.h"
#include "effects/AutomaticTextMarks.h"

#include <QHash>
#include <map>

namespace lumiset {

namespace {

const QString kProgressText = QStringLiteral("文字特效自动加入模板中");

// One effect to place: entry i of the chosen lists (…_shiyong).
struct ChosenEffect {
    int usedRow = 0;
    int category = 0;
    int effect = 0;
    QString mark;
    QString position; // frame position inside the template, as the template's list has it
};

// A template is eligible until it has been stamped: complete, with an unmarked last slot row. A template
// without slot rows could never carry the stamp and would be filled again at every run, so it is not.
// `lastSlot` is the template's LastSlotRow.
bool isEligible(const Album& album, int usedRow, int lastSlot) {
    if (!IsCompleteTemplate(album, usedRow))
        return false;
    return lastSlot >= 0 && album.templateSlots.cell(lastSlot, SlotCol::TextEffectMark).isEmpty();
}

// Decides for each eligible template in turn whether it gets effects (Edit_moban_jiange_wezitexiao is
// the interval counter).
class TemplateChooser {
public:
    TemplateChooser(const AutomaticTextOptions& options, RandomSource& random)
        : choice_(options.choice), interval_(options.interval), random_(random) {}

    bool take() {
        switch (choice_) {
        case TemplateChoice::EveryTemplate:
            counter_ = 0;
            return true;
        case TemplateChoice::Interval:
            if (interval_ < counter_)
                counter_ = 0;
            ++counter_;
            return counter_ == interval_;
        case TemplateChoice::Random:
            return random_.uniform(0, 5) % 2 == 1;
        }
        return false;
    }

private:
    TemplateChoice choice_;
    int interval_;
    RandomSource& random_;
    int counter_ = 0;
};

// Parameters and default positions of the listed effects, read once per run.
class EffectCache {
public:
    explicit EffectCache(const EffectLibrary& library) : library_(library) {}

    const EffectParameters& parameters(int category, int effect) {
        const auto key = std::make_pair(category, effect);
        auto it = parameters_.find(key);
        if (it == parameters_.end())
            it = parameters_.emplace(key, library_.textEffect(category, effect)).first;
        return it->second;
    }

    const StagePosition& position(int category, int effect) {
        const auto key = std::make_pair(category, effect);
        auto it = positions_.find(key);
        if (it == positions_.end())
            it = positions_
                     .emplace(key, library_.defaultPosition(category, effect, parameters(category, effect)))
                     .first;
        return it->second;
    }

private:
    const EffectLibrary& library_;
    std::map<std::pair<int, int>, EffectParameters> parameters_;
    std::map<std::pair<int, int>, StagePosition> positions_;
};

QString templateLabel(const Album& album, int usedRow) {
    return QStringLiteral("模板“%1”(第 %2 个已使用模板)")
        .arg(album.usedTemplates.cell(usedRow, UsedTemplateCol::Name))
        .arg(usedRow + 1);
}

// Step 1 for one template: its marks (the mandatory ones, then one drawn from the random set) and for each
// a random effect of the listing that suits it. Marks that cannot be placed are skipped with a note.
class EffectChooser {
public:
    EffectChooser(const TextEffectListing& listing, EffectCache& cache, RandomSource& random,
                  QStringList& notes)
        : listing_(listing), cache_(cache), random_(random), notes_(notes) {}

    void choose(const Album& album, int usedRow, const QStringList& parameters, QList<ChosenEffect>& chosen) {
        const QString label = templateLabel(album, usedRow);
        QStringList positions = SplitBarList(parameters[CatalogueCol::CaptionPositions]);
        QStringList marks = CaptionMarks(parameters[CatalogueCol::MandatoryMarks]);
        const QStringList randomMarks = CaptionMarks(parameters[CatalogueCol::RandomMarks]);
        if (!randomMarks.isEmpty()) {
            marks.append(randomMarks.at(random_.uniform(1, static_cast<int>(randomMarks.size())) - 1));
            if (!positions.isEmpty())
                positions.append(positions.last());
        }
        for (int p = 0; p < marks.size(); ++p) {
            if (p >= positions.size()) {
                notes_.append(QStringLiteral("%1的标注“%2”没有对应的帧位置, 已跳过").arg(label, marks[p]));
                continue;
            }
            ParseNumber(positions[p], QStringLiteral("%1的文字位置 wxcs01").arg(label));
            const QList<const TextEffectEntry*> candidates = candidatesFor(marks[p]);
            if (candidates.isEmpty()) {
                notes_.append(QStringLiteral("%1的标注“%2”没有合适的文字特效, 已跳过").arg(label, marks[p]));
                continue;
            }
            const TextEffectEntry* pick =
                candidates.at(random_.uniform(0, static_cast<int>(candidates.size()) - 1));
            chosen.append({usedRow, pick->category, pick->effect, marks[p], positions[p]});
        }
    }

private:
    // One candidate for every occurrence of the mark in an effect's wxcs03, so "AA" weighs twice "A".
    QList<const TextEffectEntry*> candidatesFor(const QString& mark) {
        QList<const TextEffectEntry*> candidates;
        for (const TextEffectEntry& entry : listing_.entries)
            for (qsizetype k = cache_.parameters(entry.category, entry.effect).marks.count(mark); k > 0; --k)
                candidates.append(&entry);
        return candidates;
    }

    const TextEffectListing& listing_;
    EffectCache& cache_;
    RandomSource& random_;
    QStringList& notes_;
};

// Step 2: one text-effect row per chosen effect, its template mark still empty.
void appendRows(Table& effects, const QList<ChosenEffect>& chosen, EffectCache& cache, const QString& start) {
    for (const ChosenEffect& c : chosen) {
        const EffectParameters& parameters = cache.parameters(c.category, c.effect);
        const StagePosition& position = cache.position(c.category, c.effect);
        effects.appendRow({QString::number(parameters.frames()), start, Words::NoEnd, Words::Stopped,
                           parameters.name, QString::number(c.effect - 1), position.x, position.y,
                           QString::number(c.category), QString(), c.mark, QString::number(c.usedRow),
                           c.position, Words::AddedAutomatically, Words::None});
    }
}

// Step 3: the template mark of each template that received effects goes into its new effect rows (from
// `firstNewRow` on) and into all its slot rows.
void stampTemplates(Album& album, const QList<ChosenEffect>& chosen, int firstNewRow,
                    const AutomaticTextEffects::Clock& clock) {
    QList<int> stamped;
    for (const ChosenEffect& c : chosen)
        if (stamped.isEmpty() || stamped.last() != c.usedRow)
            stamped.append(c.usedRow);
    // The marks first (the clock read once per template, in order), then one pass over each table.
    QHash<QString, QString> marks; // used row, as the tables spell it -> mark
    for (const int r : stamped)
        marks.insert(QString::number(r), TemplateMark(clock(), r));
    Table& effects = album.textEffects;
    Table& slotTable = album.templateSlots;
    for (int e = firstNewRow; e < effects.rowCount(); ++e)
        if (const auto mark = marks.constFind(effects.cell(e, TextEffectCol::UsedRow)); mark != marks.cend())
            effects.setCell(e, TextEffectCol::TemplateMark, *mark);
    for (int s = 0; s < slotTable.rowCount(); ++s)
        if (const auto mark = marks.constFind(slotTable.cell(s, SlotCol::UsedRow)); mark != marks.cend())
            slotTable.setCell(s, SlotCol::TextEffectMark, *mark);
}

} // namespace

QStringList CaptionMarks(const QString& markList) {
    QStringList marks;
    const qsizetype m = (markList.size() - 1) / 2;
    for (qsizetype i = 1; i <= m; ++i)
        marks.append(markList.at(2 * i - 1));
    return marks;
}

AutomaticTextEffects::AutomaticTextEffects(const TemplateCatalogue& catalogue, const EffectLibrary& library,
                                           RandomSource& random, Clock clock)
    : catalogue_(catalogue), library_(library), random_(random), clock_(std::move(clock)) {}

AutomaticRunResult AutomaticTextEffects::runManual(Album& album, const AutomaticTextOptions& options,
                                                   const Job* job) const {
    AutomaticRunResult refused;
    if (IsCategorySeparator(options.categoryIndex)) {
        refused.messages.append(kNoTextCategoryChosen);
        return refused;
    }
    const Table& used = album.usedTemplates;
    if (used.isEmpty()) {
        refused.messages.append(kNoTemplatesUsed);
        return refused;
    }
    int incomplete = 0;
    for (int r = 0; r < used.rowCount(); ++r)
        if (used.cell(r, UsedTemplateCol::Matching) == Words::Incomplete)
            ++incomplete;
    const QString prefix =
        QStringLiteral("已经使用的模板文件有 %1 个模板文件没有匹配相片文件!").arg(incomplete);
    if (incomplete == used.rowCount()) {
        refused.messages.append(prefix + QStringLiteral("请匹配后再添加文字特效!"));
        return refused;
    }
    QStringList messages;
    if (incomplete > 0)
        messages.append(prefix + QStringLiteral("这些将被忽略添加文字特效!"));

    AutomaticRunResult result = place(album, options, ListingOccasion::CategoryChange, job);
    result.messages = messages + result.messages;
    result.addEndMessage(kAutomaticTextDone);
    return result;
}

AutomaticRunResult AutomaticTextEffects::runHidden(Album& album, const Job* job) const {
    // All categories, every template: the window's choices are not consulted.
    const AutomaticRunResult result =
        place(album, AutomaticTextOptions{}, ListingOccasion::WindowPreparation, job);
    album.facts.Edit_zidongtianjia_wenzitexiao_wancheng = kAutomaticTextFinishedWord;
    return result;
}

AutomaticRunResult AutomaticTextEffects::place(Album& album, const AutomaticTextOptions& options,
                                               ListingOccasion occasion, const Job* job) const {
    AutomaticRunResult result;
    result.started = true;
    // Everything happens on a copy that replaces the album only when the run went through.
    Album work = album;
    const int templates = work.usedTemplates.rowCount();
    const int maximum = 2 * templates;
    int progress = 0;
    try {
        // The candidates' source: the effects of the chosen category.
        const TextEffectListing listing = library_.listTextEffects(options.categoryIndex, occasion);
        if (!listing.message.isEmpty())
            result.notes.append(listing.message);
        result.notes += listing.problems;
        EffectCache cache(library_);
        TemplateChooser chooser(options, random_);
        EffectChooser effectChooser(listing, cache, random_, result.notes);
        QList<ChosenEffect> chosen;
        const QList<int> lastSlots = LastSlotRows(work); // the slots do not change while choosing
        for (int r = 0; r < templates; ++r) {
            if (job && job->stopRequested()) {
                result.stopped = true;
                return result;
            }
            if (isEligible(work, r, lastSlots[r]) && chooser.take())
                effectChooser.choose(
                    work, r, catalogue_.catalogue().row(CatalogueRowOfUsedTemplate(work, catalogue_, r)),
                    chosen);
            if (job)
                job->report(++progress, maximum, kProgressText);
        }
        const int firstNewRow = work.textEffects.rowCount();
        appendRows(work.textEffects, chosen, cache, options.provisionalStart);
        stampTemplates(work, chosen, firstNewRow, clock_);
        RetimeAutomaticTextEffects(work, catalogue_); // step 4
        if (job)
            job->report(maximum, maximum, kProgressText);
        result.effectsAdded = static_cast<int>(chosen.size());
    } catch (const Error& e) {
        result.failure = e.message();
        return result;
    }
    album = std::move(work);
    result.completed = true;
    return result;
}

} // namespace lumiset
