// The key handler of the training window: every key pressed anywhere in the
// window arrives here before the control that has the focus.
#include "app/KeyCodes.h"
#include "app/MainUnit.h"
#include "app/MainWidgets.h"
#include "app/SpeechAndSound.h"
#include "app/TrainingFlow.h"
#include "engine/CommonUnit.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>

namespace {
constexpr int kInputPanelWidth = 408;
constexpr int kInputMargin = 70;
constexpr int kWordToMeaning = 1;

// Characters of the punctuation keys (Japanese layout), without and with Shift.
QString PunctuationCharacter(int code, bool shift)
{
    switch (code) {
    case 186: return shift ? QStringLiteral("*") : QStringLiteral(":");
    case 187: return shift ? QStringLiteral("+") : QStringLiteral(";");
    case 188: return shift ? QStringLiteral("<") : QStringLiteral(",");
    case 189: return shift ? QStringLiteral("=") : QStringLiteral("-");
    case 190: return shift ? QStringLiteral(">") : QStringLiteral(".");
    case 191: return shift ? QStringLiteral("?") : QStringLiteral("/");
    case 192: return shift ? QStringLiteral("`") : QStringLiteral("@");
    case 219: return shift ? QStringLiteral("{") : QStringLiteral("[");
    case 220: return shift ? QStringLiteral("|") : QStringLiteral("\\");
    case 221: return shift ? QStringLiteral("}") : QStringLiteral("]");
    case 222: return shift ? QStringLiteral("~") : QStringLiteral("^");
    case 226: return shift ? QStringLiteral("_") : QStringLiteral("\\");
    default: return {};
    }
}

bool IsPunctuation(int code)
{
    return (code >= 186 && code <= 192) || (code >= 219 && code <= 222) || code == 226;
}

// The character of any other key with a code above 32: letters in the case
// of the Shift key, digits as themselves or, with Shift, the character 16
// codes below (Shift+4 "$", Shift+7 the apostrophe). The numeric pad types
// its digits. Keys that stand for no character type nothing.
QString KeyCharacter(int code, bool shift)
{
    if (code >= vk::Numpad0 && code <= vk::Numpad0 + 9)
        return QString(QChar(vk::Digit0 + code - vk::Numpad0));
    if (code >= vk::LetterA && code <= vk::LetterA + 25)
        return QString(QChar(shift ? code : code + 32));
    if (code >= vk::Digit0 && code <= vk::Digit0 + 9)
        return QString(QChar(shift ? code - 16 : code));
    return {};
}

// The option a choosing key stands for; 0 for other keys.
int OptionOfKey(int code)
{
    switch (code) {
    case vk::Digit1:
    case vk::Numpad1:
    case vk::End: return 1;
    case vk::Digit2:
    case vk::Numpad2:
    case vk::Down: return 2;
    case vk::Digit3:
    case vk::Numpad3:
    case vk::PageDown: return 3;
    default: return 0;
    }
}
}

bool TTrainingFlow::KeyDown(const QKeyEvent &event)
{
    const TKeyPress key = TranslateKey(event);
    if (m_quit || IsLoading() || m_state == TFlowState::Closing)
        return false;
    // The next question has been asked for and is not on screen yet: keys
    // wait for it, and none starts a second step.
    if (m_state == TFlowState::Asking && m_phase == TQuestionPhase::Posted)
        return true;
    // The glimpse keys while a typing question is (or just was) on screen.
    const bool glimpseKey = key.code == vk::Hankaku || key.code == vk::Zenkaku || key.code == vk::Up ||
                            key.code == vk::Down;
    if (glimpseKey && !m_form.sPanel_glimpse->isHidden()) {
        GlimpseKey();
        return true;
    }
    if (key.alt)
        return false;

    const bool asking = IsAsking();
    switch (key.code) {
    case vk::LeftWindows:
    case vk::Left:
    case vk::Right:
        return true;
    case vk::Escape:
        if (!asking)
            EscapeRequested();
        return true;
    case vk::Enter:
        if (asking) {
            GiveUp();
        } else {
            m_form.TimerForPeedy->stop();
            NextQuestion();
        }
        return true;
    case vk::Tab:
        if (!IsBusy()) {
            QTabWidget *pages = m_form.sPageControl1;
            pages->setCurrentIndex((pages->currentIndex() + 1) % pages->count());
        }
        return true;
    case vk::Delete:
        if (!IsBusy())
            sLabelFX_neverClick();
        return true;
    default:
        break;
    }

    if (const int option = OptionOfKey(key.code)) {
        if (asking && m_typingQuestion)
            return true;
        if (asking && key.shift) {
            if (key.code >= vk::Digit1 && key.code <= vk::Digit3)
                TypeCharacter(QString(QChar(key.code - 16)), false, false);
            return true;
        }
        if (asking)
            AnswerWithOption(option);
        else
            NextQuestion();
        return true;
    }

    if (m_cc.settings.answerDirection == kWordToMeaning) {
        if (!asking)
            NextQuestion();
        return true;
    }
    if (key.code == vk::Backspace) {
        if (!asking)
            return false;
        RemoveLastTyped();
        return true;
    }
    if (key.code == vk::Space) {
        if (asking)
            TypeCharacter(QStringLiteral(" "), false, true);
        else if (!IsReady())
            ;   // the etymology window opens here once it has its chart
        else
            NextQuestion();
        return true;
    }
    if (IsPunctuation(key.code) || key.code == vk::NumpadMinus) {
        if (!asking)
            return false;
        TypeCharacter(key.code == vk::NumpadMinus ? QStringLiteral("-") : PunctuationCharacter(key.code, key.shift),
                      false, true);
        return true;
    }
    if (key.code == vk::Control && !IsBusy()) {
        if (m_currentWord > 0)
            Media().SpeakWord(m_cc.words[m_currentWord].word);
        return true;
    }
    if (!asking) {
        NextQuestion();
        return true;
    }
    const QString typed = key.code > vk::Space ? KeyCharacter(key.code, key.shift) : key.text;
    if (!typed.isEmpty())
        TypeCharacter(typed, true, true);
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
    if (completionTest && TypedAnswerComplete())
        m_phase = TQuestionPhase::Answered;
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
    QLabel *input = m_form.sLabel_Input;
    if (QFontMetrics(input->font()).horizontalAdvance(m_typed) + kInputMargin > kInputPanelWidth) {
        QFont f = input->font();
        f.setPixelSize(f.pixelSize() - 1);
        input->setFont(f);
        input->move(input->x(), input->y() + 1);
    }
    input->setText(m_typed + QStringLiteral("_"));
    input->adjustSize();
    if (typingSound)
        Media().PlayTypingSound(m_cc.settings.typingSound);
}

bool TTrainingFlow::TypedAnswerComplete() const
{
    const QString &word = m_cc.words[m_currentWord].word;
    if (m_cc.HeadwordKind() == THeadwordKind::Phrase)
        return m_cc.CheckTypedAnswerAlternatives(word, m_typed, m_options);
    if (m_cc.CheckTypedAnswer(word, m_typed))
        return true;
    for (size_t i = 0; i < m_optionTexts.size(); ++i) {
        if (m_optionTexts[i] != m_typed)
            continue;
        bool inside = false;
        for (size_t j = 0; j < m_optionTexts.size(); ++j)
            if (j != i && m_optionTexts[j].contains(m_typed))
                inside = true;
        if (!inside)
            return true;
    }
    return false;
}
