#pragma once
// Writing workbooks: a small writer of classic .xls files (BIFF8 records in
// an OLE2 compound file) that holds text cells only, and the sample workbook
// a learner starts a user file from. Spreadsheet programs and our own reader
// open what it writes; Japanese text is stored as UTF-16.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

inline constexpr int kWorkbookMaxRows = 65536;       // rows of one BIFF8 worksheet
inline constexpr int kWorkbookMaxColumns = 256;      // columns of one BIFF8 worksheet
inline constexpr int kWorkbookMaxCellText = 32767;   // UTF-16 units in one cell

// The bytes of a workbook whose first (and only) worksheet holds `rows`, row
// by row from A1, every non-empty text a text cell. Rows, columns or a text
// beyond what the format holds raise TFatalError.
QByteArray Biff8Workbook(const QList<QStringList> &rows, const QString &sheetName = QStringLiteral("Sheet1"));

// The sample's rows: ten words with their meanings, two empty rows and the
// notes on how to fill the workbook (the notes have no meaning, so reading
// the workbook passes over them).
QList<QStringList> SampleWorkbookRows();

// Writes the sample workbook to `path` in one piece. An existing file is
// never replaced; that, or a failed write, raises TFatalError naming the file.
void WriteSampleWorkbook(const QString &path);

// Creates word_user/User_<number>.xls in the user folder (which ends in "/")
// with the sample rows, making the word_user folder when it is missing, and
// returns its path. Nothing is replaced: an existing workbook or a failed
// write raises TFatalError naming the file.
QString CreateSampleWorkbook(const QString &userFolder, int number);
