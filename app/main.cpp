// The lumiset executable: without arguments the windowed program; with a subcommand, headless work for
// scripts and tests.
#include "app/Commands.h"
#include "app/TextOutput.h"

#include "core/Error.h"
#include "ui/DesktopWindows.h"
#include "ui/Theme.h"
#include "ui/startup/DesktopStartup.h"

#include <QApplication>
#include <QGuiApplication>
#include <functional>

namespace {

struct Command {
    const char* name;
    const char* synopsis;
    std::function<int(const QStringList&)> run;
};

const Command kCommands[] = {
    {"catalogue", "catalogue", lumiset::app::runCatalogueCommand},
    {"preview-template", "preview-template N [--photos FILE...] [--frame F...] [--size WxH] --out DIR",
     lumiset::app::runPreviewTemplateCommand},
    {"preview-effects", "preview-effects --out DIR", lumiset::app::runPreviewEffectsCommand},
    {"album",
     "album [--open FILE] [--photos PATH...] [--combination N] [--music FILE...] [--lyrics FILE...] "
     "[--check CONTROL...] [--yes] --save FILE",
     lumiset::app::runAlbumCommand},
    {"produce",
     "produce ALBUM --type VCD|SVCD|DVD|AVI|MP4|WMV|MOV [--size WxH] [--tv PAL|NTSC] "
     "[--quality biaoqing|gaoqing|chaoqing] [--sync template|music] [--log] --out FILE",
     lumiset::app::runProduceCommand},
};

QtMessageHandler defaultMessageHandler = nullptr;

// Offscreen Qt warns about a missing runtime folder; the subcommands never need one.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths:")))
        return;
    defaultMessageHandler(type, context, message);
}

void printUsage() {
    lumiset::app::printError(QStringLiteral("usage:"));
    for (const Command& c : kCommands)
        lumiset::app::printError(QStringLiteral("  lumiset %1").arg(QLatin1String(c.synopsis)));
}

// One line on stderr, whatever the message holds.
int fail(const QString& command, QString message) {
    message.replace(u'\n', QStringLiteral("; "));
    lumiset::app::printError(QStringLiteral("lumiset %1: %2").arg(command, message));
    return 1;
}

// Why the windows cannot open here (empty when a display is there): Qt would abort without one.
QString missingDisplay() {
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (platform.isEmpty() && !x11 && !wayland)
        return QStringLiteral("DISPLAY 与 WAYLAND_DISPLAY 均未设置");
    if (platform == QLatin1String("xcb") && !x11)
        return QStringLiteral("DISPLAY 未设置");
    return {};
}

int runDesktop(int argc, char** argv) {
    const QString missing = missingDisplay();
    if (!missing.isEmpty()) {
        lumiset::app::printError(
            QStringLiteral("lumiset: 没有可用的显示器 (%1), 无法打开窗口; 命令行用法: lumiset produce …, "
                           "lumiset album …, lumiset catalogue")
                .arg(missing));
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Lumiset"));
    lumiset::ui::Theme::apply(app);
    return lumiset::ui::RunDesktopProgram(app, lumiset::ui::MakeDesktopWindows);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return runDesktop(argc, argv);
    // Subcommands are headless: they paint into images, never onto a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultMessageHandler = qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);
    QStringList args = QGuiApplication::arguments().mid(1);
    if (args.isEmpty()) {
        printUsage();
        return 2;
    }
    const QString name = args.takeFirst();
    for (const Command& c : kCommands) {
        if (name != QLatin1String(c.name))
            continue;
        try {
            return c.run(args);
        } catch (const lumiset::Error& e) {
            return fail(name, e.message());
        } catch (const std::bad_alloc&) {
            return fail(name, QStringLiteral("out of memory"));
        } catch (const std::exception& e) {
            return fail(name, QStringLiteral("internal error: %1").arg(QString::fromLocal8Bit(e.what())));
        } catch (...) {
            return fail(name, QStringLiteral("internal error"));
        }
    }
    lumiset::app::printError(QStringLiteral("lumiset: unknown command “%1”").arg(name));
    printUsage();
    return 2;
}
