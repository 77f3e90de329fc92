#include "base/DateText.h"
#include "engine/Forecast.h"
#include "support/EngineFolder.h"

#include <gtest/gtest.h>

namespace {
constexpr int kWords = 20;

// Words 1..3 due in 2 days, 4..11 in 5 days, 12 in stage 3 due tomorrow,
// 13 in stage 1, 14 due with a zero-padded date text in 7 days.
void FillFixture(TEngineFolder &e, const QDate &today)
{
    for (int p = 1; p <= kWords; ++p) {
        e.cc.words[p].stage = TStage::Two;
        e.cc.words[p].nextDueDate = BuildDateText(today.addDays(400));
    }
    for (int p = 1; p <= 3; ++p)
        e.cc.words[p].nextDueDate = BuildDateText(today.addDays(2));
    for (int p = 4; p <= 11; ++p)
        e.cc.words[p].nextDueDate = BuildDateText(today.addDays(5));
    e.cc.words[12].stage = TStage::Three;
    e.cc.words[12].nextDueDate = BuildDateText(today.addDays(1));
    e.cc.words[13].stage = TStage::One;
    e.cc.words[13].nextDueDate.clear();
    e.cc.words[14].nextDueDate = ShortDateText(today.addDays(7));
}
}

TEST(Forecast, CountsStageTwoWordsOnTheirDueDaysAndFindsThePopUpDay)
{
    TEngineFolder e(QStringLiteral("TT"), 6, kWords);
    const QDate today(2009, 12, 30);   // the forecast crosses a year's end
    FillFixture(e, today);

    const QList<TForecastDay> forecast = ForecastDueWords(e.cc.words, kWords, today);
    ASSERT_EQ(forecast.size(), kForecastDays);
    EXPECT_EQ(forecast.first().date, QDate(2009, 12, 31));
    EXPECT_EQ(forecast.last().date, today.addDays(kForecastDays));
    QList<int> counts;
    for (const TForecastDay &day : forecast)
        counts.append(day.count);
    QList<int> expected(kForecastDays, 0);
    expected[1] = 3;   // day 2
    expected[4] = 8;   // day 5
    expected[6] = 1;   // day 7
    EXPECT_EQ(counts, expected);
    EXPECT_EQ(ForecastItemText(forecast[1]), QStringLiteral("2010/1/1  3 "));

    struct Case {
        int threshold;
        int day;
        QString label;
    };
    const Case cases[] = {
        {3, 2, QStringLiteral("次回 ･･･ 明後日 ")},
        {5, 5, QStringLiteral("次回 ･･･ 5 日後 ")},
        {10, 5, QStringLiteral("次回 ･･･ 5 日後 ")},
        {12, 7, QStringLiteral("次回 ･･･ 7 日後 ")},
        {30, 0, QStringLiteral("次回 ･･･ 0 日後 ")},   // never reached: queued again at once
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.threshold);
        const int day = PopUpDay(forecast, c.threshold);
        EXPECT_EQ(day, c.day);
        EXPECT_EQ(NextReminderText(day), c.label);
        TDBF row;
        SetPopUpDate(row, today, day, c.threshold);
        EXPECT_EQ(row.PopUpDate, ShortDateText(today.addDays(c.day)));
        EXPECT_EQ(row.PopUpWN, qBound(kPopUpThresholdMin, c.threshold, kPopUpThresholdMax));
    }
    EXPECT_EQ(NextReminderText(1), QStringLiteral("次回 ･･･ 明日 "));
}

TEST(Forecast, OnlyWordsOfTheFileCount)
{
    TEngineFolder e(QStringLiteral("TT"), 6, kWords);
    FillFixture(e, QDate(2009, 7, 5));
    const QList<TForecastDay> forecast = ForecastDueWords(e.cc.words, 11, QDate(2009, 7, 5));
    // Only words 1..tangoTotal count.
    EXPECT_EQ(PopUpDay(forecast, 11), 5);
    EXPECT_EQ(PopUpDay(forecast, 12), 0);
}
