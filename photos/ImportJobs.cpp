#include "photos/ImportJobs.h"

#include "core/AlbumFile.h"
#include "core/Columns.h"
#include "core/Error.h"
#include "core/SystemSettings.h"
#include "photos/BackgroundEdits.h"
#include "photos/BackgroundRefresh.h"
#include "photos/CombinationMatching.h"

namespace lumiset {

namespace {

ImportOutcome stoppedOutcome() {
    ImportOutcome outcome;
    outcome.stopped = true;
    outcome.messages.append(ImportText::Stopped);
    return outcome;
}

void addMessage(ImportOutcome& outcome, const QString& message) {
    if (!message.isEmpty())
        outcome.messages.append(message);
}

// A failed effect run changes nothing; the import keeps its photos and templates and says why.
void collect(const AutomaticRunResult& run, ImportOutcome& outcome) {
    addMessage(outcome, run.failure);
    outcome.messages.append(run.messages);
}

} // namespace

PhotoImportJobs::PhotoImportJobs(const TemplateCatalogue& catalogue, const DataPaths& paths,
                                 RandomSource& random, Confirm confirm, AfterImportEffects effects,
                                 PhotoReader read)
    : catalogue_(catalogue), paths_(paths), random_(random), confirm_(std::move(confirm)),
      effects_(std::move(effects)), read_(std::move(read)) {}

bool PhotoImportJobs::offersCombinations(const Album& album) {
    return IsSettingChecked(album.settings, SettingControl::UseCombinations);
}

void PhotoImportJobs::prepareMatching(Album& album) const {
    RefreshBackgrounds(album, random_);
    album.rebuildPhotoLists(); // the pending lists: every photo without a slot, in photo order
}

ImportOutcome PhotoImportJobs::importPhotos(Album& album, const QStringList& files, Job& job) const {
    Album work = album;
    work.facts.Edit_mobanfashi = kRandomTemplatesMode;
    const ReadPhotos chosen = ReadPhotoFiles(files, read_, &job, ImportText::AddPhotosCaption);
    if (chosen.stopped)
        return stoppedOutcome();
    ImportOutcome outcome;
    for (const PhotoRow& row : chosen.rows)
        AppendPhotoRow(work, row);
    outcome.photosAdded = int(chosen.rows.size());
    addMessage(outcome, RefusedFilesMessage(chosen.refused));

    prepareMatching(work);
    outcome.matching = PhotoMatcher(work, catalogue_, random_).matchAll(job, ImportText::AddPhotosCaption);
    return finishImport(album, work, job, std::move(outcome));
}

ImportOutcome PhotoImportJobs::matchPendingPhotos(Album& album, Job& job) const {
    if (album.photos.isEmpty())
        throw Error(ImportText::NoPhotos);
    ImportOutcome outcome;
    const auto& rows = album.photos.rows();
    if (std::none_of(rows.begin(), rows.end(),
                     [](const QStringList& p) { return p[PhotoCol::Status].isEmpty(); })) {
        outcome.messages.append(ImportText::MatchingDone);
        return outcome;
    }
    Album work = album;
    prepareMatching(work);
    // Matching passes place photos the way random templates do, whichever mode the last import used.
    outcome.matching = PhotoMatcher(work, catalogue_, random_).matchAll(job, ImportText::MatchCaption);
    if (outcome.matching.stopped)
        return stoppedOutcome();
    outcome.messages.append(outcome.matching.message.isEmpty() ? ImportText::MatchingDone
                                                               : outcome.matching.message);
    album = std::move(work);
    return outcome;
}

ImportOutcome PhotoImportJobs::importForCombination(Album& album, const CombinationPhotoSelection& selection,
                                                    const CombinationTemplate& combination, Job& job) const {
    Album work = album;
    work.facts.Edit_mobanfashi = kCombinationMode;
    work.facts.Edit_zuhemoban_xuanhao = QString::number(combination.number - 1);
    ImportOutcome outcome;
    for (const QList<PhotoRow>* rows : {&selection.landscape(), &selection.portrait()})
        for (const PhotoRow& row : *rows)
            AppendPhotoRow(work, row);
    outcome.photosAdded = int(selection.landscape().size() + selection.portrait().size());

    prepareMatching(work);
    outcome.matching = CombinationMatcher(work, catalogue_, random_).run(combination, job);
    return finishImport(album, work, job, std::move(outcome));
}

ImportOutcome PhotoImportJobs::finishImport(Album& album, Album& work, Job& job,
                                            ImportOutcome outcome) const {
    if (outcome.matching.stopped)
        return stoppedOutcome();
    addMessage(outcome, outcome.matching.message);
    addMessage(outcome, ApplyDefaultBackground(work, paths_));
    if (!runAfterImportEffects(work, job, outcome))
        return stoppedOutcome();
    album = std::move(work);
    return outcome;
}

bool PhotoImportJobs::runAfterImportEffects(Album& album, Job& job, ImportOutcome& outcome) const {
    if (effects_.textEffects && IsSettingChecked(album.settings, SettingControl::AddTextEffects)) {
        album.facts.Edit_zidongtianjia_wenzitexiao_wancheng.clear();
        const AutomaticRunResult run = effects_.textEffects(album, job);
        if (run.stopped || job.stopRequested())
            return false;
        collect(run, outcome);
    }
    if (effects_.pictureEffects && IsSettingChecked(album.settings, SettingControl::AddPictureEffects)) {
        if (!album.pictureEffects.isEmpty() && confirm_ &&
            confirm_(ImportText::PictureEffectsCaption, ImportText::ReplacePictureEffects))
            album.pictureEffects.clear();
        if (album.pictureEffects.isEmpty()) {
            album.facts.Edit_zidongtianjia_huamiantexiao_wancheng.clear();
            const AutomaticRunResult run = effects_.pictureEffects(album, job);
            if (run.stopped || job.stopRequested())
                return false;
            collect(run, outcome);
        }
    }
    return true;
}

} // namespace lumiset
