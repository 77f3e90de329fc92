#pragma once
// The reminder: a small program started at log-on through an XDG autostart
// entry. It reads each file's popup switch, popup date and threshold from the
// catalog and announces the files whose day has come. The no-questions window
// creates the entry when its box is ticked and removes it when no file asks
// for the reminder any more.
#include "workspace/Catalog.h"

#include <QDate>
#include <QList>
#include <QString>
#include <functional>

inline constexpr char kAutostartFileName[] = "Tessarion_tray.desktop";
inline constexpr char kTrayProgramName[] = "tessarion-tray";
inline constexpr char kInstanceLockName[] = "Tessarion";
// The name of the program's icon and desktop entry (the package installs both).
inline constexpr char kDesktopIconName[] = "org.tessarion.Tessarion";

// $XDG_CONFIG_HOME/autostart/Tessarion_tray.desktop (~/.config when unset).
QString AutostartEntryPath();

// A slot asks for the reminder when it holds a file (a built-in slot with a
// version other than 0, or a user slot), its popup switch is on and the
// no-questions window has given it a popup day.
bool AsksForReminder(const TCatalog &catalog, int slot);
// True when some slot asks for the reminder.
bool AnyReminderOn(const TCatalog &catalog);

// Creates the entry starting trayProgram in workingFolder (false with the
// reason in *error when it cannot be written).
bool WriteAutostartEntry(const QString &trayProgram, const QString &workingFolder, QString *error);

// After the window closes: the entry is created when the box is ticked, and
// removed when no file asks for the reminder any more. False only when
// creating it failed.
bool UpdateAutostartEntry(const TCatalog &catalog, bool ticked, const QString &trayProgram,
                          const QString &workingFolder, QString *error);

struct TDueFile {
    int slot = 0;
    QString title;
    int threshold = 0;   // at least this many words are due
};

// The files whose popup date has come by today: a file in the slot, popup
// on, and a popup date that reads as a date on or before today.
QList<TDueFile> FilesDueForReminder(const TCatalog &catalog, const QDate &today);

// The lock that lets one copy of the program run: "Tessarion" in the given
// folder, by default the user's runtime folder.
QString InstanceLockPath(const QString &folder = QString());
// Whether a running program holds that lock (the lock of a run that crashed
// does not count).
bool ProgramRunning(const QString &lockPath);

// Starts the program from the reminder: once, whatever was clicked (icon,
// notice, menu, button) and however often, and never while a copy runs.
class TReminderLauncher {
public:
    enum class TOutcome { Started, AlreadyStarted, ProgramRunning, Failed };
    // start: starts the program, false when it could not be started (a later
    // click tries again).
    TReminderLauncher(QString lockPath, std::function<bool()> start)
        : m_lockPath(std::move(lockPath)), m_start(std::move(start)) {}
    TOutcome Launch();

private:
    QString m_lockPath;
    std::function<bool()> m_start;
    bool m_started = false;
};
