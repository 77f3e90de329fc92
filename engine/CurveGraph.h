#pragma once
// What the forgetting-curve graph below the question draws for a word: the
// background of its stage and the curves of its history. A new question
// shows only the background; a stage-3 word has no curve at all.
#include "engine/RetentionCurve.h"

#include <QList>
#include <optional>

class TCC;

// The graph's origin (left end of the time axis at full retention) inside
// its 800 × 175 picture.
inline constexpr int kCurveGraphOriginX = 73;
inline constexpr int kCurveGraphOriginY = 48;

struct TCurveGraphInputs {
    TStage background = TStage::One;   // which stage picture lies behind the curves
    QList<TEntryCurve> curves;         // empty for a new question and for stage 3
};

// gradedStage: the stage the word graded last ended in, looked at only for a
// new question (the background then follows that word).
TCurveGraphInputs CurveGraphInputs(const TCC &cc, int position, bool forNewQuestion,
                                   std::optional<TStage> gradedStage);
