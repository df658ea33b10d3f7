// Start-up cost of the template catalogue: scan, load (20-layer packages), classify, count, publish.
#include "core/TemplateCatalogue.h"
#include "tests/support/TemplateFixture.h"

#include <benchmark/benchmark.h>

using namespace lumiset;

namespace {

void BM_BuildCatalogue(benchmark::State& state) {
    const auto& tree = test::VariedTemplateFolder(static_cast<int>(state.range(0)));
    const DataPaths paths(tree.path(), tree.path());
    for (auto _ : state) {
        TemplateCatalogue catalogue = TemplateCatalogue::build(paths);
        benchmark::DoNotOptimize(catalogue);
    }
    state.counters["templates"] = static_cast<double>(state.range(0));
}

} // namespace

BENCHMARK(BM_BuildCatalogue)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
