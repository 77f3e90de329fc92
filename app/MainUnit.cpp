#include "app/MainUnit.h"

#include "data/RelatedWords.h"
#include "workspace/ProgramFolders.h"

#include "app/MainWidgets.h"
#include "app/Menus.h"
#include "app/Program.h"
#include "app/Skins.h"
#include "speech/SpeechAndSound.h"
#include "app/TrainingFlow.h"
#include "app/WordPanel.h"
#include "help/BelvaneUnit.h"
#include "engine/CommonUnit.h"
#include "help/Pictures.h"
#include "base/SlotGuard.h"
#include "speech/Pronunciation.h"
#include "widgets/LabelColour.h"
#include "widgets/ScreenFit.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>

namespace {
const QColor kFormColour(0xDA, 0xDA, 0xDA);
const QColor kTitleColour(0x9A, 0x9A, 0x9A);
const QColor kLogoColour(0xC6, 0xC6, 0xC6);
const QColor kRandomLabelColour(0x80, 0x80, 0x80);
const QColor kGlimpseDefaultColour(0xD8, 0xD8, 0xD8);
const QString kTitleFontFamily = QStringLiteral("Papyrus");
const QString kTitleFontResource = QStringLiteral(":/fonts/Cardo104s.ttf");
const QString kMigrationMarker = QStringLiteral("W.qda");
// The first release's program marker: its typing sounds end at 9.
const QString kFirstReleaseStamp = QStringLiteral("2005/07/19 11:12:02");
constexpr int kFirstNewTypingSound = 10;
const QString kTypingSoundNeedsUpdate = QStringLiteral(
    "この音を使用するには、プログラムのバージョンアップが必要です。\r\n\r\n"
    "※申し訳ありませんが、メニューから「最新バージョンをチェック」するのではなく、\r\n"
    "　 VORKAL のサイトで再度プログラムをダウンロードして上書きインストールしてください。");

// Designed places (client area).
const QRect kPanelQ(39, 38, 450, 36);
const QPoint kLabelQ(12, 9);
const QRect kGauge(40, 69, 448, 9);
const QRect kPanelSignal(40, 90, 42, 38);
const QRect kPanelInput(81, 90, 408, 38);
constexpr int kNormLeft = 347;
constexpr int kStatusLeft = 373;
constexpr int kInputLabelTop = 6;
constexpr int kInputFontHeight = 24;
const QPoint kRandomLabel(40, 20);
const QPoint kHaseiLabel(104, 132);
constexpr std::array<int, 3> kOptionTops = {160, 232, 304};
constexpr int kOptionButtonLeft = 40;
const QSize kOptionButton(42, 39);
constexpr int kOptionPanelLeft = 82;
constexpr int kOptionPanelWidth = 209;
constexpr int kOptionPanelHeight = 32;
constexpr int kPronunciationLeft = 290;
constexpr int kPronunciationWidth = 689;
constexpr int kMeaningOffset = 32;
constexpr int kMeaningWidth = 897;
constexpr int kMeaningHeight = 32;
constexpr int kOptionFontHeight = 20;
const QRect kGlimpsePanel(82, 232, 900, 132);
constexpr int kGlimpseFontHeight = 64;
const QRect kPageControl(40, 400, 937, 281);
const QPoint kLogo(823, 8);
constexpr int kLogoFontHeight = 32;
const QRect kTitleCover(0, -16, kMainWindowWidth, 784);
constexpr int kTitleFontHeight = 120;
constexpr int kWaitLabelTop = 560;
constexpr int kHiddenTop = 999;
constexpr int kReactionInterval = 2000;
// The top-right display: 1 the logo, 2 the picture of the week.
constexpr int kTopRightLogo = 1;
constexpr int kTopRightPicture = 2;
const QSize kGalleryThumbnail(120, 87);
constexpr int kGalleryPanelLeft = 840;
constexpr int kGalleryPanelWidth = 136;
constexpr int kGalleryPanelRight = 960;
constexpr int kGalleryPanelExtraWidth = 16;
constexpr int kGalleryPanelExtraHeight = 13;
constexpr int kTelopInterval = 1111;
constexpr int kSoundDeviceInterval = 3000;


// The grading sign read aloud: what its picture means.
QString SignalMeaning(const QString &pictureName)
{
    if (pictureName == QStringLiteral("Signal_O"))
        return QStringLiteral("正解");
    if (pictureName == QStringLiteral("Signal_X"))
        return QStringLiteral("不正解");
    if (pictureName == QStringLiteral("Signal_Q"))
        return QStringLiteral("解答待ち");
    return QStringLiteral("開始");
}

}

TMainForm::TMainForm(TCC &cc, TProgram &program, QWidget *parent)
    : QMainWindow(parent), m_cc(cc), m_program(program)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Tessarion"));
    // Fixed single border: system menu and minimise box only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kFormColour);
    setPalette(pal);
    setAutoFillBackground(true);
    BuildComponents();
    m_cc.notifier = &m_messageBoxes;
    m_flow = std::make_unique<TTrainingFlow>(m_cc, *this, m_program.media(), this);
    ConnectQuestionArea();
}

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
}

// ---------------------------------------------------------------------------
// Components
// ---------------------------------------------------------------------------

// What a screen reader says for the question, the options, the gauge and the
// grading sign: a name for each control (the texts shown are read from the
// labels themselves) and a sentence on how it is used.
void TMainForm::NameForAssistiveTechnology()
{
    sPanel_Q->setAccessibleName(QStringLiteral("問題"));
    sPanel_Q->setAccessibleDescription(QStringLiteral("答える英単語または熟語"));
    sLabel_Q->setAccessibleDescription(QStringLiteral("問題の単語"));
    sGauge_Time->setAccessibleName(QStringLiteral("残り時間"));
    sGauge_Time->setAccessibleDescription(QStringLiteral("解答までの残り時間。なくなると時間切れ"));
    sPanel_Input->setAccessibleName(QStringLiteral("入力欄"));
    sLabel_Input->setAccessibleDescription(QStringLiteral("タイプした答え"));
    sSpeedButton_Signal->setAccessibleName(QStringLiteral("判定"));
    sSpeedButton_Signal->setAccessibleDescription(QStringLiteral("解答の正誤と、その単語の出題の種類"));
    for (int i = 0; i < 3; ++i) {
        const auto at = static_cast<size_t>(i);
        const QString option = QStringLiteral("選択肢 %1").arg(i + 1);
        sBitBtn_Op[at]->setAccessibleName(option);
        sBitBtn_Op[at]->setAccessibleDescription(
            QStringLiteral("この意味を答えにします（キーボードの %1 でも選べます）").arg(i + 1));
        sPanel_Op[at]->setAccessibleName(option);
        sLabel_Op[at]->setAccessibleDescription(option + QStringLiteral(" の意味"));
        Image_OpP[at]->setAccessibleName(option + QStringLiteral(" の発音記号"));
        sPanel_OpM[at]->setAccessibleDescription(option + QStringLiteral(" の単語の意味"));
    }
}

void TMainForm::BuildComponents()
{
    BuildMenus();
    client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setAutoFillBackground(true);
    client->setPalette(palette());
    setCentralWidget(client);

    BuildQuestionArea();
    BuildOptionRows();
    NameForAssistiveTechnology();
    BuildWordPages();

    sPanel_BWG = new TPanel(client, QStringLiteral("sPanel_BWG"));
    sPanel_BWG->hide();
    Image_BWG = MakeLabel(sPanel_BWG, QStringLiteral("Image_BWG"));
    Image_BWG->setToolTip(QStringLiteral("一週間ごとに新しい絵が展示されます"));
    Image_BWG->setScaledContents(true);

    sLabel_migiue = MakeLabel(client, QStringLiteral("sLabel_migiue"), QStringLiteral("Tessarion"));
    sLabel_migiue->setAlignment(Qt::AlignCenter);
    SetTextColour(sLabel_migiue, kLogoColour);
    sLabel_migiue->hide();

    sButton_focus = new QPushButton(QStringLiteral("フォーカス用"), client);
    sButton_focus->setObjectName(QStringLiteral("sButton_focus"));
    sButton_focus->move(0, kHiddenTop);

    BuildTitleCover();
    ResetOptionButtons();

    TimerForPeedy = new QTimer(this);
    TimerForPeedy->setObjectName(QStringLiteral("TimerForPeedy"));
    TimerForPeedy->setInterval(kReactionInterval);
    Timer_telop = new QTimer(this);
    Timer_telop->setObjectName(QStringLiteral("Timer_telop"));
    Timer_telop->setInterval(kTelopInterval);
    Timer_DDSD = new QTimer(this);
    Timer_DDSD->setObjectName(QStringLiteral("Timer_DDSD"));
    Timer_DDSD->setInterval(kSoundDeviceInterval);
    Timer_DDSD->setSingleShot(true);
    connect(TimerForPeedy, &QTimer::timeout, this, Guarded(std::bind_front(&TMainForm::TimerForPeedyTimer, this)));
    connect(Timer_telop, &QTimer::timeout, this, Guarded(std::bind_front(&TMainForm::Timer_telopTimer, this)));
    connect(Timer_DDSD, &QTimer::timeout, this, Guarded(std::bind_front(&TMainForm::Timer_DDSDTimer, this)));
}

void TMainForm::BuildQuestionArea()
{
    sPanel_Q = new TPanel(client, QStringLiteral("sPanel_Q"));
    sPanel_Q->setGeometry(kPanelQ);
    sPanel_Q->setFont(PixelFont(14));
    sLabel_Q = MakeLabel(sPanel_Q, QStringLiteral("sLabel_Q"));
    sLabel_Q->setFont(PixelFont(18, true));
    sLabel_Q->move(kLabelQ);

    sGauge_Time = new TGauge(client, QStringLiteral("sGauge_Time"));
    sGauge_Time->setGeometry(kGauge);

    sPanel_Signal = new TPanel(client, QStringLiteral("sPanel_Signal"));
    sPanel_Signal->setGeometry(kPanelSignal);
    sSpeedButton_Signal = new QToolButton(sPanel_Signal);
    sSpeedButton_Signal->setObjectName(QStringLiteral("sSpeedButton_Signal"));
    sSpeedButton_Signal->setGeometry(1, 1, kPanelSignal.width() - 2, kPanelSignal.height() - 2);
    sSpeedButton_Signal->setAutoRaise(true);
    sSpeedButton_Signal->setFocusPolicy(Qt::NoFocus);
    sSpeedButton_Signal->setToolButtonStyle(Qt::ToolButtonIconOnly);

    sPanel_Input = new TPanel(client, QStringLiteral("sPanel_Input"));
    sPanel_Input->setGeometry(kPanelInput);
    sPanel_Input->setFont(PixelFont(14));
    sLabel_Input = MakeLabel(sPanel_Input, QStringLiteral("sLabel_Input"));
    sLabel_Input->setFont(PixelFont(kInputFontHeight, true));
    sLabel_Input->move(10, kInputLabelTop);
    sLabel_Norm = MakeLabel(sPanel_Input, QStringLiteral("sLabel_Norm"));
    sLabel_Norm->setToolTip(QStringLiteral("ノルマ残量"));
    sLabel_Norm->setFont(PixelFont(12));
    sLabel_Norm->setGeometry(kNormLeft, 2, 40, 16);
    sLabel_Norm->hide();
    sLabelFX_Status = MakeLabel(sPanel_Input, QStringLiteral("sLabelFX_Status"), QStringLiteral("IIII"));
    sLabelFX_Status->setToolTip(QStringLiteral("学習の進捗状況"));
    sLabelFX_Status->setFont(PixelFont(12, true));
    sLabelFX_Status->setGeometry(kStatusLeft, 20, 30, 16);
    sLabelFX_Status->hide();

    sLabel_random = MakeLabel(client, QStringLiteral("sLabel_random"), QStringLiteral("--- ランダム出題 ---"));
    sLabel_random->setToolTip(QStringLiteral(
        "忘却曲線に基づく出題がない場合はランダムに出題されます。この出題への解答は記録には反映されません。"));
    sLabel_random->move(kRandomLabel);
    SetTextColour(sLabel_random, kRandomLabelColour);
    sLabel_random->adjustSize();
    sLabel_random->hide();

    sLabel_Hasei = MakeLabel(client, QStringLiteral("sLabel_Hasei"));
    sLabel_Hasei->move(kHaseiLabel);
    sLabel_Hasei->setFont(PixelFont(16));
}

void TMainForm::BuildOptionRows()
{
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        const int top = kOptionTops[static_cast<size_t>(i)];
        auto *button = new QToolButton(client);
        button->setObjectName(QStringLiteral("sBitBtn_Op") + n);
        button->setGeometry(QRect(QPoint(kOptionButtonLeft, top), kOptionButton));
        button->setFocusPolicy(Qt::NoFocus);
        button->setIconSize(kOptionButton - QSize(4, 4));
        button->setEnabled(false);
        sBitBtn_Op[static_cast<size_t>(i)] = button;

        auto *pron = new TPanel(client, QStringLiteral("sPanel_Op%1P").arg(n));
        pron->setGeometry(kPronunciationLeft, top, kPronunciationWidth, kOptionPanelHeight);
        pron->setFrameStyle(QFrame::NoFrame);
        auto *picture = MakeLabel(pron, QStringLiteral("Image_Op%1P").arg(n));
        // The picture fills its panel; the glyphs start 8 pixels in and 5 down.
        picture->setGeometry(0, 0, kPronunciationWidth, kOptionPanelHeight);
        picture->setToolTip(QStringLiteral("クリックで発音記号の説明が表示されます"));
        sPanel_OpP[static_cast<size_t>(i)] = pron;
        Image_OpP[static_cast<size_t>(i)] = picture;

        auto *panel = new TPanel(client, QStringLiteral("sPanel_Op") + n);
        panel->setGeometry(kOptionPanelLeft, top, kOptionPanelWidth, kOptionPanelHeight);
        panel->setFrameStyle(QFrame::NoFrame);
        auto *label = MakeLabel(panel, QStringLiteral("sLabel_Op") + n);
        label->setFont(PixelFont(kOptionFontHeight, true));
        label->setGeometry(0, 3, kMeaningWidth, kOptionPanelHeight - 4);
        sPanel_Op[static_cast<size_t>(i)] = panel;
        sLabel_Op[static_cast<size_t>(i)] = label;

        auto *meaning = new TPanel(client, QStringLiteral("sPanel_Op%1M").arg(n));
        meaning->setGeometry(kOptionPanelLeft, top + kMeaningOffset, kMeaningWidth, kMeaningHeight);
        meaning->setFrameStyle(QFrame::NoFrame);
        meaning->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        meaning->setFont(PixelFont(14));
        sPanel_OpM[static_cast<size_t>(i)] = meaning;
    }
    sBitBtn_blank = new QToolButton(client);
    sBitBtn_blank->setObjectName(QStringLiteral("sBitBtn_blank"));
    sBitBtn_blank->setGeometry(QRect(QPoint(kOptionButtonLeft, kOptionTops[0]), kOptionButton));
    sBitBtn_blank->setFocusPolicy(Qt::NoFocus);
    sBitBtn_blank->hide();

    sPanel_glimpse = new TPanel(client, QStringLiteral("sPanel_glimpse"));
    sPanel_glimpse->setGeometry(kGlimpsePanel);
    sPanel_glimpse->setFrameStyle(QFrame::NoFrame);
    // It covers the rows of options 2 and 3, which a typing question leaves
    // out, also once its answer is shown.
    sPanel_glimpse->setAutoFillBackground(true);
    sLabel_glimpse = MakeLabel(sPanel_glimpse, QStringLiteral("sLabel_glimpse"));
    sLabel_glimpse->setGeometry(0, 10, kGlimpsePanel.width(), 90);
    sLabel_glimpse->setAlignment(Qt::AlignCenter);
    sLabel_glimpse->setFont(PixelFont(kGlimpseFontHeight));
    SetTextColour(sLabel_glimpse, kGlimpseDefaultColour);
    sSpeedButton_glimpse = new QToolButton(sPanel_glimpse);
    sSpeedButton_glimpse->setObjectName(QStringLiteral("sSpeedButton_glimpse"));
    sSpeedButton_glimpse->setText(QStringLiteral("Catch a Glimpse"));
    sSpeedButton_glimpse->setGeometry(kGlimpsePanel.width() / 2 - 60, 104, 120, 24);
    sSpeedButton_glimpse->setFocusPolicy(Qt::NoFocus);
    sPanel_glimpse->hide();
}

void TMainForm::BuildWordPages()
{
    m_wordPanel = new TWordPanel(*this, client, sLabel_Hasei);
    m_wordPanel->setGeometry(kPageControl);
    m_designedPageControlTop = kPageControl.top();
    sPageControl1 = m_wordPanel;
    sLabel_TabVoc_Voc = m_wordPanel->sLabel_TabVoc_Voc;
    sLabel_TabVoc_Memo = m_wordPanel->sLabel_TabVoc_Memo;
    sLabelFX_never = m_wordPanel->sLabelFX_never;
    TntTreeView = m_wordPanel->TntTreeView;
    sPanel_cover = m_wordPanel->sPanel_cover;
}

void TMainForm::BuildTitleCover()
{
    sGroupBox_Title = new QFrame(client);
    sGroupBox_Title->setObjectName(QStringLiteral("sGroupBox_Title"));
    sGroupBox_Title->setAutoFillBackground(true);
    sGroupBox_Title->setGeometry(kTitleCover);
    sLabel_TitleP = MakeLabel(sGroupBox_Title, QStringLiteral("sLabel_TitleP"), QStringLiteral("Tessarion"));
    sLabel_TitleP->setAlignment(Qt::AlignCenter);
    sLabel_TitleP->setGeometry(0, 0, kTitleCover.width(), kTitleCover.height() - 60);
    SetTextColour(sLabel_TitleP, kTitleColour);
    sLabel_wait = MakeLabel(sGroupBox_Title, QStringLiteral("sLabel_wait"),
                            QStringLiteral("≫≫≫　しばらくお待ちください ．．．"));
    sLabel_wait->setAlignment(Qt::AlignCenter);
    sLabel_wait->setGeometry(0, kWaitLabelTop, kTitleCover.width(), 24);
    sLabel_wait->setFont(PixelFont(14));
    SetTextColour(sLabel_wait, QColor(0x70, 0x70, 0x70));
    sLabel_wait->hide();
    sGroupBox_Title->raise();
}

void TMainForm::BuildMenus()
{
    QMenuBar *bar = menuBar();
    m_menus = new TMainMenus(*this, *bar);

    // The bar keeps its height while its menus are hidden, so that nothing
    // below it moves when they appear.
    m_menuBarHeight = bar->sizeHint().height();
    bar->setFixedHeight(m_menuBarHeight);
    HideMainMenus();
}

// ---------------------------------------------------------------------------
// Creation
// ---------------------------------------------------------------------------

void TMainForm::FormCreate()
{
    // 1. Timing uses the monotonic clock at nanosecond resolution: nothing to raise.
    // 2. Until the first file is loaded no key is accepted.
    m_flow->EnterLoading();
    // 3.-5. and 8. The start-up file steps, as every program start runs
    // them: an older workspace migrated, the user folder found and its tree
    // made, the folder's lock taken (the window is the folder's one writer
    // for its whole run: another program writing it is waited for briefly,
    // then the start is refused with a message naming the folder and that
    // program), the temporary files of an interrupted save removed.
    m_cc.RunStartupFileSteps(m_cc.programFolder);
    // 6.-7. Size and place.
    PlaceWindow();
    // 9. Dates are written by the engine's own date texts ("/" and "yyyy/mm/dd").
    // 10. The title font.
    RegisterTitleFont();
    // 11. The skin (no sound: the loading flag is set).
    ApplySkin(kDefaultSkinName);
    // 12. The cover panel over the word pages.
    LayCoverPanel();
    // 13. Empty texts.
    for (TPanel *p : sPanel_OpP)
        p->clear();
    ClearQuestionTexts();
    sLabel_glimpse->clear();
    // 14.
    sLabel_Q->move(kLabelQ);
    // 15. The title cover over the whole window, until the first file is ready.
    sGroupBox_Title->setGeometry(kTitleCover);
    sGroupBox_Title->raise();
    sGroupBox_Title->show();
    // 16. A start picture on the signal button.
    SetSignalPicture(QStringLiteral("Signal_Start%1").arg(m_program.media().WindowRandom().Between(1, 4)));
    // 17. Activation hooks.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, Guarded([this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            ApplicationActivated();
        else if (state == Qt::ApplicationInactive)
            ApplicationDeactivated();
    }));
    // Keys of the whole window reach the key handler before any control.
    qApp->installEventFilter(this);
    // 18. Related words.
    LoadRelatedWords(ShippedFileFolder(m_cc.context, kRelatedWordsFile), m_program.relatedWords());
    // 19.-20. Ready to run: the first idle call loads the first file.
    m_flow->MainWindowCreated();
}

void TMainForm::PlaceWindow()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect whole = screen ? screen->geometry() : QRect(0, 0, kMainWindowWidth, kMainWindowHeight);
    // Centred in the room that panels and docks leave.
    const QRect avail = screen ? screen->availableGeometry() : whole;
    int height = kMainWindowHeight;
    QRect pages = kPageControl;
    if (IsSmallScreen(whole.height())) {
        height = kSmallScreenWindowHeight;
        pages.moveTop(kPageControl.top() - kSmallScreenTabShift);
    }
    sPageControl1->setGeometry(pages);
    m_designedSize = QSize(kMainWindowWidth, height);
    setFixedSize(m_designedSize);

    int top = avail.top() + (avail.height() - height) / 2;
    int left = avail.left() + (avail.width() - kMainWindowWidth) / 2;
    if (const auto stored = m_flow->StoredWindowPosition()) {
        top = stored->y();
        left = stored->x();
    }
    move(left, top);
    FitToScreen();
}

void TMainForm::showEvent(QShowEvent *event)
{
    Guard([&] {
        QMainWindow::showEvent(event);
        // The window manager adds the frame after the window is shown.
        QTimer::singleShot(0, this, Guarded([this] { FitWindowFrame(); }));
    });
}

void TMainForm::FitWindowFrame()
{
    const QSize frame = frameGeometry().size() - size();
    const bool measured = frame.width() >= 0 && frame.height() >= 0 && frame != QSize(0, 0);
    if (measured && !m_designedSize.isEmpty() && centralWidget() == client) {
        const QPoint topLeft = pos();   // the frame's corner: the centred or stored place stays
        setFixedSize(m_designedSize - frame);
        move(topLeft);
    }
    FitToScreen();
}

void TMainForm::FitToScreen()
{
    // The designed size (frame included) stays where it fits; on a screen
    // with less room the client area scrolls under the menu bar, so every
    // control stays reachable.
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen || m_designedSize.isEmpty())
        return;
    const QSize room = screen->availableGeometry().size();
    const bool fits = m_designedSize.width() <= room.width() && m_designedSize.height() <= room.height();
    if (!fits || centralWidget() != client)
        FitOnScreen(this);
}

void TMainForm::LayCoverPanel()
{
    m_wordPanel->LayCoverPanel();
    sGroupBox_Title->raise();
}

void TMainForm::RegisterTitleFont()
{
    // The shipped decorative face (Cardo, SIL Open Font License, beside it
    // in resources/fonts/) stands in for the title face.
    const QStringList candidates = {kTitleFontResource};
    m_titleFontFamily = kTitleFontFamily;
    for (const QString &path : candidates) {
        QFile f(path);
        // A resource of 14 bytes or less is no font.
        if (!f.exists() || f.size() <= 14)
            continue;
        const int id = QFontDatabase::addApplicationFont(path);
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty()) {
            m_titleFontFamily = families.first();
            // Every window that asks for the title face by its name (the
            // etymology window's origin, the quick-response word) gets it too.
            QFont::insertSubstitution(kTitleFontFamily, m_titleFontFamily);
            break;
        }
    }
    QFont title(m_titleFontFamily);
    title.setStyleHint(QFont::Serif);
    if (!QFontDatabase::families().contains(m_titleFontFamily))
        title.setItalic(true);
    title.setPixelSize(kTitleFontHeight);
    sLabel_TitleP->setFont(title);
    title.setPixelSize(kLogoFontHeight);
    sLabel_migiue->setFont(title);
    sLabel_migiue->adjustSize();
    sLabel_migiue->move(kLogo);
}

// ---------------------------------------------------------------------------
// Menus, skins, the top-right corner
// ---------------------------------------------------------------------------

void TMainForm::ShowMainMenus()
{
    m_menus->ShowMainMenus();
}

void TMainForm::HideMainMenus()
{
    m_menus->HideMainMenus();
}

void TMainForm::ApplySkin(const QString &skinName)
{
    // 1. Not while a question waits.
    if (m_flow->IsAsking())
        return;
    const bool loading = m_flow->IsLoading();
    // 2.
    if (!loading)
        m_flow->PlaySound(QStringLiteral("SKIN"));
    // A name the table does not know (a settings file from elsewhere) is the default skin.
    const TSkin *found = FindSkin(skinName);
    const TSkin &skin = found ? *found : *FindSkin(kDefaultSkinName);
    // 3. The ticked skin again changes nothing, except the random colours.
    if (skin.name != kRandomColourSkinName && m_menus->SkinTicked(skin.name) && m_skinName == skin.name)
        return;
    // 4.
    if (!loading)
        m_program.HideEtymologyWindow();
    // 5.
    m_menus->TickSkin(skin.name);
    m_skinName = skin.name;
    m_cc.settings.skin = skin.name;
    m_skinPictureSuffix = skin.pictureSuffix;
    m_skinTextColour = skin.text;
    // 6.-7. The window's look, turned by the random colours for Eos.
    m_colourShift = skin.name == kRandomColourSkinName ? DrawRandomColourShift(m_program.media().WindowRandom()) : TColourShift{};
    QPalette pal = SkinPalette(skin, m_colourShift, palette());
    setPalette(pal);
    const QPixmap back = SkinBackground(skin, m_colourShift, client->size().expandedTo(QSize(kMainWindowWidth, kMainWindowHeight)));
    if (!back.isNull())
        pal.setBrush(QPalette::Window, QBrush(back));
    client->setPalette(pal);
    menuBar()->setStyleSheet(SkinMenuStyle(skin, m_colourShift));
    QFont menuFont = menuBar()->font();
    menuFont.setFamily(skin.font.family);
    menuFont.setPixelSize(skin.font.pixelSize);
    menuFont.setBold(skin.font.bold);
    menuBar()->setFont(menuFont);
    // 9. The skin's text colour on the question, options, meanings and input.
    for (QWidget *w : {static_cast<QWidget *>(sLabel_Input), static_cast<QWidget *>(sLabel_Q)})
        SetTextColour(w, skin.text);
    for (size_t i = 0; i < 3; ++i) {
        SetTextColour(sLabel_Op[i], skin.text);
        SetTextColour(sPanel_OpM[i], skin.text);
    }
    SetTextColour(sLabel_glimpse, skin.glimpse);
    // 8. The stage pictures behind the forgetting curve, and the curve.
    m_wordPanel->ApplySkin(skin.name, skin.pictureSuffix);
    ClearAnswerDetails();
    emit SkinApplied(skin.name);
}

void TMainForm::ApplyTypingSound(int setting)
{
    setting = qBound(1, setting, kTypingSoundCount);
    const bool loading = m_flow->IsLoading();
    if (!loading) {
        // The sounds 10 to 16 came with a later program than the first one.
        const QFileInfo marker(m_cc.programFolder + kMigrationMarker);
        const bool firstRelease = marker.exists() &&
                                  marker.lastModified().toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")) == kFirstReleaseStamp;
        if (setting >= kFirstNewTypingSound && firstRelease)
            m_messageBoxes.Information(kTypingSoundNeedsUpdate);
        else
            m_flow->PlaySound(QStringLiteral("SKIN"));
    }
    m_menus->TickTypingSound(setting);
    m_typingSound = setting;
    m_cc.settings.typingSound = setting;
    if (!loading)
        m_program.media().LoadSoundEffects();
}

void TMainForm::SetActiveTabIcon(int index)
{
    m_wordPanel->SetActiveTabIcon(index);
}

void TMainForm::ShowTopRightDisplay(int setting)
{
    sPanel_BWG->hide();
    sLabel_migiue->hide();
    // The picture of the week when the server delivers it; otherwise the logo.
    if (setting == kTopRightPicture && ShowGalleryPicture())
        return;
    if (setting == kTopRightLogo || setting == kTopRightPicture) {
        sLabel_migiue->raise();
        sLabel_migiue->show();
    }
}

bool TMainForm::ShowGalleryPicture()
{
    const QImage picture = m_program.belvaneForm().WeekPicture();
    if (picture.isNull())
        return false;
    // A small copy of the week's picture: landscapes 120 wide, upright ones as high.
    // A picture that, 120 wide, is as high as the corner allows (rounded)
    // takes the full width; others take the full height.
    const int heightAtFullWidth = qRound(double(picture.height()) * kGalleryThumbnail.width() / picture.width());
    const QImage small = heightAtFullWidth <= kGalleryThumbnail.height()
                             ? picture.scaled(kGalleryThumbnail.width(), heightAtFullWidth, Qt::IgnoreAspectRatio,
                                              Qt::SmoothTransformation)
                             : picture.scaledToHeight(kGalleryThumbnail.height(), Qt::SmoothTransformation);
    Image_BWG->setPixmap(QPixmap::fromImage(small));
    const QSize size = small.size();
    QRect panel = size.width() == kGalleryThumbnail.width()
                      ? QRect(kGalleryPanelLeft, 0, kGalleryPanelWidth, size.height() + kGalleryPanelExtraHeight)
                      : QRect(kGalleryPanelRight - size.width(), 0, size.width() + kGalleryPanelExtraWidth,
                              size.height() + kGalleryPanelExtraHeight);
    const int grow = m_skinName == QStringLiteral("Athena") ? 1 : m_skinName == QStringLiteral("Aegean") ? 3 : 0;
    panel.setSize(panel.size() + QSize(grow, grow));
    sPanel_BWG->setGeometry(panel);
    Image_BWG->setGeometry((panel.width() - size.width()) / 2, (panel.height() - size.height()) / 2, size.width(),
                           size.height());
    sPanel_BWG->raise();
    sPanel_BWG->show();
    return true;
}

void TMainForm::Image_BWGClick()
{
    m_flow->PlaySound(QStringLiteral("BUTTON"));
    TSpeechAndSound &media = m_program.media();
    if (media.AgentOnScreen()) {
        media.StopAgent();
        media.MoveAgentOutOfView();
    }
    // No answer time passes while the gallery is open.
    m_flow->RunModalOverQuestion([this] { m_program.belvaneForm().ShowModal(); });
}

// ---------------------------------------------------------------------------
// Question area
// ---------------------------------------------------------------------------

void TMainForm::ClearQuestionTexts()
{
    sLabel_Q->clear();
    sLabel_Input->clear();
    sLabel_Hasei->clear();
    for (size_t i = 0; i < 3; ++i) {
        sLabel_Op[i]->clear();
        sPanel_OpM[i]->clear();
    }
    repaint();
}

void TMainForm::ClearAnswerDetails()
{
    for (QLabel *picture : Image_OpP)
        picture->clear();
}

void TMainForm::SetOptionButtonPicture(int option, TOptionPicture state)
{
    QToolButton *button = sBitBtn_Op[static_cast<size_t>(option - 1)];
    const int index = (option - 1) * 3 + static_cast<int>(state);
    button->setIcon(QIcon(OptionButtonPicture(index, devicePixelRatio())));
    button->setProperty("picture", OptionButtonPictureName(index));
}

void TMainForm::ResetOptionButtons()
{
    for (int option = 1; option <= 3; ++option) {
        SetOptionButtonPicture(option, TOptionPicture::Neutral);
        sBitBtn_Op[static_cast<size_t>(option - 1)]->setEnabled(false);
    }
}

void TMainForm::SetSignalPicture(const QString &pictureName)
{
    sSpeedButton_Signal->setText(QString());
    sSpeedButton_Signal->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const QPixmap picture = PictureByName(pictureName, devicePixelRatio());
    sSpeedButton_Signal->setIconSize(picture.deviceIndependentSize().toSize());
    sSpeedButton_Signal->setIcon(QIcon(picture));
    sSpeedButton_Signal->setProperty("picture", pictureName);
    sSpeedButton_Signal->setAccessibleName(QStringLiteral("判定：") + SignalMeaning(pictureName));
}

void TMainForm::SetSignalCaption(const QString &caption, int fontPixelHeight)
{
    sSpeedButton_Signal->setIcon(QIcon());
    sSpeedButton_Signal->setProperty("picture", QString());
    QFont f = sSpeedButton_Signal->font();
    f.setPixelSize(fontPixelHeight);
    f.setBold(true);
    sSpeedButton_Signal->setFont(f);
    sSpeedButton_Signal->setToolButtonStyle(Qt::ToolButtonTextOnly);
    sSpeedButton_Signal->setText(caption);
    sSpeedButton_Signal->setAccessibleName(QStringLiteral("判定：") + caption);
}

bool TMainForm::SignalShowsCaption() const
{
    return !sSpeedButton_Signal->text().isEmpty();
}

void TMainForm::FocusHiddenButton()
{
    sButton_focus->setFocus(Qt::OtherFocusReason);
}

void TMainForm::SetInputText(const QString &text)
{
    sPanel_Input->setText(text);
    sPanel_Input->repaint();
}

void TMainForm::SetQuestionPanelText(const QString &text)
{
    sPanel_Q->setText(text);
    sPanel_Q->repaint();
}

void TMainForm::SetTitleCoverVisible(bool visible)
{
    if (visible) {
        sGroupBox_Title->raise();
        sGroupBox_Title->show();
    } else {
        sGroupBox_Title->hide();
        repaint();
    }
}

bool TMainForm::TitleCoverVisible() const
{
    return !sGroupBox_Title->isHidden();
}

// ---------------------------------------------------------------------------
// Events
// ---------------------------------------------------------------------------

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    return GuardReturning(false, [&]() -> bool {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::Enter) {
            if (QuestionAreaMouse(watched, event))
                return true;
            if (watched == Image_BWG && event->type() == QEvent::MouseButtonPress) {
                Image_BWGClick();
                return true;
            }
            return QMainWindow::eventFilter(watched, event);
        }
        if (event->type() != QEvent::KeyPress)
            return QMainWindow::eventFilter(watched, event);
        auto *widget = qobject_cast<QWidget *>(watched);
        // Keys of this window only; a dialog over it handles its own keys.
        if (!widget || widget->window() != this)
            return QMainWindow::eventFilter(watched, event);
        return m_flow->KeyDown(*static_cast<QKeyEvent *>(event));
    });
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    Guard([&] {
        // The window stays until the file is closed and the program ends.
        event->ignore();
        m_flow->FormClose();
    });
}

void TMainForm::ApplicationDeactivated()
{
    m_flow->ApplicationDeactivated();
}

void TMainForm::ApplicationActivated()
{
    m_flow->ApplicationActivated();
}

void TMainForm::Timer_DDSDTimer()
{
    m_flow->RestoreSoundDevice();
}

void TMainForm::Timer_telopTimer()
{
    m_wordPanel->Timer_telopTimer();
}

void TMainForm::TimerForPeedyTimer()
{
    TimerForPeedy->stop();
    m_flow->AgentReaction();
}
