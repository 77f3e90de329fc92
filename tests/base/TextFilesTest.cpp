#include "base/TError.h"
#include "support/TestSupport.h"
#include "base/DateText.h"
#include "base/TextFiles.h"

#include <gtest/gtest.h>

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
