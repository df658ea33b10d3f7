// Test entry point: a GUI application (offscreen in CI) so that fonts and painting work. The suites of
// the windows build it with LUMISET_TEST_WIDGETS and get a QApplication; the others never link widgets.
#include <QDir>
#include <gtest/gtest.h>
#ifdef LUMISET_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

int main(int argc, char** argv) {
    // Headless and silent, reading the program folder this build fills, unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    if (qEnvironmentVariableIsEmpty("LUMISET_PROGRAM_DIR"))
        qputenv("LUMISET_PROGRAM_DIR", LUMISET_TEST_PROGRAM_DIR);
    // Qt wants a private runtime folder; CI runs without a session that provides one.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::tempPath() + QStringLiteral("/lumiset-tests-runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    }
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
