// The start of the windowed program: the single-instance lock, the splash window, the clean-up of the
// last run's work files and the template catalogue loaded off the interface thread, then the workspace
// and the main window. Steps and their order:
//   start(): lock (another copy runs: nothing is shown, the program ends with 0) → splash shown →
//   worker: work files cleared → catalogue built, its progress on the splash bar →
//   (the splash stays at least `minimumSplashTime`) → workspace → main window made → splash hidden →
//   main window shown.
// A data folder that is missing or broken, or a main window that cannot be made, shows the message box
// naming what is wrong and ends the program with a non-zero code.
#pragma once

#include "core/DataPaths.h"
#include "core/TemplateCatalogue.h"
#include "ui/Workspace.h"
#include "ui/startup/SingleInstance.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

class QApplication;

namespace lumiset {
class Error;
}

namespace lumiset::ui {

class SplashWindow;

// Makes the main window over the loaded workspace (the window is shown by the start-up). The window ends
// the program by closing (the last window closed) or by QCoreApplication::quit(). Throws Error, or
// returns null, when it cannot be made.
using MainWindowFactory = std::function<QWidget*(Workspace&)>;

struct StartupSettings {
    using CatalogueLoader =
        std::function<TemplateCatalogue(const DataPaths&, const TemplateCatalogue::Progress&)>;

    // The data folder beside the program (or $LUMISET_PROGRAM_DIR), the lock in the runtime folder.
    static StartupSettings forRunningProgram();

    DataPaths paths;
    QString lockPath = SingleInstanceLock::defaultPath();
    // The splash is seen, not flashed, even when the catalogue loads at once.
    std::chrono::milliseconds minimumSplashTime{500};
    // Builds the catalogue on the worker; tests look through it at the moment loading begins.
    CatalogueLoader loadCatalogue = [](const DataPaths& folder, const TemplateCatalogue::Progress& progress) {
        return TemplateCatalogue::build(folder, progress);
    };
};

class DesktopStartup : public QObject {
    Q_OBJECT
public:
    enum class State { NotStarted, OtherCopyRuns, Loading, Running, Failed };

    DesktopStartup(StartupSettings settings, MainWindowFactory makeMainWindow, QObject* parent = nullptr);
    // Stops a load under way (at its next template) and waits for it; closes the main window, then frees
    // the workspace.
    ~DesktopStartup() override;
    DesktopStartup(const DesktopStartup&) = delete;
    DesktopStartup& operator=(const DesktopStartup&) = delete;

    // Takes the lock and, when no other copy runs, shows the splash and starts loading; returns at once.
    // False when another copy runs: nothing was shown and the program should end with code 0.
    bool start();

    State state() const { return state_; }
    SplashWindow* splash() const { return splash_.get(); }
    QWidget* mainWindow() const { return mainWindow_; }
    Workspace* workspace() const { return workspace_.get(); }

signals:
    void workFilesCleared();
    void catalogueProgress(int position, int maximum);
    void mainWindowShown(QWidget* window);
    // The user has read the message; the program should end with `exitCode`.
    void failed(int exitCode);

private:
    struct Cancelled {};
    void load();
    void loaded(std::shared_ptr<TemplateCatalogue> catalogue);
    void openMainWindow(std::shared_ptr<TemplateCatalogue> catalogue);
    void fail(const Error& error);

    StartupSettings settings_;
    MainWindowFactory makeMainWindow_;
    SingleInstanceLock lock_;
    State state_ = State::NotStarted;
    std::unique_ptr<SplashWindow> splash_;
    QElapsedTimer splashShown_;
    std::unique_ptr<Workspace> workspace_;
    QPointer<QWidget> mainWindow_;
    std::atomic<bool> cancel_{false};
    std::thread worker_;
};

// The windowed program from start to end: the start-up above, then the event loop until the main window
// ends the program. Returns the exit code: 0 after a normal end or when another copy runs (a note on
// stderr), non-zero after a start-up failure (its message shown).
int RunDesktopProgram(QApplication& app, MainWindowFactory makeMainWindow,
                      StartupSettings settings = StartupSettings::forRunningProgram());

} // namespace lumiset::ui
