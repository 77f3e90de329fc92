#include "data/RecordFile.h"
#include "engine/MasteryLevels.h"
#include "base/TError.h"
#include "support/EngineFolder.h"

#include <gtest/gtest.h>

namespace {
// A word of the given stage, level and history text (count from the text).
void SetWord(TTango &t, int stage, int level, const QString &history)
{
    t.stage = static_cast<TStage>(stage);
    t.level = level;
    if (t.stage == TStage::One) {
        t.stage1History = history;
        t.stage1Count = HistoryEntryCount(history);
    } else if (t.stage == TStage::Two) {
        t.stage2History = history;
        t.stage2Count = HistoryEntryCount(history);
    }
    RebuildHistoryArrays(t);
}

// Asks a word as the selection does (the counter of a stage-1 word becomes 1).
void Ask(TCC &cc, int position, bool random = false)
{
    cc.training.randomQuestion = random;
    if (cc.words[position].level <= 5)
        cc.words[position].stage1Counter = 1;
}
}

// A damaged record: a stage-2 word below level 6 with stage-1 history text
// that was never read (uncounted, or counted but unreadable). Its answer
// starts that history again, so the record it saves reads back.
TEST(MasteryLevels, ADamagedRecordsUnreadStage1TextStartsAgainWithItsAnswer)
{
    struct TCase {
        int level;
        const char *text;
        int count;
    };
    const TCase cases[] = {{0, "0[2x]junk", 0}, {1, "2147483647L[1]", 1}};
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.text);
        TEngineFolder e;
        e.cc.LoadFileSettings();
        TTango &t = e.cc.words[1];
        t.stage = TStage::Two;
        t.level = c.level;
        t.stage1History = QString::fromLatin1(c.text);
        t.stage1Count = c.count;
        Ask(e.cc, 1);
        e.cc.ApplyCorrectAnswer(1);
        EXPECT_EQ(t.stage, TStage::One);
        EXPECT_EQ(t.stage1History, QStringLiteral("0[2]"));
        EXPECT_EQ(t.stage1Count, 1);
        e.cc.SaveRecordFile();
        t = TTango{};
        e.cc.LoadRecordFile();
        EXPECT_EQ(e.cc.words[1].stage1History, QStringLiteral("0[2]"));
    }
}

TEST(MasteryLevels, NewWordRisesByTheFirstTimeIncrement)
{
    TEngineFolder e;
    e.cc.LoadFileSettings();
    TTango &t = e.cc.words[1];
    Ask(e.cc, 1);
    const TAnswerEffect effect = e.cc.ApplyCorrectAnswer(1);
    EXPECT_EQ(effect.previousLevel, 0);
    EXPECT_EQ(effect.level, 2);
    EXPECT_FALSE(effect.master);
    EXPECT_EQ(t.stage, TStage::One);
    EXPECT_EQ(t.stage1History, QStringLiteral("0[2]"));
    EXPECT_EQ(t.stage1Count, 1);
    EXPECT_EQ(t.stage1Counter, 1);
    EXPECT_EQ(e.cc.training.correctToday, 1);

    e.cc.settings.firstTimeIncrement = 1;
    Ask(e.cc, 2);
    e.cc.ApplyCorrectAnswer(2);
    EXPECT_EQ(e.cc.words[2].level, 1);
    EXPECT_EQ(e.cc.words[2].stage1History, QStringLiteral("0[1]"));

    // Straight to stage 2: stage-1 history cleared, due in 20 days.
    e.cc.settings.firstTimeIncrement = 6;
    Ask(e.cc, 3);
    const TAnswerEffect six = e.cc.ApplyCorrectAnswer(3);
    const TTango &w = e.cc.words[3];
    EXPECT_TRUE(six.master);
    EXPECT_EQ(w.level, 6);
    EXPECT_EQ(w.stage, TStage::Two);
    EXPECT_EQ(w.stage1History, QString());
    EXPECT_EQ(w.stage1Count, 0);
    EXPECT_EQ(w.stage1Counter, 0);
    EXPECT_EQ(w.stage2History, QStringLiteral("2009/7/5[6]"));
    EXPECT_EQ(w.stage2Count, 1);
    EXPECT_EQ(w.stage2Days[0], QDate(2009, 7, 5).toJulianDay());
    EXPECT_EQ(w.nextDueDate, QStringLiteral("2009/7/25"));
}

TEST(MasteryLevels, LevelFiveToSixEntersStageTwo)
{
    TEngineFolder e;
    e.cc.LoadFileSettings();
    TTango &t = e.cc.words[1];
    SetWord(t, 1, 5, QStringLiteral("0[2]40[3]160[4]440[5]"));
    t.stage1Counter = 461;
    Ask(e.cc, 1);
    const TAnswerEffect effect = e.cc.ApplyCorrectAnswer(1);
    EXPECT_TRUE(effect.master);
    EXPECT_EQ(t.level, 6);
    EXPECT_EQ(t.stage, TStage::Two);
    EXPECT_EQ(t.stage1History, QString());
    EXPECT_EQ(t.stage1Questions[3], 0);
    EXPECT_EQ(t.stage1Counter, 0);
    EXPECT_EQ(t.stage2History, QStringLiteral("2009/7/5[6]"));
    EXPECT_EQ(t.nextDueDate, QStringLiteral("2009/7/25"));
}

TEST(MasteryLevels, WrongAnswersKeepLevelsSixAndOne)
{
    TEngineFolder e;
    e.cc.LoadFileSettings();
    TTango &six = e.cc.words[1];
    SetWord(six, 2, 6, QStringLiteral("2009/6/15[6]"));
    Ask(e.cc, 1);
    TAnswerEffect effect = e.cc.ApplyWrongAnswer(1);
    EXPECT_TRUE(effect.level6Miss);
    EXPECT_EQ(six.level, 6);
    EXPECT_EQ(six.wrongCount, 1);
    EXPECT_EQ(six.stage2History, QStringLiteral("2009/6/15[6]2009/7/5[6]"));
    EXPECT_EQ(six.stage2Count, 2);
    EXPECT_EQ(six.nextDueDate, QStringLiteral("2009/7/25"));
    EXPECT_TRUE(e.cc.training.retryPending);

    e.cc.training.retryPending = false;
    TTango &one = e.cc.words[2];
    SetWord(one, 1, 1, QStringLiteral("0[2]40[1]"));
    Ask(e.cc, 2);
    effect = e.cc.ApplyWrongAnswer(2);
    EXPECT_FALSE(effect.level6Miss);
    EXPECT_EQ(one.level, 1);
    EXPECT_EQ(one.stage1History, QStringLiteral("0[2]40[1]56[1]"));
    EXPECT_EQ(one.stage1Count, 3);
    EXPECT_EQ(one.stage1Questions[2], 56);

    // A level-2 word falls to 1.
    e.cc.training.retryPending = false;
    TTango &two = e.cc.words[3];
    SetWord(two, 1, 2, QStringLiteral("0[2]"));
    Ask(e.cc, 3);
    effect = e.cc.ApplyWrongAnswer(3);
    EXPECT_EQ(effect.previousLevel, 2);
    EXPECT_EQ(effect.level, 1);
    EXPECT_EQ(two.stage1History, QStringLiteral("0[2]40[1]"));
}

TEST(MasteryLevels, RetryAnsweredCorrectlyReplacesTheWrongEntry)
{
    TEngineFolder e;
    e.cc.LoadFileSettings();
    TTango &t = e.cc.words[1];
    for (int i = 0; i < 4; ++i) {
        Ask(e.cc, 1);
        e.cc.ApplyCorrectAnswer(1);
    }
    EXPECT_EQ(t.stage1History, QStringLiteral("0[2]40[3]160[4]440[5]"));
    Ask(e.cc, 1);
    e.cc.ApplyWrongAnswer(1);   // at question 900
    EXPECT_EQ(t.level, 4);
    EXPECT_EQ(t.stage1History, QStringLiteral("0[2]40[3]160[4]440[5]900[4]"));
    EXPECT_FALSE(t.stage1Limit);   // 900 + 280 < 1600

    // The retry, answered wrongly again, changes nothing but the wrong count.
    const TAnswerEffect again = e.cc.ApplyWrongAnswer(1);
    EXPECT_TRUE(again.previousRetry);
    EXPECT_EQ(t.level, 4);
    EXPECT_EQ(t.wrongCount, 2);
    EXPECT_EQ(t.stage1Count, 5);

    const TAnswerEffect effect = e.cc.ApplyCorrectAnswer(1);
    EXPECT_TRUE(effect.previousRetry);
    EXPECT_EQ(t.level, 5);
    EXPECT_EQ(t.stage1History, QStringLiteral("0[2]40[3]160[4]440[5]900[5]"));
    EXPECT_EQ(t.stage1Count, 5);
    EXPECT_EQ(t.stage1Questions[4], 900);
    EXPECT_EQ(t.stage1Levels[4], 5);
    EXPECT_FALSE(t.stage1Limit);   // 900 + 460 < 1600
    EXPECT_FALSE(e.cc.training.retryPending);
}

TEST(MasteryLevels, LevelZeroWrongThenRetryGoesToLevelOne)
{
    TEngineFolder e;
    e.cc.LoadFileSettings();
    TTango &t = e.cc.words[1];
    Ask(e.cc, 1);
    e.cc.ApplyWrongAnswer(1);
    EXPECT_EQ(t.level, 0);
    EXPECT_EQ(t.stage1History, QString());
    EXPECT_EQ(t.wrongCount, 1);
    t.stage1Counter = 0;   // as if never asked: the retry's entry starts the counter
    e.cc.ApplyCorrectAnswer(1);
    EXPECT_EQ(t.level, 1);
    EXPECT_EQ(t.stage1History, QStringLiteral("0[1]"));
    EXPECT_EQ(t.stage1Count, 1);
    EXPECT_EQ(t.stage1Counter, 1);
}

TEST(MasteryLevels, LimitFlagWhenLevelSixIsOutOfReach)
{
    TEngineFolder e;
    e.cc.LoadFileSettings();
    TTango &t = e.cc.words[1];
    SetWord(t, 1, 4, QStringLiteral("920[4]"));
    Ask(e.cc, 1);
    e.cc.ApplyCorrectAnswer(1);
    EXPECT_EQ(t.stage1History, QStringLiteral("920[4]1200[5]"));
    EXPECT_TRUE(t.stage1Limit);   // 1200 + 460 >= 1600

    // A question number at the end of the integers does not wrap around.
    TTango &far = e.cc.words[2];
    SetWord(far, 1, 1, QStringLiteral("2147483640[1]"));
    e.cc.training.retryPending = false;
    e.cc.ApplyWrongAnswer(2);
    EXPECT_EQ(far.stage1History, QStringLiteral("2147483640[1]2147483647[1]"));
    EXPECT_TRUE(far.stage1Limit);
}

TEST(MasteryLevels, RandomQuestionsChangeNoLevel)
{
    TEngineFolder e;
    e.cc.LoadFileSettings();
    TTango &t = e.cc.words[1];
    SetWord(t, 1, 3, QStringLiteral("0[2]40[3]"));
    Ask(e.cc, 1, true);
    e.cc.ApplyWrongAnswer(1);
    EXPECT_EQ(t.level, 3);
    EXPECT_EQ(t.wrongCount, 1);
    EXPECT_TRUE(e.cc.training.retryPending);
    e.cc.ApplyCorrectAnswer(1);
    EXPECT_EQ(t.level, 3);
    EXPECT_EQ(t.stage1History, QStringLiteral("0[2]40[3]"));
    EXPECT_EQ(e.cc.training.correctToday, 1);
    EXPECT_FALSE(e.cc.training.retryPending);
}

TEST(MasteryLevels, StageThreeOnlyReschedulesAndLevelTwelveStays)
{
    TEngineFolder e;
    e.cc.LoadFileSettings();
    TTango &t = e.cc.words[1];
    SetWord(t, 3, 10, QString());
    Ask(e.cc, 1);
    e.cc.ApplyCorrectAnswer(1);
    EXPECT_EQ(t.level, 10);
    EXPECT_EQ(t.stage, TStage::Three);
    EXPECT_EQ(t.nextDueDate, QStringLiteral("2010/6/30"));   // 360 days
    EXPECT_EQ(t.stage2History, QString());
    e.cc.ApplyWrongAnswer(1);
    EXPECT_EQ(t.level, 10);
    EXPECT_EQ(t.wrongCount, 1);
    t.level = 12;
    e.cc.training.retryPending = false;
    e.cc.ApplyWrongAnswer(1);
    EXPECT_EQ(t.level, 12);
    EXPECT_EQ(t.nextDueDate, QStringLiteral("2010/12/7"));   // 520 days

    e.cc.training.retryPending = false;
    TTango &top = e.cc.words[2];
    SetWord(top, 2, 12, QStringLiteral("2009/1/1[12]"));
    e.cc.ApplyCorrectAnswer(2);
    EXPECT_EQ(top.level, 12);
    EXPECT_EQ(top.stage2History, QStringLiteral("2009/1/1[12]2009/7/5[12]"));
    EXPECT_EQ(top.nextDueDate, QStringLiteral("2010/3/22"));   // 260 days
}

TEST(MasteryLevels, OneStageTwoEntryPerDay)
{
    TEngineFolder e;
    e.cc.LoadFileSettings();
    TTango &t = e.cc.words[1];
    SetWord(t, 2, 7, QStringLiteral("2009/6/15[7]"));
    e.cc.ApplyWrongAnswer(1);
    EXPECT_EQ(t.stage2History, QStringLiteral("2009/6/15[7]2009/7/5[6]"));
    e.cc.ApplyCorrectAnswer(1);   // the retry
    EXPECT_EQ(t.stage2History, QStringLiteral("2009/6/15[7]2009/7/5[7]"));
    EXPECT_EQ(t.stage2Count, 2);
    EXPECT_EQ(t.stage2Levels[1], 7);
    EXPECT_EQ(t.nextDueDate, QStringLiteral("2009/9/3"));

    // A second answer on the same day that is not a retry also keeps one
    // entry, and the count stays that of the text.
    e.cc.ApplyCorrectAnswer(1);
    EXPECT_EQ(t.stage2History, QStringLiteral("2009/6/15[7]2009/7/5[8]"));
    EXPECT_EQ(t.stage2Count, 2);
    EXPECT_EQ(t.stage2Levels[1], 8);
    TTango copy = t;
    EXPECT_NO_THROW(RebuildHistoryArrays(copy));
}

TEST(MasteryLevels, DatesCrossMonthAndYearEndsWithTheDayOffset)
{
    TEngineFolder e;
    e.cc.LoadFileSettings();
    e.cc.clock.FixToday(QDate(2009, 12, 20));
    TTango &t = e.cc.words[1];
    SetWord(t, 1, 5, QStringLiteral("0[2]40[3]160[4]440[5]"));
    e.cc.ApplyCorrectAnswer(1);
    EXPECT_EQ(t.stage2History, QStringLiteral("2009/12/20[6]"));
    EXPECT_EQ(t.nextDueDate, QStringLiteral("2010/1/9"));

    e.cc.clock.SetDayOffset(15);   // the simulation's day 2010/1/4
    e.cc.training.retryPending = false;
    e.cc.ApplyCorrectAnswer(1);
    EXPECT_EQ(t.stage2History, QStringLiteral("2009/12/20[6]2010/1/4[7]"));
    EXPECT_EQ(t.nextDueDate, QStringLiteral("2010/3/5"));   // 60 days
    EXPECT_EQ(e.cc.ComputeToday(), QStringLiteral("2010/1/4"));
}

TEST(MasteryLevels, DateTests)
{
    TEngineFolder e;
    e.cc.clock.FixToday(QDate(2008, 3, 1));
    struct Case {
        int offset;
        const char *date;
        bool reached;
        int dayNumber;
    };
    const Case cases[] = {
        {0, "2008/3/1", true, 1},       {0, "2008/03/02", false, 0},
        {1, "2008/3/2", true, 1},       {0, "2008/2/28", true, 3},   // leap year
        {0, "2007/12/31", true, 62},    {-1, "2008/3/1", false, 0},
        {306, "2009/1/1", true, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.date);
        e.cc.clock.SetDayOffset(c.offset);
        EXPECT_EQ(e.cc.IsDateReached(QString::fromLatin1(c.date)), c.reached);
        EXPECT_EQ(e.cc.DayNumberSince(QString::fromLatin1(c.date)), c.dayNumber);
    }
    EXPECT_THROW(e.cc.IsDateReached(QStringLiteral("2008/2/30")), TFatalError);
    EXPECT_THROW(e.cc.DayNumberSince(QString()), TFatalError);
}

TEST(MasteryLevels, ExclusionSwitchStartsTheRecordAfresh)
{
    TEngineFolder e;
    e.cc.LoadFileSettings();
    TTango &t = e.cc.words[1];
    SetWord(t, 1, 4, QStringLiteral("0[2]40[3]160[4]"));
    t.timesAsked = 8;
    t.wrongCount = 2;
    e.cc.training.retryPending = true;
    EXPECT_TRUE(e.cc.ToggleWordExclusion(1));
    EXPECT_EQ(t.level, 99);
    EXPECT_EQ(t.stage1History, QString());
    EXPECT_EQ(t.stage1Count, 0);
    EXPECT_EQ(t.timesAsked, 0);
    EXPECT_EQ(t.wrongCount, 0);
    EXPECT_FALSE(e.cc.training.retryPending);
    EXPECT_FALSE(e.cc.ToggleWordExclusion(1));
    EXPECT_EQ(t.level, 0);
    // An excluded word is never graded into the learning levels.
    e.cc.ToggleWordExclusion(1);
    e.cc.ApplyCorrectAnswer(1);
    EXPECT_EQ(t.level, 99);
}

TEST(MasteryLevels, CountsCoverTheLearningWordsOnly)
{
    TEngineFolder e(QStringLiteral("TT"), 6, 5);
    const int levels[] = {0, 2, 2, 99, 12, 2};   // position 6 is beyond TangoTotal
    for (int p = 1; p <= 6; ++p)
        e.cc.words[p].level = levels[p - 1];
    EXPECT_EQ(e.cc.CountWordsAtLevel(2), 2);
    EXPECT_EQ(e.cc.CountWordsAtLevel(99), 1);
    const TLevelHistogram h = e.cc.BuildLevelHistogram();
    EXPECT_EQ(h[0], 1);
    EXPECT_EQ(h[2], 2);
    EXPECT_EQ(h[12], 1);
    EXPECT_EQ(h[99], 1);
}

TEST(MasteryLevels, ResetsKeepCountersAndStar)
{
    TEngineFolder e;
    TTango &t = e.cc.words[1];
    SetWord(t, 2, 8, QStringLiteral("2009/1/1[7]2009/3/1[8]"));
    t.timesAsked = 5;
    t.wrongCount = 2;
    t.resetCount = 1;
    t.starX = 10;
    t.nextDueDate = QStringLiteral("2009/6/9");
    e.cc.RestartStage2Today(1);
    EXPECT_EQ(t.stage2History, QString());
    EXPECT_EQ(t.stage2Days[1], 0);
    EXPECT_EQ(t.nextDueDate, QStringLiteral("2009/7/5"));
    e.cc.ResetWordProgress(1);
    EXPECT_EQ(t.stage, TStage::One);
    EXPECT_EQ(t.level, 0);
    EXPECT_EQ(t.nextDueDate, QString());
    EXPECT_EQ(t.timesAsked, 5);
    EXPECT_EQ(t.wrongCount, 2);
    EXPECT_EQ(t.resetCount, 1);
    EXPECT_EQ(t.starX, 10);
}
