// The program entry's checks and the main window's shape.
#include "app/Farewell.h"
#include "app/StartUp.h"
#include "base/Random.h"
#include "base/Version.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyle>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>
#include <QSysInfo>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(SingleInstance, ASecondStartIsRefusedWhileTheFirstRuns)
{
    TTempProgramFolder runtime;
    TSingleInstanceLock first(runtime.path());
    ASSERT_TRUE(first.Acquire());
    TSingleInstanceLock second(runtime.path());
    EXPECT_FALSE(second.Acquire());
    EXPECT_TRUE(first.path().endsWith(QStringLiteral("/Tessarion")));
}

TEST(SingleInstance, ALockLeftByAProcessThatEndedIsTakenOver)
{
    TTempProgramFolder runtime;
    // A lock file naming a process that no longer exists.
    runtime.writeLines(QStringLiteral("Tessarion"),
                       {QStringLiteral("999999"), QStringLiteral("tessarion"), QSysInfo::machineHostName()});
    TSingleInstanceLock lock(runtime.path());
    EXPECT_TRUE(lock.Acquire());
}

TEST(Writability, AWritableProgramFolderPassesAndIsLeftAsItWas)
{
    TTempProgramFolder folder;
    EXPECT_TRUE(ProgramFolderWritable(folder.path()));
    EXPECT_FALSE(QDir(folder.file(QStringLiteral("test"))).exists());
}

TEST(Writability, AnExistingTestFolderFailsTheStart)
{
    TTempProgramFolder folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("test")));
    EXPECT_FALSE(ProgramFolderWritable(folder.path()));
    EXPECT_TRUE(QDir(folder.file(QStringLiteral("test"))).exists());
}

TEST(Writability, AReadOnlyProgramFolderFailsTheStart)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    TTempProgramFolder folder;
    QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(ProgramFolderWritable(folder.path()));
    QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(Farewell, TheItalianFileAlwaysSaysOneOfItsTwoPhrases)
{
    TRandom random(3);
    QSet<QString> said;
    for (int i = 0; i < 200; ++i)
        said.insert(ChooseFarewellPhrase(QStringLiteral("IT"), 1040, 12, random));
    EXPECT_EQ(said, (QSet<QString>{QStringLiteral("Ciao!"), QStringLiteral("Arrivederci!")}));
}

TEST(Farewell, OtherLanguagesSayNothing)
{
    TRandom random(3);
    for (int i = 0; i < 50; ++i)
        EXPECT_TRUE(ChooseFarewellPhrase(QStringLiteral("TT"), 2057, 10, random).isEmpty());
}

TEST(Farewell, UsEnglishByTheHour)
{
    struct TCase {
        int hour;
        QString only;      // a phrase said only at this hour
        QString never;     // a phrase never said at this hour
    };
    const TCase cases[] = {
        {9, QStringLiteral("Have a good day!"), QStringLiteral("Good night!")},
        {22, QStringLiteral("Good night!"), QStringLiteral("Have a good day!")},
        {17, QString(), QStringLiteral("Have a good day!")},
    };
    for (const TCase &c : cases) {
        TRandom random(5);
        QSet<QString> said;
        for (int i = 0; i < 2000; ++i)
            said.insert(ChooseFarewellPhrase(QStringLiteral("TT"), kUsEnglishLanguageId, c.hour, random));
        if (!c.only.isEmpty()) {
            EXPECT_TRUE(said.contains(c.only)) << c.hour;
        }
        EXPECT_FALSE(said.contains(c.never)) << c.hour;
        // Every draw may fail: then nothing is said.
        EXPECT_TRUE(said.contains(QString())) << c.hour;
        EXPECT_TRUE(said.contains(QStringLiteral("Good job today!"))) << c.hour;
    }
}

// --help and --version work on a console without any display, and an unknown
// option is a usage error naming itself, for the program and the reminder.
TEST(ProgramCommandLine, HelpAndVersionWithoutADisplayAndUnknownOptionsRefused)
{
    TTempProgramFolder home;
    for (const char *name : {"tessarion", "tessarion-tray"}) {
        const QString program = QLatin1String(name);
        SCOPED_TRACE(program.toStdString());
        const auto run = [&](const QStringList &args, bool offscreen) {
            QProcessEnvironment env;
            env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
            env.insert(QStringLiteral("HOME"), home.path());
            if (offscreen)
                env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            QProcess p;
            p.setProcessEnvironment(env);
            p.start(BinaryDir() + u'/' + program, args);
            EXPECT_TRUE(p.waitForFinished(60000));
            return std::tuple{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                              QString::fromUtf8(p.readAllStandardError())};
        };
        const auto [helpCode, help, helpErr] = run({QStringLiteral("--help")}, false);
        EXPECT_EQ(helpCode, 0) << helpErr.toStdString();
        EXPECT_TRUE(help.startsWith(QStringLiteral("Usage: ") + program + QStringLiteral(" [OPTIONS]\n")));
        EXPECT_TRUE(help.contains(QStringLiteral("\nExit status:\n")));
        const auto [versionCode, version, versionErr] = run({QStringLiteral("-v")}, false);
        EXPECT_EQ(versionCode, 0);
        EXPECT_EQ(version, program + u' ' + QString::fromLatin1(kTessarionVersion) + u'\n');
        const auto [badCode, badOut, bad] = run({QStringLiteral("--bogus")}, true);
        EXPECT_EQ(badCode, 2);
        EXPECT_TRUE(bad.contains(QStringLiteral("'bogus'"))) << bad.toStdString();
        EXPECT_TRUE(badOut.isEmpty());
    }
}

// Under a dark desktop theme every window keeps the program's light look:
// the main window's skins are light, and so are its dialogs and message boxes.
TEST(ProgramLook, EveryWindowIsLightWhateverTheDesktopTheme)
{
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    const QPalette desktop = QApplication::palette();
    const QString desktopStyle = QApplication::style()->name();
    QApplication::setPalette(QPalette(QColor(0xEE, 0xEE, 0xEE), QColor(0x20, 0x20, 0x20)));   // a dark theme

    UseProgramLook(*app);
    QDialog dialog;
    auto *edit = new QLineEdit(&dialog);
    QMessageBox box(QMessageBox::Information, QStringLiteral("Tessarion"), QStringLiteral("text"));
    for (QWidget *w : std::initializer_list<QWidget *>{&dialog, edit, &box}) {
        SCOPED_TRACE(w->metaObject()->className());
        const QPalette p = w->palette();
        EXPECT_GE(p.color(QPalette::Window).lightness(), 200);
        EXPECT_GE(p.color(QPalette::Base).lightness(), 240);
        EXPECT_LE(p.color(QPalette::WindowText).lightness(), 60);
        EXPECT_LE(p.color(QPalette::Text).lightness(), 60);
        EXPECT_LE(p.color(QPalette::ButtonText).lightness(), 60);
        EXPECT_GE(p.color(QPalette::Button).lightness(), 200);   // dark text on a light button
    }
    EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("fusion"));

    QApplication::setStyle(desktopStyle);
    QApplication::setPalette(desktop);
}
