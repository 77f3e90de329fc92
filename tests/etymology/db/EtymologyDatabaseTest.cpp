#include "etymology/db/EtymologyDatabase.h"

#include "base/Notifier.h"
#include "base/TError.h"
#include "data/LearningFile.h"
#include "support/TestSupport.h"
#include "workspace/Catalog.h"

#include <gtest/gtest.h>

namespace {
// One word record: the fields by line number, the rest empty.
QStringList Word(const QString &group, std::initializer_list<std::pair<TEtymologyLine, QString>> fields)
{
    QStringList lines(kEtymologyRecordLines);
    lines[0] = group;
    for (const auto &[line, text] : fields)
        lines[static_cast<int>(line)] = text;
    return lines;
}

using L = TEtymologyLine;

// A small database: struct- words built on the Latin root "struct", a
// compound, a homonym and records in group 0.
QStringList Fixture()
{
    QStringList lines{QStringLiteral("#812")};
    lines << Word(QStringLiteral("3"), {{L::Meaning1, QStringLiteral("建設する")},
                                        {L::Headword, QStringLiteral("construct")},
                                        {L::Prefix, QStringLiteral("con")},
                                        {L::PrefixGloss, QStringLiteral("共に")},
                                        {L::RootCode, QStringLiteral("L")},
                                        {L::RootForms, QStringLiteral("struct")},
                                        {L::RootSense, QStringLiteral("積み上げる")},
                                        {L::RootSenseHere, QStringLiteral("＝")},
                                        {L::LayoutType, QStringLiteral("1")}})
          << Word(QStringLiteral("3"), {{L::Headword, QStringLiteral("construction")},
                                        {L::Parent1, QStringLiteral("construct")},
                                        {L::Prefix, QStringLiteral("con")},
                                        {L::RootCode, QStringLiteral("L")},
                                        {L::RootForms, QStringLiteral("struct")},
                                        {L::Suffix, QStringLiteral("tion")}})
          << Word(QStringLiteral("0"), {{L::Headword, QStringLiteral("reconstruction")},
                                        {L::Parent1, QStringLiteral("construction")},
                                        {L::Suffix, QStringLiteral("tion")}})
          << Word(QStringLiteral("0"), {{L::Headword, QStringLiteral("instruct")},
                                        {L::Prefix, QStringLiteral("in")},
                                        {L::RootCode, QStringLiteral("L")},
                                        {L::RootForms, QStringLiteral("stru")}})
          << Word(QStringLiteral("2"), {{L::Headword, QStringLiteral("bank2")},
                                        {L::RootCode, QStringLiteral("It")},
                                        {L::RootForms, QStringLiteral("banca")}})
          << Word(QStringLiteral("2"), {{L::Headword, QStringLiteral("manuscript")},
                                        {L::Parent1, QStringLiteral("manual")},
                                        {L::Parent2, QStringLiteral("script")},
                                        {L::RootCode, QStringLiteral("L")},
                                        {L::RootForms, QStringLiteral("manu")},
                                        {L::Root2Code, QStringLiteral("L")},
                                        {L::Root2Forms, QStringLiteral("script")}});
    lines << QStringLiteral("root") << QStringLiteral("1")
          << QStringLiteral("L") << QStringLiteral("stru") << QStringLiteral("積む")
          << QStringLiteral("2")
          << QStringLiteral("L") << QStringLiteral("struct") << QStringLiteral("積み上げる")
          // no marker: a sibling at the second level
          << QStringLiteral("L") << QStringLiteral("strue") << QStringLiteral("組み立てる")
          << QStringLiteral("3")
          << QStringLiteral("L") << QStringLiteral("structura") << QStringLiteral("構造")
          << QStringLiteral("L") << QStringLiteral("structor") << QStringLiteral("建てる人")
          << QStringLiteral("1")
          << QStringLiteral("L") << QStringLiteral("manu") << QStringLiteral("手")
          << QStringLiteral("1")
          << QStringLiteral("E") << QStringLiteral("banc;bank") << QStringLiteral("台")
          << QStringLiteral("affix")
          << QStringLiteral("[con]-") << QStringLiteral("共に") << QString() << QString()
          << QStringLiteral("com-") << QStringLiteral("con-") << QString() << QString()
          << QStringLiteral("-tion") << QStringLiteral("こと") << QString() << QString()
          << QStringLiteral("end");
    return lines;
}

// Stores the lines the way the data pipeline does: every line ended by CR LF, then shifted.
void WriteEtymology(const TTempProgramFolder &folder, const QStringList &lines)
{
    QString plain;
    for (const QString &l : lines)
        plain += l + QStringLiteral("\r\n");
    folder.write(kEtymologyFile, EncodeLearningText(plain).toUtf8());
}

struct EtymologyDatabase : testing::Test {
    void SetUp() override
    {
        WriteEtymology(folder, Fixture());
        db.LoadEtymologyData(folder.path(), catalog);
    }
    TTempProgramFolder folder;
    TEtymologyDatabase db;
    TCatalog catalog;
    TCollectingNotifier notifier;
};
}

TEST_F(EtymologyDatabase, PlacesRecordsByGroupAndKeepsTheVersion)
{
    EXPECT_EQ(catalog.etymologyVersion, 812);
    EXPECT_TRUE(db.IsLoaded());
    EXPECT_EQ(db.RecordCount(), 6);
    // Group 3 starts at 201; two records of a group sit at consecutive indices.
    EXPECT_EQ(db.FindHeadword(QStringLiteral("construct")), 201);
    EXPECT_EQ(db.FindHeadword(QStringLiteral("construction")), 202);
    // Group 0 is group 201.
    EXPECT_EQ(db.FindHeadword(QStringLiteral("reconstruction")), 20001);
    EXPECT_EQ(db.FindHeadword(QStringLiteral("instruct")), 20002);
    EXPECT_EQ(db.Record(20001).group, 0);
    EXPECT_EQ(db.FindHeadword(QStringLiteral("bank2")), 101);
    EXPECT_EQ(db.FindHeadword(QStringLiteral("Construct")), 0);
    EXPECT_EQ(db.FindHeadwordInRange(QStringLiteral("bank")), kEtymologyNotFound);
    const TEtymologyRecord &construct = db.Record(201);
    EXPECT_EQ(construct[L::Meaning1], QStringLiteral("建設する"));
    EXPECT_EQ(construct[L::RootSenseHere], QStringLiteral("＝"));
    EXPECT_EQ(construct[L::LayoutType], QStringLiteral("1"));
}

TEST_F(EtymologyDatabase, BuildsTheRootTreeFromItsMarkers)
{
    EXPECT_EQ(db.FirstLevelCount(), 3);
    EXPECT_EQ(db.RootNode(1, 0, 0).forms, QStringLiteral("stru"));
    EXPECT_EQ(db.RootNode(1, 1, 0).forms, QStringLiteral("struct"));
    EXPECT_EQ(db.RootNode(1, 2, 0).forms, QStringLiteral("strue"));
    EXPECT_EQ(db.RootNode(1, 2, 1).forms, QStringLiteral("structura"));
    EXPECT_EQ(db.RootNode(1, 2, 2).forms, QStringLiteral("structor"));
    EXPECT_TRUE(db.RootNode(1, 3, 0).IsEmpty());
    EXPECT_EQ(db.RootNode(3, 0, 0).forms, QStringLiteral("banc;bank"));

    ASSERT_TRUE(db.FindRootKey(QStringLiteral("L"), QStringLiteral("structor"), notifier));
    EXPECT_EQ(db.LastLocatedRoot(), (TRootCoordinates{1, 2, 2}));
    EXPECT_FALSE(db.FindRootKey(QStringLiteral("Gk"), QStringLiteral("struct"), notifier));
    EXPECT_EQ(db.LastLocatedRoot(), (TRootCoordinates{1, 2, 2}));
    EXPECT_EQ(notifier.messages, QStringList{kRootKeyMissingMessage});

    notifier.messages.clear();
    EXPECT_TRUE(db.IsDerivedRootKey(QStringLiteral("L"), QStringLiteral("struct"), notifier));
    EXPECT_FALSE(db.IsDerivedRootKey(QStringLiteral("L"), QStringLiteral("manu"), notifier));
    EXPECT_TRUE(notifier.messages.isEmpty());

    // The first-level node, a second-level node without children, and the
    // third-level nodes in place of their parent.
    db.CollectRootLeaves(1);
    EXPECT_EQ(db.LeafForms(), (QStringList{QStringLiteral("stru"), QStringLiteral("struct"),
                                           QStringLiteral("structura"), QStringLiteral("structor")}));
}

TEST_F(EtymologyDatabase, AffixFormsLoseTheirBrackets)
{
    ASSERT_EQ(db.AffixCount(), 3);
    EXPECT_EQ(db.FindAffix(QStringLiteral("con-")), 1);
    EXPECT_EQ(db.Affix(2).gloss, QStringLiteral("con-"));
    EXPECT_EQ(db.FindAffix(QStringLiteral("[con]-")), 4);
}

TEST_F(EtymologyDatabase, RelationQueries)
{
    const int construct = db.FindHeadword(QStringLiteral("construct"));
    const int construction = db.FindHeadword(QStringLiteral("construction"));
    EXPECT_EQ(db.ListPrefixRelatives(construct), QStringList{QStringLiteral("construction")});
    EXPECT_EQ(db.ListSuffixRelatives(construction), QStringList{QStringLiteral("reconstruction")});
    EXPECT_TRUE(db.ListSuffixRelatives(construct).isEmpty());

    // The family of a derived word: its parent, then everything below the
    // oldest ancestor except the word itself.
    EXPECT_EQ(db.ListWordFamily(construction),
              (QStringList{QStringLiteral("construct"), QStringLiteral("reconstruction")}));
    EXPECT_EQ(db.ListWordFamily(construct),
              (QStringList{QStringLiteral("construction"), QStringLiteral("reconstruction")}));
    // A compound: both parents.
    EXPECT_EQ(db.ListWordFamily(db.FindHeadword(QStringLiteral("manuscript"))),
              (QStringList{QStringLiteral("manual"), QStringLiteral("script")}));

    EXPECT_EQ(db.ListRootRelatives(TRootRelativesKind::RootChild, construct, 1, 1, 0),
              (QStringList{QStringLiteral("construct"), QStringLiteral("construction"), QStringLiteral("construction"),
                           QStringLiteral("reconstruction")}));
    EXPECT_EQ(db.ListRootRelatives(TRootRelativesKind::RootParent, construct, 1, 0, 0),
              (QStringList{QStringLiteral("construct"), QStringLiteral("construction"), QStringLiteral("construction"),
                           QStringLiteral("reconstruction"), QStringLiteral("instruct")}));
    EXPECT_EQ(db.ListRootRelatives(TRootRelativesKind::RootChild, 0, 3, 0, 0), QStringList{});
}

TEST(EtymologyText, HomonymsAndLanguageNames)
{
    const std::pair<const char *, const char *> homonyms[] = {
        {"bank2", "bank(2)"}, {"bank", "bank"}, {"A0", "A0"}, {"", ""}, {"pre2", "pre(2)"}};
    for (const auto &[in, out] : homonyms)
        EXPECT_EQ(FormatHomonym(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;

    EXPECT_EQ(OriginLanguageName(QStringLiteral("GR"), true), QStringLiteral("Germanic"));
    EXPECT_EQ(OriginLanguageName(QStringLiteral("G"), false), QStringLiteral("Germanic"));
    EXPECT_EQ(OriginLanguageName(QStringLiteral("OE"), false), QStringLiteral("Old English"));
    EXPECT_EQ(OriginLanguageName(QStringLiteral("gk"), true), QStringLiteral("-unregistered string-"));
    EXPECT_EQ(OriginLanguageName(QStringLiteral("gk"), false), QString());
    EXPECT_EQ(OriginLanguageName(QStringLiteral("n"), true), QString());
}

// A damaged file is refused with its name and line, and what was loaded stays.
TEST_F(EtymologyDatabase, RefusesADamagedFileNamingTheLine)
{
    const QStringList good = Fixture();
    const int rootLine = static_cast<int>(good.indexOf(QStringLiteral("root")));
    const int affixLine = static_cast<int>(good.indexOf(QStringLiteral("affix")));
    struct Case {
        const char *what;
        QStringList lines;
        int line;   // 1-based line of the decoded text
    };
    const auto edited = [&](int at, const QString &text) {
        QStringList lines = good;
        lines[at] = text;
        return lines;
    };
    const Case cases[] = {
        {"version not a number", edited(0, QStringLiteral("#x")), 1},
        {"group not a number", edited(1, QStringLiteral("three")), 2},
        {"group out of range", edited(1, QStringLiteral("202")), 2},
        {"no root line", good.mid(0, rootLine), rootLine + 1},
        {"no level after root", edited(rootLine + 1, QStringLiteral("L")), rootLine + 2},
        {"third level under a first", edited(rootLine + 5, QStringLiteral("3")), rootLine + 6},
        {"no affix line", good.mid(0, affixLine - 2), affixLine - 1},
        {"no end line", good.mid(0, good.size() - 1), static_cast<int>(good.size())},
    };
    for (const Case &c : cases) {
        WriteEtymology(folder, c.lines);
        TEtymologyDatabase other;
        try {
            other.LoadEtymologyData(folder.path(), catalog);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const TFatalError &e) {
            EXPECT_TRUE(e.Message().contains(QStringLiteral("Etymology_enc.dat"))) << c.what;
            EXPECT_TRUE(e.Message().contains(QStringLiteral("（%1 行目）").arg(c.line))) << c.what << ": " << e.Message().toStdString();
        }
    }
    // A refused file leaves a loaded database as it was.
    WriteEtymology(folder, edited(1, QStringLiteral("202")));
    EXPECT_THROW(db.LoadEtymologyData(folder.path(), catalog), TFatalError);
    EXPECT_EQ(db.FindHeadword(QStringLiteral("construct")), 201);
}

TEST(EtymologyLoad, OneGroupHoldsAHundredRecords)
{
    QStringList lines{QStringLiteral("#1")};
    for (int i = 0; i <= kEtymologyGroupSize; ++i)
        lines << Word(QStringLiteral("5"), {{L::Headword, QStringLiteral("w%1x").arg(i)}});
    lines << QStringLiteral("root") << QStringLiteral("1") << QStringLiteral("L") << QStringLiteral("a")
          << QStringLiteral("b") << QStringLiteral("affix") << QStringLiteral("-a") << QStringLiteral("a")
          << QString() << QString() << QStringLiteral("end");
    TTempProgramFolder folder;
    WriteEtymology(folder, lines);
    TEtymologyDatabase db;
    TCatalog catalog;
    EXPECT_THROW(db.LoadEtymologyData(folder.path(), catalog), TFatalError);
    lines.remove(1 + kEtymologyGroupSize * kEtymologyRecordLines, kEtymologyRecordLines);
    WriteEtymology(folder, lines);
    db.LoadEtymologyData(folder.path(), catalog);
    EXPECT_EQ(db.FindHeadword(QStringLiteral("w99x")), 500);
}

TEST(EtymologyLoad, MissingFileNamesIt)
{
    TTempProgramFolder folder;
    TEtymologyDatabase db;
    TCatalog catalog;
    try {
        db.LoadEtymologyData(folder.path(), catalog);
        ADD_FAILURE();
    } catch (const TFatalError &e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("Etymology_enc.dat")));
    }
    EXPECT_EQ(catalog.etymologyVersion, kDefaultDataVersion);
}
