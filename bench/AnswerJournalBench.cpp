// Cost of the answer journal: one answer written to it (its line, the write
// and its share of the syncs), and the load of a full file that gives back
// a whole day's journal and saves the file.
#include "bench/BenchFiles.h"
#include "data/RecordFile.h"
#include "engine/AnswerJournal.h"
#include "engine/CommonUnit.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int kAnswersPerDay = 200;   // the benchmark files' daily quota

// One answer to the journal of the full file, its line made from the word's
// record as grading leaves it. The journal starts again, untimed, after a
// day's answers.
void BM_JournalAnswer(benchmark::State &state)
{
    const TBenchProgramFolder folder(kMaxWords);
    TCC cc;
    folder.Open(cc);
    cc.LoadLearningFile();
    const QString journal = AnswerJournalPath(cc.userFolder, cc.fileCode);
    const QString record = cc.RecordFilePath();
    TAnswerJournal writer;
    int answered = 0;
    for (auto _ : state) {
        if (answered == kAnswersPerDay) {
            state.PauseTiming();
            writer.Remove();
            answered = 0;
            state.ResumeTiming();
        }
        ++answered;
        const int word = 1 + answered * 97 % kMaxWords;
        TJournalEntry entry;
        entry.question = answered;
        entry.word = word;
        entry.correct = answered % 5 != 0;
        entry.raises = 1;
        entry.correctToday = answered;
        entry.day = cc.clock.Today().toJulianDay();
        entry.record = RecordFields(cc.words[word]).join(u'\t');
        writer.Append(journal, record, cc.fileCode, entry);
    }
    writer.Remove();
}
BENCHMARK(BM_JournalAnswer)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The load of the full file after a run of a day's answers was killed:
// the learning file, its record, the journal's answers given back and the
// end-of-file save (to compare with BM_LoadLearningFile).
void BM_LoadWithAnswerJournal(benchmark::State &state)
{
    const TBenchProgramFolder folder(kMaxWords);
    QByteArray journal;
    {
        TCC cc;
        if (!folder.OpenStudyRun(cc)) {
            state.SkipWithError("the file did not open");
            return;
        }
        for (int k = 0; k < kAnswersPerDay && cc.AskNextQuestion() == TAskResult::Asked; ++k)
            cc.GradeQuestion(k % 5 != 0);
        QFile file(AnswerJournalPath(cc.userFolder, cc.fileCode));
        if (file.open(QIODevice::ReadOnly))
            journal = file.readAll();
    }   // gone without closing the file: the journal stays
    for (auto _ : state) {
        state.PauseTiming();
        folder.Restore();
        TCC cc;
        folder.Open(cc);
        QFile file(AnswerJournalPath(cc.userFolder, cc.fileCode));
        if (!file.open(QIODevice::WriteOnly) || file.write(journal) != journal.size()) {
            state.SkipWithError("the journal could not be written");
            break;
        }
        file.close();
        state.ResumeTiming();
        cc.LoadLearningFile();
        if (QFile::exists(file.fileName())) {
            state.SkipWithError("the journal was not given back");
            break;
        }
    }
}
BENCHMARK(BM_LoadWithAnswerJournal)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}
