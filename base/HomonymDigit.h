#pragma once
// Words that are spelt alike are told apart by a last digit 1-9 ("bank2");
// a final 0 is part of the word.
#include <QString>

bool IsHomonymDigit(QChar c);
// Removes a trailing homonym digit 1..9.
QString StripHomonymDigit(const QString &word);
// Puts a trailing homonym digit in brackets: "bank2" gives "bank(2)".
QString FormatHomonym(const QString &word);
