// Start-up file steps: the user folder and its tree.
#include "workspace/Workspace.h"

#include "workspace/CatalogStore.h"
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

TWorkspace::TWorkspace(TEngineContext &context, TCatalogStore &catalogs)
    : programFolder(context.programFolder), userFolder(context.userFolder), m_readOnly(context.readOnly),
      m_catalogs(catalogs),
      catalog(catalogs.catalog)
{
}

void TWorkspace::LoadCatalog()
{
    m_catalogs.LoadCatalog();
}

void TWorkspace::SaveCatalog()
{
    m_catalogs.SaveCatalog();
}

QString TWorkspace::FindUserFolder()
{
    const QString file = programFolder + kUserDirectoryFile;
    if (auto lines = ReadStateLines(file); lines && !lines->isEmpty()) {
        const QString stored = lines->first();
        // Only a folder that can safely hold the learner's files: never the
        // root, the home folder itself, a system folder or a relative path.
        if (IsUsableUserFolder(stored))
            return WithSeparator(stored);
    }
    // Missing file, or a folder that no longer exists or may not hold the
    // learner's files: the default, written anew.
    const QString folder = programFolder + kDefaultUserFolder;
    if (!m_readOnly)
        WriteStateLines(file, {folder});
    return folder;
}

void TWorkspace::EnsureUserFolders()
{
    QDir dir;
    if (m_readOnly || dir.exists(userFolder + QStringLiteral("record")))
        return;
    dir.mkdir(userFolder);
    dir.mkdir(userFolder + QStringLiteral("FileInfo"));
    dir.mkdir(userFolder + QStringLiteral("record"));
    dir.mkdir(userFolder + QStringLiteral("setting"));
}

void TWorkspace::RemoveInterruptedSaves()
{
    if (m_readOnly)
        return;
    RemoveLeftoverTemporaries(programFolder);
    for (const char *folder : {"", "FileInfo", "record", "setting", "word_user"})
        RemoveLeftoverTemporaries(userFolder + QLatin1String(folder));
}

void TWorkspace::RunStartupFileSteps(const QString &programFolderPath)
{
    programFolder = WithSeparator(programFolderPath);
    if (!m_readOnly && QFileInfo::exists(programFolder + kMigrationMarker))
        MigrateOldWorkspace();
    userFolder = FindUserFolder();
    EnsureUserFolders();
    RemoveInterruptedSaves();
}

std::optional<TWindowPosition> TWorkspace::ReadMainWindowPosition() const
{
    const QString path = userFolder + kFormPositionFile;
    if (!QFileInfo::exists(path))
        return std::nullopt;
    auto lines = ReadStateLines(path);
    if (!lines)
        throw TFatalError(QStringLiteral("ファイルを読み込めません。\n%1").arg(QDir::toNativeSeparators(path)));
    // Positions that cannot be read centre the window, as on a first start.
    QList<int> unreadable;
    const TFormPosition stored = ParseFormPosition(*lines, &unreadable);
    if (!unreadable.isEmpty())
        return std::nullopt;
    return TWindowPosition{stored.mainTop, stored.mainLeft};
}
