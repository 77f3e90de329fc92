#include "data/PronunciationCode.h"

#include <QSet>
#include <gtest/gtest.h>

TEST(PronunciationCode, SplitsIntoElements)
{
    struct Case {
        const char16_t *code;
        QStringList elements;
    };
    const Case cases[] = {
        {u"", {}},
        {u" k[ae!]t", {u" "_qs, u"k"_qs, u"[ae!]"_qs, u"t"_qs}},
        {u"[k[adv]]", {u"[k[adv]]"_qs}},
        {u"[k[adv]][k5] [k0()]", {u"[k[adv]]"_qs, u"[k5]"_qs, u" "_qs, u"[k0()]"_qs}},
        {u"[A]a", {u"[A]"_qs, u"a"_qs}},
        // A "[" that is never closed swallows the rest of the text.
        {u"ab[cd e", {u"a"_qs, u"b"_qs, u"[cd e"_qs}},
        {u"[", {u"["_qs}},
        // A "]" directly after the closing one belongs to the element.
        {u"[x]]]y", {u"[x]]]"_qs, u"y"_qs}},
        {u"]A", {u"]"_qs, u"A"_qs}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SplitPronunciationCode(QStringView(c.code)), c.elements) << QString::fromUtf16(c.code).toStdString();
}

TEST(PronunciationCode, TableHas127DistinctElements)
{
    QSet<QString> seen;
    for (int n = 0; n < kPronunciationGlyphCount; ++n) {
        const QString element = PronunciationElement(n);
        ASSERT_FALSE(element.isEmpty()) << n;
        EXPECT_EQ(PronunciationGlyph(element), n) << element.toStdString();
        // Each name of the table is exactly one element of a code.
        EXPECT_EQ(SplitPronunciationCode(element), QStringList{element}) << n;
        seen.insert(element);
    }
    EXPECT_EQ(seen.size(), kPronunciationGlyphCount);
    EXPECT_TRUE(PronunciationElement(-1).isEmpty());
    EXPECT_TRUE(PronunciationElement(kPronunciationGlyphCount).isEmpty());
}

TEST(PronunciationCode, LooksUpExactNames)
{
    struct Case {
        const char16_t *element;
        int glyph;
    };
    const Case cases[] = {
        {u"[k1]", 0},    {u"[k5]", 4},     {u"[A]", 11},     {u"a", 56},       {u"0", 44},
        {u"9", 53},      {u"[k0]", 60},    {u" ", 97},       {u"[k[adv]]", 107}, {u"[k0()]", 102},
        {u"[O_A!2_k0]", 123}, {u"[h()]", 126}, {u"z", 96},   {u"[k19]", 87},
        // Not in the table: no k14, case matters, no capitals, no unclosed names.
        {u"[k14]", -1},  {u"[a]", -1},     {u"A", -1},       {u"[AE!]", -1},   {u"[k[adv]", -1},
        {u"", -1},       {u"[]", -1},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(PronunciationGlyph(QStringView(c.element)), c.glyph) << QString::fromUtf16(c.element).toStdString();
        EXPECT_EQ(IsKnownPronunciationElement(QStringView(c.element)), c.glyph >= 0);
    }
}

TEST(PronunciationCode, FindsFirstUnknownElement)
{
    EXPECT_EQ(FirstUnknownPronunciationElement(u" [ae!]nt[k5] [i!2]"), std::nullopt);
    EXPECT_EQ(FirstUnknownPronunciationElement(u"k[AE]t[x]"), u"[AE]"_qs);
    EXPECT_EQ(FirstUnknownPronunciationElement(u"kat[k0"), u"[k0"_qs);
    EXPECT_EQ(FirstUnknownPronunciationElement(u"Kat"), u"K"_qs);
}
