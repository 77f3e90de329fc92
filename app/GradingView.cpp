// What a graded question shows (the explanation line, the typed-word hint,
// the verb hints of the options), the answer glimpse of typing questions and
// the exclusion switch.
#include "app/LabelShadow.h"
#include "app/TrainingFlow.h"
#include "app/TrainingScreen.h"
#include "engine/CommonUnit.h"
#include "base/WaitPumping.h"

namespace {
const QString kOptionsByKeysOnly =
    QStringLiteral("答えを入力するか、キーボードの１・２・３を押して解答してください。");
}

void TTrainingFlow::ShowExplanationLine()
{
    const TTango &word = Words()[Question().word];
    TExplanationInput in;
    in.level = word.level;
    in.previousLevel = m_previousLevel;
    in.stage = word.stage;
    in.randomQuestion = Run().state.training.randomQuestion;
    in.newWord = Run().state.training.newWord;
    in.previousRetry = m_lastEffect.previousRetry;
    in.correct = m_answerCorrect;
    in.level6Miss = m_lastEffect.level6Miss;
    in.firstTimeIncrement = Settings().firstTimeIncrement;
    m_screen.ShowExplanationLine(ExplanationLine(in));
}

void TTrainingFlow::ShowTypedWordHint()
{
    std::array<QString, 3> optionForms;
    for (size_t i = 0; i < 3; ++i)
        optionForms[i] = m_cc.DisplayForm(Question().choices[i]);
    const QString hint = TypedWordHint(
        m_typed, optionForms, m_cc.TangoTotal(), [this](int i) { return m_cc.DisplayForm(i); },
        [this](int i) { return Words()[i].joinedMeanings; });
    if (!hint.isEmpty())
        m_screen.ShowTypedWordHint(hint);
}

void TTrainingFlow::ShowOptionVerbHints()
{
    m_screen.ShowOptionHints(OptionVerbHints(Words()[Question().word].word, Question().correctPosition));
}

void TTrainingFlow::CatchAGlimpse()
{
    if (Question().word <= 0)
        return;
    const QString text = m_cc.DisplayForm(Question().word);
    m_screen.ShowGlimpse(QString());
    const TGlimpseFlashes flashes = GlimpseFlashesOf(Settings().glimpse);
    for (int n = 0; n < flashes.count; ++n) {
        m_screen.ShowGlimpse(text);
        WaitPumping(flashes.milliseconds);
        m_screen.ShowGlimpse(QString());
    }
}

void TTrainingFlow::GlimpseKey()
{
    if (!m_glimpseNow) {
        m_glimpseClock.start();
        m_glimpseNow = [this] { return m_glimpseClock.elapsed(); };
    }
    if (m_glimpseThrottle.Allow(m_glimpseNow()))
        CatchAGlimpse();
}

void TTrainingFlow::sLabelFX_neverClick()
{
    if (Question().word <= 0 || IsBusy())
        return;
    const bool excluded = m_cc.ToggleWordExclusion(Question().word);
    m_screen.ShowExclusion(excluded);
    // A word included again starts afresh: the line no longer compares it
    // with the level it had before it was excluded.
    if (!excluded)
        m_previousLevel = Words()[Question().word].level;
    PlaySound(QStringLiteral("BUTTON"));
    m_screen.ShowWordInfo();
}

void TTrainingFlow::sBitBtn_OpClick()
{
    m_screen.FocusHiddenButton();
    RunModalOverQuestion([this] { m_cc.context.notifier->Information(kOptionsByKeysOnly); });
}

// A modal window's own message loop must not run the next training step nor
// let the answer time run out behind it: the step that is posted waits, and
// the gauge stands still, until the window has closed.
void TTrainingFlow::RunModalOverQuestion(const std::function<void()> &modal)
{
    const bool posted = m_idle.IsInstalled();
    m_idle.Remove();
    const bool waiting = IsAsking();
    if (waiting)
        PauseGauge();
    modal();
    if (waiting)
        ResumeGauge();
    if (posted && !m_quit)
        m_idle.Install();
}
