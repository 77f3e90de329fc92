#pragma once
// What the training window tells the learner once a question is graded, as
// plain functions of plain values: the one-line explanation of the level
// change under the word line, the hint that names the word the learner typed
// instead, the verb hint on the option labels, and the timing of the answer
// glimpse of typing questions.
#include "data/WordTable.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <functional>

// Everything the explanation line depends on.
struct TExplanationInput {
    int level = 0;               // the word's level now (99: excluded)
    int previousLevel = 0;       // its level before the last answer
    TStage stage = TStage::One;   // its stage now
    bool randomQuestion = false; // the last question was a random question
    bool newWord = false;        // the last question asked the word for the first time
    bool previousRetry = false;  // the last answer was given to a retry question
    bool correct = false;        // the last answer was correct
    bool level6Miss = false;     // a wrong answer left a level-6 word at 6
    int firstTimeIncrement = 2;  // level a new word rises to when first answered correctly
};

// The explanation line of the word panel: "※ " and what happened to the
// word's level, or empty when a new word stays at level 0.
QString ExplanationLine(const TExplanationInput &in);

// The hint after a wrong typed answer that is another word of the file:
// "※ " + typed + " ･･･ " + that word's meaning. Words 1..wordCount are searched
// in order for the first whose display form is the typed text; nothing when
// the typed text is empty, is one of the options' display forms, or is no
// word of the file.
QString TypedWordHint(const QString &typed, const std::array<QString, 3> &optionForms, int wordCount,
                      const std::function<QString(int)> &displayFormOf,
                      const std::function<QString(int)> &meaningOf);

// The mouse-over hints of the three option labels after grading: an
// intransitive verb (its stored headword contains "_i") shows the hint on the
// label at the correct position; every other label has none.
std::array<QString, 3> OptionVerbHints(const QString &storedHeadword, int correctPosition);
inline const QString kIntransitiveVerbHint = QStringLiteral("<v.i.>･･･自動詞");

// The answer glimpse: how often the answer flashes and how long each flash
// stays, from the glimpse setting (0..1000, 1000 most visible).
struct TGlimpseFlashes {
    int count = 0;
    int milliseconds = 0;
};
TGlimpseFlashes GlimpseFlashesOf(int glimpseSetting);

// Keys that ask for a glimpse repeat while held down; a glimpse starts at
// most once in this interval.
inline constexpr qint64 kGlimpseKeyInterval = 200;

class TGlimpseThrottle {
public:
    // True (and the time is kept) when a glimpse may start at this tick count.
    bool Allow(qint64 nowMs);
    void Reset() { m_started = false; }

private:
    bool m_started = false;
    qint64 m_last = 0;
};
