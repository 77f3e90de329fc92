// Drawing the star view of a full file: it opens from a button, so the whole
// sky (every word's colour and pixel, and the pictures' places) must be
// ready at once.
#include "bench/BenchFiles.h"
#include "engine/CommonUnit.h"
#include "progress/CosmosUnit.h"

#include <benchmark/benchmark.h>

namespace {
void BM_DrawSky30000(benchmark::State &state)
{
    TCC cc;
    FillRealisticWordTable(cc, kMaxWords);
    GiveRealisticHistories(cc, kMaxWords);
    for (auto _ : state) {
        const QImage sky = DrawSky(cc, cc.random);
        const TSkyLayout layout = ArrangeSky(cc.words, cc.TangoTotal(), 7, 3);
        benchmark::DoNotOptimize(sky.constBits());
        benchmark::DoNotOptimize(layout.galaxy);
    }
}
BENCHMARK(BM_DrawSky30000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}
