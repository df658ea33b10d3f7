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

JobOutcome stoppedOutcome() {
    return JobOutcome::stopped({ImportText::Stopped});
}

void addMessage(QStringList& messages, const QString& message) {
    if (!message.isEmpty())
        messages.append(message);
}

// A failed effect run changes nothing; the import keeps its photos and templates and says why.
void collect(const AutomaticRunResult& run, QStringList& messages) {
    addMessage(messages, run.failure);
    messages.append(run.messages);
}

} // namespace

PhotoImportJobs::PhotoImportJobs(const TemplateCatalogue& catalogue, const DataPaths& paths,
                                 RandomSource& random, AfterImportEffects effects, PhotoReader read)
    : catalogue_(catalogue), paths_(paths), random_(random), effects_(std::move(effects)),
      read_(std::move(read)) {}

bool PhotoImportJobs::offersCombinations(const Album& album) {
    return IsSettingChecked(album.settings, SettingControl::UseCombinations);
}

QList<Question> PhotoImportJobs::questionsBefore(const Album& album) const {
    if (effects_.pictureEffects && IsSettingChecked(album.settings, SettingControl::AddPictureEffects) &&
        !album.pictureEffects.isEmpty())
        return {{ImportText::PictureEffectsCaption, ImportText::ReplacePictureEffects}};
    return {};
}

void PhotoImportJobs::prepareMatching(Album& album) const {
    RefreshBackgrounds(album, random_);
    album.rebuildPhotoLists(); // the pending lists: every photo without a slot, in photo order
}

JobOutcome PhotoImportJobs::importPhotos(const Album& album, const QStringList& files,
                                         const ImportAnswers& answers, Job& job) const {
    Album work = album;
    work.facts.Edit_mobanfashi = kRandomTemplatesMode;
    const ReadPhotos chosen = ReadPhotoFiles(files, read_, &job, ImportText::AddPhotosCaption);
    if (chosen.stopped)
        return stoppedOutcome();
    QStringList messages;
    for (const PhotoRow& row : chosen.rows)
        AppendPhotoRow(work, row);
    addMessage(messages, RefusedFilesMessage(chosen.refused));

    prepareMatching(work);
    const MatchingOutcome matching =
        PhotoMatcher(work, catalogue_, random_).matchAll(job, ImportText::AddPhotosCaption);
    return finishImport(std::move(work), matching, answers, job, std::move(messages));
}

JobOutcome PhotoImportJobs::matchPendingPhotos(const Album& album, Job& job) const {
    if (album.photos.isEmpty())
        throw Error(ImportText::NoPhotos);
    const auto& rows = album.photos.rows();
    if (std::none_of(rows.begin(), rows.end(),
                     [](const QStringList& p) { return p[PhotoCol::Status].isEmpty(); }))
        return JobOutcome::unchanged({ImportText::MatchingDone});
    Album work = album;
    prepareMatching(work);
    // Matching passes place photos the way random templates do, whichever mode the last import used.
    const MatchingOutcome matching =
        PhotoMatcher(work, catalogue_, random_).matchAll(job, ImportText::MatchCaption);
    if (matching.stopped)
        return stoppedOutcome();
    return JobOutcome::done(std::move(work),
                            {matching.message.isEmpty() ? ImportText::MatchingDone : matching.message});
}

JobOutcome PhotoImportJobs::importForCombination(const Album& album,
                                                 const CombinationPhotoSelection& selection,
                                                 const CombinationTemplate& combination,
                                                 const ImportAnswers& answers, Job& job) const {
    Album work = album;
    work.facts.Edit_mobanfashi = kCombinationMode;
    work.facts.Edit_zuhemoban_xuanhao = QString::number(combination.number - 1);
    for (const QList<PhotoRow>* rows : {&selection.landscape(), &selection.portrait()})
        for (const PhotoRow& row : *rows)
            AppendPhotoRow(work, row);

    prepareMatching(work);
    const MatchingOutcome matching = CombinationMatcher(work, catalogue_, random_).run(combination, job);
    return finishImport(std::move(work), matching, answers, job, {});
}

JobOutcome PhotoImportJobs::finishImport(Album work, const MatchingOutcome& matching,
                                         const ImportAnswers& answers, Job& job, QStringList messages) const {
    if (matching.stopped)
        return stoppedOutcome();
    addMessage(messages, matching.message);
    addMessage(messages, ApplyDefaultBackground(work, paths_));
    if (!runAfterImportEffects(work, answers, job, messages))
        return stoppedOutcome();
    return JobOutcome::done(std::move(work), std::move(messages));
}

bool PhotoImportJobs::runAfterImportEffects(Album& album, const ImportAnswers& answers, Job& job,
                                            QStringList& messages) const {
    if (effects_.textEffects && IsSettingChecked(album.settings, SettingControl::AddTextEffects)) {
        album.facts.Edit_zidongtianjia_wenzitexiao_wancheng.clear();
        const AutomaticRunResult run = effects_.textEffects(album, job);
        if (run.stopped || job.stopRequested())
            return false;
        collect(run, messages);
    }
    if (effects_.pictureEffects && IsSettingChecked(album.settings, SettingControl::AddPictureEffects)) {
        if (!album.pictureEffects.isEmpty() && answers.replacePictureEffects)
            album.pictureEffects.clear();
        if (album.pictureEffects.isEmpty()) {
            album.facts.Edit_zidongtianjia_huamiantexiao_wancheng.clear();
            const AutomaticRunResult run = effects_.pictureEffects(album, job);
            if (run.stopped || job.stopRequested())
                return false;
            collect(run, messages);
        }
    }
    return true;
}

} // namespace lumiset
