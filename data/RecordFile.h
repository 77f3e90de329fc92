#pragma once
// The record file record/Record_<code>.dat: UTF-8 with a byte-order mark, one
// line per word position, 15 TAB-separated fields:
//   word, stage, stage-1 history, stage-1 count, stage-2 history,
//   stage-2 count, times asked, wrong count, reset count, level,
//   stage-1 question counter, next due date, star X, star Y, limit flag.
// The program ends the file with one more line that counts the word lines
// (RecordTrailerLine); files without it are read as before.
//
// Histories are stored as text: stage 1 "0[2]40[3]160[4]" (question number
// and level), stage 2 "2009/7/5[6]2009/7/25[7]" (date and level). When a
// record is read, the history of the word's current stage is also unpacked
// into the fixed arrays of TTango. The arrays hold entries 1 to 99; a longer
// history keeps every entry in its text, and the entries past 99 are read
// from the text when they are needed (Stage1EntryAt, Stage2EntryAt).
#include "data/WordTable.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

inline constexpr int kRecordFieldCount = 15;
inline constexpr int kStarFieldWidth = 1024;    // star X is 1..1024
inline constexpr int kStarFieldHeight = 768;    // star Y is 1..768

// Shown when a record file fails the damage test and no line of it can be
// read: the record then starts afresh. Names the file and the kept copy of
// the damaged one (none when nothing may be written).
QString DamagedRecordMessage(const QString &path, const QString &keptCopy);
// Shown when some lines of a record file cannot be read, or it ends too
// early: those words start afresh, every readable line is kept.
QString PartlyDamagedRecordMessage(const QString &path, const QList<int> &lines, int readableLines,
                                   const QString &keptCopy);

// Damage test of a record or settings file: damaged when the first line is
// not followed by a second one, or when the first line is exactly the two
// bytes FF FE. A file that cannot be read is an error (TFatalError), never
// "damaged": a record that cannot be read must not be replaced.
bool IsDamagedStateFile(const QString &path);
// The same test on the bytes of such a file, read with ReadStateFileBytes
// (which raises TFatalError, naming the file, when it cannot be read).
bool IsDamagedStateBytes(const QByteArray &bytes);
QByteArray ReadStateFileBytes(const QString &path);

// The field that starts at `position`; the position moves past the TAB that
// ends it. An empty field (a TAB or the end of the line at the position)
// gives empty text and moves the position by one.
QString NextTabField(const QString &line, qsizetype &position);

// The 15 fields of a word's line, exactly as the record file holds them.
QStringList RecordFields(const TTango &word);

// Decodes record-file bytes into lines: UTF-8 (a leading BOM dropped); bytes
// that are not UTF-8, or UTF-8 that gives a single line, are the older UTF-16
// layout.
QStringList DecodeRecordLines(const QByteArray &bytes);

// Reads fields 2..15 of a record line, starting at `position` (just past the
// word), into the record half of `word`. A numeric field that is missing or
// not a decimal integer is the conversion error (TFatalError); missing text
// fields read as empty; the limit flag is set only by the exact text "TRUE".
// The history arrays are not touched (RebuildHistoryArrays).
void ReadRecordFields(QStringView line, qsizetype position, TTango &word);

// One history entry. For stage 2, `day` is the entry's date as a Julian day.
struct TStage1Entry {
    qint32 question = 0;
    qint32 level = 0;
};
struct TStage2Entry {
    qint64 day = 0;
    qint32 level = 0;
};

// Every entry of a history text, in order. Malformed text (a missing "[" or
// "]", a number or date that does not read, a level outside 0..99) is the
// conversion error.
QList<TStage1Entry> ParseStage1History(const QString &text);
QList<TStage2Entry> ParseStage2History(const QString &text);

// Fills the history arrays from the text of the word's current stage (stage 1
// or 2; stage 3 has none), for entries 1 to the stored count (at most 99 in
// the arrays). The other arrays are zeroed. A count larger than the entries
// in the text is the conversion error.
void RebuildHistoryArrays(TTango &word);

// Entry k (1-based) of the word's stage-1 / stage-2 history: from the arrays
// for k up to 99, from the text beyond. Asking for an entry the text does not
// hold is the conversion error.
TStage1Entry Stage1EntryAt(const TTango &word, int k);
TStage2Entry Stage2EntryAt(const TTango &word, int k);

// Puts entry k into the arrays when k is 1..99 (entries past 99 live in the
// text only).
void StoreStage1Entry(TTango &word, int k, const TStage1Entry &entry);
void StoreStage2Entry(TTango &word, int k, const TStage2Entry &entry);

// The history text without its last entry (empty text stays empty).
QString WithoutLastHistoryEntry(const QString &text);
// Number of entries in a history text.
int HistoryEntryCount(const QString &text);

// A word's record as a word never asked: stage 1, level 0, no history, no
// counts (the star keeps its place).
void ClearWordRecord(TTango &word);

// record/Record_<code>.dat in the user folder.
QString RecordFilePath(const QString &userFolder, const QString &fileCode);

// The word lines of the record file for positions 1..total.
QByteArray RecordFileBytes(const TWordTable &words, int total);

// The last line of a record file as this program writes it. It tells a file
// that was cut short (by a copy that stopped, a full medium, an edit) from a
// whole one: its word field says how many word lines come before it, and the
// settings' answers total when the file was written (the settings are saved
// after the record, so a save interrupted in between leaves them behind it).
// Its other fields are those of a word never asked, so that a reader without
// this line in mind takes it for one more record past the file's words,
// which no word uses. Files written before it existed end without it and
// are read as they always were.
struct TRecordTrailer {
    int lines = 0;
    qint64 answersTotal = 0;
    bool operator==(const TRecordTrailer &) const = default;
};
QByteArray RecordTrailerLine(const TRecordTrailer &trailer);
// The trailer a line holds, if it is one exactly as written above.
std::optional<TRecordTrailer> ParseRecordTrailer(QStringView line);
// The whole record file: the word lines of positions 1..total, then the trailer.
QByteArray RecordFileWithTrailer(const TWordTable &words, int total, qint64 answersTotal);

// Reads the record file at path into the word table. Line k belongs to
// position k; with a word index (a user workbook that changed since the last
// start) each line goes to the position of its word, and the lines of words
// no longer in the workbook are dropped. Lines past the table's last
// position have no word to belong to. A file that cannot be read raises
// TFatalError.
// Lines that cannot be read (not 15 fields, a bad number or date, a history
// that does not match its count, text that is not UTF-8) are passed over and
// listed; the words they belong to are left for the caller to start afresh.
struct TRecordFileRead {
    int readableLines = 0;
    QList<int> unreadableLines;       // 1-based line numbers
    QList<int> unreadablePositions;   // the word positions of those lines
    int wordLines = 0;                // lines of words (the trailer not counted)
    std::optional<TRecordTrailer> trailer;
    bool endsInLineBreak = true;      // false: the last line stops mid-way
};
// Whether a record file read was cut short: its trailer counts other lines
// than it has, or (a file without a trailer) its last line has no line break
// or it has fewer lines than the learning file has words (wordsExpected; 0
// when lines are matched by word and any number may be missing).
bool IsCutRecordFile(const TRecordFileRead &read, int wordsExpected);
TRecordFileRead ReadRecordFile(const QString &path, TWordTable &words,
                               const std::optional<QHash<QString, int>> &wordIndex);
// The positions of the words of a built-in list (1 to total) when the lines of
// its record file name them at other positions: the list's order changed with
// a data update, and each record is to follow its word (the word opens its
// line). Nothing while every line is where its word is, or names no word of the
// list (records of another layout keep going by position).
std::optional<QHash<QString, int>> MovedWordPositions(const QByteArray &bytes, const TWordTable &words, int total);
// The same for the bytes of a record file already read.
TRecordFileRead ReadRecordBytes(const QByteArray &bytes, TWordTable &words,
                                const std::optional<QHash<QString, int>> &wordIndex);
