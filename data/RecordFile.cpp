// The record file of the current learning file: reading, writing, the damage
// test, fresh records, and the history texts and arrays.
#include "data/RecordFile.h"

#include "base/TError.h"
#include "base/DateText.h"
#include "base/FileErrors.h"
#include "base/TextFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <charconv>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace {
const QString kRecordFolder = QStringLiteral("record/");
const QString kTrue = QStringLiteral("TRUE");
const QString kFalse = QStringLiteral("FALSE");
const QByteArray kTrueBytes = kTrue.toLatin1();
const QByteArray kFalseBytes = kFalse.toLatin1();

const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray kUtf16Bom = QByteArrayLiteral("\xFF\xFE");
constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr qint32 kMaxHistoryLevel = 99;

// A line that could not be decoded: it fails every field test.
const QString kUnreadableLine = QStringLiteral("\uFFFD");
// A message names at most this many unreadable lines.
constexpr qsizetype kLinesNamed = 10;

// The trailer: its word field, then the fields of a word never asked.
const QString kTrailerWordFormat = QStringLiteral("#END lines=%1 answers=%2");
const QRegularExpression kTrailerWord(QStringLiteral("^#END lines=(\\d{1,9}) answers=(-?\\d{1,10})$"));
const QString kTrailerFields = QStringLiteral("\t1\t\t0\t\t0\t0\t0\t0\t0\t0\t\t1\t1\tFALSE");

// Lines of a byte text at CR LF, CR or LF; a final line break makes no extra line.
QList<QByteArrayView> SplitByteLines(QByteArrayView bytes)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == '\r' || c == '\n') {
            lines.append(bytes.sliced(start, i - start));
            if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < bytes.size())
        lines.append(bytes.sliced(start));
    return lines;
}

[[noreturn]] void RaiseHistoryError(const QString &text)
{
    RaiseConversionError(text);
}

// Walks a history text "key[level]key[level]..." entry by entry, reading
// each entry in place.
template <typename Entry, typename KeyReader, typename Sink>
void ForEachHistoryEntry(const QString &text, KeyReader readKey, Sink sink)
{
    const QStringView view(text);
    const char16_t *units = view.utf16();
    const qsizetype n = view.size();
    // Entries are short: plain loops find the brackets sooner than search calls.
    const auto find = [&](char16_t c, qsizetype from) {
        while (from < n && units[from] != c)
            ++from;
        return from < n ? from : -1;
    };
    qsizetype pos = 0;
    while (pos < n) {
        const qsizetype open = find(u'[', pos);
        const qsizetype close = open < 0 ? -1 : find(u']', open);
        if (open < 0 || close < 0)
            RaiseHistoryError(text.mid(pos));
        Entry entry;
        readKey(view.sliced(pos, open - pos), entry);
        entry.level = StrToInt(view.sliced(open + 1, close - open - 1));
        if (entry.level < 0 || entry.level > kMaxHistoryLevel)
            RaiseHistoryError(text.mid(open, close - open + 1));
        sink(entry);
        pos = close + 1;
    }
}

template <typename Entry, typename KeyReader>
QList<Entry> ParseHistory(const QString &text, KeyReader readKey)
{
    QList<Entry> entries;
    ForEachHistoryEntry<Entry>(text, readKey, [&](const Entry &e) { entries.append(e); });
    return entries;
}

void ReadStage1Key(QStringView key, TStage1Entry &e)
{
    e.question = StrToInt(key);
}

void ReadStage2Key(QStringView key, TStage2Entry &e)
{
    // A text that is not a date is the conversion error, as for any date.
    const std::optional<QDate> date = ParseDateText(key);
    e.day = (date ? *date : ReadDateText(key.toString())).toJulianDay();
}

void ClearArrays(TTango &t)
{
    t.stage1Questions.fill(0);
    t.stage1Levels.fill(0);
    t.stage2Days.fill(0);
    t.stage2Levels.fill(0);
}
}

static QString KeptCopyNote(const QString &keptCopy)
{
    if (keptCopy.isEmpty())
        return {};
    return QStringLiteral("\n損傷したファイルは次の名前で残してあります。\n") + QDir::toNativeSeparators(keptCopy);
}

QString DamagedRecordMessage(const QString &path, const QString &keptCopy)
{
    return QStringLiteral("記録ファイルが損傷しています。内容を初期化します。\n") + QDir::toNativeSeparators(path)
           + KeptCopyNote(keptCopy);
}

QString PartlyDamagedRecordMessage(const QString &path, const QList<int> &lines, int readableLines,
                                   const QString &keptCopy)
{
    if (lines.isEmpty()) {
        return QStringLiteral("記録ファイルが途中で切れています。読めた %1 語の記録は残し、ほかの単語は新しい単語として学習し直します。\n")
                   .arg(readableLines)
               + QDir::toNativeSeparators(path) + KeptCopyNote(keptCopy);
    }
    QStringList shown;
    for (qsizetype i = 0; i < lines.size() && i < kLinesNamed; ++i)
        shown.append(QStringLiteral("%1 行目").arg(lines.at(i)));
    QString which = shown.join(QStringLiteral("、"));
    if (lines.size() > kLinesNamed)
        which += QStringLiteral(" ほか %1 行").arg(lines.size() - kLinesNamed);
    return QStringLiteral("記録ファイルの一部が読めません（%1）。読めなかった行の単語は、新しい単語として学習し直します。\n")
               .arg(which)
           + QDir::toNativeSeparators(path) + KeptCopyNote(keptCopy);
}

QByteArray ReadStateFileBytes(const QString &path)
{
    RequireRegularFile(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TFatalError(QStringLiteral("ファイルを読み込めません。\n%1\n%2").arg(QDir::toNativeSeparators(path), FileErrorText(file)));
    return file.readAll();
}

bool IsDamagedStateFile(const QString &path)
{
    return IsDamagedStateBytes(ReadStateFileBytes(path));
}

bool IsDamagedStateBytes(const QByteArray &bytes)
{
    qsizetype end = 0;
    while (end < bytes.size() && bytes.at(end) != '\r' && bytes.at(end) != '\n')
        ++end;
    if (bytes.first(end) == kUtf16Bom)
        return true;
    if (end >= bytes.size())
        return true;   // a single line without a line break
    qsizetype next = end + 1;
    if (bytes.at(end) == '\r' && next < bytes.size() && bytes.at(next) == '\n')
        ++next;
    return next >= bytes.size();
}

// The next field as a view of the line (numbers need no string of their own).
QStringView NextTabView(QStringView line, qsizetype &position)
{
    if (position >= line.size()) {
        ++position;
        return {};
    }
    const qsizetype tab = line.indexOf(u'\t', position);
    const qsizetype end = tab < 0 ? line.size() : tab;
    const QStringView field = line.mid(position, end - position);
    position = end + 1;
    return field;
}

QString NextTabField(const QString &line, qsizetype &position)
{
    return NextTabView(line, position).toString();
}

QStringList RecordFields(const TTango &t)
{
    const auto n = [](qint32 v) { return QString::number(v); };
    return {t.word,
            n(StageNumber(t.stage)),
            t.stage1History,
            n(t.stage1Count),
            t.stage2History,
            n(t.stage2Count),
            n(t.timesAsked),
            n(t.wrongCount),
            n(t.resetCount),
            n(t.level),
            n(t.stage1Counter),
            t.nextDueDate,
            n(t.starX),
            n(t.starY),
            t.stage1Limit ? kTrue : kFalse};
}

QStringList DecodeRecordLines(const QByteArray &bytes)
{
    if (!bytes.startsWith(kUtf16Bom)) {
        QByteArrayView view(bytes);
        if (view.startsWith(kUtf8Bom))
            view = view.sliced(kUtf8Bom.size());
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(view);
        if (!utf8.hasError()) {
            QStringList lines = SplitLines(text);
            if (lines.size() != 1)
                return lines;
        }
    }
    // The older layout: UTF-16, little-endian unless its byte-order mark says otherwise.
    QStringDecoder utf16(bytes.startsWith("\xFE\xFF") ? QStringDecoder::Utf16BE
                                                       : QStringDecoder::Utf16LE);
    QString text = utf16.decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return SplitLines(text);
}

namespace {
// The fields of a record line, split at TABs in one pass; fields past the
// last are empty. Returns how many TABs the line holds (a line with too
// many has its surplus left in the last field).
using TRecordFieldViews = std::array<QStringView, kRecordFieldCount>;
qsizetype SplitRecordFields(QStringView line, TRecordFieldViews &fields)
{
    fields.fill(QStringView());
    const char16_t *units = line.utf16();
    const qsizetype n = line.size();
    qsizetype tabs = 0;
    qsizetype start = 0;
    size_t field = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (units[i] != u'\t')
            continue;
        ++tabs;
        if (field + 1 < fields.size()) {
            fields[field++] = line.sliced(start, i - start);
            start = i + 1;
        }
    }
    fields[field] = line.sliced(start);
    return tabs;
}

// Due dates, which repeat from line to line (a few hundred days for
// thousands of words), checked, read and made once and shared.
class TSharedDates {
public:
    TDueDate Of(QStringView text)
    {
        if (text.isEmpty())
            return {};
        const auto found = m_dates.find(std::u16string_view(text.utf16(), static_cast<size_t>(text.size())));
        if (found != m_dates.end())
            return found->second;
        // A due date that is no date would stop the day's selection, far
        // from the file it came from: its line is unreadable here.
        TDueDate made(text.toString());
        if (!made.IsDate())
            RaiseConversionError(made.Text());
        // The key views the text's own units, which stay put while the map holds it.
        const QString &kept = made.Text();
        m_dates.emplace(std::u16string_view(reinterpret_cast<const char16_t *>(kept.constData()), static_cast<size_t>(kept.size())), made);
        return made;
    }

private:
    std::unordered_map<std::u16string_view, TDueDate> m_dates;
};

// Fields 2..15 (from the stage to the limit flag), numbers read in place.
void ReadRecordFieldViews(const QStringView *fields, TTango &t, TSharedDates &dates)
{
    const auto number = [&](int k) { return StrToInt(fields[k]); };
    // A history count below 0 is as unreadable as one that is not a number.
    const auto count = [&](int k) {
        const qint32 value = StrToInt(fields[k]);
        if (value < 0)
            RaiseConversionError(fields[k].toString());
        return value;
    };
    t.stage = static_cast<TStage>(number(0));
    t.stage1History = fields[1].toString();
    t.stage1Count = count(2);
    t.stage2History = fields[3].toString();
    t.stage2Count = count(4);
    t.timesAsked = number(5);
    t.wrongCount = number(6);
    t.resetCount = number(7);
    t.level = number(8);
    t.stage1Counter = number(9);
    t.nextDueDate = dates.Of(fields[10]);
    t.starX = number(11);
    t.starY = number(12);
    t.stage1Limit = fields[13] == kTrue;
}
}

void ReadRecordFields(QStringView line, qsizetype position, TTango &t)
{
    TRecordFieldViews fields;
    SplitRecordFields(position < line.size() ? line.sliced(position) : QStringView(), fields);
    TSharedDates dates;
    ReadRecordFieldViews(fields.data(), t, dates);
}

QList<TStage1Entry> ParseStage1History(const QString &text)
{
    return ParseHistory<TStage1Entry>(text, ReadStage1Key);
}

QList<TStage2Entry> ParseStage2History(const QString &text)
{
    return ParseHistory<TStage2Entry>(text, ReadStage2Key);
}

void RebuildHistoryArrays(TTango &t)
{
    ClearArrays(t);
    try {
        if (t.stage == TStage::One) {
            int k = 0;
            ForEachHistoryEntry<TStage1Entry>(t.stage1History, ReadStage1Key, [&](const TStage1Entry &e) {
                if (++k <= t.stage1Count)
                    StoreStage1Entry(t, k, e);
            });
            if (t.stage1Count > k)
                RaiseHistoryError(t.stage1History);
        } else if (t.stage == TStage::Two) {
            int k = 0;
            ForEachHistoryEntry<TStage2Entry>(t.stage2History, ReadStage2Key, [&](const TStage2Entry &e) {
                if (++k <= t.stage2Count)
                    StoreStage2Entry(t, k, e);
            });
            if (t.stage2Count > k)
                RaiseHistoryError(t.stage2History);
        }
    } catch (const TFatalError &) {
        ClearArrays(t);   // a history that does not read leaves no half-filled arrays
        throw;
    }
}

TStage1Entry Stage1EntryAt(const TTango &t, int k)
{
    if (k >= 1 && k <= kMaxHistory)
        return {t.stage1Questions[k - 1], t.stage1Levels[k - 1]};
    const QList<TStage1Entry> entries = ParseStage1History(t.stage1History);
    if (k < 1 || k > entries.size())
        RaiseHistoryError(t.stage1History);
    return entries.at(k - 1);
}

TStage2Entry Stage2EntryAt(const TTango &t, int k)
{
    if (k >= 1 && k <= kMaxHistory)
        return {t.stage2Days[k - 1], t.stage2Levels[k - 1]};
    const QList<TStage2Entry> entries = ParseStage2History(t.stage2History);
    if (k < 1 || k > entries.size())
        RaiseHistoryError(t.stage2History);
    return entries.at(k - 1);
}

void StoreStage1Entry(TTango &t, int k, const TStage1Entry &e)
{
    if (k < 1 || k > kMaxHistory)
        return;
    t.stage1Questions[k - 1] = e.question;
    t.stage1Levels[k - 1] = static_cast<qint8>(e.level);
}

void StoreStage2Entry(TTango &t, int k, const TStage2Entry &e)
{
    if (k < 1 || k > kMaxHistory)
        return;
    t.stage2Days[k - 1] = static_cast<qint32>(e.day);
    t.stage2Levels[k - 1] = static_cast<qint8>(e.level);
}

QString WithoutLastHistoryEntry(const QString &text)
{
    if (text.isEmpty())
        return text;
    // The last entry begins after the "]" that ends the one before it.
    const qsizetype previousEnd = text.lastIndexOf(u']', text.endsWith(u']') ? -2 : -1);
    return previousEnd < 0 ? QString() : text.left(previousEnd + 1);
}

int HistoryEntryCount(const QString &text)
{
    return static_cast<int>(text.count(u'['));
}

void ClearWordRecord(TTango &t)
{
    t.stage = TStage::One;
    t.stage1History.clear();
    t.stage1Count = 0;
    t.stage2History.clear();
    t.stage2Count = 0;
    ClearArrays(t);
    t.timesAsked = 0;
    t.wrongCount = 0;
    t.resetCount = 0;
    t.level = 0;
    t.stage1Counter = 0;
    t.nextDueDate.clear();
    t.stage1Limit = false;
}

QString RecordFilePath(const QString &userFolder, const QString &fileCode)
{
    return userFolder + kRecordFolder + QStringLiteral("Record_") + fileCode + QStringLiteral(".dat");
}

namespace {
// Most bytes a number field takes ("-2147483648").
constexpr qsizetype kNumberFieldBytes = 11;
constexpr int kNumberFields = 10;
constexpr int kTextFields = 4;
// What a word's record line takes in a learner's file, give or take.
constexpr qsizetype kTypicalRecordLineBytes = 96;

// The most bytes a word's record line can take: three per UTF-16 unit of
// its texts, the numbers at their longest, the flag, TABs and CR LF.
qsizetype RecordLineBound(const TTango &t)
{
    const qsizetype units = t.word.size() + t.stage1History.size() + t.stage2History.size() + t.nextDueDate.size();
    return 3 * units + kNumberFields * kNumberFieldBytes + kFalse.size() + (kRecordFieldCount - 1) + 2;
}

// UTF-8 as QString::toUtf8 writes it: a surrogate without its partner
// becomes "?".
char *PutUtf8(char *dst, const QString &field)
{
    const char16_t *src = reinterpret_cast<const char16_t *>(field.constData());
    const qsizetype n = field.size();
    const auto put = [&](char32_t c) { *dst++ = static_cast<char>(c); };
    for (qsizetype i = 0; i < n; ++i) {
        const char32_t c = src[i];
        if (c < 0x80) {
            put(c);
        } else if (c < 0x800) {
            put(0xC0 | (c >> 6));
            put(0x80 | (c & 0x3F));
        } else if (!QChar::isSurrogate(c)) {
            put(0xE0 | (c >> 12));
            put(0x80 | ((c >> 6) & 0x3F));
            put(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(src[i + 1])) {
            const char32_t u = QChar::surrogateToUcs4(src[i], src[i + 1]);
            ++i;
            put(0xF0 | (u >> 18));
            put(0x80 | ((u >> 12) & 0x3F));
            put(0x80 | ((u >> 6) & 0x3F));
            put(0x80 | (u & 0x3F));
        } else {
            put('?');
        }
    }
    return dst;
}
}

QByteArray RecordFileBytes(const TWordTable &words, int total)
{
    // One pass over the records into one buffer: before each line the buffer
    // is made long enough for the longest that line can be (it grows by
    // doubling, rarely: it starts at a typical line length per word), then
    // numbers are written in place and texts encoded straight into it.
    static_assert(kTextFields + kNumberFields + 1 == kRecordFieldCount);
    QByteArray bytes(kUtf8Bom.size() + qsizetype(qMax(total, 0)) * kTypicalRecordLineBytes, Qt::Uninitialized);
    qsizetype used = std::copy(kUtf8Bom.begin(), kUtf8Bom.end(), bytes.data()) - bytes.data();
    for (int p = 1; p <= total; ++p) {
        const TTango &t = words[p];
        const qsizetype bound = RecordLineBound(t);
        if (bytes.size() - used < bound)
            bytes.resize(qMax(2 * bytes.size(), used + bound));
        char *const begin = bytes.data();
        char *dst = begin + used;
        const auto text = [&](const QString &field) {
            dst = PutUtf8(dst, field);
            *dst++ = '\t';
        };
        const auto number = [&](qint32 value) {
            dst = std::to_chars(dst, dst + kNumberFieldBytes, value).ptr;
            *dst++ = '\t';
        };
        text(t.word);
        number(StageNumber(t.stage));
        text(t.stage1History);
        number(t.stage1Count);
        text(t.stage2History);
        number(t.stage2Count);
        number(t.timesAsked);
        number(t.wrongCount);
        number(t.resetCount);
        number(t.level);
        number(t.stage1Counter);
        text(t.nextDueDate);
        number(t.starX);
        number(t.starY);
        const QByteArray &flag = t.stage1Limit ? kTrueBytes : kFalseBytes;
        dst = std::copy(flag.begin(), flag.end(), dst);
        *dst++ = '\r';
        *dst++ = '\n';
        used = dst - begin;
    }
    bytes.truncate(used);
    return bytes;
}

QByteArray RecordTrailerLine(const TRecordTrailer &trailer)
{
    return (kTrailerWordFormat.arg(trailer.lines).arg(trailer.answersTotal) + kTrailerFields).toUtf8() + "\r\n";
}

std::optional<TRecordTrailer> ParseRecordTrailer(QStringView line)
{
    if (!line.startsWith(u'#') || !line.endsWith(kTrailerFields))
        return std::nullopt;
    const QRegularExpressionMatch match = kTrailerWord.match(line.chopped(kTrailerFields.size()).toString());
    if (!match.hasMatch())
        return std::nullopt;
    TRecordTrailer trailer;
    trailer.lines = match.capturedView(1).toInt();
    trailer.answersTotal = match.capturedView(2).toLongLong();
    return trailer;
}

QByteArray RecordFileWithTrailer(const TWordTable &words, int total, qint64 answersTotal)
{
    return RecordFileBytes(words, total) + RecordTrailerLine({qMax(total, 0), answersTotal});
}

bool IsCutRecordFile(const TRecordFileRead &read, int wordsExpected)
{
    if (read.trailer)
        return read.trailer->lines != read.wordLines;
    return !read.endsInLineBreak || read.wordLines < wordsExpected;
}

TRecordFileRead ReadRecordFile(const QString &path, TWordTable &words,
                               const std::optional<QHash<QString, int>> &wordIndex)
{
    RequireRegularFile(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TFatalError(QStringLiteral("記録ファイルを読み込めません。\n%1\n%2").arg(QDir::toNativeSeparators(path), FileErrorText(file)));
    return ReadRecordBytes(file.readAll(), words, wordIndex);
}

namespace {
// The decoded lines of a record file; the views point into text or ownLines.
struct TRecordLines {
    QString text;
    QStringList ownLines;
    QList<QStringView> lines;
};

TRecordLines DecodeRecordFileLines(const QByteArray &bytes)
{
    TRecordLines decoded;
    QString &text = decoded.text;
    QStringList &ownLines = decoded.ownLines;
    QList<QStringView> &lines = decoded.lines;
    // Lines are views of one decoded text; only a file that is not UTF-8 as
    // a whole is decoded line by line.
    if (bytes.startsWith(kUtf8Bom)) {
        const QByteArrayView body = QByteArrayView(bytes).sliced(kUtf8Bom.size());
        QStringDecoder whole(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = whole.decode(body);
        // A line's own decoding would drop a byte-order mark at its start.
        if (!whole.hasError() && !text.contains(QChar(kByteOrderMark))) {
            lines = SplitLineViews(text);
        } else {
            // This program's own layout: each line is UTF-8 by itself, so one
            // bad byte spoils one line only.
            text.clear();
            for (const QByteArrayView raw : SplitByteLines(body)) {
                QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
                QString line = utf8.decode(raw);
                ownLines.append(utf8.hasError() ? kUnreadableLine : line);
            }
        }
    } else {
        ownLines = DecodeRecordLines(bytes);
    }
    if (!ownLines.isEmpty()) {
        lines.reserve(ownLines.size());
        for (const QString &line : std::as_const(ownLines))
            lines.append(line);
    }
    return decoded;
}

// The lines that hold words: all but a trailer line at the end.
qsizetype RecordWordLineCount(const QList<QStringView> &lines)
{
    const qsizetype count = lines.size();
    return count > 0 && ParseRecordTrailer(lines.at(count - 1)) ? count - 1 : count;
}
}

std::optional<QHash<QString, int>> MovedWordPositions(const QByteArray &bytes, const TWordTable &words, int total)
{
    QHash<QString, int> positions;
    for (int p = 1; p <= total && TWordTable::IsPosition(p); ++p) {
        const QString &word = words[p].word;
        if (!word.isEmpty() && !positions.contains(word))
            positions.insert(word, p);
    }
    if (positions.isEmpty())
        return std::nullopt;
    const TRecordLines decoded = DecodeRecordFileLines(bytes);
    const qsizetype wordLines = RecordWordLineCount(decoded.lines);
    for (qsizetype k = 1; k <= wordLines; ++k) {
        const QStringView line = decoded.lines.at(k - 1);
        const qsizetype tab = line.indexOf(u'\t');
        const QString word = (tab < 0 ? line : line.left(tab)).toString();
        if (k <= total && words[int(k)].word == word)
            continue;
        const auto found = positions.constFind(word);
        if (found != positions.cend() && found.value() != k)
            return positions;
    }
    return std::nullopt;
}

TRecordFileRead ReadRecordBytes(const QByteArray &bytes, TWordTable &words,
                                const std::optional<QHash<QString, int>> &wordIndex)
{
    TRecordFileRead read;
    const TRecordLines decoded = DecodeRecordFileLines(bytes);
    const QList<QStringView> &lines = decoded.lines;
    // The trailer is the last line; nothing after it is a word's.
    qsizetype wordLines = lines.size();
    if (wordLines > 0)
        read.trailer = ParseRecordTrailer(lines.at(wordLines - 1));
    if (read.trailer)
        --wordLines;
    read.wordLines = static_cast<int>(qMin<qsizetype>(wordLines, INT_MAX));
    QByteArrayView tail(bytes);
    while (tail.endsWith('\0'))   // a UTF-16 line break ends in a zero byte
        tail.chop(1);
    read.endsInLineBreak = tail.isEmpty() || tail.endsWith('\n') || tail.endsWith('\r');
    TRecordFieldViews fields;
    TSharedDates dates;
    for (qsizetype k = 1; k <= wordLines; ++k) {
        const QStringView line = lines.at(k - 1);
        const qsizetype tabs = SplitRecordFields(line, fields);
        const QStringView word = fields[0];
        int target = static_cast<int>(qMin<qsizetype>(k, kMaxWords + 1));
        if (wordIndex) {
            // A user workbook that changed since the last start: records
            // follow their words; a word no longer in the workbook loses its record.
            target = wordIndex->value(word.toString(), 0);
            if (target == 0)
                continue;
        }
        if (!TWordTable::IsPosition(target))
            break;   // lines past the table's last position have no word to belong to
        TTango &t = words[target];
        try {
            if (tabs > kRecordFieldCount - 1)
                RaiseConversionError(line.left(40).toString());
            ReadRecordFieldViews(fields.data() + 1, t, dates);
            RebuildHistoryArrays(t);
            ++read.readableLines;
        } catch (const TFatalError &) {
            read.unreadableLines.append(static_cast<int>(k));
            read.unreadablePositions.append(target);
        }
    }
    return read;
}
