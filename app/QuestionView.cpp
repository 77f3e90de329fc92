// What a question shows, step by step: the question text, the options or the
// typing hint, and the answer once the wait has ended. The screen lays it out.
#include "app/TrainingFlow.h"
#include "app/TrainingScreen.h"
#include "engine/CommonUnit.h"

bool TTrainingFlow::AskAndShowQuestion()
{
    m_screen.ClearQuestionTexts();
    m_screen.FocusHiddenButton();
    m_screen.ArmOptionButtons();
    // Nothing at all can be asked: the learner says whether random questions
    // may follow, and the question is asked for again.
    TAskResult asked = Run().Ask();
    while (asked == TAskResult::NoQuestions)
        asked = AskUserAboutNoQuestions() ? Run().Ask() : TAskResult::NothingToAsk;
    switch (asked) {
    case TAskResult::Asked:
        break;
    case TAskResult::QuotaUsedUp:
        // The study run ends instead of a further question.
        EndOfStudyRun();
        return false;
    case TAskResult::NoQuestions:
    case TAskResult::NothingToAsk:
        // Whatever was answered in this run is saved as at every file end.
        CloseLearningFile(Run().HasAnswers());
        return false;
    }
    UpdateQuotaLabel();
    m_screen.ShowRandomMark(Run().state.training.randomQuestion);

    const bool wordToMeaning = Settings().answerDirection == TAnswerDirection::WordToMeaning;
    m_screen.ShowQuestion(wordToMeaning ? m_cc.DisplayForm(Question().word) : Words()[Question().word].joinedMeanings,
                          wordToMeaning, Question().typing.typing);
    return true;
}

void TTrainingFlow::RevealOptions()
{
    if (Question().typing.typing) {
        m_screen.ShowFirstOptionText(Question().typing.hint);
    } else if (Settings().answerDirection == TAnswerDirection::WordToMeaning && m_phase == TQuestionPhase::Waiting) {
        std::array<QString, 3> meanings;
        for (size_t i = 0; i < 3; ++i)
            meanings[i] = Words()[Question().choices[i]].joinedMeanings;
        m_screen.ShowOptionMeanings(meanings);
    } else {
        std::array<QString, 3> words;
        for (size_t i = 0; i < 3; ++i)
            words[i] = m_cc.DisplayForm(Question().choices[i]);
        m_screen.ShowOptionWords(words);
    }
    m_optionsRevealed = true;
}

void TTrainingFlow::ShowAnswer()
{
    std::array<QString, 3> words;
    std::array<QString, 3> meanings;
    std::array<QString, 3> pronunciations;
    for (size_t i = 0; i < 3; ++i) {
        const int choice = Question().choices[i];
        words[i] = m_cc.DisplayForm(choice);
        meanings[i] = Words()[choice].joinedMeanings;
        pronunciations[i] = Words()[choice].attributes[0];
    }
    if (Settings().answerDirection == TAnswerDirection::WordToMeaning)
        m_screen.ShowOptionWords(words);
    m_screen.ResetOptionButtons();
    if (Question().typing.typing)
        m_screen.ShowFirstOptionText(m_cc.DisplayForm(Question().word));
    else
        m_screen.MarkOptions(Question().correctPosition,
                             m_chosenOption != Question().correctPosition ? m_chosenOption : 0);
    m_screen.ShowOptionMeanings(meanings);
    // Phrase files have no pronunciations.
    if (m_cc.HeadwordKind() != THeadwordKind::Phrase)
        m_screen.ShowPronunciations(pronunciations);
}
