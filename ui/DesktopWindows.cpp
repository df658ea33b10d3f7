#include "ui/DesktopWindows.h"

#include "ui/Workspace.h"
#include "ui/main_window/MainWindow.h"
#include "ui/startup/StartupAnimation.h"
#include "ui/windows/PhotoFilesWindow.h"
#include "ui/windows/PhotoWindow.h"
#include "ui/windows/SettingsWindow.h"

#include <QCoreApplication>
#include <QPointer>

namespace lumiset::ui {

QWidget* MakeDesktopWindows(Workspace& workspace) {
    auto* main = new MainWindow(workspace);
    QObject::connect(main, &MainWindow::quitConfirmed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    main->setWindowOpener(QStringLiteral("系统设置"),
                          [main, &workspace] { SettingsWindow::open(main, workspace); });
    // The start-up animation plays over the main view until the photo window is first opened.
    QPointer<StartupAnimation> animation =
        StartupAnimation::cover(main->mainView(), workspace.paths, workspace.session);
    main->setWindowOpener(QStringLiteral("添加照片"), [main, &workspace, animation]() mutable {
        if (animation)
            animation->stop();
        PhotoWindow::open(main, workspace, [&workspace](QWidget* photoWindow) {
            PhotoFilesWindow::open(photoWindow, workspace);
        });
    });
    main->setWindowOpener(QStringLiteral("照片文件"),
                          [main, &workspace] { PhotoFilesWindow::open(main, workspace); });
    return main;
}

} // namespace lumiset::ui
