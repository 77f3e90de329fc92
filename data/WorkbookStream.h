#pragma once
// The Workbook stream of a classic .xls file and a check that its records
// hold together, made before a workbook is handed to the reader library: a
// damaged file (a record running past the stream's end, a string table whose
// strings run past their records, a cell naming a string that is not there)
// is refused with a message instead of being read past its ends.
#include <QByteArray>
#include <QString>

// The "Workbook" stream (or "Book", of older files) of an OLE2 compound file
// held in `file`; empty, with `problem` set, when there is none to read.
QByteArray ReadWorkbookStream(const QByteArray &file, QString &problem);

// Empty when the BIFF records of a Workbook stream hold together, otherwise
// what is wrong and where. An encrypted stream is not looked into.
QString WorkbookStreamProblem(const QByteArray &stream);
