#pragma once
// The forgetting curves of a word's history, as data for the curve panel.
//
// Every history entry of the word's current stage starts a curve at full
// retention (y = 0) at its horizontal position and steps right and down:
// step j moves right by a + j·c and down by b − j·c while that is positive.
// An entry's curve ends where the next entry begins (stage 1: its question
// number plus the interval of its level; stage 2: the next entry's date),
// with a vertical line back to the top; the last entry's curve runs to the
// plot's right edge. Coordinates are pixels from the left end of the time
// axis at full retention, y growing downwards; the panel adds its origin.
#include "data/WordTable.h"

#include <QList>
#include <QtGlobal>
#include <array>

inline constexpr float kCurvePlotRight = 710.0f;         // the last curve runs to here
inline constexpr float kCurveQuestionsPerPixel = 2.2857f; // 1600 questions over 700 pixels
inline constexpr float kCurveDaysPerPixel = 1.14285f;     // 800 days over 700 pixels
// Points further right than this cannot show in the 800-pixel panel; the
// steps are still counted to find where the next curve begins.
inline constexpr float kCurveVisibleRight = 800.0f;

struct TCurveCoefficients {
    float a;   // horizontal step
    float b;   // vertical drop
    float c;   // change of both per step
};
// By level 1..12 (index 0 unused).
inline constexpr std::array<TCurveCoefficients, 13> kCurveCoefficients = {{
    {0.0f, 0.0f, 0.0f},
    {0.7f, 4.0f, 0.088f},
    {1.35f, 2.37f, 0.038f},
    {1.7f, 0.9f, 0.007f},
    {3.2f, 0.85f, 0.013f},
    {4.0f, 0.688f, 0.01f},
    {1.35f, 2.0f, 0.023f},
    {1.9f, 0.91f, 0.0055f},
    {3.4f, 0.9f, 0.006f},
    {3.6f, 0.7f, 0.0042f},
    {3.8f, 0.62f, 0.0035f},
    {4.2f, 0.55f, 0.003f},
    {4.33f, 0.46f, 0.002f},
}};

struct TCurvePoint {
    float x = 0;
    float y = 0;
};

struct TEntryCurve {
    qint32 level = 0;
    float startX = 0;              // where the entry begins (the "▼" of the last entry)
    bool last = false;             // the word's last entry
    // The polyline, from (startX, 0); only points up to kCurveVisibleRight.
    QList<TCurvePoint> points;
    // Earlier entries: a vertical line at (returnX, returnY), the curve's last
    // point, back up to full retention.
    bool returnsToTop = false;
    float returnX = 0;
    float returnY = 0;
};

// The curves of one history, given entry by entry. Stage 1: keys are
// question numbers; stage 2: Julian days.
struct THistoryPoint {
    qint64 key = 0;
    qint32 level = 0;
};
QList<TEntryCurve> BuildRetentionCurves(TStage stage, const QList<THistoryPoint> &entries);
