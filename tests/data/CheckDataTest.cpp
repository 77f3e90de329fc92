// check-data on small program folders, and on the data the build ships.
#include "data/LearningFile.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <algorithm>
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

// A catalog with one file (TT in slot 6 unless told) and nothing else.
void WriteCatalog(const TTempProgramFolder &folder, int ttVersion, int tangoTotal, int dbTangoTotal,
                  const QString &code = QStringLiteral("TT"))
{
    QStringList lines{QStringLiteral("Tessarion"), QStringLiteral("900")};
    const int fileSlot = code == QStringLiteral("TJ") ? 7 : 6;
    for (int slot = 1; slot <= 31; ++slot) {
        const bool tt = slot == fileSlot;
        lines << QStringLiteral("--------") << QStringLiteral("Code") << (tt ? code : QString())
              << QStringLiteral("Version") << QString::number(tt ? ttVersion : 0)
              << QStringLiteral("Title") << (tt ? QStringLiteral("TOEIC 英単語") : QString())
              << QStringLiteral("TangoTotal") << QString::number(tt ? tangoTotal : 0)
              << QStringLiteral("DBTangoTotal") << QString::number(tt ? dbTangoTotal : 0);
    }
    lines << QStringLiteral("--------") << QStringLiteral("ENG_Quote_enc") << QStringLiteral("201")
          << QStringLiteral("Etymology_enc") << QStringLiteral("201");
    folder.writeLines(QStringLiteral("resource/FileInfo_SITE.dat"), lines);
}

// One etymology word record of group 1: the given lines, the rest empty.
QStringList EtymologyWord(std::initializer_list<std::pair<int, QString>> fields)
{
    QStringList lines(29);
    lines[0] = QStringLiteral("1");
    for (const auto &[line, text] : fields)
        lines[line] = text;
    return lines;
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

    // Asked rows that read the same are a problem in every kind of file, after
    // the meaning rules where the file has them; a look-up row never asked is not.
    struct TCase {
        QString code;
        QStringList rows;
        QString expected;   // empty: passes
    };
    const QList<TCase> cases{
        {QStringLiteral("TT"),
         {QStringLiteral("1\tlook for\t\t\t探す"),
          QStringLiteral("2\tsearch for\t\t\t探す")},
         QStringLiteral("TT_enc.dat: line 3: \"search for\" means \"探す\", as \"look for\" on line 2 does")},
        {QStringLiteral("TT"),   // the rules drop the label letter: both show 探す、捜す
         {QStringLiteral("1\tlook for\t\t\t探す\t捜す"),
          QStringLiteral("2\tsearch for\t\t\tx探す\t捜す")},
         QStringLiteral("\"search for\" means \"探す、捜す\", as \"look for\" on line 2 does")},
        {QStringLiteral("TJ"),   // stored as written: the letter tells them apart
         {QStringLiteral("1\tlook for\t探す\t捜す"),
          QStringLiteral("2\tsearch for\tx探す\t捜す")},
         QString()},
        {QStringLiteral("TJ"),
         {QStringLiteral("1\tfor example\t例えば"),
          QStringLiteral("2\tfor instance\t例えば")},
         QStringLiteral("TJ_enc.dat: line 3: \"for instance\" means \"例えば\", as \"for example\" on line 2 does")},
        {QStringLiteral("TT"),
         {QStringLiteral("1\tlook for\t\t\t探す"),
          QStringLiteral("2\tnought\t\t\t無"), QStringLiteral("\tsearch for\t\t\t探す")},
         QString()},
    };
    for (const TCase &c : cases) {
        const qsizetype numbered = std::count_if(c.rows.begin(), c.rows.end(),
                                                 [](const QString &r) { return !r.startsWith(u'\t'); });
        TTempProgramFolder one;
        WriteCatalog(one, 100, int(numbered), int(c.rows.size()), c.code);
        WriteRelated(one);
        WriteData(one, c.code + QStringLiteral("_enc.dat"), QStringList{QStringLiteral("#100")} + c.rows);
        const TToolRun again = CheckData(one.path());
        if (c.expected.isEmpty()) {
            EXPECT_EQ(again.exitCode, 0) << c.rows.join(u'|').toStdString() << "\n" << again.err.toStdString();
        } else {
            EXPECT_EQ(again.exitCode, 1) << c.rows.join(u'|').toStdString();
            EXPECT_TRUE(again.err.contains(c.expected)) << again.err.toStdString();
        }
    }
}

// An idiom whose headword has an object ("@") needs "～" in every meaning; one
// without an object may use "～" for a complement.
TEST(CheckData, IdiomMeaningsKeepTheObjectOfTheirHeadword)
{
    TTempProgramFolder folder;
    WriteCatalog(folder, 100, 3, 3, QStringLiteral("TJ"));
    WriteRelated(folder);
    WriteData(folder, QStringLiteral("TJ_enc.dat"), {
        QStringLiteral("#100"),
        QStringLiteral("1\tturn around @\t好転させる\t～の向きを変える"),
        QStringLiteral("2\tno longer\tもはや～ない"),
        QStringLiteral("3\tlook out (for @)\t（～に）気をつける"),
    });
    const TToolRun run = CheckData(folder.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(
        QStringLiteral("TJ_enc.dat: line 2: meaning 1 of \"turn around @\" (\"好転させる\") has no \"～\" for its object")))
        << run.err.toStdString();
    EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
}

// The etymology file is read as the chart reads it: a root, an affix or a
// parent that a record names and the file lacks is reported with the record;
// a sound record next to them is not.
TEST(CheckData, ReportsEtymologyRecordsWithMissingLinks)
{
    TTempProgramFolder folder;
    WriteCatalog(folder, 100, 1, 1);
    WriteRelated(folder);
    WriteData(folder, QStringLiteral("TT_enc.dat"), {QStringLiteral("#100"), QStringLiteral("1\tbuild\t\t\t建てる")});
    QStringList plain{QStringLiteral("#202")};
    plain << EtymologyWord({{7, QStringLiteral("structure")}, {14, QStringLiteral("L")},
                            {15, QStringLiteral("struct")}, {21, QStringLiteral("ure")}})
          << EtymologyWord({{7, QStringLiteral("construction")}, {9, QStringLiteral("construct")},
                            {11, QStringLiteral("con2")}, {14, QStringLiteral("L")}, {15, QStringLiteral("struct")},
                            {18, QStringLiteral("L")}, {19, QStringLiteral("strux")}, {21, QStringLiteral("ion")}})
          << QStringLiteral("root") << QStringLiteral("1")
          << QStringLiteral("L") << QStringLiteral("stru") << QStringLiteral("積む")
          << QStringLiteral("2")
          << QStringLiteral("L") << QStringLiteral("struct") << QStringLiteral("積み上げる")
          << QStringLiteral("affix")
          << QStringLiteral("con-") << QStringLiteral("共に") << QString() << QString()
          << QStringLiteral("-ure") << QStringLiteral("こと") << QString() << QString()
          << QStringLiteral("end");
    WriteData(folder, QStringLiteral("Etymology_enc.dat"), plain);

    const TToolRun run = CheckData(folder.path());
    EXPECT_EQ(run.exitCode, 1);
    const QString where = QStringLiteral("Etymology_enc.dat: record 2 (\"construction\"): ");
    for (const QString &problem : {where + QStringLiteral("root L strux is not in the root tree"),
                                   where + QStringLiteral("con-2 is not in the affix table"),
                                   where + QStringLiteral("-ion is not in the affix table"),
                                   where + QStringLiteral("parent \"construct\" has no record"),
                                   QStringLiteral("FileInfo_SITE.dat: Etymology_enc version 201, the file says 202")})
        EXPECT_TRUE(run.err.contains(problem)) << problem.toStdString() << "\n" << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("structure"))) << run.err.toStdString();
}

// A TT list of the given headwords (numbered from 1) and an etymology file
// with a record for each of `recorded`.
void WriteListAndEtymology(const TTempProgramFolder &folder, const QStringList &headwords,
                           const QStringList &recorded)
{
    WriteCatalog(folder, 100, int(headwords.size()), int(headwords.size()));
    WriteRelated(folder);
    QStringList rows{QStringLiteral("#100")};
    for (qsizetype i = 0; i < headwords.size(); ++i)
        rows << QStringLiteral("%1\t%2\t\t\t%2の意味").arg(i + 1).arg(headwords[i]);   // meanings told apart
    WriteData(folder, QStringLiteral("TT_enc.dat"), rows);
    QStringList plain{QStringLiteral("#201")};
    for (const QString &w : recorded)
        plain << EtymologyWord({{7, w}});
    plain << QStringLiteral("root") << QStringLiteral("1")
          << QStringLiteral("L") << QStringLiteral("stru") << QStringLiteral("積む")
          << QStringLiteral("affix")
          << QStringLiteral("-ure") << QStringLiteral("こと") << QString() << QString()
          << QStringLiteral("end") << QString();
    WriteData(folder, QStringLiteral("Etymology_enc.dat"), plain);
}

// The summary tells how many headwords of each word list have an etymology
// record; a second row of a heteronym is covered by its word's record.
TEST(CheckData, PrintsTheEtymologyCoverageOfEachWordList)
{
    TTempProgramFolder folder;
    WriteListAndEtymology(folder,
                          {QStringLiteral("structure"), QStringLiteral("tear"), QStringLiteral("tear2"),
                           QStringLiteral("build")},
                          {QStringLiteral("structure"), QStringLiteral("tear"), QStringLiteral("build")});
    const TToolRun run = CheckData(folder.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("\tcoverage TT 100.0 % (4 of 4)"))) << run.out.toStdString();
}

// A word list fewer than 95 % of whose headwords have an etymology record is
// refused, naming the coverage and the first words without a record; 95 %
// itself passes.
TEST(CheckData, RefusesEtymologyCoverageBelowTheFloor)
{
    struct TCase {
        int headwords, recorded;
        QString problem;   // empty: passes
    };
    const QList<TCase> cases{
        {20, 20, QString()},
        {20, 19, QString()},
        {20, 18, QStringLiteral("Etymology_enc.dat: coverage TT 90.0 % (18 of 20), below 95 %: no record for w19x, w20x")},
        {4, 3, QStringLiteral("Etymology_enc.dat: coverage TT 75.0 % (3 of 4), below 95 %: no record for w4x")},
        {40, 12, QStringLiteral("Etymology_enc.dat: coverage TT 30.0 % (12 of 40), below 95 %: no record for "
                                "w13x, w14x, w15x, w16x, w17x, w18x, w19x, w20x, w21x, w22x and 18 more")},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 of %2").arg(c.recorded).arg(c.headwords).toStdString());
        QStringList headwords;
        for (int i = 1; i <= c.headwords; ++i)
            headwords << QStringLiteral("w%1x").arg(i);   // no final digit: w19 would be a second row of w1
        TTempProgramFolder folder;
        WriteListAndEtymology(folder, headwords, headwords.mid(0, c.recorded));
        const TToolRun run = CheckData(folder.path());
        if (c.problem.isEmpty()) {
            EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
            EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        } else {
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(run.err, c.problem + u'\n');
        }
    }
}

// A base word (TT, DT) or family root (related-words file) must be a real stem
// of its word: one that begins the word, with a final e or y allowed to
// change, and no look-alike such as apple for apply.
TEST(CheckData, RefusesLinksThatAreNoRealStemOfTheirWord)
{
    struct TCase {
        QString word, base;
        QString why;   // empty: a real stem
    };
    const QList<TCase> cases{
        {QStringLiteral("payment"), QStringLiteral("pay"), QString()},
        {QStringLiteral("reliable"), QStringLiteral("rely"), QString()},
        {QStringLiteral("pronunciation"), QStringLiteral("pronounce"), QString()},
        {QStringLiteral("tear2"), QStringLiteral("tear"), QString()},
        {QStringLiteral("apply"), QStringLiteral("apple"), QStringLiteral("a word it only looks like")},
        {QStringLiteral("application"), QStringLiteral("apple"), QStringLiteral("a word it only looks like")},
        {QStringLiteral("imply"), QStringLiteral("imp"), QStringLiteral("a word it only looks like")},
        {QStringLiteral("notable"), QStringLiteral("not"), QStringLiteral("a word it only looks like")},
        {QStringLiteral("pigment"), QStringLiteral("pig"), QStringLiteral("a word it only looks like")},
        {QStringLiteral("result"), QStringLiteral("insult"), QStringLiteral("which is no stem of it")},
    };
    for (const TCase &c : cases) {
        TTempProgramFolder folder;
        WriteCatalog(folder, 100, 2, 2);
        WriteData(folder, QStringLiteral("ENG_Quote_enc.dat"),
                  {QStringLiteral("#201"), c.base + QStringLiteral("\t基\t元\t源\t本\t") + c.base + u'\t' + c.base,
                   c.word + QStringLiteral("\t語\t言葉\t単語\t語句\t") + c.base + u'\t' + c.word});
        WriteData(folder, QStringLiteral("TT_enc.dat"),
                  {QStringLiteral("#100"), QStringLiteral("1\t") + c.base + QStringLiteral("\t\t\t基"),
                   QStringLiteral("2\t") + c.word + QStringLiteral("\t\t\t語\t\t\t\t") + c.base});
        const TToolRun run = CheckData(folder.path());
        const std::string trace = (c.word + u' ' + c.base).toStdString() + "\n" + run.err.toStdString();
        if (c.why.isEmpty()) {
            EXPECT_EQ(run.exitCode, 0) << trace;
            continue;
        }
        EXPECT_EQ(run.exitCode, 1) << trace;
        EXPECT_TRUE(run.err.contains(QStringLiteral("TT_enc.dat: line 3: \"%1\" links to \"%2\", %3")
                                         .arg(c.word, c.base, c.why))) << trace;
        EXPECT_TRUE(run.err.contains(QStringLiteral("ENG_Quote_enc.dat: entry 2: \"%1\" has the family root \"%2\", %3")
                                         .arg(c.word, c.base, c.why))) << trace;
    }
}

// Meanings no learner is taught (discriminatory, vulgar, dialect, the old
// month names, dated slang) are refused in learning files and in the related-words file; a
// word that only holds the same letters is not.
TEST(CheckData, RefusesMeaningsNoLearnerIsTaught)
{
    TTempProgramFolder folder;
    WriteCatalog(folder, 100, 3, 3);
    WriteData(folder, QStringLiteral("ENG_Quote_enc.dat"),
              {QStringLiteral("#201"), QStringLiteral("not\tない\tあらへん"), QStringLiteral("chinese\t中国語\tシナ語"),
               QStringLiteral("cinnamon\tシナモン"), QStringLiteral("january\t睦月\t一月"),
               QStringLiteral("colored\t色のついた\tカラード\tカラーの"), QStringLiteral("mistress\t女主人\t二号")});
    WriteData(folder, QStringLiteral("TT_enc.dat"), {
        QStringLiteral("#100"),
        QStringLiteral("1\tscenario\t\t\tシナリオ\t筋書き"),
        QStringLiteral("2\tbrothel\t\t\t売春宿\t淫売宿"),
        QStringLiteral("3\tblind\t\t\t目の見えない\tめくら"),
    });
    const TToolRun run = CheckData(folder.path());
    EXPECT_EQ(run.exitCode, 1);
    for (const QString &problem : {
             QStringLiteral("ENG_Quote_enc.dat: entry 1: meaning 2 of \"not\" (\"あらへん\") is \"あらへん\""),
             QStringLiteral("ENG_Quote_enc.dat: entry 2: meaning 2 of \"chinese\" (\"シナ語\") is \"シナ語\""),
             QStringLiteral("ENG_Quote_enc.dat: entry 4: meaning 1 of \"january\" (\"睦月\") is \"睦月\""),
             QStringLiteral("ENG_Quote_enc.dat: entry 5: meaning 2 of \"colored\" (\"カラード\") is \"カラード\""),
             QStringLiteral("ENG_Quote_enc.dat: entry 6: meaning 2 of \"mistress\" (\"二号\") is \"二号\""),
             QStringLiteral("TT_enc.dat: line 3: meaning 2 of \"brothel\" (\"淫売宿\") is \"淫売\""),
             QStringLiteral("TT_enc.dat: line 4: meaning 2 of \"blind\" (\"めくら\") is \"めくら\"")})
        EXPECT_TRUE(run.err.contains(problem)) << problem.toStdString() << "\n" << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("scenario"))) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("cinnamon"))) << run.err.toStdString();
    EXPECT_EQ(run.err.count(QStringLiteral("no learner is taught")), 7) << run.err.toStdString();
}

// The data the build tree ships beside the program.
TEST(CheckData, ShippedDataPasses)
{
    const TToolRun run = CheckData(BinaryDir());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("TT_enc.dat\trows"))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Etymology_enc.dat\trecords"))) << run.out.toStdString();
}
