#include "workspace/Reminder.h"

#include "base/DateText.h"
#include "base/FileErrors.h"
#include "base/TextFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
// Desktop-entry values: backslash, quote and the like escaped, the whole
// path quoted so folders with spaces start the right program.
QString QuotedExec(const QString &path)
{
    QString escaped;
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            escaped += u'\\';
        escaped += c;
    }
    escaped.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    return u'"' + escaped + u'"';
}

// A plain string value of a desktop entry (TryExec): only the backslash is escaped.
QString EntryString(QString text)
{
    return text.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
}
}

QString AutostartEntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/") + QLatin1String(kAutostartFileName);
}

bool AsksForReminder(const TCatalog &catalog, int slot)
{
    const TDBF &row = catalog.rows[static_cast<size_t>(slot)];
    // Every slot's switch is on until the learner unticks it, so only a
    // popup day (which the no-questions window alone sets) makes a file ask.
    // A user file's row keeps no version in the catalog.
    const bool fileInSlot = row.Version != 0 || slot >= kFirstUserSlot;
    return fileInSlot && row.PopUp && ParseDateText(row.PopUpDate).has_value();
}

bool AnyReminderOn(const TCatalog &catalog)
{
    for (int slot = 1; slot <= kSlotCount; ++slot)
        if (AsksForReminder(catalog, slot))
            return true;
    return false;
}

bool WriteAutostartEntry(const QString &trayProgram, const QString &workingFolder, QString *error)
{
    const QString path = AutostartEntryPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        *error = path + QStringLiteral("\nフォルダーを作れません");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = path + QStringLiteral("\n") + FileErrorText(file);
        return false;
    }
    const QString text = QStringLiteral(
                             "[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Tessarion reminder\n"
                             "Name[ja]=Tessarion リマインダー\n"
                             "Comment=Announces the learning files whose day has come\n"
                             "Comment[ja]=出題可能な語がたまった学習ファイルをお知らせします\n"
                             "Icon=%1\n"
                             "TryExec=%2\n"
                             "Exec=%3\n"
                             "Path=%4\n"
                             "Terminal=false\n"
                             "X-GNOME-Autostart-enabled=true\n")
                             .arg(QLatin1String(kDesktopIconName), EntryString(trayProgram), QuotedExec(trayProgram),
                                  workingFolder);
    file.write(text.toUtf8());
    if (!file.commit()) {
        *error = path + QStringLiteral("\n") + FileErrorText(file);
        return false;
    }
    return true;
}

bool UpdateAutostartEntry(const TCatalog &catalog, bool ticked, const QString &trayProgram,
                          const QString &workingFolder, QString *error)
{
    if (ticked)
        return WriteAutostartEntry(trayProgram, workingFolder, error);
    if (!AnyReminderOn(catalog))
        QFile::remove(AutostartEntryPath());
    return true;
}

QList<TDueFile> FilesDueForReminder(const TCatalog &catalog, const QDate &today)
{
    QList<TDueFile> due;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const TDBF &row = catalog.rows[static_cast<size_t>(slot)];
        if (!AsksForReminder(catalog, slot))
            continue;
        const auto date = ParseDateText(row.PopUpDate);
        if (date && *date <= today)
            due.append({slot, row.Title.isEmpty() ? row.Code : row.Title, row.PopUpWN});
    }
    return due;
}

QString InstanceLockPath(const QString &folder)
{
    QString dir = folder;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return QDir(dir).filePath(QLatin1String(kInstanceLockName));
}

bool ProgramRunning(const QString &lockPath)
{
    QLockFile lock(lockPath);
    // A lock of a process that no longer runs is stale at once.
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0))
        return lock.error() == QLockFile::LockFailedError;
    lock.unlock();
    return false;
}

TReminderLauncher::TOutcome TReminderLauncher::Launch()
{
    if (m_started)
        return TOutcome::AlreadyStarted;
    if (ProgramRunning(m_lockPath))
        return TOutcome::ProgramRunning;
    if (!m_start())
        return TOutcome::Failed;
    m_started = true;
    return TOutcome::Started;
}
