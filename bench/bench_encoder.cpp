// The album encoder's speed and memory: 300 album frames (12 s) panning across a photo-like picture,
// encoded into a finished file. Reports milliseconds per album frame (wall clock, and the CPU time of the
// whole process with the encoder's threads and the copying of the frames), the file's size and the
// process's peak memory.
#include "media/AlbumEncoder.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace lumiset;

namespace {

constexpr int kFrames = 300;

// Smooth gradients with soft shapes and fine grain, larger than the frame, so that panning shows new
// detail in every frame as a slide show does.
QImage photoLikePicture(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(70, 120, 200));
    sky.setColorAt(1, QColor(230, 200, 150));
    painter.fillRect(image.rect(), sky);
    quint32 seed = 7;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int i = 0; i < 60; ++i) {
        const QPointF centre(next() % size.width(), next() % size.height());
        const qreal radius = 20 + next() % 200;
        QRadialGradient blob(centre, radius);
        blob.setColorAt(0, QColor(next() % 256, next() % 256, next() % 256, 200));
        blob.setColorAt(1, QColor(0, 0, 0, 0));
        painter.setBrush(blob);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(centre, radius, radius);
    }
    painter.end();
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int grain = int(next() % 9) - 4;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + grain, 255), qBound(0, qGreen(p) + grain, 255),
                           qBound(0, qBlue(p) + grain, 255));
        }
    }
    return image;
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024; // kilobytes on Linux
}

// User and system time of the whole process, every thread's, in milliseconds.
double processMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](timeval t) { return double(t.tv_sec) * 1000 + double(t.tv_usec) / 1000; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Arguments: album type, picture quality, album frame height (720 or 1080).
void EncodeAlbum(benchmark::State& state) {
    const auto type = AlbumType(state.range(0));
    const auto quality = PictureQuality(state.range(1));
    const QSize size = state.range(2) == 720 ? QSize(1280, 720) : QSize(1920, 1080);
    const QImage photo = photoLikePicture(size + QSize(kFrames, kFrames / 2));
    QTemporaryDir folder;
    const QString path = folder.filePath("bench" + FileEnding(type));
    QElapsedTimer clock;
    double wall = 0;
    double cpu = 0;
    for (auto _ : state) {
        clock.start();
        const double cpuBefore = processMilliseconds();
        AlbumEncoder encoder({type, TvSystem::Pal, quality, size}, path, {}, kFrames);
        for (int i = 0; i < kFrames; ++i)
            encoder.addFrame(photo.copy(QRect(QPoint(i, i / 2), size)));
        encoder.finish();
        cpu += processMilliseconds() - cpuBefore;
        wall += double(clock.elapsed());
    }
    const double frames = double(kFrames) * double(state.iterations());
    state.counters["wall_ms_per_frame"] = wall / frames;
    state.counters["cpu_ms_per_frame"] = cpu / frames;
    state.counters["peak_MB"] = peakMegabytes();
    state.counters["file_kB"] = double(QFileInfo(path).size()) / 1024;
    state.SetLabel(QStringLiteral("%1 %2 %3p")
                       .arg(AlbumTypeWord(type), PictureQualityWord(quality))
                       .arg(size.height())
                       .toStdString());
}

} // namespace

BENCHMARK(EncodeAlbum)
    ->Args({int(AlbumType::MP4), int(PictureQuality::High), 720})
    ->Args({int(AlbumType::MP4), int(PictureQuality::High), 1080})
    ->Args({int(AlbumType::MP4), int(PictureQuality::Super), 1080})
    ->Args({int(AlbumType::DVD), int(PictureQuality::Super), 1080})
    ->Args({int(AlbumType::AVI), int(PictureQuality::Standard), 1080})
    ->Args({int(AlbumType::AVI), int(PictureQuality::High), 1080})
    ->Args({int(AlbumType::AVI), int(PictureQuality::Super), 1080})
    ->Args({int(AlbumType::WMV), int(PictureQuality::Standard), 1080})
    ->Args({int(AlbumType::WMV), int(PictureQuality::High), 1080})
    ->Args({int(AlbumType::WMV), int(PictureQuality::Super), 1080})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

BENCHMARK_MAIN();
