#include "engine/CommonUnit.h"
#include "base/TError.h"
#include "support/TestSupport.h"
#include "workspace/CatalogFixture.h"
#include "workspace/RecycleBin.h"
#include "base/TextFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(Workspace, FirstStartMakesTheDefaultUserFolder)
{
    TTempProgramFolder dir;
    TCC cc;
    cc.RunStartupFileSteps(dir.path());
    EXPECT_EQ(cc.programFolder, dir.path());
    EXPECT_EQ(cc.userFolder, dir.path() + QStringLiteral("user/"));
    // Stored by its name inside the program folder: a copy of the folder uses its own.
    EXPECT_EQ(dir.readLines(QStringLiteral("UserDirectory.dat")), QStringList{QStringLiteral("user/")});
    for (const char *sub : {"FileInfo", "record", "setting"})
        EXPECT_TRUE(QFileInfo(cc.userFolder + QLatin1String(sub)).isDir()) << sub;
    EXPECT_FALSE(QFileInfo::exists(cc.userFolder + QStringLiteral("word_user")));
    EXPECT_FALSE(cc.ReadMainWindowPosition());   // the window centres itself
}

TEST(Workspace, UserFolderFromUserDirectoryFile)
{
    TTempProgramFolder dir;
    QDir().mkpath(dir.file(QStringLiteral("elsewhere")));
    // Stored without a trailing separator, and in CP932 like a carried-over file.
    dir.write(QStringLiteral("UserDirectory.dat"), dir.file(QStringLiteral("elsewhere")).toLocal8Bit() + "\r\n");
    TCC cc;
    cc.RunStartupFileSteps(dir.path());
    EXPECT_EQ(cc.userFolder, dir.file(QStringLiteral("elsewhere/")));
    EXPECT_TRUE(QFileInfo(cc.userFolder + QStringLiteral("record")).isDir());
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("user"))));
}

// A folder that cannot safely hold the learner's files is never used: the
// default folder is, and UserDirectory.dat is written anew.
TEST(Workspace, UserDirectoryNamingAnUnusableFolderFallsBackAndIsRewritten)
{
    const QStringList unusable = {
        QStringLiteral("/no/such/drive/Tessarion/user/"),   // missing
        QStringLiteral("/"),                                 // the root
        QDir::homePath(),                                    // the home folder itself
        QDir::homePath() + QStringLiteral("/"),
        QStringLiteral("/etc"),                              // system folders
        QStringLiteral("/usr/share"),
        QStringLiteral("."),                                 // the program folder itself
        QStringLiteral("../elsewhere"),                      // relative, out of the program folder
        QStringLiteral("user/../.."),
        QStringLiteral("nothing-here/"),                     // relative, missing
    };
    for (const QString &stored : unusable) {
        SCOPED_TRACE(stored.toStdString());
        TTempProgramFolder dir;
        dir.writeLines(QStringLiteral("UserDirectory.dat"), {stored});
        TCC cc;
        cc.RunStartupFileSteps(dir.path());
        EXPECT_EQ(cc.userFolder, dir.path() + QStringLiteral("user/"));
        EXPECT_EQ(dir.readLines(QStringLiteral("UserDirectory.dat")), QStringList{QStringLiteral("user/")});
        EXPECT_TRUE(QFileInfo(cc.userFolder + QStringLiteral("setting")).isDir());
    }
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/FileInfo")));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/record")));
}

// A start killed right after it made record/ left no setting/: every later
// start makes what is missing before anything is written into it.
TEST(Workspace, EveryStartMakesTheFoldersThatAreMissing)
{
    const QStringList made = {QStringLiteral("user/record"), QStringLiteral("user/record/x"),
                              QStringLiteral("user/setting")};
    for (const QString &present : made) {
        SCOPED_TRACE(present.toStdString());
        TTempProgramFolder dir;
        QDir().mkpath(dir.file(present));
        TCC cc;
        cc.RunStartupFileSteps(dir.path());
        for (const char *sub : {"FileInfo", "record", "setting"})
            EXPECT_TRUE(QFileInfo(cc.userFolder + QLatin1String(sub)).isDir()) << sub;
    }
    // Something that is no folder where one belongs is reported by its path.
    TTempProgramFolder dir;
    dir.write(QStringLiteral("user/setting"), "x");
    TCC cc;
    try {
        cc.RunStartupFileSteps(dir.path());
        ADD_FAILURE() << "a file in place of setting/ was taken for the folder";
    } catch (const TFatalError &e) {
        EXPECT_TRUE(e.Message().contains(dir.file(QStringLiteral("user/setting")))) << e.Message().toStdString();
    }
}

// A user folder that cannot be written (a drive mounted read-only) holds the
// learner's records: it is reported with its path, never replaced by an
// empty default folder, and UserDirectory.dat keeps naming it. The check runs
// the tool as an unprivileged user, since permissions do not bind the superuser.
TEST(Workspace, AnUnwritableUserFolderIsReportedAndNeverReplaced)
{
    TTempProgramFolder dir;
    const QString records = dir.file(QStringLiteral("records"));
    dir.write(QStringLiteral("records/record/Record_TT.dat"), "x");
    dir.writeLines(QStringLiteral("UserDirectory.dat"), {records});
    const QByteArray stored = dir.read(QStringLiteral("UserDirectory.dat"));
    QStringList command{BinaryDir() + QStringLiteral("/tessarion-tool"), QStringLiteral("import-records"),
                        QStringLiteral("--program-folder"), dir.path(), QStringLiteral("--from"), records};
    if (geteuid() == 0) {
        // Everything but the records folder is open to the unprivileged user.
        for (const QString &path : {dir.path(), dir.file(QStringLiteral("UserDirectory.dat"))})
            QFile::setPermissions(path, QFileDevice::Permissions(0x7777));
        command = QStringList{QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                              QStringLiteral("--clear-groups")} + command;
    } else {
        QFile::setPermissions(records, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    QProcess tool;
    tool.start(command.first(), command.mid(1));
    ASSERT_TRUE(tool.waitForFinished(60000));
    QFile::setPermissions(records, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString err = QString::fromUtf8(tool.readAllStandardError());
    EXPECT_EQ(tool.exitCode(), 1) << err.toStdString();
    EXPECT_TRUE(err.contains(records + u'/')) << err.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("UserDirectory.dat")), stored);
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("user"))));
    EXPECT_EQ(dir.read(QStringLiteral("records/record/Record_TT.dat")), QByteArray("x"));
}

// A copy of the program folder goes on with the user folder it carries, not
// with the original's: the default is stored by its name inside the program
// folder, and the full path older runs wrote for it is stored so from then on.
// A folder the learner chose elsewhere stays named in full.
TEST(Workspace, ACopiedProgramFolderUsesItsOwnUserFolder)
{
    TTempProgramFolder original;
    TTempProgramFolder copy;
    TTempProgramFolder chosen;
    for (const TTempProgramFolder *dir : {&original, &copy})
        QDir().mkpath(dir->file(QStringLiteral("user/record")));
    struct TCase {
        const char *what;
        QString stored;        // in the copy's UserDirectory.dat
        QString expected;      // the copy's user folder
        QStringList rewritten; // the copy's UserDirectory.dat afterwards
    };
    const TCase cases[] = {
        {"default by name", QStringLiteral("user/"), copy.path() + QStringLiteral("user/"), {QStringLiteral("user/")}},
        {"its own default in full", copy.path() + QStringLiteral("user/"), copy.path() + QStringLiteral("user/"),
         {QStringLiteral("user/")}},
        {"a chosen folder", chosen.path(), chosen.path(), {chosen.path()}},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.what);
        copy.writeLines(QStringLiteral("UserDirectory.dat"), {c.stored});
        TCC cc;
        cc.RunStartupFileSteps(copy.path());
        EXPECT_EQ(cc.userFolder, c.expected);
        EXPECT_EQ(copy.readLines(QStringLiteral("UserDirectory.dat")), c.rewritten);
    }
    // The original, started first, wrote a file that serves a copy as well.
    QFile::remove(original.file(QStringLiteral("UserDirectory.dat")));
    TCC first;
    first.RunStartupFileSteps(original.path());
    QFile::remove(copy.file(QStringLiteral("UserDirectory.dat")));
    QFile::copy(original.file(QStringLiteral("UserDirectory.dat")), copy.file(QStringLiteral("UserDirectory.dat")));
    TCC copied;
    copied.RunStartupFileSteps(copy.path());
    EXPECT_EQ(copied.userFolder, copy.path() + QStringLiteral("user/"));
    // A tool that only reads writes nothing.
    copy.writeLines(QStringLiteral("UserDirectory.dat"), {copy.path() + QStringLiteral("user/")});
    TCC reader;
    reader.context.readOnly = true;
    reader.RunStartupFileSteps(copy.path());
    EXPECT_EQ(reader.userFolder, copy.path() + QStringLiteral("user/"));
    EXPECT_EQ(copy.readLines(QStringLiteral("UserDirectory.dat")), QStringList{copy.path() + QStringLiteral("user/")});
}

// What a save interrupted by a crash left beside the state files goes at the
// next start; nothing else does.
TEST(Workspace, LeftoverTemporaryFilesOfAnInterruptedSaveAreRemovedAtStart)
{
    TTempProgramFolder dir;
    const QStringList leftovers = {
        QStringLiteral("user/record/Record_TT.dat.a1B2c3"), QStringLiteral("user/setting/Setting_DT.dat.ZZ9xx0"),
        QStringLiteral("user/setting/FormPosition.dat.000000"), QStringLiteral("user/FileInfo/FileInfo_PC.dat.qWeRtY"),
        QStringLiteral("user/word_user/Title.dat.abcdef"), QStringLiteral("UserDirectory.dat.Xy12Ab"),
    };
    const QStringList kept = {
        QStringLiteral("user/record/Record_TT.dat"), QStringLiteral("user/record/Record_TT.dat.damaged-20261210-101010"),
        QStringLiteral("user/record/notes.txt.a1B2c3"), QStringLiteral("user/record/Record_TT.dat.a1B2c"),
        QStringLiteral("user/setting/Setting_TT.dat.a1B2c3.bak"), QStringLiteral("resource/TT_enc.dat.a1B2c3"),
    };
    for (const QString &f : leftovers + kept)
        dir.write(f, "x");
    TCC cc;
    cc.RunStartupFileSteps(dir.path());
    for (const QString &f : leftovers)
        EXPECT_FALSE(QFileInfo::exists(dir.file(f))) << f.toStdString();
    for (const QString &f : kept)
        EXPECT_TRUE(QFileInfo::exists(dir.file(f))) << f.toStdString();
}

TEST(Workspace, StoredWindowPositionIsUsedEvenOffScreen)
{
    TTempProgramFolder dir;
    dir.writeLines(QStringLiteral("user/setting/FormPosition.dat"),
                   {QStringLiteral("-4000"), QStringLiteral("9000"), QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("0"), QStringLiteral("3")});
    TCC cc;
    cc.RunStartupFileSteps(dir.path());
    const auto position = cc.ReadMainWindowPosition();
    ASSERT_TRUE(position);
    EXPECT_EQ(position->top, -4000);
    EXPECT_EQ(position->left, 9000);

    // Positions that cannot be read centre the window.
    dir.writeLines(QStringLiteral("user/setting/FormPosition.dat"), {QStringLiteral("top"), QStringLiteral("9")});
    EXPECT_FALSE(cc.ReadMainWindowPosition());
}

TEST(RecycleBin, MovesAFolderToTheTrashAndCreatesTheDataLocation)
{
    TTempProgramFolder dir;
    const TDataHome home(dir.file(QStringLiteral("data-home/share")));   // does not exist yet
    dir.write(QStringLiteral("victim/inner.txt"), "x");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.file(QStringLiteral("victim"))));   // a tempting relative target
    const bool moved = MoveToRecycleBin(dir.file(QStringLiteral("victim")));
    QDir::setCurrent(before);
    EXPECT_TRUE(moved);
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("victim"))));
    // Nothing is left below the program folder except the data location's trash.
    for (const QString &f : FilesBelow(dir.path()))
        EXPECT_TRUE(f.startsWith(QStringLiteral("data-home/share/Trash/")) || f.startsWith(QStringLiteral(".Trash"))) << f.toStdString();
}

TEST(RecycleBin, ItemStaysWhenTheTrashCannotBeMade)
{
    TTempProgramFolder dir;
    dir.write(QStringLiteral("blocker"), "a file where the data location should be");
    const TDataHome home(dir.file(QStringLiteral("blocker/share")));
    dir.write(QStringLiteral("keep/inner.txt"), "x");
    EXPECT_FALSE(MoveToRecycleBin(dir.file(QStringLiteral("keep"))));
    EXPECT_EQ(dir.read(QStringLiteral("keep/inner.txt")), QByteArray("x"));
    EXPECT_FALSE(MoveToRecycleBin(dir.file(QStringLiteral("missing"))));
}

// ---- migration of an older installation -------------------------------------

namespace {
// An older installation: state files with ".txt", the user folder named by
// UserDirectory.txt, the update marker and the replacer beside the program.
struct TOldInstallation {
    TTempProgramFolder dir;
    QString user;

    explicit TOldInstallation(bool withCatalog = true)
    {
        user = dir.file(QStringLiteral("old-user/"));
        dir.writeLines(QStringLiteral("UserDirectory.txt"), {user});
        dir.write(QStringLiteral("W.qda"), "");
        dir.write(QStringLiteral("Tessarion_replacer.exe"), "MZ");
        dir.write(QStringLiteral("old-user/word_VORKAL/words.xls"), "old");
        dir.write(QStringLiteral("old-user/record/Record_TT.dat"), "rec");
        dir.writeLines(QStringLiteral("old-user/FileInfo/FileModifiedDate.txt"), {QStringLiteral("2009/07/05")});
        dir.writeLines(QStringLiteral("old-user/word_user/Title.txt"), QStringList(18, QStringLiteral("古いタイトル")));
        dir.writeLines(QStringLiteral("old-user/FileInfo/FileInfo_SITE.txt"), {QStringLiteral("old")});
        dir.writeLines(QStringLiteral("old-user/setting/setting_TT.txt"), {QStringLiteral("tt")});
        dir.writeLines(QStringLiteral("old-user/setting/SETTING_IT.TXT"), {QStringLiteral("it")});
        dir.writeLines(QStringLiteral("old-user/setting/setting_U18.txt"), {QStringLiteral("u18")});
        dir.writeLines(QStringLiteral("old-user/setting/setting_XX.txt"), {QStringLiteral("not ours")});
        if (withCatalog)
            WriteOlderCatalog();
    }

    // A catalog written by an older version: no popup lines, no etymology.
    void WriteOlderCatalog()
    {
        TTempProgramFolder scratch;
        scratch.writeLines(QStringLiteral("resource/FileInfo_SITE.dat"), SiteCatalogLines(700, UsualSiteRows()));
        TCC cc;
        cc.RunStartupFileSteps(scratch.path());
        cc.LoadServerCatalog();
        cc.LoadCatalog();
        cc.catalog.rows[8].OnOff = true;
        cc.catalog.rows[7].Version = 150;
        cc.SaveCatalog();
        QStringList lines;
        const QStringList full = scratch.readLines(QStringLiteral("user/FileInfo/FileInfo_PC.dat"));
        for (qsizetype i = 0; i < full.size() - 2; ++i) {   // no etymology lines
            if (full.at(i) == u"PopUp" || full.at(i) == u"PopUpDate" || full.at(i) == u"PopUpWN")
                ++i;
            else
                lines << full.at(i);
        }
        dir.writeLines(QStringLiteral("old-user/FileInfo/FileInfo_PC.txt"), lines);
    }
};
}

TEST(Migration, MovesEveryOlderStateFileOnce)
{
    TOldInstallation old;
    const TDataHome home(old.dir.file(QStringLiteral("data-home")));
    TCC cc;
    cc.RunStartupFileSteps(old.dir.path());
    EXPECT_EQ(cc.userFolder, old.user);
    const QStringList expected{
        QStringLiteral("FileInfo/FileInfo_PC.dat"),
        QStringLiteral("FileInfo/FileInfo_User.dat"),
        QStringLiteral("FileInfo/FileModifiedDate.dat"),
        kUserFolderLockName,   // held by the engine, a writer, while it runs
        QStringLiteral("record/Record_TT.dat"),
        QStringLiteral("setting/Setting_IT.dat"),
        QStringLiteral("setting/Setting_TT.dat"),
        QStringLiteral("setting/Setting_U18.dat"),
        QStringLiteral("setting/setting_XX.txt"),
        QStringLiteral("word_user/Title.dat"),
    };
    EXPECT_EQ(FilesBelow(old.user), expected);
    EXPECT_EQ(old.dir.readLines(QStringLiteral("old-user/setting/Setting_TT.dat")), QStringList{QStringLiteral("tt")});
    EXPECT_EQ(old.dir.readLines(QStringLiteral("UserDirectory.dat")), QStringList{old.user});
    for (const char *gone : {"W.qda", "Tessarion_replacer.exe", "UserDirectory.txt"})
        EXPECT_FALSE(QFileInfo::exists(old.dir.file(QLatin1String(gone)))) << gone;
    EXPECT_EQ(old.dir.readLines(QStringLiteral("old-user/word_user/Title.dat")).at(0), QStringLiteral("古いタイトル"));

    // The catalog: written in the full layout with the versions of the older data.
    cc.LoadCatalog();
    const TCatalog &c = cc.catalog;
    EXPECT_EQ(c.dataVersion, 801);
    EXPECT_EQ(c.relatedWordsVersion, 201);
    for (int slot : {6, 7, 8, 27})
        EXPECT_EQ(c.rows[slot].Version, 201) << slot;
    EXPECT_FALSE(c.rows[8].OnOff);
    EXPECT_TRUE(c.rows[6].OnOff);
    EXPECT_EQ(c.rows[6].Title, QStringLiteral("TOEIC 頻出単語"));
    EXPECT_EQ(c.rows[6].PopUpWN, 10);
    EXPECT_EQ(c.rows[32].Title, QStringLiteral("古いタイトル"));
    EXPECT_EQ(old.dir.readLines(QStringLiteral("old-user/FileInfo/FileInfo_PC.dat")).size(), 4 + 31 * 21 + 5);
}

TEST(Migration, NeverReplacesAFileThatAlreadyExists)
{
    TOldInstallation old(false);
    const TDataHome home(old.dir.file(QStringLiteral("data-home")));
    old.dir.writeLines(QStringLiteral("old-user/setting/Setting_TT.dat"), {QStringLiteral("newer")});
    TCC cc;
    cc.RunStartupFileSteps(old.dir.path());
    EXPECT_EQ(old.dir.readLines(QStringLiteral("old-user/setting/Setting_TT.dat")), QStringList{QStringLiteral("newer")});
    EXPECT_TRUE(QFileInfo::exists(old.dir.file(QStringLiteral("old-user/setting/setting_TT.txt"))));
    // Without an older catalog none is made up.
    EXPECT_FALSE(QFileInfo::exists(old.dir.file(QStringLiteral("old-user/FileInfo/FileInfo_PC.dat"))));
    EXPECT_FALSE(QFileInfo::exists(old.dir.file(QStringLiteral("W.qda"))));
}

TEST(Migration, WithoutUserDirectoryTxtWorksOnTheProgramFolderNotTheCurrentFolder)
{
    TTempProgramFolder dir;
    TTempProgramFolder elsewhere;   // the process's current folder
    const TDataHome home(dir.file(QStringLiteral("data-home")));
    dir.write(QStringLiteral("W.qda"), "");
    dir.writeLines(QStringLiteral("setting/setting_TJ.txt"), {QStringLiteral("tj")});
    elsewhere.writeLines(QStringLiteral("setting/setting_TJ.txt"), {QStringLiteral("not ours")});
    elsewhere.write(QStringLiteral("word_VORKAL/x"), "keep");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    TCC cc;
    cc.RunStartupFileSteps(dir.path());
    QDir::setCurrent(before);
    EXPECT_EQ(dir.readLines(QStringLiteral("setting/Setting_TJ.dat")), QStringList{QStringLiteral("tj")});
    EXPECT_TRUE(QFileInfo::exists(elsewhere.file(QStringLiteral("setting/setting_TJ.txt"))));
    EXPECT_EQ(elsewhere.read(QStringLiteral("word_VORKAL/x")), QByteArray("keep"));
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("W.qda"))));
}
