// Start-up file steps: the user folder and its tree.
#include "engine/CommonUnit.h"
#include "base/TError.h"
#include "workspace/FileSettings.h"
#include "workspace/Paths.h"
#include "base/TextFiles.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kUserDirectoryFile = QStringLiteral("UserDirectory.dat");
const QString kDefaultUserFolder = QStringLiteral("user/");
const QString kMigrationMarker = QStringLiteral("W.qda");
const QString kFormPositionFile = QStringLiteral("setting/FormPosition.dat");

}

QString TCC::FindUserFolder()
{
    const QString file = programFolder + kUserDirectoryFile;
    if (auto lines = ReadStateLines(file); lines && !lines->isEmpty()) {
        const QString stored = lines->first();
        if (!stored.isEmpty() && QFileInfo(stored).isDir())
            return WithSeparator(stored);
    }
    // Missing file, or a folder that no longer exists: the default, written anew.
    const QString folder = programFolder + kDefaultUserFolder;
    WriteStateLines(file, {folder});
    return folder;
}

void TCC::EnsureUserFolders()
{
    QDir dir;
    if (dir.exists(userFolder + QStringLiteral("record")))
        return;
    dir.mkdir(userFolder);
    dir.mkdir(userFolder + QStringLiteral("FileInfo"));
    dir.mkdir(userFolder + QStringLiteral("record"));
    dir.mkdir(userFolder + QStringLiteral("setting"));
}

void TCC::RunStartupFileSteps(const QString &programFolderPath)
{
    programFolder = WithSeparator(programFolderPath);
    if (QFileInfo::exists(programFolder + kMigrationMarker))
        MigrateOldWorkspace();
    userFolder = FindUserFolder();
    EnsureUserFolders();
}

std::optional<TWindowPosition> TCC::ReadMainWindowPosition() const
{
    const QString path = userFolder + kFormPositionFile;
    if (!QFileInfo::exists(path))
        return std::nullopt;
    auto lines = ReadStateLines(path);
    if (!lines)
        throw TFatalError(QStringLiteral("ファイルを読み込めません。\n%1").arg(QDir::toNativeSeparators(path)));
    // Read as the settings read it: a value that is not a number ends the program.
    const TFormPosition stored = ParseFormPosition(*lines);
    return TWindowPosition{stored.mainTop, stored.mainLeft};
}
