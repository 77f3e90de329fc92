#pragma once
// A small etymology database for the chart and window tests: one word of
// each kind of chart, written the way the data file holds it.
#include "etymology/db/EtymologyDatabase.h"

#include <QStringList>
#include <initializer_list>
#include <utility>

namespace etymology_fixture {

using L = TEtymologyLine;

// One word record: the fields by line number, the rest empty.
inline QStringList Word(std::initializer_list<std::pair<TEtymologyLine, QString>> fields, const QString &group = QStringLiteral("1"))
{
    QStringList lines(kEtymologyRecordLines);
    lines[0] = group;
    for (const auto &[line, text] : fields)
        lines[static_cast<int>(line)] = text;
    return lines;
}

inline QString S(const char *text)
{
    return QString::fromUtf8(text);
}

// One root of the tree: level marker (empty for a sibling), code, forms, gloss.
inline QStringList Root(const char *marker, const char *code, const char *forms, const char *gloss)
{
    QStringList lines;
    if (*marker)
        lines << S(marker);
    lines << S(code) << S(forms) << S(gloss);
    return lines;
}

// Words: inspection (prefix, root, suffix), construct and construction (a
// derived word of layout type 3 whose root has a parent), manuscript (a
// compound of manual and script), kingdom (layout type 1) and sunflower
// (layout type 2), teachers and teacher (derived words that begin with their
// parent), a bare word, a chain of six generations, a loop, a word
// whose root is missing from the tree and one with a long root gloss.
inline QStringList FixtureLines()
{
    QStringList lines{S("#815")};
    lines << Word({{L::Meaning1, S("検査")}, {L::Meaning2, S("調査")}, {L::Headword, S("inspection")},
                   {L::Prefix, S("in")}, {L::PrefixGloss, S("中を")}, {L::RootCode, S("L")},
                   {L::RootForms, S("spect")}, {L::RootSense, S("見る")}, {L::RootSenseHere, S("＝")},
                   {L::Suffix, S("ion")}, {L::SuffixGloss, S("名詞")}, {L::Remark, S("ラテン語＠から")}})
          << Word({{L::Meaning1, S("建設する")}, {L::Headword, S("construct")}, {L::Prefix, S("con")},
                   {L::PrefixGloss, S("共に")}, {L::RootCode, S("L")}, {L::RootForms, S("struct")},
                   {L::RootSense, S("積み上げる")}, {L::RootSenseHere, S("＝")}, {L::Remark, S("construere から")}})
          << Word({{L::Meaning1, S("建設")}, {L::Headword, S("construction")}, {L::Parent1, S("construct")},
                   {L::Prefix, S("con")}, {L::PrefixGloss, S("共に")}, {L::RootCode, S("L")},
                   {L::RootForms, S("struct")}, {L::RootSense, S("積み上げる")}, {L::RootSenseHere, S("建てる")},
                   {L::Suffix, S("tion")}, {L::SuffixGloss, S("こと")}, {L::LayoutType, S("3")}})
          << Word({{L::Meaning1, S("原稿")}, {L::Headword, S("manuscript")}, {L::Parent1, S("manual")},
                   {L::Parent2, S("script")}, {L::RootCode, S("L")}, {L::RootForms, S("manu")},
                   {L::RootSenseHere, S("手で")}, {L::Root2Code, S("L")}, {L::Root2Forms, S("script")},
                   {L::Root2SenseHere, S("書かれた")}})
          << Word({{L::Meaning1, S("手の")}, {L::Headword, S("manual")}, {L::RootCode, S("L")},
                   {L::RootForms, S("manu")}, {L::RootSense, S("手")}, {L::RootSenseHere, S("＝")},
                   {L::Suffix, S("al")}, {L::SuffixGloss, S("の")}})
          << Word({{L::Meaning1, S("台本")}, {L::Headword, S("script")}, {L::RootCode, S("L")},
                   {L::RootForms, S("script")}, {L::RootSenseHere, S("書かれた")}})
          << Word({{L::Meaning1, S("王国")}, {L::Headword, S("kingdom")}, {L::Parent1, S("king")},
                   {L::Suffix, S("dom")}, {L::SuffixGloss, S("領域")}, {L::Root2Code, S("L")},
                   {L::Root2Forms, S("struct")}, {L::LayoutType, S("1")}})
          << Word({{L::Meaning1, S("王")}, {L::Headword, S("king")}, {L::RootCode, S("E")},
                   {L::RootForms, S("cyning;king")}, {L::RootSenseHere, S("王")}})
          << Word({{L::Meaning1, S("ひまわり")}, {L::Headword, S("sunflower")}, {L::Parent1, S("sun")},
                   {L::Parent2, S("flower")}, {L::Root2Code, S("L")}, {L::Root2Forms, S("struct")},
                   {L::LayoutType, S("2")}})
          << Word({{L::Meaning1, S("太陽")}, {L::Headword, S("sun")}})
          << Word({{L::Meaning1, S("花")}, {L::Headword, S("flower")}})
          << Word({{L::Meaning1, S("教師たち")}, {L::Headword, S("teachers")}, {L::Parent1, S("teacher")},
                   {L::Suffix, S("s")}, {L::LayoutType, S("3")}})
          << Word({{L::Meaning1, S("教師")}, {L::Headword, S("teacher")}, {L::Parent1, S("teach")},
                   {L::Suffix, S("er")}, {L::LayoutType, S("3")}})
          << Word({{L::Meaning1, S("はい")}, {L::Meaning3, S("そう")}, {L::Headword, S("yes")}}, S("2"))
          << Word({{L::Meaning1, S("土手")}, {L::Headword, S("bank2")}, {L::RootCode, S("Gk")},
                   {L::RootForms, S("nowhere")}}, S("2"));
    // A chain: chainf comes from chaine, ..., chainb from chaina; each has a
    // suffix and a root, so the chain has more than twelve labelled elements.
    const QString chain = QStringLiteral("abcdef");
    for (qsizetype n = chain.size() - 1; n >= 0; --n) {
        lines << Word({{L::Meaning1, S("鎖")}, {L::Headword, QStringLiteral("chain") + chain[n]},
                       {L::Parent1, n > 0 ? QStringLiteral("chain") + chain[n - 1] : QString()},
                       {L::RootCode, S("L")}, {L::RootForms, S("manu")}, {L::Suffix, S("s")},
                       {L::SuffixGloss, S("複数")}, {L::LayoutType, n > 0 ? S("3") : QString()}},
                      S("3"));
    }
    // Two words that name each other as parents, each also its second parent.
    lines << Word({{L::Headword, S("loopa")}, {L::Parent1, S("loopb")}, {L::Parent2, S("loopb")}}, S("4"))
          << Word({{L::Headword, S("loopb")}, {L::Parent1, S("loopa")}, {L::Parent2, S("loopa")}}, S("4"))
          << Word({{L::Headword, S("gloss")}, {L::RootCode, S("Gk")}, {L::RootForms, S("glossa")},
                   {L::RootSenseHere, S("舌")}}, S("4"));
    lines << S("root")
          << Root("1", "L", "stru", "積む") << Root("2", "L", "struct", "積み上げる")
          << Root("1", "IE", "spek", "見る") << Root("2", "L", "spect", "見る、観察する")
          << Root("1", "L", "manu", "手")
          << Root("1", "L", "scrib", "書く") << Root("2", "L", "script", "書かれた")
          << Root("1", "E", "cyning;king", "王")
          << Root("1", "Gk", "glossa", "舌、言葉、言語、方言、難解な語、注釈、説明、用語集、語彙、翻訳、解説、古語、外国語、専門用語、俗語、隠語、口語、文語");
    lines << S("affix")
          << S("[in]-") << S("中に") << QString() << QString()
          << S("con-") << S("共に") << QString() << QString()
          << S("-tion") << S("こと") << QString() << QString()
          << S("-ion") << S("-tion") << QString() << QString()
          << S("-al") << S("の") << QString() << QString()
          << S("-dom") << S("領域") << QString() << QString()
          << S("-s") << S("複数") << QString() << QString()
          << S("end");
    return lines;
}

// The decoded text the loader reads.
inline QString FixtureText()
{
    QString text;
    for (const QString &line : FixtureLines())
        text += line + QStringLiteral("\r\n");
    // What the decoder leaves after the last line break is never data.
    return text + QLatin1Char('~');
}

inline void LoadFixture(TEtymologyDatabase &db)
{
    db.ParseEtymologyText(FixtureText(), QStringLiteral("fixture/Etymology_enc.dat"));
}

}
