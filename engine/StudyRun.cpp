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

TFileOpenResult TStudyRun::OpenNextFile()
{
    if (!SelectNextLearningFile(true))
        return TFileOpenResult::QueueEmpty;
    return LoadCurrentFile();
}

TFileOpenResult TStudyRun::LoadCurrentFile()
{
    m_cc.LoadFileSettings();
    try {
        m_cc.LoadLearningFile();
    } catch (const TLearningFileRefused &refused) {
        // The learner can go on with the other files; the record stays as it is.
        m_cc.context.notifier->Error(refused.Message());
        return TFileOpenResult::Damaged;
    }
    if (m_cc.TangoTotal() < kMinLearningWords) {
        m_cc.context.notifier->Information(
            TooFewWordsText(m_cc.catalogs.catalog.rows[static_cast<size_t>(m_cc.context.fileSlot)].Title));
        return TFileOpenResult::TooFewWords;
    }
    return TFileOpenResult::Opened;
}

bool TStudyRun::StageNoticeDue() const
{
    return m_cc.AnyStageNoticeDue();
}

TStageNoticeLists TStudyRun::ApplyStageRules()
{
    return m_cc.ApplyStageRules();
}

TBeginResult TStudyRun::Begin()
{
    TTrainingState &training = state.training;
    training.remaining = m_cc.UsableQuota();
    training.correctToday = 0;
    training.retryPending = false;
    state.raisesSinceJournal = 0;
    m_journalRefused = false;
    state.todaysQuestions.Clear();
    state.askedWords.Clear();
    state.question = {};
    // The first selection of the day is no retry and, unless it ends in one,
    // no random question.
    training.randomQuestion = false;
    const TSelection first = Select(TSelectMode::FirstOfDay);
    if (first.needsLearnersChoice)
        return TBeginResult::NoQuestions;
    return first.word != 0 || training.randomAcceptedToday ? TBeginResult::Ready : TBeginResult::NothingToAsk;
}

TAskResult TStudyRun::Ask()
{
    if (QuotaUsedUp())
        return TAskResult::QuotaUsedUp;
    // The quota counts the question before it is chosen (the asked-word
    // list's index); a question not asked gives it back.
    state.training.remaining -= 1;
    const TAskResult result = PrepareQuestion();
    if (result != TAskResult::Asked)
        state.training.remaining += 1;
    return result;
}

TTypedVerdict TStudyRun::ValidateTyped(const QString &typed) const
{
    const TQuestion &question = state.question;
    const TWordTable &words = m_cc.wordRecords.words;
    TTypedAnswerQuestion q;
    q.kind = m_cc.HeadwordKind();
    const int correctWord = question.choices[static_cast<size_t>(question.correctPosition - 1)];
    if (TWordTable::IsPosition(correctWord))
        q.correctWord = words[correctWord].word;
    for (size_t i = 0; i < q.optionWords.size(); ++i)
        if (TWordTable::IsPosition(question.choices[i]))
            q.optionWords[i] = words[question.choices[i]].word;
    return ValidateTypedAnswer(q, typed);
}

bool TStudyRun::Judge(int chosenOption, bool inTime, const QString &typed) const
{
    if (inTime && chosenOption == state.question.correctPosition)
        return true;
    // A typed answer that matches counts even when no option was chosen.
    return ValidateTyped(typed) == TTypedVerdict::Correct;
}

TAnswerEffect TStudyRun::Grade(bool correct)
{
    const TAnswerEffect effect = m_cc.CommitGrade(state.question.word, correct);
    JournalAnswer(correct);
    return effect;
}

void TStudyRun::SaveFileEnd()
{
    TFileSettings &settings = m_cc.settingsStore.settings;
    const TFileSettings before = settings;
    m_cc.UpdateQuotaStatistics();
    settings.learningDays += 1;
    try {
        m_cc.SaveAtFileEnd();
    } catch (...) {
        // Nothing was written: the day is not counted twice on a retry.
        settings = before;
        throw;
    }
}

void TStudyRun::End(bool save)
{
    if (save)
        SaveFileEnd();
    m_journal.Remove();
    m_cc.wordRecords.words.Clear();
    state.askedWords.Clear();
    state.todaysQuestions.Clear();
    state.training.retryPending = false;
    state.question = {};
}

// Decided first (GradeAnswer computes the outcome as values), then committed.
TAnswerEffect TCC::CommitGrade(int position, bool correct)
{
    TGradeOutcome outcome = GradeAnswer(wordRecords.words[position], studyRun.state.training,
                                        {settingsStore.settings.firstTimeIncrement, context.clock.Today()}, correct);
    wordRecords.words[position] = std::move(outcome.word);
    studyRun.state.training = outcome.training;
    return outcome.effect;
}

// ---- the headless forwards: noQuestions answers for the learner ------------

bool TCC::BeginStudyRun()
{
    for (;;) {
        switch (studyRun.Begin()) {
        case TBeginResult::Ready:
            return true;
        case TBeginResult::NothingToAsk:
            return false;
        case TBeginResult::NoQuestions:
            if (!AnswerNoQuestions())
                return false;
            break;
        }
    }
}

TAskResult TCC::AskNextQuestion()
{
    for (;;) {
        const TAskResult result = studyRun.Ask();
        if (result != TAskResult::NoQuestions)
            return result;
        if (!AnswerNoQuestions())
            return TAskResult::NothingToAsk;
    }
}

// ---- headless runs --------------------------------------------------------

namespace {
TRunEnd EndOfRefusedFile(TFileOpenResult opened)
{
    switch (opened) {
    case TFileOpenResult::Damaged:
        return TRunEnd::DamagedFile;
    case TFileOpenResult::TooFewWords:
        return TRunEnd::TooFewWords;
    case TFileOpenResult::QueueEmpty:
    case TFileOpenResult::Opened:
        break;
    }
    return TRunEnd::NoFile;
}

TQuestionRecord RecordOf(const TCC &cc, const TRunState &run, bool retry)
{
    const TQuestion &q = run.question;
    const TTango &t = cc.wordRecords.words[q.word];
    TQuestionRecord record;
    record.retry = retry;
    record.number = cc.studyRun.AskedCount();
    record.word = q.word;
    record.headword = t.word;
    record.levelBefore = t.level;
    record.random = run.training.randomQuestion;
    record.newWord = run.training.newWord;
    record.typing = q.typing.typing;
    record.choices = q.choices;
    return record;
}
}

TScriptedRunResult RunScriptedStudy(TCC &cc, const QList<TScriptedAnswer> &answers)
{
    TStudyRun &run = cc.studyRun;
    TScriptedRunResult result;
    const TFileOpenResult opened = run.OpenNextFile();
    if (opened != TFileOpenResult::Opened) {
        if (opened != TFileOpenResult::QueueEmpty)
            run.End(false);
        result.end = EndOfRefusedFile(opened);
        return result;
    }
    // What the stage-notice window does: apply the rules, save the record.
    if (run.StageNoticeDue()) {
        run.ApplyStageRules();
        cc.SaveRecordFile();
    }
    if (!cc.BeginStudyRun()) {
        run.End(false);
        result.end = TRunEnd::NothingAtStart;
        return result;
    }
    for (const TScriptedAnswer &a : answers) {
        const bool retry = run.state.training.retryPending;
        const TAskResult asked = cc.AskNextQuestion();
        if (asked != TAskResult::Asked) {
            result.end = asked == TAskResult::QuotaUsedUp ? TRunEnd::QuotaUsedUp : TRunEnd::NothingToAsk;
            break;
        }
        TQuestionRecord record = RecordOf(cc, run.state, retry);
        // A typing question shows no options to choose: a typed text decides.
        const TQuestion &q = run.state.question;
        const bool chooses = !(q.typing.typing && a.typed);
        const int chosen = chooses && a.correct ? q.correctPosition : 0;
        record.correct = run.Judge(chosen, true, a.typed.value_or(QString()));
        run.Grade(record.correct);
        record.levelAfter = cc.wordRecords.words[q.word].level;
        record.stageAfter = cc.wordRecords.words[q.word].stage;
        result.questions.append(record);
    }
    if (result.questions.size() == answers.size())
        result.end = run.QuotaUsedUp() ? TRunEnd::QuotaUsedUp : TRunEnd::ScriptEnded;
    // Answers given before the file ended in the middle are kept.
    result.saved = result.end != TRunEnd::NothingToAsk || run.HasAnswers();
    run.End(result.saved);
    return result;
}
