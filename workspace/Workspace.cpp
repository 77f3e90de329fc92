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
        if (!stored.isEmpty() && QFileInfo(stored).isDir())
            return WithSeparator(stored);
    }
    // Missing file, or a folder that no longer exists: the default, written anew.
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

void TWorkspace::RunStartupFileSteps(const QString &programFolderPath)
{
    programFolder = WithSeparator(programFolderPath);
    if (!m_readOnly && QFileInfo::exists(programFolder + kMigrationMarker))
        MigrateOldWorkspace();
    userFolder = FindUserFolder();
    EnsureUserFolders();
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
