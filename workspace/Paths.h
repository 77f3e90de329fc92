#pragma once
// Folder texts and relative names of the program and user folders.
#include <QString>

// The folder text with a trailing "/" (folder texts always end in one, so a
// relative name is simply appended).
QString WithSeparator(QString folder);

// A folder as a user names it (relative to the working folder or absolute,
// with or without a trailing "/") as the program's folder text: absolute,
// without "." or ".." parts, ending in "/". Every folder that comes from a
// command line or a setting passes through here before a name is appended.
QString FolderText(const QString &folder);

// Whether a folder named in UserDirectory.dat may hold the learner's files:
// an absolute path to an existing, writable folder that is not the root of
// the file system, the home folder itself or a system folder.
bool IsUsableUserFolder(const QString &folder);
// Why a folder is or is not usable: Missing (no such folder), Unsafe (not
// absolute, the root, the home folder, a system folder), Unwritable (a
// learner's folder that cannot be written now, such as a drive mounted
// read-only), Usable.
enum class TUserFolderState { Usable, Missing, Unsafe, Unwritable };
TUserFolderState UserFolderState(const QString &folder);

// The folder a line of UserDirectory.dat names. A relative name (the
// default "user/") is taken inside the program folder, so that a copied
// program folder uses its own; it may not lead out of it. An absolute name
// (a folder the learner chose) stays as it is. Empty when the line names no
// folder inside the program folder.
QString StoredUserFolder(const QString &programFolder, const QString &stored);

// Removes what an interrupted save left behind in a folder: temporary files
// named after one of our state files plus "." and six letters or digits.
// Nothing else is touched. Returns the names removed.
QStringList RemoveLeftoverTemporaries(const QString &folder);

// base + relative, where each part of relative that does not exist as
// written is matched against the folder's entries without regard to case
// (files carried over from a case-insensitive file system). Parts that match
// nothing stay as written.
QString ResolvePathIgnoringCase(const QString &base, const QString &relative);
