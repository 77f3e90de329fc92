#include "base/TError.h"
#include "support/TestSupport.h"
#include "base/DateText.h"
#include "base/TextFiles.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(TextFiles, WritesCrLfUtf8AndReadsBack)
{
    TTempProgramFolder dir;
    WriteStateLines(dir.file(QStringLiteral("a.dat")), {QStringLiteral("Tessarion"), QStringLiteral("ユーザー 1"), QString()});
    EXPECT_EQ(dir.read(QStringLiteral("a.dat")), QByteArray("Tessarion\r\n\xe3\x83\xa6\xe3\x83\xbc\xe3\x82\xb6\xe3\x83\xbc 1\r\n\r\n"));
    auto lines = ReadStateLines(dir.file(QStringLiteral("a.dat")));
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, (QStringList{QStringLiteral("Tessarion"), QStringLiteral("ユーザー 1"), QString()}));
}

TEST(TextFiles, ReadsCp932WhenNotUtf8)
{
    TTempProgramFolder dir;
    // "ユーザー 1" in CP932, LF and CR line ends mixed
    dir.write(QStringLiteral("t.dat"), QByteArray("\x83\x86\x81\x5b\x83\x55\x81\x5b 1\nx\ry\r\n"));
    auto lines = ReadStateLines(dir.file(QStringLiteral("t.dat")));
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, (QStringList{QStringLiteral("ユーザー 1"), QStringLiteral("x"), QStringLiteral("y")}));
    EXPECT_FALSE(ReadStateLines(dir.file(QStringLiteral("missing.dat"))));
}

TEST(TextFiles, FailedWriteKeepsOldFileAndThrows)
{
    TTempProgramFolder dir;
    WriteStateLines(dir.file(QStringLiteral("x.dat")), {QStringLiteral("old")});
    EXPECT_THROW(WriteStateLines(dir.file(QStringLiteral("no/such/folder/x.dat")), {QStringLiteral("new")}), TFatalError);
    EXPECT_EQ(dir.read(QStringLiteral("x.dat")), QByteArray("old\r\n"));
}

TEST(TextFiles, LineReaderNeverReadsPastTheEnd)
{
    TLineReader reader({QStringLiteral("12"), QStringLiteral("x")}, QStringLiteral("f"));
    EXPECT_EQ(reader.NextInt(), 12);
    EXPECT_THROW(reader.NextInt(), TFatalError);   // "x" is not a number
    EXPECT_THROW(reader.Next(), TFatalError);      // no third line
}

TEST(DateText, BuildsAndReadsBothForms)
{
    const QDate d(2009, 7, 5);
    EXPECT_EQ(BuildDateText(d), QStringLiteral("2009/7/5"));
    EXPECT_EQ(ShortDateText(d), QStringLiteral("2009/07/05"));
    EXPECT_EQ(ReadDateText(QStringLiteral("2009/7/5")), d);
    EXPECT_EQ(ReadDateText(QStringLiteral("2009/07/05")), d);
    for (const char *bad : {"", "2009/13/1", "2009/2/30", "2009-7-5", "abc", "2009/7/5x", "2009/7"})
        EXPECT_FALSE(ParseDateText(QString::fromLatin1(bad))) << bad;
    EXPECT_THROW(ReadDateText(QStringLiteral("7/5")), TFatalError);
}

TEST(StrToInt, AcceptsOnlyDecimalIntegers)
{
    EXPECT_EQ(StrToInt(QStringLiteral("-36")), -36);
    for (const char *bad : {"", " 1", "1 ", "1.5", "x", "99999999999"})
        EXPECT_THROW(StrToInt(QString::fromLatin1(bad)), TFatalError) << bad;
    // Everything after an embedded NUL counts too; only ASCII digits are digits.
    for (const QString &bad : {QStringLiteral("9\u0000abc"), QStringLiteral("9\u0000"),
                               QStringLiteral("\uFF19"), QStringLiteral("-"), QStringLiteral("+")})
        EXPECT_THROW(StrToInt(bad), TFatalError) << bad.toStdString();
    EXPECT_EQ(StrToInt(QStringLiteral("+5")), 5);
}

// Every way a text can break its lines: CR LF, a lone CR or LF, CR CR LF,
// breaks at the start and at the end, empty lines.
TEST(TextFiles, LinesSplitAtEveryKindOfBreak)
{
    const QString pieces[] = {QStringLiteral("ab"), QStringLiteral("\r\n"), QStringLiteral("\n"),
                              QStringLiteral("\r"), QStringLiteral("x\ty"), QString()};
    for (int a = 0; a < 6; ++a)
        for (int b = 0; b < 6; ++b)
            for (int c = 0; c < 6; ++c)
                for (int d = 0; d < 6; ++d) {
                    const QString text = pieces[a] + pieces[b] + pieces[c] + pieces[d];
                    // As stated: CR LF is one break, CR and LF each one, and a
                    // final break makes no extra line.
                    QString unified = text;
                    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
                    QStringList expected = unified.split(u'\n');
                    if (unified.endsWith(u'\n') || unified.isEmpty())
                        expected.removeLast();
                    QStringList lines;
                    for (const QStringView line : SplitLineViews(text))
                        lines << line.toString();
                    EXPECT_EQ(lines, expected) << text.toStdString();
                }
}

// A damaged file may hold a line of megabytes where a number belongs: the
// error quotes the start of it and names the file and line, no more.
TEST(TextFiles, AnErrorQuotesOnlyTheStartOfALongBadLine)
{
    const QString huge(20 * 1000 * 1000, u'x');
    TLineReader reader({QStringLiteral("1"), huge}, QStringLiteral("/p/user/setting/Setting_TT.dat"));
    EXPECT_EQ(reader.NextInt(), 1);
    try {
        reader.NextInt();
        ADD_FAILURE() << "a line of letters read as a number";
    } catch (const TFatalError &e) {
        EXPECT_LT(e.Message().size(), 200);
        EXPECT_TRUE(e.Message().contains(QStringLiteral("xxxxxxxxxx"))) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains(QStringLiteral("/p/user/setting/Setting_TT.dat（2 行目）"))) << e.Message().toStdString();
    }
}

// Only regular files are read as data: a named pipe would block its reader.
TEST(TextFiles, ANamedPipeIsNeverOpenedAsAStateFile)
{
    TTempProgramFolder dir;
    const QString pipe = dir.file(QStringLiteral("FileInfo_PC.dat"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    try {
        ReadStateLines(pipe);
        ADD_FAILURE() << "the pipe was read";
    } catch (const TFatalError &e) {
        EXPECT_TRUE(e.Message().contains(pipe)) << e.Message().toStdString();
    }
}
