#pragma once
// The main window: the training window with its question area, option rows,
// the word pages below them, the title cover and the menus. The training
// itself runs in TTrainingFlow; this class builds the window, lays out its
// components and routes the window's events (keys, activation, closing) into
// the flow.
#include "widgets/MessageBoxes.h"
#include "app/Skins.h"
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
class TTrainingFlow;
class TWordPanel;

inline constexpr int kMainWindowWidth = 1024;
inline constexpr int kMainWindowHeight = 768;
inline constexpr int kSmallScreenWindowHeight = 734;
inline constexpr int kSmallScreenHeight = 768;   // a screen this high or lower is small
inline constexpr int kSmallScreenTabShift = 8;

class TMainForm : public QMainWindow {
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
    void ShowMainMenus();
    void HideMainMenus();

    TMainMenus &menus() { return *m_menus; }

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

    // ---- top-right corner ----
    void ShowTopRightDisplay(int setting);
    // The picture of the week, small; false (nothing shown) when the server
    // does not deliver it.
    bool ShowGalleryPicture();
    // Opens the weekly gallery.
    void Image_BWGClick();

    // ---- question area (the presentation details come with the question views) ----
    void ClearQuestionTexts();
    void ClearAnswerDetails();
    void ResetOptionButtons();
    // Option 1..3 gets its neutral, correct or wrong picture.
    void SetOptionButtonPicture(int option, TOptionPicture state);
    void SetSignalPicture(const QString &pictureName);
    void SetSignalCaption(const QString &caption, int fontPixelHeight);
    bool SignalShowsCaption() const;
    void FocusHiddenButton();
    void SetInputText(const QString &text);
    void SetQuestionPanelText(const QString &text);
    void SetTitleCoverVisible(bool visible);
    bool TitleCoverVisible() const;

    // ---- the window's position as the settings file stores it ----
    int windowTop() const;
    int windowLeft() const;

    // Designed height of the window on this screen (734 on small screens).
    static bool IsSmallScreen(int screenHeight) { return screenHeight <= kSmallScreenHeight; }

    // ---- components (named as the program's forms name them) ----
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
    QLabel *sLabel_Hasei = nullptr;

    std::array<QToolButton *, 3> sBitBtn_Op{};
    std::array<TPanel *, 3> sPanel_Op{};
    std::array<QLabel *, 3> sLabel_Op{};
    std::array<TPanel *, 3> sPanel_OpP{};
    std::array<QLabel *, 3> Image_OpP{};
    std::array<TPanel *, 3> sPanel_OpM{};
    QToolButton *sBitBtn_blank = nullptr;

    TPanel *sPanel_glimpse = nullptr;
    QLabel *sLabel_glimpse = nullptr;
    QToolButton *sSpeedButton_glimpse = nullptr;

    // The word panel below the question; the names below are those of its
    // components the training flow uses.
    TWordPanel *wordPanel = nullptr;
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

    // Menus.
    QMenu *mmFile = nullptr;
    QMenu *mmPreferences = nullptr;
    QMenu *mmInformation = nullptr;
    QAction *smFileManager = nullptr;
    QAction *smUserFile = nullptr;
    QAction *smReset = nullptr;
    QAction *smStatus = nullptr;
    QAction *smFileExit = nullptr;
    QAction *smFileAllExit = nullptr;
    QAction *smPreferences = nullptr;
    QAction *smJukugoRule = nullptr;
    QAction *smTokushuRule = nullptr;
    QAction *smWords = nullptr;

    // Timers (all start disabled).
    QTimer *TimerForPeedy = nullptr;
    QTimer *Timer_telop = nullptr;
    QTimer *Timer_DDSD = nullptr;

signals:
    void SkinApplied(const QString &skinName);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The designed size is the whole window, frame included: once the frame
    // is known the client area gives it room.
    void FitWindowFrame();
    QSize m_designedSize;
    void BuildComponents();
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
