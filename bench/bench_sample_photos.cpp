// The sample photos are painted at every build, so the whole set must take well under five seconds on
// one core. Each photo is timed from painting to its JPEG bytes; the reference run only encodes an
// already painted photo, so each photo reads as "N encodes".
#include "tools/samples/JpegOutput.h"
#include "tools/samples/SamplePhotos.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

using namespace lumiset::tools;

namespace {

void PaintAndEncode(benchmark::State& state, const SamplePhoto* photo) {
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeSamplePhoto(*photo, 1));
}

void EncodeReference(benchmark::State& state) {
    const SamplePhoto& photo = SamplePhotos().front();
    const QImage painted = photo.paint(photo.size).toImage(Finish{});
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeBaselineJpeg(painted, kSampleQuality));
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::RegisterBenchmark("EncodeReference", EncodeReference)->Unit(benchmark::kMillisecond);
    for (const SamplePhoto& photo : SamplePhotos())
        benchmark::RegisterBenchmark(qPrintable(QStringLiteral("PaintAndEncode/") + photo.name),
                                     PaintAndEncode, &photo)
            ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
