// Helpers of bench/production.sh, which measures production against the bare encoder:
//   bench_production encode ALBUM TYPE WxH QUALITY OUT [FRAMES]  encodes as many frames as the album has,
//       with the production's encoder settings and song plan, from ready frames: those of FRAMES, a file
//       of every composed frame as `frames` writes them, or else the album's first 100 frames, composed
//       beforehand and repeated (how hard frames are to code depends on what they show, so only the
//       album's own frames measure what production is up against); prints the wall time in seconds.
//   bench_production frames ALBUM WxH[:WxH] [COUNT]  writes every composed frame (or the first COUNT) of
//       the album to stdout as raw BGRA, the reference a produced video is compared with.
//   bench_production compose ALBUM WxH[:WxH] [COUNT]  composes every frame (or the first COUNT) on one
//       thread and prints the milliseconds per frame, for frames without effects and frames with them, and
//       the share of the effect frames' placing (reading and scaling) and drawing, measured apart without the
//       cache. A second size gives the shape the frames show, where it differs (720x576:1024x576 for a DVD).
//   bench_production pictures ALBUM WxH  makes every template's pictures once and prints the milliseconds
//       each set takes.
//   bench_production effects ALBUM WxH  places every frame of each effect the album shows once and prints,
//       for each effect, how often it starts, its milliseconds and bytes per placed frame.
#include "core/AlbumFile.h"
#include "core/DataPaths.h"
#include "core/TemplateCatalogue.h"
#include "media/AlbumEncoder.h"
#include "media/MusicFile.h"
#include "production/FramePainter.h"
#include "production/Production.h"
#include "production/ProductionSources.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QSet>
#include <cstdio>
#include <iostream>

using namespace lumiset;

namespace {

QSize parseSize(const QString& text) {
    const QStringList parts = text.split(u'x');
    return {parts.value(0).toInt(), parts.value(1).toInt()};
}

PictureQuality parseQuality(const QString& word) {
    if (word == QLatin1String("biaoqing"))
        return PictureQuality::Standard;
    if (word == QLatin1String("chaoqing"))
        return PictureQuality::Super;
    return PictureQuality::High;
}

// Places and draws the effects of `frame` as production does without keeping them, adding the time of
// each stage.
void timeEffects(const ProductionSources& sources, qint64 frame, QImage& canvas, double& placeMs,
                 double& drawMs) {
    for (const EffectInFrame& showing : sources.effects().at(frame)) {
        QElapsedTimer clock;
        clock.start();
        const PlacedEffectFrame placed = PlaceEffectFrame(showing, canvas.size());
        placeMs += clock.nsecsElapsed() / 1e6;
        clock.restart();
        placed.drawOver(canvas);
        drawMs += clock.nsecsElapsed() / 1e6;
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3) {
        std::cerr << "usage: bench_production encode ALBUM TYPE WxH QUALITY OUT [FRAMES] | "
                     "frames|compose|pictures|effects ALBUM WxH "
                     "[COUNT]\n";
        return 2;
    }
    try {
        const DataPaths paths = DataPaths::forRunningProgram();
        const TemplateCatalogue catalogue = TemplateCatalogue::build(paths);
        const Album album = OpenAlbum(args[1], catalogue.catalogue().rowCount());
        const ProductionPlan plan =
            PlanProduction(album, catalogue, SyncMode::Template, MusicLengthMilliseconds);
        // WxH, or WxH:WxH for frames of the first size showing pixels of the second's shape (as discs).
        const QStringList sizes = (args[0] == QLatin1String("encode") ? args[3] : args[2]).split(u':');
        const QSize size = parseSize(sizes[0]);
        const FrameShape shape(size, sizes.size() > 1 ? parseSize(sizes[1]) : size);
        ProductionSources sources(album, catalogue, paths, plan, shape);
        FramePainter painter(sources);
        const qint64 total = sources.timeline().totalFrames();

        if (args[0] == QLatin1String("compose")) {
            const qint64 count = args.size() > 3 ? std::min<qint64>(total, args[3].toLongLong()) : total;
            double plainMs = 0, effectMs = 0, placeMs = 0, drawMs = 0;
            qint64 plain = 0, withEffects = 0, effectFrames = 0;
            QImage canvas(size, QImage::Format_RGB32);
            for (qint64 frame = 0; frame < count; ++frame) {
                QElapsedTimer clock;
                clock.start();
                painter.paint(frame);
                const double ms = clock.nsecsElapsed() / 1e6;
                const qsizetype showing = sources.effects().at(frame).size();
                (showing ? effectMs : plainMs) += ms;
                ++(showing ? withEffects : plain);
                effectFrames += showing;
            }
            const qint64 found = sources.effectFrames().framesFound();
            // Measured apart, after the cached run, so the cache's own timing is not disturbed.
            for (qint64 frame = 0; frame < count; ++frame)
                timeEffects(sources, frame, canvas, placeMs, drawMs);
            std::cout << "frames without effects: " << plain << ", " << plainMs / std::max<qint64>(plain, 1)
                      << " ms each\nframes with effects: " << withEffects << " (" << effectFrames
                      << " effect frames), " << effectMs / std::max<qint64>(withEffects, 1) << " ms each, "
                      << found << " effect frames found kept"
                      << "\neffect frames, uncached: placing " << placeMs / std::max<qint64>(effectFrames, 1)
                      << " ms, drawing " << drawMs / std::max<qint64>(effectFrames, 1) << " ms each\n"
                      << "all frames: " << (plainMs + effectMs) / std::max<qint64>(count, 1) << " ms each\n";
            return 0;
        }
        if (args[0] == QLatin1String("pictures")) {
            QElapsedTimer clock;
            clock.start();
            for (int t = 0; t < plan.templates.size(); ++t)
                sources.templatePictures(t);
            std::cout << plan.templates.size() << " templates' pictures, "
                      << clock.nsecsElapsed() / 1e6 / std::max<qsizetype>(plan.templates.size(), 1)
                      << " ms each\n";
            return 0;
        }
        if (args[0] == QLatin1String("effects")) {
            QHash<QString, int> shown; // times each effect starts
            for (const ScheduledEffect& effect : sources.effects().all())
                ++shown[effect.folder];
            QSet<QString> seen;
            for (const ScheduledEffect& effect : sources.effects().all()) {
                if (seen.contains(effect.folder))
                    continue;
                seen.insert(effect.folder);
                QElapsedTimer clock;
                clock.start();
                qsizetype bytes = 0;
                for (int frame = 1; frame <= effect.frames; ++frame)
                    bytes += PlaceEffectFrame({&effect, frame}, size).bytes();
                std::cout << (effect.kind == ScheduledEffect::Kind::Text ? "text, " : "picture, ")
                          << shown[effect.folder] << " times, " << effect.frames << " frames, "
                          << clock.nsecsElapsed() / 1e6 / effect.frames << " ms, "
                          << bytes / effect.frames / 1024 << " KB each: " << effect.folder.toStdString()
                          << "\n";
            }
            return 0;
        }
        if (args[0] == QLatin1String("frames")) {
            const qint64 count = args.size() > 3 ? std::min<qint64>(total, args[3].toLongLong()) : total;
            for (qint64 frame = 0; frame < count; ++frame) {
                const QImage picture = painter.paint(frame).convertToFormat(QImage::Format_RGB32);
                for (int y = 0; y < picture.height(); ++y)
                    std::fwrite(picture.constScanLine(y), 4, picture.width(), stdout);
            }
            return 0;
        }

        const auto type = AlbumTypeFromWord(args[2]);
        if (!type || args.size() < 6)
            throw Error(QStringLiteral("bad arguments"));
        QList<QImage> ready;
        QFile framesFile(args.value(6));
        const qsizetype frameBytes = qsizetype(size.width()) * size.height() * 4;
        const uchar* composed = nullptr;
        if (args.size() > 6) {
            if (!framesFile.open(QIODevice::ReadOnly) || framesFile.size() < frameBytes * total ||
                !(composed = framesFile.map(0, frameBytes * total)))
                throw Error(QStringLiteral("%1 does not hold %2 frames").arg(args[6]).arg(total));
            for (qint64 frame = 0; frame < total; ++frame)
                ready.append(
                    QImage(composed + frame * frameBytes, size.width(), size.height(), QImage::Format_RGB32));
        } else {
            for (qint64 frame = 0; frame < std::min<qint64>(total, 100); ++frame)
                ready.append(painter.paint(frame));
        }
        QList<AudioSegment> audio;
        for (const SongPlanRow& song : plan.songs)
            if (song.frames > 0)
                audio.append({song.path, song.frames});
        QElapsedTimer clock;
        clock.start();
        AlbumEncoder encoder({*type, TvSystem::Pal, parseQuality(args[4]), size}, args[5], audio, total);
        for (qint64 frame = 0; frame < total; ++frame)
            encoder.addFrame(ready[frame % ready.size()]);
        encoder.finish();
        std::cout << clock.elapsed() / 1000.0 << "\n";
        return 0;
    } catch (const Error& error) {
        std::cerr << error.message().toStdString() << "\n";
        return 1;
    }
}
