#pragma once
// Folder texts and relative names of the program and user folders.
#include <QString>

// The folder text with a trailing "/" (folder texts always end in one, so a
// relative name is simply appended).
QString WithSeparator(QString folder);

// base + relative, where each part of relative that does not exist as
// written is matched against the folder's entries without regard to case
// (files carried over from a case-insensitive file system). Parts that match
// nothing stay as written.
QString ResolvePathIgnoringCase(const QString &base, const QString &relative);
