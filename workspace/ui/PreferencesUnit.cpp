#include "workspace/ui/PreferencesUnit.h"

#include "widgets/DialogPlacement.h"
#include "speech/SpeechAndSound.h"
#include "base/TError.h"
#include "engine/CommonUnit.h"
#include "speech/AgentArtwork.h"
#include "speech/SoundEffects.h"
#include "speech/Speech.h"
#include "speech/SpeechComponents.h"
#include "speech/SpeechPlayer.h"
#include "speech/SpeechSynth.h"
#include "speech/SpeechTable.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QStandardItemModel>
#include <QStyleOptionSlider>
#include <QTabWidget>
#include <exception>

namespace {
constexpr int kClientWidth = 600;
constexpr int kClientHeight = 470;
constexpr int kPageWidth = 576;
constexpr int kPageHeight = 400;
constexpr int kSliderWidth = 380;

// Slider ranges and how a position becomes a stored value.
constexpr int kSpeedMax = 1000;          // answer time := position + 200
constexpr int kAnswerTimeOffset = 200;
constexpr int kWaitMin = 20;             // option delay := 100 - position
constexpr int kWaitMax = 100;
constexpr int kGlimpseMax = 1000;        // glimpse := 1000 - position
constexpr int kQuotaSum = 250;           // daily quota := 250 - position
constexpr int kVolumeMax = 2000;         // volume := 2000 - position

// The agent's place beside the main window when it comes on screen.
constexpr int kAgentTopOffset = 90;
constexpr int kAgentLeftOffset = 630;

const QString kVoidEngine = QStringLiteral("void");
const QString kButtonSound = QStringLiteral("BUTTON");
const QString kResetSound = QStringLiteral("RESET");
const QString kDefaultsQuestion = QStringLiteral("設定をすべて初期化します。よろしいですか？");
const QString kComponentsNotice = QStringLiteral("発音に必要なコンポーネントやエンジンをインストールしてください");
const QString kEngineCaption = QStringLiteral("使用中のスピーチエンジン");
const QString kDownloadCaption = QStringLiteral("各国語スピーチエンジンのダウンロード");
const QString kAutomaticEngine = QStringLiteral("（学習ファイルの言語に合わせて自動選択）");
const QString kNothingMissing = QStringLiteral("（すべての言語の音声がインストールされています）");
const QString kChooseLanguage = QStringLiteral("（インストールする言語を選んでください）");

// A short sentence each language's voice can be tried with.
struct TVoiceSample {
    int languageId;
    const char *text;
};
constexpr TVoiceSample kVoiceSamples[] = {
    {1033, "Hello. This is how I sound."},
    {2057, "Hello. This is how I sound."},
    {1040, "Ciao, questa è la mia voce."},
    {1036, "Bonjour, voici ma voix."},
    {1031, "Hallo, so klingt meine Stimme."},
    {3082, "Hola, así suena mi voz."},
    {1046, "Olá, esta é a minha voz."},
    {1049, "Привет, это мой голос."},
    {1041, "こんにちは。これがわたしのこえです。"},
    {1042, "안녕하세요. 제 목소리입니다."},
    {1043, "Hallo, zo klinkt mijn stem."},
};

QString VoiceSample(int languageId)
{
    for (const TVoiceSample &s : kVoiceSamples)
        if (s.languageId == languageId)
            return QString::fromUtf8(s.text);
    return QString::fromUtf8(kVoiceSamples[0].text);
}

QLabel *AddLabel(QWidget *parent, const QString &text, int x, int y, int w = 0)
{
    auto *label = new QLabel(text, parent);
    label->move(x, y);
    if (w > 0)
        label->setFixedWidth(w);
    else
        label->adjustSize();
    return label;
}

// Sliders whose position counts down are drawn the other way round; this
// style draws them as a slider counting up whose handle stands at the same
// place, so that the groove fills from the left end to the handle like every
// other slider's.
class TFillFromLeftStyle : public QProxyStyle {
public:
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override
    {
        const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
        if (control != CC_Slider || !slider || !slider->upsideDown) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        QStyleOptionSlider mirrored = *slider;
        mirrored.upsideDown = false;
        mirrored.sliderPosition = slider->maximum + slider->minimum - slider->sliderPosition;
        mirrored.sliderValue = slider->maximum + slider->minimum - slider->sliderValue;
        QProxyStyle::drawComplexControl(control, &mirrored, painter, widget);
    }
};

// A caption, then the slider between its two end labels.
QSlider *AddSlider(QWidget *parent, const QString &name, const QString &caption, int min, int max,
                   const QString &leftEnd, const QString &rightEnd, int y)
{
    AddLabel(parent, caption, 16, y);
    AddLabel(parent, leftEnd, 16, y + 28, 64)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(name);
    slider->setRange(min, max);
    slider->setGeometry(88, y + 24, kSliderWidth, 28);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval((max - min) / 10);
    slider->setPageStep((max - min) / 10);
    AddLabel(parent, rightEnd, 88 + kSliderWidth + 8, y + 28);
    return slider;
}

// A radio button or check box with its caption at (x, y).
template <typename TButton>
TButton *AddButton(QWidget *parent, const QString &name, const QString &caption, int x, int y)
{
    auto *button = new TButton(caption, parent);
    button->setObjectName(name);
    button->move(x, y);
    button->adjustSize();
    return button;
}
constexpr auto AddRadio = AddButton<QRadioButton>;
constexpr auto AddCheck = AddButton<QCheckBox>;

QGroupBox *AddGroup(QWidget *parent, const QString &caption, int y, int height)
{
    auto *group = new QGroupBox(caption, parent);
    group->setGeometry(12, y, kPageWidth - 30, height);
    return group;
}

// The stored value of a slider: a slider still where it was opened keeps
// what was stored.
int SliderValue(const QSlider *slider, int openedPosition, int stored, int (*fromPosition)(int))
{
    return slider->value() == openedPosition ? stored : fromPosition(slider->value());
}

int AnswerTimeOf(int position) { return position + kAnswerTimeOffset; }
int OptionDelayOf(int position) { return kWaitMax - position; }
int GlimpseOf(int position) { return kGlimpseMax - position; }
int QuotaOf(int position) { return kQuotaSum - position; }
int VolumeOf(int position) { return kVolumeMax - position; }

// Each language of the speech table once, in table order.
QList<int> SpeechTableLanguages()
{
    QList<int> languages;
    for (const TSpeechMode &m : SpeechEngineTable())
        if (!languages.contains(m.languageId))
            languages.append(m.languageId);
    return languages;
}

// Each group of radio buttons, the settings value it stands for and the
// value of each of its buttons.
struct TRadioGroup {
    qint32 TFileSettings::*field;
    std::initializer_list<std::pair<QRadioButton *TPreferencesForm::*, int>> buttons;
};
const TRadioGroup kRadioGroups[] = {
    {&TFileSettings::topRightDisplay,
     {{&TPreferencesForm::sRadioButton_R_P, 1}, {&TPreferencesForm::sRadioButton_R_n, 0}, {&TPreferencesForm::sRadioButton_R_G, 2}}},
    {&TFileSettings::firstTimeIncrement,
     {{&TPreferencesForm::sRadioButton_LV6, 6}, {&TPreferencesForm::sRadioButton_LV2, 2}, {&TPreferencesForm::sRadioButton_LV1, 1}}},
    {&TFileSettings::typingForEvenLevels,
     {{&TPreferencesForm::sRadioButton_GlimpseNo, 0}, {&TPreferencesForm::sRadioButton_GlimpseYes, 1}}},
    {&TFileSettings::speechMode,
     {{&TPreferencesForm::sRadioButton_PRO0, kSpeechOff},
      {&TPreferencesForm::sRadioButton_PRO1, kSpeechPronunciationOnly},
      {&TPreferencesForm::sRadioButton_PRO2, kSpeechWithAgent}}},
};
} // namespace

template <typename F> void TPreferencesForm::RunHandler(F &&handler)
{
    try {
        handler();
    } catch (const TFatalError &e) {
        // A file that cannot be written: the window stays open with the values.
        m_cc.notifier->Error(e.Message());
    } catch (const std::exception &e) {
        m_cc.notifier->Error(QString::fromLocal8Bit(e.what()));
    }
}

TPreferencesForm::TPreferencesForm(TCC &cc, TSpeechAndSound &media, QWidget *parent)
    : QDialog(parent), m_cc(cc), m_media(media), m_voicePlayer(std::make_unique<TSpeechPlayer>())
{
    setObjectName(QStringLiteral("PreferencesForm"));
    setWindowTitle(QStringLiteral("設定"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    sPageControl = new QTabWidget(this);
    sPageControl->setObjectName(QStringLiteral("sPageControl"));
    sPageControl->setGeometry(12, 12, kPageWidth, kPageHeight);
    const auto addPage = [this](const QString &name, const QString &caption) {
        auto *page = new QWidget;
        page->setObjectName(name);
        sPageControl->addTab(page, caption);
        return page;
    };
    BuildQuestionPage(addPage(QStringLiteral("sTabSheet_Question"), QStringLiteral("出題")));
    BuildTypingPage(addPage(QStringLiteral("sTabSheet_Typing"), QStringLiteral("タイピング")));
    BuildQuotaPage(addPage(QStringLiteral("sTabSheet_Norm"), QStringLiteral("ノルマ・表示")));
    BuildSpeechPage(addPage(QStringLiteral("sTabSheet_Speech"), QStringLiteral("発音")));
    BuildSoundPage(addPage(QStringLiteral("sTabSheet_Sound"), QStringLiteral("サウンド")));
    BuildButtons();

    // While the window shows, the engine chosen in its list is the one that speaks.
    m_media.speech().hooks.preferencesEngineChoice = [this] {
        return isVisible() ? ChosenSpeechEngine() : QString();
    };
}

TPreferencesForm::~TPreferencesForm()
{
    m_media.speech().hooks.preferencesEngineChoice = nullptr;
}

// ---------------------------------------------------------------------------
// Pages
// ---------------------------------------------------------------------------

void TPreferencesForm::BuildQuestionPage(QWidget *page)
{
    sTrackBar_Speed = AddSlider(page, QStringLiteral("sTrackBar_Speed"), QStringLiteral("ゲージの減少速度"), 0,
                                kSpeedMax, QStringLiteral("速い"), QStringLiteral("遅い"), 12);
    sTrackBar_Wait = AddSlider(page, QStringLiteral("sTrackBar_Wait"), QStringLiteral("選択肢表示までの時間"),
                               kWaitMin, kWaitMax, QStringLiteral("長い"), QStringLiteral("すぐ"), 84);

    QGroupBox *direction = AddGroup(page, QStringLiteral("出題形式"), 160, 84);
    sRadioButton_JE = AddRadio(direction, QStringLiteral("sRadioButton_JE"), QStringLiteral("語義 ⇒ 単語"), 16, 26);
    sRadioButton_EJ = AddRadio(direction, QStringLiteral("sRadioButton_EJ"),
                               QStringLiteral("単語 ⇒ 語義　（タイピング解答は不可）"), 16, 52);

    QGroupBox *first = AddGroup(page, QStringLiteral("初めて正解した語のレベル"), 254, 110);
    sRadioButton_LV6 = AddRadio(first, QStringLiteral("sRadioButton_LV6"),
                                QStringLiteral("レベル 6 へ　（知っている語をすぐに Stage 2 へ送る）"), 16, 26);
    sRadioButton_LV2 = AddRadio(first, QStringLiteral("sRadioButton_LV2"),
                                QStringLiteral("レベル 2 へ　（標準）"), 16, 52);
    sRadioButton_LV1 = AddRadio(first, QStringLiteral("sRadioButton_LV1"),
                                QStringLiteral("レベル 1 へ　（時間をかけて覚える）"), 16, 78);
}

void TPreferencesForm::BuildTypingPage(QWidget *page)
{
    QGroupBox *typing = AddGroup(page, QStringLiteral("偶数レベルの語の出題"), 12, 84);
    sRadioButton_GlimpseNo = AddRadio(typing, QStringLiteral("sRadioButton_GlimpseNo"),
                                      QStringLiteral("選択肢を表示"), 16, 26);
    sRadioButton_GlimpseYes = AddRadio(typing, QStringLiteral("sRadioButton_GlimpseYes"),
                                       QStringLiteral("選択肢を非表示 （頭文字と文字数のヒントを表示）"), 16, 52);
    sTrackBar_CaG = AddSlider(page, QStringLiteral("sTrackBar_CaG"), QStringLiteral("Catch a Glimpse の表示"), 0,
                              kGlimpseMax, QStringLiteral("はっきり"), QStringLiteral("かすか"), 112);
    AddLabel(page,
             QStringLiteral("　↑ / ↓ キーを押している間、隠れた解答がちらりと見えます。\n"
                            "　そのときの見えやすさを選びます。"),
             16, 184);
}

void TPreferencesForm::BuildQuotaPage(QWidget *page)
{
    sTrackBar_norm = AddSlider(page, QStringLiteral("sTrackBar_norm"), QStringLiteral("一日のノルマ"), kMinDailyQuota,
                               kMaxDailyQuota, QStringLiteral("50 問"), QStringLiteral("200 問"), 12);
    // The position counts down from 250: drawn the other way round, so that
    // the quota grows to the right.
    sTrackBar_norm->setInvertedAppearance(true);
    sTrackBar_norm->setInvertedControls(true);
    sTrackBar_norm->setStyle(FillFromLeftStyle());
    sLabel_normValue = AddLabel(page, QString(), 200, 12, 160);
    sLabel_normValue->setObjectName(QStringLiteral("sLabel_normValue"));
    connect(sTrackBar_norm, &QSlider::valueChanged, this, [this] { ShowQuotaValue(); });

    sCheckBox_QRT = AddCheck(page, QStringLiteral("sCheckBox_QRT"),
                             QStringLiteral("ノルマ終了後、クイックレスポンス・トレーニングを行う"), 16, 92);

    QGroupBox *corner = AddGroup(page, QStringLiteral("右上の表示"), 130, 110);
    sRadioButton_R_P = AddRadio(corner, QStringLiteral("sRadioButton_R_P"), QStringLiteral("Tessarion ロゴ"), 16, 26);
    sRadioButton_R_G = AddRadio(corner, QStringLiteral("sRadioButton_R_G"), QStringLiteral("絵画"), 16, 52);
    sRadioButton_R_n = AddRadio(corner, QStringLiteral("sRadioButton_R_n"), QStringLiteral("なし"), 16, 78);
}

void TPreferencesForm::BuildSpeechPage(QWidget *page)
{
    QGroupBox *mode = AddGroup(page, QStringLiteral("発音"), 8, 110);
    sRadioButton_PRO0 = AddRadio(mode, QStringLiteral("sRadioButton_PRO0"), QStringLiteral("ＯＦＦ"), 16, 26);
    sRadioButton_PRO1 = AddRadio(mode, QStringLiteral("sRadioButton_PRO1"), QStringLiteral("ＯＮ　（発音のみ）"), 16, 52);
    sRadioButton_PRO2 = AddRadio(mode, QStringLiteral("sRadioButton_PRO2"), QStringLiteral("ＯＮ　（インコ召喚）"), 16, 78);
    connect(sRadioButton_PRO1, &QRadioButton::clicked, this, [this] { RunHandler([this] { sRadioButton_PRO1MouseDown(); }); });
    connect(sRadioButton_PRO2, &QRadioButton::clicked, this, [this] { RunHandler([this] { sRadioButton_PRO2MouseDown(); }); });

    sCheckBox_IdleBan = AddCheck(mode, QStringLiteral("sCheckBox_IdleBan"),
                                 QStringLiteral("インコの動作やおしゃべりを控えめに"), 240, 26);
    sCheckBox_PRO1 = AddCheck(mode, QStringLiteral("sCheckBox_PRO1"), QStringLiteral("出題の直後に発音"), 240, 52);
    sCheckBox_PRO2 = AddCheck(mode, QStringLiteral("sCheckBox_PRO2"), QStringLiteral("正誤判定の直後に発音"), 240, 78);

    AddLabel(page, kEngineCaption, 16, 130);
    sComboBox_TTS = new QComboBox(page);
    sComboBox_TTS->setObjectName(QStringLiteral("sComboBox_TTS"));
    sComboBox_TTS->setGeometry(16, 152, 420, 28);
    sComboBox_TTS->setPlaceholderText(kAutomaticEngine);
    connect(sComboBox_TTS, &QComboBox::activated, this, [this] { RunHandler([this] { sComboBox_TTSCloseUp(); }); });
    sButton_tryVoice = new QPushButton(QStringLiteral("試聴"), page);
    sButton_tryVoice->setObjectName(QStringLiteral("sButton_tryVoice"));
    sButton_tryVoice->setGeometry(446, 152, 100, 28);
    connect(sButton_tryVoice, &QPushButton::clicked, this, [this] { RunHandler([this] { sButton_tryVoiceClick(); }); });

    AddLabel(page, kDownloadCaption, 16, 200);
    sComboBox_TTS_download = new QComboBox(page);
    sComboBox_TTS_download->setObjectName(QStringLiteral("sComboBox_TTS_download"));
    sComboBox_TTS_download->setGeometry(16, 222, 420, 28);
    connect(sComboBox_TTS_download, &QComboBox::activated, this,
            [this] { RunHandler([this] { sComboBox_TTS_downloadCloseUp(); }); });
    AddLabel(page,
             QStringLiteral("　音声は espeak-ng の音声データとしてインストールします。\n"
                            "　この一覧には、インストールされていない言語だけが表示されます。"),
             16, 262);
}

void TPreferencesForm::BuildSoundPage(QWidget *page)
{
    sTrackBar_SoundVol = AddSlider(page, QStringLiteral("sTrackBar_SoundVol"), QStringLiteral("効果音の音量"), 0,
                                   kVolumeMax, QStringLiteral("消音"), QStringLiteral("大"), 12);
    sTrackBar_TypingVol = AddSlider(page, QStringLiteral("sTrackBar_TypingVol"), QStringLiteral("タイプ音の音量"), 0,
                                    kVolumeMax, QStringLiteral("消音"), QStringLiteral("大"), 84);
    // The position counts down from the loudest: drawn the other way round,
    // so that the volume grows to the right. The volume changes at once;
    // letting go of a slider plays a sample.
    for (QSlider *slider : {sTrackBar_SoundVol, sTrackBar_TypingVol}) {
        slider->setInvertedAppearance(true);
        slider->setInvertedControls(true);
        slider->setStyle(FillFromLeftStyle());
    }
    for (QSlider *slider : {sTrackBar_SoundVol, sTrackBar_TypingVol})
        connect(slider, &QSlider::valueChanged, this, [this] { RunHandler([this] { VolumeSliderMoved(); }); });
    connect(sTrackBar_SoundVol, &QSlider::sliderReleased, this,
            [this] { RunHandler([this] { VolumeSliderReleased(false); }); });
    connect(sTrackBar_TypingVol, &QSlider::sliderReleased, this,
            [this] { RunHandler([this] { VolumeSliderReleased(true); }); });
}

void TPreferencesForm::BuildButtons()
{
    const int y = kClientHeight - 48;
    sSpeedButton_def = new QPushButton(QStringLiteral("初期値に戻す"), this);
    sSpeedButton_def->setObjectName(QStringLiteral("sSpeedButton_def"));
    sSpeedButton_def->setGeometry(12, y, 140, 32);
    sSpeedButton_OK = new QPushButton(QStringLiteral("ＯＫ"), this);
    sSpeedButton_OK->setObjectName(QStringLiteral("sSpeedButton_OK"));
    sSpeedButton_OK->setGeometry(kClientWidth - 12 - 2 * 110 - 8, y, 110, 32);
    sSpeedButton_cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    sSpeedButton_cancel->setObjectName(QStringLiteral("sSpeedButton_cancel"));
    sSpeedButton_cancel->setGeometry(kClientWidth - 12 - 110, y, 110, 32);
    // Enter is taken by the window itself (it acts as OK wherever the focus is).
    for (QPushButton *b : {sSpeedButton_def, sSpeedButton_OK, sSpeedButton_cancel})
        b->setAutoDefault(false);
    connect(sSpeedButton_OK, &QPushButton::clicked, this, [this] { RunHandler([this] { sSpeedButton_OKClick(); }); });
    connect(sSpeedButton_def, &QPushButton::clicked, this, [this] { RunHandler([this] { sSpeedButton_defClick(); }); });
    connect(sSpeedButton_cancel, &QPushButton::clicked, this,
            [this] { RunHandler([this] { sSpeedButton_cancelClick(); }); });
}

// ---------------------------------------------------------------------------
// Showing
// ---------------------------------------------------------------------------

void TPreferencesForm::ShowModal()
{
    FormActivate();
    CentreOverOwner(this);
    exec();
}

void TPreferencesForm::FormActivate()
{
    m_filling = true;
    const TFileSettings &s = m_cc.settings;
    m_openedSettings = s;
    m_openedRemaining = m_cc.training.remaining;
    m_openedRetryPending = m_cc.training.retryPending;

    sTrackBar_Speed->setValue(s.answerTime - kAnswerTimeOffset);
    sTrackBar_Wait->setValue(kWaitMax - s.optionDelay);
    sTrackBar_CaG->setValue(kGlimpseMax - s.glimpse);
    sTrackBar_norm->setValue(kQuotaSum - s.dailyQuota);
    sTrackBar_SoundVol->setValue(kVolumeMax - s.effectVolume);
    sTrackBar_TypingVol->setValue(kVolumeMax - s.typingVolume);
    m_openedPositions = {sTrackBar_Speed->value(),    sTrackBar_Wait->value(),     sTrackBar_CaG->value(),
                         sTrackBar_norm->value(),     sTrackBar_SoundVol->value(), sTrackBar_TypingVol->value()};
    ShowQuotaValue();

    // A value no button stands for leaves its group without a choice (and
    // the stored value as it is).
    const auto show = [](QRadioButton *radio, bool on) {
        radio->setAutoExclusive(false);
        radio->setChecked(on);
        radio->setAutoExclusive(true);
    };
    for (const TRadioGroup &group : kRadioGroups)
        for (auto [button, value] : group.buttons)
            show(this->*button, s.*group.field == value);
    show(sRadioButton_JE, s.answerDirection == TAnswerDirection::MeaningToWord);
    show(sRadioButton_EJ, s.answerDirection == TAnswerDirection::WordToMeaning);
    sCheckBox_QRT->setChecked(s.quickResponseAfterQuota == 1);
    sCheckBox_IdleBan->setChecked(s.quietAgent == 1);
    sCheckBox_PRO1->setChecked(s.speakAfterQuestion == 1);
    sCheckBox_PRO2->setChecked(s.speakAfterGrading == 1);

    sComboBox_TTSDropDown();
    sComboBox_TTS_downloadDropDown();
    const bool engineReady = m_media.SpeechAvailable() && TSpeechSynth::EngineUsable() && TAgentArtwork::Present();
    sComboBox_TTS->setEnabled(engineReady);
    sButton_tryVoice->setEnabled(engineReady);
    sComboBox_TTS_download->setEnabled(engineReady);
    sPageControl->setCurrentIndex(0);
    m_filling = false;
}

void TPreferencesForm::ShowQuotaValue()
{
    sLabel_normValue->setText(QStringLiteral("%1 問").arg(QuotaOf(sTrackBar_norm->value())));
}

// ---------------------------------------------------------------------------
// Speech engines
// ---------------------------------------------------------------------------

void TPreferencesForm::sComboBox_TTSDropDown()
{
    FillEngineList();
}

void TPreferencesForm::FillEngineList()
{
    sComboBox_TTS->clear();
    const QString stored = m_cc.settings.speechEngine.toUpper();
    for (const TSpeechModeEntry &entry : TSpeech::InstalledSpeechModes()) {
        if (entry.name.contains(QLatin1String("ATT")))
            continue;
        sComboBox_TTS->addItem(entry.name, entry.modeId);
        if (entry.modeId.toUpper() == stored)
            sComboBox_TTS->setCurrentIndex(sComboBox_TTS->count() - 1);
    }
    if (sComboBox_TTS->currentData().toString().toUpper() != stored)
        sComboBox_TTS->setCurrentIndex(-1);
}

QString TPreferencesForm::ChosenSpeechEngine() const
{
    return sComboBox_TTS->currentIndex() < 0 ? QString() : sComboBox_TTS->currentData().toString();
}

void TPreferencesForm::sComboBox_TTSCloseUp()
{
    const QString chosen = ChosenSpeechEngine();
    if (chosen.isEmpty())
        return;
    m_cc.settings.speechEngine = chosen;
    m_media.speech().ApplySpeechMode(chosen);
    m_media.SelectSpeechEngine();
}

void TPreferencesForm::sButton_tryVoiceClick()
{
    QString modeId = ChosenSpeechEngine();
    if (modeId.isEmpty())
        modeId = DefaultSpeechMode(m_cc.fileSlot);
    const TSpeechMode *mode = FindSpeechMode(modeId);
    if (!mode)
        return;
    const TSpeechVoice voice{mode->languageId, mode->pitch, mode->speed};
    TSpeechSynth::SynthesizeAsync(VoiceSample(mode->languageId), voice, this, [this](TSpeechAudio audio) {
        if (audio.ok)
            m_voicePlayer->Play(audio);
    });
}

void TPreferencesForm::sComboBox_TTS_downloadDropDown()
{
    FillDownloadList(TSpeechSynth::EngineUsable() ? TSpeechSynth::InstalledLanguages() : QList<int>());
}

void TPreferencesForm::FillDownloadList(const QList<int> &installedLanguages)
{
    sComboBox_TTS_download->clear();
    for (int language : SpeechTableLanguages()) {
        if (installedLanguages.contains(language))
            continue;
        sComboBox_TTS_download->addItem(
            QStringLiteral("%1 （espeak-ng: %2）").arg(SpeechLanguageName(language), SpeechLanguageTag(language)), language);
    }
    if (sComboBox_TTS_download->count() == 0) {
        sComboBox_TTS_download->setPlaceholderText(kNothingMissing);
    } else {
        sComboBox_TTS_download->setPlaceholderText(kChooseLanguage);
    }
    sComboBox_TTS_download->setCurrentIndex(-1);
}

void TPreferencesForm::sComboBox_TTS_downloadCloseUp()
{
    const int index = sComboBox_TTS_download->currentIndex();
    if (index < 0)
        return;
    const QString language = SpeechLanguageName(sComboBox_TTS_download->itemData(index).toInt());
    const QString command = VoiceInstallCommand();
    // The program installs nothing itself: it says how, and puts the command
    // where it can be pasted.
    QApplication::clipboard()->setText(command);
    m_cc.notifier->Information(
        QStringLiteral("%1の音声をインストールするには、端末で次のコマンドを実行してください。\n\n%2\n\n"
                       "（このコマンドはクリップボードにコピーしました）\n"
                       "インストールが済んだら Tessarion を起動し直し、そのスピーチエンジンを指定してください。")
            .arg(language, command));
    sComboBox_TTS_download->setCurrentIndex(-1);
}

// ---------------------------------------------------------------------------
// Speech modes
// ---------------------------------------------------------------------------

bool TPreferencesForm::SpeechComponentsReady() const
{
    return m_media.SpeechAvailable() && m_media.speech().SpeechComponentsPresent();
}

void TPreferencesForm::RefuseSpeechWithoutComponents(QRadioButton *clicked)
{
    if (!clicked->isChecked() || SpeechComponentsReady())
        return;
    m_cc.notifier->Information(kComponentsNotice);
    sRadioButton_PRO0->setChecked(true);
}

void TPreferencesForm::sRadioButton_PRO1MouseDown()
{
    RefuseSpeechWithoutComponents(sRadioButton_PRO1);
}

void TPreferencesForm::sRadioButton_PRO2MouseDown()
{
    RefuseSpeechWithoutComponents(sRadioButton_PRO2);
}

// ---------------------------------------------------------------------------
// Volumes: applied while the slider moves
// ---------------------------------------------------------------------------

void TPreferencesForm::VolumeSliderMoved()
{
    if (m_filling)
        return;
    TFileSettings &s = m_cc.settings;
    s.effectVolume = SliderValue(sTrackBar_SoundVol, m_openedPositions.soundVol, m_openedSettings.effectVolume, VolumeOf);
    s.typingVolume =
        SliderValue(sTrackBar_TypingVol, m_openedPositions.typingVol, m_openedSettings.typingVolume, VolumeOf);
    m_media.sounds().ApplySoundVolumes();
}

void TPreferencesForm::VolumeSliderReleased(bool typing)
{
    if (typing)
        m_media.PlayTypingSound(m_cc.settings.typingSound);
    else
        m_media.PlaySoundEffect(kButtonSound);
}

// ---------------------------------------------------------------------------
// OK, defaults, cancel
// ---------------------------------------------------------------------------

void TPreferencesForm::TakeValues()
{
    TFileSettings &s = m_cc.settings;
    const TFileSettings &was = m_openedSettings;
    const TOpenedPositions &at = m_openedPositions;
    s.answerTime = SliderValue(sTrackBar_Speed, at.speed, was.answerTime, AnswerTimeOf);
    s.optionDelay = SliderValue(sTrackBar_Wait, at.wait, was.optionDelay, OptionDelayOf);
    s.glimpse = SliderValue(sTrackBar_CaG, at.cag, was.glimpse, GlimpseOf);
    s.effectVolume = SliderValue(sTrackBar_SoundVol, at.soundVol, was.effectVolume, VolumeOf);
    s.typingVolume = SliderValue(sTrackBar_TypingVol, at.typingVol, was.typingVolume, VolumeOf);
    const int quota = SliderValue(sTrackBar_norm, at.norm, was.dailyQuota, QuotaOf);
    // Today's questions left follow the quota by the same difference.
    m_cc.training.remaining += quota - s.dailyQuota;
    s.dailyQuota = quota;

    for (const TRadioGroup &group : kRadioGroups)
        for (auto [button, value] : group.buttons)
            if ((this->*button)->isChecked())
                s.*group.field = value;
    if (sRadioButton_JE->isChecked())
        s.answerDirection = TAnswerDirection::MeaningToWord;
    if (sRadioButton_EJ->isChecked()) {
        s.answerDirection = TAnswerDirection::WordToMeaning;
        // The word shown: the retry of the last question is dropped.
        m_cc.training.retryPending = false;
    }
    s.quickResponseAfterQuota = sCheckBox_QRT->isChecked() ? 1 : 0;
    // Pronunciation only: the bird is out of view and always quiet.
    s.quietAgent = (s.speechMode == kSpeechPronunciationOnly || sCheckBox_IdleBan->isChecked()) ? 1 : 0;
    s.speakAfterQuestion = sCheckBox_PRO1->isChecked() ? 1 : 0;
    s.speakAfterGrading = sCheckBox_PRO2->isChecked() ? 1 : 0;
}

void TPreferencesForm::StartSpeechForMode(int oldMode)
{
    TFileSettings &s = m_cc.settings;
    if (s.speechMode == kSpeechPronunciationOnly) {
        // The bird is loaded for its voice and parked out of view.
        s.agentTop = kParkedTop;
        m_media.StartAgent();
        if (oldMode == kSpeechOff)
            m_media.SpeakText(QStringLiteral(" "), false);
        return;
    }
    if (s.speechMode == kSpeechWithAgent) {
        if (oldMode == kSpeechOff || oldMode == kSpeechPronunciationOnly) {
            const QWidget *main = parentWidget() ? parentWidget()->window() : nullptr;
            const int top = main ? main->y() : m_cc.formPosition.mainTop;
            const int left = main ? main->x() : m_cc.formPosition.mainLeft;
            s.agentTop = top + kAgentTopOffset;
            s.agentLeft = left + kAgentLeftOffset;
        }
        m_media.StartAgent();
        return;
    }
    m_media.speech().HideAgent();
}

void TPreferencesForm::sSpeedButton_OKClick()
{
    const int oldMode = m_openedSettings.speechMode;
    TakeValues();
    StartSpeechForMode(oldMode);
    m_cc.settings.reservedD = 0;
    m_media.sounds().ApplySoundVolumes();
    m_cc.SaveFileSettings();
    Close(QDialog::Accepted);
}

void TPreferencesForm::sSpeedButton_defClick()
{
    if (!m_cc.notifier->Confirm(kDefaultsQuestion))
        return;
    const TFileSettings kept = m_cc.settings;
    m_cc.SetDefaultFileSettings(false);
    // The statistics of past days are the learner's record, not preferences.
    TFileSettings &s = m_cc.settings;
    s.learningDays = kept.learningDays;
    s.overallCorrectRate = kept.overallCorrectRate;
    s.averageAchievement = kept.averageAchievement;
    s.answersTotal = kept.answersTotal;
    m_media.sounds().ApplySoundVolumes();
    m_media.PlaySoundEffect(kResetSound);

    QWidget *main = parentWidget() ? parentWidget()->window() : nullptr;
    if (main && main->screen()) {
        const QRect screen = main->screen()->availableGeometry();
        main->move(screen.x() + (screen.width() - main->frameGeometry().width()) / 2,
                   screen.y() + (screen.height() - main->frameGeometry().height()) / 2);
    }
    s.agentTop = (main ? main->y() : m_cc.formPosition.mainTop) + kAgentTopOffset;
    s.agentLeft = (main ? main->x() : m_cc.formPosition.mainLeft) + kAgentLeftOffset;
    // The file's own voice again: nothing chosen in the list, "void" stored.
    sComboBox_TTS->setCurrentIndex(-1);
    s.speechEngine = kVoidEngine;
    if (s.speechMode == kSpeechOff)
        m_media.speech().HideAgent();
    else
        m_media.StartAgent();
    m_media.SelectSpeechEngine();
    m_cc.SaveFileSettings();
    FormActivate();
}

void TPreferencesForm::sSpeedButton_cancelClick()
{
    // Everything as the window found it, the volumes tried and the engine
    // chosen on the way included.
    m_cc.settings = m_openedSettings;
    m_cc.training.remaining = m_openedRemaining;
    m_cc.training.retryPending = m_openedRetryPending;
    m_media.sounds().ApplySoundVolumes();
    sComboBox_TTS->setCurrentIndex(-1);
    m_media.speech().UseStoredSpeechEngine();
    m_media.SelectSpeechEngine();
    Close(QDialog::Rejected);
}

void TPreferencesForm::Close(int result)
{
    m_voicePlayer->Stop();
    m_media.PlaySoundEffect(kButtonSound);
    QDialog::done(result);
}

void TPreferencesForm::reject()
{
    // The window's close button.
    if (isVisible())
        RunHandler([this] { sSpeedButton_cancelClick(); });
}

void TPreferencesForm::keyPressEvent(QKeyEvent *event)
{
    // From a control outside the pages (the pages' own controls reach the
    // page control first, which turns its pages the same way).
    if (TurnPage(event)) {
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        RunHandler([this] { sSpeedButton_OKClick(); });
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

QStyle *TPreferencesForm::FillFromLeftStyle()
{
    if (!m_fillFromLeft) {
        m_fillFromLeft = new TFillFromLeftStyle;
        m_fillFromLeft->setParent(this);
    }
    return m_fillFromLeft;
}

bool TPreferencesForm::TurnPage(QKeyEvent *event)
{
    // Ctrl+Tab shows the next page, Ctrl+Shift+Tab the one before (after the
    // last, the first); Tab alone moves between the controls.
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (!tab || !(event->modifiers() & Qt::ControlModifier))
        return false;
    const bool back = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
    const int count = sPageControl->count();
    sPageControl->setCurrentIndex((sPageControl->currentIndex() + (back ? count - 1 : 1)) % count);
    return true;
}

