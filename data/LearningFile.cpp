// Learning files: the shift codec and the loading of a learning file into the
// word table.
#include "data/LearningFile.h"

#include "data/MeaningRules.h"
#include "data/WordTable.h"
#include "base/Notifier.h"
#include "base/TError.h"
#include "base/TextFiles.h"

#include <QDir>
#include <algorithm>
#include <QFile>
#include <QFileInfo>
#include <iterator>
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
    const QString text = QString::fromUtf8(view);
    // One pass: every line ends in CR LF (a line break of any kind becomes
    // one, a last line without one gets one) and every unit is shifted down.
    constexpr char16_t kCr = u'\r' - kLearningTextShift;
    constexpr char16_t kLf = u'\n' - kLearningTextShift;
    const char16_t *src = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype n = text.size();
    QString out(2 * n + 2, Qt::Uninitialized);   // room for a lone break to become two units
    char16_t *const begin = reinterpret_cast<char16_t *>(out.data());
    char16_t *dst = begin;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = src[i];
        if (c == u'\r' || c == u'\n') {
            *dst++ = kCr;
            *dst++ = kLf;
            if (c == u'\r' && i + 1 < n && src[i + 1] == u'\n')
                ++i;
        } else {
            *dst++ = static_cast<char16_t>(c - kLearningTextShift);
        }
    }
    if (n > 0 && src[n - 1] != u'\r' && src[n - 1] != u'\n') {
        *dst++ = kCr;
        *dst++ = kLf;
    }
    out.truncate(dst - begin);
    return out;
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

// ---- the learning file of the current file code -----------------------------

namespace {
const QString kLearningFilePattern = QStringLiteral("resource/%1_enc.dat");
const QString kUncheckedLayoutNotice = QStringLiteral("新学習ファイル実装チェックポイント");

// Where a field of a row goes (fields numbered from 1).
enum class TTarget {
    None,
    Attribute1,
    Attribute3,
    Meaning1, Meaning2, Meaning3, Meaning4, Meaning5, Meaning6,
    Link1,
    Link2,
    ItColumn9,
    ItColumn12, ItColumn13, ItColumn14, ItColumn15,
};

enum class TLayout { Tt, Tj, It, Unchecked };

TLayout LayoutOfCode(const QString &code)
{
    if (code == u"TT" || code == u"DT")
        return TLayout::Tt;
    if (code == u"TJ" || code == u"DJ")
        return TLayout::Tj;
    if (code == u"IT")
        return TLayout::It;
    return TLayout::Unchecked;
}

// Field 3 onwards, by layout. Later fields that all map to link 2 overwrite
// each other in order; IT fields after 15 are dropped.
TTarget TargetOfField(TLayout layout, int field)
{
    switch (layout) {
    case TLayout::Tt: {
        static constexpr TTarget kTt[] = {TTarget::Attribute1, TTarget::Attribute3, TTarget::Meaning1,
                                          TTarget::Meaning2, TTarget::Meaning3, TTarget::Meaning4,
                                          TTarget::Link1};
        return field - 3 < int(std::size(kTt)) ? kTt[field - 3] : TTarget::Link2;
    }
    case TLayout::Tj: {
        static constexpr TTarget kTj[] = {TTarget::Meaning1, TTarget::Meaning2, TTarget::Meaning3,
                                          TTarget::Meaning4, TTarget::Link1};
        return field - 3 < int(std::size(kTj)) ? kTj[field - 3] : TTarget::Link2;
    }
    case TLayout::It: {
        static constexpr TTarget kIt[] = {TTarget::Meaning1, TTarget::Meaning2, TTarget::Meaning3,
                                          TTarget::Meaning4, TTarget::Meaning5, TTarget::Meaning6,
                                          TTarget::ItColumn9, TTarget::Link1, TTarget::Link2,
                                          TTarget::ItColumn12, TTarget::ItColumn13, TTarget::ItColumn14,
                                          TTarget::ItColumn15};
        return field - 3 < int(std::size(kIt)) ? kIt[field - 3] : TTarget::None;
    }
    case TLayout::Unchecked:
        break;
    }
    return TTarget::None;
}

// The field of a row that starts at pos; pos moves past the TAB that ends
// it, so it passes the row's size once the last field is taken.
QStringView NextField(QStringView line, qsizetype &pos)
{
    const qsizetype tab = line.indexOf(u'\t', pos);
    const qsizetype end = tab < 0 ? line.size() : tab;
    const QStringView field = line.sliced(pos, end - pos);
    pos = end + 1;
    return field;
}

// The row's position in the word table, or 0 for a row that must be skipped
// (a number that is not an integer 1..30000, or no room after TangoTotal).
int PositionOfRow(QStringView numberField, int tangoTotal, int &unnumbered)
{
    if (numberField.isEmpty()) {
        ++unnumbered;
        const qint64 position = qint64(tangoTotal) + unnumbered;
        return TWordTable::IsPosition(position) ? int(position) : 0;
    }
    bool ok = false;
    const qint64 number = numberField.toLongLong(&ok, 10);
    return ok && TWordTable::IsPosition(number) ? int(number) : 0;
}
}

QString BuiltInLearningFilePath(const QString &programFolder, const QString &code)
{
    return programFolder + kLearningFilePattern.arg(code);
}

namespace {
QString RefusedText(const QString &fileCode, const QString &path, const QString &why)
{
    return QStringLiteral("学習ファイル（%1）が壊れているため、学習できません。%2\n%3")
        .arg(fileCode, why, QDir::toNativeSeparators(path));
}

// The stored text ends with a line break of its own, so the last decoded line
// holds nothing but the control characters of the file's own line ends. A
// file cut short ends inside a row instead.
void RefuseUnendedFile(const QList<QStringView> &lines, const QString &fileCode, const QString &path)
{
    const QStringView trailer = lines.last();
    const bool ended = lines.size() >= 2
                       && std::all_of(trailer.begin(), trailer.end(), [](QChar c) { return c.unicode() < 0x20; });
    if (!ended)
        throw TLearningFileRefused(RefusedText(fileCode, path, QStringLiteral("ファイルが途中で切れています。")));
}

// Every position that takes part in learning has its word.
void RefuseMissingRows(const TWordTable &words, int tangoTotal, const QString &fileCode, const QString &path)
{
    const int total = qBound(0, tangoTotal, kMaxWords);
    int present = 0;
    for (int p = 1; p <= total; ++p)
        present += words[p].word.isEmpty() ? 0 : 1;
    if (present < total) {
        throw TLearningFileRefused(RefusedText(
            fileCode, path, QStringLiteral("%1 語のはずが、%2 語しかありません。").arg(total).arg(present)));
    }
}
}

void ReadLearningFile(const QString &path, const QString &fileCode, int tangoTotal, qint32 &version,
                      TWordTable &words, TNotifier &notifier)
{
    // Lines and fields are read as views of the decoded text: only the cells
    // that are kept become strings of their own.
    const QString text = ReadLearningDataFile(path);
    const QList<QStringView> lines = SplitLineViews(text);
    if (lines.isEmpty()) {
        throw TFatalError(QStringLiteral("学習ファイル（%1）が空です。\n%2").arg(fileCode, QDir::toNativeSeparators(path)));
    }

    RefuseUnendedFile(lines, fileCode, path);
    // Line 1: one character, then the version.
    try {
        version = StrToInt(lines.first().mid(1).toString());
    } catch (const TFatalError &e) {
        RaiseFileError(QDir::toNativeSeparators(path), 1, e.Message());
    }

    words.Clear();
    const TMeaningRules rules = MeaningRulesOf(fileCode, false);
    const TLayout layout = LayoutOfCode(fileCode);
    bool noticeShown = false;
    int unnumbered = 0;
    // Lines 2..n-1 are rows; the last line is the trailer.
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QStringView line = lines.at(i);
        qsizetype pos = 0;
        const QStringView numberField = NextField(line, pos);
        const int position = PositionOfRow(numberField, tangoTotal, unnumbered);
        if (position == 0)
            continue;
        TTango &t = words[position];
        if (!numberField.isEmpty())
            t.number = position;
        t.word = pos <= line.size() ? NextField(line, pos).toString() : QString();
        for (int f = 2; pos <= line.size(); ++f) {
            const QStringView field = NextField(line, pos);
            if (field.isEmpty())
                continue;
            const QString cell = field.toString();
            if (layout == TLayout::Unchecked) {
                // A file code without a column layout: nothing is stored.
                // One notice per file says so (a box per cell would bury the
                // learner under thousands of them).
                if (!noticeShown) {
                    notifier.Information(kUncheckedLayoutNotice);
                    noticeShown = true;
                }
                continue;
            }
            switch (TargetOfField(layout, f + 1)) {
            case TTarget::None: break;
            case TTarget::Attribute1: t.attributes[0] = cell; break;
            case TTarget::Attribute3: t.attributes[2] = cell; break;
            case TTarget::Meaning1: t.meanings[0] = NormalizeMeaningText(cell, rules); break;
            case TTarget::Meaning2: t.meanings[1] = NormalizeMeaningText(cell, rules); break;
            case TTarget::Meaning3: t.meanings[2] = NormalizeMeaningText(cell, rules); break;
            case TTarget::Meaning4: t.meanings[3] = NormalizeMeaningText(cell, rules); break;
            case TTarget::Meaning5: t.meanings[4] = NormalizeMeaningText(cell, rules); break;
            case TTarget::Meaning6: t.meanings[5] = NormalizeMeaningText(cell, rules); break;
            case TTarget::Link1: t.links[0] = cell; break;
            case TTarget::Link2: t.links[1] = cell; break;
            case TTarget::ItColumn9: t.itColumn9 = cell; break;
            case TTarget::ItColumn12: t.itColumn12 = cell; break;
            case TTarget::ItColumn13: t.itColumns13to15[0] = cell; break;
            case TTarget::ItColumn14: t.itColumns13to15[1] = cell; break;
            case TTarget::ItColumn15: t.itColumns13to15[2] = cell; break;
            }
        }
        t.joinedMeanings = JoinMeanings(t.meanings);
    }

    RefuseMissingRows(words, tangoTotal, fileCode, path);
}
