#include "drill/QR.h"

#include "widgets/DialogPlacement.h"
#include "engine/CommonUnit.h"
#include "base/SlotGuard.h"

#include <QCheckBox>
#include <QFontComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTreeWidget>
#include <functional>

namespace {
constexpr int kWidth = 600;
constexpr int kHeight = 400;
constexpr int kAreaLeft = 53;
constexpr int kAreaTop = 113;
constexpr int kAreaWidth = 486;
constexpr int kAreaHeight = 102;
constexpr int kFitMargin = 30;
constexpr int kShrinkStep = 6;
constexpr int kSmallestFont = 8;
constexpr int kFontSmallest = 13;
constexpr int kFontLargest = 72;
constexpr int kDefaultFontSize = 36;
constexpr double kMeaningFontShare = 0.6;

const QString kCaption = QStringLiteral(" Tessarion-QR");
const QString kInvitation = QStringLiteral(
    "ノルマが終了しました。\n\n本日出題された語を使って、クイック・レスポンス・トレーニングを行います。\n"
    "表示される語に対応する日本語（外国語）を、できるだけ速く思い出してください。\n"
    "思い出せた瞬間に何かキーを押します。\n"
    "少し負荷の強いトレーニングですが、余力があれば頑張ってみてください。");
const QString kInstructions = QStringLiteral(
    "▼ クイック・レスポンス・トレーニング\r\n\r\n\r\n"
    "以下のいずれかのボタンを押すと、本日出題された語が順番に表示されます。\r\n"
    "集中力を高め、対応する日本語（外国語）を迅速に思い出してください。\r\n"
    "そして、思い出せた瞬間に何かキーを押してください。\r\n\r\n"
    "※ 何かキーを押せば○、押さなければ×という自己採点です");
const QString kIntro = QStringLiteral("Let's start training!");
const QString kNoSpeech = QStringLiteral("発音機能をOFFに設定されているので、このトレーニングは実行できません");
const QString kPause = QStringLiteral("一時中止");
const QString kResume = QStringLiteral("再開");
const QString kResultRoot = QStringLiteral("トレーニング結果");

QPushButton *Button(QWidget *parent, const char *name, const QString &caption, int x, int y, int w)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(x, y, w, 30);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}
}

TQuickResponseCanvas::TQuickResponseCanvas(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(false);
}

void TQuickResponseCanvas::Show(const QString &text, int grey, const QFont &font)
{
    m_text = text;
    m_grey = grey;
    m_font = font;
    update();
}

void TQuickResponseCanvas::paintEvent(QPaintEvent *)
{
    Guard([&] {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (m_text.isEmpty())
            return;
        // The largest size from the chosen one down that fits the area.
        QFont font = m_font;
        for (;;) {
            const QRect box = QFontMetrics(font).boundingRect(m_text);
            if ((box.width() <= kAreaWidth - kFitMargin && box.height() <= kAreaHeight) || font.pixelSize() <= kSmallestFont)
                break;
            font.setPixelSize(qMax(kSmallestFont, font.pixelSize() - kShrinkStep));
        }
        painter.setFont(font);
        painter.setPen(QColor(m_grey, m_grey, m_grey));
        painter.drawText(rect(), Qt::AlignCenter, m_text);
    });
}

TQR_Form::TQR_Form(TCC &cc, QWidget *parent) : QDialog(parent), m_cc(cc)
{
    setObjectName(QStringLiteral("QR_Form"));
    setWindowTitle(kCaption);
    setFixedSize(kWidth, kHeight);

    canvas = new TQuickResponseCanvas(this);
    canvas->setGeometry(kAreaLeft, kAreaTop, kAreaWidth, kAreaHeight);
    canvas->hide();
    sPanel_top = new QLabel(this);
    sPanel_top->setObjectName(QStringLiteral("sPanel_top"));
    sPanel_top->setGeometry(kAreaLeft, kAreaTop - 30, kAreaWidth, 24);
    sPanel_bottom = new QLabel(this);
    sPanel_bottom->setObjectName(QStringLiteral("sPanel_bottom"));
    sPanel_bottom->setGeometry(kAreaLeft, kAreaTop + kAreaHeight + 6, kAreaWidth, 24);
    sPanel_bottom->setAlignment(Qt::AlignCenter);

    sButton_FtoJ = Button(this, "sButton_FtoJ", QStringLiteral("外国語 ⇒ 日本語"), 40, 260, 170);
    sButton_FPtoJ = Button(this, "sButton_FPtoJ", QStringLiteral("外国語（発音） ⇒ 日本語"), 215, 260, 170);
    sButton_JtoF = Button(this, "sButton_JtoF", QStringLiteral("日本語 ⇒ 外国語"), 390, 260, 170);
    sButton_pause = Button(this, "sButton_pause", kPause, 170, 350, 120);
    sButton_cancel = Button(this, "sButton_cancel", QStringLiteral("キャンセル"), 310, 350, 120);
    sButton_fin = Button(this, "sButton_fin", QStringLiteral("終了"), kWidth - 130, kHeight - 44, 110);
    sButton_again = Button(this, "sButton_again", QStringLiteral("もう一度"), 20, kHeight - 44, 120);
    sButton_again_miss = Button(this, "sButton_again_miss", QStringLiteral("もう一度（×のみ）"), 150, kHeight - 44, 160);
    sSpeedButton_font = Button(this, "sSpeedButton_font", QStringLiteral("Aa"), 320, kHeight - 44, 40);
    sSpeedButton_font->setToolTip(QStringLiteral("フォント設定"));

    sGroupBox_gauge = new QGroupBox(QStringLiteral(" スピード"), this);
    sGroupBox_gauge->setObjectName(QStringLiteral("sGroupBox_gauge"));
    sGroupBox_gauge->setGeometry(kAreaLeft, 290, kAreaWidth, 52);
    sTrackBar_speed = new QSlider(Qt::Horizontal, sGroupBox_gauge);
    sTrackBar_speed->setObjectName(QStringLiteral("sTrackBar_speed"));
    sTrackBar_speed->setRange(kQuickResponseSlowest, kQuickResponseFastest);
    sTrackBar_speed->setGeometry(50, 22, kAreaWidth - 100, 22);
    // The keys score words: a click on the speed never takes them over.
    sTrackBar_speed->setFocusPolicy(Qt::NoFocus);
    auto *slow = new QLabel(QStringLiteral("slow"), sGroupBox_gauge);
    slow->setGeometry(10, 22, 40, 22);
    auto *fast = new QLabel(QStringLiteral("fast"), sGroupBox_gauge);
    fast->setGeometry(kAreaWidth - 44, 22, 40, 22);

    // The start panel over everything, the result and font panels in its place.
    sPanel_result = new QFrame(this);
    sPanel_result->setGeometry(20, 20, kWidth - 40, kHeight - 80);
    TntTreeView = new QTreeWidget(sPanel_result);
    TntTreeView->setObjectName(QStringLiteral("TntTreeView"));
    TntTreeView->setHeaderHidden(true);
    TntTreeView->setGeometry(0, 0, kWidth - 40, kHeight - 80);
    sPanel_font = new QFrame(this);
    sPanel_font->setGeometry(20, 20, kWidth - 40, kHeight - 80);
    sFontComboBox1 = new QFontComboBox(sPanel_font);
    sFontComboBox1->setObjectName(QStringLiteral("sFontComboBox1"));
    sFontComboBox1->setGeometry(20, 20, 300, 28);
    sSpinEdit1 = new QSpinBox(sPanel_font);
    sSpinEdit1->setObjectName(QStringLiteral("sSpinEdit1"));
    sSpinEdit1->setRange(kFontSmallest, kFontLargest);
    sSpinEdit1->setGeometry(340, 20, 80, 28);
    sLabel_font = new QLabel(QStringLiteral("abcdefg あいうえお"), sPanel_font);
    sLabel_font->setObjectName(QStringLiteral("sLabel_font"));
    sLabel_font->setGeometry(20, 70, kWidth - 80, 120);
    sButton_default = Button(sPanel_font, "sButton_default", QStringLiteral("デフォルトに戻す"), 20, 220, 160);
    sPanel_start = new QFrame(this);
    sPanel_start->setGeometry(20, 20, kWidth - 40, 230);
    sLabel0 = new QLabel(kInvitation, sPanel_start);
    sLabel0->setObjectName(QStringLiteral("sLabel0"));
    sLabel0->setWordWrap(true);
    sLabel0->setGeometry(0, 0, kWidth - 40, 190);
    sButton_start = Button(sPanel_start, "sButton_start", QStringLiteral("スタート"), (kWidth - 40 - 140) / 2, 196, 140);
    sCheckBox_everyday = new QCheckBox(QStringLiteral("毎回トレーニングする"), this);
    sCheckBox_everyday->setObjectName(QStringLiteral("sCheckBox_everyday"));
    sCheckBox_everyday->setGeometry(20, kHeight - 40, 200, 24);
    sCheckBox_everyday->setFocusPolicy(Qt::NoFocus);

    m_frameTimer.setInterval(1);
    m_frameTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_frameTimer, &QTimer::timeout, this, Guarded(std::bind_front(&TQR_Form::Frame, this)));
    connect(sButton_start, &QPushButton::clicked, this, Guarded(std::bind_front(&TQR_Form::sButton_startClick, this)));
    connect(sButton_FtoJ, &QPushButton::clicked, this, Guarded([this] { StartDirection(TDirection::WordToMeaning); }));
    connect(sButton_FPtoJ, &QPushButton::clicked, this, Guarded([this] { StartDirection(TDirection::SpokenWordToMeaning); }));
    connect(sButton_JtoF, &QPushButton::clicked, this, Guarded([this] { StartDirection(TDirection::MeaningToWord); }));
    connect(sButton_pause, &QPushButton::clicked, this, Guarded(std::bind_front(&TQR_Form::sButton_pauseClick, this)));
    connect(sButton_cancel, &QPushButton::clicked, this, Guarded(std::bind_front(&TQR_Form::sButton_cancelClick, this)));
    connect(sButton_fin, &QPushButton::clicked, this, Guarded(std::bind_front(&TQR_Form::sButton_finClick, this)));
    connect(sButton_again, &QPushButton::clicked, this, Guarded(std::bind_front(&TQR_Form::sButton_againClick, this)));
    connect(sButton_again_miss, &QPushButton::clicked, this, Guarded(std::bind_front(&TQR_Form::sButton_again_missClick, this)));
    connect(sSpeedButton_font, &QPushButton::clicked, this, Guarded(std::bind_front(&TQR_Form::sSpeedButton_fontClick, this)));
    connect(sTrackBar_speed, &QSlider::valueChanged, this, Guarded([this](int value) {
        m_cc.settings.quickResponseValues[static_cast<size_t>(static_cast<int>(m_direction) - 1)] = value;
    }));
    connect(sCheckBox_everyday, &QCheckBox::clicked, this,
            Guarded([this](bool checked) { m_cc.settings.quickResponseAfterQuota = checked ? 1 : 0; }));
    connect(sFontComboBox1, &QFontComboBox::currentFontChanged, this, Guarded([this](const QFont &font) {
        m_cc.settings.quickResponseFont = font.family();
        sLabel_font->setFont(DrawingFont());
    }));
    connect(sSpinEdit1, &QSpinBox::valueChanged, this, Guarded([this](int size) {
        m_cc.settings.quickResponseFontSize = -qBound(kFontSmallest, size, kFontLargest);
        sLabel_font->setFont(DrawingFont());
    }));
    connect(sButton_default, &QPushButton::clicked, this, Guarded([this] {
        m_cc.settings.quickResponseFont = IsPhraseFile() ? QStringLiteral("Georgia") : QStringLiteral("Papyrus");
        ShowStoredFont();
    }));
    m_clock.start();
}

qint64 TQR_Form::Now() const
{
    return now ? now() : m_clock.elapsed();
}

void TQR_Form::Sound(const QString &name)
{
    if (playSoundEffect)
        playSoundEffect(name);
}

bool TQR_Form::IsPhraseFile() const
{
    return m_cc.fileCode == QStringLiteral("TJ") || m_cc.fileCode == QStringLiteral("DJ");
}

QFont TQR_Form::DrawingFont() const
{
    QFont font(m_cc.settings.quickResponseFont);
    const int size = m_cc.settings.quickResponseFontSize != 0 ? qAbs(m_cc.settings.quickResponseFontSize) : kDefaultFontSize;
    font.setPixelSize(qBound(kFontSmallest, size, kFontLargest));
    return font;
}

int TQR_Form::RunDrill()
{
    PrepareDrill();
    return exec();
}

void TQR_Form::PrepareDrill()
{
    QList<int> words;
    for (int k = 1; k <= m_cc.askedWords.Count(); ++k)
        words.append(m_cc.askedWords.At(k));
    m_drill = TQuickResponseDrill(words);
    FormShow();
}

void TQR_Form::ShowStoredFont()
{
    // The controls show the stored face and size without storing anything:
    // a face this computer lacks is shown by its stand-in, and the stored
    // name stays.
    const QSignalBlocker faceBlocker(sFontComboBox1);
    const QSignalBlocker sizeBlocker(sSpinEdit1);
    sFontComboBox1->setCurrentFont(QFont(m_cc.settings.quickResponseFont));
    sSpinEdit1->setValue(qBound(kFontSmallest, qAbs(m_cc.settings.quickResponseFontSize), kFontLargest));
    sLabel_font->setFont(DrawingFont());
}

void TQR_Form::FormShow()
{
    CentreOverOwner(this);
    ShowStoredFont();
    sPanel_result->hide();
    sPanel_font->hide();
    for (QWidget *w : std::initializer_list<QWidget *>{sButton_pause, sButton_cancel, sButton_again, sButton_again_miss,
                                                       sSpeedButton_font, sGroupBox_gauge})
        w->hide();
    canvas->Show(QString(), 0, DrawingFont());
    canvas->hide();
    sCheckBox_everyday->setChecked(m_cc.settings.quickResponseAfterQuota == 1);
    // Offered again later in the same run, the window opens at the direction choice.
    if (m_started) {
        ShowDirectionChoice();
        return;
    }
    sCheckBox_everyday->show();
    sPanel_start->show();
    sButton_start->show();
    sLabel0->setText(kInvitation);
    for (QWidget *w : std::initializer_list<QWidget *>{sButton_FtoJ, sButton_FPtoJ, sButton_JtoF, sButton_fin})
        w->hide();
}

void TQR_Form::sButton_startClick()
{
    m_started = true;
    ShowDirectionChoice();
}

void TQR_Form::ShowDirectionChoice()
{
    sCheckBox_everyday->hide();
    sButton_start->hide();
    sPanel_start->show();
    sLabel0->setText(kInstructions);
    sButton_fin->setText(QStringLiteral("終了"));
    for (QWidget *w : std::initializer_list<QWidget *>{sButton_fin, sButton_FtoJ, sButton_FPtoJ, sButton_JtoF})
        w->show();
}

void TQR_Form::StartDirection(TDirection direction)
{
    if (direction == TDirection::SpokenWordToMeaning
        && (m_cc.settings.speechMode == 0 || m_cc.settings.speechMode == 9)) {
        m_cc.notifier->Information(kNoSpeech);
        return;
    }
    m_direction = direction;
    int &speed = m_cc.settings.quickResponseValues[static_cast<size_t>(static_cast<int>(direction) - 1)];
    if (speed < kQuickResponseSlowest || speed > kQuickResponseFastest)
        speed = kQuickResponseDefaultSpeed;
    sTrackBar_speed->setValue(speed);
    BeginPass(false);
}

void TQR_Form::BeginPass(bool missesOnly)
{
    for (QWidget *w : std::initializer_list<QWidget *>{sPanel_start, sPanel_font, sPanel_result, sCheckBox_everyday,
                                                       sSpeedButton_font, sButton_again, sButton_again_miss,
                                                       sButton_fin, sButton_FtoJ, sButton_FPtoJ, sButton_JtoF})
        w->hide();
    sButton_pause->setText(kPause);
    for (QWidget *w : std::initializer_list<QWidget *>{sButton_pause, sButton_cancel, sGroupBox_gauge})
        w->show();
    m_drill.BeginPass(missesOnly);
    m_running = true;
    m_paused = false;
    m_cancel = false;
    m_intro = true;
    sPanel_top->clear();
    sPanel_bottom->clear();
    m_itemText = kIntro;
    m_itemStart = Now();
    canvas->Show(m_itemText, 0, DrawingFont());
    // The white drawing area stands only while a pass runs.
    canvas->show();
    setFocus();
    m_frameTimer.start();
}

QString TQR_Form::TextOf(int item) const
{
    const TTango &t = m_cc.words[m_drill.WordAt(item)];
    if (m_direction == TDirection::MeaningToWord)
        return QuickResponseMeanings(t.joinedMeanings);
    return m_cc.FormatHeadword(t.word, false);
}

void TQR_Form::ShowItem()
{
    m_intro = false;
    sPanel_top->clear();
    sPanel_bottom->setText(QStringLiteral("%1 / %2").arg(m_drill.CountInPass()).arg(m_drill.TotalInPass()));
    m_itemText = TextOf(m_drill.CurrentItem());
    if (m_direction == TDirection::SpokenWordToMeaning) {
        const QString spoken = m_itemText;
        m_itemText.clear();
        if (speakText)
            speakText(spoken);
    }
    m_itemStart = Now();
}

void TQR_Form::Frame()
{
    if (!m_running)
        return;
    const double seconds = QuickResponseItemSeconds(sTrackBar_speed->value(), IsPhraseFile());
    const qint64 elapsed = Now() - m_itemStart;
    if (m_cancel) {
        EndPass();
        return;
    }
    if (!m_paused && elapsed > static_cast<qint64>(seconds * 1000)) {
        if (!m_drill.NextItem()) {
            EndPass();
            return;
        }
        ShowItem();
        canvas->Show(m_itemText, 0, m_direction == TDirection::MeaningToWord
                                        ? [this] { QFont f = DrawingFont(); f.setPixelSize(qMax(kSmallestFont, static_cast<int>(f.pixelSize() * kMeaningFontShare))); return f; }()
                                        : DrawingFont());
        return;
    }
    QFont font = DrawingFont();
    if (m_direction == TDirection::MeaningToWord && !m_intro)
        font.setPixelSize(qMax(kSmallestFont, static_cast<int>(font.pixelSize() * kMeaningFontShare)));
    canvas->Show(m_itemText, QuickResponseGrey(elapsed, seconds), font);
}

void TQR_Form::EndPass()
{
    m_frameTimer.stop();
    m_running = false;
    m_cancel = false;
    m_paused = false;
    sPanel_bottom->clear();
    canvas->Show(QString(), 0, DrawingFont());
    canvas->hide();
    m_drill.EndPass();
    ShowResults();
}

void TQR_Form::ShowResults()
{
    TntTreeView->clear();
    auto *root = new QTreeWidgetItem(TntTreeView, {kResultRoot});
    for (const int item : m_drill.ListedItems()) {
        const TTango &t = m_cc.words[m_drill.WordAt(item)];
        const QString mark = m_drill.IsCorrect(item) ? QStringLiteral("[○] ") : QStringLiteral("[×] ");
        new QTreeWidgetItem(root, {mark + QString::number(item) + QStringLiteral(". ")
                                   + m_cc.FormatHeadword(t.word + QStringLiteral(" （ ") + t.joinedMeanings + QStringLiteral(" ）"), true)});
    }
    TntTreeView->expandAll();
    TntTreeView->setCurrentItem(root);
    sButton_again_miss->setVisible(m_drill.AnyMissedInList());
    sSpeedButton_font->show();
    sButton_again->show();
    sButton_fin->setText(QStringLiteral("ＯＫ"));
    sButton_fin->show();
    for (QWidget *w : std::initializer_list<QWidget *>{sButton_pause, sButton_cancel, sGroupBox_gauge})
        w->hide();
    sPanel_result->show();
    sPanel_result->raise();
}

void TQR_Form::sButton_pauseClick()
{
    // The item's clock keeps running: an item whose time has passed ends as
    // soon as the pause does.
    m_paused = !m_paused;
    sButton_pause->setText(m_paused ? kResume : kPause);
}

void TQR_Form::sButton_cancelClick()
{
    m_cancel = true;
    m_paused = false;
    sButton_pause->setText(kPause);
    Frame();
}

void TQR_Form::sButton_finClick()
{
    if (sPanel_start->isVisible()) {
        accept();
        return;
    }
    sPanel_result->hide();
    sPanel_font->hide();
    for (QWidget *w : std::initializer_list<QWidget *>{sButton_pause, sButton_cancel, sButton_again, sButton_again_miss,
                                                       sSpeedButton_font})
        w->hide();
    ShowDirectionChoice();
}

void TQR_Form::sButton_againClick()
{
    BeginPass(false);
}

void TQR_Form::sButton_again_missClick()
{
    BeginPass(true);
}

void TQR_Form::sSpeedButton_fontClick()
{
    const bool font = !sPanel_font->isVisible();
    sPanel_font->setVisible(font);
    sPanel_result->setVisible(!font);
    if (font)
        sPanel_font->raise();
    sSpeedButton_font->setToolTip(font ? QStringLiteral("結果表示画面に戻る") : QStringLiteral("フォント設定"));
}

void TQR_Form::keyPressEvent(QKeyEvent *event)
{
    Guard([&] {
        const int key = event->key();
        const bool accepted = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Left
                              || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Control
                              || (key >= Qt::Key_A && key <= Qt::Key_Z);
        if (!accepted || !m_running) {
            QDialog::keyPressEvent(event);
            return;
        }
        event->accept();
        if (m_paused || m_intro)
            return;
        if (m_drill.Press()) {
            Sound(QStringLiteral("TYPE8"));
            sPanel_bottom->setText(QStringLiteral("○"));
        }
    });
}

void TQR_Form::done(int result)
{
    Guard([&] {
        m_frameTimer.stop();
        m_running = false;
        // What the learner set here is kept with the file's settings.
        m_cc.SaveFileSettings();
        Sound(QStringLiteral("BUTTON"));
        QDialog::done(result);
    });
}
