#pragma once
// The catalog rows in memory and their files: FileInfo_PC.dat (built-in
// files), FileInfo_User.dat (user files), word_user/Title.dat (user-file
// titles) and the server's FileInfo_SITE.dat.
#include "workspace/Catalog.h"
#include "workspace/EngineContext.h"

#include <QStringList>
#include <array>
#include <functional>
#include <optional>

// The server catalog as stored in the user folder.
inline const QString kServerCatalogFile = QStringLiteral("FileInfo/FileInfo_SITE.dat");

class TFileCommit;
class TLineReader;

// The lines of a server catalog (FileInfo_SITE.dat) as rows; a file cut short
// or a number that is not one raises TFatalError naming `fileName`.
TCatalog ReadServerCatalogLines(const QStringList &lines, const QString &fileName);

// The catalog files of a user folder (FileInfo_PC.dat, and FileInfo_User.dat
// when there is one) read as LoadCatalog reads them, without changing
// anything: the rows, or TFatalError naming the file and line that does not
// read. Used to check a folder before it replaces the learner's.
TCatalog ReadCatalogFiles(const QString &userFolder);

// A learning file's version and word counts as its catalog row holds them.
struct TFileCounts {
    qint32 Version = 0;
    qint32 TangoTotal = 0;
    qint32 DBTangoTotal = 0;

    bool operator==(const TFileCounts &) const = default;
};
TFileCounts CountsOfRow(const TDBF &row);
void SetCountsOfRow(TDBF &row, const TFileCounts &counts);

class TCatalogStore {
public:
    explicit TCatalogStore(TEngineContext &context);

    TCatalog catalog;       // local rows (FileInfo_PC.dat, FileInfo_User.dat, Title.dat)
    TCatalog siteCatalog;   // the server's rows (FileInfo_SITE.dat)

    void LoadServerCatalog();      // reads FileInfo_SITE.dat into siteCatalog
    // Reads the catalog files. Read while a learning file is current, its
    // row keeps the version and word counts its words were loaded with (a
    // user file's counts are in no file at all); what the files say about
    // that file is kept for them as a held revision.
    void LoadCatalog();
    void SaveCatalog();
    // FileInfo_PC.dat, then FileInfo_User.dat, into a save of several files.
    void AddToCommit(TFileCommit &commit);
    void LoadUserFileTitles();
    void MergeServerCatalog();

    // A revised learning file is in place: its row takes the new version and
    // word counts. The current file's words stay as they were loaded until
    // it is loaded again, so its row keeps their counts and the revision is
    // held: every save writes it, and the next load of the file takes it.
    void InstallRevision(int slot, const TFileCounts &counts);
    // The version and word counts the catalog files get for a slot.
    TFileCounts SavedCounts(int slot) const;
    // The file of a slot is about to be loaded: a held revision takes effect.
    void TakeHeldRevision(int slot);
    // Revisions that another run of the program (the update command) saved
    // in FileInfo_PC.dat since this run last read or wrote it are installed
    // as if this run had fetched them. Done before every save and before a
    // learning file is loaded, so that this run never writes its older
    // counts over them.
    void TakeRevisionsOfOtherRuns();

private:
    // Reads one catalog file; false when it does not exist or is damaged (the
    // learner is told, and the damaged file is kept aside).
    // A file of the program folder is never copied (that folder is not the
    // learner's).
    enum class TKeep { CopyOfDamage, Nothing };
    bool ReadCatalogPart(const QString &path, const QString &damagedMessage,
                         const std::function<void(TLineReader &)> &read, TKeep keep = TKeep::CopyOfDamage);

    // Revisions of the current file, by slot (see InstallRevision).
    std::array<std::optional<TFileCounts>, kSlotCount + 1> m_heldRevisions;
    // The version FileInfo_PC.dat had for each built-in slot when this run
    // last wrote it; unknown before the first save.
    std::array<std::optional<qint32>, kLastBuiltInSlot + 1> m_versionsInFiles;

    const TEngineContext &m_context;
    const QString &userFolder;
    const bool &m_readOnly;
    TNotifier *const &m_notifier;
};
