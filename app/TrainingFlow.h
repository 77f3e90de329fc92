#pragma once
// The training flow of the main window: an explicit state machine driven by
// Qt's event loop. There is no worker thread. Each step (load one file, or
// ask one question) is posted through the idle hook and runs once; the answer
// gauge runs down in timed steps of its own while keys are handled in between.
//
//   Loading   --loading step-->  Ready     (start screen, a key starts)
//   Loading   --file closed-->   Loading   (next file) or shutdown
//   Ready     --key-->           Asking    (the first question)
//   Asking    --graded-->        Reviewing (the answer is on screen)
//   Reviewing --key-->           Asking
//   any       --quota, Esc, file exit, window close--> Closing --> Loading or shutdown
//
// The study run (TStudyRun) holds every learning rule; this class only
// decides when its operations run and what the screen (TTrainingScreen, the
// main window) shows meanwhile. It never reaches the window's controls.
#include "app/GradingFeedback.h"
#include "app/IdleHook.h"
#include "base/SlotGuard.h"
#include "engine/MasteryLevels.h"
#include "engine/Selection.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <chrono>
#include <functional>
#include <optional>

class QKeyEvent;
class QPoint;
class TCC;
struct TFileSettings;
class TWordTable;
class TSpeechAndSound;
class TStudyRun;
class TTrainingScreen;

enum class TFlowState { Loading, Ready, Asking, Reviewing, Closing };

// Steps of an Asking state: the question step is posted, its gauge runs, or
// the answer has ended the wait and grading follows at the gauge's next step.
enum class TQuestionPhase { Posted, Waiting, Answered };

// The gauge never steps faster than this on the real window.
inline constexpr std::chrono::milliseconds kGaugeStep{13};
// The gauge before the first question.
inline constexpr int kGaugeFull = 100;

class TTrainingFlow : public QObject {
    Q_OBJECT
public:
    // The flow of the given screen: its sounds, speech and agent through
    // media; parent owns it.
    TTrainingFlow(TCC &cc, TTrainingScreen &screen, TSpeechAndSound &media, QObject *parent = nullptr);
    ~TTrainingFlow() override;

    // ---- state ----
    TFlowState State() const { return m_state; }
    bool IsLoading() const { return m_state == TFlowState::Loading; }
    bool IsReady() const { return m_state == TFlowState::Ready; }
    // A question is posted, on screen or answered and not yet graded: the
    // flow is busy with it until it is graded.
    bool IsAsking() const { return m_state == TFlowState::Asking; }
    bool IsBusy() const { return IsAsking() || IsLoading() || IsReady(); }
    bool QuitRequested() const { return m_quit; }
    bool FileEnded() const { return m_fileEnded; }
    bool MainWindowReady() const { return m_mainWindowReady; }
    bool StepPosted() const { return m_idle.IsInstalled(); }

    // ---- the question on screen ----
    // The question is the study run's (TStudyRun): the window keeps no copy.
    int currentWord() const { return Question().word; }
    const std::array<int, 3> &optionWords() const { return Question().choices; }
    int correctPosition() const { return Question().correctPosition; }
    int chosenOption() const { return m_chosenOption; }
    const QString &typedAnswer() const { return m_typed; }
    bool typingQuestion() const { return Question().typing.typing; }
    bool optionsRevealed() const { return m_optionsRevealed; }
    bool answerCorrect() const { return m_answerCorrect; }
    int previousLevel() const { return m_previousLevel; }
    // What the last grading did to the word.
    const TAnswerEffect &lastAnswerEffect() const { return m_lastEffect; }
    int gaugePosition() const { return m_gaugePosition; }
    int gaugeMaximum() const { return m_gaugeMaximum; }

    // ---- the main window's creation ----
    void EnterLoading();
    std::optional<QPoint> StoredWindowPosition() const;
    void MainWindowCreated();

    // ---- the idle handler ----
    void TrainingStep();

    // ---- ending a file and the program ----
    void CloseLearningFile(bool save);
    void ShutDown();
    void smFileExitClick();
    void smFileAllExitClick();
    void FormClose();
    void EscapeRequested();

    // ---- keys: the flow's side of the key handler ----
    bool KeyDown(const QKeyEvent &event);
    void NextQuestion();
    void AnswerWithOption(int option);
    void GiveUp();
    void TypeCharacter(const QString &text, bool completionTest, bool typingSound);
    void RemoveLastTyped();

    // ---- the answer glimpse, the exclusion switch and the question area's mouse ----
    // Flashes the answer of a typing question (the glimpse button and the keys).
    void CatchAGlimpse();
    // The glimpse keys: at most one glimpse every 200 ms while a key is held.
    void GlimpseKey();
    // Excludes the word on screen from the questions, or includes it again.
    void sLabelFX_neverClick();
    // Options are answered by keys only.
    void sBitBtn_OpClick();
    // Shows a modal window (a message, the pronunciation legend) over the
    // training: no step starts and no answer time passes while it is open.
    void RunModalOverQuestion(const std::function<void()> &modal);
    // The explanation line of the word panel.
    void ShowExplanationLine();

    // ---- window events ----
    void ApplicationActivated();
    void ApplicationDeactivated();
    void RestoreSoundDevice();
    void AgentReaction();

    void UpdateQuotaLabel();
    void PlaySound(const QString &name);

    // Stops the gauge while a modal box is open during a question, and lets
    // it go on afterwards.
    void PauseGauge();
    void ResumeGauge();

    // ---- for tests: a shorter gauge step, shorter shutdown waits, and
    // what ending the application means ----
    void SetGaugeStepDuration(std::chrono::milliseconds step) { m_gaugeStep = step; }
    void SetShutdownWaitScale(double scale) { m_waitScale = scale; }
    void SetApplicationEnd(std::function<void()> end) { m_endApplication = std::move(end); }
    // The milliseconds the glimpse keys are spaced by (tests hold it still).
    void SetGlimpseClock(std::function<qint64()> now) { m_glimpseNow = std::move(now); }

signals:
    void StateChanged(TFlowState state);
    void ApplicationEnded();

private:
    void EnterState(TFlowState state);
    void Fatal(const QString &message);
    void EndApplication();
    void Wait(int milliseconds);
    void AfterStep();
    void CloseWindowNow();

    // Loading.
    void LoadingStep();
    bool PrepareNextFile();
    void ApplyFileLayout();
    void FileExitAction();
    void FileReady();
    bool AskUserAboutNoQuestions();

    // Asking.
    void QuestionStep();
    void EndOfStudyRun();
    bool AskAndShowQuestion();
    void RevealOptions();
    void StartAnswerWait();
    void ArmGaugeStep();
    void GaugeStep();
    void FinishQuestion();
    void ShowAnswer();
    void GradeAndShowAnswer();
    void ShowTypedWordHint();
    void ShowOptionVerbHints();
    void UpdateTypedDisplay(bool typingSound);
    void SetGaugePosition(int position);
    bool TypedAnswerComplete() const;
    bool NoFileQueued() const;
    QString NextQueuedTitle() const;

    TSpeechAndSound &Media();
    // The study run the window drives, and its question.
    TStudyRun &Run();
    const TQuestion &Question() const;
    // The current file's settings and words, read only.
    const TFileSettings &Settings() const;
    const TWordTable &Words() const;
    // Speech and the agent (silent until they are present).
    bool AgentOnScreen();
    void PlayAgentAnimation(const QString &name);
    void SpeakTracked(const QString &text);

    TCC &m_cc;
    TTrainingScreen &m_screen;
    TSpeechAndSound &m_media;
    TIdleHook m_idle;
    TFlowState m_state = TFlowState::Loading;
    TQuestionPhase m_phase = TQuestionPhase::Posted;
    bool m_quit = false;
    bool m_fileEnded = false;
    bool m_mainWindowReady = false;
    bool m_catalogsRead = false;
    bool m_firstStepAfterLoad = false;
    bool m_loadingWhenClosed = false;
    bool m_ended = false;
    // A step runs: a step asked for meanwhile (by a modal window's or a
    // pumped wait's event loop) and a window close wait until it returns.
    bool m_inStep = false;
    bool m_stepDeferred = false;
    bool m_closeDeferred = false;
    // The learner answered the question on screen (option, typed text,
    // Enter or the gauge's end): it is graded even when the window closes.
    bool m_answerGiven = false;

    int m_chosenOption = 0;
    QString m_typed;
    bool m_optionsRevealed = false;
    bool m_answerCorrect = false;
    int m_previousLevel = 0;
    TAnswerEffect m_lastEffect;
    TGlimpseThrottle m_glimpseThrottle;
    QElapsedTimer m_glimpseClock;
    std::function<qint64()> m_glimpseNow;

    // The answer gauge: the screen shows it, the flow counts it down.
    int m_gaugePosition = kGaugeFull;
    int m_gaugeMaximum = kGaugeFull;
    QTimer m_gaugeTimer;
    QElapsedTimer m_stepClock;
    std::chrono::milliseconds m_gaugeStep = kGaugeStep;
    bool m_gaugePaused = false;
    double m_waitScale = 1.0;
    std::function<void()> m_endApplication;
    // The program's error handler before this flow took it over.
    TUnhandledErrorHandler m_previousErrorHandler;
};
