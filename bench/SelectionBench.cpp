// Cost of choosing the next question over a full 30000-word file.
#include "bench/BenchFiles.h"
#include "engine/CommonUnit.h"

#include <benchmark/benchmark.h>

namespace {
void BM_SelectNextQuestion(benchmark::State &state)
{
    TCC cc;
    FillRealisticWordTable(cc, kMaxWords);
    cc.SelectNextQuestion(TSelectMode::FirstOfDay);
    for (auto _ : state) {
        const int w = cc.SelectNextQuestion(TSelectMode::Next);
        benchmark::DoNotOptimize(w);
        // A right answer moves the word on, so the file keeps its shape.
        TTango &t = cc.words[w];
        if (t.level < 5)
            t.level += 1;
    }
    state.counters["due waiting"] = cc.todaysQuestions.Count();
}
BENCHMARK(BM_SelectNextQuestion)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

void BM_PrepareQuestion(benchmark::State &state)
{
    TCC cc;
    FillRealisticWordTable(cc, kMaxWords);
    cc.SelectNextQuestion(TSelectMode::FirstOfDay);
    cc.settings.typingForEvenLevels = 1;
    for (auto _ : state) {
        cc.training.remaining = cc.UsableQuota() - 1;
        const bool asked = cc.PrepareQuestion();
        benchmark::DoNotOptimize(asked);
        TTango &t = cc.words[cc.question.word];
        if (t.level < 5)
            t.level += 1;
    }
}
BENCHMARK(BM_PrepareQuestion)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);
}
