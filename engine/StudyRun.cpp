// The engine side of a study run: file start, questions, grading, file end.
#include "engine/StudyRun.h"

#include "engine/CommonUnit.h"
#include "data/LearningFile.h"

namespace {
QString TooFewWordsText(const QString &title)
{
    return QStringLiteral("学習ファイル【 ") + title + QStringLiteral(" 】のデータが少なすぎます。最低でも ")
           + QString::number(kMinLearningWords) + QStringLiteral(" つのデータがないと起動できません。");
}
}

TFileOpenResult TCC::OpenNextLearningFile()
{
    if (!SelectNextLearningFile(true))
        return TFileOpenResult::QueueEmpty;
    return LoadCurrentLearningFile();
}

TFileOpenResult TCC::LoadCurrentLearningFile()
{
    LoadFileSettings();
    try {
        LoadLearningFile();
    } catch (const TLearningFileRefused &refused) {
        // The learner can go on with the other files; the record stays as it is.
        notifier->Error(refused.Message());
        return TFileOpenResult::Damaged;
    }
    if (TangoTotal() < kMinLearningWords) {
        notifier->Information(TooFewWordsText(catalog.rows[static_cast<size_t>(fileSlot)].Title));
        return TFileOpenResult::TooFewWords;
    }
    return TFileOpenResult::Opened;
}

bool TCC::BeginStudyRun()
{
    training.remaining = UsableQuota();
    training.correctToday = 0;
    training.retryPending = false;
    todaysQuestions.Clear();
    askedWords.Clear();
    question = {};
    // The first selection of the day is no retry and, unless it ends in one,
    // no random question.
    training.randomQuestion = false;
    return SelectNextQuestion(TSelectMode::FirstOfDay) != 0 || training.randomAcceptedToday;
}

TAskResult TCC::AskNextQuestion()
{
    if (QuotaUsedUp())
        return TAskResult::QuotaUsedUp;
    training.remaining -= 1;
    if (!PrepareQuestion()) {
        // No question was asked: the quota does not count one.
        training.remaining += 1;
        return TAskResult::NothingToAsk;
    }
    return TAskResult::Asked;
}

TTypedVerdict TCC::ValidateTyped(const QString &typed) const
{
    TTypedAnswerQuestion q;
    q.kind = HeadwordKind();
    const int correctWord = question.choices[static_cast<size_t>(question.correctPosition - 1)];
    if (TWordTable::IsPosition(correctWord))
        q.correctWord = words[correctWord].word;
    for (size_t i = 0; i < q.optionWords.size(); ++i)
        if (TWordTable::IsPosition(question.choices[i]))
            q.optionWords[i] = words[question.choices[i]].word;
    return ValidateTypedAnswer(q, typed);
}

bool TCC::JudgeAnswer(int chosenOption, bool inTime, const QString &typed) const
{
    if (inTime && chosenOption == question.correctPosition)
        return true;
    // A typed answer that matches counts even when no option was chosen.
    return ValidateTyped(typed) == TTypedVerdict::Correct;
}

TAnswerEffect TCC::GradeQuestion(bool correct)
{
    return CommitGrade(question.word, correct);
}

TAnswerEffect TCC::CommitGrade(int position, bool correct)
{
    TGradeOutcome outcome =
        GradeAnswer(words[position], training, {settings.firstTimeIncrement, clock.Today()}, correct);
    words[position] = std::move(outcome.word);
    training = outcome.training;
    return outcome.effect;
}

bool TCC::RunHasAnswers() const
{
    return AskedCount() > 0;
}

void TCC::EndLearningFile(bool save)
{
    if (save) {
        UpdateQuotaStatistics();
        settings.learningDays += 1;
        SaveAtFileEnd();
    }
    words.Clear();
    askedWords.Clear();
    todaysQuestions.Clear();
    training.retryPending = false;
    question = {};
}

TScriptedRunResult RunScriptedStudy(TCC &cc, const QList<TScriptedAnswer> &answers)
{
    TScriptedRunResult result;
    switch (cc.OpenNextLearningFile()) {
    case TFileOpenResult::QueueEmpty:
        result.end = TRunEnd::NoFile;
        return result;
    case TFileOpenResult::Damaged:
        cc.EndLearningFile(false);
        result.end = TRunEnd::DamagedFile;
        return result;
    case TFileOpenResult::TooFewWords:
        cc.EndLearningFile(false);
        result.end = TRunEnd::TooFewWords;
        return result;
    case TFileOpenResult::Opened:
        break;
    }
    // What the stage-notice window does: apply the rules, save the record.
    if (cc.AnyStageNoticeDue()) {
        cc.ApplyStageRules();
        cc.SaveRecordFile();
    }
    if (!cc.BeginStudyRun()) {
        cc.EndLearningFile(false);
        result.end = TRunEnd::NothingAtStart;
        return result;
    }
    for (qsizetype k = 0;; ++k) {
        if (cc.QuotaUsedUp()) {
            result.end = TRunEnd::QuotaUsedUp;
            break;
        }
        if (k >= answers.size()) {
            result.end = TRunEnd::ScriptEnded;
            break;
        }
        TQuestionRecord record;
        record.retry = cc.training.retryPending;
        if (cc.AskNextQuestion() != TAskResult::Asked) {
            result.end = TRunEnd::NothingToAsk;
            break;
        }
        const TScriptedAnswer &a = answers.at(k);
        const int w = cc.question.word;
        record.number = cc.AskedCount();
        record.word = w;
        record.headword = cc.words[w].word;
        record.levelBefore = cc.words[w].level;
        record.random = cc.training.randomQuestion;
        record.newWord = cc.training.newWord;
        record.typing = cc.question.typing.typing;
        record.choices = cc.question.choices;
        // A typing question shows no options to choose: a typed text decides.
        const bool chooses = !(cc.question.typing.typing && a.typed);
        const int chosen = chooses && a.correct ? cc.question.correctPosition : 0;
        record.correct = cc.JudgeAnswer(chosen, true, a.typed.value_or(QString()));
        cc.GradeQuestion(record.correct);
        record.levelAfter = cc.words[w].level;
        record.stageAfter = cc.words[w].stage;
        result.questions.append(record);
    }
    // Answers given before the file ended in the middle are kept.
    result.saved = result.end != TRunEnd::NothingToAsk || cc.RunHasAnswers();
    cc.EndLearningFile(result.saved);
    return result;
}
