// The photo window with the sample photos and one of them selected, and the progress window of an import.
#include "core/Album.h"
#include "photos/ImportJobs.h"
#include "ui/PhotoTileList.h"
#include "ui/dialogs/ProgressWindow.h"
#include "ui/screenshots/Shots.h"
#include "ui/windows/PhotoDetailsPanel.h"
#include "ui/windows/PhotoFilesWindow.h"
#include "ui/windows/PhotoWindow.h"

#include <QProgressBar>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <atomic>

using namespace lumiset;
using namespace lumiset::ui;
using namespace lumiset::shots;

namespace {

void photoWindow() {
    const auto workspace = makeWorkspace(true);
    PhotoWindow window(*workspace);
    workspace->session.selectPhotoRow(2);
    window.show();
    auto* details = window.findChild<PhotoDetailsPanel*>();
    settle([&] { return !details->isRendering(); }, 3000);
    save(&window, QStringLiteral("photo-window.png"));
}

void photoFilesWindow() {
    const auto workspace = makeWorkspace(true);
    PhotoFilesWindow window(*workspace, [](QWidget*, int) {});
    workspace->session.selectPhotoRow(1);
    window.show();
    auto* list = window.findChild<PhotoTileList*>(QStringLiteral("ListView1"));
    settle([&] { return list->pendingTiles() == 0; }, 3000);
    save(&window, QStringLiteral("photo-files.png"));
    list->setTileSize(PhotoTileList::kLargeTile);
    settle([&] { return list->pendingTiles() == 0; }, 3000);
    save(&window, QStringLiteral("photo-files-large.png"));
}

// The import job is held a third of the way through, so the picture shows the bar as a user sees it.
void importProgress() {
    std::atomic<bool> release{false};
    ProgressWindow window;
    QTimer::singleShot(0, &window, [&] {
        auto* bar = window.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
        settle([&] { return bar->value() == 412; }, 3000);
        save(&window, QStringLiteral("progress-import.png"));
        release = true;
    });
    window.run(ImportText::AddPhotosCaption, Album(), [&](const Album&, Job& job) {
        job.report(412, 1000, ImportText::AddPhotosCaption);
        while (!release.load() && !job.stopRequested())
            QThread::msleep(5);
        return JobOutcome::unchanged();
    });
}

} // namespace

namespace lumiset::shots {

void photoShots() {
    photoWindow();
    photoFilesWindow();
    importProgress();
}

} // namespace lumiset::shots
