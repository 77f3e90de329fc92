#include "tools/ToolFiles.h"

#include "base/TError.h"

#include <QFile>
#include <QStringDecoder>

QByteArray ReadWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TFatalError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return file.readAll();
}

QString ExactUtf8Text(const QByteArray &bytes, const QString &path)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        throw TFatalError(QStringLiteral("%1 is not valid UTF-8 text").arg(path));
    return text;
}
