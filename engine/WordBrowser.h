#pragma once
// The lists of the word browser: every word of the current learning file
// that stands at one mastery level, each with its meanings, in text order.
#include <QString>
#include <QStringList>

class TCC;

// The root line above the words.
inline const QString kWordBrowserRoot = QStringLiteral("■");
inline const QString kMeaningsOpen = QStringLiteral(" （ ");
inline const QString kMeaningsClose = QStringLiteral(" ）");

// "headword （ joined meanings ）" for every word at `level` (0..12, or 99
// for the words excluded from questions), the headword as a choice shows it
// with its homonym digit left out. Sorted by text: alphabetically without
// regard to case, then by the exact text.
QStringList WordBrowserLines(const TCC &cc, int level);

// What is spoken for a line: its text up to (not including) " （ ".
QString SpokenPartOfLine(const QString &line);
