#include "data/LearningFile.h"
#include "engine/CommonUnit.h"
#include "base/TError.h"
#include "support/TestSupport.h"
#include "workspace/CatalogFixture.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {
// A program folder with one learning file, written as the encoder writes it.
struct TLearningEnv {
    TTempProgramFolder dir;
    TCC cc;

    TLearningEnv() { cc.RunStartupFileSteps(dir.path()); }

    // Rows are joined with CR LF; the header line comes first and a line
    // break ends the text unless told otherwise.
    void WriteFile(const QString &code, const QString &header, const QStringList &rows, bool finalBreak = true)
    {
        QString text = header + QStringLiteral("\r\n") + rows.join(QStringLiteral("\r\n"));
        if (finalBreak && !rows.isEmpty())
            text += QStringLiteral("\r\n");
        dir.write(QStringLiteral("resource/%1_enc.dat").arg(code), EncodeLearningText(text).toUtf8());
    }

    void Load(const QString &code, int tangoTotal)
    {
        cc.SetCurrentFile(code);
        cc.catalog.rows[cc.fileSlot].TangoTotal = tangoTotal;
        cc.LoadLearningFile();
    }
};
}

TEST(LearningFile, SetCurrentFileSetsCodeSlotAndUserFlag)
{
    TCC cc;
    cc.SetCurrentFile(QStringLiteral("U10"));
    EXPECT_EQ(cc.fileSlot, 41);
    EXPECT_TRUE(cc.userFile);
    EXPECT_TRUE(cc.IsUserFileSlot());
    cc.SetCurrentFile(QStringLiteral("DJ"));
    EXPECT_EQ(cc.fileCode, QStringLiteral("DJ"));
    EXPECT_EQ(cc.fileSlot, 28);
    EXPECT_FALSE(cc.userFile);
}

TEST(LearningFile, MeaningRules)
{
    const struct { const char *code; const char *in; const char *out; } cases[] = {
        {"TT", "見捨てる", "見捨てる"},
        {"TT", "｜口語｜見捨てる", "（口語）見捨てる"},
        {"TT", "｜口語見捨てる", "（口語見捨てる"},
        {"TT", "｜a｜b｜c｜", "（a）b｜c｜"},
        {"TT", "a：人：を見捨てる", "〈人〉を見捨てる"},
        {"TT", "：人を見捨てる", "〈人を見捨てる〉"},
        {"TT", "x見捨てる", "見捨てる"},
        {"TT", " 見捨てる", "見捨てる"},
        {"TT", "2見捨てる", "2見捨てる"},
        {"TT", "0見捨てる", "見捨てる"},
        {"DT", "b：物：を｜強調｜", "〈物〉を（強調）"},
        {"TT", "", ""},
        {"IT", "m楽章", "【音楽】楽章"},
        {"IT", "s試合", "【スポーツ】試合"},
        {"IT", "o国名", "【大文字で】国名"},
        {"IT", "f眼鏡", "【複】眼鏡"},
        {"IT", "x語", "語"},
        {"IT", "2語", "語"},
        {"IT", "語：注", "語〈注〉"},
        {"TJ", "a：人：を｜x｜", "a：人：を｜x｜"},
        {"DJ", "x：人", "x：人"},
        {"U3", "a：人：を｜x｜", "a：人：を｜x｜"},
    };
    TCC cc;
    for (const auto &c : cases) {
        cc.SetCurrentFile(QString::fromLatin1(c.code));
        EXPECT_EQ(cc.NormalizeMeaning(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.code << " " << c.in;
    }
}

TEST(LearningFile, TtRowsByNumberAndAfterTangoTotal)
{
    TLearningEnv env;
    env.WriteFile(QStringLiteral("TT"), QStringLiteral("v1203"), {
        QStringLiteral("1\tabandon\taba'ndan\tA3\t｜口語｜見捨てる\t\t置き去りにする\tm4\tlink-one\tL2a\t\tL2c\t\t\tL2f"),
        QStringLiteral("3\tbe able to\t\t\ta：人：を"),
        QStringLiteral("\tlookup one\t\t\t参照"),
        QStringLiteral("30001\ttoo far\t\t\tx"),
        QStringLiteral("abc\tnot a number"),
        QStringLiteral("0\tzero"),
        QStringLiteral("-2\tnegative"),
        QStringLiteral("2.5\tfraction"),
        QStringLiteral("\tlookup two"),
        QStringLiteral("2\ttwo"),
    });
    env.cc.words[7].word = QStringLiteral("left over from the previous file");
    env.Load(QStringLiteral("TT"), 3);

    EXPECT_EQ(env.cc.catalog.rows[6].Version, 1203);
    const TTango &t = env.cc.words[1];
    EXPECT_EQ(t.number, 1);
    EXPECT_EQ(t.word, QStringLiteral("abandon"));
    EXPECT_EQ(t.attributes[0], QStringLiteral("aba'ndan"));
    EXPECT_EQ(t.attributes[2], QStringLiteral("A3"));
    EXPECT_EQ(t.meanings[0], QStringLiteral("（口語）見捨てる"));
    EXPECT_EQ(t.meanings[1], QString());
    EXPECT_EQ(t.meanings[2], QStringLiteral("置き去りにする"));
    EXPECT_EQ(t.meanings[3], QStringLiteral("4"));   // leading ASCII letter dropped
    EXPECT_EQ(t.joinedMeanings, QStringLiteral("（口語）見捨てる"));   // stops at the empty meaning 2
    EXPECT_EQ(t.links[0], QStringLiteral("link-one"));
    EXPECT_EQ(t.links[1], QStringLiteral("L2f"));   // the last non-empty link-2 column
    EXPECT_EQ(env.cc.words[3].meanings[0], QStringLiteral("〈人〉を"));
    EXPECT_EQ(env.cc.words[3].joinedMeanings, QStringLiteral("〈人〉を"));
    // Rows without a number: after TangoTotal, number not set.
    EXPECT_EQ(env.cc.words[4].word, QStringLiteral("lookup one"));
    EXPECT_EQ(env.cc.words[4].number, 0);
    EXPECT_EQ(env.cc.words[4].meanings[0], QStringLiteral("参照"));
    EXPECT_EQ(env.cc.words[5].word, QStringLiteral("lookup two"));
    // Bad numbers are skipped, nothing else moves.
    EXPECT_EQ(env.cc.words[2].word, QStringLiteral("two"));
    EXPECT_TRUE(env.cc.words[0].word.isEmpty());
    EXPECT_TRUE(env.cc.words[6].word.isEmpty());
    EXPECT_TRUE(env.cc.words[7].word.isEmpty());   // the table was cleared first
    EXPECT_TRUE(env.cc.words[30000].word.isEmpty());
}

TEST(LearningFile, TjAndItColumnLayouts)
{
    TLearningEnv env;
    env.WriteFile(QStringLiteral("TJ"), QStringLiteral("x7"), {
        QStringLiteral("1\tgive up\ta：人：を\t諦める\t\t\tgive\tL8\tL9\t\t\t\t\t\tL15"),
    });
    env.Load(QStringLiteral("TJ"), 1);
    const TTango &j = env.cc.words[1];
    EXPECT_EQ(j.meanings[0], QStringLiteral("a：人：を"));   // as written
    EXPECT_EQ(j.meanings[1], QStringLiteral("諦める"));
    EXPECT_EQ(j.joinedMeanings, QStringLiteral("a：人：を、諦める"));
    EXPECT_EQ(j.links[0], QStringLiteral("give"));
    EXPECT_EQ(j.links[1], QStringLiteral("L15"));
    EXPECT_TRUE(j.attributes[0].isEmpty());

    env.WriteFile(QStringLiteral("IT"), QStringLiteral("x201"), {
        QStringLiteral("1\tuno\t１"),
        QStringLiteral("2\tsinfonia\tm交響曲\t2\t3\t4\t5\t6\tc9\tlink1\tlink2\tc12\tc13\tc14\tc15\tc16"),
    });
    env.Load(QStringLiteral("IT"), 2);
    const TTango &i = env.cc.words[2];
    EXPECT_EQ(i.meanings[0], QStringLiteral("【音楽】交響曲"));
    EXPECT_EQ(i.meanings[1], QString());   // an IT meaning loses a leading ASCII mark, digits included
    EXPECT_EQ(env.cc.words[1].word, QStringLiteral("uno"));   // the TJ words are gone
    EXPECT_TRUE(env.cc.words[1].links[0].isEmpty());
    EXPECT_EQ(i.itColumn9, QStringLiteral("c9"));
    EXPECT_EQ(i.links[0], QStringLiteral("link1"));
    EXPECT_EQ(i.links[1], QStringLiteral("link2"));
    EXPECT_EQ(i.itColumn12, QStringLiteral("c12"));
    EXPECT_EQ(i.itColumns13to15[0], QStringLiteral("c13"));
    EXPECT_EQ(i.itColumns13to15[2], QStringLiteral("c15"));
    EXPECT_EQ(i.joinedMeanings, QStringLiteral("【音楽】交響曲"));
}

TEST(LearningFile, UncheckedLayoutStoresNoColumnsAndSaysSoOnce)
{
    TLearningEnv env;
    env.WriteFile(QStringLiteral("FT"), QStringLiteral("x3"), {
        QStringLiteral("1\tabandonner\tx\t見捨てる"),
        QStringLiteral("2\tavoir\t\t持つ"),
    });
    env.Load(QStringLiteral("FT"), 2);
    EXPECT_EQ(env.cc.words[2].word, QStringLiteral("avoir"));
    EXPECT_TRUE(env.cc.words[1].meanings[0].isEmpty());
    EXPECT_TRUE(env.cc.words[1].attributes[0].isEmpty());
    EXPECT_EQ(env.cc.defaultNotifier.messages, QStringList{QStringLiteral("新学習ファイル実装チェックポイント")});
}

TEST(LearningFile, ShortFilesAndFailures)
{
    TLearningEnv env;
    // The last decoded line is never data: a file whose last row is not
    // ended was cut short, and is refused.
    env.WriteFile(QStringLiteral("DT"), QStringLiteral("x9"), {QStringLiteral("1\tonly row, but also the last line")}, false);
    env.cc.SetCurrentFile(QStringLiteral("DT"));
    env.cc.catalog.rows[27].TangoTotal = 1;
    EXPECT_THROW(env.cc.LoadLearningFile(), TLearningFileRefused);
    // A header alone holds no rows: nothing is refused when none are expected.
    env.WriteFile(QStringLiteral("DT"), QStringLiteral("x9"), {});
    env.Load(QStringLiteral("DT"), 0);
    EXPECT_EQ(env.cc.catalog.rows[27].Version, 9);

    env.cc.SetCurrentFile(QStringLiteral("DJ"));   // no file shipped
    try {
        env.cc.LoadLearningFile();
        FAIL() << "missing file loaded";
    } catch (const TFatalError &e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("見つかりません"))) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains(QStringLiteral("DJ_enc.dat")));
    }
    env.cc.SetCurrentFile(QStringLiteral("U3"));   // no workbook: the sample's ten words
    env.cc.LoadLearningFile();
    EXPECT_EQ(env.cc.TangoTotal(), 10);
    env.cc.SetCurrentFile(QStringLiteral("XX"));
    EXPECT_THROW(env.cc.LoadLearningFile(), TFatalError);
    env.WriteFile(QStringLiteral("TT"), QStringLiteral("version"), {QStringLiteral("1\ta"), QStringLiteral("")});
    env.cc.SetCurrentFile(QStringLiteral("TT"));
    EXPECT_THROW(env.cc.LoadLearningFile(), TFatalError);   // header without a number
    env.dir.write(QStringLiteral("resource/TT_enc.dat"), QByteArray());
    EXPECT_THROW(env.cc.LoadLearningFile(), TFatalError);
}

TEST(LearningFileTool, WordsAndCatalogCommandsShowWhatTheProgramLoads)
{
    TTempProgramFolder dir;
    std::map<int, TSiteRow> rows = UsualSiteRows();
    rows[6].tangoTotal = 2;
    rows[6].dbTangoTotal = 3;
    dir.writeLines(QStringLiteral("resource/FileInfo_SITE.dat"), SiteCatalogLines(805, rows));
    dir.writeLines(QStringLiteral("Default_ON.dat"), {QStringLiteral("TJ")});
    const QString text = QStringLiteral("x305\r\n1\tabandon\tpron\t\tx：人：を見捨てる\r\n2\tabide\t\t\t守る\t従う\r\n\tabode\t\t\t住まい\r\n");
    dir.write(QStringLiteral("resource/TT_enc.dat"), EncodeLearningText(text).toUtf8());

    QProcess p;
    p.start(BinaryDir() + QStringLiteral("/tessarion-tool"),
            {QStringLiteral("words"), QStringLiteral("--program-folder"), dir.path(), QStringLiteral("--file"), QStringLiteral("TT")});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines.at(0), QStringLiteral("1\t1\tabandon\tpron\t\t\t\t〈人〉を見捨てる\t\t\t\t\t\t〈人〉を見捨てる\t\t\t\t\t"));
    EXPECT_EQ(lines.at(1).split(u'\t').at(13), QStringLiteral("守る、従う"));
    EXPECT_EQ(lines.at(2).split(u'\t').mid(0, 3), (QStringList{QStringLiteral("3"), QStringLiteral("0"), QStringLiteral("abode")}));

    p.start(BinaryDir() + QStringLiteral("/tessarion-tool"), {QStringLiteral("catalog"), QStringLiteral("--program-folder"), dir.path()});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QStringList catalog = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(catalog.size(), 49 + 4);
    EXPECT_EQ(catalog.at(5), QStringLiteral("6\tTT\t305\tOFF\t6\tON\t\t10\tTOEIC 頻出単語\t2\t3"));
    EXPECT_EQ(catalog.at(6).split(u'\t').at(3), QStringLiteral("ON"));   // TJ from Default_ON.dat
    EXPECT_EQ(catalog.at(40), QStringLiteral("41\tU10\t0\tOFF\t41\tON\t\t10\tユーザー 10\t0\t0"));
    EXPECT_EQ(catalog.mid(49), (QStringList{QStringLiteral("data-version 805"), QStringLiteral("file-manager ON"),
                                            QStringLiteral("related-words-version 201"), QStringLiteral("etymology-version 201")}));

    p.start(BinaryDir() + QStringLiteral("/tessarion-tool"),
            {QStringLiteral("words"), QStringLiteral("--program-folder"), dir.path(), QStringLiteral("--file"), QStringLiteral("DT")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("見つかりません")));
}
