#include "data/SampleWorkbook.h"
#include "data/LearningFile.h"
#include "data/UserWorkbook.h"
#include "support/EngineFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace {
// Cells as a reader returns them, without the empty cells at the end of a row.
QList<QStringList> Trimmed(QList<QStringList> rows)
{
    for (QStringList &cells : rows) {
        while (!cells.isEmpty() && cells.last().isEmpty())
            cells.removeLast();
    }
    while (!rows.isEmpty() && rows.last().isEmpty())
        rows.removeLast();
    return rows;
}

// Texts long enough to be split between the string table's records, with
// characters of two UTF-16 units near every possible split.
QList<QStringList> LongTexts()
{
    QList<QStringList> rows;
    rows.append({QString(5000, QChar(u'あ')), QStringLiteral("short")});
    rows.append({QStringLiteral("x") + QString(4110, QChar(u'い')) + QStringLiteral("𠮷𠮷𠮷"), QStringLiteral("y")});
    for (int shift = 0; shift < 6; ++shift)
        rows.append({QString(4111 + shift, QChar(u'z')) + QStringLiteral("𠮷"), QString(shift + 1, QChar(u'w'))});
    return rows;
}

QList<QStringList> ReadBack(const QByteArray &workbook)
{
    TTempProgramFolder dir;
    dir.write("w.xls", workbook);
    return Trimmed(ReadWorkbookRows(dir.file("w.xls")));
}
} // namespace

TEST(SampleWorkbook, ReadsBackAsTheSampleWithItsTenWords)
{
    const QList<QStringList> sample = SampleWorkbookRows();
    ASSERT_EQ(sample.size(), 18);
    EXPECT_EQ(sample.at(2), QStringList({"cassowary", "カソワリ", "火食い鳥"}));
    EXPECT_TRUE(sample.at(10).isEmpty());
    EXPECT_EQ(sample.at(17), QStringList({"※ファイル名は変更しないでください"}));

    const QList<QStringList> rows = ReadBack(Biff8Workbook(sample));
    EXPECT_EQ(rows, sample);
    const TUserWords words = ApplyUserRowRules(rows, "sample.xls");
    ASSERT_EQ(words.words.size(), 10);   // the notes have no meaning
    EXPECT_EQ(words.words.at(8).word, QStringLiteral("gentle"));
    EXPECT_EQ(words.words.at(8).meanings[2], QStringLiteral("上品な"));
    EXPECT_EQ(words.positions.value(QStringLiteral("sincerity")), 10);
}

// Texts that cross the string table's record boundaries (a string split
// between two records, a header that has to wait for the next record, a
// character of two UTF-16 units at the split), repeated texts, cells left
// empty in the middle of a row and many rows.
TEST(SampleWorkbook, WriterKeepsEveryTextAcrossRecordBoundaries)
{
    struct Case {
        const char *name;
        QList<QStringList> rows;
    };
    QList<QStringList> many;
    for (int i = 0; i < 3000; ++i)
        many.append({QStringLiteral("語%1").arg(i), QStringLiteral("meaning %1").arg(i % 7)});
    const Case cases[] = {
        {"gaps", {{"a", "", "c"}, {}, {"", "b"}, {"a", "a", "a", "a", "a", "a", "a"}}},
        {"many rows", many},
        {"long texts", LongTexts()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadBack(Biff8Workbook(c.rows)), Trimmed(c.rows));
    }
}

TEST(SampleWorkbook, WhatTheFormatCannotHoldIsRefused)
{
    EXPECT_THROW(Biff8Workbook(QList<QStringList>(kWorkbookMaxRows + 1, QStringList{"a"})), TFatalError);
    EXPECT_THROW(Biff8Workbook({QStringList(kWorkbookMaxColumns + 1, QStringLiteral("a"))}), TFatalError);
    EXPECT_THROW(Biff8Workbook({{QString(kWorkbookMaxCellText + 1, QChar(u'a'))}}), TFatalError);
    EXPECT_NO_THROW(Biff8Workbook({{QString(kWorkbookMaxCellText, QChar(u'a'))}}));
}

TEST(SampleWorkbook, AnExistingWorkbookIsNeverReplaced)
{
    TTempProgramFolder dir;
    const QString path = CreateSampleWorkbook(dir.path(), 3);
    EXPECT_EQ(path, dir.file("word_user/User_3.xls"));
    EXPECT_EQ(ReadBack(dir.read("word_user/User_3.xls")), SampleWorkbookRows());

    dir.write("word_user/User_3.xls", "the learner's own words");
    try {
        CreateSampleWorkbook(dir.path(), 3);
        ADD_FAILURE() << "replaced";
    } catch (const TFatalError &error) {
        EXPECT_TRUE(error.Message().contains(QStringLiteral("User_3.xls"))) << error.Message().toStdString();
    }
    EXPECT_EQ(dir.read("word_user/User_3.xls"), QByteArray("the learner's own words"));
    EXPECT_EQ(QDir(dir.file("word_user")).entryList(QDir::Files), QStringList({"User_3.xls"}));
}

// The sample as spreadsheet programs see it, where one is installed. The
// texts hold no comma or quote, so a line of the CSV splits at commas.
TEST(SampleWorkbook, SpreadsheetProgramsReadTheSampleRows)
{
    struct Converter {
        const char *program;
        QStringList arguments;   // %IN and %OUTDIR replaced
    };
    const Converter converters[] = {
        {"ssconvert", {"%IN", "%OUTDIR/w.csv"}},
        {"soffice", {"--headless", "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76", "--outdir", "%OUTDIR", "%IN"}},
    };
    const QList<QStringList> workbooks[] = {SampleWorkbookRows(), LongTexts()};
    TTempProgramFolder dir;
    QDir().mkpath(dir.file("out"));
    int ran = 0;
    for (const Converter &c : converters) {
        const QString program = QStandardPaths::findExecutable(QString::fromUtf8(c.program));
        if (program.isEmpty())
            continue;
        ++ran;
        QStringList arguments;
        for (QString a : c.arguments)
            arguments.append(a.replace("%IN", dir.file("w.xls")).replace("%OUTDIR", dir.file("out")));
        for (const QList<QStringList> &workbook : workbooks) {
            SCOPED_TRACE(c.program);
            dir.write("w.xls", Biff8Workbook(workbook));
            QFile::remove(dir.file("out/w.csv"));
            QProcess p;
            p.start(program, arguments);
            ASSERT_TRUE(p.waitForFinished(120000));
            ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
            QList<QStringList> rows;
            for (const QString &line : QString::fromUtf8(dir.read("out/w.csv")).split(u'\n'))
                rows.append(line.trimmed().isEmpty() ? QStringList() : line.trimmed().split(u','));
            EXPECT_EQ(Trimmed(rows), Trimmed(workbook));
        }
    }
    if (ran == 0)
        GTEST_SKIP() << "neither gnumeric's ssconvert nor LibreOffice's soffice is installed";
}

TEST(SampleWorkbook, AUserFileWithoutWorkbookStartsFromTheSample)
{
    // Read-only: nothing is written and the file has no words.
    {
        TEngineFolder e(QStringLiteral("U2"), 33, 0);
        e.cc.context.readOnly = true;
        e.cc.LoadLearningFile();
        EXPECT_EQ(e.cc.catalog.rows[33].TangoTotal, 0);
        EXPECT_FALSE(QFile::exists(e.dir.file("user/word_user/User_2.xls")));
    }
    TEngineFolder e(QStringLiteral("U2"), 33, 0);
    const QString record = QStringLiteral("user/record/Record_U2.dat");
    const QByteArray oldRecord = "records of a workbook that has gone";
    e.dir.write(record, oldRecord);
    e.cc.LoadLearningFile();
    EXPECT_EQ(e.cc.catalog.rows[33].TangoTotal, 10);
    EXPECT_EQ(e.cc.words[1].word, QStringLiteral("capybara"));
    EXPECT_EQ(e.cc.words[10].joinedMeanings.isEmpty(), false);
    // The old records are kept aside, and the learner is told where.
    const QStringList copies = QDir(e.dir.file("user/record")).entryList({"Record_U2.dat.before-sample-*"});
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(e.dir.read("user/record/" + copies.first()), oldRecord);
    ASSERT_FALSE(e.messages().messages.isEmpty());
    EXPECT_TRUE(e.messages().messages.first().contains(copies.first())) << e.messages().messages.join('\n').toStdString();

    // The engine's own entry: the titles read again, nothing replaced, the
    // numbers of the user files only.
    EXPECT_EQ(e.cc.CreateSampleWorkbook(5), e.dir.file("user/word_user/User_5.xls"));
    EXPECT_FALSE(e.cc.catalog.rows[kLastBuiltInSlot + 5].Title.isEmpty());
    EXPECT_THROW(e.cc.CreateSampleWorkbook(5), TFatalError);
    EXPECT_THROW(e.cc.CreateSampleWorkbook(0), TFatalError);
    EXPECT_THROW(e.cc.CreateSampleWorkbook(kUserFileCount + 1), TFatalError);
    EXPECT_FALSE(QFile::exists(e.dir.file("user/word_user/User_19.xls")));
}

namespace {
// The offsets in a written workbook file of each record of its Workbook
// stream, by type (the writer stores the stream in one piece, from its
// first BOF to the worksheet's EOF).
QMultiMap<quint16, qsizetype> RecordOffsets(const QByteArray &file)
{
    QMultiMap<quint16, qsizetype> records;
    qsizetype at = file.indexOf(QByteArrayLiteral("\x09\x08\x10\x00\x00\x06\x05\x00"));
    int ends = 0;
    while (at >= 0 && at + 4 <= file.size() && ends < 2) {
        const quint16 type = qFromLittleEndian<quint16>(file.constData() + at);
        records.insert(type, at);
        ends += type == 0x000A;
        at += 4 + qFromLittleEndian<quint16>(file.constData() + at + 2);
    }
    return records;
}

qsizetype First(const QMultiMap<quint16, qsizetype> &records, quint16 type)
{
    const QList<qsizetype> at = records.values(type);
    return at.isEmpty() ? -1 : *std::min_element(at.begin(), at.end());
}

qsizetype Last(const QMultiMap<quint16, qsizetype> &records, quint16 type)
{
    const QList<qsizetype> at = records.values(type);
    return at.isEmpty() ? -1 : *std::max_element(at.begin(), at.end());
}
} // namespace

// Workbooks whose records do not hold together are refused by name, never
// read past their ends.
TEST(SampleWorkbook, DamagedRecordsAreRefusedNotRead)
{
    const QByteArray good = Biff8Workbook(LongTexts());
    const QMultiMap<quint16, qsizetype> records = RecordOffsets(good);
    ASSERT_EQ(records.count(0x000A), 2);
    ASSERT_GE(records.count(0x003C), 2);   // the string table goes on in further records
    struct Case {
        const char *name;
        std::function<void(QByteArray &)> damage;
    };
    const Case cases[] = {
        {"a continued string without its width", [&](QByteArray &b) { b[First(records, 0x003C) + 4] = 0; }},
        {"more strings than the table holds",
         [&](QByteArray &b) { qToLittleEndian<quint32>(0x7FFFFFFF, b.data() + First(records, 0x00FC) + 8); }},
        {"a cell naming a string that is not there",
         [&](QByteArray &b) { qToLittleEndian<quint32>(1000, b.data() + First(records, 0x00FD) + 10); }},
        {"a record longer than the stream",
         [&](QByteArray &b) { qToLittleEndian<quint16>(0x2000, b.data() + Last(records, 0x000A) + 2); }},
        {"a sheet beyond the stream",
         [&](QByteArray &b) { qToLittleEndian<quint32>(0x7FFFFFF0, b.data() + First(records, 0x0085) + 4); }},
    };
    TTempProgramFolder dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray damaged = good;
        c.damage(damaged);
        ASSERT_NE(damaged, good);
        dir.write("damaged.xls", damaged);
        try {
            ReadWorkbookRows(dir.file("damaged.xls"));
            ADD_FAILURE() << "read";
        } catch (const TLearningFileRefused &refused) {
            EXPECT_TRUE(refused.Message().contains(QStringLiteral("damaged.xls"))) << refused.Message().toStdString();
        }
    }
}
