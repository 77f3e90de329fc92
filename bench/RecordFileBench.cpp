// Cost of the record file and the stage rules over a full 30000-word file.
#include "bench/BenchFiles.h"
#include "data/RecordFile.h"
#include "engine/CommonUnit.h"
#include "base/DateText.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int kStage1Entries = 6;
constexpr int kStage2Entries = 12;
constexpr int kStage2EntryDays = 40;

// The realistic table, with the histories its levels imply.
void FillWithHistories(TCC &cc, QTemporaryDir &dir)
{
    FillRealisticWordTable(cc, kMaxWords);
    cc.userFolder = dir.path() + QStringLiteral("/");
    QDir().mkpath(cc.userFolder + QStringLiteral("record"));
    const QDate today = cc.clock.Today();
    for (int p = 1; p <= kMaxWords; ++p) {
        TTango &t = cc.words[p];
        if (t.stage == TStage::One && t.level >= 1 && t.level <= 5) {
            for (int k = 0; k < kStage1Entries; ++k)
                t.stage1History += QStringLiteral("%1[%2]").arg(k * 40).arg(1 + k % 5);
            t.stage1Count = kStage1Entries;
        } else if (t.stage == TStage::Two) {
            for (int k = kStage2Entries; k > 0; --k)
                t.stage2History += BuildDateText(today.addDays(-k * kStage2EntryDays + p % 30))
                                   + QStringLiteral("[%1]").arg(6 + k % 7);
            t.stage2Count = kStage2Entries;
        }
        RebuildHistoryArrays(t);
    }
}

void BM_SaveRecordFile(benchmark::State &state)
{
    TCC cc;
    QTemporaryDir dir;
    FillWithHistories(cc, dir);
    for (auto _ : state)
        cc.SaveRecordFile();
}
BENCHMARK(BM_SaveRecordFile)->Unit(benchmark::kMillisecond);

void BM_LoadRecordFile(benchmark::State &state)
{
    TCC cc;
    QTemporaryDir dir;
    FillWithHistories(cc, dir);
    cc.SaveRecordFile();
    for (auto _ : state)
        cc.LoadRecordFile();
}
BENCHMARK(BM_LoadRecordFile)->Unit(benchmark::kMillisecond);

void BM_AnyStageNoticeDue(benchmark::State &state)
{
    TCC cc;
    QTemporaryDir dir;
    FillWithHistories(cc, dir);
    for (auto _ : state)
        benchmark::DoNotOptimize(cc.AnyStageNoticeDue());
}
BENCHMARK(BM_AnyStageNoticeDue)->Unit(benchmark::kMicrosecond);

void BM_RetentionCurvesOfStage2Word(benchmark::State &state)
{
    TCC cc;
    QTemporaryDir dir;
    FillWithHistories(cc, dir);
    int position = 1;
    while (cc.words[position].stage != TStage::Two)
        ++position;
    for (auto _ : state)
        benchmark::DoNotOptimize(cc.RetentionCurvesOf(position));
}
BENCHMARK(BM_RetentionCurvesOfStage2Word)->Unit(benchmark::kMicrosecond);
}
