// The main window's photo page: nine 4000 x 3000 JPEGs drawn into their cells (118 x 80 less a 3-pixel
// margin) through the parallel renderer, from the request until the last picture has arrived on the
// interface thread. The goal is 150 ms a page. The serial run is the same work on one thread, to read
// the gain of decoding in parallel; "again" is a page whose pictures the renderer has kept.
// "ThumbnailList" is the photo list's screen of nine tiles (small, and enlarged 375 x 240): a new list over
// an album of the nine photos, from its showing until every tile in view has its picture.
#include "tests/support/JpegFixtures.h"
#include "tests/support/TempTree.h"
#include "ui/PhotoTileList.h"
#include "ui/PictureRenderer.h"
#include "ui/Workspace.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <benchmark/benchmark.h>

using namespace lumiset;

namespace {

constexpr int kPage = 9;
const QSize kCell(118, 80);
const QRect kArea = QRect(QPoint(0, 0), kCell).adjusted(3, 3, -3, -3);

// Nine camera-like photos, without EXIF thumbnails when `bare` (every picture is decoded then).
struct PhotoPage {
    test::TempTree tree;
    QList<ui::PictureRequest> requests;
    explicit PhotoPage(bool bare) {
        for (int i = 0; i < kPage; ++i) {
            const QImage picture = test::CameraLikePicture(i);
            const QByteArray thumbnail =
                bare ? QByteArray()
                     : test::EncodeJpeg(
                           picture.scaled(160, 120, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            const QString path =
                tree.write(QStringLiteral("IMG_%1.jpg").arg(i),
                           test::JpegWithExif(picture, test::ExifBlock{1, false, thumbnail}, 92));
            QFile file(path); // into the page cache
            file.open(QIODevice::ReadOnly);
            benchmark::DoNotOptimize(file.readAll());
            requests.append({path, kCell, kArea});
        }
    }
};

void DrawPage(ui::PictureRenderer& renderer, const PhotoPage& page) {
    QEventLoop loop;
    QObject::connect(&renderer, &ui::PictureRenderer::batchFinished, &loop, &QEventLoop::quit);
    renderer.render(page.requests);
    loop.exec();
}

// A page seen for the first time: a new renderer each time, so nothing is kept from before.
void ParallelPage(benchmark::State& state, const PhotoPage* page) {
    const ThumbnailLoader loader;
    for (auto _ : state) {
        ui::PictureRenderer renderer(loader);
        DrawPage(renderer, *page);
    }
    state.SetItemsProcessed(state.iterations() * kPage);
}

// The same page drawn again (back to it, or redrawn after the album changed): the kept pictures serve.
void PageAgain(benchmark::State& state, const PhotoPage* page) {
    const ThumbnailLoader loader;
    ui::PictureRenderer renderer(loader);
    DrawPage(renderer, *page);
    for (auto _ : state)
        DrawPage(renderer, *page);
    state.SetItemsProcessed(state.iterations() * kPage);
}

void SerialPage(benchmark::State& state, const PhotoPage* page) {
    const ThumbnailLoader loader;
    for (auto _ : state)
        for (const ui::PictureRequest& request : page->requests)
            benchmark::DoNotOptimize(loader.renderPanel(request.path, request.panel, request.area));
    state.SetItemsProcessed(state.iterations() * kPage);
}

struct ListCase {
    const PhotoPage* page;
    QSize tile;
};

void ThumbnailList(benchmark::State& state, ListCase list) {
    const test::TempTree data;
    ui::Workspace workspace(DataPaths(data.file("program"), data.file("work")), TemplateCatalogue());
    workspace.document.modify(QStringLiteral("照片"), [&](Album& album) {
        for (const ui::PictureRequest& request : list.page->requests)
            album.photos.appendRow({QString::number(album.photos.rowCount() + 1),
                                    QStringLiteral("IMG"),
                                    QStringLiteral(".jpg"),
                                    QStringLiteral("4000"),
                                    QStringLiteral("3000"),
                                    request.path,
                                    {}});
    });
    for (auto _ : state) {
        ui::PhotoTileList tiles(workspace);
        tiles.setTileSize(list.tile);
        tiles.resize((list.tile.width() + 20) * 3 + 30, (list.tile.height() + 40) * 3 + 30);
        QEventLoop loop;
        QObject::connect(&tiles, &ui::PhotoTileList::tilesShown, &loop, &QEventLoop::quit);
        tiles.show();
        loop.exec();
        if (tiles.pendingTiles() != 0)
            state.SkipWithError("tiles in view still missing");
    }
    state.SetItemsProcessed(state.iterations() * kPage);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const PhotoPage bare(true);
    const PhotoPage withThumbnails(false);
    benchmark::RegisterBenchmark("PhotoPage/parallel/no_exif_thumbnail", ParallelPage, &bare)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("PhotoPage/serial/no_exif_thumbnail", SerialPage, &bare)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("PhotoPage/parallel/exif_thumbnail", ParallelPage, &withThumbnails)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("PhotoPage/again/no_exif_thumbnail", PageAgain, &bare)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    for (const auto& [name, page] :
         {std::pair{"no_exif_thumbnail", &bare}, std::pair{"exif_thumbnail", &withThumbnails}}) {
        benchmark::RegisterBenchmark((std::string("ThumbnailList/small/") + name).c_str(), ThumbnailList,
                                     ListCase{page, ui::PhotoTileList::kSmallTile})
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((std::string("ThumbnailList/large/") + name).c_str(), ThumbnailList,
                                     ListCase{page, ui::PhotoTileList::kLargeTile})
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
