#include "ui/startup/DesktopStartup.h"

#include "core/Error.h"
#include "tests/support/TemplateFixture.h"
#include "tests/ui/ModalDriver.h"
#include "tests/ui/UiEvents.h"
#include "ui/startup/SplashWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLockFile>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <unistd.h>

using namespace lumiset;
using namespace lumiset::ui;
using namespace lumiset::test;
using ::testing::HasSubstr;

namespace {

// A data folder of `templates` templates and the lock file beside it.
struct StartupFolder {
    explicit StartupFolder(int templates = 3) {
        for (int i = 0; i < templates; ++i)
            WriteTemplate(tree, QStringLiteral("t%1").arg(i, 3, 10, QLatin1Char('0')), TemplateSpec());
    }
    DataPaths paths() const { return DataPaths(tree.path(), tree.path()); }
    StartupSettings settings() const {
        StartupSettings settings{paths()};
        settings.lockPath = tree.file(QStringLiteral("Lumiset.lock"));
        settings.minimumSplashTime = std::chrono::milliseconds(0);
        return settings;
    }
    TempTree tree;
};

bool anyWindowShown() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            return true;
    return false;
}

// What a main window sees of the start-up: the moment it is made and the moment it is shown.
class MainWindowWatch : public QObject {
public:
    MainWindowFactory factory(const DesktopStartup* startup) {
        return [this, startup](Workspace& workspace) {
            ++made;
            templatesAtMaking = workspace.catalogue.catalogue().rowCount();
            auto* window = new QWidget;
            window->setObjectName(QStringLiteral("TForm2"));
            window->installEventFilter(this);
            splash = startup->splash();
            return window;
        };
    }
    int made = 0;
    int templatesAtMaking = -1;
    int shows = 0;
    bool splashVisibleAtShow = true;
    SplashWindow* splash = nullptr;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            ++shows;
            splashVisibleAtShow = splash && splash->isVisible();
        }
        return false;
    }
};

} // namespace

TEST(Startup, ClearsTheLastRunThenLoadsTheCatalogueThenShowsTheMainWindowInsteadOfTheSplash) {
    StartupFolder folder(4);
    const DataPaths paths = folder.paths();
    const QStringList leftovers{
        folder.tree.write(QStringLiteral("korvel/wj_0_or_2/wjj_00_j_y/wjj_00_j_y1.ini"), "old"),
        folder.tree.write(QStringLiteral("korvel/wj_y_l/wj_y_l/wj_y_l/wj_y_l.bmp"), "old"),
        folder.tree.write(QStringLiteral("wj_to_wj/old.txt"), "old"),
        folder.tree.write(QStringLiteral("korvel/wj_0_or_6_6/wj_0_or_6_6.jpg"), "old"),
    };
    StartupSettings settings = folder.settings();
    QStringList leftAtLoading;
    int loads = 0;
    settings.loadCatalogue = [&](const DataPaths& p, const TemplateCatalogue::Progress& progress) {
        ++loads;
        for (const QString& file : leftovers)
            if (QFileInfo::exists(file))
                leftAtLoading.append(file);
        return TemplateCatalogue::build(p, progress);
    };
    MainWindowWatch watch;
    DesktopStartup real(settings, watch.factory(&real));
    QList<std::pair<int, int>> progress;
    QObject::connect(&real, &DesktopStartup::catalogueProgress, [&](int position, int maximum) {
        progress.append({position, maximum});
    });

    ASSERT_TRUE(real.start());
    ASSERT_NE(real.splash(), nullptr);
    EXPECT_TRUE(real.splash()->isVisible());
    EXPECT_EQ(real.splash()->objectName(), QStringLiteral("TForm1"));
    EXPECT_EQ(real.splash()->windowTitle(), QStringLiteral("Lumiset"));
    ASSERT_TRUE(WaitFor([&] { return real.state() == DesktopStartup::State::Running; }));

    EXPECT_EQ(loads, 1);
    EXPECT_TRUE(leftAtLoading.isEmpty()) << leftAtLoading.join(u' ').toStdString();
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last(), std::make_pair(4, 4));
    EXPECT_EQ(real.splash()->maximum(), 4);
    EXPECT_EQ(real.splash()->position(), 4);
    EXPECT_EQ(watch.made, 1);
    EXPECT_EQ(watch.templatesAtMaking, 4);
    EXPECT_EQ(watch.shows, 1);
    EXPECT_FALSE(watch.splashVisibleAtShow);
    EXPECT_FALSE(real.splash()->isVisible());
    ASSERT_NE(real.mainWindow(), nullptr);
    EXPECT_TRUE(real.mainWindow()->isVisible());
    EXPECT_EQ(real.workspace()->session.state.windowMode, QStringLiteral("moren_chuangkou"));
}

TEST(Startup, TheSplashShowsItsPictureWithTheBarAlongItsBottomEdge) {
    SplashWindow splash;
    splash.show();
    auto* picture = splash.findChild<QLabel*>(QStringLiteral("Image1"));
    auto* bar = splash.findChild<QWidget*>(QStringLiteral("ProgressBar_jiazai"));
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 500, 249));
    EXPECT_EQ(splash.size(), QSize(500, 249));
    EXPECT_EQ(bar->x(), 0);
    EXPECT_EQ(bar->width(), 500);
    EXPECT_EQ(bar->geometry().bottom(), picture->geometry().bottom());
    EXPECT_LE(bar->height(), 8);
    EXPECT_FALSE(picture->pixmap().isNull());
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash.geometry().center(), splash.screen()->availableGeometry().center());
}

TEST(Startup, TheSplashStaysForItsMinimumTimeEvenWhenLoadingIsQuick) {
    StartupFolder folder(1);
    StartupSettings settings = folder.settings();
    settings.minimumSplashTime = std::chrono::milliseconds(300);
    MainWindowWatch watch;
    DesktopStartup startup(settings, watch.factory(&startup));
    QElapsedTimer clock;
    clock.start();
    qint64 shownAfter = -1;
    QObject::connect(&startup, &DesktopStartup::mainWindowShown, [&] { shownAfter = clock.elapsed(); });
    ASSERT_TRUE(startup.start());
    ASSERT_TRUE(WaitFor([&] { return shownAfter >= 0; }));
    EXPECT_GE(shownAfter, 300);
}

// --- one copy at a time

TEST(Startup, ASecondCopyEndsBeforeShowingAnyWindow) {
    StartupFolder folder;
    const StartupSettings settings = folder.settings();
    QLockFile running(settings.lockPath);
    ASSERT_TRUE(running.tryLock(0));

    int made = 0;
    DesktopStartup startup(settings, [&](Workspace&) {
        ++made;
        return new QWidget;
    });
    EXPECT_FALSE(startup.start());
    EXPECT_EQ(startup.state(), DesktopStartup::State::OtherCopyRuns);
    EXPECT_EQ(startup.splash(), nullptr);
    WaitFor([] { return false; }, 100);
    EXPECT_FALSE(anyWindowShown());
    EXPECT_EQ(made, 0);
}

TEST(Startup, ALockLeftByACopyThatDiedIsTakenOver) {
    StartupFolder folder;
    const StartupSettings settings = folder.settings();
    // What a killed copy leaves: its process id (long gone), the program name, no host name.
    folder.tree.write(QFileInfo(settings.lockPath).fileName(), "2147483000\nlumiset\n\n");

    SingleInstanceLock lock(settings.lockPath);
    EXPECT_EQ(lock.acquire(), SingleInstanceLock::Outcome::Acquired);
    SingleInstanceLock second(settings.lockPath);
    EXPECT_EQ(second.acquire(), SingleInstanceLock::Outcome::HeldElsewhere);
}

TEST(Startup, TheLockIsNamedLumisetAndIsTheUsersOwn) {
    const QString path = SingleInstanceLock::defaultPath();
    EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("Lumiset.lock"));
    EXPECT_EQ(QFileInfo(QFileInfo(path).absolutePath()).ownerId(), getuid());
}

// --- failures: a message naming the trouble, then the program ends with a non-zero code

struct BrokenStart {
    const char* name;
    std::function<void(const TempTree&)> prepare;
    std::function<QWidget*(Workspace&)> factory; // empty: a plain window
    const char* message;
};

class StartupFailure : public ::testing::TestWithParam<BrokenStart> {};

TEST_P(StartupFailure, ShowsTheMessageAndEndsWithANonZeroCode) {
    TempTree tree;
    GetParam().prepare(tree);
    StartupSettings settings{DataPaths(tree.path(), tree.path())};
    settings.lockPath = tree.file(QStringLiteral("Lumiset.lock"));
    settings.minimumSplashTime = std::chrono::milliseconds(0);
    int made = 0;
    MainWindowFactory factory =
        GetParam().factory ? GetParam().factory : [](Workspace&) { return new QWidget; };
    DesktopStartup startup(settings, [&](Workspace& w) {
        ++made;
        return factory(w);
    });
    QString form, shown;
    bool splashVisibleAtMessage = true;
    ModalDriver driver([&](QWidget* modal) {
        form = modal->objectName();
        if (auto* label = modal->findChild<QLabel*>(QStringLiteral("Label_xianshi_xiaoxi")))
            shown = label->text();
        splashVisibleAtMessage = startup.splash()->isVisible();
        ClickWidget(modal->findChild<QPushButton*>(QStringLiteral("Button2")));
    });
    int exitCode = 0;
    QObject::connect(&startup, &DesktopStartup::failed, [&](int code) { exitCode = code; });

    ASSERT_TRUE(startup.start());
    ASSERT_TRUE(WaitFor([&] { return exitCode != 0; }));
    EXPECT_EQ(driver.acted(), 1);
    EXPECT_EQ(form, QStringLiteral("TForm14"));
    EXPECT_THAT(shown.toStdString(), HasSubstr(GetParam().message));
    EXPECT_FALSE(splashVisibleAtMessage);
    EXPECT_EQ(startup.state(), DesktopStartup::State::Failed);
    EXPECT_EQ(startup.mainWindow(), nullptr);
    EXPECT_EQ(startup.workspace(), nullptr);
    EXPECT_FALSE(anyWindowShown());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartupFailure,
    ::testing::Values(
        BrokenStart{"NoDataFolder", [](const TempTree&) {}, {}, "没有找到模板文件"},
        BrokenStart{"ParameterFileNotOurs",
                    [](const TempTree& tree) {
                        TemplateSpec foreign;
                        foreign.marker = QStringLiteral("something else");
                        WriteTemplate(tree, QStringLiteral("t1"), foreign);
                    },
                    {},
                    "不是本软件的文件"},
        BrokenStart{"AnimationsMissing",
                    [](const TempTree& tree) {
                        WriteTemplate(tree, QStringLiteral("t1"), TemplateSpec());
                        WriteTemplate(tree, QStringLiteral("t2"), TemplateSpec());
                        QFile::remove(tree.file(QStringLiteral("korvel/wj_0_or_2/wjj_02/t2.rar")));
                    },
                    {},
                    "数量不一致"},
        BrokenStart{"MainWindowRefuses",
                    [](const TempTree& tree) { WriteTemplate(tree, QStringLiteral("t1"), TemplateSpec()); },
                    [](Workspace&) -> QWidget* { throw Error(QStringLiteral("界面文件损坏")); },
                    "界面文件损坏"},
        BrokenStart{"NoMainWindow",
                    [](const TempTree& tree) { WriteTemplate(tree, QStringLiteral("t1"), TemplateSpec()); },
                    [](Workspace&) -> QWidget* { return nullptr; }, "主窗口无法打开"}),
    [](const auto& c) { return std::string(c.param.name); });

// --- the whole program: the event loop ends with the right code

TEST(DesktopProgram, EndsWithZeroWhenTheMainWindowCloses) {
    StartupFolder folder(1);
    QPointer<QWidget> window;
    const int code = RunDesktopProgram(
        *qApp,
        [&](Workspace&) {
            window = new QWidget;
            QTimer::singleShot(50, window, [&] { window->close(); });
            return window.data();
        },
        folder.settings());
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(window.isNull()); // freed with the start-up
    EXPECT_TRUE(qApp->quitOnLastWindowClosed());
}

TEST(DesktopProgram, EndsWithOneAfterTheMessageOfABrokenDataFolder) {
    TempTree empty;
    StartupSettings settings{DataPaths(empty.path(), empty.path())};
    settings.lockPath = empty.file(QStringLiteral("Lumiset.lock"));
    ModalDriver driver(
        [](QWidget* modal) { ClickWidget(modal->findChild<QPushButton*>(QStringLiteral("Button2"))); });
    const int code = RunDesktopProgram(
        *qApp, [](Workspace&) { return new QWidget; }, settings);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(driver.acted(), 1);
}

TEST(DesktopProgram, EndsAtOnceWithZeroWhenAnotherCopyRuns) {
    StartupFolder folder(1);
    const StartupSettings settings = folder.settings();
    QLockFile running(settings.lockPath);
    ASSERT_TRUE(running.tryLock(0));
    int made = 0;
    EXPECT_EQ(RunDesktopProgram(
                  *qApp,
                  [&](Workspace&) {
                      ++made;
                      return new QWidget;
                  },
                  settings),
              0);
    EXPECT_EQ(made, 0);
}

// --- leaving while the catalogue loads

TEST(Startup, EndingWhileTheCatalogueLoadsStopsTheLoadingPromptly) {
    StartupFolder folder(1);
    StartupSettings settings = folder.settings();
    std::atomic<int> reported{0};
    std::atomic<bool> stopped{false};
    settings.loadCatalogue = [&](const DataPaths& p, const TemplateCatalogue::Progress& progress) {
        // A very large data folder: reports progress for up to ten seconds.
        QElapsedTimer clock;
        clock.start();
        try {
            for (int i = 0; clock.elapsed() < 10'000; ++i) {
                progress(i, 1'000'000);
                ++reported;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        } catch (...) {
            stopped = true;
            throw;
        }
        return TemplateCatalogue::build(p, progress);
    };
    {
        DesktopStartup startup(settings, [](Workspace&) { return new QWidget; });
        ASSERT_TRUE(startup.start());
        ASSERT_TRUE(WaitFor([&] { return reported.load() > 5; }));
    }
    // The load ended at its next report instead of running its course.
    EXPECT_TRUE(stopped.load());
}
