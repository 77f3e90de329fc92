#pragma once
// The learner's own word lists: workbooks word_user/User_<n>.xls (n = 1..18)
// in the user folder, one word a row (column A) with up to six meanings
// (columns B to G), and FileInfo/FileModifiedDate.dat, which remembers the
// modification time of every learning file so that an edited workbook is
// noticed and its records are matched by word.
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

inline constexpr int kUserMeaningCount = 6;
inline constexpr int kEmptyRowsEndingList = 77;       // empty rows in a row end the list
inline constexpr int kWordsPerFirstLetter = 9999;     // words under one first letter
inline constexpr int kFirstLetterBuckets = 27;        // "a".."z" and everything else
inline constexpr int kModificationTimeLines = 49;     // one line per file slot
inline constexpr int kOlderModificationTimeLines = 36;
inline constexpr char16_t kNoModificationTime[] = u"1899/12/30";

// word_user/User_<n>.xls in the user folder (which ends in "/").
QString UserWorkbookPath(const QString &userFolder, int number);
// FileInfo/FileModifiedDate.dat in the user folder.
QString ModificationTimesPath(const QString &userFolder);

// The first worksheet's used range as rows of cell texts, each cell as the
// learner sees it (a number cell 1984 reads "1984"). A file that cannot be
// read as a workbook (missing, damaged, password-protected, or a newer
// workbook or another format saved under the .xls name) raises
// TLearningFileRefused naming the file; nothing is written. The workbook is
// checked first, then read in a short-lived child process: a workbook on
// which the reader library fails in any way (a crash, a read out of bounds
// caught by a checker, no end) is refused as one that cannot be read, and
// the calling program goes on.
QList<QStringList> ReadWorkbookRows(const QString &path);

// Tests only: run in the reading child before it reads (to make it crash or
// hang); empty for none.
void SetWorkbookReadFault(std::function<void()> fault);
// Tests only: how long the reading child may take (0: the default).
void SetWorkbookReadLimit(int milliseconds);

// One word of a user file, in workbook order (its position is its index + 1).
struct TUserWord {
    QString word;
    std::array<QString, kUserMeaningCount> meanings;
};
struct TUserWords {
    QList<TUserWord> words;
    QHash<QString, int> positions;   // word -> position (1-based)
};

// The row rules: a row without a word is passed over and counts as empty; a
// word already read is passed over (the first occurrence wins); a word
// without a first meaning is taken back and its row counts as empty; any
// other row is a word with its meanings as written (an empty cell ends them)
// and ends a run of empty rows; 77 empty rows in a row end the list. More
// than 9999 words under one first letter, or more words than the word table
// holds, raise TLearningFileRefused naming the file.
TUserWords ApplyUserRowRules(const QList<QStringList> &rows, const QString &path);

// The modification time text of a file: "yyyy/mm/dd H:mm:ss" in local time,
// the date alone at exactly midnight, "1899/12/30" for a missing file.
QString ModificationTimeText(const QString &path);

// The 49 lines of a modification-times file's text lines; the older 36-line
// layout is widened (lines 37..44 "1899/12/30", lines 45..49 copies of lines
// 32..36). Any other number of lines gives an empty list (nothing known).
QStringList WidenModificationTimes(const QStringList &lines);

// True when a program to edit .xls workbooks with is registered on the
// desktop. Reading and creating workbooks never need one.
bool IsExcelAvailable();
