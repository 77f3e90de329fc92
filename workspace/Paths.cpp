#include "workspace/Paths.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QFileInfo>
#include <QStringList>

QString WithSeparator(QString folder)
{
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

QString FolderText(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    return WithSeparator(QDir::cleanPath(QDir(folder).absolutePath()));
}

namespace {
// Folders of the system: never a learner's folder, nor anything below them
// (removable drives mounted below /run/media are the learner's own).
const char *const kSystemFolders[] = {"/bin", "/boot", "/dev", "/etc", "/lib", "/lib32", "/lib64", "/libx32",
                                      "/proc", "/sbin", "/sys", "/usr", "/var", "/run"};
const char *const kLearnerMounts[] = {"/run/media"};

// The state files an atomic save writes, and the temporary name it uses.
const QRegularExpression kLeftoverTemporary(QStringLiteral(
    "^(Record_[A-Za-z0-9]+\\.dat|Setting_[A-Za-z0-9]+\\.dat|FormPosition\\.dat|FileInfo_(PC|User|SITE)\\.dat"
    "|FileModifiedDate\\.dat|Title\\.dat|UserDirectory\\.dat)\\.[A-Za-z0-9]{6}$"));

bool IsBelow(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + u'/');
}
}

bool IsUsableUserFolder(const QString &folder)
{
    return UserFolderState(folder) == TUserFolderState::Usable;
}

TUserFolderState UserFolderState(const QString &folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || info.isRelative())
        return TUserFolderState::Unsafe;
    if (!info.isDir())
        return TUserFolderState::Missing;
    const QString path = info.canonicalFilePath();
    if (path.isEmpty() || path == QStringLiteral("/") || path == QFileInfo(QDir::homePath()).canonicalFilePath())
        return TUserFolderState::Unsafe;
    const auto writable = [&] { return info.isWritable() ? TUserFolderState::Usable : TUserFolderState::Unwritable; };
    for (const char *mount : kLearnerMounts)
        if (IsBelow(path, QString::fromLatin1(mount)) && path != QString::fromLatin1(mount))
            return writable();
    for (const char *system : kSystemFolders)
        if (IsBelow(path, QString::fromLatin1(system)))
            return TUserFolderState::Unsafe;
    return writable();
}

QString StoredUserFolder(const QString &programFolder, const QString &stored)
{
    if (stored.isEmpty())
        return {};
    if (!QFileInfo(stored).isRelative())
        return stored;
    const QString base = QDir::cleanPath(programFolder);
    const QString folder = QDir::cleanPath(base + QLatin1Char('/') + stored);
    // Below the program folder, never the folder itself or outside it.
    if (!folder.startsWith(base + QLatin1Char('/')))
        return {};
    return folder;
}

QStringList RemoveLeftoverTemporaries(const QString &folder)
{
    QStringList removed;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (kLeftoverTemporary.match(name).hasMatch() && QFile::remove(dir.filePath(name)))
            removed.append(name);
    }
    return removed;
}

QString ResolvePathIgnoringCase(const QString &base, const QString &relative)
{
    QString current = base;
    const QStringList parts = relative.split(u'/');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        QString next = current + part;
        if (!QFileInfo::exists(next)) {
            const QStringList entries = QDir(current.isEmpty() ? QStringLiteral(".") : current)
                                            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString &entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    next = current + entry;
                    break;
                }
            }
        }
        current = next;
        if (i + 1 < parts.size())
            current += u'/';
    }
    return current;
}
