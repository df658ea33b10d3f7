#include "ui/screenshots/Shots.h"

#include "core/JobRunner.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEnterEvent>
#include <QTextStream>
#include <QWidget>

namespace lumiset::shots {

QString outDir;
int failures = 0;

// Lets the window system and queued signals catch up, until `done` holds (at most `ms` milliseconds).
bool settle(const std::function<bool()>& done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        if (done && done())
            return true;
    }
    return !done || done();
}

void save(QWidget* window, const QString& name) {
    window->show();
    settle();
    const QString path = outDir + u'/' + name;
    if (!window->grab().save(path)) {
        QTextStream(stderr) << "cannot write " << path << Qt::endl;
        ++failures;
    }
}

void hoverCloseButton(QWidget* window) {
    auto* close = window->findChild<QWidget*>(QStringLiteral("Label_guanbi"));
    const QPointF centre = QRectF(close->rect()).center();
    QEnterEvent enter(centre, close->mapTo(window, centre), close->mapToGlobal(centre));
    QApplication::sendEvent(close, &enter);
}

std::unique_ptr<ui::Workspace> makeWorkspace(bool withPhotos) {
    const DataPaths paths = DataPaths::forRunningProgram();
    auto workspace = std::make_unique<ui::Workspace>(paths, TemplateCatalogue::build(paths));
    if (withPhotos) {
        QStringList photos;
        // scripts/screenshots.sh puts the photos where a picture may show their path.
        const QString staged = qEnvironmentVariable("LUMISET_SHOT_PHOTOS");
        const QDir folder(staged.isEmpty() ? paths.programDir() + QStringLiteral("/samples/photos") : staged);
        for (const QString& name : folder.entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name))
            photos << folder.filePath(name);
        Job control;
        const Album& album = workspace->document.album();
        workspace->document.applyOutcome(QStringLiteral("添加照片"),
                                         RunJobHere(
                                             album,
                                             [&](const Album& a, Job& job) {
                                                 return workspace->importJobs.importPhotos(
                                                     a, photos, ImportAnswers(), job);
                                             },
                                             control));
    }
    return workspace;
}

} // namespace lumiset::shots
