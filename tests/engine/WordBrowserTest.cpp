// The word browser's list for a level: the headword as a choice shows it,
// its meanings, in text order whatever the file order.
#include "engine/WordBrowser.h"
#include "support/EngineFolder.h"

#include <gtest/gtest.h>

TEST(WordBrowser, ListsTheWordsOfOneLevelInTextOrder)
{
    TEngineFolder env(QStringLiteral("TT"), 6, 6);
    struct TRow {
        const char *word;
        int level;
    };
    const TRow rows[] = {{"zeal", 5}, {"Apple", 5}, {"bank2", 5}, {"apple", 5}, {"bank1", 0}, {"cargo", 99}};
    for (int p = 1; p <= 6; ++p) {
        env.cc.words[p].word = QString::fromLatin1(rows[p - 1].word);
        env.cc.words[p].level = rows[p - 1].level;
        env.cc.words[p].joinedMeanings = QStringLiteral("m%1、n%1").arg(p);
    }
    EXPECT_EQ(WordBrowserLines(env.cc, 5),
              (QStringList{QStringLiteral("Apple （ m2、n2 ）"), QStringLiteral("apple （ m4、n4 ）"),
                           QStringLiteral("bank （ m3、n3 ）"), QStringLiteral("zeal （ m1、n1 ）")}));
    EXPECT_EQ(WordBrowserLines(env.cc, 99), QStringList{QStringLiteral("cargo （ m6、n6 ）")});
    EXPECT_TRUE(WordBrowserLines(env.cc, 7).isEmpty());
    // Words beyond the file's learning positions are not listed.
    env.cc.words[7].word = QStringLiteral("extra");
    env.cc.words[7].level = 5;
    EXPECT_EQ(WordBrowserLines(env.cc, 5).size(), 4);
}

TEST(WordBrowser, TheSpokenPartEndsBeforeTheMeanings)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("bank （ 銀行 ）"), QStringLiteral("bank")},
        {QStringLiteral("look after （ ～の世話をする ）"), QStringLiteral("look after")},
        {QStringLiteral("(be) fond of （ ～が好きだ ）"), QStringLiteral("(be) fond of")},
        {QStringLiteral("word"), QStringLiteral("word")},
    };
    for (const auto &[line, spoken] : cases)
        EXPECT_EQ(SpokenPartOfLine(line), spoken) << line.toStdString();
}
