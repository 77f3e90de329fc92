// The goal simulation on a 3000-word file with a realistic history (part
// new, part in stage 1, part in stage 2): to goal level 8 the fast way, and
// the literal way (an event pass and a 1 ms sleep per question) on the first
// 500 questions of the same run, to compare the cost per question.
#include "bench/BenchFiles.h"
#include "engine/CommonUnit.h"
#include "engine/GoalSimulation.h"

#include <QCoreApplication>
#include <QThread>
#include <benchmark/benchmark.h>

namespace {
constexpr int kWords = 3000;
constexpr int kGoal = 8;
constexpr int kLiteralQuestions = 500;

void SetPace(TCC &cc)
{
    cc.settings.learningDays = 30;
    cc.settings.overallCorrectRate = 80;
    cc.settings.averageAchievement = 100;
    cc.settings.firstTimeIncrement = 2;
    cc.training.remaining = cc.UsableQuota();
    cc.random.Seed(5);
}

void BM_GoalSimulationFast(benchmark::State &state)
{
    TCC cc;
    FillRealisticWordTable(cc, kWords);
    GiveRealisticHistories(cc, kWords);
    SetPace(cc);
    qint64 questions = 0;
    for (auto _ : state) {
        cc.random.Seed(5);
        const TSimulationResult result = TGoalSimulation(cc).Run(kGoal);
        questions = result.questions;
        if (!result.goalReached)
            state.SkipWithError("the goal was not reached");
    }
    state.counters["questions"] = static_cast<double>(questions);
}
BENCHMARK(BM_GoalSimulationFast)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

// The same run's first questions, each followed by what the literal way
// does; the fast way over the same questions for the ratio.
void GoalSimulationPrefix(benchmark::State &state, bool literal)
{
    TCC cc;
    FillRealisticWordTable(cc, kWords);
    GiveRealisticHistories(cc, kWords);
    SetPace(cc);
    for (auto _ : state) {
        cc.random.Seed(5);
        TGoalSimulation simulation(cc);
        int asked = 0;
        simulation.afterQuestion = [&] {
            if (literal) {
                QCoreApplication::processEvents();
                QThread::msleep(1);
            }
            return ++asked > kLiteralQuestions;
        };
        benchmark::DoNotOptimize(simulation.Run(kGoal).questions);
    }
}
void BM_GoalSimulationLiteral500(benchmark::State &state) { GoalSimulationPrefix(state, true); }
void BM_GoalSimulationFast500(benchmark::State &state) { GoalSimulationPrefix(state, false); }
BENCHMARK(BM_GoalSimulationLiteral500)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_GoalSimulationFast500)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
}
