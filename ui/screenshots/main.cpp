// Shows each window as a user sees it and saves a picture of the window alone:
//   lumiset_screenshots OUTDIR
// scripts/screenshots.sh runs it under Xvfb to remake docs/screenshots.
#include "ui/Theme.h"
#include "ui/screenshots/Shots.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char** argv) {
    using namespace lumiset::shots;
    QApplication app(argc, argv);
    lumiset::ui::Theme::apply(app);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: lumiset_screenshots OUTDIR" << Qt::endl;
        return 2;
    }
    outDir = args[1];
    if (!QDir().mkpath(outDir)) {
        QTextStream(stderr) << "cannot create " << outDir << Qt::endl;
        return 1;
    }
    dialogShots();
    startupShots();
    mainWindowShots();
    settingsShots();
    photoShots();
    return failures == 0 ? 0 : 1;
}
