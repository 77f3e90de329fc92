#pragma once
// What the learning-file manager changes in the catalog: the daily order of
// the files, which of them are studied, and the titles of the user files.
// The window only shows the rows and calls these.
#include "workspace/Catalog.h"

#include <QString>

// word_user/Title.dat: the 18 user-file titles, one a line.
inline const QString kUserTitlesFile = QStringLiteral("word_user/Title.dat");
inline constexpr int kLowestOrder = 1;
inline constexpr int kHighestOrder = kSlotCount;

// The order number of a row as a number (0 when its text is none).
int OrderOf(const TDBF &row);

// Gives the row of `slot` the order number `value`. The value is capped at
// one more than the largest number of the other rows; a row that held the
// same number takes the edited row's previous one, so the two swap places
// and the numbers stay a permutation. Returns the number the row now has.
int ChangeFileOrder(TCatalog &catalog, int slot, int value);

// True when some row other than `slot` is switched on (at least one file
// always stays on).
bool AnyOtherFileOn(const TCatalog &catalog, int slot);

// A title for a user file as the learner typed it, made fit for its line in
// Title.dat: line breaks become spaces, spaces around it are dropped.
QString CleanUserFileTitle(const QString &typed);

// Writes word_user/Title.dat in the user folder (which ends in "/") from the
// titles of slots 32..49, making word_user/ when it is missing. A failed
// write raises TFatalError naming the file; the old file then stays.
void SaveUserFileTitles(const TCatalog &catalog, const QString &userFolder);
