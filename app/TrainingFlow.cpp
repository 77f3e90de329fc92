#include "app/TrainingFlow.h"

#include "app/AgentReaction.h"
#include "app/Farewell.h"
#include "app/TrainingScreen.h"
#include "speech/SpeechAndSound.h"
#include "engine/CommonUnit.h"
#include "engine/QuickResponse.h"
#include "base/TError.h"
#include "base/WaitPumping.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPoint>
#include <QTime>
#include <QTimer>

namespace {
const QString kLoadingText = QStringLiteral("・・・　学習ファイルを読み込んでいます　・・・");
const QString kClosingText = QStringLiteral("・・・　終了処理中　・・・");
const QString kStartText = QStringLiteral("何かキーを押すとスタートします") + QString(5, QChar(0x3000));
const QString kQuitQuestion = QStringLiteral("Tessarion を終了しますか？");
const QString kUnknownFileCheckpoint = QStringLiteral("新学習ファイル実装チェックポイント");
constexpr int kReactionInterval = 2000;
constexpr int kPhraseReactionInterval = 3600;
constexpr int kTypingExtraTime = 400;
constexpr int kChoiceTimeReduction = 100;
constexpr int kSignalPictureAfterSteps = 277;
constexpr int kSignalFontHeight = 14;
constexpr int kSignalCountFontHeight = 12;
constexpr int kQuitFarewellWait = 1800;
constexpr int kQuitWithoutAgentWait = 700;
constexpr int kAgentUnloadWait = 2222;
constexpr int kClosingTitleWait = 333;

bool IsPhraseFile(const QString &code)
{
    return code == QStringLiteral("TJ") || code == QStringLiteral("DJ");
}

}

TTrainingFlow::TTrainingFlow(TCC &cc, TTrainingScreen &screen, TSpeechAndSound &media, QObject *parent)
    : QObject(parent), m_cc(cc), m_screen(screen), m_media(media)
{
    m_idle.SetHandler([this] { TrainingStep(); });
    m_gaugeTimer.setSingleShot(true);
    m_gaugeTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_gaugeTimer, &QTimer::timeout, this, Guarded([this] { GaugeStep(); }));
    m_endApplication = [] { QCoreApplication::exit(0); };
    // While the flow lives, an error that reached any slot ends it in order.
    m_previousErrorHandler = SetUnhandledErrorHandler([this](const QString &message) { Fatal(message); });
}

TTrainingFlow::~TTrainingFlow()
{
    SetUnhandledErrorHandler(std::move(m_previousErrorHandler));
}

TSpeechAndSound &TTrainingFlow::Media()
{
    return m_media;
}

TStudyRun &TTrainingFlow::Run()
{
    return m_cc.studyRun;
}

const TQuestion &TTrainingFlow::Question() const
{
    return m_cc.studyRun.state.question;
}

const TFileSettings &TTrainingFlow::Settings() const
{
    return m_cc.settingsStore.settings;
}

const TWordTable &TTrainingFlow::Words() const
{
    return m_cc.wordRecords.words;
}

// ---------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------

void TTrainingFlow::EnterState(TFlowState state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit StateChanged(state);
}

void TTrainingFlow::SetGaugePosition(int position)
{
    m_gaugePosition = qBound(0, position, m_gaugeMaximum);
    m_screen.ShowGauge(m_gaugePosition, m_gaugeMaximum);
}

// An error that nobody handled where it arose: its message in an error box,
// then the end of the program without writing anything more.
void TTrainingFlow::Fatal(const QString &message)
{
    if (m_ended)
        return;
    m_idle.Remove();
    m_gaugeTimer.stop();
    m_quit = true;
    EnterState(TFlowState::Closing);
    m_cc.context.notifier->Error(message);
    EndApplication();
}

void TTrainingFlow::EndApplication()
{
    if (m_ended)
        return;
    m_ended = true;
    m_idle.Remove();
    m_gaugeTimer.stop();
    emit ApplicationEnded();
    if (m_endApplication)
        m_endApplication();
}

void TTrainingFlow::Wait(int milliseconds)
{
    WaitPumping(static_cast<int>(milliseconds * m_waitScale));
}

// ---------------------------------------------------------------------------
// Creation of the main window
// ---------------------------------------------------------------------------

void TTrainingFlow::EnterLoading()
{
    EnterState(TFlowState::Loading);
}

std::optional<QPoint> TTrainingFlow::StoredWindowPosition() const
{
    if (const auto p = m_cc.ReadMainWindowPosition())
        return QPoint(p->left, p->top);
    return std::nullopt;
}

void TTrainingFlow::MainWindowCreated()
{
    m_cc.settingsStore.captureWindowState = [this] {
        const TWindowPlace place = m_screen.WindowPlace();
        m_cc.settingsStore.formPosition.mainTop = place.top;
        m_cc.settingsStore.formPosition.mainLeft = place.left;
        m_cc.settingsStore.settings.startTab = place.activeTab;
    };
    m_mainWindowReady = true;
    m_idle.Install();
}

// ---------------------------------------------------------------------------
// The idle handler
// ---------------------------------------------------------------------------

void TTrainingFlow::TrainingStep()
{
    // Never a step inside another: the idle call of a modal window's or a
    // pumped wait's event loop waits for the running step to return.
    if (m_inStep) {
        m_stepDeferred = true;
        return;
    }
    m_inStep = true;
    Guard([this] {
        if (m_state == TFlowState::Loading)
            LoadingStep();
        else if (m_state == TFlowState::Asking && m_phase == TQuestionPhase::Posted)
            QuestionStep();
    });
    m_inStep = false;
    AfterStep();
}

void TTrainingFlow::AfterStep()
{
    if (m_stepDeferred) {
        m_stepDeferred = false;
        if (!m_ended)
            m_idle.Install();
    }
    if (m_closeDeferred) {
        m_closeDeferred = false;
        CloseWindowNow();
    }
}

// ---------------------------------------------------------------------------
// Loading
// ---------------------------------------------------------------------------

void TTrainingFlow::LoadingStep()
{
    m_idle.Remove();
    // The window was closed before this file was loaded: nothing was studied.
    if (m_quit) {
        CloseLearningFile(false);
        return;
    }
    if (!PrepareNextFile() || m_quit)
        return;

    // Settings, words and records; a file too small or damaged is refused
    // (the learner has been told) and the next one follows.
    if (Run().LoadCurrentFile() != TFileOpenResult::Opened) {
        CloseLearningFile(false);
        return;
    }
    m_screen.ApplyFileLook({Settings().topRightDisplay, Settings().startTab, Settings().skin,
                            Settings().typingSound});

    if (Run().StageNoticeDue())
        m_screen.ShowStageNotice();
    // The window was closed while the notice was open: nothing was studied.
    if (m_quit) {
        CloseLearningFile(false);
        return;
    }

    m_screen.ShowFileMenus({m_cc.context.fileCode == QStringLiteral("TJ"), Media().FileSpeechLanguageId() != kUsEnglishLanguageId,
                            !m_cc.context.userFile});

    // The study run starts: the quota in full, the day's first selection.
    // When nothing at all can be asked the learner says whether random
    // questions may follow, and the start is made again.
    TBeginResult begun = Run().Begin();
    while (begun == TBeginResult::NoQuestions)
        begun = AskUserAboutNoQuestions() ? Run().Begin() : TBeginResult::NothingToAsk;
    m_screen.ShowRandomMark(Run().state.training.randomQuestion);
    if (begun == TBeginResult::Ready)
        FileReady();
    else
        CloseLearningFile(false);
}

// The no-questions window, over a step that has changed nothing yet: true
// when the learner goes on with random questions.
bool TTrainingFlow::AskUserAboutNoQuestions()
{
    m_idle.Remove();
    if (!m_screen.OfferRandomQuestions())
        return false;
    Run().GoOnWithRandomQuestions();
    return true;
}

bool TTrainingFlow::PrepareNextFile()
{
    if (!m_catalogsRead) {
        m_catalogsRead = true;
        m_cc.LoadServerCatalog();
        m_cc.LoadCatalog();
        m_cc.MergeServerCatalog();
        m_cc.SaveCatalog();
        if (m_cc.catalogs.catalog.fileManager) {
            if (!m_screen.RunFileManagerAtStart())
                m_quit = true;
            if (m_quit) {
                CloseLearningFile(false);
                return false;
            }
        }
        m_screen.ShowWaitLine(true);
        m_cc.BuildFileQueue();
    }

    if (!Run().SelectNextLearningFile(true)) {
        m_quit = true;
        CloseLearningFile(false);
        return false;
    }
    const TDBF &row = m_cc.catalogs.catalog.rows[static_cast<size_t>(m_cc.context.fileSlot)];
    m_screen.ShowFileLoading(row.Title, kLoadingText);
    ApplyFileLayout();
    return true;
}

// Option panels and the agent's reaction time by the kind of file.
void TTrainingFlow::ApplyFileLayout()
{
    const QString &code = m_cc.context.fileCode;
    if (code == QStringLiteral("TT") || code == QStringLiteral("DT")) {
        m_screen.LayOutOptionRows(false, kReactionInterval);
    } else if (IsPhraseFile(code)) {
        m_screen.LayOutOptionRows(true, kPhraseReactionInterval);
    } else if (code == QStringLiteral("IT") || m_cc.context.userFile) {
        m_screen.LayOutOptionRows(true, kReactionInterval);
    } else {
        m_cc.context.notifier->Information(kUnknownFileCheckpoint);
    }
}

void TTrainingFlow::FileReady()
{
    if (m_screen.TitleCoverVisible())
        m_screen.SetTitleCoverVisible(false);
    Media().SelectSpeechEngine();
    Media().StartAgent();
    m_screen.ShowMainMenus();
    Media().LoadSoundEffects();
    PlaySound(QStringLiteral("OPEN_QUIT"));
    if (Settings().speechMode == kSpeechPronunciationOnly)
        Media().SpeakText(QStringLiteral(" "), false);
    m_screen.SetInputText(kStartText);
    Media().FillPhoneticSymbolList();
    m_firstStepAfterLoad = true;
    EnterState(TFlowState::Ready);
}

// ---------------------------------------------------------------------------
// Asking
// ---------------------------------------------------------------------------

void TTrainingFlow::NextQuestion()
{
    m_phase = TQuestionPhase::Posted;
    EnterState(TFlowState::Asking);
    m_idle.Install();
}

void TTrainingFlow::QuestionStep()
{
    m_idle.Remove();
    m_screen.FocusHiddenButton();
    m_screen.StopAgentReaction();
    m_screen.StopReviewTimers();
    m_screen.StopSoundDeviceCheck();

    if (m_firstStepAfterLoad) {
        m_firstStepAfterLoad = false;
        m_screen.ShowQuotaLine();
        m_screen.ClearQuestionTexts();
        m_screen.SetInputText(QString());
        m_screen.SetQuestionPanelText(QString());
    }

    Media().SelectSpeechEngine();
    m_screen.ResetTypedLine();
    if (m_optionsRevealed)
        m_screen.ClearAnswerDetails();
    m_screen.ClearRelatedTree();
    m_typed.clear();
    m_screen.ShowExclusion(false);
    m_chosenOption = 0;
    m_answerGiven = false;

    // The quota is used up: the study run ends instead of a further question.
    if (Run().QuotaUsedUp()) {
        EndOfStudyRun();
        return;
    }
    m_screen.SetWordPagesEnabled(false);
    m_screen.ClearEtymologyHistory();
    if (!AskAndShowQuestion())
        return;
    m_screen.ShowTyped(QString());

    if (m_quit) {
        FinishQuestion();
        return;
    }
    m_optionsRevealed = false;
    PlayAgentAnimation(m_media.WindowRandom().Below(2) == 0 ? QStringLiteral("RestPose") : QStringLiteral("Alert"));
    if (Settings().speakAfterQuestion == 1)
        SpeakTracked(Words()[Question().word].word);
    m_screen.ClearWordPages();

    const int answerTime = Settings().answerTime;
    const int maximum = Question().typing.typing ? answerTime + kTypingExtraTime : answerTime - kChoiceTimeReduction;
    m_gaugeMaximum = qMax(0, maximum);
    SetGaugePosition(m_gaugeMaximum);

    const TTango &word = Words()[Question().word];
    if (word.timesAsked == 1) {
        PlaySound(QStringLiteral("FIRSTTIME"));
        m_screen.SetSignalCaption(QStringLiteral("初"), kSignalFontHeight);
    } else if (Run().state.training.retryPending) {
        PlaySound(QStringLiteral("AGAIN"));
        m_screen.SetSignalCaption(QStringLiteral("再"), kSignalFontHeight);
    } else {
        PlaySound(QStringLiteral("REVIEW"));
        m_screen.SetSignalCaption(QString::number(word.timesAsked) + QStringLiteral(" 回"), kSignalCountFontHeight);
    }
    StartAnswerWait();
}

void TTrainingFlow::EndOfStudyRun()
{
    m_idle.Remove();
    const bool quickResponse = Settings().quickResponseAfterQuota == 1;
    if (quickResponse) {
        m_screen.SetTitleCoverVisible(true);
        m_screen.HideMainMenus();
        if (Run().state.askedWords.Count() >= kQuickResponseMinWords)
            m_screen.RunQuickResponseDrill();
    }
    m_fileEnded = true;
    const bool showStatus = Settings().showProgressAtEnd == 1;
    if (!m_quit && !NoFileQueued()) {
        if (showStatus)
            m_screen.ShowStatusAtFileEnd();
        if (m_screen.TitleCoverVisible()) {
            m_screen.SetTitleCoverVisible(false);
            m_screen.ShowMainMenus();
        }
    } else if (showStatus && !quickResponse) {
        m_screen.ShowStatusAtFileEnd();
    }
    CloseLearningFile(true);
}

void TTrainingFlow::StartAnswerWait()
{
    m_answerGiven = false;
    m_phase = TQuestionPhase::Waiting;
    if (m_quit)
        m_phase = TQuestionPhase::Answered;
    ArmGaugeStep();
}

void TTrainingFlow::ArmGaugeStep()
{
    m_stepClock.start();
    if (!m_gaugePaused)
        m_gaugeTimer.start(m_gaugeStep);
}

void TTrainingFlow::PauseGauge()
{
    m_gaugePaused = true;
    m_gaugeTimer.stop();
}

void TTrainingFlow::ResumeGauge()
{
    if (!m_gaugePaused)
        return;
    m_gaugePaused = false;
    if (m_state == TFlowState::Asking && m_phase != TQuestionPhase::Posted)
        ArmGaugeStep();
}

// One step of the answer gauge: never shorter than the step duration on the
// monotonic clock, whatever the timer does.
void TTrainingFlow::GaugeStep()
{
    if (m_state != TFlowState::Asking || m_phase == TQuestionPhase::Posted || m_gaugePaused)
        return;
    const qint64 left = m_gaugeStep.count() - m_stepClock.elapsed();
    if (left > 0) {
        m_gaugeTimer.start(static_cast<int>(left));
        return;
    }

    const int maximum = m_gaugeMaximum;
    SetGaugePosition(m_gaugePosition - 1);
    const int position = m_gaugePosition;

    if (!m_optionsRevealed) {
        const int delay = Settings().optionDelay;
        const double threshold = maximum - delay * (Settings().answerTime / 100.0 - 1.0);
        if (delay == 0 || position < threshold)
            RevealOptions();
    }
    if (maximum - position > kSignalPictureAfterSteps && m_screen.SignalShowsCaption())
        m_screen.SetSignalPicture(QStringLiteral("Signal_Q"));

    bool leave = false;
    if (position == 0) {
        if (m_phase == TQuestionPhase::Waiting)
            m_answerGiven = true;             // time is up: graded as it stands
        m_phase = TQuestionPhase::Answered;
        leave = true;
    } else {
        if (position == maximum / 2 && Settings().speakAfterQuestion != 1) {
            if (m_media.WindowRandom().Below(4) == 0)
                PlayAgentAnimation(QStringLiteral("Hearing_1"));
            else if (m_media.WindowRandom().Below(4) == 0)
                PlayAgentAnimation(QStringLiteral("Hearing_2"));
            else
                PlayAgentAnimation(QStringLiteral("Think"));
        }
        leave = m_phase == TQuestionPhase::Answered;
    }
    if (leave) {
        FinishQuestion();
        return;
    }
    // The next step begins: a closing window ends the question.
    if (m_quit)
        m_phase = TQuestionPhase::Answered;
    ArmGaugeStep();
}

void TTrainingFlow::FinishQuestion()
{
    m_gaugeTimer.stop();
    m_phase = TQuestionPhase::Answered;
    // The window was closed before an answer: the question ends ungraded.
    if (m_quit && !m_answerGiven) {
        EnterState(TFlowState::Reviewing);
        FileExitAction();
        return;
    }
    if (!m_optionsRevealed)
        RevealOptions();
    m_optionsRevealed = true;
    // Right when the right option was chosen in time, or the right word typed.
    m_answerCorrect = Run().Judge(m_chosenOption, m_gaugePosition > 0, m_typed);
    ShowAnswer();

    m_previousLevel = Words()[Question().word].level;
    m_screen.SetSignalCaption(QString(), kSignalFontHeight);
    GradeAndShowAnswer();

    m_idle.Remove();
    m_screen.StartReviewTimers();
    EnterState(TFlowState::Reviewing);
    if (Run().QuotaUsedUp())
        PlaySound(QStringLiteral("NORM_FIN"));
    // The window was closed after the answer: graded first, then the file ends.
    if (m_quit)
        FileExitAction();
}

void TTrainingFlow::GradeAndShowAnswer()
{
    if (Settings().speakAfterGrading == 1)
        SpeakTracked(Words()[Question().word].word);
    const TAnswerEffect effect = Run().Grade(m_answerCorrect);
    m_lastEffect = effect;
    m_screen.ShowGradedWord(Question().word);
    if (m_answerCorrect) {
        m_screen.SetSignalPicture(QStringLiteral("Signal_O"));
        PlaySound(effect.master ? QStringLiteral("MASTER") : QStringLiteral("CORRECT"));
    } else {
        m_screen.SetSignalPicture(QStringLiteral("Signal_X"));
        PlaySound(QStringLiteral("WRONG"));
        ShowTypedWordHint();
    }
    ShowOptionVerbHints();
    ShowExplanationLine();
    m_screen.StartAgentReaction();
}

bool TTrainingFlow::NoFileQueued() const
{
    return m_cc.studyRun.state.fileQueue.IsEmpty();
}

QString TTrainingFlow::NextQueuedTitle() const
{
    if (NoFileQueued())
        return {};
    const QString code = m_cc.studyRun.state.fileQueue.First();
    for (int slot = 1; slot <= kSlotCount; ++slot)
        if (m_cc.catalogs.catalog.rows[static_cast<size_t>(slot)].Code == code)
            return m_cc.catalogs.catalog.rows[static_cast<size_t>(slot)].Title;
    return {};
}

// ---------------------------------------------------------------------------
// Ending a file and the program
// ---------------------------------------------------------------------------

void TTrainingFlow::CloseLearningFile(bool save)
{
    m_idle.Remove();
    m_gaugeTimer.stop();
    // The last answer's agent reaction and telop belong to this file: run
    // later, they would uncover the word pages of the next file's start.
    m_screen.StopAgentReaction();
    m_screen.StopReviewTimers();
    m_loadingWhenClosed = m_state == TFlowState::Loading;
    EnterState(TFlowState::Closing);

    if (!m_loadingWhenClosed) {
        m_screen.FocusHiddenButton();
        PlayAgentAnimation(QStringLiteral("RestPose"));
        m_screen.ClearQuestionTexts();
        if (m_optionsRevealed)
            m_screen.ClearAnswerDetails();
        m_screen.ResetOptionButtons();
        m_gaugePosition = m_gaugeMaximum;
        m_screen.ShowFileClosed(QStringLiteral("Signal_Start%1").arg(m_media.WindowRandom().Between(1, 4)));
        // The next file's title only when it is loaded next: a program that
        // ends here never announces it.
        if (!m_quit && !NoFileQueued())
            m_screen.ShowFileLoading(NextQueuedTitle(), kLoadingText);
    }
    // With saving: the quota statistics and the file's save as one commit.
    Run().End(save);

    if (!m_quit && !NoFileQueued()) {
        m_phase = TQuestionPhase::Posted;
        m_fileEnded = false;
        m_optionsRevealed = false;
        EnterState(TFlowState::Loading);
        m_idle.Install();
        return;
    }
    m_quit = true;
    ShutDown();
}

void TTrainingFlow::ShutDown()
{
    m_idle.Remove();
    m_gaugeTimer.stop();
    m_quit = true;
    if (m_state != TFlowState::Closing) {
        m_loadingWhenClosed = m_state == TFlowState::Loading;
        EnterState(TFlowState::Closing);
    }
    if (!m_mainWindowReady) {
        EndApplication();
        return;
    }
    m_screen.HideEtymologyWindow();
    if (!m_loadingWhenClosed) {
        const bool agent = AgentOnScreen();
        if (agent)
            PlaySound(QStringLiteral("OPEN_QUIT"));
        m_screen.ShowClosing(kClosingText);
        const bool noClosingTitle = m_cc.context.fileCode == QStringLiteral("IT") || m_cc.context.userFile;
        if (agent) {
            Media().StopAgent();
            Media().SelectSpeechEngine();
            if (Settings().speechMode == kSpeechWithAgent) {
                const QString phrase = ChooseFarewellPhrase(m_cc.context.fileCode, Media().SpeechLanguageId(),
                                                            QTime::currentTime().hour(), m_media.WindowRandom());
                if (!phrase.isEmpty())
                    SpeakTracked(phrase);
            }
            Wait(kQuitFarewellWait);
            Media().PlayAgentAnimation(m_media.WindowRandom().Below(22) == 0 ? QStringLiteral("Wave") : QStringLiteral("Hide"),
                                       true);
            if (!noClosingTitle)
                Wait(kAgentUnloadWait);
            Media().UnloadAgent();
        } else {
            Wait(kQuitWithoutAgentWait);
        }
        if (!noClosingTitle) {
            m_screen.SetTitleCoverVisible(true);
            Wait(kClosingTitleWait);
            m_screen.HideMainMenus();
        }
    }
    EndApplication();
}

void TTrainingFlow::smFileExitClick()
{
    Guard([this] { FileExitAction(); });
}

void TTrainingFlow::smFileAllExitClick()
{
    if (IsAsking() || IsLoading() || m_state == TFlowState::Closing)
        return;
    m_quit = true;
    Guard([this] { FileExitAction(); });
}

// "このファイルを終了": the study run ends here and the file is closed with saving.
void TTrainingFlow::FileExitAction()
{
    if (IsAsking() || IsLoading() || m_state == TFlowState::Closing)
        return;
    m_fileEnded = true;
    if (Settings().showProgressAtEnd == 1)
        m_screen.ShowStatusAtFileEnd();
    CloseLearningFile(true);
}

void TTrainingFlow::FormClose()
{
    if (m_ended || m_state == TFlowState::Closing)
        return;
    m_quit = true;
    // Inside a step (its modal window is open) the step sees the quit flag
    // and ends the file itself; what is left is done when it returns.
    if (m_inStep) {
        m_closeDeferred = true;
        return;
    }
    CloseWindowNow();
}

void TTrainingFlow::CloseWindowNow()
{
    if (m_ended || m_state == TFlowState::Closing)
        return;
    Guard([this] {
        if (m_state == TFlowState::Asking && m_phase == TQuestionPhase::Posted) {
            // The question was asked for but never shown: nothing to end.
            m_idle.Remove();
            EnterState(TFlowState::Reviewing);
        }
        if (m_state == TFlowState::Loading) {
            // The loading step that is posted sees the quit flag and ends the program.
            m_idle.Install();
            return;
        }
        FileExitAction();
    });
}

void TTrainingFlow::EscapeRequested()
{
    if (IsAsking() || IsLoading() || m_state == TFlowState::Closing)
        return;
    Guard([this] {
        if (Run().state.training.remaining > 0 && !m_cc.context.notifier->Confirm(kQuitQuestion))
            return;
        m_screen.ClearQuestionTexts();
        m_quit = true;
        CloseLearningFile(true);
    });
}

// ---------------------------------------------------------------------------
// Answers
// ---------------------------------------------------------------------------

void TTrainingFlow::AnswerWithOption(int option)
{
    if (!IsAsking() || m_phase != TQuestionPhase::Waiting)
        return;
    m_chosenOption = option;
    m_typed = QString::number(option);
    m_answerGiven = true;
    m_phase = TQuestionPhase::Answered;
}

void TTrainingFlow::GiveUp()
{
    if (IsAsking() && m_phase == TQuestionPhase::Waiting) {
        m_answerGiven = true;
        m_phase = TQuestionPhase::Answered;
    }
}

// ---------------------------------------------------------------------------
// Quota label
// ---------------------------------------------------------------------------

void TTrainingFlow::UpdateQuotaLabel()
{
    const int remaining = Run().state.training.remaining;
    QString text;
    if (m_cc.UsableQuota() <= 0 || remaining < 0) {
        text = QStringLiteral("done");
    } else {
        const QString digits = QString::number(remaining);
        const int spaces = remaining >= 100 ? 1 : remaining >= 10 ? 2 : 3;
        text = QString(spaces, u' ') + digits;
    }
    m_screen.ShowQuota(text);
}

// ---------------------------------------------------------------------------
// Window events
// ---------------------------------------------------------------------------

void TTrainingFlow::ApplicationDeactivated()
{
    if (AgentOnScreen() && Settings().speechMode == kSpeechWithAgent) {
        Media().StopAgent();
        Media().MoveAgentOutOfView();
    }
}

void TTrainingFlow::ApplicationActivated()
{
    if (IsLoading() || m_screen.StarViewOrGalleryShowing())
        return;
    RestoreSoundDevice();
    if (AgentOnScreen() && Settings().speechMode == kSpeechWithAgent)
        Media().RestoreAgentTop();
}

void TTrainingFlow::RestoreSoundDevice()
{
    Media().RestoreSoundDevice();
}

void TTrainingFlow::AgentReaction()
{
    ReactToAnswer(Media(), Settings(), m_answerCorrect, m_media.WindowRandom());
}

void TTrainingFlow::PlaySound(const QString &name)
{
    Media().PlaySoundEffect(name);
}

bool TTrainingFlow::AgentOnScreen()
{
    return Media().AgentOnScreen();
}

void TTrainingFlow::PlayAgentAnimation(const QString &name)
{
    Media().PlayAgentAnimation(name);
}

void TTrainingFlow::SpeakTracked(const QString &text)
{
    Media().SpeakText(text, true);
}
