#pragma once
// TCC, the engine object: it owns the word table, the catalog rows, the
// settings block of the current file and every file format, and the learning
// rules work on them. Qt Core only: the whole engine runs headless.
//
// The operations are declared here and defined in the file of their concern
// (workspace/, data/, engine/).
#include "data/WordTable.h"
#include "engine/Clock.h"
#include "engine/Notifier.h"
#include "engine/Random.h"
#include "workspace/Catalog.h"

#include <QString>
#include <memory>

class TCC {
public:
    TCC();
    ~TCC();
    TCC(const TCC &) = delete;
    TCC &operator=(const TCC &) = delete;

    // ---- where things live (both texts end in "/") ----
    QString programFolder;
    QString userFolder;

    // ---- one clock, one random generator, one way to talk to the learner ----
    TClock clock;
    TRandom random;
    TNotifier *notifier = nullptr;   // never null after construction
    TCollectingNotifier defaultNotifier;

    // ---- catalog ----
    TCatalog catalog;       // local rows (FileInfo_PC.dat, FileInfo_User.dat, Title.dat)
    TCatalog siteCatalog;   // the server's rows (FileInfo_SITE.dat)

    // ---- the current learning file ----
    QString fileCode;
    int fileSlot = 0;
    bool userFile = false;
    TWordTable words;

    // True while the goal simulation runs on the live table: nothing is saved.
    bool simulationRunning = false;

    // ---- start-up file steps ----
    QString FindUserFolder();
    void MigrateOldWorkspace();
    void EnsureUserFolders();
    // Runs the start-up file steps that do not need a window (program folder
    // given): migration, user folder, folder tree.
    void RunStartupFileSteps(const QString &programFolderPath);

    // ---- catalog ----
    void LoadServerCatalog();      // reads FileInfo_SITE.dat into siteCatalog
    void LoadCatalog();
    void SaveCatalog();
    void LoadUserFileTitles();
    void MergeServerCatalog();
    bool IsUserFileSlot() const { return fileSlot > 31; }

    // ---- learning file ----
    void SetCurrentFile(const QString &code);
    void LoadLearningFile();   // ends by calling LoadRecordFile()
    void LoadRecordFile();     // the record half of each TTango
    QString NormalizeMeaning(const QString &meaning) const;
};
