#pragma once
// Where the program keeps the files it writes beside itself. A program folder
// that can be written (the build tree, a portable copy) keeps them itself. An
// installed program's folder is read-only (or inside a system folder, which
// even root must not write): its own files then live in
// $XDG_DATA_HOME/tessarion/ (by default ~/.local/share/tessarion/), which holds
// UserDirectory.dat, the default user folder user/ and downloaded revisions of
// the files under resource/; the shipped files are read from the installed
// folder wherever no revision has been downloaded.
#include "workspace/EngineContext.h"

#include <QString>

struct TProgramFolders {
    QString own;         // ends in "/": where the program writes its own files
    QString installed;   // ends in "/": the folder of the program file
    bool Installed() const { return own != installed; }
};

enum class TCreateOwnFolder { Yes, No };

// folderOfProgram: the folder of the program file. With TCreateOwnFolder::Yes
// the data folder of an installed program is created when missing (a tool
// command that only shows data creates nothing).
TProgramFolders LocateProgramFolders(const QString &folderOfProgram, TCreateOwnFolder create);

// The folder a shipped file (a name relative to the program folder, such as
// "resource/TT_enc.dat") is read from: the program's own folder when it holds
// the file (a downloaded revision, or simply the program folder of a portable
// copy), otherwise the installed folder.
QString ShippedFileFolder(const TEngineContext &context, const QString &relative);
// The folder of the program file (files that are never revised, such as the
// sound effects, are read only from there).
inline const QString &InstalledFolder(const TEngineContext &context)
{
    return context.installedFolder.isEmpty() ? context.programFolder : context.installedFolder;
}
inline QString ShippedFilePath(const TEngineContext &context, const QString &relative)
{
    return ShippedFileFolder(context, relative) + relative;
}
