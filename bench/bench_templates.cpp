// Rendering speed of the shipped templates as an album plays them: every template of the built data
// folder, prepared as the preview prepares it with photo-like 12-megapixel photos in its slots, every
// frame in order, at the preview size and two production sizes. For each size it prints the mean and
// the worst frame over all templates and the heaviest template's mean.
//
// Times are CPU time of the whole process per frame: the cost of a frame on one core, whatever threads
// Qt spreads work over, and steadier than wall time on a busy machine. With --repeat each template is
// played that many times and each frame counts its fastest run, which filters out other programs.
// Run by hand:
//   bench_templates [--size WxH]... [--template N]... [--num-stop V]... [--repeat R] [--per-template]
//                   [--photos DIR] [--save-frames DIR | --compare-frames DIR] [--every K]
// Prefix it with `taskset -c 0` to measure one core: Qt otherwise hands large fills to its threads.
// --save-frames writes every K-th frame as PNG; --compare-frames renders the same frames and reports
// how far they are from those saved (by another build, to see that a change to the player shows the
// same pictures). The data folder is the one this build generates; set LUMISET_PROGRAM_DIR to use
// another.
#include "core/Columns.h"
#include "core/DataPaths.h"
#include "core/Error.h"
#include "core/TemplateCatalogue.h"
#include "core/TextHelpers.h"
#include "photos/TemplatePreview.h"
#include "player/AnimationPlayer.h"
#include "tests/support/JpegFixtures.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <limits>
#include <numeric>

using namespace lumiset;

namespace {

// A camera-like photo: a sky-to-ground gradient, soft shapes of many sizes and fine grain, so that its
// JPEG is as large and as slow to decode as a real one and its pixels have detail to resample.
QImage PhotoLike(QSize size, quint32 seed) {
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, size.width() * 0.3, size.height());
    sky.setColorAt(0, QColor::fromHsv(int(random.bounded(360)), 90, 230));
    sky.setColorAt(0.55, QColor::fromHsv(int(random.bounded(360)), 60, 200));
    sky.setColorAt(1, QColor::fromHsv(int(random.bounded(360)), 140, 90));
    painter.fillRect(image.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 160; ++i) {
        const QPointF centre(random.bounded(size.width()), random.bounded(size.height()));
        const double radius = 8 + random.bounded(size.width() / 5);
        const QColor colour = QColor::fromHsv(int(random.bounded(360)), 60 + int(random.bounded(160)),
                                              60 + int(random.bounded(190)), 200);
        QRadialGradient blob(centre, radius);
        blob.setColorAt(0, colour);
        blob.setColorAt(0.7, QColor(colour.red(), colour.green(), colour.blue(), 120));
        blob.setColorAt(1, Qt::transparent);
        painter.setBrush(blob);
        painter.drawEllipse(centre, radius, radius * (0.5 + random.generateDouble()));
    }
    painter.end();
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int grain = int(random.bounded(21)) - 10;
            const QRgb p = line[x];
            line[x] = qRgb(std::clamp(qRed(p) + grain, 0, 255), std::clamp(qGreen(p) + grain, 0, 255),
                           std::clamp(qBlue(p) + grain, 0, 255));
        }
    }
    return image;
}

struct Photos {
    QStringList landscape;
    QStringList portrait;
};

// Writes the photos into `folder`, keeping those already there.
Photos WritePhotos(const QString& folder) {
    Photos photos;
    for (int i = 0; i < 4; ++i) {
        const bool portrait = i == 3;
        const QString path = QStringLiteral("%1/photo_%2.jpg").arg(folder).arg(i + 1);
        (portrait ? photos.portrait : photos.landscape).append(path);
        if (QFile::exists(path))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(test::EncodeJpeg(PhotoLike(portrait ? QSize(3000, 4000) : QSize(4000, 3000), 17 + i),
                                        92)) < 0)
            throw Error(QStringLiteral("cannot write %1").arg(path));
    }
    return photos;
}

double CpuMilliseconds() {
    return 1000.0 * double(std::clock()) / CLOCKS_PER_SEC;
}

struct TemplateTimes {
    QString name;
    std::vector<double> frameMs; // the fastest run of each frame
    double meanMs() const {
        return frameMs.empty() ? 0 : std::accumulate(frameMs.begin(), frameMs.end(), 0.0) / frameMs.size();
    }
    int worstFrame() const { return int(std::max_element(frameMs.begin(), frameMs.end()) - frameMs.begin()); }
    double worstMs() const { return frameMs.empty() ? 0 : frameMs[worstFrame()]; }
};

// Frames kept for looking or compared with those another build kept.
struct FrameCheck {
    enum class Mode { None, Save, Compare } mode = Mode::None;
    QString folder;
    int every = 10;
    // The largest differences found when comparing, 0..255 per channel.
    double worstMean = 0;
    int worstPixel = 0;
    QString worstMeanFrame, worstPixelFrame;
    int compared = 0;

    void check(const QImage& frame, const QString& name) {
        const QString path = folder + u'/' + name + QStringLiteral(".png");
        if (mode == Mode::Save) {
            if (!frame.save(path))
                throw Error(QStringLiteral("cannot write %1").arg(path));
            return;
        }
        const QImage saved(path);
        if (saved.isNull())
            throw Error(QStringLiteral("no saved frame %1").arg(path));
        const QImage a = frame.convertToFormat(QImage::Format_ARGB32);
        const QImage b = saved.convertToFormat(QImage::Format_ARGB32);
        if (a.size() != b.size())
            throw Error(QStringLiteral("the saved frame %1 has another size").arg(path));
        qint64 sum = 0;
        int most = 0;
        for (int y = 0; y < a.height(); ++y) {
            const auto* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
            const auto* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
            for (int x = 0; x < a.width(); ++x) {
                for (const int d : {qRed(p[x]) - qRed(q[x]), qGreen(p[x]) - qGreen(q[x]),
                                    qBlue(p[x]) - qBlue(q[x]), qAlpha(p[x]) - qAlpha(q[x])}) {
                    sum += std::abs(d);
                    most = std::max(most, std::abs(d));
                }
            }
        }
        const double mean = double(sum) / (4.0 * a.width() * a.height());
        ++compared;
        if (mean > worstMean) {
            worstMean = mean;
            worstMeanFrame = name;
        }
        if (most > worstPixel) {
            worstPixel = most;
            worstPixelFrame = name;
        }
    }
};

void PlayTemplate(const TemplatePreview& preview, QSize size, const QString& numStop, TemplateTimes& times,
                  FrameCheck& check, const QString& frameStem) {
    AnimationPlayer player;
    preview.loadInto(player);
    player.setVariable(kNumStopVariable, numStop);
    QImage surface(size, QImage::Format_ARGB32_Premultiplied);
    const bool first = times.frameMs.empty();
    times.frameMs.resize(size_t(player.totalFrames()), std::numeric_limits<double>::infinity());
    for (int frame = 0; frame < player.totalFrames(); ++frame) {
        const double start = CpuMilliseconds();
        player.setFrameNum(frame);
        player.paint(surface);
        const double spent = CpuMilliseconds() - start;
        times.frameMs[size_t(frame)] = std::min(times.frameMs[size_t(frame)], spent);
        if (first && check.mode != FrameCheck::Mode::None && frame % check.every == 0)
            check.check(surface, QStringLiteral("%1_%2").arg(frameStem).arg(frame, 4, 10, QLatin1Char('0')));
    }
}

void Report(QSize size, const QString& numStop, const std::vector<TemplateTimes>& all, bool perTemplate) {
    double total = 0;
    size_t frames = 0;
    const TemplateTimes* worst = nullptr;
    const TemplateTimes* heaviest = nullptr;
    for (const TemplateTimes& t : all) {
        total += std::accumulate(t.frameMs.begin(), t.frameMs.end(), 0.0);
        frames += t.frameMs.size();
        if (!worst || t.worstMs() > worst->worstMs())
            worst = &t;
        if (!heaviest || t.meanMs() > heaviest->meanMs())
            heaviest = &t;
        if (perTemplate)
            std::printf("  %-40s mean %6.2f ms  worst %6.2f ms (frame %d)\n", qPrintable(t.name), t.meanMs(),
                        t.worstMs(), t.worstFrame());
    }
    if (!worst || frames == 0)
        return;
    std::printf("%4d x %-4d num_stop %-3s  mean %6.2f ms  worst %6.2f ms (%s, frame %d)  heaviest %6.2f ms "
                "(%s)  [%zu frames]\n",
                size.width(), size.height(), qPrintable(numStop), total / double(frames), worst->worstMs(),
                qPrintable(worst->name), worst->worstFrame(), heaviest->meanMs(), qPrintable(heaviest->name),
                frames);
    std::fflush(stdout);
}

QSize ParseSize(const QString& text) {
    const QStringList parts = text.split(u'x');
    const QSize size = parts.size() == 2 ? QSize(parts[0].toInt(), parts[1].toInt()) : QSize();
    if (size.isEmpty())
        throw Error(QStringLiteral("not a size: %1 (use WxH)").arg(text));
    return size;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("LUMISET_PROGRAM_DIR"))
        qputenv("LUMISET_PROGRAM_DIR", LUMISET_BUILT_PROGRAM_DIR);
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"size", "Surface size WxH (repeatable).", "size"});
    parser.addOption({"template", "Template number of the catalogue (repeatable; all by default).", "n"});
    parser.addOption({"num-stop", "Background transparency 0..100 (repeatable; 0 and 30 by default).", "v"});
    parser.addOption({"repeat", "Plays of each template; a frame counts its fastest (default 1).", "r"});
    parser.addOption({"photos", "Keep the photos in this folder and reuse them in later runs.", "dir"});
    parser.addOption({"per-template", "Print every template's mean and worst frame."});
    parser.addOption({"save-frames", "Write every K-th frame as PNG into this folder.", "dir"});
    parser.addOption(
        {"compare-frames", "Compare every K-th frame with the PNG files in this folder.", "dir"});
    parser.addOption({"every", "K for --save-frames and --compare-frames (default 10).", "k"});
    parser.process(app);
    try {
        QList<QSize> sizes;
        for (const QString& s : parser.values("size"))
            sizes.append(ParseSize(s));
        if (sizes.isEmpty())
            sizes = {{800, 450}, {1280, 720}, {1920, 1080}};
        const int repeat = std::max(1, parser.value("repeat").toInt());
        FrameCheck check;
        if (parser.isSet("save-frames")) {
            check.mode = FrameCheck::Mode::Save;
            check.folder = parser.value("save-frames");
            QDir().mkpath(check.folder);
        } else if (parser.isSet("compare-frames")) {
            check.mode = FrameCheck::Mode::Compare;
            check.folder = parser.value("compare-frames");
        }
        if (parser.isSet("every"))
            check.every = std::max(1, parser.value("every").toInt());
        QStringList numStops = parser.values("num-stop");
        if (numStops.isEmpty())
            numStops = {QStringLiteral("0"), QStringLiteral("30")};

        const DataPaths paths = DataPaths::forRunningProgram();
        const TemplateCatalogue catalogue = TemplateCatalogue::build(paths);
        const Table& rows = catalogue.catalogue();
        QList<int> chosen;
        for (const QString& n : parser.values("template")) {
            const std::optional<int> row = catalogue.rowOfTemplate(n.toInt());
            if (!row)
                throw Error(QStringLiteral("no template number %1").arg(n));
            chosen.append(*row);
        }
        if (chosen.isEmpty())
            for (int row = 0; row < rows.rowCount(); ++row)
                chosen.append(row);

        QTemporaryDir temporary;
        const QString photoFolder = parser.isSet("photos") ? parser.value("photos") : temporary.path();
        QDir().mkpath(photoFolder);
        std::printf("writing photos...\n");
        std::fflush(stdout);
        const Photos photos = WritePhotos(photoFolder);
        std::printf("%lld templates, CPU time per frame\n", qlonglong(chosen.size()));
        for (const QSize size : sizes) {
            std::vector<TemplatePreview> previews;
            for (int row : chosen) {
                const bool portrait = rows.cell(row, CatalogueCol::Class) == kPortraitWord;
                // Landscape photos, with the portrait one among them for templates of both kinds.
                const QStringList slotPhotos =
                    portrait ? QStringList{photos.portrait.front(), photos.portrait.front(),
                                           photos.portrait.front(), photos.portrait.front()}
                             : QStringList{photos.landscape[0], photos.landscape[1], photos.portrait[0],
                                           photos.landscape[2]};
                previews.push_back(TemplatePreview::prepare(paths, catalogue, row, slotPhotos, size));
            }
            for (const QString& numStop : numStops) {
                std::vector<TemplateTimes> all;
                for (size_t i = 0; i < previews.size(); ++i) {
                    const int row = chosen[int(i)];
                    TemplateTimes times;
                    times.name = QStringLiteral("%1 %2").arg(rows.cell(row, CatalogueCol::Number),
                                                             rows.cell(row, CatalogueCol::Name));
                    const QString stem = QStringLiteral("%1x%2_%3_%4")
                                             .arg(size.width())
                                             .arg(size.height())
                                             .arg(numStop, rows.cell(row, CatalogueCol::Number));
                    for (int run = 0; run < repeat; ++run)
                        PlayTemplate(previews[i], size, numStop, times, check, stem);
                    all.push_back(std::move(times));
                }
                Report(size, numStop, all, parser.isSet("per-template"));
            }
        }
        if (check.mode == FrameCheck::Mode::Compare)
            std::printf("%d frames compared: largest mean difference %.3f (%s), largest pixel difference %d "
                        "(%s)\n",
                        check.compared, check.worstMean, qPrintable(check.worstMeanFrame), check.worstPixel,
                        qPrintable(check.worstPixelFrame));
    } catch (const Error& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
