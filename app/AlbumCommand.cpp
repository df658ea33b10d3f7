// lumiset album: builds an album headless (photo import with matching, a combination template, music,
// lyrics, automatic effects per the settings) and saves it as an album file.
#include "app/CommandOptions.h"
#include "app/Commands.h"
#include "app/JobProgress.h"
#include "app/TextOutput.h"

#include "audio/MusicRows.h"
#include "core/AlbumFile.h"
#include "core/Columns.h"
#include "core/Error.h"
#include "core/SystemSettings.h"
#include "core/TemplateCatalogue.h"
#include "core/Words.h"
#include "effects/AutomaticPictureEffects.h"
#include "effects/AutomaticTextEffects.h"
#include "effects/EffectLibrary.h"
#include "media/MusicFile.h"
#include "photos/CombinationTemplates.h"
#include "photos/ImportJobs.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace lumiset::app {

namespace {

// Files as given; a folder gives its JPEG files sorted by name. Files that cannot be read stay in the
// list, so that the import names each one it refuses; a folder that cannot be listed or holds no JPEG
// file is an error of its own.
QStringList expandPhotoPaths(const QStringList& paths) {
    QStringList files;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.isDir()) {
            files.append(info.absoluteFilePath());
            continue;
        }
        const QString folder = QDir::toNativeSeparators(info.absoluteFilePath());
        if (!info.isReadable() || !info.isExecutable())
            throw Error(QStringLiteral("无法读取照片文件夹: %1").arg(folder));
        const QStringList found =
            QDir(path).entryList({QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")},
                                 QDir::Files | QDir::System | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
        if (found.isEmpty())
            throw Error(QStringLiteral("照片文件夹中没有 JPEG 照片: %1").arg(folder));
        for (const QString& name : found)
            files.append(QDir(path).absoluteFilePath(name));
    }
    return files;
}

// When every file of a kind the user asked for was refused, the run achieved nothing of what was asked:
// it ends with an error and saves nothing.
void requireSomeAdded(qsizetype added, qsizetype given, const QString& what) {
    if (given > 0 && added == 0)
        throw Error(QStringLiteral("给出的 %1 个%2文件都不能使用, 没有保存相册").arg(given).arg(what));
}

QStringList absolutePaths(const QStringList& paths) {
    QStringList out;
    for (const QString& p : paths)
        out.append(QFileInfo(p).absoluteFilePath());
    return out;
}

void printMessages(const QStringList& messages) {
    for (const QString& m : messages)
        printError(m);
}

const CombinationTemplate& combinationNumbered(const CombinationListing& listing, const QString& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1 || n > listing.combinations.size())
        throw Error(QStringLiteral("no combination template %1 (there are %2)")
                        .arg(text)
                        .arg(listing.combinations.size()));
    return SelectCombination(listing, n - 1);
}

int countRowsWith(const Table& table, int column, const QString& value) {
    return static_cast<int>(std::count_if(table.rows().begin(), table.rows().end(),
                                          [&](const QStringList& row) { return row[column] == value; }));
}

} // namespace

int runAlbumCommand(const QStringList& args) {
    const CommandOptions options(args, {"open", "photos", "combination", "music", "lyrics", "check", "save"},
                                 {"yes"});
    if (!options.positional().isEmpty())
        throw Error(QStringLiteral("unexpected argument %1").arg(options.positional().first()));
    const QString savePath = options.required("save");
    const bool yes = options.has("yes");

    const DataPaths paths = DataPaths::forRunningProgram();
    const TemplateCatalogue catalogue = TemplateCatalogue::build(paths);
    Album album =
        options.has("open") ? OpenAlbum(options.value("open"), catalogue.catalogue().rowCount()) : Album();
    SystemSettings settings(album.settings);
    for (const QString& control : options.values("check"))
        settings.check(control);

    SystemRandom random;
    const EffectLibrary library(paths);
    const AutomaticTextEffects textEffects(catalogue, library, random);
    const AutomaticPictureEffects pictureEffects(catalogue, library, random);
    const AfterImportEffects afterImport{
        [&](Album& a, const Job& job) { return textEffects.runHidden(a, &job); },
        [&](Album& a, const Job& job) { return pictureEffects.runHidden(a, &job); }};
    const Confirm confirm = [yes](const QString& caption, const QString& question) {
        printError(
            QStringLiteral("%1: %2 %3")
                .arg(caption, question, yes ? QStringLiteral("(yes)") : QStringLiteral("(no: give --yes)")));
        return yes;
    };
    const PhotoImportJobs jobs(catalogue, paths, random, afterImport);

    const QStringList photos = expandPhotoPaths(options.values("photos"));
    if (options.has("combination") && photos.isEmpty())
        throw Error(QStringLiteral("--combination needs --photos"));
    if (!photos.isEmpty()) {
        ImportAnswers answers;
        for (const Question& question : jobs.questionsBefore(album))
            answers.replacePictureEffects = confirm(question.caption, question.text);
        AlbumJob job;
        if (options.has("combination")) {
            const CombinationListing listing = ListCombinationTemplates(paths);
            printMessages(listing.problems);
            const CombinationTemplate& combination =
                combinationNumbered(listing, options.value("combination"));
            CombinationPhotoSelection selection(combination.landscapeSum, combination.portraitSum);
            printMessages(selection.add(photos, ReadPhotoRow));
            if (!selection.ready())
                throw Error(QStringLiteral("the photos do not give what combination %1 needs")
                                .arg(options.value("combination")));
            job = [&jobs, selection, combination, answers](const Album& a, Job& control) {
                return jobs.importForCombination(a, selection, combination, answers, control);
            };
        } else {
            job = [&jobs, photos, answers](const Album& a, Job& control) {
                return jobs.importPhotos(a, photos, answers, control);
            };
        }
        const int before = album.photos.rowCount();
        album = RunJobWithProgress(album, job);
        requireSomeAdded(album.photos.rowCount() - before, photos.size(), QStringLiteral("照片"));
    }

    if (options.has("music")) {
        const QStringList music = absolutePaths(options.values("music"));
        const int before = album.music.rowCount();
        printMessages(AddMusicFiles(album, music, MusicLengthMilliseconds).messages);
        requireSomeAdded(album.music.rowCount() - before, music.size(), QStringLiteral("音乐"));
    }
    if (options.has("lyrics")) {
        const QStringList lyrics = absolutePaths(options.values("lyrics"));
        const int before = album.lyrics.rowCount();
        printMessages(AddLyricFiles(album, lyrics).messages);
        requireSomeAdded(album.lyrics.rowCount() - before, lyrics.size(), QStringLiteral("歌词"));
    }

    SaveAlbum(album, savePath);
    printLine(QStringLiteral("photos: %1").arg(album.photos.rowCount()));
    printLine(QStringLiteral("used templates: %1 (%2 complete)")
                  .arg(album.usedTemplates.rowCount())
                  .arg(countRowsWith(album.usedTemplates, UsedTemplateCol::Matching, Words::Complete)));
    printLine(QStringLiteral("photos left unplaced: %1")
                  .arg(countRowsWith(album.photos, PhotoCol::Status, QString())));
    printLine(QStringLiteral("text effects: %1, picture effects: %2")
                  .arg(album.textEffects.rowCount())
                  .arg(album.pictureEffects.rowCount()));
    printLine(
        QStringLiteral("music: %1, lyrics: %2").arg(album.music.rowCount()).arg(album.lyrics.rowCount()));
    printLine(
        QStringLiteral("saved: %1").arg(QDir::toNativeSeparators(QFileInfo(savePath).absoluteFilePath())));
    return 0;
}

} // namespace lumiset::app
