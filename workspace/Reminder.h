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

inline constexpr char kAutostartFileName[] = "Tessarion_tray.desktop";
inline constexpr char kTrayProgramName[] = "tessarion-tray";

// $XDG_CONFIG_HOME/autostart/Tessarion_tray.desktop (~/.config when unset).
QString AutostartEntryPath();

// True when some slot with a file (version other than 0) has its popup on.
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
