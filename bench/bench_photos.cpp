// Photo import and thumbnails. The import reads only headers and EXIF blocks: a thousand 12-megapixel
// photos must read in well under two seconds, where decoding them would take about a minute. The
// reference run decodes one such photo fully, so the import can be read as "N full decodes".
#include "photos/PhotoFile.h"
#include "photos/ThumbnailLoader.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/TempTree.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

using namespace lumiset;

namespace {

constexpr int kPhotos = 1000;
constexpr int kPage = 9;

// A camera-like 4000 x 3000 photo taken upright (orientation 6): smooth colours with fine grain, so that
// the file has a realistic size, and a 160 x 120 EXIF thumbnail unless `withThumbnail` is false.
QByteArray cameraPhoto(bool withThumbnail) {
    const QImage picture = test::CameraLikePicture(42);
    const QImage thumbnail = picture.scaled(160, 120, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return test::JpegWithExif(
        picture, test::ExifBlock{6, false, withThumbnail ? test::EncodeJpeg(thumbnail) : ""}, 92);
}

struct PhotoFolder {
    test::TempTree tree;
    QStringList paths;
    QStringList pageWithoutExifThumbnails;
    qint64 fileSize = 0;

    PhotoFolder() {
        const QByteArray photo = cameraPhoto(true);
        fileSize = photo.size();
        for (int i = 0; i < kPhotos; ++i)
            paths << tree.write(QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0')), photo);
        const QByteArray bare = cameraPhoto(false);
        for (int i = 0; i < kPage; ++i)
            pageWithoutExifThumbnails << tree.write(QStringLiteral("bare_%1.jpg").arg(i), bare);
        for (const QString& path : paths + pageWithoutExifThumbnails) { // into the page cache
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            benchmark::DoNotOptimize(file.readAll());
        }
    }
};

void ImportHeaders(benchmark::State& state, const PhotoFolder* folder) {
    for (auto _ : state)
        for (const QString& path : folder->paths)
            benchmark::DoNotOptimize(ReadPhotoRow(path));
    state.SetItemsProcessed(state.iterations() * kPhotos);
}

void FullDecodeReference(benchmark::State& state, const PhotoFolder* folder) {
    for (auto _ : state)
        benchmark::DoNotOptimize(QImage(folder->paths.first()));
    state.counters["file_MB"] = double(folder->fileSize) / 1e6;
}

// A page of nine thumbnails of width x height (arguments 0 and 1), as the main window and the photo files
// window show them; argument 2 = 1 for photos with an EXIF thumbnail.
void ThumbnailPage(benchmark::State& state, const PhotoFolder* folder) {
    const QSize size(int(state.range(0)), int(state.range(1)));
    const QStringList& paths = state.range(2) ? folder->paths : folder->pageWithoutExifThumbnails;
    const ThumbnailLoader loader;
    for (auto _ : state)
        for (int i = 0; i < kPage; ++i)
            benchmark::DoNotOptimize(loader.renderPanel(paths[i], size, QRect(QPoint(0, 0), size)));
    state.SetItemsProcessed(state.iterations() * kPage);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const PhotoFolder folder;
    benchmark::RegisterBenchmark("ImportHeaders/1000_photos_12MP", ImportHeaders, &folder)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("FullDecodeReference/one_photo_12MP", FullDecodeReference, &folder)
        ->Unit(benchmark::kMillisecond);
    // Without EXIF thumbnails every picture is decoded at 1/8 (500 x 375); with them, the thumbnail serves
    // as long as it covers the picture (the portrait photo shows 112 x 150 in 200 x 150).
    benchmark::RegisterBenchmark("ThumbnailPage/nine", ThumbnailPage, &folder)
        ->ArgNames({"w", "h", "exif_thumbnail"})
        ->Args({200, 150, 0})
        ->Args({200, 150, 1})
        ->Args({375, 240, 1})
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
