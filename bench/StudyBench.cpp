// Cost of loading a full learning file with its record, and of a whole
// headless study run of 200 questions on it.
#include "bench/BenchFiles.h"
#include "engine/CommonUnit.h"

#include <benchmark/benchmark.h>

namespace {
void BM_LoadLearningFile(benchmark::State &state)
{
    const TBenchProgramFolder folder(kMaxWords);
    TCC cc;
    folder.Open(cc);
    for (auto _ : state) {
        state.PauseTiming();
        cc.words.Clear();
        state.ResumeTiming();
        cc.LoadLearningFile();
        benchmark::DoNotOptimize(cc.words[kMaxWords].level);
    }
}
BENCHMARK(BM_LoadLearningFile)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

void BM_ClearWordTable(benchmark::State &state)
{
    TCC cc;
    for (auto _ : state) {
        state.PauseTiming();
        FillRealisticWordTable(cc, kMaxWords);
        state.ResumeTiming();
        cc.words.Clear();
    }
}
BENCHMARK(BM_ClearWordTable)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

void BM_StudyRun200(benchmark::State &state)
{
    const TBenchProgramFolder folder(kMaxWords);
    const QList<TScriptedAnswer> answers(200, TScriptedAnswer{true, std::nullopt});
    for (auto _ : state) {
        state.PauseTiming();
        folder.Restore();
        TCC cc;
        folder.Open(cc);
        cc.fileQueue.Append(cc.fileCode);
        state.ResumeTiming();
        const TScriptedRunResult run = RunScriptedStudy(cc, answers);
        if (run.questions.size() != 200)
            state.SkipWithError("the run did not ask 200 questions");
    }
}
BENCHMARK(BM_StudyRun200)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// One question of a study run on the full file: choose the word, draw its
// choices, decide typing, judge and grade (a right answer four times in
// five). A new run starts, untimed, when the quota is used up.
void BM_StudyRunQuestion(benchmark::State &state)
{
    const TBenchProgramFolder folder(kMaxWords);
    TCC cc;
    if (!folder.OpenStudyRun(cc)) {
        state.SkipWithError("the file did not open");
        return;
    }
    int asked = 0;
    for (auto _ : state) {
        if (cc.QuotaUsedUp()) {
            state.PauseTiming();
            cc.BeginStudyRun();
            state.ResumeTiming();
        }
        if (cc.AskNextQuestion() != TAskResult::Asked) {
            state.SkipWithError("nothing to ask");
            break;
        }
        const bool right = ++asked % 5 != 0;
        cc.GradeQuestion(cc.JudgeAnswer(right ? cc.question.correctPosition : 0, true, QString()));
    }
}
BENCHMARK(BM_StudyRunQuestion)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
}
