#include "ui/startup/DesktopStartup.h"

#include "core/Error.h"
#include "core/Job.h"
#include "core/WorkCleanup.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/startup/SplashWindow.h"

#include <QApplication>
#include <QScopeGuard>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace lumiset::ui {

StartupSettings StartupSettings::forRunningProgram() {
    return StartupSettings{DataPaths::forRunningProgram()};
}

DesktopStartup::DesktopStartup(StartupSettings settings, MainWindowFactory makeMainWindow, QObject* parent)
    : QObject(parent), settings_(std::move(settings)), makeMainWindow_(std::move(makeMainWindow)),
      lock_(settings_.lockPath) {}

DesktopStartup::~DesktopStartup() {
    cancel_.store(true);
    if (worker_.joinable())
        worker_.join();
    // The window uses the workspace to its end.
    delete mainWindow_.data();
    workspace_.reset();
}

bool DesktopStartup::start() {
    Q_ASSERT(state_ == State::NotStarted);
    switch (lock_.acquire()) {
    case SingleInstanceLock::Outcome::HeldElsewhere:
        state_ = State::OtherCopyRuns;
        return false;
    case SingleInstanceLock::Outcome::Unavailable:
        // Without a lock two copies could run; that is better than not running at all.
        qWarning("lumiset: cannot make the lock file %s; another copy would not be noticed",
                 qPrintable(lock_.path()));
        break;
    case SingleInstanceLock::Outcome::Acquired:
        break;
    }
    state_ = State::Loading;
    splash_ = std::make_unique<SplashWindow>();
    splash_->show();
    splashShown_.start();
    worker_ = std::thread([this] { load(); });
    return true;
}

// The worker: nothing here touches a widget; results reach the interface thread as queued calls, which
// Qt drops if this object is gone by then (the destructor waits for the worker first anyway).
void DesktopStartup::load() {
    const auto post = [this](auto call) {
        QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
    };
    try {
        try {
            ClearWorkFiles(settings_.paths, Job());
        } catch (const Error& e) {
            // What is left of the last run does not keep the program from working: new work files
            // replace old ones whole.
            qWarning("lumiset: %s", qPrintable(e.message()));
        }
        post([this] { emit workFilesCleared(); });
        auto catalogue = std::make_shared<TemplateCatalogue>(
            settings_.loadCatalogue(settings_.paths, [this, post](int position, int maximum) {
                if (cancel_.load())
                    throw Cancelled();
                post([this, position, maximum] {
                    splash_->showProgress(position, maximum);
                    emit catalogueProgress(position, maximum);
                });
            }));
        post([this, catalogue] { loaded(catalogue); });
    } catch (const Cancelled&) {
    } catch (const Error& e) {
        post([this, e] { fail(e); });
    } catch (const std::bad_alloc&) {
        post([this] { fail(Error(QStringLiteral("内存不足, 无法载入模板"))); });
    } catch (const std::exception& e) {
        post([this, what = QString::fromLocal8Bit(e.what())] {
            fail(Error(QStringLiteral("载入模板时出错: %1").arg(what)));
        });
    }
}

void DesktopStartup::loaded(std::shared_ptr<TemplateCatalogue> catalogue) {
    worker_.join();
    const qint64 left = settings_.minimumSplashTime.count() - splashShown_.elapsed();
    if (left > 0)
        QTimer::singleShot(left, this, [this, catalogue] { openMainWindow(catalogue); });
    else
        openMainWindow(catalogue);
}

void DesktopStartup::openMainWindow(std::shared_ptr<TemplateCatalogue> catalogue) {
    QWidget* window = nullptr;
    try {
        workspace_ = std::make_unique<Workspace>(settings_.paths, std::move(*catalogue));
        window = makeMainWindow_(*workspace_);
    } catch (const Error& e) {
        fail(e);
        return;
    } catch (const std::exception& e) {
        fail(Error(QStringLiteral("主窗口无法打开: %1").arg(QString::fromLocal8Bit(e.what()))));
        return;
    }
    if (!window) {
        fail(Error(QStringLiteral("主窗口无法打开, 软件无法运行!")));
        return;
    }
    mainWindow_ = window;
    state_ = State::Running;
    splash_->hide();
    window->show();
    emit mainWindowShown(window);
}

void DesktopStartup::fail(const Error& error) {
    if (worker_.joinable())
        worker_.join();
    state_ = State::Failed;
    workspace_.reset();
    splash_->hide();
    ShowError(nullptr, error);
    emit failed(1);
}

int RunDesktopProgram(QApplication& app, MainWindowFactory makeMainWindow, StartupSettings settings) {
    // Between the splash and the main window no window is shown for a moment; that is no reason to end.
    const bool quitOnLastWindowClosed = app.quitOnLastWindowClosed();
    app.setQuitOnLastWindowClosed(false);
    const auto restore = qScopeGuard([&] { app.setQuitOnLastWindowClosed(quitOnLastWindowClosed); });
    DesktopStartup startup(std::move(settings), std::move(makeMainWindow));
    QObject::connect(&startup, &DesktopStartup::failed, &app, [&app](int exitCode) { app.exit(exitCode); });
    QObject::connect(&startup, &DesktopStartup::mainWindowShown, &app, [&app, quitOnLastWindowClosed] {
        app.setQuitOnLastWindowClosed(quitOnLastWindowClosed);
    });
    if (!startup.start()) {
        std::fputs("lumiset: Lumiset 已经在运行\n", stderr);
        return 0;
    }
    return app.exec();
}

} // namespace lumiset::ui
