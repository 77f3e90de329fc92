#pragma once
// The main window: the training window with its question area, option rows,
// the word pages below them, the title cover and the menus. The training
// itself runs in TTrainingFlow; this class builds the window, lays out its
// components, is the flow's screen (TTrainingScreen: the flow reaches the
// controls only through its operations) and routes the window's events
// (keys, activation, closing) into the flow. Its controls are its own.
#include "widgets/MessageBoxes.h"
#include "app/Skins.h"
#include "app/TrainingScreen.h"
#include "help/Pictures.h"

#include <QColor>
#include <QPixmap>
#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolButton;
class QTreeWidget;
class QWidget;
class TCC;
class TGauge;
class TMainMenus;
class TPanel;
class TProgram;
class TPronunciation;
class TTrainingFlow;
class TWordPanel;

inline constexpr int kMainWindowWidth = 1024;
inline constexpr int kMainWindowHeight = 768;
inline constexpr int kSmallScreenWindowHeight = 734;
inline constexpr int kSmallScreenHeight = 768;   // a screen this high or lower is small
inline constexpr int kSmallScreenTabShift = 8;

class TMainForm : public QMainWindow, public TTrainingScreen {
    Q_OBJECT
public:
    TMainForm(TCC &cc, TProgram &program, QWidget *parent = nullptr);
    ~TMainForm() override;

    // The creation handler: the start-up steps of the main window, run once by
    // ExecuteMainProgram right after the window object exists.
    void FormCreate();

    TCC &cc() { return m_cc; }
    TProgram &program() { return m_program; }
    TTrainingFlow &flow() { return *m_flow; }
    TNotifier &messageBoxes() { return m_messageBoxes; }

    // ---- menus ----
    TMainMenus &menus() { return *m_menus; }
    // The word pages below the options.
    TWordPanel &wordPanel() { return *m_wordPanel; }

    // ---- skins and typing sounds ----
    void ApplySkin(const QString &skinName);
    void ApplyTypingSound(int setting);
    QString skinName() const { return m_skinName; }
    QString skinPictureSuffix() const { return m_skinPictureSuffix; }
    // The skin's text colour, also the colour of the pronunciation glyphs.
    QColor skinTextColour() const { return m_skinTextColour; }
    int typingSound() const { return m_typingSound; }

    // ---- word pages ----
    void SetActiveTabIcon(int index);
    // The telop has shown its line.
    void StopTelop();

    // ---- top-right corner ----
    void ShowTopRightDisplay(int setting);
    // The picture of the week, small; false (nothing shown) when the server
    // does not deliver it.
    bool ShowGalleryPicture();
    // Opens the weekly gallery.
    void Image_BWGClick();

    // ---- the training flow's screen (TTrainingScreen) ----
    void ShowWaitLine(bool shown) override;
    void ShowFileLoading(const QString &title, const QString &loadingLine) override;
    void LayOutOptionRows(bool wide, int reactionMilliseconds) override;
    void ApplyFileLook(const TFileLook &look) override;
    void ShowFileMenus(const TFileMenus &menus) override;
    void ShowRandomMark(bool shown) override;
    bool TitleCoverVisible() const override;
    void SetTitleCoverVisible(bool visible) override;
    void ShowMainMenus() override;
    void HideMainMenus() override;
    void SetInputText(const QString &text) override;
    void SetQuestionPanelText(const QString &text) override;
    void ClearQuestionTexts() override;
    void ClearAnswerDetails() override;
    void FocusHiddenButton() override;
    void ShowQuotaLine() override;
    void ShowQuota(const QString &text) override;
    void StopReviewTimers() override;
    void StopSoundDeviceCheck() override;
    void StopAgentReaction() override;
    void ResetTypedLine() override;
    void ClearRelatedTree() override;
    void ShowExclusion(bool excluded) override;
    void SetWordPagesEnabled(bool enabled) override;
    void ClearWordPages() override;
    void ArmOptionButtons() override;
    void ShowQuestion(const QString &text, bool wordToMeaning, bool typing) override;
    void ShowTyped(const QString &typed) override;
    void ShowGauge(int position, int maximum) override;
    void SetSignalCaption(const QString &caption, int fontPixelHeight) override;
    void SetSignalPicture(const QString &pictureName) override;
    bool SignalShowsCaption() const override;
    void ShowOptionWords(const std::array<QString, 3> &words) override;
    void ShowOptionMeanings(const std::array<QString, 3> &meanings) override;
    void ShowFirstOptionText(const QString &text) override;
    void ResetOptionButtons() override;
    void MarkOptions(int correctPosition, int wrongChoice) override;
    void ShowPronunciations(const std::array<QString, 3> &codes) override;
    bool GlimpseShown() const override;
    void ShowGlimpse(const QString &text) override;
    void NextWordPage() override;
    void ShowGradedWord(int position) override;
    void ShowTypedWordHint(const QString &hint) override;
    void ShowOptionHints(const std::array<QString, 3> &hints) override;
    void ShowExplanationLine(const QString &line) override;
    void ShowWordInfo() override;
    void StartReviewTimers() override;
    void StartAgentReaction() override;
    void ShowFileClosed(const QString &signalPicture) override;
    void ShowClosing(const QString &closingLine) override;
    TWindowPlace WindowPlace() const override;
    bool RunFileManagerAtStart() override;
    void ShowStageNotice() override;
    bool OfferRandomQuestions() override;
    void RunQuickResponseDrill() override;
    void ShowStatusAtFileEnd() override;
    void ShowEtymologyWindow(int position) override;
    void HideEtymologyWindow() override;
    void ClearEtymologyHistory() override;
    bool StarViewOrGalleryShowing() const override;

    // Designed height of the window on this screen (734 on small screens).
    static bool IsSmallScreen(int screenHeight) { return screenHeight <= kSmallScreenHeight; }

signals:
    void SkinApplied(const QString &skinName);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // ---- components (named as the program's forms name them; tests find
    // them by these names) ----
    QWidget *client = nullptr;            // client area: every position below is inside it

    QFrame *sGroupBox_Title = nullptr;    // the title cover over the whole window
    QLabel *sLabel_TitleP = nullptr;
    QLabel *sLabel_wait = nullptr;

    TPanel *sPanel_Q = nullptr;
    QLabel *sLabel_Q = nullptr;
    TGauge *sGauge_Time = nullptr;
    TPanel *sPanel_Signal = nullptr;
    QToolButton *sSpeedButton_Signal = nullptr;
    TPanel *sPanel_Input = nullptr;
    QLabel *sLabel_Input = nullptr;
    QLabel *sLabel_Norm = nullptr;
    QLabel *sLabelFX_Status = nullptr;
    QLabel *sLabel_random = nullptr;
    // The line above the options: the related-words telop after an answer,
    // or the hint after a wrong typed answer.
    QLabel *sLabel_Hasei = nullptr;

    // The three option rows: the button (answered by the keys 1-3 only), the
    // word panel and its label (the word, or the typing hint), the
    // pronunciation panel with its glyph picture, and the meaning line.
    std::array<QToolButton *, 3> sBitBtn_Op{};
    std::array<TPanel *, 3> sPanel_Op{};
    std::array<QLabel *, 3> sLabel_Op{};
    std::array<TPanel *, 3> sPanel_OpP{};
    std::array<QLabel *, 3> Image_OpP{};
    std::array<TPanel *, 3> sPanel_OpM{};
    // Stands in for the buttons of rows 2 and 3 during a typing question.
    QToolButton *sBitBtn_blank = nullptr;

    TPanel *sPanel_glimpse = nullptr;
    QLabel *sLabel_glimpse = nullptr;
    QToolButton *sSpeedButton_glimpse = nullptr;

    // The word panel below the options and the components of it the screen
    // operations use: the word line and its explanation, the exclusion
    // switch, the tree of related words (second page) and the cover over
    // the pages between files.
    TWordPanel *m_wordPanel = nullptr;
    QTabWidget *sPageControl1 = nullptr;
    QLabel *sLabel_TabVoc_Voc = nullptr;
    QLabel *sLabel_TabVoc_Memo = nullptr;
    QLabel *sLabelFX_never = nullptr;
    QTreeWidget *TntTreeView = nullptr;
    TPanel *sPanel_cover = nullptr;

    TPanel *sPanel_BWG = nullptr;
    QLabel *Image_BWG = nullptr;
    QLabel *sLabel_migiue = nullptr;
    QPushButton *sButton_focus = nullptr;   // "フォーカス用", kept out of view

    // Timers, all stopped until the flow starts them: the parakeet's
    // reaction a while after a graded answer (2 s, 3.6 s for phrase files),
    // the telop that writes the related-words line after an answer, and a
    // one-shot 3 s check that opens a lost sound device again.
    QTimer *TimerForPeedy = nullptr;
    QTimer *Timer_telop = nullptr;
    QTimer *Timer_DDSD = nullptr;

    void SetOptionButtonPicture(int option, TOptionPicture state);
    // The question text in the largest font that fits, the panels of the
    // question row as wide as it needs.
    void LayoutQuestionText(const QString &text, bool wordToMeaning);
    // The pronunciation glyphs are drawn when first needed.
    std::unique_ptr<TPronunciation> m_pronunciation;

    // The designed size is the whole window, frame included: once the frame
    // is known the client area gives it room.
    void FitWindowFrame();
    void FitToScreen();
    QSize m_designedSize;
    void BuildComponents();
    // What a screen reader says for the question, the options, the gauge
    // and the grading sign.
    void NameForAssistiveTechnology();
    void BuildQuestionArea();
    void BuildOptionRows();
    void BuildWordPages();
    void BuildTitleCover();
    void BuildMenus();
    void PlaceWindow();
    void LayCoverPanel();
    void RegisterTitleFont();
    void ApplicationActivated();
    void ApplicationDeactivated();
    void Timer_DDSDTimer();
    void Timer_telopTimer();
    void TimerForPeedyTimer();
    // The question area's mouse actions (clicks on labels, option buttons,
    // pronunciation pictures, the glimpse button and the exclusion switch).
    void ConnectQuestionArea();
    bool QuestionAreaMouse(QObject *watched, QEvent *event);
    void CopyToClipboard(const QString &text);

    TCC &m_cc;
    TProgram &m_program;
    TMessageBoxNotifier m_messageBoxes{this};
    std::unique_ptr<TTrainingFlow> m_flow;
    TMainMenus *m_menus = nullptr;
    QString m_skinName;
    QString m_skinPictureSuffix;
    QColor m_skinTextColour;
    TColourShift m_colourShift;
    QString m_titleFontFamily;
    int m_typingSound = 1;
    int m_menuBarHeight = 0;
    int m_designedPageControlTop = 0;
};
