// check-data on small program folders, and on the data the build ships.
#include "data/LearningFile.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {
struct TToolRun {
    int exitCode = -1;
    QString out, err;
};

TToolRun CheckData(const QString &programFolder)
{
    QProcess p;
    p.start(BinaryDir() + QStringLiteral("/tessarion-tool"),
            {QStringLiteral("check-data"), QStringLiteral("--program-folder"), programFolder});
    p.waitForFinished(120000);
    TToolRun run;
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

void WriteData(const TTempProgramFolder &folder, const QString &name, const QStringList &lines)
{
    QString plain;
    for (const QString &l : lines)
        plain += l + QStringLiteral("\r\n");
    folder.write(QStringLiteral("resource/") + name, EncodeLearningText(plain).toUtf8());
}

// A catalog with TT in slot 6 and nothing else.
void WriteCatalog(const TTempProgramFolder &folder, int ttVersion, int tangoTotal, int dbTangoTotal)
{
    QStringList lines{QStringLiteral("Tessarion"), QStringLiteral("900")};
    for (int slot = 1; slot <= 31; ++slot) {
        const bool tt = slot == 6;
        lines << QStringLiteral("--------") << QStringLiteral("Code") << (tt ? QStringLiteral("TT") : QString())
              << QStringLiteral("Version") << QString::number(tt ? ttVersion : 0)
              << QStringLiteral("Title") << (tt ? QStringLiteral("TOEIC 英単語") : QString())
              << QStringLiteral("TangoTotal") << QString::number(tt ? tangoTotal : 0)
              << QStringLiteral("DBTangoTotal") << QString::number(tt ? dbTangoTotal : 0);
    }
    lines << QStringLiteral("--------") << QStringLiteral("ENG_Quote_enc") << QStringLiteral("201")
          << QStringLiteral("Etymology_enc") << QStringLiteral("201");
    folder.writeLines(QStringLiteral("resource/FileInfo_SITE.dat"), lines);
}

void WriteRelated(const TTempProgramFolder &folder)
{
    WriteData(folder, QStringLiteral("ENG_Quote_enc.dat"),
              {QStringLiteral("#201"), QStringLiteral("happy\t幸せな\t嬉しい\t満足して\t幸運な\thappy\thappy")});
}
}

TEST(CheckData, PassesAGoodFolderWithASummaryPerFile)
{
    TTempProgramFolder folder;
    WriteCatalog(folder, 100, 2, 3);
    WriteRelated(folder);
    WriteData(folder, QStringLiteral("TT_enc.dat"), {
        QStringLiteral("#100"),
        QStringLiteral("1\thappy\th[ae!]pi[k0]\t\t幸せな\t嬉しい"),
        QStringLiteral("2\thappiness\th[ae!]pi[k0]n[E]s\t\t幸福\t\t\t\thappy"),
        QStringLiteral("\tglad\t\t\t嬉しい"),
    });
    const TToolRun run = CheckData(folder.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("TT_enc.dat\trows 3\tnumbered 2\twith pronunciation 2\twith links 1")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("ENG_Quote_enc.dat\trows 1")));
}

TEST(CheckData, ReportsEveryProblemOnItsOwnLine)
{
    TTempProgramFolder folder;
    WriteCatalog(folder, 101, 4, 4);
    WriteRelated(folder);
    WriteData(folder, QStringLiteral("TT_enc.dat"), {
        QStringLiteral("#100"),
        QStringLiteral("1\thappy\th[ae!]pi[k0]\t\t幸せな"),
        QStringLiteral("2\thappy\th[ae]p[Q]\t\t嬉しい"),
        QStringLiteral("3\tglad\tgl[ae!]d"),
        QStringLiteral("4\tgladness\t\t\t喜び\t\t\t\tgladd"),
    });
    const TToolRun run = CheckData(folder.path());
    EXPECT_EQ(run.exitCode, 1);
    const QStringList expected{
        QStringLiteral("headword \"happy\" is already on line"),
        QStringLiteral("unknown pronunciation element \"[Q]\""),
        QStringLiteral("\"glad\" has no meaning"),
        QStringLiteral("\"gladness\" links to \"gladd\", which is no headword"),
        QStringLiteral("TT version 101, the file says 100"),
        QStringLiteral("TT DBTangoTotal 4, the file has 4 rows"),
    };
    for (qsizetype i = 0; i + 1 < expected.size(); ++i)
        EXPECT_TRUE(run.err.contains(expected.at(i))) << expected.at(i).toStdString() << "\n" << run.err.toStdString();
    // Counts that agree are no problem.
    EXPECT_FALSE(run.err.contains(expected.last()));
    EXPECT_TRUE(run.out.isEmpty());
}

TEST(CheckData, CatalogCountsMustMatchTheFile)
{
    TTempProgramFolder folder;
    WriteCatalog(folder, 100, 3, 3);
    WriteRelated(folder);
    WriteData(folder, QStringLiteral("TT_enc.dat"),
              {QStringLiteral("#100"), QStringLiteral("1\thappy\t\t\t幸せな"), QStringLiteral("\tglad\t\t\t嬉しい")});
    const TToolRun run = CheckData(folder.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("TT TangoTotal 3, the file has 1 numbered rows")));
    EXPECT_TRUE(run.err.contains(QStringLiteral("TT DBTangoTotal 3, the file has 2 rows")));
}

// Meanings as the learner sees them: a leading ASCII character other than 1..9
// is dropped by the rules, which must leave something with all its digits.
TEST(CheckData, ReportsMeaningsTheRulesSpoilAndRowsThatMeanTheSame)
{
    TTempProgramFolder folder;
    WriteCatalog(folder, 100, 5, 5);
    WriteRelated(folder);
    WriteData(folder, QStringLiteral("TT_enc.dat"), {
        QStringLiteral("#100"),
        QStringLiteral("1\tzero\t\t\t0"),
        QStringLiteral("2\tnought\t\t\t0点"),
        QStringLiteral("3\tten\t\t\t10\t１０"),
        QStringLiteral("4\tlook for\t\t\t探す"),
        QStringLiteral("5\tsearch for\t\t\t探す"),
    });
    const TToolRun run = CheckData(folder.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("line 2: meaning 1 of \"zero\" (\"0\") is empty after the meaning rules")))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("line 3: meaning 1 of \"nought\" (\"0点\") loses its digits")));
    EXPECT_FALSE(run.err.contains(QStringLiteral("\"ten\"")));

    // Rows that read the same are listed after the summaries.
    WriteData(folder, QStringLiteral("TT_enc.dat"), {
        QStringLiteral("#100"), QStringLiteral("1\tzero\t\t\tゼロ"), QStringLiteral("2\tnought\t\t\t無"),
        QStringLiteral("3\tten\t\t\t10"), QStringLiteral("4\tlook for\t\t\t探す"),
        QStringLiteral("5\tsearch for\t\t\t探す"),
    });
    const TToolRun again = CheckData(folder.path());
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_TRUE(again.out.contains(
        QStringLiteral("same meaning: TT_enc.dat: line 6: \"search for\" means \"探す\", as \"look for\" on line 5 does")))
        << again.out.toStdString();
}

// The data the build tree ships beside the program.
TEST(CheckData, ShippedDataPasses)
{
    const TToolRun run = CheckData(BinaryDir());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("TT_enc.dat\trows"))) << run.out.toStdString();
}
