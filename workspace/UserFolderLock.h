#pragma once
// One writer per user folder. Every program that writes the learner's files
// (the window for its whole run, each tool command that writes, an export
// that must copy one consistent state) first takes the lock file
// "Tessarion.lock" inside the user folder and keeps it until it ends. A
// second writer waits a little for the first to finish, then refuses with a
// message naming the folder and the program that holds it. A lock left by a
// program that no longer runs (killed, crashed) is taken over at once.
//
// Within one process the lock is shared: every engine object of the process
// on the same folder is the same writer.
//
// Commands that only read take no lock; a set of files saved together
// (record, settings, catalog) is marked while it is put in place, so that a
// reader can wait for the set to settle and read it again when it changed
// under it (TUserFolderReadCheck).
#include <QString>
#include <memory>
#include <optional>

class QLockFile;

inline const QString kUserFolderLockName = QStringLiteral("Tessarion.lock");
// Counts the sets of files put in place: odd while one is being put in place.
inline const QString kUserFolderCommitsName = QStringLiteral("Tessarion.commits");
// How long a second writer waits for the first.
inline constexpr int kUserFolderLockWaitMs = 5000;

// The program holding a user folder's lock, as its lock file says.
struct TUserFolderHolder {
    qint64 pid = 0;
    QString program;
    QString host;
};

class TUserFolderLock {
public:
    // userFolder: the folder the lock file goes into (with or without a final "/").
    explicit TUserFolderLock(const QString &userFolder);
    ~TUserFolderLock();
    TUserFolderLock(const TUserFolderLock &) = delete;
    TUserFolderLock &operator=(const TUserFolderLock &) = delete;

    // Takes the lock, waiting up to waitMs while another program holds it
    // (or while the folder is being swapped by an import). False when it
    // could not be taken; RefusalMessage() then says why.
    bool Acquire(int waitMs = kUserFolderLockWaitMs);
    bool IsHeld() const;
    void Release();
    // After a failed Acquire: the folder and the program holding it.
    QString RefusalMessage() const { return m_refusal; }
    const QString &folder() const { return m_folder; }

    // An import replaces the whole folder by renames: when this process
    // holds the folder's lock, the folder that takes its place gets a copy of
    // the lock file first (true), and the old folder's lock files are
    // removed once it has stepped aside, so that no other writer comes in
    // between and the lock is released from the new folder.
    static bool PlaceHeldLockFileIn(const QString &userFolder, const QString &incomingFolder);
    static void RemoveLockFilesFrom(const QString &formerFolder);   // the lock, not the count

private:
    QString m_folder;   // without a final "/"
    QString m_refusal;
    std::shared_ptr<QLockFile> m_lock;
};

// The holder of a folder's lock as its lock file names it; pid 0 when there
// is no lock file. Reads only.
TUserFolderHolder UserFolderHolder(const QString &userFolder);

// True when the program named in the folder's lock file still runs (this
// process included).
bool UserFolderInUse(const QString &userFolder);

// True for the files the lock keeps at the top of the user folder (the lock,
// its removal guard, the commit count): they belong to the running programs,
// not to the learner's state, and are never copied by an export or import.
bool IsUserFolderLockFile(const QString &relativePath);

// Marks a set of files being put in place: the commit count is made odd on
// construction and even again on destruction. Only a lock holder marks.
class TUserFolderCommitMark {
public:
    explicit TUserFolderCommitMark(const QString &userFolder);
    ~TUserFolderCommitMark();
    TUserFolderCommitMark(const TUserFolderCommitMark &) = delete;
    TUserFolderCommitMark &operator=(const TUserFolderCommitMark &) = delete;

private:
    QString m_folder;
    quint64 m_count = 0;
};

// For readers: the commit count once no set is being put in place, waiting
// up to waitMs (a mark left by a writer that no longer runs counts as
// settled); nullopt when a set was still being put in place then.
// Comparing the count before and after reading tells whether the files read
// belong to one state.
std::optional<quint64> SettledCommitCount(const QString &userFolder, int waitMs = kUserFolderLockWaitMs);
quint64 CommitCount(const QString &userFolder);
// For a lock holder that replaces the whole folder (an import): the count
// the incoming folder starts with (odd: not settled until the swap is done)
// and, after the swap, the settled count, both beyond any count a reader of
// the former folder saw.
quint64 OpenCommitCountFor(const QString &userFolder);
void SetCommitCount(const QString &userFolder, quint64 count);
