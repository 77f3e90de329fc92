#include "engine/RelatedTree.h"
#include "support/EngineFolder.h"

#include <gtest/gtest.h>

namespace {
void SetWord(TTango &t, const QString &word, const QString &link1, const QString &meaning)
{
    t.word = word;
    t.links = {link1, QString()};
    t.meanings = {meaning, QString(), QString(), QString(), QString(), QString()};
    t.joinedMeanings = meaning;
}

// depth TAB text, one line per node.
QStringList Lines(const TRelatedNode &node, int depth = 0)
{
    QStringList lines{QString::number(depth) + u'\t' + node.text};
    for (const TRelatedNode &child : node.children)
        lines += Lines(child, depth + 1);
    return lines;
}
}

TEST(RelatedTree, GroupsDerivedWordsAndSharedMeaningsEachWordOnce)
{
    TEngineFolder e(QStringLiteral("TT"), 6, 7);
    e.cc.catalog.rows[6].DBTangoTotal = 7;
    SetWord(e.cc.words[1], QStringLiteral("act"), QString(), QStringLiteral("行動"));
    SetWord(e.cc.words[2], QStringLiteral("active"), QStringLiteral("act"), QStringLiteral("活発な"));
    SetWord(e.cc.words[3], QStringLiteral("action"), QStringLiteral("act"), QStringLiteral("行動"));
    SetWord(e.cc.words[4], QStringLiteral("deed"), QString(), QStringLiteral("行動"));
    SetWord(e.cc.words[5], QStringLiteral("river"), QString(), QStringLiteral("川"));
    SetWord(e.cc.words[6], QStringLiteral("for"), QString(), QStringLiteral("～のために"));
    SetWord(e.cc.words[7], QStringLiteral("sake"), QString(), QStringLiteral("～のために"));
    const TRelatedWords noEntries;

    struct Case {
        const char *name;
        int position;
        QStringList lines;
    };
    const Case cases[] = {
        {"words derived from it; one also shares its meaning, listed once", 1,
         {QStringLiteral("0\tact （ 行動 ）"), QStringLiteral("1\t派生"),
          QStringLiteral("2\taction （ 行動 ）"), QStringLiteral("2\tactive （ 活発な ）"),
          QStringLiteral("1\t同義"), QStringLiteral("2\tdeed （ 行動 ）")}},
        // The base's own family is the word's family: not listed again below it.
        {"its base", 2,
         {QStringLiteral("0\tactive （ 活発な ）"), QStringLiteral("1\t派生"),
          QStringLiteral("2\tact （ 行動 ）")}},
        {"nothing related", 5, {QStringLiteral("0\triver （ 川 ）"), QStringLiteral("1\t nothing")}},
        {"a meaning too common to relate words by", 6,
         {QStringLiteral("0\tfor （ ～のために ）"), QStringLiteral("1\t nothing")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Lines(BuildRelatedTree(e.cc, noEntries, c.position)), c.lines);
    }
}

TEST(RelatedTree, TheTelopListsDerivedWordsThenTheWordsItsLinksName)
{
    TEngineFolder e(QStringLiteral("TT"), 6, 6);
    e.cc.catalog.rows[6].DBTangoTotal = 5;   // word 6 takes no part in look-ups
    SetWord(e.cc.words[1], QStringLiteral("act"), QString(), QStringLiteral("行動"));
    SetWord(e.cc.words[2], QStringLiteral("active"), QStringLiteral("act"), QStringLiteral("活発な"));
    SetWord(e.cc.words[3], QStringLiteral("actively"), QStringLiteral("active"), QStringLiteral("活発に"));
    SetWord(e.cc.words[4], QStringLiteral("action"), QStringLiteral("act"), QStringLiteral("行動"));
    SetWord(e.cc.words[5], QStringLiteral("activity"), QString(), QStringLiteral("活動"));
    SetWord(e.cc.words[6], QStringLiteral("acting"), QStringLiteral("act"), QStringLiteral("演技"));
    e.cc.words[2].links[1] = QStringLiteral("activity");
    struct Case {
        int position;
        QStringList headwords;
    };
    const Case cases[] = {
        {1, {QStringLiteral("active"), QStringLiteral("action")}},
        // Derived from it first, then its link 1 and its link 2.
        {2, {QStringLiteral("actively"), QStringLiteral("act"), QStringLiteral("activity")}},
        {5, {QStringLiteral("active")}},
        {0, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TelopHeadwords(e.cc, c.position), c.headwords) << c.position;
}
