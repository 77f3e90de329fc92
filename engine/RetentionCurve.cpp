// The forgetting curves of a word.
#include "engine/RetentionCurve.h"

#include "data/RecordFile.h"
#include "engine/CommonUnit.h"
#include "engine/MasteryLevels.h"

#include <cmath>

QList<TEntryCurve> BuildRetentionCurves(TStage stage, const QList<THistoryPoint> &entries)
{
    QList<TEntryCurve> curves;
    if (stage != TStage::One && stage != TStage::Two)
        return curves;
    float sx = 0;
    for (qsizetype k = 0; k < entries.size(); ++k) {
        const THistoryPoint &entry = entries.at(k);
        TEntryCurve curve;
        curve.level = entry.level;
        curve.startX = sx;
        curve.last = k + 1 == entries.size();
        float end = kCurvePlotRight;
        if (!curve.last) {
            if (stage == TStage::One) {
                end = std::trunc(float(entry.key + LevelInterval(entry.level)) / kCurveQuestionsPerPixel);
            } else {
                const qint64 days = entries.at(k + 1).key - entry.key;
                end = std::trunc(float(days) / kCurveDaysPerPixel + sx);
            }
        }
        if (entry.level < 1 || entry.level > kTopLevel) {
            // No curve is known for such a level: the next entry begins where this one ends.
            curves.append(curve);
            sx = curve.last ? sx : end;
            continue;
        }
        const TCurveCoefficients co = kCurveCoefficients[static_cast<size_t>(entry.level)];
        float x = sx;
        float y = 0;
        if (x <= kCurveVisibleRight)
            curve.points.append({x, y});
        for (int j = 1;; ++j) {
            const float drop = co.b - float(j) * co.c;
            const float nextY = drop > 0 ? y + drop : y;
            const float nextX = x + (co.a + float(j) * co.c);
            if (curve.last ? nextX > kCurvePlotRight : nextX > end) {
                if (!curve.last) {
                    curve.returnsToTop = true;
                    curve.returnX = x;
                    curve.returnY = y;
                    sx = nextX;
                }
                break;
            }
            if (nextX <= x) {
                // The step no longer moves x at this distance: end the entry at its end.
                curve.returnsToTop = !curve.last;
                curve.returnX = x;
                curve.returnY = y;
                sx = end;
                break;
            }
            x = nextX;
            y = nextY;
            if (x <= kCurveVisibleRight)
                curve.points.append({x, y});
        }
        curves.append(curve);
    }
    return curves;
}

QList<TEntryCurve> TCC::RetentionCurvesOf(int position) const
{
    const TTango &t = words[position];
    QList<THistoryPoint> entries;
    if (t.stage == TStage::One) {
        for (int k = 1; k <= t.stage1Count; ++k) {
            const TStage1Entry e = Stage1EntryAt(t, k);
            entries.append({e.question, e.level});
        }
    } else if (t.stage == TStage::Two) {
        for (int k = 1; k <= t.stage2Count; ++k) {
            const TStage2Entry e = Stage2EntryAt(t, k);
            entries.append({e.day, e.level});
        }
    }
    return BuildRetentionCurves(t.stage, entries);
}
