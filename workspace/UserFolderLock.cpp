// The user folder's lock file and the mark of a set of files being put in place.
#include "workspace/UserFolderLock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QMutex>
#include <QSaveFile>
#include <QSysInfo>
#include <QThread>

#include <cerrno>
#include <csignal>

namespace {
const QString kRemovalGuardSuffix = QStringLiteral(".rmlock");
constexpr int kRetryStepMs = 20;
constexpr int kSettleStepMs = 10;

QString WithoutSeparator(const QString &folder)
{
    return QDir::cleanPath(folder);
}

// The same folder, however it was spelled.
QString FolderKey(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : canonical;
}

// The locks this process holds, by folder: every engine object of the
// process on one folder shares its lock.
QMutex &HeldMutex()
{
    static QMutex mutex;
    return mutex;
}
QHash<QString, std::weak_ptr<QLockFile>> &Held()
{
    static QHash<QString, std::weak_ptr<QLockFile>> held;
    return held;
}

bool ProcessRunning(const TUserFolderHolder &holder)
{
    if (holder.pid <= 0)
        return false;
    // A lock of another machine (a shared folder) cannot be checked: it holds.
    if (!holder.host.isEmpty() && holder.host != QSysInfo::machineHostName())
        return true;
    return ::kill(pid_t(holder.pid), 0) == 0 || errno != ESRCH;
}

void WriteCount(const QString &folder, quint64 count)
{
    QSaveFile file(folder + u'/' + kUserFolderCommitsName);
    if (file.open(QIODevice::WriteOnly) && file.write(QByteArray::number(count)) > 0)
        file.commit();
}
}

TUserFolderLock::TUserFolderLock(const QString &userFolder) : m_folder(WithoutSeparator(userFolder)) {}

TUserFolderLock::~TUserFolderLock()
{
    Release();
}

bool TUserFolderLock::Acquire(int waitMs)
{
    if (IsHeld())
        return true;
    m_refusal.clear();
    const QString key = FolderKey(m_folder);
    QMutexLocker guard(&HeldMutex());
    if (std::shared_ptr<QLockFile> shared = Held().value(key).lock()) {
        m_lock = shared;
        return true;
    }
    auto lock = std::make_shared<QLockFile>(m_folder + u'/' + kUserFolderLockName);
    // The lock is held for a whole run: only a holder that no longer runs
    // makes it stale, never its age.
    lock->setStaleLockTime(0);
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const qint64 left = waitMs - clock.elapsed();
        if (lock->tryLock(int(qBound<qint64>(0, left, qint64(kRetryStepMs) * 5)))) {
            Held().insert(key, lock);
            m_lock = lock;
            return true;
        }
        if (lock->error() == QLockFile::PermissionError) {
            m_refusal = QStringLiteral("ユーザーフォルダにロックファイルを作れません（書き込みが許されていません）。\n%1")
                            .arg(QDir::toNativeSeparators(m_folder));
            return false;
        }
        if (clock.elapsed() >= waitMs)
            break;
        // No lock file could be made: the folder is being swapped by an
        // import, or made by a first start. Try again shortly.
        if (lock->error() != QLockFile::LockFailedError)
            QThread::msleep(kRetryStepMs);
    }
    const TUserFolderHolder holder = UserFolderHolder(m_folder);
    if (holder.pid == 0) {
        m_refusal = QStringLiteral("ユーザーフォルダにロックファイルを作れません。\n%1")
                        .arg(QDir::toNativeSeparators(m_folder + u'/' + kUserFolderLockName));
        return false;
    }
    m_refusal = QStringLiteral("ユーザーフォルダは別のプログラムが使用中です。そのプログラムを終えてから、もう一度やり直してください。\n"
                               "%1\n使用中のプログラム: %2（プロセス %3、%4）")
                    .arg(QDir::toNativeSeparators(m_folder),
                         holder.program.isEmpty() ? QStringLiteral("不明") : holder.program)
                    .arg(holder.pid)
                    .arg(holder.host);
    return false;
}

bool TUserFolderLock::IsHeld() const
{
    return m_lock != nullptr;
}

void TUserFolderLock::Release()
{
    if (!m_lock)
        return;
    QMutexLocker guard(&HeldMutex());
    // The last holder in the process removes the lock file.
    if (m_lock.use_count() == 1) {
        for (auto it = Held().begin(); it != Held().end();) {
            if (it.value().lock() == m_lock)
                it = Held().erase(it);
            else
                ++it;
        }
    }
    m_lock.reset();
}

bool TUserFolderLock::PlaceHeldLockFileIn(const QString &userFolder, const QString &incomingFolder)
{
    const QString folder = WithoutSeparator(userFolder);
    {
        QMutexLocker guard(&HeldMutex());
        if (!Held().value(FolderKey(folder)).lock())
            return false;
    }
    QFile own(folder + u'/' + kUserFolderLockName);
    if (!own.open(QIODevice::ReadOnly))
        return false;
    const QByteArray contents = own.readAll();
    QFile placed(WithoutSeparator(incomingFolder) + u'/' + kUserFolderLockName);
    return placed.open(QIODevice::WriteOnly | QIODevice::NewOnly) && placed.write(contents) == contents.size()
           && placed.flush();
}

void TUserFolderLock::RemoveLockFilesFrom(const QString &formerFolder)
{
    const QString folder = WithoutSeparator(formerFolder);
    QFile::remove(folder + u'/' + kUserFolderLockName);
    QFile::remove(folder + u'/' + kUserFolderLockName + kRemovalGuardSuffix);
}

TUserFolderHolder UserFolderHolder(const QString &userFolder)
{
    TUserFolderHolder holder;
    const QLockFile lock(WithoutSeparator(userFolder) + u'/' + kUserFolderLockName);
    if (!lock.getLockInfo(&holder.pid, &holder.host, &holder.program))
        holder = {};
    return holder;
}

bool UserFolderInUse(const QString &userFolder)
{
    return ProcessRunning(UserFolderHolder(userFolder));
}

bool IsUserFolderLockFile(const QString &relativePath)
{
    return relativePath == kUserFolderLockName || relativePath == kUserFolderLockName + kRemovalGuardSuffix
           || relativePath == kUserFolderCommitsName || relativePath.startsWith(kUserFolderCommitsName + u'.');
}

TUserFolderCommitMark::TUserFolderCommitMark(const QString &userFolder) : m_folder(WithoutSeparator(userFolder))
{
    // Odd: a set is being put in place (an odd count left by a writer that
    // was killed is passed over).
    m_count = OpenCommitCountFor(m_folder);
    WriteCount(m_folder, m_count);
}

TUserFolderCommitMark::~TUserFolderCommitMark()
{
    WriteCount(m_folder, m_count + 1);
}

quint64 CommitCount(const QString &userFolder)
{
    QFile file(WithoutSeparator(userFolder) + u'/' + kUserFolderCommitsName);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    bool ok = false;
    const quint64 count = file.read(32).trimmed().toULongLong(&ok);
    return ok ? count : 0;
}

quint64 OpenCommitCountFor(const QString &userFolder)
{
    const quint64 count = CommitCount(userFolder);
    return count + ((count % 2 == 0) ? 1 : 2);
}

void SetCommitCount(const QString &userFolder, quint64 count)
{
    WriteCount(WithoutSeparator(userFolder), count);
}

std::optional<quint64> SettledCommitCount(const QString &userFolder, int waitMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const quint64 count = CommitCount(userFolder);
        if (count % 2 == 0 || !ProcessRunning(UserFolderHolder(userFolder)))
            return count;
        if (clock.elapsed() >= waitMs)
            return std::nullopt;
        QThread::msleep(kSettleStepMs);
    }
}
