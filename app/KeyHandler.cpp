// The key handler of the training window: every key pressed anywhere in the
// window arrives here before the control that has the focus; the key map
// (KeyMap.h) says what it does and the flow does it.
#include "app/KeyCodes.h"
#include "app/KeyMap.h"
#include "app/TrainingFlow.h"
#include "app/TrainingScreen.h"
#include "speech/SpeechAndSound.h"
#include "engine/CommonUnit.h"

#include <QKeyEvent>

bool TTrainingFlow::KeyDown(const QKeyEvent &event)
{
    TKeyFlowState state;
    state.ignoresKeys = m_quit || IsLoading() || m_state == TFlowState::Closing;
    state.stepPending = m_state == TFlowState::Asking && m_phase != TQuestionPhase::Waiting;
    state.glimpseShown = m_screen.GlimpseShown();
    state.asking = IsAsking();
    state.ready = IsReady();
    state.busy = IsBusy();
    state.typingQuestion = Question().typing.typing;
    state.wordToMeaning = Settings().answerDirection == TAnswerDirection::WordToMeaning;
    const TKeyDecision d = MapKey(TranslateKey(event), state);
    switch (d.action) {
    case TKeyAction::PassOn:
        return false;
    case TKeyAction::Consume:
        break;
    case TKeyAction::Glimpse:
        GlimpseKey();
        break;
    case TKeyAction::Escape:
        EscapeRequested();
        break;
    case TKeyAction::GiveUp:
        GiveUp();
        break;
    case TKeyAction::NextQuestion:
        if (d.stopReaction)
            m_screen.StopAgentReaction();
        NextQuestion();
        break;
    case TKeyAction::NextTab:
        m_screen.NextWordPage();
        break;
    case TKeyAction::ToggleExclusion:
        sLabelFX_neverClick();
        break;
    case TKeyAction::ChooseOption:
        AnswerWithOption(d.option);
        break;
    case TKeyAction::Type:
        TypeCharacter(d.text, d.completionTest, d.typingSound);
        break;
    case TKeyAction::Backspace:
        RemoveLastTyped();
        break;
    case TKeyAction::SpeakWord:
        if (Question().word > 0)
            Media().SpeakWord(Words()[Question().word].word);
        break;
    case TKeyAction::ShowEtymology:
        m_screen.ShowEtymologyWindow(Question().word);
        break;
    }
    return true;
}

// Adds a character to the typed answer; with the completion test a complete
// answer (or a complete option) ends the question.
void TTrainingFlow::TypeCharacter(const QString &text, bool completionTest, bool typingSound)
{
    if (!IsAsking() || m_phase != TQuestionPhase::Waiting)
        return;
    m_typed += text;
    UpdateTypedDisplay(typingSound);
    if (completionTest && TypedAnswerComplete()) {
        m_answerGiven = true;
        m_phase = TQuestionPhase::Answered;
    }
}

void TTrainingFlow::RemoveLastTyped()
{
    if (!IsAsking() || m_phase != TQuestionPhase::Waiting || m_typed.isEmpty())
        return;
    m_typed.chop(1);
    UpdateTypedDisplay(true);
}

void TTrainingFlow::UpdateTypedDisplay(bool typingSound)
{
    m_screen.ShowTyped(m_typed);
    if (typingSound)
        Media().PlayTypingSound(Settings().typingSound);
}

bool TTrainingFlow::TypedAnswerComplete() const
{
    return EndsTheQuestion(m_cc.ValidateTyped(m_typed));
}
