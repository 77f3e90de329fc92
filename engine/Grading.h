#pragma once
// Grading: what one answer changes, computed as values. GradeAnswer takes
// the word and the run's state as they are and returns the word after the
// answer, the run's state after it and the effect the window shows; the
// caller commits them by assignment. Nothing is changed until then, so a
// caller can look at the outcome first, and a failure half-way changes
// nothing.
//
// The answer validator says what a typed text is worth for a question: the
// key handler ends the question on a correct text or a completed option,
// and grading counts only a correct one.
#include "data/WordTable.h"
#include "engine/AnswerCheck.h"
#include "engine/MasteryLevels.h"
#include "engine/TrainingState.h"

#include <QDate>
#include <QStringList>
#include <array>

// What grading needs besides the word and the run's state.
struct TGradingRules {
    qint32 firstTimeIncrement = 2;   // the file's setting: level of a new word answered correctly
    QDate today;                     // due dates and stage-2 history entries
};

struct TGradeOutcome {
    TTango word;                 // the word after the answer
    TTrainingState training;     // the run's state after the answer
    TAnswerEffect effect;        // what the window shows
};

// Correct: correct today + 1 and, unless the question is random, the level
// rises (a new word to the first-time increment, a retry of level 0 to 1;
// none in stage 3 or at 12) with its history entry; retry pending is
// cleared. Wrong: the wrong count grows; unless the question is a retry,
// random or the level is 0, the level falls by one (6 and 1 stay; stage 3
// only reschedules) with its history entry; retry pending is set.
TGradeOutcome GradeAnswer(const TTango &word, const TTrainingState &training, const TGradingRules &rules,
                          bool correct);

// What a typed text is worth for the question on screen.
enum class TTypedVerdict {
    Correct,           // an accepted form of the correct word: the answer is right
    CompletesOption,   // exactly another option: the question ends, graded wrong
    Incomplete,        // nothing typed yet, or the beginning of an option: typing goes on
    Wrong,             // no option begins with it
};

// The words of a question as the validator sees them.
struct TTypedAnswerQuestion {
    QString correctWord;                  // stored headword of the word asked
    std::array<QString, 3> optionWords;   // stored headwords of options 1..3
    THeadwordKind kind = THeadwordKind::Word;
};

TTypedVerdict ValidateTypedAnswer(const TTypedAnswerQuestion &question, const QString &typed);

// The question ends on this verdict while the learner types.
constexpr bool EndsTheQuestion(TTypedVerdict verdict)
{
    return verdict == TTypedVerdict::Correct || verdict == TTypedVerdict::CompletesOption;
}
