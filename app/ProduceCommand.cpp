// lumiset produce: renders an album file into a video file.
#include "app/CommandOptions.h"
#include "app/Commands.h"
#include "app/JobProgress.h"
#include "app/TextOutput.h"

#include "core/AlbumFile.h"
#include "core/Error.h"
#include "core/TemplateCatalogue.h"
#include "production/Production.h"

#include <QFileInfo>

namespace lumiset::app {

namespace {

template <typename Choice>
Choice choose(const CommandOptions& options, const QString& name, Choice fallback,
              const QList<std::pair<QString, Choice>>& words) {
    if (!options.has(name))
        return fallback;
    const QString given = options.value(name);
    QStringList known;
    for (const auto& [word, choice] : words) {
        if (given.compare(word, Qt::CaseInsensitive) == 0)
            return choice;
        known.append(word);
    }
    throw Error(
        QStringLiteral("--%1 “%2” 无效，可选: %3").arg(name, given, known.join(QStringLiteral(", "))));
}

} // namespace

int runProduceCommand(const QStringList& args) {
    const CommandOptions options(args, {"type", "size", "tv", "quality", "sync", "out", "log"}, {"log"});
    if (options.positional().size() != 1)
        throw Error(QStringLiteral("请给出一个相册文件"));
    QList<std::pair<QString, AlbumType>> types;
    for (AlbumType type : {AlbumType::VCD, AlbumType::SVCD, AlbumType::DVD, AlbumType::AVI, AlbumType::MP4,
                           AlbumType::WMV, AlbumType::MOV})
        types.append({AlbumTypeWord(type), type});
    options.required("type");
    const AlbumType type = choose(options, QStringLiteral("type"), AlbumType::MOV, types);

    ProductionRequest request = DefaultProductionRequest(type);
    request.tv = choose(options, QStringLiteral("tv"), request.tv,
                        {{QStringLiteral("PAL"), TvSystem::Pal}, {QStringLiteral("NTSC"), TvSystem::Ntsc}});
    request.quality = choose(options, QStringLiteral("quality"), request.quality,
                             {{QStringLiteral("biaoqing"), PictureQuality::Standard},
                              {QStringLiteral("gaoqing"), PictureQuality::High},
                              {QStringLiteral("chaoqing"), PictureQuality::Super}});
    request.sync = choose(
        options, QStringLiteral("sync"), request.sync,
        {{QStringLiteral("template"), SyncMode::Template}, {QStringLiteral("music"), SyncMode::Music}});
    request.size = options.size(QStringLiteral("size"), request.size);
    request.outputPath = QFileInfo(options.required("out")).absoluteFilePath();
    CheckOutputSize(type, request.size);

    const DataPaths paths = DataPaths::forRunningProgram();
    const TemplateCatalogue catalogue = TemplateCatalogue::build(paths);
    const Album album = OpenAlbum(options.positional().first(), catalogue.catalogue().rowCount());
    if (const auto refusal = LaunchRefusal(album, request.sync))
        throw Error(*refusal);

    ProductionLog log;
    struct PrintLog {
        const ProductionLog& log;
        bool wanted;
        ~PrintLog() {
            if (wanted)
                for (const QString& line : log.lines())
                    printLine(line);
        }
    } printLog{log, options.has("log")};
    RunJobWithProgress(album, [&](const Album& a, Job& job) {
        return ProduceAlbum(a, catalogue, paths, request, job, &log);
    });
    return 0;
}

} // namespace lumiset::app
