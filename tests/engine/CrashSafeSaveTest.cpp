// A learner's state files survive a program killed in the middle of saving
// and a disk that fills up: each file reads back as the complete old or the
// complete new state, never as half of one, and a write that fails is
// reported as the error that ends the program, never as success.
#include "data/RecordFile.h"
#include "base/TError.h"
#include "base/FileErrors.h"
#include "base/TextFiles.h"
#include "support/EngineFolder.h"
#include "support/ReportingChild.h"

#include <QDir>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// A large file (a record file of some 80 KB).
constexpr int kWords = 1000;
// Kills at moments the machine chooses, beside the kills at every reported moment.
constexpr int kRandomKills = 100;
// A child that outlives its parent ends by itself.
constexpr unsigned kChildLifetimeSeconds = 20;
// Exit codes of a child that saves once under a file size limit.
constexpr int kReportedFailure = 0;
constexpr int kReportedSuccess = 1;
constexpr int kOtherError = 2;
constexpr qint32 kDataVersion = 805;

// Generation g of the learner's state: every value that is saved depends on
// g, so a file shows which generation it holds, and whether it holds all of it.
int HistoryLength(int g, int p)
{
    return 1 + (g + p) % 5;
}

QString HistoryText(int entries)
{
    QString text;
    for (int k = 0; k < entries; ++k)
        text += QStringLiteral("%1[%2]").arg(k * 7).arg(k + 1);
    return text;
}

void MakeState(TCC &cc, int g)
{
    for (int p = 1; p <= kWords; ++p) {
        TTango &t = cc.words[p];
        t.word = QStringLiteral("word%1").arg(p);
        t.stage = TStage::One;
        t.stage1Count = HistoryLength(g, p);
        t.stage1History = HistoryText(t.stage1Count);
        RebuildHistoryArrays(t);
        t.timesAsked = g;
        t.wrongCount = p % 11;
        t.level = t.stage1Count;
        t.starX = 1 + p % 1024;
        t.starY = 1 + g % 768;
    }
    cc.settings.answersTotal = g;
    cc.settings.learningDays = g / 3;
    cc.formPosition.mainTop = g;
    cc.formPosition.mainLeft = -g;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        cc.catalog.rows[slot].PopUpWN = g;
        cc.catalog.rows[slot].Order = QString::number(g + slot);
    }
}

// The generation of the catalog rows first..last, or -1 when they are mixed.
int CatalogGeneration(const TCatalog &catalog, int first, int last)
{
    const int g = catalog.rows[first].PopUpWN;
    for (int slot = first; slot <= last; ++slot) {
        const TDBF &row = catalog.rows[slot];
        if (row.PopUpWN != g || row.Order != QString::number(g + slot))
            return -1;
    }
    return g;
}

bool IsWordOfGeneration(const TTango &t, int p, int g)
{
    const int entries = HistoryLength(g, p);
    return t.timesAsked == g && t.stage1Count == entries && t.stage1History == HistoryText(entries)
           && t.stage1Levels[static_cast<size_t>(entries - 1)] == entries && t.level == entries
           && t.wrongCount == p % 11 && t.starX == 1 + p % 1024 && t.starY == 1 + g % 768;
}

// As a learning file is closed: one commit, put in place in the order
// Record_TT.dat, Setting_TT.dat, FormPosition.dat, FileInfo_PC.dat,
// FileInfo_User.dat.
void SaveState(TCC &cc)
{
    cc.SaveAtFileEnd();
}

// The steps of one SaveState: five files written, then five renamed.
constexpr int kSaveSteps = 10;

// The generation each file holds, after checking that it holds all of it.
struct TSavedGenerations {
    int formPosition = -1;
    int settings = -1;
    int record = -1;
    int catalogPc = -1;
    int catalogUser = -1;
};

TSavedGenerations ReadState(TCC &cc)
{
    TSavedGenerations g;
    cc.formPositionLoaded = false;
    cc.LoadFormPosition();
    g.formPosition = cc.formPosition.mainTop;
    EXPECT_EQ(cc.formPosition.mainLeft, -g.formPosition) << "FormPosition.dat is mixed";

    cc.LoadFileSettings();
    g.settings = cc.settings.answersTotal;
    EXPECT_EQ(cc.settings.learningDays, g.settings / 3) << "Setting_TT.dat is mixed";

    cc.LoadRecordFile();
    g.record = cc.words[1].timesAsked;
    for (int p = 1; p <= kWords; ++p) {
        if (!IsWordOfGeneration(cc.words[p], p, g.record)) {
            ADD_FAILURE() << "Record_TT.dat is mixed at word " << p << ": generation "
                          << cc.words[p].timesAsked << " after " << g.record;
            break;
        }
    }

    cc.LoadCatalog();
    g.catalogPc = CatalogGeneration(cc.catalog, 1, kLastBuiltInSlot);
    g.catalogUser = CatalogGeneration(cc.catalog, kFirstUserSlot, kSlotCount);
    EXPECT_GE(g.catalogPc, 0) << "FileInfo_PC.dat is mixed";
    EXPECT_GE(g.catalogUser, 0) << "FileInfo_User.dat is mixed";
    EXPECT_EQ(cc.catalog.rows[6].TangoTotal, kWords) << "FileInfo_PC.dat lost the file's word count";
    EXPECT_TRUE(cc.defaultNotifier.messages.isEmpty())
        << cc.defaultNotifier.messages.join(u'\n').toStdString();
    return g;
}

// Files in a folder that are not the given ones (left-over temporary files).
QStringList StrayFiles(const QString &folder, const QStringList &expected)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : expected)
        names.removeAll(name);
    return names;
}

void ExpectInCommitOrder(const TSavedGenerations &now, const TSavedGenerations &last)
{
    EXPECT_GE(now.formPosition, last.formPosition);
    EXPECT_GE(now.settings, last.settings);
    EXPECT_GE(now.record, last.record);
    EXPECT_GE(now.catalogPc, last.catalogPc);
    EXPECT_GE(now.catalogUser, last.catalogUser);
    EXPECT_LE(now.catalogUser, now.catalogPc);
    EXPECT_LE(now.catalogPc, now.formPosition);
    EXPECT_LE(now.formPosition, now.settings);
    EXPECT_LE(now.settings, now.record);
}

int StrayCount(const TCC &cc)
{
    return static_cast<int>(
        StrayFiles(cc.userFolder + QStringLiteral("record"), {QStringLiteral("Record_TT.dat")}).size()
        + StrayFiles(cc.userFolder + QStringLiteral("setting"),
                     {QStringLiteral("Setting_TT.dat"), QStringLiteral("FormPosition.dat")})
              .size()
        + StrayFiles(cc.userFolder + QStringLiteral("FileInfo"),
                     {QStringLiteral("FileInfo_PC.dat"), QStringLiteral("FileInfo_User.dat")})
              .size());
}

// The engine folder of a large learning file with its settings.
struct TLargeFile : TEngineFolder {
    TLargeFile() : TEngineFolder(QStringLiteral("TT"), 6, kWords)
    {
        cc.catalog.dataVersion = kDataVersion;
        cc.SetDefaultFileSettings(true);
    }
};

// Runs save in a child process that may write at most `limit` bytes per file;
// returns how the child ended. The message of a reported failure goes to
// `message` when given.
int SaveUnderSizeLimit(TCC &cc, rlim_t limit, const std::function<void()> &save, QString *message = nullptr)
{
    int channel[2];
    if (pipe(channel) != 0)
        return kOtherError;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        std::signal(SIGXFSZ, SIG_IGN);   // a write past the limit fails instead of killing
        const rlimit rl{limit, limit};
        setrlimit(RLIMIT_FSIZE, &rl);
        int code = kReportedSuccess;
        try {
            save();
        } catch (const TFatalError &e) {
            code = kReportedFailure;
            const QByteArray text = e.Message().toUtf8();
            if (write(channel[1], text.constData(), static_cast<size_t>(text.size())) < 0)
                code = kOtherError;
        } catch (...) {
            code = kOtherError;
        }
        _exit(code);
    }
    close(channel[1]);
    QByteArray text;
    char buffer[512];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, n);
    close(channel[0]);
    if (message)
        *message = QString::fromUtf8(text);
    int status = 0;
    waitpid(child, &status, 0);
    (void)cc;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}

namespace {
// The moments a saving child reports, one loop of it: before a save (the
// state of the next generation already made), then each file's write, then
// each file's rename and the moment right after it, in commit order.
constexpr int kSavedFiles = kSaveSteps / 2;
constexpr int kMomentsPerSave = 1 + kSavedFiles + 2 * kSavedFiles;
// The moment right after file f (commit order) is in place.
constexpr int MomentAfterRename(int f)
{
    return 1 + kSavedFiles + 2 * f + 1;
}

// A child that saves generation after generation and stops at each moment
// until the parent lets it go on; the parent kills it at the moment it chooses.
TReportingChild SavingChild(TCC &cc, int firstGeneration)
{
    return TReportingChild(
        [&cc, firstGeneration](const TReportingChild::TReport &report) {
            SetSaveFault([&](TSaveStep, const QString &) {
                report(1);
                return false;
            });
            SetStateWriteObserver([&](const QString &) { report(1); });
            for (int g = firstGeneration;; ++g) {
                report(1);
                SaveState(cc);
                MakeState(cc, g + 1);
            }
        },
        kChildLifetimeSeconds);
}
}

// Killed at every moment of two saves in a row and between them: each file
// holds exactly the state it held before its rename, or the new one after
// it; the files are put in place in commit order, and the next start leaves
// no temporary file behind.
TEST(CrashSafeSave, KilledWhileSavingEveryFileHoldsTheOldOrTheNewState)
{
    TLargeFile f;
    TCC &cc = f.cc;
    MakeState(cc, 0);
    SaveState(cc);
    TSavedGenerations last = ReadState(cc);
    ASSERT_EQ(last.record, 0);

    for (int moment = 0; moment < 2 * kMomentsPerSave; ++moment) {
        SCOPED_TRACE(moment);
        const int next = last.record + 1;
        MakeState(cc, next);
        TReportingChild child = SavingChild(cc, next);
        ASSERT_TRUE(child.Started());
        ASSERT_TRUE(child.KillAtMoment(moment)) << "the saving child ended by itself";

        // The generation file f holds: the one saved in the child's loop j
        // once its rename has happened, else the one before it.
        const int j = moment / kMomentsPerSave;
        const int at = moment % kMomentsPerSave;
        const auto expected = [&](int file, int before) {
            if (at >= MomentAfterRename(file))
                return next + j;
            return j == 0 ? before : next + j - 1;
        };
        const TSavedGenerations now = ReadState(cc);
        if (::testing::Test::HasFailure())
            FAIL() << "after the kill at moment " << moment;
        EXPECT_EQ(now.record, expected(0, last.record));
        EXPECT_EQ(now.settings, expected(1, last.settings));
        EXPECT_EQ(now.formPosition, expected(2, last.formPosition));
        EXPECT_EQ(now.catalogPc, expected(3, last.catalogPc));
        EXPECT_EQ(now.catalogUser, expected(4, last.catalogUser));
        ExpectInCommitOrder(now, last);
        last = now;
    }
    // A temporary file a kill leaves beside the real ones is read by
    // nothing, and the next start removes it.
    cc.workspace.RemoveInterruptedSaves();
    EXPECT_EQ(StrayCount(cc), 0);
}

// Killed at moments the machine chooses, the same holds: a file is never
// older than before, and never ahead of a file put in place before it.
TEST(CrashSafeSave, KilledAtRandomMomentsKeepsTheCommitOrder)
{
    TLargeFile f;
    TCC &cc = f.cc;
    MakeState(cc, 0);
    QElapsedTimer timer;
    timer.start();
    SaveState(cc);
    const int saveUs = static_cast<int>(qMax<qint64>(timer.nsecsElapsed() / 1000, 1000));
    TSavedGenerations last = ReadState(cc);
    for (int kills = 0; kills < kRandomKills; ++kills) {
        const int next = last.record + 1;
        MakeState(cc, next);
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            alarm(kChildLifetimeSeconds);
            close(ready[0]);
            const char start = 1;
            if (write(ready[1], &start, 1) != 1)
                _exit(kOtherError);
            try {
                for (int g = next + 1;; ++g) {
                    SaveState(cc);
                    MakeState(cc, g);
                }
            } catch (...) {
            }
            _exit(kOtherError);
        }
        close(ready[1]);
        char start = 0;
        ASSERT_EQ(read(ready[0], &start, 1), 1);
        close(ready[0]);
        usleep(static_cast<useconds_t>(cc.random.Between(0, saveUs * 5 / 4)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended by itself";
        const TSavedGenerations now = ReadState(cc);
        if (::testing::Test::HasFailure())
            FAIL() << "after " << kills + 1 << " kills";
        ExpectInCommitOrder(now, last);
        last = now;
    }
    cc.workspace.RemoveInterruptedSaves();
    EXPECT_EQ(StrayCount(cc), 0);
}

// Killed at each write and each rename of the save that ends a file: the
// record and the settings always agree, and the next start leaves no
// temporary file behind.
TEST(CrashSafeSave, KilledAtEveryStepOfTheFileEndSave)
{
    TLargeFile f;
    TCC &cc = f.cc;
    MakeState(cc, 0);
    SaveState(cc);
    TSavedGenerations last = ReadState(cc);
    for (int step = 0; step < kSaveSteps; ++step) {
        SCOPED_TRACE(step);
        MakeState(cc, last.record + 1);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            alarm(kChildLifetimeSeconds);
            int seen = 0;
            SetSaveFault([&](TSaveStep, const QString &) {
                if (seen++ == step)
                    raise(SIGKILL);
                return false;
            });
            try {
                SaveState(cc);
            } catch (...) {
            }
            _exit(kOtherError);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save ended before step " << step;
        const TSavedGenerations now = ReadState(cc);
        ExpectInCommitOrder(now, last);
        // Killed while writing, nothing is in place yet; killed at the k-th
        // rename, the files before it are.
        EXPECT_EQ(now.record, step <= 5 ? last.record : last.record + 1);
        EXPECT_EQ(now.settings, step <= 6 ? last.settings : last.record + 1);
        cc.workspace.RemoveInterruptedSaves();
        EXPECT_EQ(StrayCount(cc), 0);
        last = now;
    }
}

TEST(CrashSafeSave, AFullDiskKeepsTheGoodFileAndReportsTheFailure)
{
    TLargeFile f;
    TCC &cc = f.cc;
    MakeState(cc, 1);
    SaveState(cc);
    const QByteArray goodRecord = f.dir.read(f.userFile(QStringLiteral("record/Record_TT.dat")));
    const QByteArray goodSettings = f.dir.read(f.userFile(QStringLiteral("setting/Setting_TT.dat")));
    ASSERT_GT(goodRecord.size(), 50000);

    MakeState(cc, 2);
    // Room for part of the new record only, and for part of the settings.
    for (rlim_t limit : {rlim_t(0), rlim_t(4096), rlim_t(goodRecord.size() - 1)}) {
        SCOPED_TRACE(limit);
        QString message;
        EXPECT_EQ(SaveUnderSizeLimit(cc, limit, [&] { cc.SaveRecordFile(); }, &message), kReportedFailure);
        // The system's reason, and the file it is about.
        EXPECT_TRUE(message.contains(SystemErrorText(EFBIG))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("Record_TT.dat"))) << message.toStdString();
        EXPECT_FALSE(message.contains(QStringLiteral("Unknown error"))) << message.toStdString();
        EXPECT_EQ(f.dir.read(f.userFile(QStringLiteral("record/Record_TT.dat"))), goodRecord);
    }
    for (rlim_t limit : {rlim_t(0), rlim_t(goodSettings.size() / 2)}) {
        SCOPED_TRACE(limit);
        EXPECT_EQ(SaveUnderSizeLimit(cc, limit, [&] { cc.SaveFileSettings(); }), kReportedFailure);
        EXPECT_EQ(f.dir.read(f.userFile(QStringLiteral("setting/Setting_TT.dat"))), goodSettings);
    }
    const QByteArray goodCatalog = f.dir.read(f.userFile(QStringLiteral("FileInfo/FileInfo_PC.dat")));
    EXPECT_EQ(SaveUnderSizeLimit(cc, goodCatalog.size() / 2, [&] { cc.SaveCatalog(); }), kReportedFailure);
    EXPECT_EQ(f.dir.read(f.userFile(QStringLiteral("FileInfo/FileInfo_PC.dat"))), goodCatalog);
    EXPECT_EQ(StrayFiles(cc.userFolder + QStringLiteral("record"), {QStringLiteral("Record_TT.dat")}),
              QStringList());

    // The old state reads back whole; with room to write, the new one is saved.
    EXPECT_EQ(ReadState(cc).record, 1);
    MakeState(cc, 2);
    SaveState(cc);
    EXPECT_EQ(ReadState(cc).record, 2);
}
