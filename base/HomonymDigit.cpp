#include "base/HomonymDigit.h"

bool IsHomonymDigit(QChar c) { return c >= u'1' && c <= u'9'; }

QString StripHomonymDigit(const QString &word)
{
    if (!word.isEmpty() && IsHomonymDigit(word.back()))
        return word.chopped(1);
    return word;
}

QString FormatHomonym(const QString &word)
{
    if (word.isEmpty() || !IsHomonymDigit(word.back()))
        return word;
    return word.chopped(1) + u'(' + word.back() + u')';
}
