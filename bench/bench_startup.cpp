// Start-up of the windowed program: from start() to a shown main window (a plain window stands in),
// with a data folder of generated templates, without the splash's minimum time; and the start-up
// animation's frame at the main view's size. The animation reads the start-up package of the data
// folder this build generates ($LUMISET_PROGRAM_DIR to use another).
#include "core/DataPaths.h"
#include "core/Package.h"
#include "player/AnimationPlayer.h"
#include "tests/support/TemplateFixture.h"
#include "ui/Theme.h"
#include "ui/startup/DesktopStartup.h"
#include "ui/startup/SplashPicture.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

using namespace lumiset;

namespace {

void BM_StartToMainWindow(benchmark::State& state) {
    const auto& tree = test::VariedTemplateFolder(static_cast<int>(state.range(0)));
    ui::StartupSettings settings{DataPaths(tree.path(), tree.path())};
    settings.lockPath = tree.file(QStringLiteral("Lumiset.lock"));
    settings.minimumSplashTime = std::chrono::milliseconds(0);
    for (auto _ : state) {
        ui::DesktopStartup startup(settings, [](ui::Workspace&) {
            auto* window = new QWidget;
            window->resize(1189, 695);
            return window;
        });
        if (!startup.start()) {
            state.SkipWithError("the lock is held");
            return;
        }
        while (startup.state() == ui::DesktopStartup::State::Loading)
            QApplication::processEvents(QEventLoop::AllEvents, 1);
        if (startup.state() != ui::DesktopStartup::State::Running) {
            state.SkipWithError("the start-up failed");
            return;
        }
    }
    state.counters["templates"] = static_cast<double>(state.range(0));
}

void BM_SplashPicture(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ui::SplashPicture(1.0));
}

void BM_StartupAnimationFrame(benchmark::State& state) {
    const DataPaths paths = DataPaths::forRunningProgram();
    AnimationPlayer player;
    try {
        player.setMovieData(DecodePackageToMemory(paths.startupPackage(), PackageLayers::Startup), QString(),
                            paths.startupPackage());
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    QImage surface(QSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))),
                   QImage::Format_ARGB32_Premultiplied);
    int frame = 0;
    for (auto _ : state) {
        player.setFrameNum(frame);
        player.paint(surface);
        frame = (frame + 1) % player.totalFrames();
    }
    state.counters["frames"] = player.totalFrames();
}

} // namespace

BENCHMARK(BM_StartToMainWindow)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SplashPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupAnimationFrame)->Args({800, 450})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The lock's default place is the private runtime folder, which a bare shell may not provide.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::tempPath() + QStringLiteral("/lumiset-bench-runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    }
    if (qEnvironmentVariableIsEmpty("LUMISET_PROGRAM_DIR"))
        qputenv("LUMISET_PROGRAM_DIR", LUMISET_BUILT_PROGRAM_DIR);
    // What the program does once before the start-up: the application and its theme (fonts, style sheet,
    // chrome pictures). Measured once, since it cannot be repeated in one process.
    QElapsedTimer setUp;
    setUp.start();
    QApplication app(argc, argv);
    ui::Theme::apply(app);
    std::fprintf(stderr, "application and theme set up in %lld ms\n",
                 static_cast<long long>(setUp.elapsed()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
