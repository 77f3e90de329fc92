// The word table's stage-1 counters, raised for all words at once, and the
// list of records changed through it.
#include "data/RecordFile.h"
#include "data/WordTable.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

namespace {
constexpr int kTotal = 8;
constexpr int kRaises = 5;
constexpr qint32 kLargest = std::numeric_limits<qint32>::max();

struct TCounterCase {
    int position;
    qint32 counter;
    bool limit;
    qint32 expected;   // after kRaises raises over positions 1..kTotal
};

// What every counter does when the raise reaches it, and what it never
// touches: an unasked word, a damaged negative counter, a word held by its
// limit, one past the raised positions, one at the largest value.
const TCounterCase kCounterCases[] = {
    {1, 1, false, 1 + kRaises},
    {2, 0, false, 0},
    {3, -4, false, -4},
    {4, 40, true, 40},
    {5, kLargest - 2, false, kLargest},
    {6, 460, false, 460 + kRaises},
    {kTotal + 1, 3, false, 3},
};

void Fill(TWordTable &table)
{
    for (const TCounterCase &c : kCounterCases) {
        TTango &t = table[c.position];
        t.word = QStringLiteral("w%1").arg(c.position);
        t.stage1Counter = c.counter;
        t.stage1Limit = c.limit;
    }
}
}

TEST(WordTable, RaisedCountersReadAndSaveAsIfEachHadCountedUp)
{
    TWordTable raised;
    TWordTable counted;
    Fill(raised);
    Fill(counted);
    for (int k = 0; k < kRaises; ++k) {
        raised.RaiseStage1Counters(kTotal);
        for (int p = 1; p <= kTotal; ++p) {
            TTango &t = counted[p];
            if (t.stage1Counter >= 1 && !t.stage1Limit)
                CountUp(t.stage1Counter);
        }
    }
    for (const TCounterCase &c : kCounterCases)
        EXPECT_EQ(std::as_const(raised)[c.position].stage1Counter, c.expected) << "position " << c.position;
    EXPECT_EQ(RecordFileBytes(raised, kTotal + 1), RecordFileBytes(counted, kTotal + 1));
}

TEST(WordTable, AWrittenCounterCountsOnFromItsNewValue)
{
    TWordTable table;
    Fill(table);
    table.RaiseStage1Counters(kTotal);
    table[1].stage1Counter = 1;    // asked again
    table[4].stage1Limit = false;  // freed from its limit: counts from 40 on
    table[5].stage1Counter = 0;    // history cleared
    const TTango kept = table[6];
    table.RaiseStage1Counters(kTotal);
    table.RaiseStage1Counters(kTotal);
    EXPECT_EQ(table[1].stage1Counter, 3);
    EXPECT_EQ(table[4].stage1Counter, 42);
    EXPECT_EQ(table[5].stage1Counter, 0);
    EXPECT_EQ(table[6].stage1Counter, 463);
    // A record put back is as it was when it was taken, and counts on from there.
    table[6] = kept;
    EXPECT_EQ(table[6].stage1Counter, 461);
    table.RaiseStage1Counters(kTotal);
    EXPECT_EQ(table[6].stage1Counter, 462);
}

TEST(WordTable, RaisesReachOnlyThePositionsTheyWereMadeFor)
{
    TWordTable table;
    Fill(table);
    table.RaiseStage1Counters(kTotal);
    table.RaiseStage1Counters(kTotal + 1);   // the file grew by one word
    table.RaiseStage1Counters(kTotal - 1);   // and lost two
    EXPECT_EQ(table[kTotal + 1].stage1Counter, 4);
    EXPECT_EQ(table[6].stage1Counter, 463);
    EXPECT_EQ(table[1].stage1Counter, 4);
}

TEST(WordTable, WritesAreListedReadsAreNot)
{
    TWordTable table;
    EXPECT_TRUE(table.AllChanged());   // nothing read yet
    table.ForgetChanges();
    const TWordTable &reading = table;
    EXPECT_EQ(reading[3].level, 0);
    EXPECT_TRUE(table.ChangedPositions().empty());
    table[5].level = 2;
    table[3].level = 1;
    table[5].stage1Counter = 1;
    EXPECT_EQ(table.ChangedPositions(), (std::vector<int>{5, 3}));
    EXPECT_FALSE(table.AllChanged());
    table.ForgetChanges();
    for (int p = 1; p <= kMaxWords; ++p)
        table[p].number = p;
    EXPECT_TRUE(table.AllChanged());
    table.ForgetChanges();
    table.Clear();
    EXPECT_TRUE(table.AllChanged());
}
