// One writer per user folder: while one program holds the folder's lock,
// every other writer (a study run, an import, an export) is refused with a
// message naming the folder and the holder, and leaves the folder as it
// was; readers go on reading; a lock left by a killed program is taken over;
// an import carries the lock over to the folder it puts in place.
#include "base/TextFiles.h"
#include "data/LearningFile.h"
#include "support/TestSupport.h"
#include "workspace/CatalogFixture.h"
#include "workspace/RecordFolderTransfer.h"
#include "workspace/UserFolderLock.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
const QString kRecordTT = QStringLiteral("user/record/Record_TT.dat");
const QString kSettingsTT = QStringLiteral("user/setting/Setting_TT.dat");

struct TToolRun {
    int exitCode = -1;
    QStringList out;
    QString err;
};

// The learner's files below a folder with a hash of each (the lock's own
// files left out: they come and go with the programs).
QMap<QString, QByteArray> LearnerFiles(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        if (IsUserFolderLockFile(relative))
            continue;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        files.insert(relative, QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1));
    }
    return files;
}

// A program folder with a learning file TT of 60 words and a few days of study.
struct TLearner {
    static constexpr int kWords = 60;
    TTempProgramFolder dir;

    TLearner()
    {
        std::map<int, TSiteRow> rows = UsualSiteRows();
        rows[6].tangoTotal = kWords;
        rows[6].dbTangoTotal = kWords;
        dir.writeLines(QStringLiteral("resource/FileInfo_SITE.dat"), SiteCatalogLines(805, rows));
        QString text = QStringLiteral("x305\r\n");
        for (int k = 0; k < kWords; ++k)
            text += QStringLiteral("%1\tword%2x\t\t\t意味%1\r\n").arg(k + 1).arg(QChar(u'a' + k % 26));
        dir.write(QStringLiteral("resource/TT_enc.dat"), EncodeLearningText(text).toUtf8());
        const TToolRun first = Study(QStringLiteral("1101101"));
        EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    }
    QString user() const { return dir.file(QStringLiteral("user")); }

    QProcess *Start(QProcess &p, const QString &command, const QStringList &more) const
    {
        p.start(BinaryDir() + QStringLiteral("/tessarion-tool"),
                QStringList{command, QStringLiteral("--program-folder"), dir.path()} + more);
        return &p;
    }
    static TToolRun Finish(QProcess &p)
    {
        EXPECT_TRUE(p.waitForFinished(120000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts),
                QString::fromUtf8(p.readAllStandardError())};
    }
    TToolRun Tool(const QString &command, const QStringList &more = {}) const
    {
        QProcess p;
        Start(p, command, more);
        return Finish(p);
    }
    TToolRun Study(const QString &answers, int dayOffset = 1) const
    {
        return Tool(QStringLiteral("study"), {QStringLiteral("--file"), QStringLiteral("TT"), QStringLiteral("--answers"),
                                              answers, QStringLiteral("--day-offset"), QString::number(dayOffset)});
    }
};

QString ThisProgram()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}
}

TEST(UserFolderLock, WritersAreRefusedWhileAnotherProgramHoldsTheFolder)
{
    TLearner learner;
    const QTemporaryDir elsewhere;
    learner.dir.write(QStringLiteral("backup/user/record/Record_TT.dat"), learner.dir.read(kRecordTT));
    learner.dir.write(QStringLiteral("backup/user/FileInfo/FileInfo_PC.dat"),
                      learner.dir.read(QStringLiteral("user/FileInfo/FileInfo_PC.dat")));
    TUserFolderLock held(learner.user());
    ASSERT_TRUE(held.Acquire(0));
    const QMap<QString, QByteArray> before = LearnerFiles(learner.user());
    const QStringList beside = QDir(learner.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    struct Case {
        const char *command;
        QStringList args;
    };
    const Case cases[] = {
        {"study", {QStringLiteral("--file"), QStringLiteral("TT"), QStringLiteral("--answers"), QStringLiteral("111"),
                   QStringLiteral("--day-offset"), QStringLiteral("2")}},
        {"import-records", {QStringLiteral("--from"), learner.dir.file(QStringLiteral("backup/user"))}},
        {"export-records", {QStringLiteral("--to"), elsewhere.path()}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.command);
        const TToolRun run = learner.Tool(QString::fromUtf8(c.command), c.args);
        EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QDir::toNativeSeparators(QDir::cleanPath(learner.user())))) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(ThisProgram())) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::number(QCoreApplication::applicationPid()))) << run.err.toStdString();
        EXPECT_EQ(LearnerFiles(learner.user()), before);
        EXPECT_EQ(QDir(learner.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), beside);
        EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());
    }
    // Readers read on.
    const TToolRun record = learner.Tool(QStringLiteral("record"), {QStringLiteral("--file"), QStringLiteral("TT")});
    EXPECT_EQ(record.exitCode, 0) << record.err.toStdString();
    EXPECT_FALSE(record.out.isEmpty());
    EXPECT_EQ(UserFolderHolder(learner.user()).pid, QCoreApplication::applicationPid());

    // Once the holder is gone, the next writer writes, and leaves no lock behind.
    held.Release();
    EXPECT_FALSE(QFileInfo::exists(learner.user() + u'/' + kUserFolderLockName));
    const TToolRun study = learner.Study(QStringLiteral("111"), 2);
    EXPECT_EQ(study.exitCode, 0) << study.err.toStdString();
    EXPECT_NE(LearnerFiles(learner.user()), before);
    EXPECT_FALSE(QFileInfo::exists(learner.user() + u'/' + kUserFolderLockName));
}

TEST(UserFolderLock, AnExportDuringAnotherWritersSaveWaitsAndCopiesTheStateAfterIt)
{
    TLearner learner;
    const QTemporaryDir place;
    TUserFolderLock held(learner.user());
    ASSERT_TRUE(held.Acquire(0));
    QProcess exporter;
    learner.Start(exporter, QStringLiteral("export-records"), {QStringLiteral("--to"), place.path()});
    ASSERT_TRUE(exporter.waitForStarted(60000));
    // The holder saves a set of files while the export has started.
    const QByteArray record = learner.dir.read(kRecordTT) + "\r\n";
    const QByteArray settings = learner.dir.read(kSettingsTT) + "\r\n";
    {
        TFileCommit commit;
        commit.Add(learner.dir.file(kRecordTT), record);
        commit.Add(learner.dir.file(kSettingsTT), settings);
        commit.Commit();
    }
    held.Release();
    const TToolRun run = TLearner::Finish(exporter);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(LearnerFiles(place.path() + QStringLiteral("/user")), LearnerFiles(learner.user()));
    EXPECT_FALSE(QFileInfo::exists(place.path() + QStringLiteral("/user/") + kUserFolderLockName));
}

TEST(UserFolderLock, ALockLeftByAKilledProgramIsTakenOverAtOnce)
{
    TLearner learner;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TUserFolderLock lock(learner.user());
        const char held = lock.Acquire(0) ? '1' : '0';
        (void)!write(ready[1], &held, 1);
        for (;;)
            pause();
    }
    close(ready[1]);
    char held = 0;
    ASSERT_EQ(read(ready[0], &held, 1), 1);
    close(ready[0]);
    ASSERT_EQ(held, '1');
    EXPECT_EQ(UserFolderHolder(learner.user()).pid, child);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ASSERT_TRUE(QFileInfo::exists(learner.user() + u'/' + kUserFolderLockName));

    // No wait at all is needed to take it over.
    TUserFolderLock next(learner.user());
    EXPECT_TRUE(next.Acquire(0)) << next.RefusalMessage().toStdString();
    EXPECT_EQ(UserFolderHolder(learner.user()).pid, QCoreApplication::applicationPid());
}

TEST(UserFolderLock, EngineObjectsOfOneProcessShareTheLock)
{
    TLearner learner;
    TUserFolderLock first(learner.user());
    ASSERT_TRUE(first.Acquire(0));
    {
        TUserFolderLock second(learner.user() + u'/');
        EXPECT_TRUE(second.Acquire(0));
    }
    // The lock stays until its last holder in the process lets go.
    EXPECT_TRUE(QFileInfo::exists(learner.user() + u'/' + kUserFolderLockName));
    first.Release();
    EXPECT_FALSE(QFileInfo::exists(learner.user() + u'/' + kUserFolderLockName));
}

TEST(UserFolderLock, AnImportCarriesTheLockOverToTheFolderItPutsInPlace)
{
    TLearner learner;
    TLearner other;
    ASSERT_EQ(other.Study(QStringLiteral("0000000000"), 3).exitCode, 0);
    TUserFolderLock held(learner.user());
    ASSERT_TRUE(held.Acquire(0));
    const quint64 countBefore = CommitCount(learner.user());
    const TTransferResult result = ImportRecordFolder(learner.user() + u'/', other.user());
    ASSERT_EQ(result.outcome, TTransferOutcome::Done) << result.message.toStdString();
    EXPECT_EQ(LearnerFiles(learner.user()), LearnerFiles(other.user()));
    // The new folder is still held by this process; the former one holds no lock.
    EXPECT_EQ(UserFolderHolder(learner.user()).pid, QCoreApplication::applicationPid());
    ASSERT_FALSE(result.backup.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(result.backup + u'/' + kUserFolderLockName));
    // Readers see the swap as a change that has settled.
    const quint64 countAfter = SettledCommitCount(learner.user(), 0).value_or(1);
    EXPECT_GT(countAfter, countBefore);
    EXPECT_EQ(countAfter % 2, 0U);
    // Another writer is still kept out, until the holder lets go.
    EXPECT_EQ(learner.Study(QStringLiteral("1"), 4).exitCode, 1);
    held.Release();
    EXPECT_FALSE(QFileInfo::exists(learner.user() + u'/' + kUserFolderLockName));
    EXPECT_EQ(learner.Study(QStringLiteral("1"), 4).exitCode, 0);
}

TEST(UserFolderLock, ReadersWaitWhileASetOfFilesIsPutInPlace)
{
    TLearner learner;
    TLearner other;
    ASSERT_EQ(other.Study(QStringLiteral("0011001100"), 3).exitCode, 0);
    const TToolRun otherRecord = other.Tool(QStringLiteral("record"), {QStringLiteral("--file"), QStringLiteral("TT")});
    ASSERT_EQ(otherRecord.exitCode, 0);
    ASSERT_NE(otherRecord.out, learner.Tool(QStringLiteral("record"), {QStringLiteral("--file"), QStringLiteral("TT")}).out);

    TUserFolderLock held(learner.user());
    ASSERT_TRUE(held.Acquire(0));
    const quint64 settled = CommitCount(learner.user());
    ASSERT_EQ(settled % 2, 0U);
    ASSERT_GT(settled, 0U);   // the study run's save was marked
    QProcess reader;
    {
        TUserFolderCommitMark mark(learner.user());
        EXPECT_EQ(CommitCount(learner.user()), settled + 1);
        EXPECT_EQ(SettledCommitCount(learner.user(), 0), std::nullopt);
        // A reader that starts now reads only once the set is in place.
        learner.Start(reader, QStringLiteral("record"), {QStringLiteral("--file"), QStringLiteral("TT")});
        ASSERT_TRUE(reader.waitForStarted(60000));
        TFileCommit commit;
        commit.Add(learner.dir.file(kRecordTT), other.dir.read(kRecordTT));
        commit.Add(learner.dir.file(kSettingsTT), other.dir.read(kSettingsTT));
        commit.Commit();
    }
    EXPECT_EQ(CommitCount(learner.user()), settled + 2);
    const TToolRun run = TLearner::Finish(reader);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, otherRecord.out);

    // A mark left by a writer that no longer runs does not hold readers up.
    held.Release();
    SetCommitCount(learner.user(), settled + 3);
    EXPECT_EQ(SettledCommitCount(learner.user(), 0), settled + 3);
}

TEST(UserFolderLock, AnImportARunningProgramIsDoingIsNotTakenForAnInterruptedOne)
{
    TTempProgramFolder dir;
    dir.write(QStringLiteral("user/record/Record_TT.dat"), "\xEF\xBB\xBF" "bank2\t1\r\n");
    const QString copy = QStringLiteral("user.importing-20260101-000000/record/Record_TT.dat");
    dir.write(copy, "\xEF\xBB\xBF" "river\t1\r\n");
    const QString record = dir.file(QStringLiteral("user"));
    {
        // The copy of an import whose program holds the folder is left alone.
        TUserFolderLock importing(record);
        ASSERT_TRUE(importing.Acquire(0));
        EXPECT_TRUE(RecoverInterruptedImport(record).isEmpty());
        EXPECT_TRUE(QFileInfo::exists(dir.file(copy)));
    }
    // Between the renames of a running import the folder is missing: its
    // former self is not brought back under it.
    const QString former = dir.file(QStringLiteral("user-before-import-20260101-000000"));
    ASSERT_TRUE(QDir().rename(record, former));
    {
        TUserFolderLock swapping(former);
        ASSERT_TRUE(swapping.Acquire(0));
        EXPECT_TRUE(RecoverInterruptedImport(record).isEmpty());
        EXPECT_FALSE(QFileInfo::exists(record));
        EXPECT_TRUE(QFileInfo::exists(dir.file(copy)));
    }
    // Once nobody runs on them, the stopped import is finished.
    EXPECT_FALSE(RecoverInterruptedImport(record).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(record));
}
