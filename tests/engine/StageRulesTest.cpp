#include "data/RecordFile.h"
#include "engine/StageRules.h"
#include "support/EngineFolder.h"

#include <gtest/gtest.h>

namespace {
void SetStage2(TTango &t, int level, const QString &history)
{
    t.stage = TStage::Two;
    t.level = level;
    t.stage2History = history;
    t.stage2Count = HistoryEntryCount(history);
    RebuildHistoryArrays(t);
}

QString Text(const QDate &d)
{
    return QStringLiteral("%1/%2/%3").arg(d.year()).arg(d.month()).arg(d.day());
}
}

TEST(StageRules, EightHundredDaysDecideBetweenStageThreeAndStartingOver)
{
    TEngineFolder e(QStringLiteral("TT"), 6, 4);
    const QDate today(2010, 1, 4);
    e.cc.clock.FixToday(today);
    const QDate first = today.addDays(-800);   // 2007/10/27
    const QString history = Text(first) + QStringLiteral("[8]") + Text(today.addDays(-100)) + QStringLiteral("[9]");
    e.cc.words[1].word = QStringLiteral("bank2");
    e.cc.words[1].joinedMeanings = QStringLiteral("銀行、土手");
    SetStage2(e.cc.words[1], 10, history + Text(today.addDays(-20)) + QStringLiteral("[10]"));
    e.cc.words[2].word = QStringLiteral("river");
    e.cc.words[2].joinedMeanings = QStringLiteral("川");
    SetStage2(e.cc.words[2], 9, history);
    e.cc.words[2].resetCount = 2;
    e.cc.words[2].timesAsked = 30;
    // 799 days: nothing yet.
    SetStage2(e.cc.words[3], 9, Text(today.addDays(-799)) + QStringLiteral("[9]") + Text(today.addDays(-30)) + QStringLiteral("[9]"));
    // Stage 3 is never looked at.
    e.cc.words[4].stage = TStage::Three;
    e.cc.words[4].level = 10;
    e.cc.words[4].stage1Limit = true;

    ASSERT_TRUE(e.cc.AnyStageNoticeDue());
    EXPECT_EQ(e.cc.words[2].level, 9);   // the test changes nothing

    const TStageNoticeLists lists = e.cc.ApplyStageRules();
    ASSERT_EQ(lists.stage2OK.size(), 1);
    EXPECT_EQ(lists.stage2OK[0].position, 1);
    EXPECT_EQ(lists.stage2OK[0].text, QStringLiteral(" 【Level 10】 bank (2) （ 銀行、土手 ）"));
    ASSERT_EQ(lists.stageNG.size(), 1);
    EXPECT_EQ(lists.stageNG[0].text, QStringLiteral(" 【Stage 2】 river （ 川 ）"));
    EXPECT_TRUE(lists.limbo.isEmpty());

    const TTango &passed = e.cc.words[1];
    EXPECT_EQ(passed.stage, TStage::Three);
    EXPECT_EQ(passed.level, 10);
    EXPECT_EQ(passed.stage2History, QString());
    EXPECT_EQ(passed.nextDueDate, QStringLiteral("2010/1/4"));   // asked today as a final check
    const TTango &failed = e.cc.words[2];
    EXPECT_EQ(failed.stage, TStage::One);
    EXPECT_EQ(failed.level, 0);
    EXPECT_EQ(failed.stage2History, QString());
    EXPECT_EQ(failed.resetCount, 3);
    EXPECT_EQ(failed.timesAsked, 30);
    EXPECT_EQ(e.cc.words[3].stage, TStage::Two);
    EXPECT_EQ(e.cc.words[4].stage, TStage::Three);
    EXPECT_FALSE(e.cc.AnyStageNoticeDue());

    // The final check answered: next due 360 days later.
    e.cc.ApplyCorrectAnswer(1);
    EXPECT_EQ(e.cc.words[1].nextDueDate, QStringLiteral("2010/12/30"));
}

TEST(StageRules, GiveUpIntervalOfTheLastEntry)
{
    struct Case {
        int level;
        int daysSince;
        bool limbo;
    };
    const Case cases[] = {
        {6, 69, false}, {6, 70, true}, {7, 199, false}, {7, 200, true},
        {9, 540, true}, {10, 200, false}, {10, 798, false}, {12, 798, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QStringLiteral("level %1, %2 days").arg(c.level).arg(c.daysSince).toStdString());
        TEngineFolder e(QStringLiteral("TT"), 6, 1);
        const QDate today(2010, 1, 4);
        e.cc.clock.FixToday(today.addDays(-10));
        e.cc.clock.SetDayOffset(10);   // the rules see the test day offset
        const QDate last = today.addDays(-c.daysSince);
        SetStage2(e.cc.words[1], c.level,
                  Text(last.addDays(-1)) + QStringLiteral("[6]") + Text(last) + QStringLiteral("[%1]").arg(c.level));
        EXPECT_EQ(e.cc.AnyStageNoticeDue(), c.limbo);
        const TStageNoticeLists lists = e.cc.ApplyStageRules();
        EXPECT_EQ(lists.limbo.size(), c.limbo ? 1 : 0);
        EXPECT_EQ(e.cc.words[1].level, c.limbo ? 0 : c.level);
        if (c.limbo) {
            EXPECT_TRUE(lists.limbo[0].text.startsWith(QStringLiteral(" 【Stage 2】 ")));
        }
    }
}

TEST(StageRules, LimitFlagFailsStageOne)
{
    TEngineFolder e(QStringLiteral("TT"), 6, 2);
    TTango &t = e.cc.words[2];
    t.word = QStringLiteral("look (at)");
    t.joinedMeanings = QStringLiteral("見る");
    t.level = 5;
    t.stage1History = QStringLiteral("920[4]1200[5]");
    t.stage1Count = 2;
    t.stage1Limit = true;
    t.stage1Counter = 40;
    RebuildHistoryArrays(t);
    const TStageNoticeLists lists = e.cc.ApplyStageRules();
    ASSERT_EQ(lists.stageNG.size(), 1);
    EXPECT_EQ(lists.stageNG[0].position, 2);
    EXPECT_EQ(lists.stageNG[0].kind, TStageNoticeKind::FailedStage1);
    EXPECT_TRUE(lists.stageNG[0].text.startsWith(QStringLiteral(" 【Stage 1】 ")));
    EXPECT_TRUE(lists.stageNG[0].text.endsWith(QStringLiteral(" （ 見る ）")));
    EXPECT_EQ(t.level, 0);
    EXPECT_FALSE(t.stage1Limit);
    EXPECT_EQ(t.stage1History, QString());
    EXPECT_EQ(t.stage1Counter, 0);
    EXPECT_EQ(t.resetCount, 1);
}

TEST(StageRules, LongStageTwoHistoryUsesItsRealLastEntry)
{
    // 120 entries, one a day: the last lies past the arrays.
    TEngineFolder e(QStringLiteral("TT"), 6, 1);
    const QDate today(2010, 1, 4);
    e.cc.clock.FixToday(today);
    QString history;
    for (int k = 119; k >= 0; --k)
        history += Text(today.addDays(-k - 69)) + QStringLiteral("[6]");
    SetStage2(e.cc.words[1], 6, history);
    EXPECT_FALSE(e.cc.AnyStageNoticeDue());   // the last entry is 69 days old
    e.cc.clock.SetDayOffset(1);
    EXPECT_TRUE(e.cc.AnyStageNoticeDue());
}
