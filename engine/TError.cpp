#include "engine/TError.h"

void RaiseConversionError(const QString &text)
{
    throw TFatalError(QStringLiteral("'%1' は有効な整数値ではありません。").arg(text));
}

qint32 StrToInt(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || text.isEmpty() || text.at(0).isSpace() || text.back().isSpace())
        RaiseConversionError(text);
    return value;
}
