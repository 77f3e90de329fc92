#include "base/TError.h"

void RaiseConversionError(const QString &text)
{
    throw TFatalError(QStringLiteral("'%1' は有効な整数値ではありません。").arg(text));
}

void RaiseFileError(const QString &path, int line, const QString &message)
{
    const QString where = line > 0 ? QStringLiteral("%1（%2 行目）").arg(path).arg(line) : path;
    throw TFatalError(message + QStringLiteral("\n") + where);
}

qint32 StrToInt(QStringView text)
{
    // Only an optional sign and ASCII digits: QString::toInt alone would stop
    // at an embedded NUL and read "9<NUL>abc" as 9.
    const qsizetype digitsFrom = !text.isEmpty() && (text.front() == u'-' || text.front() == u'+') ? 1 : 0;
    if (digitsFrom >= text.size())
        RaiseConversionError(text.toString());
    for (qsizetype i = digitsFrom; i < text.size(); ++i)
        if (text.at(i) < u'0' || text.at(i) > u'9')
            RaiseConversionError(text.toString());
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok)
        RaiseConversionError(text.toString());
    return value;
}
