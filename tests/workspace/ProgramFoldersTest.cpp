#include "data/LearningFile.h"
#include "engine/CommonUnit.h"
#include "support/TestSupport.h"
#include "workspace/CatalogFixture.h"
#include "workspace/ProgramFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
constexpr int kSlotTT = 6;
}

// A program folder that can be written keeps everything itself; one inside a
// system folder (even for root) or one that cannot be written sends the
// program's own files to the learner's data folder, created only when asked.
TEST(ProgramFolders, InstalledProgramsKeepTheirFilesInTheDataFolder)
{
    TTempProgramFolder home;
    TDataHome dataHome(home.path() + QStringLiteral("data"));
    const QString dataFolder = home.path() + QStringLiteral("data/tessarion/");
    TTempProgramFolder portable;
    TTempProgramFolder readOnly;
    QFile::setPermissions(readOnly.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool root = geteuid() == 0;   // root writes any folder its mode bits forbid

    struct TCase {
        QString folder;
        TCreateOwnFolder create;
        QString own;
    };
    const TCase cases[] = {
        {portable.path(), TCreateOwnFolder::Yes, portable.path()},
        {QStringLiteral("/usr/bin"), TCreateOwnFolder::No, dataFolder},
        {QStringLiteral("/usr/bin/"), TCreateOwnFolder::Yes, dataFolder},
        {readOnly.path(), TCreateOwnFolder::Yes, root ? readOnly.path() : dataFolder},
    };
    for (const TCase &c : cases) {
        QDir(dataFolder).removeRecursively();
        const TProgramFolders folders = LocateProgramFolders(c.folder, c.create);
        EXPECT_EQ(folders.own, c.own) << c.folder.toStdString();
        EXPECT_EQ(folders.installed, QDir(c.folder).absolutePath() + u'/') << c.folder.toStdString();
        EXPECT_EQ(folders.Installed(), c.own == dataFolder) << c.folder.toStdString();
        EXPECT_EQ(QFileInfo(dataFolder).isDir(), c.own == dataFolder && c.create == TCreateOwnFolder::Yes)
            << c.folder.toStdString();
    }
    QFile::setPermissions(readOnly.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// A downloaded revision in the program's own folder is read before the file
// that was installed; a portable program has one folder only.
TEST(ProgramFolders, ShippedFilesAreReadFromARevisionFirst)
{
    TTempProgramFolder own;
    TTempProgramFolder installed;
    installed.write(QStringLiteral("resource/TT_enc.dat"), "T");
    installed.write(QStringLiteral("resource/IT_enc.dat"), "I");
    own.write(QStringLiteral("resource/TT_enc.dat"), "T2");

    TEngineContext context;
    context.programFolder = own.path();
    context.installedFolder = installed.path();
    EXPECT_EQ(ShippedFilePath(context, QStringLiteral("resource/TT_enc.dat")), own.file(QStringLiteral("resource/TT_enc.dat")));
    EXPECT_EQ(ShippedFilePath(context, QStringLiteral("resource/IT_enc.dat")), installed.file(QStringLiteral("resource/IT_enc.dat")));
    EXPECT_EQ(InstalledFolder(context), installed.path());

    context.installedFolder.clear();
    EXPECT_EQ(ShippedFilePath(context, QStringLiteral("resource/IT_enc.dat")), own.file(QStringLiteral("resource/IT_enc.dat")));
    EXPECT_EQ(InstalledFolder(context), own.path());
}

// An installed program reads its learning data from the installed folder and
// writes UserDirectory.dat, the catalogs and the records only below its own
// folder; the installed folder stays exactly as it was.
TEST(ProgramFolders, AnInstalledStudyWritesOnlyBelowTheDataFolder)
{
    TTempProgramFolder installed;
    TTempProgramFolder own;
    constexpr int n = 4;
    installed.writeLines(QStringLiteral("resource/FileInfo_SITE.dat"),
                         SiteCatalogLines(900, {{kSlotTT, {QStringLiteral("TT"), 305, QStringLiteral("テスト単語"), n, n}}}));
    QString text = QStringLiteral("T305\r\n");
    for (int p = 1; p <= n; ++p)
        text += QStringLiteral("%1\tword%1x\t/w/\t\t意味%1\r\n").arg(p);
    installed.write(QStringLiteral("resource/TT_enc.dat"), EncodeLearningText(text).toUtf8());
    const QStringList shipped = FilesBelow(installed.path());

    TCC cc;
    cc.context.installedFolder = installed.path();
    cc.RunStartupFileSteps(own.path());
    cc.LoadServerCatalog();
    cc.LoadCatalog();
    cc.MergeServerCatalog();
    cc.SetCurrentFile(QStringLiteral("TT"));
    cc.LoadFileSettings();
    cc.LoadLearningFile();
    EXPECT_EQ(cc.TangoTotal(), n);
    cc.SaveRecordFile();
    cc.SaveCatalog();

    EXPECT_EQ(cc.userFolder, own.path() + QStringLiteral("user/"));
    EXPECT_EQ(own.readLines(QStringLiteral("UserDirectory.dat")), QStringList{QStringLiteral("user/")});
    EXPECT_TRUE(QFileInfo::exists(own.file(QStringLiteral("user/record/Record_TT.dat"))));
    EXPECT_TRUE(QFileInfo::exists(own.file(QStringLiteral("user/FileInfo/FileInfo_SITE.dat"))));
    EXPECT_EQ(FilesBelow(installed.path()), shipped);
}
