#include "etymology/EtymologyChart.h"

#include "EtymologyFixture.h"

#include <QFontMetrics>
#include <gtest/gtest.h>
#include <cmath>

using namespace etymology_fixture;

namespace {
struct EtymologyChart : testing::Test {
    void SetUp() override { LoadFixture(db); }
    int Index(const char *word) const { return db.FindHeadword(S(word)); }
    void Build(const char *word)
    {
        const int index = Index(word);
        ASSERT_NE(index, 0) << word;
        chart.Build(index);
    }
    const TChartText *TextOf(const QString &text) const
    {
        for (const TChartText &t : chart.Texts())
            if (t.text == text)
                return &t;
        return nullptr;
    }
    TEtymologyDatabase db;
    TEtymologyChart chart{db};
};

QPoint P(int x, int y)
{
    return {x, y};
}
}

// Grid positions of every layout type, worked out by hand from the layout
// rules: 7 px a character, 17 px a row, parents 35 px in, roots 30 + 7 px in.
TEST_F(EtymologyChart, PlacesTheElementsOfEachLayoutType)
{
    struct Case {
        const char *word;
        int line;
        int generation;
        TChartSlot slot;
        TWordPart part;
        QPoint at;
    };
    using S_ = TChartSlot;
    using W = TWordPart;
    const Case cases[] = {
        // prefix + root + suffix, the root derived from a root of its own
        {"inspection", 0, 1, S_::WordLine, W::Prefix, P(0, 0)},
        {"inspection", 0, 1, S_::WordLine, W::Root, P(14, 0)},
        {"inspection", 0, 1, S_::WordLine, W::Suffix, P(49, 0)},
        {"inspection", 0, 1, S_::SuffixElement, W::None, P(77, 32)},
        {"inspection", 0, 1, S_::FirstRoot, W::None, P(51, 77)},
        {"inspection", 0, 1, S_::FirstRootParent, W::None, P(88, 124)},
        {"inspection", 0, 1, S_::PrefixElement, W::None, P(38, 195)},
        {"inspection", 0, 1, S_::Remark, W::None, P(0, 272)},
        // layout type 3: the parent's chart first, the word's own root below it
        {"construction", 0, 1, S_::WordLine, W::FirstParent, P(21, 0)},
        {"construction", 0, 1, S_::WordLine, W::Root, P(0, 0)},
        {"construction", 0, 1, S_::WordLine, W::Suffix, P(56, 0)},
        {"construction", 0, 1, S_::SuffixElement, W::None, P(84, 32)},
        {"construction", 1, 1, S_::WordLine, W::Prefix, P(56, 77)},
        {"construction", 1, 1, S_::WordLine, W::Root, P(77, 77)},
        {"construction", 1, 1, S_::FirstRoot, W::None, P(114, 124)},
        {"construction", 1, 1, S_::FirstRootParent, W::None, P(151, 171)},
        {"construction", 1, 1, S_::PrefixElement, W::None, P(94, 246)},
        {"construction", 1, 1, S_::Remark, W::None, P(56, 296)},
        {"construction", 0, 1, S_::FirstRoot, W::None, P(37, 357)},
        {"construction", 0, 1, S_::FirstRootParent, W::None, P(74, 404)},
        {"construction", 0, 1, S_::PrefixElement, W::None, P(38, 475)},
        // a compound: the second parent's line first, then the first parent's
        {"manuscript", 0, 1, S_::WordLine, W::FirstParent, P(0, 0)},
        {"manuscript", 0, 1, S_::WordLine, W::SecondParent, P(28, 0)},
        {"manuscript", 2, 1, S_::WordLine, W::Root, P(63, 43)},
        {"manuscript", 2, 1, S_::FirstRoot, W::None, P(100, 90)},
        {"manuscript", 2, 1, S_::FirstRootParent, W::None, P(137, 137)},
        {"manuscript", 1, 1, S_::WordLine, W::Root, P(35, 213)},
        {"manuscript", 1, 1, S_::WordLine, W::Suffix, P(63, 213)},
        {"manuscript", 1, 1, S_::SuffixElement, W::None, P(91, 245)},
        {"manuscript", 1, 1, S_::FirstRoot, W::None, P(72, 290)},
        {"manuscript", 0, 1, S_::FirstRoot, W::None, P(37, 47)},
        {"manuscript", 0, 1, S_::SecondRoot, W::None, P(37, 99)},
        {"manuscript", 0, 1, S_::SecondRootParent, W::None, P(67, 139)},
        // layout type 1: the word's second root hangs from its first parent
        {"kingdom", 0, 1, S_::WordLine, W::Suffix, P(28, 0)},
        {"kingdom", 1, 1, S_::WordLine, W::Root, P(35, 77)},
        {"kingdom", 1, 1, S_::FirstRoot, W::None, P(72, 124)},
        {"kingdom", 1, 1, S_::Joint, W::None, P(35, 221)},
        {"kingdom", 1, 1, S_::JointRootParent, W::None, P(77, 273)},
        // layout type 2: the same from its second parent
        {"sunflower", 0, 1, S_::WordLine, W::SecondParent, P(21, 0)},
        {"sunflower", 2, 1, S_::WordLine, W::Root, P(56, 43)},
        {"sunflower", 2, 1, S_::Joint, W::None, P(56, 102)},
        {"sunflower", 2, 1, S_::JointRootParent, W::None, P(98, 154)},
        {"sunflower", 1, 1, S_::WordLine, W::Root, P(35, 196)},
        // derived words along four generations: each root below what was laid out before it
        {"chainf", 1, 1, S_::WordLine, W::FirstParent, P(35, 77)},
        {"chainf", 1, 4, S_::WordLine, W::Root, P(140, 332)},
        {"chainf", 1, 4, S_::FirstRoot, W::None, P(177, 425)},
        {"chainf", 1, 3, S_::FirstRoot, W::None, P(142, 527)},
        {"chainf", 1, 2, S_::FirstRoot, W::None, P(107, 595)},
        {"chainf", 1, 1, S_::FirstRoot, W::None, P(72, 561)},   // the word's own parent: six rows up
        {"chainf", 0, 1, S_::FirstRoot, W::None, P(37, 731)},
    };
    for (const Case &c : cases) {
        Build(c.word);
        const TChartPlace place = chart.Place(c.line, c.generation, c.slot, c.part);
        EXPECT_TRUE(place.placed) << c.word << " line " << c.line << " slot " << static_cast<int>(c.slot);
        EXPECT_EQ(place.at, c.at) << c.word << " line " << c.line << " slot " << static_cast<int>(c.slot) << " part "
                                  << static_cast<int>(c.part);
    }

    // Parts a word does not have are not placed.
    Build("manuscript");
    EXPECT_FALSE(chart.Place(0, 1, TChartSlot::WordLine, TWordPart::Root).placed);   // the parents fill the word
    EXPECT_FALSE(chart.Place(0, 1, TChartSlot::FirstRootParent).placed);             // manu has no parent root
    Build("kingdom");
    EXPECT_FALSE(chart.Place(0, 1, TChartSlot::SecondRoot).placed);   // drawn from the first parent instead
}

TEST_F(EtymologyChart, ConnectsEachPartToWhatExplainsIt)
{
    struct Case {
        const char *word;
        std::vector<TChartConnector> connectors;   // in drawing order
    };
    const Case cases[] = {
        {"inspection",
         {{P(53, 15), P(53, 39), P(74, 39)},       // suffix part to its element
          {P(18, 15), P(18, 84), P(48, 84)},       // root part to the root
          {P(55, 92), P(55, 131), P(85, 131)},     // root to its parent root
          {P(4, 15), P(4, 202), P(35, 202)}}},     // prefix part to its element
        {"manuscript",
         {{P(32, 15), P(32, 50), P(60, 50)},       // second-parent part to script
          {P(67, 58), P(67, 97), P(97, 97)},       // script's root
          {P(104, 105), P(104, 144), P(134, 144)},  // script's parent root
          {P(4, 15), P(4, 220), P(32, 220)},       // first-parent part to manual
          {P(67, 228), P(67, 252), P(88, 252)},    // manual's suffix
          {P(39, 228), P(39, 297), P(69, 297)},    // manual's root
          {P(4, 15), P(4, 54), P(34, 54)},         // the first root from the first-parent part
          {P(32, 15), P(32, 106), P(34, 106)},     // the second root from the second-parent part
          {P(41, 114), P(41, 146), P(64, 146)}}},
        {"kingdom",
         {{P(32, 15), P(32, 39), P(53, 39)},
          {P(4, 15), P(4, 84), P(32, 84)},
          {P(39, 92), P(39, 131), P(69, 131)},
          {P(39, 236), P(39, 280), P(74, 280)}}},  // joint to the root parent of the second root
        {"teachers",
         {{P(53, 15), P(53, 39), P(74, 39)},
          {P(4, 15), P(4, 84), P(32, 84)},         // to teacher's parent part, left of its root part
          {P(74, 92), P(74, 116), P(95, 116)}}},
        {"yes", {}},
    };
    for (const Case &c : cases) {
        Build(c.word);
        EXPECT_EQ(chart.Connectors(), c.connectors) << c.word;
    }
}

TEST_F(EtymologyChart, WritesTheElementsTexts)
{
    Build("inspection");
    QStringList texts;
    for (const TChartText &t : chart.Texts())
        texts << t.text;
    EXPECT_EQ(texts, (QStringList{S("inspection"), S("検査、調査"),
                                  // a gloss that only names the part of speech is left out
                                  S(" -ion "), S("= -tion　"), S("こと"),
                                  S("<L> spect"), S(" 見る、観察する"), S("（見る）"),
                                  S("<IE> spek"), S(" 見る"), S("（見る）"),
                                  S(" in- "), S("”中を” "), S("中に"),
                                  S("▽ ラテン語から")}));
    // The meanings follow the word at 1.2 times its plain width plus 10 px.
    const int plain = QFontMetrics(ChartFont(14, false)).horizontalAdvance(S("inspection"));
    EXPECT_EQ(TextOf(S("検査、調査"))->at, P(static_cast<int>(std::nearbyint(plain * 1.2)) + 10, 1));
    EXPECT_TRUE(TextOf(S("inspection"))->bold);
    EXPECT_EQ(TextOf(S("inspection"))->height, 14);
    EXPECT_EQ(TextOf(S(" -ion "))->at, P(77, 31));
    EXPECT_EQ(TextOf(S("▽ ラテン語から"))->ink, TChartInk::Remark);
    EXPECT_EQ(chart.OriginName(), S("Latin"));

    // A word with nothing but meanings: its title alone.
    Build("yes");
    ASSERT_EQ(chart.Texts().size(), 2u);
    EXPECT_EQ(chart.Texts()[0].text, S("yes"));
    EXPECT_EQ(chart.Texts()[1].text, S("はい、そう"));
    EXPECT_TRUE(chart.Connectors().empty());

    // An English root shows its Old and Middle English forms.
    Build("kingdom");
    EXPECT_NE(TextOf(S("<OE> cyning  <ME>king")), nullptr);
    EXPECT_NE(TextOf(S("<L> stru")), nullptr);
}

TEST_F(EtymologyChart, ALongRootGlossPutsTheSenseUnderIt)
{
    Build("gloss");
    const TChartText *root = TextOf(S("<Gk> glossa"));
    ASSERT_NE(root, nullptr);
    const TChartText *sense = TextOf(S("（舌）"));
    ASSERT_NE(sense, nullptr);
    const TChartText &gloss = chart.Texts()[static_cast<size_t>(root - chart.Texts().data()) + 1];
    ASSERT_GE(gloss.text.size(), 45);
    EXPECT_EQ(sense->at, gloss.at + P(8, 17));

    // A short gloss keeps the sense on the root's line.
    Build("inspection");
    EXPECT_EQ(TextOf(S("（見る）"))->at.y(), TextOf(S("<L> spect"))->at.y());
}

TEST_F(EtymologyChart, LabelsWordsRootsAndAffixesForTheirRelatives)
{
    Build("inspection");
    const int index = Index("inspection");
    struct Expected {
        QString caption;
        TChartLabelKind kind;
        QPoint at;
        TRootCoordinates root;
    };
    const Expected expected[] = {
        {S("inspection"), TChartLabelKind::Title, P(0, 0), {}},
        {S(" -ion "), TChartLabelKind::Suffix, P(77, 31), {}},
        {S("<L> spect"), TChartLabelKind::RootChild, P(51, 77), {2, 1, 0}},
        {S("<IE> spek"), TChartLabelKind::RootParent, P(88, 124), {2, 0, 0}},
        {S(" in- "), TChartLabelKind::Prefix, P(38, 194), {}},
    };
    ASSERT_EQ(chart.Labels().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const TChartLabel &label = chart.Labels()[i];
        EXPECT_EQ(label.caption, expected[i].caption);
        EXPECT_EQ(label.kind, expected[i].kind) << i;
        EXPECT_EQ(label.area.topLeft(), expected[i].at) << i;
        EXPECT_EQ(label.area.height(), 16);
        EXPECT_EQ(label.record, index);
        EXPECT_EQ(label.root, expected[i].root) << i;
        // A little wider than the text it covers.
        const int width = QFontMetrics(ChartFont(14, true)).horizontalAdvance(label.caption);
        EXPECT_EQ(label.area.width(), static_cast<int>(std::nearbyint(width * 1.1)));
    }
    EXPECT_EQ(ChartLabelKindName(TChartLabelKind::RootChild), S("root_child"));

    // The label at an element's position, none elsewhere.
    const int atRoot = chart.LabelAt(chart.Place(0, 1, TChartSlot::FirstRoot).at + P(3, 3));
    ASSERT_EQ(atRoot, 2);
    EXPECT_EQ(chart.LabelAt(P(790, 590)), -1);

    // The labels of an ancestor carry its own record.
    Build("construction");
    const int at = chart.LabelAt(chart.Place(1, 1, TChartSlot::WordLine, TWordPart::Prefix).at + P(2, 2));
    ASSERT_GE(at, 0);
    EXPECT_EQ(chart.Labels()[at].caption, S("construct"));
    EXPECT_EQ(chart.Labels()[at].record, Index("construct"));
}

TEST_F(EtymologyChart, FollowsFourGenerationsAndLabelsTwelveElements)
{
    Build("chainf");
    EXPECT_EQ(chart.Ancestor(1, 1), Index("chaine"));
    EXPECT_EQ(chart.Ancestor(1, 4), Index("chainb"));
    EXPECT_NE(TextOf(S("chainb")), nullptr);
    EXPECT_EQ(TextOf(S("chaina")), nullptr);   // a fifth generation is not drawn
    // Fifteen labelled elements are drawn; the first twelve get hover labels.
    int labelled = 0;
    for (const TChartText &t : chart.Texts())
        labelled += t.bold ? 1 : 0;
    EXPECT_EQ(labelled, 15);
    EXPECT_EQ(chart.Labels().size(), 12u);
}

TEST_F(EtymologyChart, AWordThatIsItsOwnAncestorEnds)
{
    Build("loopa");
    int ancestors = 0;
    for (int line = 1; line < kChartLines; ++line)
        for (int generation = 1; generation <= kChartGenerations; ++generation)
            ancestors += chart.Ancestor(line, generation) != 0 ? 1 : 0;
    EXPECT_LE(ancestors, 8);
    // Once the second-parent line shows a compound, further compounds are written out.
    EXPECT_NE(TextOf(S("(loopa + loopa)")), nullptr);
    EXPECT_EQ(chart.OriginName(), QString());
}

TEST_F(EtymologyChart, NamesTheOriginLanguage)
{
    const std::pair<const char *, const char *> cases[] = {
        {"inspection", "Latin"},   // a root parent of Indo-European leaves the word's own language
        {"construction", "Latin"},
        {"kingdom", "Latin"},      // the root parent drawn below the first parent
        {"gloss", "Greek"},
        {"manuscript", ""},        // a compound has none
        {"yes", ""},
    };
    for (const auto &[word, name] : cases) {
        Build(word);
        EXPECT_EQ(chart.OriginName(), S(name)) << word;
    }
}

TEST_F(EtymologyChart, ARootMissingFromTheTreeIsNamedWithoutRelatives)
{
    Build("bank2");
    EXPECT_NE(TextOf(S("bank")), nullptr);   // the homonym digit is not drawn
    EXPECT_NE(TextOf(S("<Gk> nowhere")), nullptr);
    EXPECT_EQ(chart.Labels().size(), 1u);    // the title only
    EXPECT_EQ(chart.Messages(), QStringList{kRootKeyMissingMessage});   // once, though looked up twice
    Build("inspection");
    EXPECT_TRUE(chart.Messages().isEmpty());
}

TEST_F(EtymologyChart, AWordWithoutARecordGivesAnEmptyCanvas)
{
    chart.Build(kEtymologyNotFound);
    EXPECT_TRUE(chart.IsEmpty());
    EXPECT_TRUE(chart.Texts().empty());
    EXPECT_TRUE(chart.Labels().empty());
    EXPECT_EQ(chart.OriginName(), QString());
    const QImage image = chart.Render(ChartColoursOf(3));
    EXPECT_EQ(image.size(), QSize(kChartWidth, kChartHeight));
    QImage white(image.size(), image.format());
    white.fill(Qt::white);
    EXPECT_EQ(image, white);

    // A chart is painted in its screen type's colours.
    Build("inspection");
    const QImage drawn = chart.Render(ChartColoursOf(4));
    EXPECT_EQ(drawn.pixelColor(18, 60), QColor(0x858585));   // on the root connector
    EXPECT_EQ(drawn.pixelColor(700, 500), QColor(Qt::white));
}

TEST(RootLabelText, WritesTheRootWithItsLanguage)
{
    const struct {
        const char *code;
        const char *forms;
        const char *marker;
        const char *text;
    } cases[] = {
        {"L", "struct", "", "<L> struct"},
        {"L", "port ", "", "<L> port "},               // only English loses a trailing space
        {"Gk", "graph", "＆ ", "＆ <Gk> graph"},
        {"E", "acer;aker", "", "<OE> acer  <ME>aker"},
        {"E", "ab;", "", "<OE> ab"},
        {"E", ";aker", "＆ ", "＆ <ME>aker"},
        {"E", "word", "", "<E> word"},
        {"E", "word ", "", "<E> word"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RootLabelText(S(c.code), S(c.forms), S(c.marker)), S(c.text)) << c.code << " " << c.forms;
}
