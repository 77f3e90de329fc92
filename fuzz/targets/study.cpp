// A study run on a record file of any content: whatever numbers, dates and
// histories the file holds, the learning rules run on them -- the stage
// rules and their notice lists, the level histogram, the forgetting curves,
// the first selection of the day, questions with their distractors, correct
// and wrong answers -- and the record they leave is saved and reads back.
// The input is the answers (first byte: one bit per question, 1 correct)
// followed by the record file.
#include "fuzz/FuzzTarget.h"

namespace {
constexpr int kFewestWords = 3;     // a smaller file is never started
constexpr int kMostWords = 400;
constexpr int kQuestions = 16;
}

TESSARION_FUZZ_TARGET(study, input)
{
    if (input.isEmpty())
        return;
    const quint16 answers = static_cast<unsigned char>(input.front()) * 0x0101u;
    input = input.sliced(1);
    const int words = qBound(kFewestWords, FuzzLineBound(input), kMostWords);

    TFuzzEngine &engine = FuzzEngine();
    TCC &cc = engine.cc();
    engine.Reset(QStringLiteral("TT"), 6, words, qMax(words, FuzzLineBound(input)));
    cc.catalog.dataVersion = 805;
    for (int p = 1; p <= words; ++p) {
        cc.words[p].number = p;
        cc.words[p].word = QStringLiteral("word%1").arg(p);
        cc.words[p].meanings[0] = QStringLiteral("意味%1").arg(p % 7);
    }
    engine.Write(QStringLiteral("user/record/Record_TT.dat"), input);
    const auto run = [&] {
        cc.LoadFileSettings();
        cc.LoadRecordFile();
        if (cc.AnyStageNoticeDue())
            cc.ApplyStageRules();
        cc.BuildLevelHistogram();
        for (int p = 1; p <= words; ++p) {
            cc.StageRuleOf(p);
            cc.RetentionCurvesOf(p);
        }
        cc.training.remaining = cc.UsableQuota();
        cc.training.correctToday = 0;
        cc.todaysQuestions.Clear();
        if (cc.SelectNextQuestion(TSelectMode::FirstOfDay) == 0)
            return;
        for (int k = 0; k < kQuestions && !cc.QuotaUsedUp(); ++k) {
            cc.training.remaining -= 1;
            if (!cc.PrepareQuestion())
                break;
            const int w = cc.question.word;
            FuzzExpect(TWordTable::IsPosition(w) && w <= words, "the question is a word of the file");
            for (int choice : cc.question.choices)
                FuzzExpect(choice >= 0 && choice <= words, "the choices are words of the file");
            if (answers & (1u << k))
                cc.ApplyCorrectAnswer(w);
            else
                cc.ApplyWrongAnswer(w);
            cc.RetentionCurvesOf(w);
        }
        cc.UpdateQuotaStatistics();
    };
    if (!FuzzCleanly(run))
        return;
    // What the rules leave is a record the program reads again.
    cc.SaveRecordFile();
    FuzzExpect(FuzzCleanly([&] { cc.LoadRecordFile(); }), "the record left by a study run reads back");
}
