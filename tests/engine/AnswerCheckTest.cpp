#include "engine/AnswerCheck.h"
#include "engine/CommonUnit.h"

#include <gtest/gtest.h>

namespace {
QString S(const char *utf8) { return QString::fromUtf8(utf8); }

struct TFormatCase {
    const char *word;
    bool stripDigit;
    THeadwordKind kind;
    const char *expected;
};
}

TEST(AnswerCheck, FormatHeadwordReadsTheMarkup)
{
    const TFormatCase cases[] = {
        {"come/go on", true, THeadwordKind::Word, "come on"},
        {"a/b/c d", true, THeadwordKind::Word, "a d"},
        {"look (at)", true, THeadwordKind::Word, "look"},
        {"(to) go", true, THeadwordKind::Word, "go"},
        {"a(b)c", true, THeadwordKind::Word, "ac"},
        {"look (at", true, THeadwordKind::Word, "look"},          // unclosed: runs to the end
        {"x(at", true, THeadwordKind::Word, "x"},                 // no space in front to drop
        {"(", true, THeadwordKind::Word, ""},
        {"bank2", false, THeadwordKind::Word, "bank (2)"},
        {"bank2", true, THeadwordKind::Word, "bank"},
        {"bank4", false, THeadwordKind::Word, "bank4"},
        {"x11", false, THeadwordKind::Word, "x11"},               // "1" occurs earlier
        {"go_i", true, THeadwordKind::Word, "go <v.i.>"},
        {"go_", true, THeadwordKind::Word, "go <v.i.>"},
        {"make @ happy", true, THeadwordKind::Word, "make ～ happy"},
        {"come/go on", true, THeadwordKind::UserFile, "come/go on"},
        {"bank2", true, THeadwordKind::UserFile, "bank2"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatHeadword(S(c.word), c.stripDigit, c.kind), S(c.expected)) << c.word;
    EXPECT_EQ(StripHomonymDigit(S("bank2")), S("bank"));
    EXPECT_EQ(StripHomonymDigit(S("bank0")), S("bank0"));
    EXPECT_EQ(StripHomonymDigit(QString()), QString());
}

TEST(AnswerCheck, FormatPhraseHeadwordDropsPlaceholdersAndMarks)
{
    const struct {
        const char *word;
        bool plain;
        const char *expected;
    } cases[] = {
        {"go_i", true, "go"},
        {"take @ for granted", true, "take for granted"},
        {"look at @", true, "look at"},
        {"[be] fond of", true, "be fond of"},
        {"come/go on", true, "come on"},
        {"A is to B what C is to D", false, "\"A\" is to \"B\" what \"C\" is to D"},
        {"between A and B", false, "between \"A\" and \"B\""},
        {"At A", false, "At \"A\""},
        {"between A and B", true, "between A and B"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatPhraseHeadword(S(c.word), c.plain, THeadwordKind::Phrase), S(c.expected)) << c.word;
    // Brackets stay outside the phrase files.
    EXPECT_EQ(FormatPhraseHeadword(S("[be] fond"), true, THeadwordKind::Word), S("[be] fond"));
}

TEST(AnswerCheck, AcceptedFormsOfPhrases)
{
    const struct {
        const char *word;
        QStringList expected;
    } cases[] = {
        {"come/go on", {S("go on")}},
        {"look (at)", {S("look at")}},
        {"look (at", {S("look at")}},                    // unclosed optional part
        {"a/b c/d", {S("b c"), S("a d")}},
        {"take @ out", {}},                               // the object mark alone makes no form
        {"Why not ?", {S("Why not")}},
        {"a, b, c", {S("a,b, c"), S("a,b,c")}},
        {"(in) a, b", {S("in a, b"), S("(in) a,b"), S("in a,b")}},
        {"[be] fond of", {}},
        {"go_i", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ExpandAcceptedAnswers(S(c.word)), c.expected) << c.word;
}

TEST(AnswerCheck, MoreThanNineAcceptedFormsKeepTheFirstNine)
{
    // Ten alternatives give ten forms; the tenth is dropped.
    const QStringList forms = ExpandAcceptedAnswers(S("w/x/y/z/v/u/t/s/r/q/p"));
    EXPECT_EQ(forms, (QStringList{S("x"), S("y"), S("z"), S("v"), S("u"), S("t"), S("s"), S("r"), S("q")}));
    // Comma forms come after the pass forms and are cut at nine too.
    const QStringList commas = ExpandAcceptedAnswers(S("a, b, c, d, e, f, g, h, i, j, k"));
    EXPECT_EQ(commas.size(), kMaxAcceptedForms);
    EXPECT_EQ(commas.first(), S("a,b, c, d, e, f, g, h, i, j, k"));
}

TEST(AnswerCheck, FoldDiacriticsUsesOneOrTwoLetters)
{
    EXPECT_EQ(FoldDiacritics(S("café naïve Œuvre Æsir straße ÀÇÑÜ")), S("cafe naive OEuvre AEsir strase ACNU"));
    EXPECT_EQ(FoldDiacritics(S("日本 abc")), S("日本 abc"));
}

TEST(AnswerCheck, CheckTypedAnswerTable)
{
    const struct {
        THeadwordKind kind;
        const char *word;
        const char *typed;
        bool expected;
    } cases[] = {
        {THeadwordKind::Word, "café", "cafe", true},
        {THeadwordKind::Word, "café", "café", true},
        {THeadwordKind::Word, "cafe", "Cafe", false},   // lower case applies to the stored form only
        {THeadwordKind::Word, "Cafe", "cafe", true},
        {THeadwordKind::Word, "Café", "cafe", false},
        {THeadwordKind::Word, "bank2", "bank", true},
        {THeadwordKind::Word, "bank2", "bank2", false},
        {THeadwordKind::Word, "come/go on", "come on", true},
        {THeadwordKind::Word, "come/go on", "go on", false}, // alternatives only in phrase files
        {THeadwordKind::Word, "rock 'n' roll", "rock n roll", true},
        {THeadwordKind::Word, "o'clock", "o'clock", true},
        {THeadwordKind::Word, "word", "", false},
        {THeadwordKind::UserFile, "don't", "dont", true},
        {THeadwordKind::UserFile, "don't", "don't", true},
        {THeadwordKind::UserFile, "abc1", "abc", true},     // a trailing digit never has to be typed
        {THeadwordKind::Phrase, "come/go on", "go on", true},
        {THeadwordKind::Phrase, "come/go on", "come on", true},
        {THeadwordKind::Phrase, "come/go on", "come/go on", false},
        {THeadwordKind::Phrase, "look (at)", "look", true},
        {THeadwordKind::Phrase, "look (at)", "look at", true},
        {THeadwordKind::Phrase, "look (at)", "Look at", false},
        {THeadwordKind::Phrase, "Look (at)", "look at", true},
        {THeadwordKind::Phrase, "a, b", "a,b", true},
        {THeadwordKind::Phrase, "go_i", "go", true},
        {THeadwordKind::Phrase, "take @ for granted", "take for granted", true},
        {THeadwordKind::Phrase, "[be] fond of", "be fond of", true},
        {THeadwordKind::Phrase, "make up one's mind", "make up ones mind", true},
        {THeadwordKind::Phrase, "(be) à la mode", "be a la mode", true},
        // A last accepted form that begins the full phrase is not accepted.
        {THeadwordKind::Phrase, "Why not ?", "Why not", false},
        {THeadwordKind::Phrase, "Why not ?", "Why not ?", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CheckTypedAnswer(S(c.word), S(c.typed), c.kind), c.expected) << c.word << " / " << c.typed;
}

TEST(AnswerCheck, AlternativesAcceptAnyChoiceOrForm)
{
    const QStringList choices{S("come/go on"), S("put off"), S("take in")};
    const struct {
        const char *typed;
        bool expected;
    } cases[] = {
        {"come on", true}, {"go on", true}, {"put off", true}, {"Take in", false},
        {"take in", true}, {"take", false}, {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CheckTypedAnswerAlternatives(S("come/go on"), S(c.typed), choices, THeadwordKind::Phrase), c.expected)
            << c.typed;
}

TEST(AnswerCheck, HintText)
{
    EXPECT_EQ(TypingHint(S("abandon"), false, THeadwordKind::Word), S("a******"));
    EXPECT_EQ(TypingHint(S("abandon"), true, THeadwordKind::Word), S("a*****n"));
    EXPECT_EQ(TypingHint(S("make up one's mind, A?"), false, THeadwordKind::Phrase), S("m*** ** ***'* ****, A?"));
    EXPECT_EQ(TypingHint(QString(), false, THeadwordKind::Word), QString());
}

namespace {
// A word file of a few rows in the engine's table.
class TTypingRulesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        cc.fileCode = QStringLiteral("TT");
        cc.fileSlot = 6;
        Add(S("include"), {S("含む")});
        Add(S("involve"), {S("巻き込む"), S("含む")});
        Add(S("abandon"), {S("捨てる")});
        Add(S("abolish"), {S("廃止する"), S("捨てる")});
        Add(S("cat"), {S("猫")});
        Add(S("contain"), {S("含む")});
        Add(S("measure2"), {S("測る")});
        Add(S("measure1"), {S("測る")});   // look-up row beyond TangoTotal
        cc.catalog.rows[6].TangoTotal = 7;
        cc.catalog.rows[6].DBTangoTotal = count;
    }
    void Add(const QString &word, const QStringList &meanings)
    {
        TTango &t = cc.words[++count];
        t.number = count;
        t.word = word;
        for (int i = 0; i < meanings.size(); ++i)
            t.meanings[static_cast<size_t>(i)] = meanings.at(i);
    }
    TCC cc;
    int count = 0;
};
}

TEST_F(TTypingRulesTest, AreConfusableComparesUpToTheFirstEmptyMeaning)
{
    EXPECT_TRUE(cc.AreConfusable(1, 2));
    EXPECT_TRUE(cc.AreConfusable(2, 1));   // meaning 2 of word 2
    EXPECT_FALSE(cc.AreConfusable(1, 3));
    cc.words[5].meanings = {QString(), S("含む")};
    EXPECT_FALSE(cc.AreConfusable(5, 1));   // an empty first meaning ends the list
    EXPECT_TRUE(cc.AreConfusable(1, 5));
}

TEST_F(TTypingRulesTest, LookAlikesDecideTheHint)
{
    // Same first letter, length and last letter, shared meaning: never typed.
    EXPECT_FALSE(cc.CheckTypingHint(1).allowed);
    EXPECT_TRUE(cc.CheckTypingHint(1).lookAlike);
    // Different last letter: typed, and the hint shows the last letter.
    EXPECT_TRUE(cc.CheckTypingHint(3).allowed);
    EXPECT_TRUE(cc.CheckTypingHint(3).lookAlike);
    cc.words[3].level = 2;
    EXPECT_EQ(cc.DecideTypingQuestion(3, true, TAnswerDirection::MeaningToWord).hint, S("a*****n"));
    // Nothing alike: the plain hint.
    EXPECT_TRUE(cc.CheckTypingHint(6).allowed);
    EXPECT_FALSE(cc.CheckTypingHint(6).lookAlike);
    cc.words[6].level = 2;
    EXPECT_EQ(cc.DecideTypingQuestion(6, true, TAnswerDirection::MeaningToWord).hint, S("c******"));
    // Three letters: never.
    EXPECT_FALSE(cc.CheckTypingHint(5).allowed);
    // Look-up rows beyond TangoTotal count as look-alikes (homonym digit stripped).
    EXPECT_FALSE(cc.CheckTypingHint(7).allowed);
    cc.catalog.rows[6].DBTangoTotal = 7;
    EXPECT_TRUE(cc.CheckTypingHint(7).allowed);
}

TEST_F(TTypingRulesTest, LookAlikeBehindMarkupIsFound)
{
    // The stored headword starts with an optional part; its form "abaxxon"
    // looks like "abandon".
    cc.words[4].word = S("(to) abaxxon");
    EXPECT_FALSE(cc.CheckTypingHint(3).allowed);
    cc.words[4].word = S("@baxxon");    // "～baxxon": same length, another first character
    EXPECT_TRUE(cc.CheckTypingHint(3).allowed);
    EXPECT_FALSE(cc.CheckTypingHint(3).lookAlike);
}

TEST_F(TTypingRulesTest, TypingQuestionNeedsSettingDirectionAndEvenLevel)
{
    TTango &w = cc.words[6];
    const struct {
        int level;
        int stage;
        bool setting;
        int direction;
        bool expected;
    } cases[] = {
        {2, 1, true, 0, true},   {4, 1, true, 0, true},   {12, 2, true, 0, true},
        {0, 1, true, 0, false},  {3, 1, true, 0, false},  {11, 3, true, 0, true},
        {2, 1, false, 0, false}, {2, 1, true, 1, false},  {99, 1, true, 0, false},
    };
    for (const auto &c : cases) {
        w.level = c.level;
        w.stage = static_cast<TStage>(c.stage);
        EXPECT_EQ(cc.DecideTypingQuestion(6, c.setting, static_cast<TAnswerDirection>(c.direction)).typing, c.expected) << c.level << " " << c.stage;
    }
    w.level = 2;
    EXPECT_FALSE(cc.DecideTypingQuestion(1, true, TAnswerDirection::MeaningToWord).typing);   // include/involve
}

TEST_F(TTypingRulesTest, PhraseFileUsesPhraseForms)
{
    cc.fileCode = QStringLiteral("TJ");
    cc.fileSlot = 7;
    cc.words[1].word = S("go_i");
    EXPECT_EQ(cc.DisplayForm(1), S("go"));
    EXPECT_EQ(cc.FormatHeadword(S("go_i"), true), S("go <v.i.>"));
    EXPECT_TRUE(cc.CheckTypedAnswer(S("look (at)"), S("look at")));
    cc.words[2].word = S("put off");
    cc.words[3].word = S("take in");
    EXPECT_TRUE(cc.CheckTypedAnswerAlternatives(S("go_i"), S("take in"), {1, 2, 3}));
    cc.ExpandAcceptedAnswers(S("come/go on"));
    EXPECT_EQ(cc.acceptedForms, QStringList{S("go on")});
}
