// tessarion-tool forecast --program-folder P --file CODE [--day-offset N] [--threshold K]:
// the no-questions window's forecast for a learning file, one line per day
// (day number, date text, stage-2 words due that day), then the popup date
// the window would write for threshold K (default 10). Nothing is written.
#include "base/DateText.h"
#include "base/TError.h"
#include "engine/Forecast.h"
#include "tools/EngineSession.h"

namespace {
int RunForecast(const QStringList &rawArgs)
{
    const TToolArgs args(rawArgs);
    const int dayOffset = StrToInt(args.Value(QStringLiteral("--day-offset")).value_or(QStringLiteral("0")));
    const int threshold = StrToInt(args.Value(QStringLiteral("--threshold")).value_or(QString::number(kDefaultPopUpWN)));
    if (threshold < kPopUpThresholdMin || threshold > kPopUpThresholdMax)
        throw TFatalError(QStringLiteral("--threshold must be %1 to %2, not %3")
                              .arg(kPopUpThresholdMin).arg(kPopUpThresholdMax).arg(threshold));
    auto cc = OpenFileAsProgram(args, TAccess::ReadOnly, dayOffset);
    const QDate today = cc->clock.Today();
    const QList<TForecastDay> forecast = ForecastDueWords(cc->words, cc->TangoTotal(), today);
    for (const TForecastDay &day : forecast)
        PrintFields({QString::number(day.day), BuildDateText(day.date), QString::number(day.count)});
    const int next = PopUpDay(forecast, threshold);
    PrintFields({QStringLiteral("popup-day"), QString::number(next)});
    PrintFields({QStringLiteral("popup-date"), ShortDateText(today.addDays(next))});
    return 0;
}

const TToolCommand reg(QStringLiteral("forecast"),
                       {QStringLiteral("Prints the no-questions window's forecast of the words falling due, and the reminder's popup date."),
                        QStringLiteral("One line per day (day number, date, stage-2 words due that day), then the popup day and date the window would write for the threshold. Nothing is written."),
                        {ProgramFolderOption(),
                         FileCodeOption(),
                         DayOffsetOption(),
                         {QStringLiteral("threshold"), QStringLiteral("K"), QStringLiteral("The number of due words that sets the popup date, 5 to 30. Default: 10.")}},
                        {},
                        {QStringLiteral("tessarion-tool forecast --file TT --threshold 20")}},
                       &RunForecast);
}
