// Export and import of the record folder: a learner's history survives a
// trip through a backup into a fresh program folder, an export never
// replaces a folder unasked, and an import that cannot finish leaves the
// current records exactly as they were.
#include "base/TextFiles.h"
#include "data/LearningFile.h"
#include "engine/CommonUnit.h"
#include "support/TestSupport.h"
#include "workspace/CatalogFixture.h"
#include "workspace/RecordFolderTransfer.h"
#include "workspace/UserFolderLock.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <gtest/gtest.h>

namespace {
const QString kOldTime = QStringLiteral("2021-03-04T05:06:07");

// Every file below a folder with its bytes and modification time, and every
// folder (so that a folder made or lost shows too); the files of the folder's
// lock, which belong to the programs running on it, left out.
QMap<QString, QString> Snapshot(const QString &root)
{
    QMap<QString, QString> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        if (IsUserFolderLockFile(QDir(root).relativeFilePath(path)))
            continue;
        QString value = QStringLiteral("folder");
        if (info.isFile()) {
            QFile file(path);
            value = file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().toBase64()) : QStringLiteral("?");
            value += u' ' + info.lastModified().toString(Qt::ISODate);
        }
        entries.insert(QDir(root).relativeFilePath(path), value);
    }
    return entries;
}

struct TToolRun {
    int exitCode = -1;
    QStringList out;
    QString err;
};

TToolRun RunTool(const QStringList &args)
{
    QProcess p;
    p.start(BinaryDir() + QStringLiteral("/tessarion-tool"), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts),
            QString::fromUtf8(p.readAllStandardError())};
}

// A program folder with a learning file TT of 200 words, enough for weeks.
struct TProgramWithTT {
    static constexpr int kWords = 200;
    TTempProgramFolder dir;

    TProgramWithTT()
    {
        std::map<int, TSiteRow> rows = UsualSiteRows();
        rows[6].tangoTotal = kWords;
        rows[6].dbTangoTotal = kWords;
        dir.writeLines(QStringLiteral("resource/FileInfo_SITE.dat"), SiteCatalogLines(805, rows));
        const QStringList starts = {"b", "c", "d", "f", "g", "l", "m", "p", "r", "s"};
        const QStringList ends = {"ank", "iver", "ode", "oud", "one", "ight", "arden", "indow", "ridge", "orest",
                                  "arbor", "etter", "arket", "irror", "encil", "addle", "emple", "alley", "agon", "arn"};
        QString text = QStringLiteral("x305\r\n");
        for (int k = 0; k < kWords; ++k)
            text += QStringLiteral("%1\t%2\t\t\t意味%1\r\n").arg(k + 1).arg(starts.at(k % 10) + ends.at(k / 10));
        dir.write(QStringLiteral("resource/TT_enc.dat"), EncodeLearningText(text).toUtf8());
    }
    QString user() const { return dir.file(QStringLiteral("user")); }
    TToolRun Tool(const QString &command, const QStringList &more = {}) const
    {
        return RunTool(QStringList{command, QStringLiteral("--program-folder"), dir.path()} + more);
    }
    QStringList ToolLines(const QString &command) const
    {
        const TToolRun run = Tool(command, {QStringLiteral("--file"), QStringLiteral("TT")});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return run.out;
    }
};

void SetModified(const QString &path, const QDateTime &time)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
}

// A record file of two words at the given level.
QByteArray TwoWordRecord(const char *first, const char *second, int level)
{
    QByteArray bytes = "\xEF\xBB\xBF";
    for (const char *word : {first, second})
        bytes += QStringLiteral("%1\t1\t\t0\t\t0\t0\t0\t0\t%2\t0\t\t5\t6\tFALSE\r\n").arg(QLatin1String(word)).arg(level).toUtf8();
    return bytes;
}

// A catalog that offers TT with two words.
QStringList TwoWordCatalog()
{
    std::map<int, TSiteRow> rows = UsualSiteRows();
    rows[6].tangoTotal = 2;
    rows[6].dbTangoTotal = 2;
    return PcCatalogLines(805, rows);
}

// A user folder as the program leaves it, made by hand (no study run needed).
void MakeRecordFolder(const TTempProgramFolder &dir, const QString &name = QStringLiteral("user"))
{
    dir.writeLines(name + QStringLiteral("/FileInfo/FileInfo_PC.dat"), TwoWordCatalog());
    dir.write(name + QStringLiteral("/record/Record_TT.dat"), TwoWordRecord("bank2", "river", 1));
    dir.writeLines(name + QStringLiteral("/setting/Setting_TT.dat"), {QStringLiteral("805"), QStringLiteral("7")});
    dir.write(name + QStringLiteral("/word_user/User_1.xls"), QByteArray(700, '\x01'));
    dir.writeLines(name + QStringLiteral("/word_user/Title.dat"), {QStringLiteral("動物")});
    QDir().mkpath(dir.file(name + QStringLiteral("/empty")));
}
}

TEST(RecordFolderTransfer, ExportThenImportIntoAFreshProgramFolderKeepsEveryFileAndTheHistory)
{
    TProgramWithTT learner;
    // A few weeks of study.
    for (int day : {0, 2, 5, 9, 14, 20, 27}) {
        const TToolRun run = learner.Tool(QStringLiteral("study"), {QStringLiteral("--file"), QStringLiteral("TT"),
                                                                    QStringLiteral("--answers"), QStringLiteral("1101101110").repeated(8),
                                                                    QStringLiteral("--day-offset"), QString::number(day)});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }
    learner.dir.write(QStringLiteral("user/word_user/User_1.xls"), QByteArray(1000, '\x07'));
    SetModified(learner.dir.file(QStringLiteral("user/word_user/User_1.xls")),
                QDateTime::fromString(kOldTime, Qt::ISODate));
    const QStringList record = learner.ToolLines(QStringLiteral("record"));
    const QStringList settings = learner.ToolLines(QStringLiteral("settings"));
    ASSERT_NE(record.at(0).split(u'\t').at(6), QStringLiteral("0"));   // asked on those days
    const QMap<QString, QString> before = Snapshot(learner.user());

    const QTemporaryDir backup;
    const TToolRun exported = learner.Tool(QStringLiteral("export-records"), {QStringLiteral("--to"), backup.path()});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_TRUE(exported.out.contains(QStringLiteral("record/Record_TT.dat")));
    EXPECT_TRUE(exported.out.last().startsWith(QStringLiteral("exported ")));
    EXPECT_EQ(Snapshot(backup.path() + QStringLiteral("/user")), before);
    EXPECT_EQ(Snapshot(learner.user()), before);   // the export wrote nothing at home

    TProgramWithTT fresh;
    const TToolRun imported = fresh.Tool(QStringLiteral("import-records"), {QStringLiteral("--from"), backup.path() + QStringLiteral("/user")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_EQ(Snapshot(fresh.user()), before);
    EXPECT_EQ(fresh.ToolLines(QStringLiteral("record")), record);
    EXPECT_EQ(fresh.ToolLines(QStringLiteral("settings")), settings);
    // The fresh start's empty tree was not worth a backup; nothing else was left beside.
    EXPECT_EQ(QDir(fresh.dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("resource"), QStringLiteral("user")}));

    // The learner studies on with every record: the same day in both
    // folders leaves the same records and settings.
    const QStringList nextDay = {QStringLiteral("--file"), QStringLiteral("TT"), QStringLiteral("--answers"),
                                 QStringLiteral("1101"), QStringLiteral("--day-offset"), QStringLiteral("30"),
                                 QStringLiteral("--seed"), QStringLiteral("11")};
    const TToolRun there = learner.Tool(QStringLiteral("study"), nextDay);
    const TToolRun here = fresh.Tool(QStringLiteral("study"), nextDay);
    ASSERT_EQ(here.exitCode, 0) << here.err.toStdString();
    EXPECT_EQ(here.out, there.out);
    EXPECT_FALSE(here.out.isEmpty()) << here.err.toStdString();
    EXPECT_EQ(fresh.ToolLines(QStringLiteral("record")), learner.ToolLines(QStringLiteral("record")));
    EXPECT_NE(fresh.ToolLines(QStringLiteral("record")), record);
    EXPECT_EQ(fresh.ToolLines(QStringLiteral("settings")), learner.ToolLines(QStringLiteral("settings")));
}

TEST(RecordFolderTransfer, AnExportNeverReplacesAnExistingCopyUnasked)
{
    const TTempProgramFolder home;
    TDataHome trash(home.file(QStringLiteral("data")));
    TProgramWithTT learner;
    MakeRecordFolder(learner.dir);
    const QTemporaryDir place;
    ASSERT_EQ(learner.Tool(QStringLiteral("export-records"), {QStringLiteral("--to"), place.path()}).exitCode, 0);
    const QString copy = place.path() + QStringLiteral("/user");
    const QMap<QString, QString> first = Snapshot(copy);

    learner.dir.write(QStringLiteral("user/record/Record_TT.dat"), TwoWordRecord("bank2", "river", 2));
    const TToolRun refused = learner.Tool(QStringLiteral("export-records"), {QStringLiteral("--to"), place.path()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--replace"))) << refused.err.toStdString();
    EXPECT_EQ(Snapshot(copy), first);

    // A copy an earlier export left when it was stopped goes too.
    QDir().mkpath(place.path() + QStringLiteral("/user.partial-20200101-000000/record"));
    // Asked: the new copy takes the place, the old one is in the trash.
    const TToolRun replaced = learner.Tool(QStringLiteral("export-records"), {QStringLiteral("--to"), place.path(), QStringLiteral("--replace")});
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    EXPECT_EQ(Snapshot(copy), Snapshot(learner.user()));
    QStringList trashed;
    for (const QString &f : FilesBelow(home.path()))
        if (f.endsWith(QStringLiteral("/files/user/record/Record_TT.dat")))
            trashed << f;
    ASSERT_EQ(trashed.size(), 1);
    EXPECT_EQ(home.read(trashed.first()), TwoWordRecord("bank2", "river", 1));
    EXPECT_EQ(QDir(place.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{QStringLiteral("user")});
}

TEST(RecordFolderTransfer, FoldersThatCannotTakeAnExportAreRefused)
{
    const TTempProgramFolder dir;
    MakeRecordFolder(dir);
    const QString user = dir.file(QStringLiteral("user/"));
    const QMap<QString, QString> before = Snapshot(dir.path());
    struct TCase {
        QString chosen;
        TTransferOutcome outcome;
        QString message;
    };
    const TCase cases[] = {
        {user, TTransferOutcome::SameFolder, QString()},
        {dir.file(QStringLiteral("user")), TTransferOutcome::SameFolder, QString()},
        // Into itself: the copy would never end.
        {dir.file(QStringLiteral("user/record")), TTransferOutcome::Refused, kExportIntoRecordFolderText},
        // Its parent: the target would be the record folder itself.
        {dir.path(), TTransferOutcome::Refused, kExportIntoRecordFolderText},
    };
    for (const TCase &c : cases) {
        const TExportPlan plan = PlanExport(user, c.chosen);
        EXPECT_EQ(plan.outcome, c.outcome) << c.chosen.toStdString();
        EXPECT_EQ(plan.message, c.message) << c.chosen.toStdString();
        EXPECT_EQ(ExportRecordFolder(user, plan, TReplaceTarget::Yes).outcome, c.outcome);
    }
    const TExportPlan missing = PlanExport(user, dir.file(QStringLiteral("nowhere")));
    EXPECT_EQ(missing.outcome, TTransferOutcome::Refused);
    EXPECT_TRUE(missing.message.startsWith(kExportFailedText));
    EXPECT_EQ(Snapshot(dir.path()), before);
}

TEST(RecordFolderTransfer, FoldersThatAreNoRecordFolderAreNotImported)
{
    const TTempProgramFolder dir;
    MakeRecordFolder(dir);
    MakeRecordFolder(dir, QStringLiteral("old"));
    dir.write(QStringLiteral("old/word_VORKAL/x.dat"), "x");
    MakeRecordFolder(dir, QStringLiteral("nocatalog"));
    QFile::remove(dir.file(QStringLiteral("nocatalog/FileInfo/FileInfo_PC.dat")));
    MakeRecordFolder(dir, QStringLiteral("norecord"));
    QDir(dir.file(QStringLiteral("norecord/record"))).removeRecursively();
    MakeRecordFolder(dir, QStringLiteral("badrecord"));
    ASSERT_TRUE(QFile::link(dir.file(QStringLiteral("gone")), dir.file(QStringLiteral("badrecord/record/Record_DT.dat"))));
    // The program folder itself looks like a record folder too.
    dir.write(QStringLiteral("record/Record_TT.dat"), "x");
    dir.writeLines(QStringLiteral("FileInfo/FileInfo_PC.dat"), {QStringLiteral("Tessarion")});
    const QString user = dir.file(QStringLiteral("user/"));
    const QMap<QString, QString> before = Snapshot(dir.path());

    struct TCase {
        QString chosen;
        TTransferOutcome outcome;
        QString message;   // the start of it
    };
    const TCase cases[] = {
        {user, TTransferOutcome::SameFolder, QString()},
        {dir.file(QStringLiteral("old")), TTransferOutcome::Refused, kOldLayoutText},
        {dir.file(QStringLiteral("nocatalog")), TTransferOutcome::Refused, kNotRecordFolderText},
        {dir.file(QStringLiteral("norecord")), TTransferOutcome::Refused, kNotRecordFolderText},
        {dir.file(QStringLiteral("nowhere")), TTransferOutcome::Refused, kNotRecordFolderText},
        // The folder that holds the user folder (and a record/ of its own).
        {dir.path(), TTransferOutcome::Refused, kNotRecordFolderText},
        {dir.file(QStringLiteral("badrecord")), TTransferOutcome::Refused,
         kImportFailedText + u'\n' + dir.file(QStringLiteral("badrecord/record/Record_DT.dat"))},
    };
    for (const TCase &c : cases) {
        const TTransferResult result = ImportRecordFolder(user, c.chosen);
        EXPECT_EQ(result.outcome, c.outcome) << c.chosen.toStdString();
        EXPECT_TRUE(result.message.startsWith(c.message)) << result.message.toStdString();
        EXPECT_EQ(Snapshot(dir.path()), before) << c.chosen.toStdString();
    }
}

TEST(RecordFolderTransfer, AnImportThatCannotFinishLeavesTheCurrentRecordsAsTheyWere)
{
    struct TCase {
        const char *name;
        std::function<void(const TTempProgramFolder &)> spoil;
        TSaveFault fault;
        QString detail;   // in the message
    };
    int writes = 0;
    const TCase cases[] = {
        {"an unreadable workbook in the copy",
         [](const TTempProgramFolder &dir) {
             ASSERT_TRUE(QFile::link(dir.file(QStringLiteral("nothing")), dir.file(QStringLiteral("backup/word_user/User_2.xls"))));
         },
         {}, QStringLiteral("User_2.xls")},
        {"a disk that fills up at the third file", [](const TTempProgramFolder &) {},
         [&writes](TSaveStep step, const QString &) { return step == TSaveStep::Write && ++writes == 3; },
         QStringLiteral("ファイルに書き込めません")},
    };
    for (const TCase &c : cases) {
        const TTempProgramFolder dir;
        MakeRecordFolder(dir);
        MakeRecordFolder(dir, QStringLiteral("backup"));
        dir.write(QStringLiteral("backup/record/Record_TT.dat"), TwoWordRecord("other", "lines", 2));
        c.spoil(dir);
        const QMap<QString, QString> before = Snapshot(dir.path());
        writes = 0;
        SetSaveFault(c.fault);
        const TTransferResult result = ImportRecordFolder(dir.file(QStringLiteral("user/")), dir.file(QStringLiteral("backup")));
        SetSaveFault({});
        EXPECT_EQ(result.outcome, TTransferOutcome::Failed) << c.name;
        EXPECT_TRUE(result.message.startsWith(kImportFailedText + u'\n')) << result.message.toStdString();
        EXPECT_TRUE(result.message.contains(c.detail)) << result.message.toStdString();
        // Nothing changed: no half copy, no backup, the same records.
        EXPECT_EQ(Snapshot(dir.path()), before) << c.name;
    }
}

TEST(RecordFolderTransfer, AnImportKeepsThePreviousFolderUnderADatedName)
{
    const TTempProgramFolder dir;
    MakeRecordFolder(dir);
    MakeRecordFolder(dir, QStringLiteral("backup"));
    dir.write(QStringLiteral("backup/record/Record_TT.dat"), TwoWordRecord("other", "lines", 2));
    const QMap<QString, QString> previous = Snapshot(dir.file(QStringLiteral("user")));
    const QMap<QString, QString> chosen = Snapshot(dir.file(QStringLiteral("backup")));

    const QDateTime now(QDate(2026, 1, 2), QTime(3, 4, 5));
    const TTransferResult result = ImportRecordFolder(dir.file(QStringLiteral("user/")), dir.file(QStringLiteral("backup")), now);
    ASSERT_EQ(result.outcome, TTransferOutcome::Done) << result.message.toStdString();
    EXPECT_EQ(result.message, kImportDoneText);
    const QString kept = dir.file(QStringLiteral("user-before-import-20260102-030405"));
    EXPECT_EQ(QFileInfo(result.backup).absoluteFilePath(), kept);
    EXPECT_EQ(Snapshot(kept), previous);
    EXPECT_EQ(Snapshot(dir.file(QStringLiteral("user"))), chosen);
    EXPECT_EQ(Snapshot(dir.file(QStringLiteral("backup"))), chosen);
    EXPECT_EQ(result.copied, FilesBelow(dir.file(QStringLiteral("backup"))));
}

// An import checks the folder's whole content as the program will read it:
// what the next start would have to repair or reset is never imported, and
// the learner's records stay exactly as they were.
TEST(RecordFolderTransfer, DamagedContentIsNeverImported)
{
    const QByteArray bom = "\xEF\xBB\xBF";
    const struct {
        const char *name;
        QString file;        // in the chosen folder
        QByteArray bytes;
    } cases[] = {
        {"garbage catalog", QStringLiteral("FileInfo/FileInfo_PC.dat"), QByteArray("\x89PNG\r\n\x1A\n garbage\r\nmore\r\n")},
        {"catalog cut short", QStringLiteral("FileInfo/FileInfo_PC.dat"), TwoWordCatalog().mid(0, 40).join(QStringLiteral("\r\n")).toUtf8()},
        {"garbage user catalog", QStringLiteral("FileInfo/FileInfo_User.dat"), QByteArray("--------\r\nCode\r\nU1\r\nOnOff\r\n")},
        {"garbage record", QStringLiteral("record/Record_TT.dat"), QByteArray(4000, '\x5A') + "\r\n" + QByteArray(100, '\x01') + "\r\n"},
        {"record of one line", QStringLiteral("record/Record_TT.dat"), TwoWordRecord("bank2", "river", 1).first(40)},
        {"record cut short", QStringLiteral("record/Record_TT.dat"), TwoWordRecord("bank2", "river", 1).chopped(12)},
        {"record with a broken line", QStringLiteral("record/Record_TT.dat"), bom + TwoWordRecord("bank2", "river", 1).sliced(3).first(45) + "\r\n"},
        {"settings with a bad number", QStringLiteral("setting/Setting_TT.dat"), QByteArray("805\r\n7\r\n3\r\n0\r\n0\r\nAthena\r\nloud\r\n")},
        {"settings with a bad start date", QStringLiteral("setting/Setting_TT.dat"),
         QByteArray("805\r\n7\r\n3\r\n0\r\n0\r\nAthena\r\n900\r\n80\r\n700\r\n0\r\n0\r\n9999/99/99\r\n")},
        {"window positions unreadable", QStringLiteral("setting/FormPosition.dat"), QByteArray("top\r\nleft\r\n")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const TTempProgramFolder dir;
        MakeRecordFolder(dir);
        MakeRecordFolder(dir, QStringLiteral("backup"));
        dir.write(QStringLiteral("backup/") + c.file, c.bytes);
        const QMap<QString, QString> before = Snapshot(dir.path());
        const TTransferResult result = ImportRecordFolder(dir.file(QStringLiteral("user/")), dir.file(QStringLiteral("backup")));
        EXPECT_EQ(result.outcome, TTransferOutcome::Refused);
        EXPECT_TRUE(result.message.contains(dir.file(QStringLiteral("backup/")) + c.file)) << result.message.toStdString();
        EXPECT_EQ(Snapshot(dir.path()), before);
    }
}

// A folder without setting/ is completed: every file then starts with its
// default settings, and the program has the folder it saves them into.
TEST(RecordFolderTransfer, AFolderWithoutSettingsIsCompletedAndStudiedOn)
{
    TProgramWithTT learner;
    ASSERT_EQ(learner.Tool(QStringLiteral("study"), {QStringLiteral("--file"), QStringLiteral("TT"), QStringLiteral("--answers"),
                                                      QStringLiteral("1101")}).exitCode, 0);
    const QTemporaryDir place;
    ASSERT_EQ(learner.Tool(QStringLiteral("export-records"), {QStringLiteral("--to"), place.path()}).exitCode, 0);
    const QString copy = place.path() + QStringLiteral("/user");
    ASSERT_TRUE(QDir(copy + QStringLiteral("/setting")).removeRecursively());

    TProgramWithTT fresh;
    const TToolRun imported = fresh.Tool(QStringLiteral("import-records"), {QStringLiteral("--from"), copy});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(QFileInfo(fresh.user() + QStringLiteral("/setting")).isDir());
    const QStringList record = fresh.ToolLines(QStringLiteral("record"));
    const TToolRun studied = fresh.Tool(QStringLiteral("study"), {QStringLiteral("--file"), QStringLiteral("TT"),
                                                                 QStringLiteral("--answers"), QStringLiteral("11"),
                                                                 QStringLiteral("--day-offset"), QStringLiteral("1")});
    ASSERT_EQ(studied.exitCode, 0) << studied.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(fresh.user() + QStringLiteral("/setting/Setting_TT.dat")));
    EXPECT_NE(fresh.ToolLines(QStringLiteral("record")), record);   // today's answers were saved
}

// An import stopped between its two renames (a kill, a power cut) leaves no
// user folder: the next start finishes it with the complete copy, or, when
// that copy does not read, puts the previous folder back; the learner is
// told which. Copies of imports stopped earlier are cleared away.
TEST(RecordFolderTransfer, AnImportStoppedHalfWayIsFinishedOrRolledBackAtTheNextStart)
{
    const struct {
        const char *name;
        bool copyReads;
        bool userLeft;       // the kill came before the first rename
        const char *userWord; // the first word of user/ afterwards
        QString message;
    } cases[] = {
        {"copy complete", true, false, "other", kImportFinishedText},
        {"copy spoiled", false, false, "bank2", kImportRolledBackText},
        {"stopped while copying", false, true, "bank2", QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TTempProgramFolder dir;
        MakeRecordFolder(dir);
        MakeRecordFolder(dir, QStringLiteral("user.importing-20260102-030405"));
        dir.write(QStringLiteral("user.importing-20260102-030405/record/Record_TT.dat"),
                  c.copyReads ? TwoWordRecord("other", "lines", 2) : QByteArray("\xEF\xBB\xBF" "x\r\n"));
        if (!c.userLeft) {
            ASSERT_TRUE(QDir().rename(dir.file(QStringLiteral("user")), dir.file(QStringLiteral("user-before-import-20260102-030405"))));
        }
        TCC cc;
        cc.RunStartupFileSteps(dir.path());
        EXPECT_EQ(cc.userFolder, dir.file(QStringLiteral("user/")));
        EXPECT_TRUE(dir.read(QStringLiteral("user/record/Record_TT.dat")).startsWith(QByteArray("\xEF\xBB\xBF") + c.userWord));
        EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("user.importing-20260102-030405"))));
        EXPECT_EQ(QFileInfo::exists(dir.file(QStringLiteral("user-before-import-20260102-030405"))), c.copyReads);
        const QStringList &told = cc.defaultNotifier.messages;
        if (c.message.isEmpty()) {
            EXPECT_TRUE(told.isEmpty());
            continue;
        }
        ASSERT_EQ(told.size(), 1);
        EXPECT_TRUE(told.first().startsWith(c.message)) << told.first().toStdString();
        EXPECT_TRUE(told.first().contains(dir.file(QStringLiteral("user")))) << told.first().toStdString();
    }
}
