// The numbers of the status window.
#include "engine/LearningStatus.h"
#include "engine/CommonUnit.h"
#include "support/EngineFolder.h"

#include <gtest/gtest.h>

namespace {
// A file of `words` words started on 2009/7/1 ("today" is 2009/7/5), with
// statistics of earlier runs.
struct TStatusEnv : TEngineFolder {
    explicit TStatusEnv(int words = 100) : TEngineFolder(QStringLiteral("TT"), 6, words)
    {
        cc.catalog.rows[6].Title = QStringLiteral("TOEIC 英単語");
        TFileSettings &s = cc.settings;
        s.version = 805;
        s.learningStartDate = QStringLiteral("2009/07/01");
        s.learningDays = 3;
        s.answersTotal = 150;
        s.overallCorrectRate = 60;
        s.averageAchievement = 90;
        s.dailyQuota = 50;
        cc.training.remaining = 50;   // nothing answered yet
        cc.training.correctToday = 0;
    }
    void Answer(int asked, int correct)
    {
        cc.training.remaining -= asked;
        cc.training.correctToday += correct;
    }
};
}

TEST(LearningStatus, StatisticsOfEachMode)
{
    const struct {
        const char *what;
        TStatusMode mode;
        int asked, correct;
        int days, runs, today, total, answered, achievement;
    } cases[] = {
        // Nothing answered: today's rate 0, the total rate as stored.
        {"nothing yet", TStatusMode::Normal, 0, 0, 5, 4, 0, 60, 0, 90},
        // 40 answers, 30 right: 75 %; (150 x 60 + 40 x 75) / 190 = 63.
        {"during a run", TStatusMode::Normal, 40, 30, 5, 4, 75, 63, 40, 90},
        // 70 answers on a quota of 50 count the day as 140 %: (140 + 90 x 3) / 4 = 102;
        // (150 x 60 + 70 x 100) / 220 = 72.
        {"beyond the quota, at the end", TStatusMode::FileEnd, 70, 70, 5, 4, 100, 72, 70, 102},
        // Opened from the file manager: no run of today counted in.
        {"from the manager", TStatusMode::Manager, 0, 0, 4, 3, 0, 60, 0, 90},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TStatusEnv env;
        env.Answer(c.asked, c.correct);
        const TLearningStatus s = ComputeLearningStatus(env.cc, c.mode);
        EXPECT_EQ(s.fileCaption, QStringLiteral("+++ TOEIC 英単語 +++"));
        EXPECT_EQ(s.daysSinceStart, c.days);
        EXPECT_EQ(s.learningDays, c.runs);
        EXPECT_EQ(s.todayCorrectRate, c.today);
        EXPECT_EQ(s.totalCorrectRate, c.total);
        EXPECT_EQ(s.answeredToday, c.answered);
        EXPECT_EQ(s.achievement, c.achievement);
        EXPECT_EQ(s.dailyQuota, 50);
    }
    // The file manager's own engine object has begun no run: its remaining
    // quota may hold anything, and still nothing counts as answered.
    for (const int remaining : {0, -20, 50}) {
        SCOPED_TRACE(remaining);
        TStatusEnv picked;
        picked.cc.training.remaining = remaining;
        picked.cc.training.correctToday = 0;
        const TLearningStatus s = ComputeLearningStatus(picked.cc, TStatusMode::Manager);
        EXPECT_EQ(s.answeredToday, 0);
        EXPECT_EQ(s.todayCorrectRate, 0);
        EXPECT_EQ(s.totalCorrectRate, 60);   // the stored rate, unchanged
    }
    // Never answered anything: no rate at all.
    TStatusEnv fresh;
    fresh.cc.settings.answersTotal = 0;
    EXPECT_EQ(ComputeLearningStatus(fresh.cc, TStatusMode::Normal).totalCorrectRate, 0);
}

TEST(LearningStatus, LevelsAndTheToeicEstimate)
{
    TStatusEnv env(860);
    for (int p = 1; p <= 860; ++p)
        env.cc.words[p].level = 0;
    TLearningStatus s = ComputeLearningStatus(env.cc, TStatusMode::Normal);
    EXPECT_EQ(s.toeicEstimate, 330);   // nothing learned yet
    EXPECT_EQ(s.levels.front().count, 860);
    EXPECT_EQ(s.levels.front().name, QStringLiteral("  Big Dipper ( LV 0 )    "));
    EXPECT_EQ(s.levels.back().name, QStringLiteral("  Southern Cross ( LV 99 )    "));

    for (int p = 1; p <= 860; ++p)
        env.cc.words[p].level = 12;
    EXPECT_EQ(ComputeLearningStatus(env.cc, TStatusMode::Normal).toeicEstimate, 860);

    // Half at level 8, a tenth excluded: S = 430 x 4096 + 8 x 86 = 1761968;
    // D = 860 x 12 / 860 = 12; 1761968 / 12 = 146830; / 2200 = 66 -> 396.
    for (int p = 1; p <= 860; ++p)
        env.cc.words[p].level = p <= 430 ? 8 : p <= 516 ? kExcludedLevel : 0;
    s = ComputeLearningStatus(env.cc, TStatusMode::Normal);
    EXPECT_EQ(s.toeicEstimate, 396);
    EXPECT_EQ(s.levels[8].count, 430);
    EXPECT_EQ(s.levels.back().count, 86);

    // Too few words to estimate; and no estimate outside the TOEIC files.
    EXPECT_FALSE(ToeicEstimate(TLevelHistogram{}, 71));
    env.UseFile(QStringLiteral("DT"), 27, 860);
    EXPECT_FALSE(ComputeLearningStatus(env.cc, TStatusMode::Normal).toeicFile);
}

TEST(LearningStatus, MovingTheQuotaKeepsTodaysAnswers)
{
    TStatusEnv env;
    env.cc.settings.dailyQuota = 100;
    env.cc.training.remaining = 100;
    env.Answer(30, 20);
    ChangeDailyQuota(env.cc, 60);
    EXPECT_EQ(env.cc.settings.dailyQuota, 60);
    EXPECT_EQ(env.cc.training.remaining, 30);
    EXPECT_EQ(ComputeLearningStatus(env.cc, TStatusMode::Normal).answeredToday, 30);
}
