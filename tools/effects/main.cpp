// Generates the picture-effect and text-effect libraries of the data folder from their JSON sources.
//
// Usage: lumiset_effects_gen <source folder> <program folder> [pictures|texts]
// The source folder holds picture_effects.json and text_effects.json; the libraries are written below
// <program folder>/korvel at the places the program reads them from.
#include "core/DataPaths.h"
#include "core/Error.h"
#include "tools/effects/GeneratorOutput.h"
#include "tools/effects/PictureEffects.h"
#include "tools/effects/TextEffects.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>

using namespace lumiset;
using namespace lumiset::tools;

int main(int argc, char** argv) {
    // Fonts need a GUI application, but the build machine may have no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3 || args.size() > 4) {
        std::fprintf(stderr,
                     "usage: lumiset_effects_gen <source folder> <program folder> [pictures|texts]\n");
        return 2;
    }
    const QString sources = args[1];
    const DataPaths paths(args[2], args[2]);
    const QString only = args.value(3);
    try {
        QElapsedTimer clock;
        clock.start();
        if (only.isEmpty() || only == QStringLiteral("pictures")) {
            const auto effects = LoadPictureEffects(sources + QStringLiteral("/picture_effects.json"));
            FrameReport report;
            WritePictureEffectLibrary(effects, paths.pictureEffectLibrary(), report);
            std::printf("%lld picture effects in %.1f s; %s\n", static_cast<long long>(effects.size()),
                        clock.elapsed() / 1000.0, qPrintable(report.summary()));
        }
        if (only.isEmpty() || only == QStringLiteral("texts")) {
            const auto categories = LoadTextEffects(sources + QStringLiteral("/text_effects.json"));
            FrameReport report;
            WriteTextEffectLibrary(categories, paths.textEffectLibrary(), report);
            std::printf("%lld text-effect categories in %.1f s; %s\n",
                        static_cast<long long>(categories.size()), clock.elapsed() / 1000.0,
                        qPrintable(report.summary()));
        }
    } catch (const Error& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
