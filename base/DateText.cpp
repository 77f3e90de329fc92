#include "base/DateText.h"

#include "base/TError.h"

#include <QStringList>

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

std::optional<QDate> ParseDateText(const QString &text)
{
    const QStringList parts = text.trimmed().split(u'/');
    if (parts.size() != 3)
        return std::nullopt;
    int values[3];
    for (int i = 0; i < 3; ++i) {
        const QString &part = parts.at(i);
        if (part.isEmpty() || part.size() > (i == 0 ? 4 : 2))
            return std::nullopt;
        for (QChar c : part)
            if (c < u'0' || c > u'9')
                return std::nullopt;
        values[i] = part.toInt();
    }
    const QDate date(values[0], values[1], values[2]);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QDate ReadDateText(const QString &text)
{
    if (auto date = ParseDateText(text))
        return *date;
    throw TFatalError(QStringLiteral("'%1' は有効な日付ではありません。").arg(text));
}
