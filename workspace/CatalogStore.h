#pragma once
// The catalog rows in memory and their files: FileInfo_PC.dat (built-in
// files), FileInfo_User.dat (user files), word_user/Title.dat (user-file
// titles) and the server's FileInfo_SITE.dat.
#include "workspace/Catalog.h"
#include "workspace/EngineContext.h"

class TCatalogStore {
public:
    explicit TCatalogStore(TEngineContext &context);

    TCatalog catalog;       // local rows (FileInfo_PC.dat, FileInfo_User.dat, Title.dat)
    TCatalog siteCatalog;   // the server's rows (FileInfo_SITE.dat)

    void LoadServerCatalog();      // reads FileInfo_SITE.dat into siteCatalog
    void LoadCatalog();
    void SaveCatalog();
    void LoadUserFileTitles();
    void MergeServerCatalog();

private:
    const QString &programFolder;
    const QString &userFolder;
    const bool &m_readOnly;
};
