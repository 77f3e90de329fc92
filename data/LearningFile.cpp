// Learning files: the shift codec and the loading of a learning file into the
// word table.
#include "data/LearningFile.h"

#include "engine/TError.h"
#include "workspace/TextFiles.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace {
constexpr char16_t kShiftedCr = u'\r' - kLearningTextShift;
constexpr char16_t kShiftedLf = u'\n' - kLearningTextShift;

QString UnitText(char16_t unit)
{
    return QStringLiteral("U+") + QString::number(unit, 16).toUpper().rightJustified(4, u'0');
}

// Why a source unit cannot be stored, or an empty text when it can.
QString RefusalOfUnit(char16_t unit, qsizetype index)
{
    if (QChar::isSurrogate(unit))
        return QStringLiteral("基本多言語面の外の文字（サロゲート %1）").arg(UnitText(unit));
    if (unit > 0xFFFF - kLearningTextShift)
        return QStringLiteral("符号化すると U+FFFF を超える文字 %1").arg(UnitText(unit));
    const char16_t shifted = static_cast<char16_t>(unit + kLearningTextShift);
    if (QChar::isSurrogate(shifted))
        return QStringLiteral("符号化するとサロゲートになる文字 %1").arg(UnitText(unit));
    if (shifted == 0xFFFE || shifted == 0xFFFF)
        return QStringLiteral("符号化すると非文字になる文字 %1").arg(UnitText(unit));
    if (unit == kShiftedCr || unit == kShiftedLf)
        return QStringLiteral("符号化すると改行になる制御文字 %1").arg(UnitText(unit));
    if (index == 0 && shifted == 0xFEFF)
        return QStringLiteral("符号化するとバイトオーダーマークになる先頭の文字 %1").arg(UnitText(unit));
    return {};
}
}

QString DecodeLearningText(const QString &text)
{
    QString out(text.size(), Qt::Uninitialized);
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    const char16_t *src = reinterpret_cast<const char16_t *>(text.constData());
    for (qsizetype i = 0; i < text.size(); ++i)
        dst[i] = static_cast<char16_t>(src[i] - kLearningTextShift);
    return out;
}

QString EncodeLearningText(const QString &text)
{
    QString out(text.size(), Qt::Uninitialized);
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    const char16_t *src = reinterpret_cast<const char16_t *>(text.constData());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QString refusal = RefusalOfUnit(src[i], i);
        if (!refusal.isEmpty()) {
            throw TFatalError(QStringLiteral("学習データに符号化できない文字があります（%1 文字目）：%2")
                                  .arg(i + 1)
                                  .arg(refusal));
        }
        dst[i] = static_cast<char16_t>(src[i] + kLearningTextShift);
    }
    return out;
}

QString DecodeLearningBytes(const QByteArray &stored)
{
    QByteArrayView view(stored);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    const QStringList lines = SplitLines(QString::fromUtf8(view));
    QString joined;
    joined.reserve(view.size() + 2 * lines.size());
    for (const QString &line : lines) {
        joined += line;
        joined += QStringLiteral("\r\n");
    }
    return DecodeLearningText(joined);
}

QString ReadLearningDataFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw TFatalError(QStringLiteral("学習データファイルを読み込めません。\n%1\n%2")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    return DecodeLearningBytes(file.readAll());
}
