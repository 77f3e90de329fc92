#pragma once
// What the coming days hold for a file whose every word has reached stage 2:
// how many stage-2 words fall due on each of the next 180 days, and the day
// on which enough of them are due to call the learner back (the popup date
// the no-questions window writes into the catalog, the day the reminder
// announces the file).
#include "data/WordTable.h"
#include "workspace/Catalog.h"

#include <QDate>
#include <QList>
#include <QString>

inline constexpr int kForecastDays = 180;
inline constexpr int kPopUpThresholdMin = 5;
inline constexpr int kPopUpThresholdMax = 30;

struct TForecastDay {
    int day = 0;        // 1 = tomorrow
    QDate date;
    int count = 0;      // stage-2 words due on that date
};

// Days 1..180 after today (today already moved by the test day offset).
// Words 1..tangoTotal in stage 2 count on their next due date; stage-3 words
// do not.
QList<TForecastDay> ForecastDueWords(const TWordTable &words, int tangoTotal, const QDate &today);

// The first day on which the words due so far reach the threshold; 0 when no
// day within the forecast does (the file is then queued again at once).
int PopUpDay(const QList<TForecastDay> &forecast, int threshold);

// The drop-down line of a forecast day: "2009/7/6  3 ".
QString ForecastItemText(const TForecastDay &day);
// "次回 ･･･ 明日 ", "次回 ･･･ 明後日 ", "次回 ･･･ 5 日後 ".
QString NextReminderText(int popUpDay);

// The popup date and threshold the window leaves in the file's catalog row:
// PopUpDate = today + popUpDay days in the short date form, PopUpWN = the
// threshold (kept within 5..30).
void SetPopUpDate(TDBF &row, const QDate &today, int popUpDay, int threshold);
