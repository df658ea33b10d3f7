#include "fuzz/FuzzSupport.h"

#include <QGuiApplication>

namespace lumiset::fuzz {

void StartQt() {
    static int argc = 1;
    static char name[] = "lumiset-fuzz";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    // Lives until the process ends, as libFuzzer never returns from its loop.
    new QGuiApplication(argc, argv);
}

} // namespace lumiset::fuzz
