// The lumiset executable: headless subcommands for scripts and tests (the windows come later).
#include "app/Commands.h"
#include "app/TextOutput.h"

#include "core/Error.h"

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

} // namespace

int main(int argc, char** argv) {
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
