// Start-up cost of the template catalogue: scan, load (20-layer packages), classify, count, publish.
#include "core/TemplateCatalogue.h"
#include "tests/support/TemplateFixture.h"

#include <benchmark/benchmark.h>

using namespace lumiset;

namespace {

const test::TempTree& dataFolderOf(int templates) {
    static std::map<int, std::unique_ptr<test::TempTree>> trees;
    auto& tree = trees[templates];
    if (!tree) {
        tree = std::make_unique<test::TempTree>();
        const char* orientations[] = {"|heng|", "|shu|", "|shuheng|", "|heng|shu|", "|heng|heng|shu|shu|"};
        const char* pictures[] = {"|zp_1|", "|zp_1|", "|zp_1|", "|zp_1|zp_2|", "|zp_1|zp_2|zp_3|zp_4|"};
        for (int i = 0; i < templates; ++i) {
            test::TemplateSpec design;
            design.name = QStringLiteral("模板%1").arg(i);
            design.orientations = orientations[i % 5];
            design.pictures = pictures[i % 5];
            design.positions = "|50|200|";
            design.mandatoryMarks = "|A|B|";
            test::WriteTemplate(*tree, QStringLiteral("c%1/t%2").arg(i / 50).arg(i, 4, 10, QLatin1Char('0')),
                                design);
        }
    }
    return *tree;
}

void BM_BuildCatalogue(benchmark::State& state) {
    const auto& tree = dataFolderOf(static_cast<int>(state.range(0)));
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
