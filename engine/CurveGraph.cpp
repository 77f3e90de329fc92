#include "engine/CurveGraph.h"

#include "engine/CommonUnit.h"

TCurveGraphInputs CurveGraphInputs(const TCC &cc, int position, bool forNewQuestion,
                                   std::optional<TStage> gradedStage)
{
    TCurveGraphInputs inputs;
    const TStage stage = TWordTable::IsPosition(position) ? cc.words[position].stage : TStage::One;
    const auto shows = [&](TStage s) { return stage == s || (forNewQuestion && gradedStage == s); };
    if (shows(TStage::One))
        inputs.background = TStage::One;
    else if (shows(TStage::Two))
        inputs.background = TStage::Two;
    else
        inputs.background = TStage::Three;
    if (inputs.background != TStage::Three && !forNewQuestion && TWordTable::IsPosition(position))
        inputs.curves = cc.RetentionCurvesOf(position);
    return inputs;
}
