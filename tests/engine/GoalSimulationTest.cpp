// The goal simulation runs the real rules and leaves no trace.
#include "engine/CommonUnit.h"
#include "engine/GoalSimulation.h"
#include "support/EngineFolder.h"

#include "data/RecordFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {
// A file of n words with earlier statistics: 4 learning days, 80 % right,
// a quota of 50 fully achieved.
struct TSimulationEnv : TEngineFolder {
    explicit TSimulationEnv(int n = 30) : TEngineFolder(QStringLiteral("TT"), 6, n)
    {
        TFileSettings &s = cc.settings;
        s.version = 805;
        s.learningStartDate = QStringLiteral("2009/06/01");
        s.learningDays = 4;
        s.overallCorrectRate = 80;
        s.averageAchievement = 100;
        s.dailyQuota = 50;
        s.firstTimeIncrement = 1;
        cc.training.remaining = 50;
        for (int p = 1; p <= n; ++p) {
            cc.words[p].word = QStringLiteral("w%1").arg(p);
            cc.InitWordRecord(p);
        }
        cc.random.Seed(3);
    }
};

// Every record field of the first n words, as the record file holds them.
QStringList Records(TCC &cc, int n)
{
    QStringList records;
    for (int p = 1; p <= n; ++p)
        records.append(RecordFields(cc.words[p]).join(u'\t'));
    return records;
}
}

// How the windows are kept alive changes nothing: the same words are chosen,
// the same days pass. (A literal run sleeps 1 ms a question, so both stop
// after the same number of questions here.)
TEST(GoalSimulation, LiteralAndFastRunsGiveTheSameAnswer)
{
    constexpr int kQuestions = 600;
    TSimulationResult runs[2];
    for (int literal = 0; literal < 2; ++literal) {
        TSimulationEnv env(120);
        TGoalSimulation simulation(env.cc);
        int asked = 0;
        simulation.afterQuestion = [&] {
            if (literal) {
                QCoreApplication::processEvents();
                QThread::msleep(1);
            }
            return ++asked > kQuestions;
        };
        runs[literal] = simulation.Run(6);
    }
    EXPECT_GT(runs[0].days, 3);
    EXPECT_EQ(runs[0].days, runs[1].days);
    EXPECT_EQ(runs[0].questions, runs[1].questions);
    EXPECT_EQ(runs[0].histogram, runs[1].histogram);
    EXPECT_EQ(runs[0].chosenWordsHash, runs[1].chosenWordsHash);
}

// A small file runs out of new words, and its last stage-1 words wait for
// questions that no longer come: the goal is not reached within 3000 days,
// and the run says 3001.
TEST(GoalSimulation, AGoalNotReachedWithinTheLimitEndsAt3001Days)
{
    TSimulationEnv env(300);
    const TSimulationResult result = TGoalSimulation(env.cc).Run(6);
    EXPECT_FALSE(result.goalReached);
    EXPECT_TRUE(result.dayLimitReached);
    EXPECT_EQ(result.days, kSimulationDayLimit + 1);
    int known = 0;
    for (int level = kFirstStage2Level; level <= kTopLevel; ++level)
        known += result.histogram[static_cast<size_t>(level)];
    EXPECT_GT(known, 200);
}

TEST(GoalSimulation, ARunLeavesNoTrace)
{
    for (const bool abort : {false, true}) {
        SCOPED_TRACE(abort ? "aborted" : "to the goal");
        TSimulationEnv env;
        env.cc.words[2].level = 3;
        env.cc.todaysQuestions.Append(5);
        env.cc.training.remaining = 41;
        env.cc.training.retryPending = true;
        env.cc.training.correctToday = 7;
        const QStringList before = Records(env.cc, 30);
        TGoalSimulation simulation(env.cc);
        int asked = 0;
        simulation.afterQuestion = [&] { return abort && ++asked > 120; };
        const TSimulationResult result = simulation.Run(7);
        EXPECT_EQ(result.aborted, abort);
        EXPECT_EQ(Records(env.cc, 30), before);
        EXPECT_EQ(env.cc.todaysQuestions.Count(), 1);
        EXPECT_EQ(env.cc.todaysQuestions.First(), 5);
        EXPECT_EQ(env.cc.training.remaining, 41);
        EXPECT_TRUE(env.cc.training.retryPending);
        EXPECT_EQ(env.cc.training.correctToday, 7);
        EXPECT_EQ(env.cc.clock.DayOffset(), 0);
        EXPECT_FALSE(env.cc.simulationRunning);
        // Nothing was written.
        EXPECT_TRUE(QDir(env.cc.userFolder + QStringLiteral("record")).isEmpty());
    }
}

namespace {
// The whole state of a study run, field by field.
QString RunStateText(const TRunState &run)
{
    const TTrainingState &t = run.training;
    const TQuestion &q = run.question;
    QString text = QStringLiteral("retry %1 random %2 new %3 accepted %4 correct %5 remaining %6\n")
                       .arg(t.retryPending).arg(t.randomQuestion).arg(t.newWord).arg(t.randomAcceptedToday)
                       .arg(t.correctToday).arg(t.remaining);
    text += QStringLiteral("question %1 %2/%3/%4 @%5 typing %6 %7 %8\n")
                .arg(q.word).arg(q.choices[0]).arg(q.choices[1]).arg(q.choices[2]).arg(q.correctPosition)
                .arg(q.typing.typing).arg(q.typing.lookAlike).arg(q.typing.hint);
    text += QStringLiteral("today");
    for (int i = 0; i < run.todaysQuestions.Count(); ++i)
        text += QStringLiteral(" %1").arg(run.todaysQuestions.At(i));
    text += QStringLiteral("\nasked");
    for (int k = 1; k <= kAskedWordCapacity; ++k)
        text += QStringLiteral(" %1").arg(run.askedWords.At(k));
    text += QStringLiteral("\nqueue");
    for (int i = 0; i < run.fileQueue.Count(); ++i)
        text += QStringLiteral(" ") + run.fileQueue.At(i);
    return text;
}
}

// In the middle of a run, a wrong answer waiting for its retry: the run,
// to the goal or aborted, leaves the study run's whole state and every
// record as they were, and the retry asks the same word.
TEST(GoalSimulation, ARunPutsBackTheWholeStudyRunState)
{
    for (const bool abort : {false, true}) {
        SCOPED_TRACE(abort ? "aborted" : "to the goal");
        TSimulationEnv env(60);
        TCC &cc = env.cc;
        cc.fileQueue.Append(QStringLiteral("DT"));
        ASSERT_TRUE(cc.BeginStudyRun());
        for (int k = 0; k < 6; ++k) {
            ASSERT_EQ(cc.AskNextQuestion(), TAskResult::Asked);
            cc.GradeQuestion(k % 2 == 0);
        }
        ASSERT_TRUE(cc.training.retryPending);
        const int retried = cc.question.word;
        const QString before = RunStateText(cc.studyRun.state);
        const QStringList records = Records(cc, 60);

        TGoalSimulation simulation(cc);
        int asked = 0;
        simulation.afterQuestion = [&] { return abort && ++asked > 200; };
        const TSimulationResult result = simulation.Run(6);
        EXPECT_EQ(result.aborted, abort);
        EXPECT_GT(result.questions, 0);

        EXPECT_EQ(RunStateText(cc.studyRun.state).toStdString(), before.toStdString());
        EXPECT_EQ(Records(cc, 60), records);
        EXPECT_EQ(cc.clock.DayOffset(), 0);
        EXPECT_FALSE(cc.simulationRunning);
        ASSERT_EQ(cc.AskNextQuestion(), TAskResult::Asked);
        EXPECT_EQ(cc.question.word, retried);
    }
}

TEST(GoalSimulation, RefusalsAndTheirMessages)
{
    const struct {
        const char *what;
        int goal, days, quota, achievement;
        bool selfReport;
        const char *message;   // the start of the refusal, or nullptr
    } cases[] = {
        {"self-report first", 6, 4, 50, 100, true, "古いバージョンからご使用の方は"},
        {"no goal", 0, 4, 50, 100, false, "目標を選択してください"},
        {"two days", 6, 2, 50, 100, false, "まだ学習記録が少ないので予測できません。"},
        {"29 a day", 6, 4, 50, 59, false, "1 日の平均ノルマ処理数の実績が少なすぎる"},
        {"30 a day", 6, 4, 50, 60, false, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TSimulationEnv env;
        env.cc.settings.learningDays = c.days;
        env.cc.settings.dailyQuota = c.quota;
        env.cc.settings.averageAchievement = c.achievement;
        const auto refusal = TGoalSimulation(env.cc).Refusal(c.goal, c.selfReport);
        if (c.message)
            EXPECT_TRUE(refusal && refusal->startsWith(QString::fromUtf8(c.message)));
        else
            EXPECT_FALSE(refusal);
    }
}

TEST(GoalSimulation, ExcludedWordsReachEveryGoalAtTheFirstDayChange)
{
    TSimulationEnv env(40);
    for (int p = 1; p <= 38; ++p)
        env.cc.words[p].level = kExcludedLevel;   // 95 % excluded, 5 % new
    const TSimulationResult result = TGoalSimulation(env.cc).Run(10);
    EXPECT_TRUE(result.goalReached);
    EXPECT_EQ(result.days, 0);
    EXPECT_EQ(result.questions, 2);   // day 0 still asks its questions: both new words
}
