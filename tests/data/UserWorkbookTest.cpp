#include "data/UserWorkbook.h"
#include "data/LearningFile.h"
#include "data/RecordFile.h"
#include "support/EngineFolder.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
QString Fixture(const QString &name)
{
    return SourceDir() + QStringLiteral("/tests/data/workbooks/") + name;
}

QByteArray FixtureBytes(const QString &name)
{
    QFile file(Fixture(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

// Workbooks on which the reader library itself read past its buffers or
// leaked (found by the user_workbook fuzz target).
QString ReaderFinding(const QString &name)
{
    return SourceDir() + QStringLiteral("/fuzz/regressions/user_workbook/") + name;
}
const char *const kReaderFindings[] = {
    "reader-reads-past-a-heap-buffer.xls",
    "reader-reads-past-a-stack-buffer.xls",
    "reader-opens-without-a-handle-and-leaks.xls",
};

// A fault in the reading child for the length of a test.
class TReadFault {
public:
    explicit TReadFault(std::function<void()> fault, int limitMs = 0)
    {
        SetWorkbookReadFault(std::move(fault));
        SetWorkbookReadLimit(limitMs);
    }
    ~TReadFault()
    {
        SetWorkbookReadFault({});
        SetWorkbookReadLimit(0);
    }
};

// The message of a refused read, or a failure when it was not refused.
QString RefusalOf(const QString &path)
{
    try {
        ReadWorkbookRows(path);
    } catch (const TLearningFileRefused &refused) {
        return refused.Message();
    }
    ADD_FAILURE() << "not refused: " << path.toStdString();
    return QString();
}

// Puts a workbook in place of U1's and dates it, so that a change is seen.
void PlaceWorkbook(TEngineFolder &e, const QByteArray &bytes, const QDateTime &time)
{
    const QString relative = QStringLiteral("user/word_user/User_1.xls");
    QDir().mkpath(e.dir.file(QStringLiteral("user/word_user")));
    e.dir.write(relative, bytes);
    QFile file(e.dir.file(relative));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
}
} // namespace

TEST(UserWorkbook, RowRulesOverARealWorkbook)
{
    const TUserWords read = ApplyUserRowRules(ReadWorkbookRows(Fixture("rules.xls")), "rules.xls");
    struct Case {
        const char *word;
        int position;   // 0: not learned
        QStringList meanings;
    };
    const Case cases[] = {
        {"apple", 1, {"りんご", "林檎"}},                    // the first occurrence wins
        {"1984", 2, {"年号", "3.5"}},                        // number cells as shown
        {"ghost", 0, {}},                                    // no meaning: taken back
        {"Zebra", 3, {"シマウマ"}},
        {"banana", 4, {"バナナ", "甘い", "黄色", "果物", "房", "熟す"}},   // six at most
        {"cherry", 5, {"さくらんぼ"}},                       // after 76 empty rows
        {"lost", 0, {}},                                     // after 77 empty rows
        {"other", 0, {}},                                    // second worksheet
    };
    ASSERT_EQ(read.words.size(), 5);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.word);
        const QString word = QString::fromUtf8(c.word);
        EXPECT_EQ(read.positions.value(word), c.position);
        if (c.position == 0)
            continue;
        const TUserWord &entry = read.words.at(c.position - 1);
        EXPECT_EQ(entry.word, word);
        for (int m = 0; m < kUserMeaningCount; ++m)
            EXPECT_EQ(entry.meanings[m], c.meanings.value(m));
    }
}

TEST(UserWorkbook, EmptyRowsCountTowardTheEnd)
{
    QList<QStringList> rows;
    rows.append(QStringList{"a", "1"});
    for (int i = 0; i < 76; ++i)
        rows.append(i % 2 ? QStringList{"", ""} : QStringList{"nomeaning" + QString::number(i), ""});
    rows.append(QStringList{"b", "2"});   // 76 empty: still read, and the count starts over
    for (int i = 0; i < 76; ++i)
        rows.append(QStringList{});
    rows.append(QStringList{"a", "dup"});   // a duplicate neither ends nor restarts the run
    rows.append(QStringList{"c", "3"});
    for (int i = 0; i < 77; ++i)
        rows.append(QStringList{});
    rows.append(QStringList{"d", "4"});
    const TUserWords read = ApplyUserRowRules(rows, "x.xls");
    QStringList words;
    for (const TUserWord &w : read.words)
        words.append(w.word);
    EXPECT_EQ(words, QStringList({"a", "b", "c"}));
}

TEST(UserWorkbook, TooManyWordsUnderOneLetterRefuseTheFile)
{
    QList<QStringList> rows;
    for (int i = 0; i < kWordsPerFirstLetter; ++i)
        rows.append(QStringList{"a" + QString::number(i), "m"});
    rows.append(QStringList{"B", "other bucket"});
    EXPECT_EQ(ApplyUserRowRules(rows, "x.xls").words.size(), kWordsPerFirstLetter + 1);
    rows.append(QStringList{"a-one-more", "m"});
    EXPECT_THROW(ApplyUserRowRules(rows, "x.xls"), TLearningFileRefused);
}

TEST(UserWorkbook, FilesThatAreNotWorkbooksAreRefusedByName)
{
    TTempProgramFolder dir;
    const QByteArray rules = FixtureBytes("rules.xls");
    struct Case {
        const char *name;
        QByteArray bytes;
        const char *says;
    };
    const Case cases[] = {
        {"text.xls", QByteArray("apple\tりんご\r\n"), "ではありません"},
        {"newer.xls", FixtureBytes("saved-as-xlsx.xls"), ".xls"},
        {"cut.xls", rules.left(rules.size() / 2), "読み込めません"},
        {"empty.xls", QByteArray(), "ではありません"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        dir.write(c.name, c.bytes);
        try {
            ReadWorkbookRows(dir.file(c.name));
            ADD_FAILURE() << "not refused";
        } catch (const TLearningFileRefused &refused) {
            EXPECT_TRUE(refused.Message().contains(QString::fromUtf8(c.name))) << refused.Message().toStdString();
            EXPECT_TRUE(refused.Message().contains(QString::fromUtf8(c.says))) << refused.Message().toStdString();
        }
    }
}

TEST(UserWorkbook, ModificationTimesOfBothLayouts)
{
    QStringList older;
    for (int i = 1; i <= kOlderModificationTimeLines; ++i)
        older.append(QStringLiteral("2009/07/%1").arg(i % 28 + 1, 2, 10, QLatin1Char('0')));
    const QStringList widened = WidenModificationTimes(older);
    ASSERT_EQ(widened.size(), kModificationTimeLines);
    EXPECT_EQ(widened.mid(0, 36), older);
    EXPECT_EQ(widened.mid(36, 8), QStringList(8, QStringLiteral("1899/12/30")));
    EXPECT_EQ(widened.mid(44, 5), older.mid(31, 5));
    const QStringList current(kModificationTimeLines, QStringLiteral("2010/01/02 3:04:05"));
    EXPECT_EQ(WidenModificationTimes(current), current);
    EXPECT_TRUE(WidenModificationTimes(older.mid(0, 20)).isEmpty());

    TTempProgramFolder dir;
    EXPECT_EQ(ModificationTimeText(dir.file("missing.xls")), QStringLiteral("1899/12/30"));
    dir.write("f.xls", "x");
    QFile file(dir.file("f.xls"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime(QDate(2009, 7, 5), QTime(9, 8, 7)), QFileDevice::FileModificationTime);
    EXPECT_EQ(ModificationTimeText(file.fileName()), QStringLiteral("2009/07/05 9:08:07"));
    file.setFileTime(QDateTime(QDate(2009, 7, 5), QTime(0, 0)), QFileDevice::FileModificationTime);
    EXPECT_EQ(ModificationTimeText(file.fileName()), QStringLiteral("2009/07/05"));
}

TEST(UserWorkbook, EditedWorkbookKeepsEveryKeptWordsRecord)
{
    TEngineFolder e(QStringLiteral("U1"), 32, 0);
    PlaceWorkbook(e, FixtureBytes("before.xls"), QDateTime(QDate(2009, 7, 1), QTime(10, 0)));
    e.cc.LoadLearningFile();
    ASSERT_EQ(e.cc.catalog.rows[32].TangoTotal, 4);
    EXPECT_EQ(e.cc.words[3].word, QStringLiteral("charlie"));
    EXPECT_EQ(e.cc.words[3].joinedMeanings, QStringLiteral("チャーリー"));
    for (int p = 1; p <= 4; ++p)
        e.cc.words[p].level = p;   // alpha 1, bravo 2, charlie 3, delta 4
    e.cc.SaveRecordFile();

    // Unchanged: lines go by position.
    e.cc.LoadLearningFile();
    EXPECT_EQ(e.cc.words[4].level, 4);

    // Reordered, charlie deleted, echo added.
    PlaceWorkbook(e, FixtureBytes("after.xls"), QDateTime(QDate(2009, 7, 2), QTime(10, 0)));
    e.cc.LoadLearningFile();
    const struct {
        const char *word;
        int level;
    } expected[] = {{"delta", 4}, {"bravo", 2}, {"echo", 0}, {"alpha", 1}};
    for (int p = 1; p <= 4; ++p) {
        EXPECT_EQ(e.cc.words[p].word, QString::fromUtf8(expected[p - 1].word));
        EXPECT_EQ(e.cc.words[p].level, expected[p - 1].level) << expected[p - 1].word;
    }
    // The record was rewritten in the new order with the times, so the
    // next start, by position, still finds every word's own line.
    TEngineFolder again(QStringLiteral("U1"), 32, 0);
    again.cc.programFolder = e.cc.programFolder;
    again.cc.userFolder = e.cc.userFolder;
    again.cc.LoadLearningFile();
    for (int p = 1; p <= 4; ++p)
        EXPECT_EQ(again.cc.words[p].level, expected[p - 1].level) << expected[p - 1].word;
}

TEST(UserWorkbook, RefusedWorkbookLeavesTheRecordUntouched)
{
    TEngineFolder e(QStringLiteral("U1"), 32, 0);
    const QString record = QStringLiteral("user/record/Record_U1.dat");
    e.dir.write(record, "kept as it is");
    PlaceWorkbook(e, "not a workbook", QDateTime(QDate(2009, 7, 1), QTime(10, 0)));
    EXPECT_THROW(e.cc.LoadLearningFile(), TLearningFileRefused);
    EXPECT_EQ(e.dir.read(record), QByteArray("kept as it is"));

    // No workbook at all: the sample is made, and the record survives as a copy.
    QFile::remove(e.dir.file("user/word_user/User_1.xls"));
    e.cc.LoadLearningFile();
    EXPECT_EQ(e.cc.catalog.rows[32].TangoTotal, 10);
    const QStringList copies = QDir(e.dir.file("user/record")).entryList({"Record_U1.dat.before-sample-*"});
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(e.dir.read("user/record/" + copies.first()), QByteArray("kept as it is"));
}

TEST(UserWorkbook, WorkbooksTheReaderLibraryFailsOnAreRefusedByName)
{
    TTempProgramFolder dir;
    for (const char *name : kReaderFindings) {
        SCOPED_TRACE(name);
        QFile finding(ReaderFinding(QString::fromUtf8(name)));
        ASSERT_TRUE(finding.open(QIODevice::ReadOnly));
        dir.write(QStringLiteral("User_1.xls"), finding.readAll());
        const QString message = RefusalOf(dir.file(QStringLiteral("User_1.xls")));
        EXPECT_TRUE(message.contains(QStringLiteral("ユーザーファイルを読み込めません"))) << message.toStdString();
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(dir.file(QStringLiteral("User_1.xls")))))
            << message.toStdString();
    }
    // The reader goes on reading good workbooks afterwards.
    EXPECT_FALSE(ReadWorkbookRows(Fixture(QStringLiteral("rules.xls"))).isEmpty());
}

TEST(UserWorkbook, AReaderThatDiesOrNeverEndsMeansTheWorkbookCannotBeRead)
{
    const QString rules = Fixture(QStringLiteral("rules.xls"));
    const QList<QStringList> good = ReadWorkbookRows(rules);
    ASSERT_FALSE(good.isEmpty());
    struct Case {
        const char *name;
        std::function<void()> fault;
        int limitMs;
        const char *says;
    };
    const Case cases[] = {
        {"a read out of bounds", [] { std::raise(SIGSEGV); }, 0, "異常終了"},
        {"an abort of a checker", [] { std::abort(); }, 0, "異常終了"},
        {"an exit in the middle", [] { _exit(1); }, 0, "異常終了"},
        {"a read that never ends", [] { for (;;) pause(); }, 1000, "読み終わりませんでした"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TReadFault fault(c.fault, c.limitMs);
        const QString message = RefusalOf(rules);
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.says))) << message.toStdString();
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(rules))) << message.toStdString();
    }
    // Nothing of a failed read stays behind: the same workbook reads whole again.
    EXPECT_EQ(ReadWorkbookRows(rules), good);
}

TEST(UserWorkbook, TheToolRefusesWorkbooksTheReaderLibraryFailsOnWithAMessage)
{
    TEngineFolder e(QStringLiteral("U1"), 32, 0);
    for (const char *name : kReaderFindings) {
        SCOPED_TRACE(name);
        QFile finding(ReaderFinding(QString::fromUtf8(name)));
        ASSERT_TRUE(finding.open(QIODevice::ReadOnly));
        PlaceWorkbook(e, finding.readAll(), QDateTime::currentDateTime());
        QProcess tool;
        tool.start(BinaryDir() + QStringLiteral("/tessarion-tool"),
                   {QStringLiteral("words"), QStringLiteral("--program-folder"), e.dir.path(), QStringLiteral("--file"),
                    QStringLiteral("U1")});
        ASSERT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(tool.exitCode(), 1);
        const QString err = QString::fromUtf8(tool.readAllStandardError());
        EXPECT_TRUE(err.contains(QStringLiteral("User_1.xls"))) << err.toStdString();
        EXPECT_TRUE(err.contains(QStringLiteral("読み込めません"))) << err.toStdString();
    }
}
