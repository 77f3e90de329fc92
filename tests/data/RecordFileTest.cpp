#include "data/RecordFile.h"
#include "workspace/FileSettings.h"
#include "base/TError.h"
#include "support/EngineFolder.h"
#include "bench/BenchFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <chrono>
#include <future>
#include <sys/stat.h>
#include <limits>
#include <utility>
#include <gtest/gtest.h>

namespace {
const QString kRecordTT = QStringLiteral("user/record/Record_TT.dat");

qint32 Day(int y, int m, int d)
{
    return static_cast<qint32>(QDate(y, m, d).toJulianDay());
}

// A fresh-word line with the given word.
QString FreshLine(const QString &word)
{
    return word + QStringLiteral("\t1\t\t0\t\t0\t0\t0\t0\t0\t0\t\t5\t6\tFALSE");
}

QByteArray Utf8File(const QStringList &lines)
{
    QString text;
    for (const QString &l : lines)
        text += l + QStringLiteral("\r\n");
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

QByteArray Utf16File(const QStringList &lines)
{
    QString text;
    for (const QString &l : lines)
        text += l + QStringLiteral("\r\n");
    QByteArray bytes("\xFF\xFE");
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

void SetWords(TCC &cc, const QStringList &words)
{
    for (int i = 0; i < words.size(); ++i)
        cc.words[i + 1].word = words.at(i);
}
}

TEST(RecordFile, NextTabFieldWalksFieldsAndEmptyOnes)
{
    const QString line = QStringLiteral("ab\t\tc\t");
    qsizetype pos = 0;
    EXPECT_EQ(NextTabField(line, pos), QStringLiteral("ab"));
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(NextTabField(line, pos), QString());   // TAB at the position
    EXPECT_EQ(pos, 4);
    EXPECT_EQ(NextTabField(line, pos), QStringLiteral("c"));
    EXPECT_EQ(pos, 6);
    EXPECT_EQ(NextTabField(line, pos), QString());   // end of the line
    EXPECT_EQ(pos, 7);
    EXPECT_EQ(NextTabField(line, pos), QString());
    EXPECT_EQ(pos, 8);
}

TEST(RecordFile, SaveAndReadReproduceAllFifteenFields)
{
    TEngineFolder e(QStringLiteral("TT"), 6, 4);
    const QStringList lines = {
        // stage 1 with one- and two-digit levels, limit flag set
        QStringLiteral("look (at)_i\t1\t0[2]40[3]160[10]\t3\t\t0\t17\t4\t2\t10\t33\t\t1024\t1\tTRUE"),
        // stage 2 with two entries, one of them in the short date form
        QStringLiteral("bank2\t2\t\t0\t2009/07/05[6]2009/7/25[7]\t2\t9\t1\t0\t7\t0\t2009/9/23\t512\t768\tFALSE"),
        // stage 3: no arrays; level 11
        QStringLiteral("café\t3\t\t0\t\t0\t40\t12\t3\t11\t0\t2010/12/1\t3\t4\tFALSE"),
        // excluded word
        QStringLiteral("A of B\t1\t\t0\t\t0\t0\t0\t0\t99\t0\t\t700\t20\tFALSE"),
    };
    e.dir.write(kRecordTT, Utf8File(lines));
    SetWords(e.cc, {"look (at)_i", "bank2", "café", "A of B"});
    e.cc.LoadRecordFile();

    const TTango &s1 = e.cc.words[1];
    EXPECT_EQ(s1.stage1Count, 3);
    EXPECT_EQ(s1.stage1Questions[2], 160);
    EXPECT_EQ(s1.stage1Levels[2], 10);
    EXPECT_TRUE(s1.stage1Limit);
    EXPECT_EQ(s1.stage1Counter, 33);
    const TTango &s2 = e.cc.words[2];
    EXPECT_EQ(s2.stage2Days[0], Day(2009, 7, 5));
    EXPECT_EQ(s2.stage2Levels[0], 6);
    EXPECT_EQ(s2.stage2Days[1], Day(2009, 7, 25));
    EXPECT_EQ(s2.stage2Levels[1], 7);
    EXPECT_EQ(s2.nextDueDate, QStringLiteral("2009/9/23"));
    EXPECT_EQ(e.cc.words[3].starX, 3);
    EXPECT_EQ(e.cc.words[4].level, 99);

    for (int p = 1; p <= 4; ++p)
        EXPECT_EQ(RecordFields(e.cc.words[p]).join(u'\t'), lines.at(p - 1)) << p;
    QFile::remove(e.dir.file(kRecordTT));
    e.cc.SaveRecordFile();
    EXPECT_EQ(e.dir.read(kRecordTT), Utf8File(lines) + RecordTrailerLine({4, 0}));
    EXPECT_TRUE(e.messages().messages.isEmpty());
}

// A built-in list whose order changed with a data update: each word keeps its
// own record, a word no longer on the list loses its record, a new word starts
// fresh, and the next save writes the records in the list's new order. A file
// whose words are all where they were goes by position as before.
TEST(RecordFile, RecordsFollowTheirWordsWhenABuiltInListIsReordered)
{
    const auto line = [](const QString &word, int level) {
        return word + QStringLiteral("\t1\t\t0\t\t0\t0\t0\t0\t%1\t0\t\t5\t6\tFALSE").arg(level);
    };
    TEngineFolder e(QStringLiteral("TT"), 6, 4);
    e.dir.write(kRecordTT, Utf8File({line("apple", 11), line("bank", 12), line("cat", 13), line("dog", 14)}) +
                               RecordTrailerLine({4, 0}));
    SetWords(e.cc, {"dog", "cat", "egg", "apple"});
    e.cc.LoadRecordFile();
    EXPECT_TRUE(e.messages().messages.isEmpty());
    const std::array<int, 4> levels = {14, 13, 0, 11};
    for (int p = 1; p <= 4; ++p)
        EXPECT_EQ(e.cc.words[p].level, levels[p - 1]) << e.cc.words[p].word.toStdString();
    e.cc.SaveRecordFile();
    EXPECT_EQ(e.dir.read(kRecordTT).left(3 + 4), QByteArrayLiteral("\xEF\xBB\xBF" "dog\t"));
    for (int p = 1; p <= 4; ++p)
        e.cc.words[p] = TTango();
    SetWords(e.cc, {"dog", "cat", "egg", "apple"});
    e.cc.LoadRecordFile();
    for (int p = 1; p <= 4; ++p)
        EXPECT_EQ(e.cc.words[p].level, levels[p - 1]) << "read again: " << e.cc.words[p].word.toStdString();
}

TEST(RecordFile, OlderUtf16LayoutIsRead)
{
    TEngineFolder e(QStringLiteral("TT"), 6, 3);
    const QStringList lines = {
        QStringLiteral("語\t2\t\t0\t2009/7/5[6]2009/7/25[7]\t2\t9\t1\t0\t7\t0\t2009/9/23\t512\t768\tFALSE"),
        FreshLine(QStringLiteral("b")), FreshLine(QStringLiteral("c"))};
    e.dir.write(kRecordTT, Utf16File(lines));
    e.cc.LoadRecordFile();
    EXPECT_TRUE(e.messages().messages.isEmpty());
    EXPECT_EQ(e.cc.words[1].stage2History, QStringLiteral("2009/7/5[6]2009/7/25[7]"));
    EXPECT_EQ(e.cc.words[1].stage2Levels[1], 7);
    EXPECT_EQ(e.cc.words[3].starY, 6);
    // Written back in the current layout.
    SetWords(e.cc, {"語", "b", "c"});
    e.cc.SaveRecordFile();
    EXPECT_EQ(e.dir.read(kRecordTT), Utf8File(lines) + RecordTrailerLine({3, 0}));
}

TEST(RecordFile, MissingFileStartsAfreshSilently)
{
    TEngineFolder e(QStringLiteral("TT"), 6, 3);
    e.cc.LoadFileSettings();   // no settings file: it stays unwritten until the file ends
    e.cc.LoadRecordFile();
    EXPECT_TRUE(e.messages().messages.isEmpty());
    const QStringList lines = e.dir.readLines(kRecordTT);
    ASSERT_EQ(lines.size(), 3 + 1);
    EXPECT_TRUE(e.dir.read(kRecordTT).startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(e.dir.read(kRecordTT).endsWith(RecordTrailerLine({3, 0})));
    for (int p = 1; p <= 3; ++p) {
        const TTango &t = e.cc.words[p];
        EXPECT_EQ(t.stage, TStage::One);
        EXPECT_GE(t.starX, 1);
        EXPECT_LE(t.starX, 1024);
        EXPECT_GE(t.starY, 1);
        EXPECT_LE(t.starY, 768);
    }
    EXPECT_FALSE(QFileInfo::exists(e.dir.file(QStringLiteral("user/setting/Setting_TT.dat"))));
}

// Damage never destroys: the damaged file is kept beside the record, every
// line that can still be read keeps its word's history, the words of the
// others start afresh, and the message names the file, the lines and the copy.
TEST(RecordFile, DamagedFilesKeepACopyAndEveryReadableLine)
{
    // Word 1 at level 3, word 2 at level 2, word 3 at level 4.
    const QString w1 = QStringLiteral("a\t1\t0[3]\t1\t\t0\t1\t0\t0\t3\t1\t\t5\t6\tFALSE");
    const QString w2 = QStringLiteral("b\t1\t0[2]\t1\t\t0\t1\t0\t0\t2\t1\t\t5\t6\tFALSE");
    const QString w3 = QStringLiteral("c\t1\t0[4]\t1\t\t0\t1\t0\t0\t4\t1\t\t5\t6\tFALSE");
    const QString partly = QStringLiteral("記録ファイルの一部が読めません（");
    const QString cut = QStringLiteral("記録ファイルが途中で切れています。");
    const QString whole = QStringLiteral("記録ファイルが損傷しています。内容を初期化します。");
    const struct {
        const char *name;
        QByteArray bytes;
        QString message;           // how the message starts
        QString linesNamed;        // the lines it names, if any
        std::array<int, 3> levels; // levels of words 1..3 afterwards
        bool settingsReset;        // the record started afresh as a whole
    } cases[] = {
        {"cut to one line", Utf8File({w1}), cut, {}, {3, 0, 0}, false},
        {"empty", QByteArray(), whole, {}, {0, 0, 0}, true},
        {"UTF-16 mark alone", QByteArray("\xFF\xFE\r\n") + Utf8File({w1}), whole, {}, {0, 0, 0}, true},
        {"NUL bytes", QByteArray(300, '\0'), whole, {}, {0, 0, 0}, true},
        {"bad number in line 2", Utf8File({w1, QString(w2).replace(QStringLiteral("\t0\t2\t"), QStringLiteral("\t0\tx\t")), w3}),
         partly, QStringLiteral("2 行目"), {3, 0, 4}, false},
        {"bad UTF-8 in line 3", Utf8File({w1, w2}) + QByteArray("c\xFF\t1\t0[4]\t1\t\t0\t1\t0\t0\t4\t1\t\t5\t6\tFALSE\r\n"),
         partly, QStringLiteral("3 行目"), {3, 2, 0}, false},
        {"30 fields", Utf8File({w1, w2 + QStringLiteral("\t") + w3, w3}), partly, QStringLiteral("2 行目"), {3, 0, 4}, false},
        {"count not a number", Utf8File({QStringLiteral("w\t1\t\tx\t\t0\t0\t0\t0\t0\t0\t\t5\t6\tFALSE"), w2, w3}), partly, QStringLiteral("1 行目"), {0, 2, 4}, false},
        {"no such date", Utf8File({QStringLiteral("w\t2\t\t0\t2009/13/5[6]\t1\t0\t0\t0\t6\t0\t\t5\t6\tFALSE"), w2, w3}), partly, QStringLiteral("1 行目"), {0, 2, 4}, false},
        {"count beyond the text", Utf8File({QStringLiteral("w\t2\t\t0\t2009/7/5[6]\t2\t0\t0\t0\t6\t0\t\t5\t6\tFALSE"), w2, w3}), partly, QStringLiteral("1 行目"), {0, 2, 4}, false},
        {"unclosed entry", Utf8File({QStringLiteral("w\t1\t0[2\t1\t\t0\t0\t0\t0\t2\t1\t\t5\t6\tFALSE"), w2, w3}), partly, QStringLiteral("1 行目"), {0, 2, 4}, false},
        {"numbers missing", Utf8File({QStringLiteral("w\t1\t\t0\t\t0\t0\t0"), w2, w3}), partly, QStringLiteral("1 行目"), {0, 2, 4}, false},
        {"due date that is no date", Utf8File({QStringLiteral("w\t2\t\t0\t2009/7/5[6]\t1\t0\t0\t0\t6\t0\t2009/13/45\t5\t6\tFALSE"), w2, w3}), partly, QStringLiteral("1 行目"), {0, 2, 4}, false},
        {"count below 0", Utf8File({QStringLiteral("w\t1\t\t-1\t\t0\t0\t0\t0\t0\t0\t\t5\t6\tFALSE"), w2, w3}), partly, QStringLiteral("1 行目"), {0, 2, 4}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TEngineFolder e(QStringLiteral("TT"), 6, 3);
        e.cc.LoadFileSettings();
        e.cc.settings.learningStartDate = QStringLiteral("2001/01/01");
        e.cc.settingsFileNew = false;
        e.dir.write(kRecordTT, c.bytes);
        e.cc.LoadRecordFile();

        ASSERT_EQ(e.messages().messages.size(), 1);
        const QString message = e.messages().messages.first();
        EXPECT_TRUE(message.startsWith(c.message)) << message.toStdString();
        EXPECT_TRUE(message.contains(e.cc.RecordFilePath())) << message.toStdString();
        if (!c.linesNamed.isEmpty()) {
            EXPECT_TRUE(message.contains(c.linesNamed)) << message.toStdString();
        }
        // The damaged file, byte for byte, beside the record; its name is in the message.
        const QStringList kept = QDir(e.cc.userFolder + QStringLiteral("record"))
                                     .entryList({QStringLiteral("Record_TT.dat.damaged-*")}, QDir::Files);
        ASSERT_EQ(kept.size(), 1);
        EXPECT_EQ(e.dir.read(QStringLiteral("user/record/") + kept.first()), c.bytes);
        EXPECT_TRUE(message.contains(kept.first())) << message.toStdString();

        for (int p = 1; p <= 3; ++p) {
            EXPECT_EQ(e.cc.words[p].level, c.levels[p - 1]) << "word " << p;
            EXPECT_GE(e.cc.words[p].starX, 1) << "word " << p;
        }
        // What is in memory is saved at once: the next start reads it cleanly.
        ASSERT_EQ(e.dir.readLines(kRecordTT).size(), 3 + 1);
        e.messages().messages.clear();
        e.cc.LoadRecordFile();
        EXPECT_TRUE(e.messages().messages.isEmpty());
        EXPECT_EQ(e.cc.settings.learningStartDate,
                  c.settingsReset ? QStringLiteral("2009/07/05") : QStringLiteral("2001/01/01"));
    }
}

// A record file cut short is damage: the words whose lines are gone start
// afresh, the learner is told, and the cut file is kept beside the record.
// A file that is whole keeps loading silently, with or without the last line
// the program writes, and a learning file that has grown since a whole
// record was written is no cut.
TEST(RecordFile, ACutFileIsToldAndKeptWholeFilesLoadSilently)
{
    const QString w1 = QStringLiteral("a\t1\t0[3]\t1\t\t0\t1\t0\t0\t3\t1\t\t5\t6\tFALSE");
    const QString w2 = QStringLiteral("b\t1\t0[2]\t1\t\t0\t1\t0\t0\t2\t1\t\t5\t6\tFALSE");
    const QString w3 = QStringLiteral("c\t1\t0[4]\t1\t\t0\t1\t0\t0\t4\t1\t\t5\t6\tFALSE");
    const QString w4 = QStringLiteral("d\t1\t0[5]\t1\t\t0\t1\t0\t0\t5\t1\t\t5\t6\tTRUE");
    const QByteArray whole = Utf8File({w1, w2, w3, w4});
    const QByteArray trailer = RecordTrailerLine({4, 0});
    const struct {
        const char *name;
        QByteArray bytes;
        int words;                 // words of the learning file
        bool cut;
        std::array<int, 4> levels; // levels of words 1..4 afterwards
    } cases[] = {
        {"older file, whole", whole, 4, false, {3, 2, 4, 5}},
        {"whole with its last line", whole + trailer, 4, false, {3, 2, 4, 5}},
        {"learning file grown since", whole + trailer, 6, false, {3, 2, 4, 5}},
        {"older file cut at a line break", Utf8File({w1, w2}), 4, true, {3, 2, 0, 0}},
        {"older file shorter than its learning file", whole, 6, true, {3, 2, 4, 5}},
        {"cut within the last line", whole + trailer.left(10), 4, true, {3, 2, 4, 5}},
        {"older file cut within a line", whole.chopped(11), 4, true, {3, 2, 4, 0}},
        {"counted lines missing", Utf8File({w1, w2, w3}) + trailer, 4, true, {3, 2, 4, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TEngineFolder e(QStringLiteral("TT"), 6, c.words);
        e.dir.write(kRecordTT, c.bytes);
        e.cc.LoadRecordFile();
        for (int p = 1; p <= 4; ++p)
            EXPECT_EQ(e.cc.words[p].level, c.levels[p - 1]) << "word " << p;
        const QStringList kept = QDir(e.cc.userFolder + QStringLiteral("record"))
                                     .entryList({QStringLiteral("Record_TT.dat.damaged-*")}, QDir::Files);
        if (!c.cut) {
            EXPECT_TRUE(e.messages().messages.isEmpty());
            EXPECT_TRUE(kept.isEmpty());
            continue;
        }
        ASSERT_EQ(e.messages().messages.size(), 1);
        const QString message = e.messages().messages.first();
        EXPECT_TRUE(message.startsWith(QStringLiteral("記録ファイルが途中で切れています。"))) << message.toStdString();
        EXPECT_TRUE(message.contains(e.cc.RecordFilePath())) << message.toStdString();
        ASSERT_EQ(kept.size(), 1);
        EXPECT_EQ(e.dir.read(QStringLiteral("user/record/") + kept.first()), c.bytes);
        EXPECT_TRUE(message.contains(kept.first())) << message.toStdString();
        for (int p = 1; p <= c.words; ++p)
            EXPECT_GE(e.cc.words[p].starX, 1) << "word " << p;
        // Saved whole at once: the next start reads it silently.
        e.messages().messages.clear();
        e.cc.LoadRecordFile();
        EXPECT_TRUE(e.messages().messages.isEmpty());
    }
}

// The settings are saved after the record: when a save stops between the
// two, the next start takes the answers total the record was written with.
TEST(RecordFile, TheAnswersTotalCatchesUpWithTheRecord)
{
    TEngineFolder e(QStringLiteral("TT"), 6, 2);
    e.cc.settings.answersTotal = 240;
    e.cc.SaveRecordFile();
    EXPECT_TRUE(e.dir.read(kRecordTT).endsWith(RecordTrailerLine({2, 240})));
    e.cc.settings.answersTotal = 160;   // the settings as they were before the save
    e.cc.LoadRecordFile();
    EXPECT_EQ(e.cc.settings.answersTotal, 240);
    e.cc.settings.answersTotal = 300;   // settings ahead: a reset record, or a later save
    e.cc.LoadRecordFile();
    EXPECT_EQ(e.cc.settings.answersTotal, 300);
    EXPECT_TRUE(e.messages().messages.isEmpty());
}

// A record that is a link to nowhere (a drive not mounted) is somewhere: the
// start stops and names it, and nothing is reset or written before it does.
TEST(RecordFile, ALinkToNowhereStopsTheStartBeforeAnythingIsReset)
{
    TEngineFolder e(QStringLiteral("TT"), 6, 3);
    TFileSettings settings = DefaultFileSettings(QStringLiteral("TT"), 805, {});
    settings.learningStartDate = QStringLiteral("2009/06/01");
    settings.answersTotal = 240;
    settings.learningDays = 3;
    e.dir.writeLines(QStringLiteral("user/setting/Setting_TT.dat"), FileSettingsLines(settings, {}));
    const QByteArray stored = e.dir.read(QStringLiteral("user/setting/Setting_TT.dat"));
    ASSERT_TRUE(QFile::link(e.dir.file(QStringLiteral("drive/Record_TT.dat")), e.dir.file(kRecordTT)));
    e.cc.LoadFileSettings();
    try {
        e.cc.LoadRecordFile();
        ADD_FAILURE() << "a record behind a dangling link was replaced";
    } catch (const TFatalError &error) {
        EXPECT_TRUE(error.Message().contains(e.cc.RecordFilePath())) << error.Message().toStdString();
    }
    EXPECT_EQ(e.dir.read(QStringLiteral("user/setting/Setting_TT.dat")), stored);
    EXPECT_EQ(e.cc.settings.answersTotal, 240);
    EXPECT_TRUE(QFileInfo(e.dir.file(kRecordTT)).isSymLink());
}

// Only regular files are read as data: a named pipe in place of the record
// would block the reader for ever.
TEST(RecordFile, APipeInPlaceOfTheRecordIsRefusedAtOnce)
{
    TEngineFolder e(QStringLiteral("TT"), 6, 3);
    const QString pipe = e.dir.file(kRecordTT);
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    auto loading = std::async(std::launch::async, [&] {
        try {
            e.cc.LoadRecordFile();
        } catch (const TFatalError &error) {
            return error.Message();
        }
        return QString();
    });
    if (loading.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        QFile writer(pipe);   // lets the blocked reader go
        ASSERT_TRUE(writer.open(QIODevice::WriteOnly));
        writer.close();
        loading.wait();
        FAIL() << "the reader waited on the pipe";
    }
    const QString message = loading.get();
    EXPECT_TRUE(message.contains(pipe)) << message.toStdString();
}

TEST(RecordFile, MissingTrailingTextFieldsReadEmpty)
{
    TEngineFolder e(QStringLiteral("TT"), 6, 2);
    e.dir.write(kRecordTT, Utf8File({QStringLiteral("w\t1\t\t0\t\t0\t0\t0\t0\t0\t0\t\t5\t6"),
                                     FreshLine(QStringLiteral("x"))}));
    e.cc.words[1].stage1Limit = true;
    e.cc.LoadRecordFile();
    EXPECT_FALSE(e.cc.words[1].stage1Limit);
    EXPECT_EQ(e.cc.words[1].starY, 6);
}

TEST(RecordFile, HistoryBeyondNinetyNineEntriesStaysInTheText)
{
    TEngineFolder e(QStringLiteral("TT"), 6, 2);
    QString history;
    for (int k = 1; k <= 120; ++k)
        history += QStringLiteral("%1[%2]").arg(16 * (k - 1)).arg(k % 2 ? 1 : 12);
    const QString line =
        QStringLiteral("w\t1\t%1\t120\t\t0\t0\t0\t0\t1\t1\t\t5\t6\tTRUE").arg(history);
    e.dir.write(kRecordTT, Utf8File({line, FreshLine(QStringLiteral("x"))}));
    e.cc.LoadRecordFile();
    const TTango &t = e.cc.words[1];
    EXPECT_EQ(t.stage1Questions[98], 16 * 98);   // entry 99, the last the arrays hold
    EXPECT_EQ(Stage1EntryAt(t, 99).question, 16 * 98);
    EXPECT_EQ(Stage1EntryAt(t, 100).question, 16 * 99);
    EXPECT_EQ(Stage1EntryAt(t, 120).level, 12);
    EXPECT_THROW(Stage1EntryAt(t, 121), TFatalError);
    e.cc.words[1].word = QStringLiteral("w");
    e.cc.words[2].word = QStringLiteral("x");
    e.cc.SaveRecordFile();
    EXPECT_EQ(e.dir.readLines(kRecordTT).at(0), line);
}

TEST(RecordFile, NothingIsWrittenWhileTheSimulationRuns)
{
    TEngineFolder e(QStringLiteral("TT"), 6, 2);
    e.dir.write(kRecordTT, Utf8File({FreshLine("a"), FreshLine("b")}));
    e.cc.LoadRecordFile();
    e.cc.words[1].level = 5;
    e.cc.simulationRunning = true;
    e.cc.SaveRecordFile();
    EXPECT_EQ(e.dir.read(kRecordTT), Utf8File({FreshLine("a"), FreshLine("b")}));
}

TEST(RecordFile, ChangedUserWorkbookMatchesRecordsByWord)
{
    TEngineFolder e(QStringLiteral("U1"), 32, 3);
    // The workbook now holds gentle, capybara, wombat (pika was deleted).
    SetWords(e.cc, {"gentle", "capybara", "wombat"});
    e.cc.recordWordIndex = QHash<QString, int>{{"gentle", 1}, {"capybara", 2}, {"wombat", 3}};
    for (int p = 1; p <= 3; ++p)
        e.cc.InitWordRecord(p);
    const QString capybara = QStringLiteral("capybara\t1\t0[2]\t1\t\t0\t1\t0\t0\t2\t5\t\t9\t9\tFALSE");
    const QString pika = QStringLiteral("pika\t1\t0[3]\t1\t\t0\t1\t0\t0\t3\t5\t\t9\t9\tFALSE");
    const QString gentle = QStringLiteral("gentle\t2\t\t0\t2009/7/1[6]\t1\t4\t0\t0\t6\t0\t2009/7/21\t9\t9\tFALSE");
    e.dir.write(QStringLiteral("user/record/Record_U1.dat"), Utf8File({capybara, pika, gentle}));
    e.cc.LoadRecordFile();
    EXPECT_EQ(RecordFields(e.cc.words[1]).join(u'\t'), gentle);
    EXPECT_EQ(RecordFields(e.cc.words[2]).join(u'\t'), capybara);
    EXPECT_EQ(e.cc.words[3].level, 0);   // a new word starts fresh
    EXPECT_EQ(e.cc.words[3].stage1History, QString());
    EXPECT_FALSE(e.cc.recordWordIndex);   // the next file reads by line again
}

TEST(RecordFile, LinesBeyondTheWordsAreReadButNeverPastTheTable)
{
    TEngineFolder e(QStringLiteral("TT"), 6, 2);
    QStringList lines;
    for (int i = 0; i < kMaxWords + 3; ++i)
        lines << FreshLine(QStringLiteral("w"));
    lines[2] = QStringLiteral("w\t1\t\t0\t\t0\t0\t0\t0\t4\t0\t\t5\t6\tFALSE");
    e.dir.write(kRecordTT, Utf8File(lines));
    e.cc.LoadRecordFile();
    EXPECT_EQ(e.cc.words[3].level, 4);
    EXPECT_EQ(e.cc.words[kMaxWords].starX, 5);
}

// A learner-sized record read back gives the same records, history arrays
// included, and writes out byte for byte the same file.
TEST(RecordFile, LearnerSizedRecordRoundTripsByteForByte)
{
    TCC written;
    FillRealisticWordTable(written, kMaxWords);
    GiveRealisticHistories(written, kMaxWords);
    // Records a real file can also hold: texts beyond ASCII, counters at
    // their ends, a limit flag, a history past the arrays.
    written.words[3].word = QStringLiteral("caf\u00E9 \U0001F600 見る");
    written.words[5].stage1Counter = std::numeric_limits<qint32>::max();
    written.words[7].wrongCount = -12;
    written.words[9].stage1Limit = true;
    for (int p = 1; p <= kMaxWords; ++p)
        RebuildHistoryArrays(written.words[p]);
    const QByteArray bytes = RecordFileBytes(written.words, kMaxWords);

    TCC read;
    for (int p = 1; p <= kMaxWords; ++p)
        read.words[p].word = written.words[p].word;
    const TRecordFileRead result = ReadRecordBytes(bytes, read.words, std::nullopt);
    EXPECT_EQ(result.readableLines, kMaxWords);
    EXPECT_TRUE(result.unreadableLines.isEmpty());
    EXPECT_EQ(RecordFileBytes(read.words, kMaxWords), bytes);
    for (int p = 1; p <= kMaxWords; ++p) {
        const TTango &a = std::as_const(written.words)[p];
        const TTango &b = std::as_const(read.words)[p];
        ASSERT_TRUE(a.stage1Questions == b.stage1Questions && a.stage1Levels == b.stage1Levels
                    && a.stage2Days == b.stage2Days && a.stage2Levels == b.stage2Levels)
            << "position " << p;
    }
}
