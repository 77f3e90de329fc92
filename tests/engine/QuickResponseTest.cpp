// The quick-response drill's bookkeeping and timing.
#include "engine/QuickResponse.h"

#include <gtest/gtest.h>

TEST(QuickResponse, ItemTimeAndFade)
{
    EXPECT_DOUBLE_EQ(QuickResponseItemSeconds(50, false), 2.5);
    EXPECT_NEAR(QuickResponseItemSeconds(50, true), 3.333, 0.001);
    EXPECT_DOUBLE_EQ(QuickResponseItemSeconds(92, false), 0.4);
    EXPECT_NEAR(QuickResponseItemSeconds(8, true), 6.133, 0.001);
    // Black at the start, white at five sixths of the time.
    EXPECT_EQ(QuickResponseGrey(0, 2.5), 0);
    EXPECT_EQ(QuickResponseGrey(1000, 2.5), 122);   // trunc(102 x 1.2)
    EXPECT_EQ(QuickResponseGrey(2084, 2.5), 254);
    EXPECT_EQ(QuickResponseGrey(2090, 2.5), 255);
    EXPECT_EQ(QuickResponseGrey(2500, 2.5), 255);
}

TEST(QuickResponse, LongMeaningsLoseTheirLastOnes)
{
    const struct {
        const char *in;
        const char *out;
    } cases[] = {
        {"見捨てる、置き去りにする", "見捨てる、置き去りにする"},
        {"あいうえおかきくけこ、さしすせそたちつてと、なにぬねのはひふへほ", "あいうえおかきくけこ、さしすせそたちつてと"},
        {"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ", "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ"},
        {"あいうえおかきくけこさしすせそたちつてとなにぬねの、は", "あいうえおかきくけこさしすせそたちつてとなにぬねの、は"},   // 27: kept
        {"あいうえおかきくけこさしすせそたちつてとなにぬねの、はひ", "あいうえおかきくけこさしすせそたちつてとなにぬねの"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QuickResponseMeanings(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

// Ten words, seven right: the misses-only pass counts 1 / 3 to 3 / 3 and
// lists those three; a second key on the same word changes nothing.
TEST(QuickResponse, MissesOnlyPassOverTheMissedWords)
{
    TQuickResponseDrill drill({11, 12, 13, 14, 15, 16, 17, 18, 19, 20});
    EXPECT_FALSE(drill.Press());   // before the first word (the intro)
    drill.BeginPass(false);
    while (drill.NextItem()) {
        EXPECT_EQ(drill.TotalInPass(), 10);
        if (drill.CurrentItem() % 3 != 0) {
            EXPECT_TRUE(drill.Press());
            EXPECT_FALSE(drill.Press());
        }
    }
    drill.EndPass();
    EXPECT_EQ(drill.ListedItems().size(), 10);
    EXPECT_TRUE(drill.AnyMissedInList());

    drill.BeginPass(true);
    QList<int> shown;
    while (drill.NextItem()) {
        EXPECT_EQ(drill.TotalInPass(), 3);
        EXPECT_EQ(drill.CountInPass(), static_cast<int>(shown.size()) + 1);
        shown.append(drill.CurrentItem());
        if (drill.CurrentItem() == 6)
            drill.Press();
    }
    drill.EndPass();
    EXPECT_EQ(shown, (QList<int>{3, 6, 9}));
    EXPECT_EQ(drill.ListedItems(), (QList<int>{3, 6, 9}));
    EXPECT_TRUE(drill.IsCorrect(6));
    EXPECT_FALSE(drill.IsCorrect(9));
    EXPECT_TRUE(drill.IsCorrect(1));   // right in the first pass, and stays so

    drill.BeginPass(true);   // only 3 and 9 are left
    int count = 0;
    while (drill.NextItem())
        ++count;
    EXPECT_EQ(count, 2);
    EXPECT_EQ(drill.TotalInPass(), 2);
}

// A word asked again right after its wrong answer is drilled once; the same
// word asked again later in the run stays a word of its own.
TEST(QuickResponse, ARetryInARowIsOneWord)
{
    const struct {
        QList<int> asked;
        QList<int> drilled;
    } cases[] = {
        {{11, 12, 12, 13}, {11, 12, 13}},
        {{11, 11, 11, 12}, {11, 12}},
        {{11, 12, 11, 12}, {11, 12, 11, 12}},
        {{}, {}},
    };
    for (const auto &c : cases) {
        TQuickResponseDrill drill(c.asked);
        QList<int> drilled;
        for (int item = 1; item <= drill.WordCount(); ++item)
            drilled.append(drill.WordAt(item));
        EXPECT_EQ(drilled, c.drilled);
    }
}
