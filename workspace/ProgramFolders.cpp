#include "workspace/ProgramFolders.h"

#include "workspace/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString kDataFolderName = QStringLiteral("tessarion/");
// Folders a program is installed into; nothing is ever written below them.
const char *const kInstallPrefixes[] = {"/usr", "/opt", "/snap", "/nix", "/gnu"};

bool InsideInstallPrefix(const QString &folder)
{
    const QString path = QFileInfo(folder).canonicalFilePath();
    for (const char *prefix : kInstallPrefixes) {
        const QString p = QString::fromLatin1(prefix);
        if (path == p || path.startsWith(p + u'/'))
            return true;
    }
    return false;
}

QString UserDataFolder()
{
    // $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
    return WithSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) + kDataFolderName;
}
}

TProgramFolders LocateProgramFolders(const QString &folderOfProgram, TCreateOwnFolder create)
{
    TProgramFolders folders;
    folders.installed = WithSeparator(QDir(folderOfProgram).absolutePath());
    const QFileInfo info(folders.installed);
    if (info.isWritable() && !InsideInstallPrefix(folders.installed)) {
        folders.own = folders.installed;
        return folders;
    }
    folders.own = UserDataFolder();
    if (create == TCreateOwnFolder::Yes)
        QDir().mkpath(folders.own);
    return folders;
}

QString ShippedFileFolder(const TEngineContext &context, const QString &relative)
{
    if (context.installedFolder.isEmpty() || QFileInfo::exists(context.programFolder + relative))
        return context.programFolder;
    return context.installedFolder;
}
