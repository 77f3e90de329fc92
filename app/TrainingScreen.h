#pragma once
// What the training flow shows and the windows it opens over the training:
// the flow (TTrainingFlow) keeps the order of the steps and their timing and
// reaches the main window only through this interface. The main window
// (TMainForm) is the screen of the program; tests may put a small recording
// screen in its place. Every operation only shows: what is asked, judged and
// saved stays with the study run.
#include <QString>
#include <array>

// The learning file's own look, applied when it has been opened.
struct TFileLook {
    int topRightDisplay = 0;   // 0 nothing, 1 the logo, 2 the picture of the week
    int startTab = 0;          // the word page the file opens on
    QString skin;
    int typingSound = 1;
};

// The items of the menus that depend on the learning file.
struct TFileMenus {
    bool phraseRules = false;          // the rules of the phrase file
    bool pronunciationRules = false;   // the special pronunciation rules (not for US English)
    bool wordList = false;             // the list of the file's words (not for a user file)
};

// The place of the main window and the word page on top, as the settings
// file stores them.
struct TWindowPlace {
    int top = 0;
    int left = 0;
    int activeTab = 0;
};

class TTrainingScreen {
public:
    virtual ~TTrainingScreen() = default;

    // ---- a learning file opens ----
    // The waiting line on the title cover while the catalog is read.
    virtual void ShowWaitLine(bool shown) = 0;
    // The file about to load: its title in the question panel and the
    // loading line.
    virtual void ShowFileLoading(const QString &title, const QString &loadingLine) = 0;
    // Option meanings the whole width of the window (phrase and user
    // files), and the time the agent waits before it reacts to an answer.
    virtual void LayOutOptionRows(bool wide, int reactionMilliseconds) = 0;
    virtual void ApplyFileLook(const TFileLook &look) = 0;
    virtual void ShowFileMenus(const TFileMenus &menus) = 0;
    virtual void ShowRandomMark(bool shown) = 0;
    virtual bool TitleCoverVisible() const = 0;
    virtual void SetTitleCoverVisible(bool visible) = 0;
    virtual void ShowMainMenus() = 0;
    virtual void HideMainMenus() = 0;

    // ---- the texts of the question area ----
    virtual void SetInputText(const QString &text) = 0;
    virtual void SetQuestionPanelText(const QString &text) = 0;
    virtual void ClearQuestionTexts() = 0;
    virtual void ClearAnswerDetails() = 0;
    virtual void FocusHiddenButton() = 0;
    // The quota line and the progress mark appear with the first question.
    virtual void ShowQuotaLine() = 0;
    virtual void ShowQuota(const QString &text) = 0;

    // ---- a question ----
    // The word pages and their timers wait while a question is open.
    virtual void StopReviewTimers() = 0;
    virtual void StopSoundDeviceCheck() = 0;
    virtual void StopAgentReaction() = 0;
    // The typed line back at its full size, empty.
    virtual void ResetTypedLine() = 0;
    virtual void ClearRelatedTree() = 0;
    virtual void ShowExclusion(bool excluded) = 0;
    virtual void SetWordPagesEnabled(bool enabled) = 0;
    // The word pages of the previous question are cleared, the forgetting
    // curve drawn for the new one.
    virtual void ClearWordPages() = 0;
    // The option buttons neutral and enabled, ready for a question.
    virtual void ArmOptionButtons() = 0;
    // The question text (a word or its meanings) and the layout of a typing
    // or an option question.
    virtual void ShowQuestion(const QString &text, bool wordToMeaning, bool typing) = 0;
    // The typed answer with its cursor; a long one in a smaller font.
    virtual void ShowTyped(const QString &typed) = 0;
    virtual void ShowGauge(int position, int maximum) = 0;
    virtual void SetSignalCaption(const QString &caption, int fontPixelHeight) = 0;
    virtual void SetSignalPicture(const QString &pictureName) = 0;
    virtual bool SignalShowsCaption() const = 0;
    // The three options' words, or the typing question's hint (first row).
    virtual void ShowOptionWords(const std::array<QString, 3> &words) = 0;
    virtual void ShowOptionMeanings(const std::array<QString, 3> &meanings) = 0;
    virtual void ShowFirstOptionText(const QString &text) = 0;
    // The answer: option buttons off, the right one marked and focused, a
    // wrong choice marked.
    virtual void ResetOptionButtons() = 0;
    virtual void MarkOptions(int correctPosition, int wrongChoice) = 0;
    // Each option's pronunciation code (empty: none).
    virtual void ShowPronunciations(const std::array<QString, 3> &codes) = 0;
    virtual bool GlimpseShown() const = 0;
    virtual void ShowGlimpse(const QString &text) = 0;
    virtual void NextWordPage() = 0;

    // ---- the grade ----
    virtual void ShowGradedWord(int position) = 0;
    virtual void ShowTypedWordHint(const QString &hint) = 0;
    virtual void ShowOptionHints(const std::array<QString, 3> &hints) = 0;
    virtual void ShowExplanationLine(const QString &line) = 0;
    virtual void ShowWordInfo() = 0;
    // The telop and the sound-device check run while the answer is shown;
    // the agent reacts after its own time.
    virtual void StartReviewTimers() = 0;
    virtual void StartAgentReaction() = 0;

    // ---- a file closes, the program ends ----
    // The question area as between files: covered word pages, no glimpse,
    // no quota line, a full gauge, the start picture on the signal.
    virtual void ShowFileClosed(const QString &signalPicture) = 0;
    virtual void ShowClosing(const QString &closingLine) = 0;
    virtual TWindowPlace WindowPlace() const = 0;

    // ---- windows over the training ----
    // The learning-file manager at the program's start: false when the
    // learner ended the program there.
    virtual bool RunFileManagerAtStart() = 0;
    virtual void ShowStageNotice() = 0;
    // No question can be asked: true when the learner goes on with random
    // questions.
    virtual bool OfferRandomQuestions() = 0;
    virtual void RunQuickResponseDrill() = 0;
    virtual void ShowStatusAtFileEnd() = 0;
    virtual void ShowEtymologyWindow(int position) = 0;
    virtual void HideEtymologyWindow() = 0;
    virtual void ClearEtymologyHistory() = 0;
    virtual bool StarViewOrGalleryShowing() const = 0;
};
