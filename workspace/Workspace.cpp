// Start-up file steps: the user folder and its tree.
#include "workspace/Workspace.h"

#include "workspace/CatalogStore.h"
#include "base/TError.h"
#include "workspace/FileSettings.h"
#include "workspace/Paths.h"
#include "base/TextFiles.h"
#include "workspace/RecordFolderTransfer.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kUserDirectoryFile = QStringLiteral("UserDirectory.dat");
const QString kDefaultUserFolder = QStringLiteral("user/");
const QString kMigrationMarker = QStringLiteral("W.qda");
const QString kFormPositionFile = QStringLiteral("setting/FormPosition.dat");
// The folders a start needs, the user folder itself first.
const char *const kUserSubfolders[] = {"", "FileInfo", "record", "setting"};
const QString kUnwritableUserFolderText =
    QStringLiteral("記録フォルダに書き込めません。フォルダの書き込みの許可を確かめてください。\n%1");
const QString kFolderNotMadeText = QStringLiteral("記録フォルダを作れません。\n%1");
}

TWorkspace::TWorkspace(TEngineContext &context, TCatalogStore &catalogs)
    : programFolder(context.programFolder), userFolder(context.userFolder), m_readOnly(context.readOnly),
      m_notifier(context.notifier), m_catalogs(catalogs),
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

void TWorkspace::RecoverInterruptedImport(const QString &folder)
{
    if (m_readOnly || QFileInfo(folder).isRelative())
        return;
    const QString message = ::RecoverInterruptedImport(folder);
    if (!message.isEmpty())
        m_notifier->Information(message);
}

QString TWorkspace::FindUserFolder()
{
    const QString file = programFolder + kUserDirectoryFile;
    const QString ownFolder = programFolder + kDefaultUserFolder;
    if (auto lines = ReadStateLines(file); lines && !lines->isEmpty()) {
        const QString line = lines->first();
        // A relative name (the default "user/") is the program folder's own.
        const QString stored = StoredUserFolder(programFolder, line);
        // An import stopped half-way may have left the folder under another name.
        if (!stored.isEmpty())
            RecoverInterruptedImport(stored);
        // Only a folder that can safely hold the learner's files: never the
        // root, the home folder itself, a system folder or a place outside
        // the program folder reached by a relative name.
        switch (stored.isEmpty() ? TUserFolderState::Unsafe : UserFolderState(stored)) {
        case TUserFolderState::Usable:
            // The program's own folder written out in full (as older runs
            // did) is stored by its relative name from now on, so that a copy
            // of the program folder goes on with its own.
            if (WithSeparator(stored) == ownFolder && line != kDefaultUserFolder && !m_readOnly)
                WriteStateLines(file, {kDefaultUserFolder});
            return WithSeparator(stored);
        case TUserFolderState::Unwritable:
            // The learner's records are there: never hidden behind another
            // folder, and UserDirectory.dat keeps naming them.
            if (m_readOnly)
                return WithSeparator(stored);
            throw TFatalError(kUnwritableUserFolderText.arg(QDir::toNativeSeparators(WithSeparator(stored))));
        case TUserFolderState::Missing:
        case TUserFolderState::Unsafe:
            break;
        }
    }
    // Missing file, or a folder that no longer exists or may not hold the
    // learner's files: the program's own user/, written anew by its relative
    // name.
    RecoverInterruptedImport(ownFolder);
    if (!m_readOnly)
        WriteStateLines(file, {kDefaultUserFolder});
    return ownFolder;
}

void TWorkspace::EnsureUserFolders()
{
    // Every folder is made before anything is written into it, and one that
    // went missing (a start killed half-way, a folder removed by hand) is
    // made again at the next start.
    if (m_readOnly)
        return;
    for (const char *sub : kUserSubfolders) {
        const QString path = userFolder + QLatin1String(sub);
        if (!QFileInfo(path).isDir() && !QDir().mkpath(path))
            throw TFatalError(kFolderNotMadeText.arg(QDir::toNativeSeparators(WithSeparator(path))));
    }
    for (const char *sub : kUserSubfolders) {
        const QString path = userFolder + QLatin1String(sub);
        if (!QFileInfo(path).isWritable())
            throw TFatalError(kUnwritableUserFolderText.arg(QDir::toNativeSeparators(WithSeparator(path))));
    }
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
    if (!m_readOnly)
        LockUserFolder();
    RemoveInterruptedSaves();
}

void TWorkspace::LockUserFolder(int waitMs)
{
    if (m_readOnly || HoldsUserFolderLock())
        return;
    auto lock = std::make_unique<TUserFolderLock>(userFolder);
    if (!lock->Acquire(waitMs))
        throw TFatalError(lock->RefusalMessage());
    m_folderLock = std::move(lock);
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
