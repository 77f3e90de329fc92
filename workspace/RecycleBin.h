#pragma once
// Deleting to the recycle bin (the freedesktop trash): nothing is lost for
// good, the learner can restore it from the desktop's trash.
#include <QString>

// Moves a file or a folder to the trash without asking. False when it could
// not be moved; the item then stays where it was.
bool MoveToRecycleBin(const QString &path);
