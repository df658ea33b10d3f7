// lumiset_templates: builds the template part of the data folder from the designs in data/templates.
//
//   lumiset_templates --sources <data/templates> --out <program folder> [--describe <file.md>]
#include "core/Error.h"
#include "core/Package.h"
#include "tools/templates/DataFolder.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    // Fonts for glyph outlines need a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Builds Lumiset's templates and special movies."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("sources"), QStringLiteral("Design folder (data/templates)."),
                      QStringLiteral("dir")});
    parser.addOption(
        {QStringLiteral("out"), QStringLiteral("Program folder receiving korvel/."), QStringLiteral("dir")});
    parser.addOption({QStringLiteral("describe"), QStringLiteral("Also write the template table (Markdown)."),
                      QStringLiteral("file")});
    parser.process(app);
    if (!parser.isSet(QStringLiteral("sources")) || !parser.isSet(QStringLiteral("out"))) {
        std::fprintf(stderr, "lumiset_templates: --sources and --out are required\n");
        return 2;
    }
    try {
        lumiset::templates::DataFolderWriter writer(parser.value(QStringLiteral("sources")),
                                                    parser.value(QStringLiteral("out")));
        writer.build();
        if (parser.isSet(QStringLiteral("describe")))
            lumiset::WriteWholeFile(parser.value(QStringLiteral("describe")), writer.describe().toUtf8());
    } catch (const lumiset::Error& e) {
        std::fprintf(stderr, "lumiset_templates: %s\n", e.message().toUtf8().constData());
        return 1;
    }
    return 0;
}
