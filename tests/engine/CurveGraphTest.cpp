#include "data/RecordFile.h"
#include "engine/CurveGraph.h"
#include "support/EngineFolder.h"

#include <gtest/gtest.h>

namespace {
void SetWord(TTango &t, TStage stage, qint32 level, const QString &stage1History, const QString &stage2History)
{
    t.stage = stage;
    t.level = level;
    t.stage1History = stage1History;
    t.stage1Count = HistoryEntryCount(stage1History);
    t.stage2History = stage2History;
    t.stage2Count = HistoryEntryCount(stage2History);
    RebuildHistoryArrays(t);
}
}

TEST(CurveGraph, BackgroundAndCurvesFollowTheWordsStage)
{
    TEngineFolder e(QStringLiteral("TT"), 6, 3);
    SetWord(e.cc.words[1], TStage::One, 3, QStringLiteral("0[2]40[3]"), QString());
    SetWord(e.cc.words[2], TStage::Two, 7, QStringLiteral("0[2]40[3]"),
            QStringLiteral("2009/6/1[6]2009/6/21[7]2009/7/1[7]"));
    SetWord(e.cc.words[3], TStage::Three, 10, QString(), QString());

    struct Case {
        const char *name;
        int position;
        bool forNewQuestion;
        std::optional<TStage> graded;
        TStage background;
        QList<qint32> curveLevels;
    };
    const Case cases[] = {
        {"stage 1 after the answer", 1, false, std::nullopt, TStage::One, {2, 3}},
        {"stage 2 after the answer", 2, false, std::nullopt, TStage::Two, {6, 7, 7}},
        {"stage 3: no curve", 3, false, std::nullopt, TStage::Three, {}},
        {"new question: background only", 2, true, std::nullopt, TStage::Two, {}},
        // A new stage-3 question right after a word that ended in stage 1.
        {"new question after a stage-1 word", 3, true, TStage::One, TStage::One, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TCurveGraphInputs inputs = CurveGraphInputs(e.cc, c.position, c.forNewQuestion, c.graded);
        EXPECT_EQ(inputs.background, c.background);
        QList<qint32> levels;
        for (const TEntryCurve &curve : inputs.curves)
            levels.append(curve.level);
        EXPECT_EQ(levels, c.curveLevels);
        // Each curve begins one step past the line where the one before went
        // back to the top; only the last one runs on to the right edge.
        for (int k = 0; k < inputs.curves.size(); ++k) {
            const TEntryCurve &curve = inputs.curves[k];
            EXPECT_EQ(curve.last, k == inputs.curves.size() - 1);
            EXPECT_EQ(curve.returnsToTop, !curve.last);
            if (k > 0) {
                EXPECT_GT(curve.startX, inputs.curves[k - 1].returnX);
            }
            ASSERT_FALSE(curve.points.isEmpty());
            EXPECT_GE(curve.points.last().y, curve.points.first().y);   // retention only falls
        }
    }
    // Stage 2 entries 20 and 10 days apart: the second curve starts 20 days in.
    const TCurveGraphInputs stage2 = CurveGraphInputs(e.cc, 2, false, std::nullopt);
    ASSERT_EQ(stage2.curves.size(), 3);
    EXPECT_EQ(stage2.curves[0].startX, 0.0f);
    EXPECT_NEAR(stage2.curves[1].startX, 20.0f / kCurveDaysPerPixel, 4.0f);
}
