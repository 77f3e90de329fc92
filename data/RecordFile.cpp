// The record file of the current learning file: reading, writing, the damage
// test, fresh records, and the history texts and arrays.
#include "data/RecordFile.h"

#include "base/TError.h"
#include "base/DateText.h"
#include "base/TextFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <utility>

namespace {
const QString kRecordFolder = QStringLiteral("record/");
const QString kTrue = QStringLiteral("TRUE");
const QString kFalse = QStringLiteral("FALSE");
const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray kUtf16Bom = QByteArrayLiteral("\xFF\xFE");
constexpr qint32 kMaxHistoryLevel = 99;

// A line that could not be decoded: it fails every field test.
const QString kUnreadableLine = QStringLiteral("\uFFFD");
// A message names at most this many unreadable lines.
constexpr qsizetype kLinesNamed = 10;

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

// Splits a history text into (key, level) pairs: "key[level]key[level]...".
template <typename Entry, typename KeyReader>
QList<Entry> ParseHistory(const QString &text, KeyReader readKey)
{
    QList<Entry> entries;
    const QStringView view(text);
    qsizetype pos = 0;
    while (pos < view.size()) {
        const qsizetype open = view.indexOf(u'[', pos);
        const qsizetype close = open < 0 ? -1 : view.indexOf(u']', open);
        if (open < 0 || close < 0)
            RaiseHistoryError(text.mid(pos));
        Entry entry;
        readKey(view.mid(pos, open - pos), entry);
        entry.level = StrToInt(view.mid(open + 1, close - open - 1));
        if (entry.level < 0 || entry.level > kMaxHistoryLevel)
            RaiseHistoryError(text.mid(open, close - open + 1));
        entries.append(entry);
        pos = close + 1;
    }
    return entries;
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

bool IsDamagedStateFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TFatalError(QStringLiteral("ファイルを読み込めません。\n%1\n%2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
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

void ReadRecordFields(const QString &line, qsizetype position, TTango &t)
{
    auto number = [&] { return StrToInt(NextTabView(line, position)); };
    // A history count below 0 is as unreadable as one that is not a number.
    auto count = [&] {
        const QStringView field = NextTabView(line, position);
        const qint32 value = StrToInt(field);
        if (value < 0)
            RaiseConversionError(field.toString());
        return value;
    };
    t.stage = static_cast<TStage>(number());
    t.stage1History = NextTabField(line, position);
    t.stage1Count = count();
    t.stage2History = NextTabField(line, position);
    t.stage2Count = count();
    t.timesAsked = number();
    t.wrongCount = number();
    t.resetCount = number();
    t.level = number();
    t.stage1Counter = number();
    t.nextDueDate = NextTabField(line, position);
    t.starX = number();
    t.starY = number();
    t.stage1Limit = NextTabView(line, position) == kTrue;
}

QList<TStage1Entry> ParseStage1History(const QString &text)
{
    return ParseHistory<TStage1Entry>(text, [](QStringView key, TStage1Entry &e) {
        e.question = StrToInt(key);
    });
}

QList<TStage2Entry> ParseStage2History(const QString &text)
{
    return ParseHistory<TStage2Entry>(text, [](QStringView key, TStage2Entry &e) {
        e.day = ReadDateText(key.toString()).toJulianDay();
    });
}

void RebuildHistoryArrays(TTango &t)
{
    ClearArrays(t);
    if (t.stage == TStage::One) {
        const QList<TStage1Entry> entries = ParseStage1History(t.stage1History);
        if (t.stage1Count > entries.size())
            RaiseHistoryError(t.stage1History);
        for (int k = 1; k <= t.stage1Count; ++k)
            StoreStage1Entry(t, k, entries.at(k - 1));
    } else if (t.stage == TStage::Two) {
        const QList<TStage2Entry> entries = ParseStage2History(t.stage2History);
        if (t.stage2Count > entries.size())
            RaiseHistoryError(t.stage2History);
        for (int k = 1; k <= t.stage2Count; ++k)
            StoreStage2Entry(t, k, entries.at(k - 1));
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

QByteArray RecordFileBytes(const TWordTable &words, int total)
{
    QString text;
    for (int p = 1; p <= total; ++p) {
        text += RecordFields(words[p]).join(u'\t');
        text += QStringLiteral("\r\n");
    }
    return kUtf8Bom + text.toUtf8();
}

TRecordFileRead ReadRecordFile(const QString &path, TWordTable &words,
                               const std::optional<QHash<QString, int>> &wordIndex)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TFatalError(QStringLiteral("記録ファイルを読み込めません。\n%1\n%2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    TRecordFileRead read;
    QStringList lines;
    if (bytes.startsWith(kUtf8Bom)) {
        // This program's own layout: each line is UTF-8 by itself, so one bad
        // byte spoils one line only.
        const QList<QByteArrayView> rawLines = SplitByteLines(QByteArrayView(bytes).sliced(kUtf8Bom.size()));
        for (qsizetype k = 0; k < rawLines.size(); ++k) {
            QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            QString line = utf8.decode(rawLines.at(k));
            if (utf8.hasError())
                line = kUnreadableLine;
            lines.append(line);
        }
    } else {
        lines = DecodeRecordLines(bytes);
    }
    for (qsizetype k = 1; k <= lines.size(); ++k) {
        const QString &line = lines.at(k - 1);
        qsizetype pos = 0;
        const QString word = NextTabField(line, pos);
        int target = static_cast<int>(qMin<qsizetype>(k, kMaxWords + 1));
        if (wordIndex) {
            // A user workbook that changed since the last start: records
            // follow their words; a word no longer in the workbook loses its record.
            target = wordIndex->value(word, 0);
            if (target == 0)
                continue;
        }
        if (!TWordTable::IsPosition(target))
            break;   // lines past the table's last position have no word to belong to
        TTango &t = words[target];
        try {
            if (line.count(u'\t') > kRecordFieldCount - 1)
                RaiseConversionError(line.left(40));
            ReadRecordFields(line, pos, t);
            RebuildHistoryArrays(t);
            ++read.readableLines;
        } catch (const TFatalError &) {
            read.unreadableLines.append(static_cast<int>(k));
            read.unreadablePositions.append(target);
        }
    }
    return read;
}
