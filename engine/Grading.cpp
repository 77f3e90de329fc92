// Grading as values and the typed-answer validator.
#include "engine/Grading.h"

#include "data/RecordFile.h"

namespace {
constexpr qint32 kSmallestIncrement = 1;
constexpr qint32 kMiddleIncrement = 2;
constexpr qint32 kStraightToStage2Increment = 6;

// The first-time increment as the rules use it: 1, 2 or 6, whatever a file holds.
qint32 FirstTimeLevel(qint32 setting)
{
    if (setting <= kSmallestIncrement)
        return kSmallestIncrement;
    return setting == kMiddleIncrement ? kMiddleIncrement : kStraightToStage2Increment;
}

bool IsLearningLevel(qint32 level)
{
    return level >= 0 && level <= kTopLevel;
}

void GradeCorrect(TGradeOutcome &o, const TGradingRules &rules)
{
    TTango &t = o.word;
    TTrainingState &training = o.training;
    ++training.correctToday;
    if (!training.randomQuestion && IsLearningLevel(t.level)) {
        const TStage stageBefore = t.stage;
        if (t.stage == TStage::Three || t.level == kTopLevel) {
            // unchanged
        } else if (t.level == 0) {
            t.level = training.retryPending ? 1 : FirstTimeLevel(rules.firstTimeIncrement);
        } else {
            ++t.level;
        }
        if (stageBefore == TStage::One && t.level >= kFirstStage2Level) {
            ClearStage1HistoryOf(t);
            o.effect.master = true;
        }
        if (training.retryPending) {
            // The retry's answer takes the place of the wrong answer's entry.
            if (t.stage != TStage::Three) {
                if (t.level < kFirstStage2Level)
                    t.stage1History = WithoutLastHistoryEntry(t.stage1History);
                else
                    t.stage2History = WithoutLastHistoryEntry(t.stage2History);
            }
        } else if (t.level < kFirstStage2Level) {
            CountUp(t.stage1Count);
        } else if (t.stage != TStage::Three) {
            CountUp(t.stage2Count);
        }
        RecordAnswerOn(t, rules.today);
    }
    training.retryPending = false;
}

void GradeWrong(TGradeOutcome &o, const TGradingRules &rules)
{
    TTango &t = o.word;
    TTrainingState &training = o.training;
    CountUp(t.wrongCount);
    // A level-6 word stays at 6, whether or not the question was a retry.
    if (!training.randomQuestion && t.stage != TStage::Three && t.level == kFirstStage2Level)
        o.effect.level6Miss = true;
    const bool changes = !training.retryPending && !training.randomQuestion && t.level != 0
                         && IsLearningLevel(t.level);
    if (changes && t.stage == TStage::Three) {
        RecordAnswerOn(t, rules.today);   // stage 3 is never left: the word is only rescheduled
    } else if (changes) {
        if (t.level != kFirstStage2Level && t.level != 1)   // stage 2 is never left by a wrong answer
            --t.level;
        if (t.level < kFirstStage2Level)
            CountUp(t.stage1Count);
        else
            CountUp(t.stage2Count);
        RecordAnswerOn(t, rules.today);
    }
    training.retryPending = true;
}

bool MatchesBeginning(const QString &form, const QString &typed)
{
    return form.startsWith(typed) || form.toLower().startsWith(typed) || FoldDiacritics(form).startsWith(typed);
}
}

TGradeOutcome GradeAnswer(const TTango &word, const TTrainingState &training, const TGradingRules &rules,
                          bool correct)
{
    TGradeOutcome o{word, training, {}};
    o.effect.previousLevel = word.level;
    o.effect.previousRetry = training.retryPending;
    if (correct)
        GradeCorrect(o, rules);
    else
        GradeWrong(o, rules);
    o.effect.level = o.word.level;
    return o;
}

TTypedVerdict ValidateTypedAnswer(const TTypedAnswerQuestion &question, const QString &typed)
{
    if (CheckTypedAnswer(question.correctWord, typed, question.kind))
        return TTypedVerdict::Correct;
    if (typed.isEmpty())
        return TTypedVerdict::Incomplete;
    std::array<QString, 3> forms;
    for (size_t i = 0; i < forms.size(); ++i)
        forms[i] = DisplayForm(question.optionWords[i], question.kind);
    if (question.kind == THeadwordKind::Phrase) {
        const QStringList choices(question.optionWords.begin(), question.optionWords.end());
        if (CheckTypedAnswerAlternatives(question.correctWord, typed, choices, question.kind))
            return TTypedVerdict::CompletesOption;
    } else {
        // An option typed in full ends the question, unless it is the
        // beginning of another option that may still be meant.
        for (size_t i = 0; i < forms.size(); ++i) {
            if (forms[i] != typed)
                continue;
            bool inside = false;
            for (size_t j = 0; j < forms.size(); ++j)
                if (j != i && forms[j].contains(typed))
                    inside = true;
            if (!inside)
                return TTypedVerdict::CompletesOption;
        }
    }
    for (const QString &form : forms)
        if (MatchesBeginning(form, typed))
            return TTypedVerdict::Incomplete;
    return TTypedVerdict::Wrong;
}
