// Photo import with matching: a thousand 12-megapixel photos read (header and EXIF only, never decoded)
// and placed into templates of a small catalogue, with their slots, crops and backgrounds. Goal: the
// whole job under 2 s. "MatchOnly" runs the same job with the photo sizes already known, so the two
// figures split the time between reading files and matching. "OnePhotoIntoLargeAlbum" adds one photo to
// an album whose photos all wait for a slot: the import then matches them all, and must stay linear (or
// n log n) in their number.
#include "core/Album.h"
#include "core/Columns.h"
#include "core/TemplateCatalogue.h"
#include "photos/ImportJobs.h"
#include "tests/support/JpegFixtures.h"
#include "tests/support/TemplateFixture.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <benchmark/benchmark.h>

using namespace lumiset;

namespace {

constexpr int kPhotos = 1000;

// A 4000 x 3000 camera-like photo: a gradient with fine grain, so the file has a realistic size.
QByteArray cameraPhoto() {
    return test::EncodeJpeg(test::CameraLikePicture(7), 92);
}

struct World {
    test::TempTree tree;
    QStringList photos;
    std::unique_ptr<TemplateCatalogue> catalogue;
    qint64 fileSize = 0;

    World() {
        const struct {
            const char* name;
            const char* orientations;
            const char* pictures;
            const char* widths;
            const char* heights;
        } templates[] = {
            {"单张一", "|heng|", "|zp_1|", "|0|", "|0|"},
            {"单张二", "|heng|", "|zp_1|", "|1280|", "|720|"},
            {"单张三", "|shuheng|", "|zp_1|", "|0|", "|0|"},
            {"竖照", "|shu|", "|zp_1|", "|0|", "|0|"},
            {"双横", "|heng|heng|", "|zp_1|zp_2|", "|800|800|", "|450|450|"},
            {"三张", "|heng|heng|shu|", "|zp_1|zp_2|zp_3|", "|640|640|360|", "|360|360|640|"},
        };
        int stem = 0;
        for (const auto& t : templates) {
            test::TemplateSpec design;
            design.name = t.name;
            design.orientations = t.orientations;
            design.pictures = t.pictures;
            design.widths = t.widths;
            design.heights = t.heights;
            test::WriteTemplate(tree, QStringLiteral("t%1").arg(++stem), design);
        }
        catalogue = std::make_unique<TemplateCatalogue>(
            TemplateCatalogue::build(DataPaths(tree.path(), tree.path())));

        const QByteArray photo = cameraPhoto();
        fileSize = photo.size();
        for (int i = 0; i < kPhotos; ++i)
            photos << tree.write(QStringLiteral("photos/IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0')), photo);
        for (const QString& path : photos) { // into the page cache
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            benchmark::DoNotOptimize(file.readAll());
        }
    }
};

PhotoImportJobs jobsFor(const World& world, RandomSource& random, PhotoReader read) {
    return PhotoImportJobs(*world.catalogue, DataPaths(world.tree.path(), world.tree.path()), random, {},
                           std::move(read));
}

void ImportAndMatch(benchmark::State& state, const World* world) {
    SystemRandom random;
    const PhotoImportJobs jobs = jobsFor(*world, random, ReadPhotoRow);
    for (auto _ : state) {
        const Album album;
        Job job;
        const JobOutcome outcome = jobs.importPhotos(album, world->photos, {}, job);
        const auto& rows = outcome.album ? outcome.album->photos.rows() : QList<QStringList>();
        if (rows.size() != kPhotos || std::any_of(rows.begin(), rows.end(), [](const QStringList& photo) {
                return photo[PhotoCol::Status].isEmpty();
            }))
            state.SkipWithError("not every photo was placed");
        benchmark::DoNotOptimize(outcome);
    }
    state.SetItemsProcessed(state.iterations() * kPhotos);
    state.counters["file_MB"] = double(world->fileSize) / 1e6;
}

void MatchOnly(benchmark::State& state, const World* world) {
    QHash<QString, PhotoRow> known;
    for (const QString& path : world->photos)
        known.insert(path, ReadPhotoRow(path));
    SystemRandom random;
    const PhotoImportJobs jobs =
        jobsFor(*world, random, [&known](const QString& path) { return known[path]; });
    for (auto _ : state) {
        const Album album;
        Job job;
        benchmark::DoNotOptimize(jobs.importPhotos(album, world->photos, {}, job));
    }
    state.SetItemsProcessed(state.iterations() * kPhotos);
}

void OnePhotoIntoLargeAlbum(benchmark::State& state, const World* world) {
    const PhotoRow known = ReadPhotoRow(world->photos.first());
    Album large;
    for (int i = 0; i < state.range(0); ++i)
        AppendPhotoRow(large, known);
    SystemRandom random;
    const PhotoImportJobs jobs = jobsFor(*world, random, [&known](const QString&) { return known; });
    for (auto _ : state) {
        Job job;
        const JobOutcome outcome = jobs.importPhotos(large, {world->photos.first()}, {}, job);
        if (!outcome.album || outcome.album->photos.rowCount() != state.range(0) + 1 ||
            !outcome.album->pendingLandscape.isEmpty() || !outcome.album->pendingPortrait.isEmpty())
            state.SkipWithError("not every photo was placed");
        benchmark::DoNotOptimize(outcome);
    }
    state.SetItemsProcessed(state.iterations() * (state.range(0) + 1));
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const World world;
    benchmark::RegisterBenchmark("ImportAndMatch/1000_photos_12MP", ImportAndMatch, &world)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("MatchOnly/1000_photos", MatchOnly, &world)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("OnePhotoIntoLargeAlbum", OnePhotoIntoLargeAlbum, &world)
        ->Arg(25'000)
        ->Arg(50'000)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
