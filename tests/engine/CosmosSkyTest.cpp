// The star view's colours and pictures follow the words' records.
#include "engine/CommonUnit.h"
#include "engine/CosmosSky.h"

#include <gtest/gtest.h>

namespace {
const QDate kToday(2009, 7, 5);

TTango Word(int level, int asked, int wrong = 0, int resets = 0, const QString &stage2 = {})
{
    TTango t;
    t.level = level;
    t.timesAsked = asked;
    t.wrongCount = wrong;
    t.resetCount = resets;
    t.stage2History = stage2;
    t.stage = level >= 6 && level <= 12 ? TStage::Two : TStage::One;
    return t;
}
}

// Words whose colour no random draw can change.
TEST(CosmosSky, StarColoursFollowTheRecord)
{
    const struct {
        const char *what;
        TTango word;
        TStarColour colour;
    } cases[] = {
        {"never asked", Word(0, 0), {0, 0, 0}},
        {"level 3, asked 10 times", Word(3, 10), {52, 52, 52}},
        // 4 x 40 misses would be 160: the red tint stops at 150.
        {"missed 40 times", Word(3, 50, 40), {242, 92, 92}},
        {"started over twice", Word(2, 12, 3, 2), {40 + 72, 40, 40}},
        // Known for 100 days: green 100 / 20 = 5.
        {"level 8 for 100 days", Word(8, 10, 2, 0, QStringLiteral("2009/3/27[6]2009/4/16[7]")), {130, 127, 122}},
        // Pale words of stage 2 get red and blue up to 110.
        {"level 6, little asked", Word(6, 4, 0, 0, QStringLiteral("2009/6/15[6]")), {110, 89, 110}},
        {"excluded", Word(kExcludedLevel, 3), {150, 240, 240}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TRandom random(1);
        const TStarColour colour = StarColour(c.word, kToday, random);
        EXPECT_EQ(colour.red, c.colour.red);
        EXPECT_EQ(colour.green, c.colour.green);
        EXPECT_EQ(colour.blue, c.colour.blue);
    }
}

TEST(CosmosSky, PicturesAppearAsWordsLeaveStage1)
{
    TCC cc;
    TRandom draw(4);
    for (int p = 1; p <= 3000; ++p) {
        cc.words[p].starX = draw.Between(1, 1024);
        cc.words[p].starY = draw.Between(1, 768);
    }
    const auto layoutWith = [&](int beyond) {
        for (int p = 1; p <= 3000; ++p)
            cc.words[p].stage = p <= beyond ? TStage::Two : TStage::One;
        return ArrangeSky(cc.words, 3000, 7, 3);
    };
    // A new file: a dark sky with its three lines and the special star only.
    TSkyLayout sky = layoutWith(0);
    EXPECT_TRUE(sky.labelsShown);
    for (int n = 0; n < kSmallPictures; ++n)
        EXPECT_EQ(sky.small[static_cast<size_t>(n)].shown, n == 7) << n;
    EXPECT_EQ(sky.galaxy, -1);

    const struct {
        int beyond;
        int lastSmallShown;   // the highest of pictures 0..4 shown, -1 for none
        bool labels;
        int galaxy;
    } steps[] = {
        {299, -1, true, -1}, {300, -1, false, -1}, {301, 0, false, -1}, {601, 1, false, -1},
        {999, 1, false, -1}, {1000, 1, false, 3},  {1001, 2, false, 3}, {1501, 3, false, 3}, {2400, 3, false, 3},
        {2401, 4, false, 3},
    };
    for (const auto &s : steps) {
        SCOPED_TRACE(s.beyond);
        sky = layoutWith(s.beyond);
        for (int n = 0; n <= 4; ++n)
            EXPECT_EQ(sky.small[static_cast<size_t>(n)].shown, n <= s.lastSmallShown) << n;
        EXPECT_EQ(sky.labelsShown, s.labels);
        EXPECT_EQ(sky.galaxy, s.galaxy);
    }
}
