#include "workspace/Reminder.h"

#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// XDG_CONFIG_HOME pointed at a temporary folder for one test.
struct TConfigHome {
    QTemporaryDir dir;
    QByteArray old = qgetenv("XDG_CONFIG_HOME");
    TConfigHome() { qputenv("XDG_CONFIG_HOME", dir.path().toUtf8()); }
    ~TConfigHome() { qputenv("XDG_CONFIG_HOME", old); }
};

TCatalog CatalogWithFile(int slot, bool popUp, const QString &popUpDate)
{
    TCatalog catalog;
    TDBF &row = catalog.rows[static_cast<size_t>(slot)];
    row.Code = QStringLiteral("TT");
    row.Title = QStringLiteral("Test file");
    row.Version = 201;
    row.PopUp = popUp;
    row.PopUpDate = popUpDate;
    row.PopUpWN = 12;
    return catalog;
}
}

TEST(Reminder, AutostartEntryIsCreatedWhenTickedAndRemovedWhenNoFileAsks)
{
    TConfigHome home;
    const QString path = home.dir.path() + QStringLiteral("/autostart/Tessarion_tray.desktop");
    ASSERT_EQ(AutostartEntryPath(), path);
    QString error;

    TCatalog catalog = CatalogWithFile(6, true, QString());
    ASSERT_TRUE(UpdateAutostartEntry(catalog, true, QStringLiteral("/opt/my apps/tessarion-tray"),
                                     QStringLiteral("/opt/my apps/"), &error));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    file.close();
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=\"/opt/my apps/tessarion-tray\"\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nPath=/opt/my apps/\n")));
    // It shows the program's icon and Japanese name, and is skipped once the program is gone.
    EXPECT_TRUE(text.contains(QStringLiteral("\nTryExec=/opt/my apps/tessarion-tray\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nIcon=org.tessarion.Tessarion\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nName[ja]=")));

    // Unticked while another file still asks: the entry stays.
    TCatalog two = CatalogWithFile(6, false, QStringLiteral("2010/03/09"));
    two.rows[7] = CatalogWithFile(7, true, QStringLiteral("2010/04/01")).rows[7];
    ASSERT_TRUE(UpdateAutostartEntry(two, false, QString(), QString(), &error));
    EXPECT_TRUE(QFile::exists(path));
    // Unticked in the last file that asks: the entry goes, although every
    // other slot keeps its switch on as a first start leaves it.
    two.rows[7].PopUp = false;
    for (int slot = 8; slot <= kSlotCount; ++slot) {
        two.rows[static_cast<size_t>(slot)].Version = slot <= kLastBuiltInSlot ? 100 : 0;
        two.rows[static_cast<size_t>(slot)].PopUp = true;
    }
    ASSERT_TRUE(UpdateAutostartEntry(two, false, QString(), QString(), &error));
    EXPECT_FALSE(QFile::exists(path));
}

TEST(Reminder, AFileAsksForTheReminderOnlyWithItsSwitchOnAndAPopupDay)
{
    struct Case {
        const char *name;
        int slot;
        qint32 version;
        bool popUp;
        QString date;
        bool asks;
    };
    const Case cases[] = {
        {"ticked in the window", 6, 201, true, QStringLiteral("2010/03/09"), true},
        {"unticked in the window", 6, 201, false, QStringLiteral("2010/03/09"), false},
        {"switch on by default, never in the window", 6, 201, true, QString(), false},
        {"no file in the slot", 6, 0, true, QStringLiteral("2010/03/09"), false},
        {"a popup day that is no date", 6, 201, true, QStringLiteral("soon"), false},
        {"user file ticked (its row keeps no version)", 40, 0, true, QStringLiteral("2010/03/09"), true},
        {"user slot at the defaults", 40, 0, true, QString(), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TCatalog catalog = CatalogWithFile(c.slot, c.popUp, c.date);
        catalog.rows[static_cast<size_t>(c.slot)].Version = c.version;
        EXPECT_EQ(AsksForReminder(catalog, c.slot), c.asks);
        EXPECT_EQ(AnyReminderOn(catalog), c.asks);
    }
}

TEST(Reminder, AutostartFailureNamesTheFile)
{
    TConfigHome home;
    // A file where the autostart folder should be.
    QFile blocker(home.dir.path() + QStringLiteral("/autostart"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString error;
    EXPECT_FALSE(WriteAutostartEntry(QStringLiteral("/x/tessarion-tray"), QStringLiteral("/x/"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Tessarion_tray.desktop"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("フォルダーを作れません"))) << error.toStdString();
}

TEST(Reminder, FilesDueToday)
{
    const QDate today(2010, 3, 10);
    struct Case {
        const char *name;
        qint32 version;
        bool popUp;
        QString date;
        bool due;
    };
    const Case cases[] = {
        {"date passed", 201, true, QStringLiteral("2010/03/09"), true},
        {"date today", 201, true, QStringLiteral("2010/3/10"), true},
        {"date tomorrow", 201, true, QStringLiteral("2010/03/11"), false},
        {"popup off", 201, false, QStringLiteral("2010/03/01"), false},
        {"no file in slot", 0, true, QStringLiteral("2010/03/01"), false},
        {"no date yet", 201, true, QString(), false},
        {"not a date", 201, true, QStringLiteral("soon"), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TCatalog catalog = CatalogWithFile(9, c.popUp, c.date);
        catalog.rows[9].Version = c.version;
        const QList<TDueFile> due = FilesDueForReminder(catalog, today);
        ASSERT_EQ(due.size(), c.due ? 1 : 0);
        if (c.due) {
            EXPECT_EQ(due[0].slot, 9);
            EXPECT_EQ(due[0].title, QStringLiteral("Test file"));
            EXPECT_EQ(due[0].threshold, 12);
        }
    }
}

// However often and wherever the learner clicks (icon, notice, menu, double
// click), the reminder starts the program once, and not at all while a copy
// of the program runs; a start that failed may be tried again.
TEST(Reminder, LauncherStartsTheProgramOncePerReminderAndNeverWhileItRuns)
{
    QTemporaryDir runtime;
    const QString lockPath = InstanceLockPath(runtime.path());
    EXPECT_EQ(lockPath, runtime.path() + QStringLiteral("/Tessarion"));

    int starts = 0;
    TReminderLauncher launcher(lockPath, [&starts] {
        ++starts;
        return true;
    });
    EXPECT_EQ(launcher.Launch(), TReminderLauncher::TOutcome::Started);
    for (int click = 0; click < 10; ++click)
        EXPECT_EQ(launcher.Launch(), TReminderLauncher::TOutcome::AlreadyStarted);
    EXPECT_EQ(starts, 1);

    // The program runs: it holds the lock.
    QLockFile running(lockPath);
    ASSERT_TRUE(running.tryLock(0));
    EXPECT_TRUE(ProgramRunning(lockPath));
    int whileRunning = 0;
    TReminderLauncher second(lockPath, [&whileRunning] {
        ++whileRunning;
        return true;
    });
    for (int click = 0; click < 10; ++click)
        EXPECT_EQ(second.Launch(), TReminderLauncher::TOutcome::ProgramRunning);
    EXPECT_EQ(whileRunning, 0);
    running.unlock();
    EXPECT_FALSE(ProgramRunning(lockPath));
    EXPECT_FALSE(QFile::exists(lockPath));   // asking left no lock behind

    bool fail = true;
    int attempts = 0;
    TReminderLauncher flaky(lockPath, [&] {
        ++attempts;
        return !fail;
    });
    EXPECT_EQ(flaky.Launch(), TReminderLauncher::TOutcome::Failed);
    fail = false;
    EXPECT_EQ(flaky.Launch(), TReminderLauncher::TOutcome::Started);
    EXPECT_EQ(flaky.Launch(), TReminderLauncher::TOutcome::AlreadyStarted);
    EXPECT_EQ(attempts, 2);
}
