// lumiset album: builds an album headless (photo import with matching, a combination template, music,
// lyrics, automatic effects per the settings) and saves it as an album file.
#include "app/CommandOptions.h"
#include "app/Commands.h"
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

// Files as given; a folder gives its JPEG files sorted by name.
QStringList expandPhotoPaths(const QStringList& paths) {
    QStringList files;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.isDir()) {
            files.append(info.absoluteFilePath());
            continue;
        }
        QStringList found = QDir(path).entryList({QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")},
                                                 QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
        for (const QString& name : std::as_const(found))
            files.append(QDir(path).absoluteFilePath(name));
    }
    return files;
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

// Progress on stderr, one line for every tenth of the way of each stage.
Job::ProgressHandler progressPrinter() {
    return [last = QString()](int position, int maximum, const QString& text) mutable {
        if (maximum <= 0)
            return;
        const QString step = QStringLiteral("%1/%2/%3").arg(text).arg(maximum).arg(position * 10 / maximum);
        if (step == last)
            return;
        last = step;
        printError(QStringLiteral("[%1/%2] %3").arg(position).arg(maximum).arg(text));
    };
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
    const PhotoImportJobs jobs(catalogue, paths, random, confirm, afterImport);

    const QStringList photos = expandPhotoPaths(options.values("photos"));
    if (options.has("combination") && photos.isEmpty())
        throw Error(QStringLiteral("--combination needs --photos"));
    if (!photos.isEmpty()) {
        Job job(progressPrinter());
        ImportOutcome outcome;
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
            outcome = jobs.importForCombination(album, selection, combination, job);
        } else {
            outcome = jobs.importPhotos(album, photos, job);
        }
        printMessages(outcome.messages);
        if (outcome.stopped)
            throw Error(ImportText::Stopped);
    }

    if (options.has("music"))
        printMessages(
            AddMusicFiles(album, absolutePaths(options.values("music")), MusicLengthMilliseconds).messages);
    if (options.has("lyrics"))
        printMessages(AddLyricFiles(album, absolutePaths(options.values("lyrics"))).messages);

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
