#include "base/DateText.h"

#include "base/TError.h"


QDate ZeroDate()
{
    return QDate(1899, 12, 30);
}

QString BuildDateText(const QDate &date)
{
    return QStringLiteral("%1/%2/%3").arg(date.year()).arg(date.month()).arg(date.day());
}

QString ShortDateText(const QDate &date)
{
    return QStringLiteral("%1/%2/%3")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

std::optional<QDate> ParseDateText(QStringView text)
{
    // Read in place: year of 1..4 digits, month and day of 1..2, "/" between.
    const bool spaced = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
    const QStringView trimmed = spaced ? text.trimmed() : text;
    int values[3] = {0, 0, 0};
    int part = 0;
    int digits = 0;
    for (const QChar c : trimmed) {
        if (c == u'/') {
            if (digits == 0 || part == 2)
                return std::nullopt;
            ++part;
            digits = 0;
            continue;
        }
        if (c < u'0' || c > u'9' || ++digits > (part == 0 ? 4 : 2))
            return std::nullopt;
        values[part] = values[part] * 10 + (c.unicode() - u'0');
    }
    if (part != 2 || digits == 0)
        return std::nullopt;
    const QDate date(values[0], values[1], values[2]);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QDate> ParseDateText(const QString &text)
{
    return ParseDateText(QStringView(text));
}

QDate ReadDateText(const QString &text)
{
    if (auto date = ParseDateText(text))
        return *date;
    throw TFatalError(QStringLiteral("'%1' は有効な日付ではありません。").arg(text));
}

TDueDate TDueDate::OfDay(qint64 day)
{
    TDueDate date;
    date.m_text = BuildDateText(QDate::fromJulianDay(day));
    date.m_day = day;
    return date;
}

qint64 TDueDate::DayOf(const QString &text)
{
    if (text.isEmpty())
        return kNoDay;
    const std::optional<QDate> date = ParseDateText(text);
    return date ? date->toJulianDay() : kNoDay;
}
