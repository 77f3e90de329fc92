#include "engine/Forecast.h"

#include "base/DateText.h"

#include <QHash>

QList<TForecastDay> ForecastDueWords(const TWordTable &words, int tangoTotal, const QDate &today)
{
    // Due dates are compared as dates, so "2009/07/05" and "2009/7/5" fall on
    // the same day.
    QHash<qint64, int> dueOnDay;
    for (int position = 1; position <= tangoTotal && TWordTable::IsPosition(position); ++position) {
        const TTango &word = words[position];
        if (word.stage != TStage::Two)
            continue;
        if (word.nextDueDate.IsDate())
            ++dueOnDay[word.nextDueDate.Day()];
    }
    QList<TForecastDay> forecast;
    forecast.reserve(kForecastDays);
    for (int day = 1; day <= kForecastDays; ++day) {
        const QDate date = today.addDays(day);
        forecast.append({day, date, dueOnDay.value(date.toJulianDay())});
    }
    return forecast;
}

int PopUpDay(const QList<TForecastDay> &forecast, int threshold)
{
    int sum = 0;
    for (const TForecastDay &day : forecast) {
        sum += day.count;
        if (sum >= threshold)
            return day.day;
    }
    return 0;
}

QString ForecastItemText(const TForecastDay &day)
{
    return BuildDateText(day.date) + QStringLiteral("  ") + QString::number(day.count) + QStringLiteral(" ");
}

QString NextReminderText(int popUpDay)
{
    const QString prefix = QStringLiteral("次回 ･･･ ");
    if (popUpDay == 1)
        return prefix + QStringLiteral("明日 ");
    if (popUpDay == 2)
        return prefix + QStringLiteral("明後日 ");
    return prefix + QString::number(popUpDay) + QStringLiteral(" 日後 ");
}

void SetPopUpDate(TDBF &row, const QDate &today, int popUpDay, int threshold)
{
    row.PopUpDate = ShortDateText(today.addDays(popUpDay));
    row.PopUpWN = qBound(kPopUpThresholdMin, threshold, kPopUpThresholdMax);
}
