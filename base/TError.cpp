#include "base/TError.h"

#include <limits>

namespace {
// A message quotes at most this many characters of the text that failed (a
// damaged file may hold a line of millions).
constexpr qsizetype kQuotedLength = 40;
const QString kCutMark = QStringLiteral("…");
}

QString QuotedExcerpt(QStringView text)
{
    if (text.size() <= kQuotedLength)
        return text.toString();
    return text.first(kQuotedLength).toString() + kCutMark
           + QStringLiteral("（%1 文字）").arg(text.size());
}

void RaiseConversionError(const QString &text)
{
    throw TFatalError(QStringLiteral("'%1' は有効な整数値ではありません。").arg(QuotedExcerpt(text)));
}

void RaiseFileError(const QString &path, int line, const QString &message)
{
    const QString where = line > 0 ? QStringLiteral("%1（%2 行目）").arg(path).arg(line) : path;
    throw TFatalError(message + QStringLiteral("\n") + where);
}

qint32 StrToInt(QStringView text)
{
    // Only an optional sign and ASCII digits (QString::toInt alone would stop
    // at an embedded NUL and read "9<NUL>abc" as 9), read in place.
    constexpr qint64 kLimit = qint64(std::numeric_limits<qint32>::max()) + 1;
    const qsizetype digitsFrom = !text.isEmpty() && (text.front() == u'-' || text.front() == u'+') ? 1 : 0;
    if (digitsFrom >= text.size())
        RaiseConversionError(text.toString());
    qint64 value = 0;
    for (qsizetype i = digitsFrom; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            RaiseConversionError(text.toString());
        value = value * 10 + (c - u'0');
        if (value > kLimit)
            RaiseConversionError(text.toString());
    }
    if (text.front() == u'-')
        value = -value;
    if (value > std::numeric_limits<qint32>::max())
        RaiseConversionError(text.toString());
    return static_cast<qint32>(value);
}
