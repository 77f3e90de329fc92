#pragma once
// The start-up file steps: migration of an older installation, the user
// folder named in UserDirectory.dat, the user folder's tree, and the main
// window's stored position.
#include "workspace/Catalog.h"
#include "workspace/EngineContext.h"
#include "workspace/UserFolderLock.h"

#include <QString>
#include <memory>
#include <optional>

class TCatalogStore;

// Top and left of a window on the screen.
struct TWindowPosition {
    int top = 0;
    int left = 0;
};

class TWorkspace {
public:
    TWorkspace(TEngineContext &context, TCatalogStore &catalogs);

    QString FindUserFolder();
    void MigrateOldWorkspace();
    void EnsureUserFolders();
    // Temporary files left beside the state files by a save that was
    // interrupted (a crash, a kill) are removed.
    void RemoveInterruptedSaves();
    // Top and left of the main window from setting/FormPosition.dat; nullopt
    // when there is no such file (the window then centres itself).
    std::optional<TWindowPosition> ReadMainWindowPosition() const;
    // Runs the start-up file steps that do not need a window (program folder
    // given): migration, user folder, folder tree; a writer then takes the
    // user folder's lock before it clears what interrupted saves left.
    void RunStartupFileSteps(const QString &programFolderPath);
    // Takes the user folder's lock for the rest of the run (waiting up to
    // waitMs for another writer); a TFatalError naming the folder and the
    // program holding it when it cannot be taken.
    void LockUserFolder(int waitMs = kUserFolderLockWaitMs);
    bool HoldsUserFolderLock() const { return m_folderLock && m_folderLock->IsHeld(); }

private:
    // An import stopped between its renames is finished or rolled back
    // (the learner is told which); nothing while read-only.
    void RecoverInterruptedImport(const QString &folder);
    void LoadCatalog();
    void SaveCatalog();

    QString &programFolder;
    QString &userFolder;
    const bool &m_readOnly;
    TNotifier *const &m_notifier;
    TCatalogStore &m_catalogs;
    TCatalog &catalog;
    std::unique_ptr<TUserFolderLock> m_folderLock;
};
