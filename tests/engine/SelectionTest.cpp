#include "engine/CommonUnit.h"
#include "base/TError.h"
#include "base/DateText.h"
#include "data/RecordFile.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <utility>

namespace {
const QDate kToday(2024, 4, 1);
constexpr int kSlotTT = 6;
constexpr int kSlotU1 = 32;

// A built-in word file of n new words held in memory: word k is "wordk"
// with its own meaning.
class TSelectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        cc.clock.FixToday(kToday);
        cc.random.Seed(7);
        cc.fileCode = QStringLiteral("TT");
        cc.fileSlot = kSlotTT;
        cc.settings.dailyQuota = 80;
    }
    void MakeFile(int n)
    {
        for (int p = 1; p <= n; ++p) {
            TTango &t = cc.words[p];
            t.number = p;
            t.word = QStringLiteral("word%1x").arg(p);
            t.meanings[0] = QStringLiteral("意味%1").arg(p);
        }
        cc.catalog.rows[kSlotTT].TangoTotal = n;
        cc.catalog.rows[kSlotTT].DBTangoTotal = n;
    }
    void MakeUserFile(int n)
    {
        cc.fileCode = QStringLiteral("U1");
        cc.fileSlot = kSlotU1;
        cc.userFile = true;
        MakeFile(0);
        for (int p = 1; p <= n; ++p) {
            cc.words[p].number = p;
            cc.words[p].word = QStringLiteral("w%1").arg(p);
            cc.words[p].meanings[0] = QStringLiteral("m%1").arg(p);
        }
        cc.catalog.rows[kSlotU1].TangoTotal = n;
        cc.catalog.rows[kSlotU1].DBTangoTotal = n;
    }
    // Stage 2 at the level, due after the given number of days from today.
    void SetStage2(int p, int level, int dueInDays)
    {
        TTango &t = cc.words[p];
        t.stage = TStage::Two;
        t.level = level;
        t.stage1Counter = 0;
        t.nextDueDate = BuildDateText(kToday.addDays(dueInDays));
    }
    void SetStage1(int p, int level, int counter)
    {
        TTango &t = cc.words[p];
        t.stage = TStage::One;
        t.level = level;
        t.stage1Counter = counter;
    }
    int Next() { return cc.SelectNextQuestion(TSelectMode::Next); }

    TCC cc;
};
}

TEST_F(TSelectionTest, DueStage2WordsComeFirstThenStage1ThenNewWords)
{
    MakeFile(6);
    SetStage1(1, 2, 41);      // due: counter 41 > 40
    SetStage2(2, 7, 0);       // due today
    SetStage2(3, 6, -3);      // overdue
    SetStage2(4, 8, 1);       // tomorrow
    SetStage2(5, 11, -1);
    cc.words[5].stage = TStage::Three;    // stage 3 words are asked with stage 2
    // 6 is new.
    EXPECT_EQ(cc.SelectNextQuestion(TSelectMode::FirstOfDay), 2);
    EXPECT_EQ(cc.todaysQuestions.Count(), 3);   // the first entry stays in the list
    EXPECT_FALSE(cc.training.newWord);
    EXPECT_EQ(cc.words[1].stage1Counter, 41);   // the first pass moves no counter

    EXPECT_EQ(Next(), 2);
    EXPECT_EQ(cc.words[2].stage1Counter, 0);    // stage-2 words keep no counter
    EXPECT_EQ(Next(), 3);
    EXPECT_EQ(Next(), 5);
    EXPECT_EQ(Next(), 1);
    EXPECT_EQ(cc.words[1].stage1Counter, 1);
    EXPECT_FALSE(cc.training.newWord);
    EXPECT_EQ(Next(), 6);
    EXPECT_TRUE(cc.training.newWord);
    EXPECT_EQ(cc.words[6].stage1Counter, 1);
}

TEST_F(TSelectionTest, Level2WordFallsDueOnThe41stSelection)
{
    MakeFile(30);
    for (int p = 2; p <= 30; ++p)
        SetStage2(p, 6, 10);   // nothing else is due and nothing is new
    SetStage1(1, 2, 1);        // just asked
    for (int i = 1; i <= 40; ++i) {
        const int w = Next();
        ASSERT_NE(w, 1) << "selection " << i;
        EXPECT_TRUE(cc.training.randomQuestion);
    }
    EXPECT_EQ(cc.words[1].stage1Counter, 41);
    EXPECT_EQ(Next(), 1);
    EXPECT_FALSE(cc.training.randomQuestion);
    EXPECT_EQ(cc.words[1].stage1Counter, 1);
}

TEST_F(TSelectionTest, RetryRepeatsTheWordAndMovesNoCounter)
{
    MakeFile(5);
    SetStage1(1, 1, 5);
    SetStage1(2, 3, 9);
    cc.question.word = 4;
    cc.training.retryPending = true;
    cc.training.randomQuestion = true;   // a random question stays random on its retry
    EXPECT_EQ(Next(), 4);
    EXPECT_EQ(cc.words[1].stage1Counter, 5);
    EXPECT_EQ(cc.words[2].stage1Counter, 9);
    EXPECT_TRUE(cc.training.randomQuestion);
    cc.training.retryPending = false;
    Next();
    EXPECT_EQ(cc.words[1].stage1Counter, 6);
    EXPECT_EQ(cc.words[2].stage1Counter, 10);
}

TEST_F(TSelectionTest, CountersAtTheLargestValueAFileCanHoldStayThere)
{
    // A damaged or edited record file may hold any number in a counter.
    constexpr qint32 kLargest = std::numeric_limits<qint32>::max();
    MakeFile(5);
    SetStage1(1, 2, kLargest);
    TTango &t = cc.words[1];
    t.timesAsked = t.wrongCount = kLargest;
    cc.training.remaining = cc.UsableQuota() - 1;
    ASSERT_TRUE(cc.PrepareQuestion());
    ASSERT_EQ(cc.question.word, 1);
    EXPECT_EQ(t.timesAsked, kLargest);
    EXPECT_EQ(t.stage1Counter, 1);
    cc.ApplyWrongAnswer(1);
    EXPECT_EQ(t.wrongCount, kLargest);
    EXPECT_EQ(t.level, 1);
}

TEST_F(TSelectionTest, NewWordIsTheLowestNumber)
{
    MakeFile(5);
    for (int p = 1; p <= 5; ++p)
        SetStage2(p, 6, 5);
    cc.words[2].level = 0;
    cc.words[2].number = 40;
    cc.words[4].level = 0;
    cc.words[4].number = 12;
    cc.words[5].level = 0;
    cc.words[5].number = 12;
    EXPECT_EQ(Next(), 4);   // lower number than position 2; lower position than 5
}

TEST_F(TSelectionTest, NothingToAskAsksOnceThenGoesOnAtRandom)
{
    MakeFile(8);
    for (int p = 1; p <= 8; ++p)
        SetStage2(p, 7, 3);
    TFixedNoQuestionsAnswer end(TNoQuestionsChoice::End);
    cc.noQuestions = &end;
    EXPECT_EQ(cc.SelectNextQuestion(TSelectMode::FirstOfDay), 0);
    EXPECT_EQ(end.asked, 1);
    EXPECT_FALSE(cc.training.randomAcceptedToday);

    TFixedNoQuestionsAnswer goOn(TNoQuestionsChoice::GoOnRandom);
    cc.noQuestions = &goOn;
    EXPECT_NE(cc.SelectNextQuestion(TSelectMode::FirstOfDay), 0);
    EXPECT_TRUE(cc.training.randomAcceptedToday);
    for (int i = 0; i < 20; ++i) {
        const int w = Next();
        EXPECT_GE(w, 1);
        EXPECT_LE(w, 8);
        EXPECT_TRUE(cc.training.randomQuestion);
    }
    EXPECT_EQ(goOn.asked, 1);   // not asked again

    // Without an answerer the file simply ends.
    cc.training.randomAcceptedToday = false;
    cc.noQuestions = nullptr;
    EXPECT_EQ(Next(), 0);
}

// The study run's steps say "ask the learner" before they change anything:
// no quota counted, no counter moved, no flag cleared, however often they
// are tried; the step runs again once the learner goes on at random.
TEST_F(TSelectionTest, TheNoQuestionsStepChangesNothingUntilTheLearnerAnswers)
{
    MakeFile(8);
    for (int p = 1; p <= 8; ++p)
        SetStage2(p, 7, 3);
    cc.words[4].stage1Counter = 5;   // a stage-1 counter an older record left behind
    const auto records = [&] {
        QStringList all;
        for (int p = 1; p <= 8; ++p)
            all << RecordFields(std::as_const(cc.words)[p]).join(u'\t');
        return all;
    };
    TStudyRun &run = cc.studyRun;
    EXPECT_EQ(run.Begin(), TBeginResult::NoQuestions);
    EXPECT_FALSE(cc.training.randomAcceptedToday);
    run.GoOnWithRandomQuestions();
    EXPECT_EQ(run.Begin(), TBeginResult::Ready);
    ASSERT_EQ(run.Ask(), TAskResult::Asked);
    EXPECT_TRUE(cc.training.randomQuestion);
    run.Grade(true);

    // The learner's choice held for the day; without it the next question
    // waits for the learner again.
    cc.training.randomAcceptedToday = false;
    const QStringList before = records();
    const int remaining = cc.training.remaining;
    for (int tries = 0; tries < 3; ++tries) {
        EXPECT_EQ(run.Ask(), TAskResult::NoQuestions);
        EXPECT_EQ(cc.training.remaining, remaining);
        EXPECT_TRUE(cc.training.randomQuestion);
        EXPECT_EQ(records(), before);
    }
    run.GoOnWithRandomQuestions();
    ASSERT_EQ(run.Ask(), TAskResult::Asked);
    EXPECT_EQ(cc.training.remaining, remaining - 1);
    EXPECT_EQ(std::as_const(cc.words)[4].stage1Counter, 7);   // only the questions asked moved it
}

TEST_F(TSelectionTest, Stage1WordLeftStartsRandomQuestionsWithoutAsking)
{
    MakeFile(10);
    for (int p = 1; p <= 10; ++p)
        SetStage2(p, 8, 2);
    SetStage1(3, 4, 2);   // not due for a long time
    TFixedNoQuestionsAnswer end(TNoQuestionsChoice::End);
    cc.noQuestions = &end;
    for (int i = 0; i < 50; ++i) {
        const int w = Next();
        ASSERT_NE(w, 0);
        EXPECT_NE(w, 3);   // a built-in file never asks a stage-1 word at random
    }
    EXPECT_EQ(end.asked, 0);
    EXPECT_FALSE(cc.training.randomAcceptedToday);
}

TEST_F(TSelectionTest, ExcludedWordsDoNotHoldBackTheNoQuestionsCase)
{
    MakeFile(4);
    for (int p = 1; p <= 4; ++p)
        SetStage2(p, 9, 4);
    cc.words[2] = TTango{};
    cc.words[2].number = 2;
    cc.words[2].level = kExcludedLevel;   // stage 1, but never asked again
    TFixedNoQuestionsAnswer end(TNoQuestionsChoice::End);
    cc.noQuestions = &end;
    EXPECT_EQ(Next(), 0);
    EXPECT_EQ(end.asked, 1);
}

TEST_F(TSelectionTest, UserFileMayDrawStage1WordsAtRandom)
{
    MakeUserFile(6);
    for (int p = 1; p <= 6; ++p)
        SetStage1(p, 3, 2);
    std::set<int> drawn;
    for (int i = 0; i < 200; ++i)
        drawn.insert(Next());
    EXPECT_EQ(drawn, (std::set<int>{1, 2, 3, 4, 5, 6}));
}

TEST_F(TSelectionTest, RandomDrawWithNoAcceptableWordEndsTheFile)
{
    MakeFile(5);
    for (int p = 1; p <= 5; ++p)
        SetStage1(p, 3, 2);   // all in stage 1, none due, none new
    EXPECT_EQ(Next(), 0);
    EXPECT_TRUE(cc.training.randomQuestion);

    // Every word excluded: nothing at all, also in a user file.
    MakeUserFile(3);
    cc.training.randomAcceptedToday = true;
    for (int p = 1; p <= 3; ++p)
        cc.words[p].level = kExcludedLevel;
    EXPECT_EQ(Next(), 0);
}

TEST_F(TSelectionTest, GoalSimulationGetsNoRandomQuestions)
{
    MakeFile(4);
    for (int p = 1; p <= 4; ++p)
        SetStage2(p, 9, 4);
    SetStage1(1, 2, 3);
    cc.simulationRunning = true;
    EXPECT_EQ(Next(), 0);
    cc.training.randomAcceptedToday = true;   // accepted before the simulation started
    EXPECT_NE(Next(), 0);
}

TEST_F(TSelectionTest, QuestionListNeverGrowsPastItsCapacity)
{
    MakeFile(kMaxWords);
    for (int p = 1; p <= kMaxWords; ++p)
        SetStage2(p, 6, -1);
    EXPECT_EQ(cc.SelectNextQuestion(TSelectMode::FirstOfDay), 1);
    EXPECT_EQ(cc.todaysQuestions.Count(), kQuestionListCapacity);
    EXPECT_EQ(cc.todaysQuestions.At(kQuestionListCapacity - 1), kQuestionListCapacity);
    EXPECT_EQ(Next(), 1);
    EXPECT_EQ(Next(), 2);
}

TEST_F(TSelectionTest, DistractorsShareNoMeaningAndAreNotContained)
{
    MakeFile(12);
    cc.words[1].word = QStringLiteral("category");
    cc.words[2].word = QStringLiteral("cat");              // inside "category"
    cc.words[3].meanings[1] = cc.words[1].meanings[0];     // shares a meaning
    cc.words[4].word = QStringLiteral("oat");
    for (int i = 0; i < 300; ++i) {
        const int first = cc.DrawDistractor(1, 0);
        const int second = cc.DrawDistractor(1, first);
        for (int d : {first, second}) {
            EXPECT_NE(d, 1);
            EXPECT_NE(d, 2);
            EXPECT_NE(d, 3);
        }
        EXPECT_NE(first, second);
    }
    // The second distractor's form must not sit inside the first one's.
    cc.words[5].word = QStringLiteral("goat");
    for (int i = 0; i < 300; ++i)
        EXPECT_NE(cc.DrawDistractor(1, 5), 4);
}

TEST_F(TSelectionTest, ThreeWordFileAlwaysGetsTwoDistractors)
{
    const struct {
        const char *a;
        const char *b;
        const char *c;
        bool sameMeaning;
    } files[] = {
        {"inside", "in", "ins", false},    // both others inside the asked word
        {"big", "large", "huge", true},    // one shared meaning
        {"abcd", "ab", "abc", true},       // both
    };
    for (const auto &f : files) {
        MakeFile(3);
        cc.words[1].word = QString::fromUtf8(f.a);
        cc.words[2].word = QString::fromUtf8(f.b);
        cc.words[3].word = QString::fromUtf8(f.c);
        if (f.sameMeaning)
            for (int p = 1; p <= 3; ++p)
                cc.words[p].meanings[0] = QStringLiteral("大きい");
        for (int round = 0; round < 30; ++round) {
            cc.training = {};
            cc.training.remaining = cc.UsableQuota() - 1;
            for (int p = 1; p <= 3; ++p)
                cc.words[p].level = 0;
            ASSERT_TRUE(cc.PrepareQuestion());
            std::set<int> choices(cc.question.choices.begin(), cc.question.choices.end());
            EXPECT_EQ(choices, (std::set<int>{1, 2, 3})) << f.a;
            EXPECT_EQ(cc.question.choices[static_cast<size_t>(cc.question.correctPosition - 1)], cc.question.word);
        }
    }
}

TEST_F(TSelectionTest, PrepareQuestionCountsAndRecordsTheWord)
{
    MakeFile(10);
    cc.training.remaining = cc.UsableQuota();
    std::set<int> positions;
    for (int k = 1; k <= 5; ++k) {
        cc.training.remaining -= 1;
        ASSERT_TRUE(cc.PrepareQuestion());
        EXPECT_EQ(cc.askedWords.At(k), cc.question.word);
        EXPECT_EQ(cc.words[cc.question.word].timesAsked, 1);
        positions.insert(cc.question.correctPosition);
        cc.words[cc.question.word].level = 2;   // answered
    }
    EXPECT_EQ(cc.askedWords.Count(), 5);
    EXPECT_GT(positions.size(), 1u);   // the correct position is drawn
}

TEST_F(TSelectionTest, TypingQuestionPutsTheWordFirstAndKeepsItOnRetry)
{
    MakeFile(10);
    cc.settings.typingForEvenLevels = 1;
    SetStage1(1, 2, 41);
    cc.training.remaining = cc.UsableQuota() - 1;
    ASSERT_TRUE(cc.PrepareQuestion());
    EXPECT_EQ(cc.question.word, 1);
    EXPECT_TRUE(cc.question.typing.typing);
    EXPECT_EQ(cc.question.correctPosition, 1);
    EXPECT_EQ(cc.question.choices[0], 1);
    // Wrong: level 1 now, but the retry is still typed.
    cc.words[1].level = 1;
    cc.training.retryPending = true;
    cc.training.remaining -= 1;
    ASSERT_TRUE(cc.PrepareQuestion());
    EXPECT_EQ(cc.question.word, 1);
    EXPECT_TRUE(cc.question.typing.typing);
    EXPECT_EQ(cc.askedWords.At(2), 1);
    EXPECT_EQ(cc.words[1].timesAsked, 2);
}

TEST_F(TSelectionTest, AskedWordListIsBoundedWhateverTheQuota)
{
    MakeFile(400);
    cc.settings.dailyQuota = 500;   // a damaged settings file
    EXPECT_EQ(cc.UsableQuota(), kAskedWordCapacity);
    cc.training.remaining = cc.UsableQuota();
    int asked = 0;
    while (!cc.QuotaUsedUp()) {
        cc.training.remaining -= 1;
        ASSERT_TRUE(cc.PrepareQuestion());
        ++asked;
    }
    EXPECT_EQ(asked, kAskedWordCapacity);
    EXPECT_EQ(cc.askedWords.Count(), kAskedWordCapacity);
    EXPECT_EQ(cc.settings.dailyQuota, 500);   // kept as stored
    cc.askedWords.Set(kAskedWordCapacity + 1, 7);
    cc.askedWords.Set(0, 7);
    cc.askedWords.Set(-3, 7);
    EXPECT_EQ(cc.askedWords.At(kAskedWordCapacity + 1), 0);
}

TEST_F(TSelectionTest, WithoutAQuotaTheRunCountsOnAndTheAchievementStays)
{
    MakeFile(400);
    cc.settings.dailyQuota = 0;   // an old settings file
    cc.training.remaining = cc.UsableQuota();
    for (int k = 1; k <= kAskedWordCapacity + 5; ++k) {
        ASSERT_FALSE(cc.QuotaUsedUp()) << k;
        cc.training.remaining -= 1;
        ASSERT_TRUE(cc.PrepareQuestion());
    }
    EXPECT_EQ(cc.AskedCount(), kAskedWordCapacity + 5);
    EXPECT_EQ(cc.askedWords.Count(), kAskedWordCapacity);
    cc.training.correctToday = 41;
    cc.settings.averageAchievement = 90;
    cc.settings.learningDays = 3;
    cc.UpdateQuotaStatistics();
    EXPECT_EQ(cc.settings.answersTotal, kAskedWordCapacity + 5);
    EXPECT_EQ(cc.settings.overallCorrectRate, 20);   // 41 of 205
    EXPECT_EQ(cc.settings.averageAchievement, 90);
}

TEST_F(TSelectionTest, QuotaStatistics)
{
    cc.settings.dailyQuota = 80;
    cc.training.remaining = 20;   // 60 asked, file closed early
    cc.training.correctToday = 45;
    EXPECT_EQ(cc.QuotaCorrectRate(), 75);
    cc.settings.answersTotal = 100;
    cc.settings.overallCorrectRate = 60;
    cc.settings.learningDays = 2;
    cc.settings.averageAchievement = 90;
    cc.UpdateQuotaStatistics();
    EXPECT_EQ(cc.settings.overallCorrectRate, 65);   // (100*60 + 60*75) / 160 = 65.6
    EXPECT_EQ(cc.settings.answersTotal, 160);
    EXPECT_EQ(cc.settings.averageAchievement, 85);   // (75 + 90*2) / 3
    EXPECT_EQ(cc.settings.learningDays, 2);          // counted by the file end

    // First day: the day's figures become the overall ones.
    cc.settings = {};
    cc.settings.dailyQuota = 80;
    cc.UpdateQuotaStatistics();
    EXPECT_EQ(cc.settings.overallCorrectRate, 75);
    EXPECT_EQ(cc.settings.averageAchievement, 75);

    // Nothing asked: nothing changes.
    cc.training.remaining = 80;
    const TFileSettings before = cc.settings;
    EXPECT_EQ(cc.QuotaCorrectRate(), 0);
    cc.UpdateQuotaStatistics();
    EXPECT_EQ(cc.settings, before);
}

TEST_F(TSelectionTest, FileQueueOrdersByOrderThenSlot)
{
    auto &rows = cc.catalog.rows;
    const auto row = [&](int slot, const char *code, const char *onOff, const char *order, QString popUpDate = {}) {
        rows[slot].Code = QString::fromLatin1(code);
        rows[slot].OnOff = SwitchFromText(QString::fromLatin1(onOff));
        rows[slot].Order = QString::fromLatin1(order);
        rows[slot].PopUpDate = popUpDate;
    };
    row(6, "TT", "ON", "5");
    row(7, "TJ", "ON", "3");
    row(8, "IT", "ON", "5");
    row(27, "DT", "ON", "2", ShortDateText(kToday.addDays(1)));   // pops up tomorrow
    row(28, "DJ", "ON", "1", ShortDateText(kToday));              // today: back in the queue
    row(32, "U1", "OFF", "1");
    row(33, "U2", "ON", "0");                                     // never queued
    row(34, "U3", "ON", "4");
    cc.BuildFileQueue();
    ASSERT_EQ(cc.fileQueue.Count(), 5);
    const QStringList expected{QStringLiteral("DJ"), QStringLiteral("TJ"), QStringLiteral("U3"),
                               QStringLiteral("TT"), QStringLiteral("IT")};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(cc.fileQueue.At(i), expected.at(i));

    EXPECT_TRUE(cc.SelectNextLearningFile(false));
    EXPECT_EQ(cc.fileCode, QStringLiteral("DJ"));
    EXPECT_EQ(cc.fileQueue.Count(), 5);
    EXPECT_TRUE(cc.SelectNextLearningFile(true));
    EXPECT_EQ(cc.fileSlot, 28);
    EXPECT_EQ(cc.fileQueue.First(), QStringLiteral("TJ"));
    cc.SelectNextLearningFile(true);
    EXPECT_TRUE(cc.SelectNextLearningFile(true));
    EXPECT_EQ(cc.fileCode, QStringLiteral("U3"));
    EXPECT_TRUE(cc.userFile);
    cc.SelectNextLearningFile(true);
    cc.SelectNextLearningFile(true);
    EXPECT_FALSE(cc.SelectNextLearningFile(true));   // all done

    rows[6].Order = QStringLiteral("x");
    EXPECT_THROW(cc.BuildFileQueue(), TFatalError);
}

TEST(QuestionList, KeepsOrderAcrossItsEndAndRefusesDuplicates)
{
    TQuestionList list;
    for (int p = 1; p <= kQuestionListCapacity; ++p)
        ASSERT_TRUE(list.Append(p));
    EXPECT_FALSE(list.Append(kQuestionListCapacity + 1));   // full
    EXPECT_EQ(list.TakeFirst(), 1);
    EXPECT_EQ(list.TakeFirst(), 2);
    EXPECT_FALSE(list.Append(5));                            // already waiting
    EXPECT_TRUE(list.Append(1));
    EXPECT_TRUE(list.Append(20000));
    EXPECT_FALSE(list.Append(20001));
    EXPECT_EQ(list.Count(), kQuestionListCapacity);
    EXPECT_EQ(list.At(kQuestionListCapacity - 2), 1);
    EXPECT_EQ(list.At(kQuestionListCapacity - 1), 20000);
    for (int p = 3; p <= kQuestionListCapacity; ++p)
        ASSERT_EQ(list.TakeFirst(), p);
    EXPECT_EQ(list.TakeFirst(), 1);
    EXPECT_EQ(list.TakeFirst(), 20000);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.TakeFirst(), 0);
    EXPECT_FALSE(list.Append(0));
    EXPECT_FALSE(list.Append(kMaxWords + 1));
}
