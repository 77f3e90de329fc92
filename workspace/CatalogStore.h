#pragma once
// The catalog rows in memory and their files: FileInfo_PC.dat (built-in
// files), FileInfo_User.dat (user files), word_user/Title.dat (user-file
// titles) and the server's FileInfo_SITE.dat.
#include "workspace/Catalog.h"
#include "workspace/EngineContext.h"

#include <QStringList>
#include <functional>

// The server catalog as stored in the user folder.
inline const QString kServerCatalogFile = QStringLiteral("FileInfo/FileInfo_SITE.dat");

class TFileCommit;
class TLineReader;

// The lines of a server catalog (FileInfo_SITE.dat) as rows; a file cut short
// or a number that is not one raises TFatalError naming `fileName`.
TCatalog ReadServerCatalogLines(const QStringList &lines, const QString &fileName);

class TCatalogStore {
public:
    explicit TCatalogStore(TEngineContext &context);

    TCatalog catalog;       // local rows (FileInfo_PC.dat, FileInfo_User.dat, Title.dat)
    TCatalog siteCatalog;   // the server's rows (FileInfo_SITE.dat)

    void LoadServerCatalog();      // reads FileInfo_SITE.dat into siteCatalog
    void LoadCatalog();
    void SaveCatalog();
    // FileInfo_PC.dat, then FileInfo_User.dat, into a save of several files.
    void AddToCommit(TFileCommit &commit);
    void LoadUserFileTitles();
    void MergeServerCatalog();

private:
    // Reads one catalog file; false when it does not exist or is damaged (the
    // learner is told, and the damaged file is kept aside).
    // A file of the program folder is never copied (that folder is not the
    // learner's).
    enum class TKeep { CopyOfDamage, Nothing };
    bool ReadCatalogPart(const QString &path, const QString &damagedMessage,
                         const std::function<void(TLineReader &)> &read, TKeep keep = TKeep::CopyOfDamage);

    const TEngineContext &m_context;
    const QString &userFolder;
    const bool &m_readOnly;
    TNotifier *const &m_notifier;
};
