// Learning files: the shift codec and the loading of a learning file into the
// word table.
#include "data/LearningFile.h"

#include "data/MeaningRules.h"
#include "data/WordTable.h"
#include "base/Notifier.h"
#include "base/TError.h"
#include "base/FileErrors.h"
#include "base/TextFiles.h"

#include <QDir>
#include <algorithm>
#include <QFile>
#include <QFileInfo>
#include <iterator>
#include <vector>
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

namespace {
// The general decoding: the text as QString reads it (malformed bytes become
// replacement characters), then one pass that ends every line in CR LF (a
// line break of any kind becomes one, a last line without one gets one) and
// shifts every unit down.
QString DecodeAnyLearningBytes(QByteArrayView view)
{
    const QString text = QString::fromUtf8(view);
    const char16_t *src = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype n = text.size();
    QString out(2 * n + 2, Qt::Uninitialized);   // room for a lone break to become two units
    char16_t *const begin = reinterpret_cast<char16_t *>(out.data());
    char16_t *dst = begin;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = src[i];
        if (c == u'\r' || c == u'\n') {
            *dst++ = kShiftedCr;
            *dst++ = kShiftedLf;
            if (c == u'\r' && i + 1 < n && src[i + 1] == u'\n')
                ++i;
        } else {
            *dst++ = static_cast<char16_t>(c - kLearningTextShift);
        }
    }
    if (n > 0 && src[n - 1] != u'\r' && src[n - 1] != u'\n') {
        *dst++ = kShiftedCr;
        *dst++ = kShiftedLf;
    }
    out.truncate(dst - begin);
    return out;
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The same in one pass straight from the bytes, for text that is plainly
// well-formed: false at the first sequence that is not (or that decodes to a
// noncharacter or a byte-order mark, which are left to the general decoding).
bool DecodeWellFormedLearningBytes(QByteArrayView view, QString &out)
{
    const auto *src = reinterpret_cast<const unsigned char *>(view.data());
    const qsizetype n = view.size();
    out = QString(2 * n + 2, Qt::Uninitialized);   // a lone line break becomes two units
    char16_t *const begin = reinterpret_cast<char16_t *>(out.data());
    char16_t *dst = begin;
    char32_t last = 0;   // the last character read
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = src[i];
        char32_t u;
        if (c < 0x80) {
            if (c == '\r' || c == '\n') {
                *dst++ = kShiftedCr;
                *dst++ = kShiftedLf;
                i += (c == '\r' && i + 1 < n && src[i + 1] == '\n') ? 2 : 1;
                last = c;
                continue;
            }
            u = c;
            i += 1;
        } else if (c >= 0xC2 && c <= 0xDF) {
            if (i + 1 >= n || !IsContinuation(src[i + 1]))
                return false;
            u = (char32_t(c & 0x1F) << 6) | (src[i + 1] & 0x3F);
            i += 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            if (i + 2 >= n || !IsContinuation(src[i + 1]) || !IsContinuation(src[i + 2]))
                return false;
            u = (char32_t(c & 0x0F) << 12) | (char32_t(src[i + 1] & 0x3F) << 6) | (src[i + 2] & 0x3F);
            if (u < 0x800 || QChar::isSurrogate(u))
                return false;   // overlong or a surrogate
            i += 3;
        } else if (c >= 0xF0 && c <= 0xF4) {
            if (i + 3 >= n || !IsContinuation(src[i + 1]) || !IsContinuation(src[i + 2]) || !IsContinuation(src[i + 3]))
                return false;
            u = (char32_t(c & 0x07) << 18) | (char32_t(src[i + 1] & 0x3F) << 12) | (char32_t(src[i + 2] & 0x3F) << 6)
                | (src[i + 3] & 0x3F);
            if (u < 0x10000 || u > 0x10FFFF)
                return false;
            i += 4;
        } else {
            return false;
        }
        if (QChar::isNonCharacter(u) || u == 0xFEFF)
            return false;
        if (QChar::requiresSurrogates(u)) {
            *dst++ = static_cast<char16_t>(QChar::highSurrogate(u) - kLearningTextShift);
            *dst++ = static_cast<char16_t>(QChar::lowSurrogate(u) - kLearningTextShift);
        } else {
            *dst++ = static_cast<char16_t>(u - kLearningTextShift);
        }
        last = u;
    }
    if (n > 0 && last != u'\r' && last != u'\n') {
        *dst++ = kShiftedCr;
        *dst++ = kShiftedLf;
    }
    out.truncate(dst - begin);
    return true;
}
}

QString DecodeLearningBytes(const QByteArray &stored)
{
    QByteArrayView view(stored);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QString out;
    if (!DecodeWellFormedLearningBytes(view, out))
        out = DecodeAnyLearningBytes(view);
    return out;
}

QString ReadLearningDataFile(const QString &path)
{
    RequireRegularFile(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw TFatalError(QStringLiteral("学習データファイルを読み込めません。\n%1\n%2")
                              .arg(QDir::toNativeSeparators(path), FileErrorText(file)));
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
    // Fields are short: a plain loop finds the TAB sooner than a search call.
    const char16_t *units = line.utf16();
    qsizetype end = pos;
    while (end < line.size() && units[end] != u'\t')
        ++end;
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
    // Plain digits are read in place; anything else as the number reader does.
    if (numberField.size() <= 9) {
        qint64 number = 0;
        bool digits = true;
        for (const QChar c : numberField) {
            digits = digits && c >= u'0' && c <= u'9';
            number = number * 10 + (c.unicode() - u'0');
        }
        if (digits)
            return TWordTable::IsPosition(number) ? int(number) : 0;
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

// Every position that takes part in learning has its word (present: the
// positions whose word was read, by position).
void RefuseMissingRows(const std::vector<bool> &present, int tangoTotal, const QString &fileCode,
                       const QString &path)
{
    const int total = qBound(0, tangoTotal, kMaxWords);
    const int found = static_cast<int>(std::count(present.begin(), present.begin() + total + 1, true));
    if (found < total) {
        throw TLearningFileRefused(RefusedText(
            fileCode, path, QStringLiteral("%1 語のはずが、%2 語しかありません。").arg(total).arg(found)));
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
        version = StrToInt(lines.first().mid(1));
    } catch (const TFatalError &e) {
        RaiseFileError(QDir::toNativeSeparators(path), 1, e.Message());
    }

    words.Clear();
    const TMeaningRules rules = MeaningRulesOf(fileCode, false);
    const TLayout layout = LayoutOfCode(fileCode);
    bool noticeShown = false;
    int unnumbered = 0;
    std::vector<bool> present(kMaxWords + 1, false);
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
        present[static_cast<size_t>(position)] = !t.word.isEmpty();
        for (int f = 2; pos <= line.size(); ++f) {
            const QStringView cell = NextField(line, pos);
            if (cell.isEmpty())
                continue;
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
            // Only the cells that are kept become strings of their own.
            switch (TargetOfField(layout, f + 1)) {
            case TTarget::None: break;
            case TTarget::Attribute1: t.attributes[0] = cell.toString(); break;
            case TTarget::Attribute3: t.attributes[2] = cell.toString(); break;
            case TTarget::Meaning1: t.meanings[0] = NormalizeMeaningView(cell, rules); break;
            case TTarget::Meaning2: t.meanings[1] = NormalizeMeaningView(cell, rules); break;
            case TTarget::Meaning3: t.meanings[2] = NormalizeMeaningView(cell, rules); break;
            case TTarget::Meaning4: t.meanings[3] = NormalizeMeaningView(cell, rules); break;
            case TTarget::Meaning5: t.meanings[4] = NormalizeMeaningView(cell, rules); break;
            case TTarget::Meaning6: t.meanings[5] = NormalizeMeaningView(cell, rules); break;
            case TTarget::Link1: t.links[0] = cell.toString(); break;
            case TTarget::Link2: t.links[1] = cell.toString(); break;
            case TTarget::ItColumn9: t.itColumn9 = cell.toString(); break;
            case TTarget::ItColumn12: t.itColumn12 = cell.toString(); break;
            case TTarget::ItColumn13: t.itColumns13to15[0] = cell.toString(); break;
            case TTarget::ItColumn14: t.itColumns13to15[1] = cell.toString(); break;
            case TTarget::ItColumn15: t.itColumns13to15[2] = cell.toString(); break;
            }
        }
        t.joinedMeanings = JoinMeanings(t.meanings);
    }

    RefuseMissingRows(present, tangoTotal, fileCode, path);
}
