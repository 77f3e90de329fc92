#include "data/RecordFile.h"
#include "engine/RetentionCurve.h"
#include "support/EngineFolder.h"

#include <gtest/gtest.h>

namespace {
constexpr float kTolerance = 1e-3f;
}

TEST(RetentionCurve, EarlierEntryEndsAtTheNextAndReturnsToTheTop)
{
    // Level 2 at question 0, level 3 at question 40: the first curve ends at
    // (0 + 40) / 2.2857 = 17.5 -> pixel 17.
    const QList<TEntryCurve> curves = BuildRetentionCurves(TStage::One, {{0, 2}, {40, 3}});
    ASSERT_EQ(curves.size(), 2);
    const TEntryCurve &first = curves[0];
    EXPECT_FALSE(first.last);
    EXPECT_EQ(first.startX, 0.0f);
    // Steps j = 1..10 stay at or left of 17: x = 1.35 j + 0.038 j (j + 1) / 2.
    ASSERT_EQ(first.points.size(), 11);
    EXPECT_NEAR(first.points[1].x, 1.388f, kTolerance);
    EXPECT_NEAR(first.points[1].y, 2.332f, kTolerance);
    EXPECT_NEAR(first.points[10].x, 15.59f, kTolerance);
    EXPECT_NEAR(first.points[10].y, 21.61f, kTolerance);
    EXPECT_TRUE(first.returnsToTop);
    EXPECT_NEAR(first.returnX, 15.59f, kTolerance);
    EXPECT_NEAR(first.returnY, 21.61f, kTolerance);
    // Step 11 passed the end; the next curve begins there.
    const TEntryCurve &second = curves[1];
    EXPECT_TRUE(second.last);
    EXPECT_NEAR(second.startX, 17.358f, kTolerance);
    EXPECT_EQ(second.points.first().y, 0.0f);
    EXPECT_FALSE(second.returnsToTop);
    EXPECT_LE(second.points.last().x, kCurvePlotRight);
    const float a = 1.7f, c = 0.007f;
    const int j = static_cast<int>(second.points.size());   // the step that passed 710
    EXPECT_GT(second.points.last().x + a + float(j) * c, kCurvePlotRight);
}

TEST(RetentionCurve, DropStopsWhenItWouldTurnUpwards)
{
    // Level 1: the drop 4 - 0.088 j is positive up to j = 45 and 0 afterwards.
    const QList<TEntryCurve> curves = BuildRetentionCurves(TStage::One, {{0, 1}});
    ASSERT_EQ(curves.size(), 1);
    const QList<TCurvePoint> &p = curves[0].points;
    ASSERT_GT(p.size(), 47);
    EXPECT_GT(p[45].y, p[44].y);
    EXPECT_EQ(p[46].y, p[45].y);
    EXPECT_EQ(p.last().y, p[45].y);
}

TEST(RetentionCurve, StageTwoSpacesEntriesByDays)
{
    TEngineFolder e;
    TTango &t = e.cc.words[1];
    t.stage = TStage::Two;
    t.level = 7;
    t.stage2History = QStringLiteral("2009/12/20[6]2010/1/9[7]");
    t.stage2Count = 2;
    RebuildHistoryArrays(t);
    const QList<TEntryCurve> curves = e.cc.RetentionCurvesOf(1);
    ASSERT_EQ(curves.size(), 2);
    EXPECT_EQ(curves[0].level, 6);
    // 20 days / 1.14285 = 17.5 -> 17: level 6 steps 1.35 j + 0.023 j (j + 1) / 2
    // pass it at j = 12 (17.994).
    EXPECT_NEAR(curves[1].startX, 17.994f, kTolerance);
    EXPECT_EQ(curves[1].level, 7);

    t.stage = TStage::Three;
    EXPECT_TRUE(e.cc.RetentionCurvesOf(1).isEmpty());
}

TEST(RetentionCurve, OddEntriesNeverHang)
{
    // A level with no curve, and a question number far beyond the plot.
    const QList<TEntryCurve> curves =
        BuildRetentionCurves(TStage::One, {{0, 0}, {10, 2}, {2000000000, 1}, {2000000016, 1}});
    ASSERT_EQ(curves.size(), 4);
    EXPECT_TRUE(curves[0].points.isEmpty());
    EXPECT_EQ(curves[1].startX, 0.0f);   // level 0 has no interval: the next entry starts at once
    EXPECT_GT(curves[3].startX, kCurveVisibleRight);
    EXPECT_TRUE(curves[3].points.isEmpty());
    for (const TEntryCurve &c : curves)
        for (const TCurvePoint &p : c.points)
            EXPECT_LE(p.x, kCurveVisibleRight);
}
