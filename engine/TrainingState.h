#pragma once
// The training flags that the learning rules, the question selection and the
// main window share. The study run's state (TRunState, engine/StudyRun.h)
// holds one; the run's steps and the level rules act on it, the main window
// reads it.
#include <QtGlobal>

struct TTrainingState {
    // The previous answer was wrong: the same word is the next question, and
    // the answer to that retry replaces the history entry of the wrong one.
    bool retryPending = false;
    // The current question is a random question: its answer changes no level.
    bool randomQuestion = false;
    // The current question is a word that was never asked before.
    bool newWord = false;
    // The learner chose to go on with random questions; stays set until the
    // program ends.
    bool randomAcceptedToday = false;
    // Correct answers in this study run of the current file, random questions
    // included.
    qint32 correctToday = 0;
    // Questions left of the daily quota (starts at TCC::UsableQuota()); below
    // 0 once more questions were asked than the quota holds, and always
    // without a quota.
    qint32 remaining = 0;
};

// What new settings of a file mean for the run: no retry pending, nothing
// correct yet, the whole quota left.
inline void StartTrainingAfresh(TTrainingState &training, int usableQuota)
{
    training.retryPending = false;
    training.correctToday = 0;
    training.remaining = usableQuota;
}
