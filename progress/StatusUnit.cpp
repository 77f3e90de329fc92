#include "progress/StatusUnit.h"

#include "widgets/DialogPlacement.h"
#include "base/TError.h"
#include "engine/CommonUnit.h"
#include "engine/GoalSimulation.h"
#include "base/SlotGuard.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSvgRenderer>
#include <functional>

namespace {
constexpr int kWidth = 780;
constexpr int kHeight = 690;
constexpr int kLeft = 20;
constexpr int kLineHeight = 24;
constexpr int kLevelLeft = 420;
constexpr int kLevelWidth = 340;
constexpr int kLevelStep = 30;
constexpr int kNormLeft = 180;
constexpr int kNormLeftWithSelfReport = 200;
constexpr int kQuotaMin = 50;
constexpr int kQuotaMax = 200;
constexpr int kQuotaTick = 10;
constexpr int kToeicMaximum = 860;
// The self-report trackbars' ranges.
constexpr int kSelfReportDaysMin = 1;
constexpr int kSelfReportDaysMax = 999;
constexpr int kSelfReportRateMin = 20;
constexpr int kSelfReportRateMax = 80;
constexpr int kSelfReportAchievementMin = 10;
constexpr int kSelfReportAchievementMax = 100;

const QString kCaption = QStringLiteral(" 学習進捗状況");
const QString kFinishedText = QStringLiteral("≫≫≫　この学習ファイルの本日の学習が完了しました ");
const QString kSelfReportNote = QStringLiteral("※旧バージョンからご利用の方は自己申請");
const QString kStudiedDaysCaption = QStringLiteral("学習回数");
const QString kCorrectRateCaption = QStringLiteral("正解率");
const QString kNormAchieveRateCaption = QStringLiteral("ノルマ達成率");
const QString kSelfReportPending = QStringLiteral("自己申請を完了させてください");
const QString kGoalBoxCaption = QStringLiteral(" 目標達成までの日数をシミュレート");
const QString kGoalNote = QStringLiteral("※レベル 11 と 12  は順調に記憶できた場合にのみ到達可能なレベルです");
const QString kEverytimeCaption = QStringLiteral(" 終了時に毎回この画面を表示する");
const QString kToeicHint = QStringLiteral("あなたの TOEIC 推定値です");
const QString kFromStart = QStringLiteral("・学習開始日からの経過日数：　%1　日");
const QString kDaysTotal = QStringLiteral("・学習回数（起動回数）：　%1　回");
const QString kTodayCorrectRate = QStringLiteral("・正解率（今回）：　%1　％");
const QString kCorrectRate = QStringLiteral("・正解率（トータル）：　%1　％");
const QString kSelfReportedCorrectRate = QStringLiteral("・正解率：　%1　％");
const QString kTodayMonsuu = QStringLiteral("・学習問数（今回）：　%1　問");
const QString kNormADay = QStringLiteral("・1 日のノルマ：　%1　問");
const QString kNormAchieveRate = QStringLiteral("・ノルマ達成率：　%1　％");
const QString kSimulationBoxCaption = QStringLiteral(" シミュレート中です・・・");
const QString kSimuRate = QStringLiteral("[ 正解率 ]　%1 ％　　※正解率の実績から決定");
const QString kSimuQuota = QStringLiteral("[ 1 日のノルマ ]　%1 問　　※ノルマ設定値と達成率から算定");
const QString kSimuIncrement = QStringLiteral("[ 初出題で正解時のレベル上昇 ]　%1　　※ユーザー設定値");
const QString kSimuDay = QStringLiteral(" ⇒  %1 日目");
const QString kSimulationDone = QStringLiteral("シミュレーションが完了しました。\r\n\r\nこれまでと同じペースで学習された場合、"
                                               "目標達成までに約 %1 日かかります。");
const QString kDayLimit = QStringLiteral("目標達成には、3000 日以上必要となります。ノルマを増やすか、ノルマ達成率を高めましょう。");
// The fast run lets the window repaint and see the abort button this often.
constexpr qint64 kRefreshEveryMs = 50;
// The Cosmos button: large, below the simulation box, left of 閉じる.
const QRect kCosmosButton(kLevelLeft, 626, 226, 56);
const QSize kCosmosPicture(72, 44);
constexpr int kCosmosFontPixels = 20;
const QString kCosmosSky = QStringLiteral(":/cosmos/Sample4.svg");
const QString kCosmosGalaxy = QStringLiteral(":/cosmos/Gal0.svg");

// A piece of a sample sky, at the screen's pixel density.
QPixmap CosmosButtonPicture(qreal ratio)
{
    QSvgRenderer renderer(kCosmosSky);
    if (!renderer.isValid())
        return {};
    QPixmap picture((QSizeF(kCosmosPicture) * ratio).toSize());
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::black);
    QPainter p(&picture);
    // The middle of the sky, the picture's own proportions kept.
    const QSizeF sky = renderer.defaultSize();
    const qreal scale = qMax(kCosmosPicture.width() * 2.0 / sky.width(), kCosmosPicture.height() * 2.0 / sky.height());
    const QSizeF drawn = sky * scale;
    renderer.render(&p, QRectF(QPointF(kCosmosPicture.width() - drawn.width(), kCosmosPicture.height() - drawn.height()) / 2,
                               drawn));
    // A galaxy in the middle of it.
    QSvgRenderer galaxy(kCosmosGalaxy);
    if (galaxy.isValid()) {
        const qreal side = kCosmosPicture.height();
        galaxy.render(&p, QRectF((kCosmosPicture.width() - side) / 2, 0, side, side));
    }
    return picture;
}

// The goals: words at level 6..10 or above make up 90 % or more.
constexpr std::array<int, 5> kGoalLevels = {6, 7, 8, 9, 10};
constexpr std::array<int, 5> kGoalToeic = {500, 520, 560, 650, 760};

QString GoalCaption(int index, bool toeic)
{
    const int level = kGoalLevels[static_cast<size_t>(index)];
    if (!toeic)
        return QStringLiteral(" レベル %1 以上の語が 90% 以上").arg(level);
    // The first caption has no space before its closing bracket.
    const QString close = index == 0 ? QStringLiteral("）") : QStringLiteral(" ）");
    return QStringLiteral(" レベル %1 以上の語が 90% 以上（ TOEIC %2 レベル%3").arg(level).arg(kGoalToeic[static_cast<size_t>(index)]).arg(close);
}

QLabel *MakeLabel(QWidget *parent, const char *name, int top, int width = 380)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(kLeft, top, width, kLineHeight);
    return label;
}

QSlider *MakeSlider(QWidget *parent, const char *name, int min, int max, int top)
{
    auto *slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QLatin1String(name));
    slider->setRange(min, max);
    slider->setGeometry(kNormLeft, top, 200, kLineHeight);
    return slider;
}

// The caption of a self-report trackbar, left of it.
QLabel *MakeCaption(QWidget *parent, const char *name, const QString &text, int top)
{
    QLabel *caption = MakeLabel(parent, name, top, kNormLeft - kLeft - 8);
    caption->setText(text);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return caption;
}

QLabel *MakeRedNote(QWidget *parent, const char *name, int top)
{
    QLabel *note = MakeLabel(parent, name, top);
    note->setText(kSelfReportNote);
    QPalette palette = note->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    note->setPalette(palette);
    return note;
}
}

TStatusForm::TStatusForm(TCC &cc, QWidget *parent) : QDialog(parent), m_cc(cc)
{
    setObjectName(QStringLiteral("StatusForm"));
    setWindowTitle(kCaption);
    setFixedSize(kWidth, kHeight);

    sLabel_file = MakeLabel(this, "sLabel_file", 16, 380);
    QFont bold = sLabel_file->font();
    bold.setBold(true);
    sLabel_file->setFont(bold);
    sLabel_fin = MakeLabel(this, "sLabel_fin", 40, 400);
    sLabel_fin->setText(kFinishedText);

    int top = 76;
    for (QLabel **label : {&sLabel_FromStart, &sLabel_DaysTotal, &sLabel_TodayCorrectRate, &sLabel_CorrectRate,
                           &sLabel_TodayMonsuu, &sLabel_NormADay, &sLabel_NormAchieveRate}) {
        *label = MakeLabel(this, "", top);
        top += kLineHeight;
    }
    sLabel_FromStart->setObjectName(QStringLiteral("sLabel_FromStart"));
    sLabel_DaysTotal->setObjectName(QStringLiteral("sLabel_DaysTotal"));
    sLabel_TodayCorrectRate->setObjectName(QStringLiteral("sLabel_TodayCorrectRate"));
    sLabel_CorrectRate->setObjectName(QStringLiteral("sLabel_CorrectRate"));
    sLabel_TodayMonsuu->setObjectName(QStringLiteral("sLabel_TodayMonsuu"));
    sLabel_NormADay->setObjectName(QStringLiteral("sLabel_NormADay"));
    sLabel_NormAchieveRate->setObjectName(QStringLiteral("sLabel_NormAchieveRate"));

    top += 8;
    sTrackBar_norm = MakeSlider(this, "sTrackBar_norm", kQuotaMin, kQuotaMax, top);
    sTrackBar_norm->setTickInterval(kQuotaTick);
    sTrackBar_norm->setTickPosition(QSlider::TicksBelow);
    top += kLineHeight + 8;
    sTrackBar_StudiedDays = MakeSlider(this, "sTrackBar_StudiedDays", kSelfReportDaysMin, kSelfReportDaysMax, top);
    Label_StudiedDaysCaption = MakeCaption(this, "Label_StudiedDaysCaption", kStudiedDaysCaption, top);
    Label_StudiedDays = MakeRedNote(this, "Label_StudiedDays", top + kLineHeight);
    top += 2 * kLineHeight;
    sTrackBar_CorrectRate = MakeSlider(this, "sTrackBar_CorrectRate", kSelfReportRateMin, kSelfReportRateMax, top);
    Label_CorrectRateCaption = MakeCaption(this, "Label_CorrectRateCaption", kCorrectRateCaption, top);
    Label_CorrectRate = MakeRedNote(this, "Label_CorrectRate", top + kLineHeight);
    top += 2 * kLineHeight;
    sTrackBar_NormAchieveRate =
        MakeSlider(this, "sTrackBar_NormAchieveRate", kSelfReportAchievementMin, kSelfReportAchievementMax, top);
    Label_NormAchieveRateCaption = MakeCaption(this, "Label_NormAchieveRateCaption", kNormAchieveRateCaption, top);
    Label_NormAchieveRate = MakeRedNote(this, "Label_NormAchieveRate", top + kLineHeight);
    top += 2 * kLineHeight + 8;

    sGauge_TOEIC = new QProgressBar(this);
    sGauge_TOEIC->setObjectName(QStringLiteral("sGauge_TOEIC"));
    sGauge_TOEIC->setRange(0, kToeicMaximum);
    sGauge_TOEIC->setTextVisible(false);
    sGauge_TOEIC->setToolTip(kToeicHint);
    sGauge_TOEIC->setGeometry(kLeft, top, 260, 18);
    sPanel_TOEIC_label = MakeLabel(this, "sPanel_TOEIC_label", top - 3, 110);
    sPanel_TOEIC_label->move(kLeft + 270, top - 3);
    sPanel_TOEIC_label->setFont(bold);

    sCheckBox_everytime = new QCheckBox(kEverytimeCaption, this);
    sCheckBox_everytime->setObjectName(QStringLiteral("sCheckBox_everytime"));
    sCheckBox_everytime->setGeometry(kLeft, kHeight - 38, 300, kLineHeight);

    // The mastery levels, each a button with a thin gauge below it.
    for (size_t i = 0; i < kStatusLevels.size(); ++i) {
        const int y = 16 + static_cast<int>(i) * kLevelStep;
        auto *button = new QPushButton(this);
        button->setObjectName(QStringLiteral("sSB_%1").arg(kStatusLevels[i]));
        button->setGeometry(kLevelLeft, y, kLevelWidth, 22);
        button->setStyleSheet(QStringLiteral("text-align: left;"));
        button->setFocusPolicy(Qt::NoFocus);
        auto *gauge = new QProgressBar(this);
        gauge->setObjectName(QStringLiteral("sGauge%1").arg(kStatusLevels[i]));
        gauge->setGeometry(kLevelLeft, y + 22, kLevelWidth, 5);
        gauge->setTextVisible(false);
        sSB[i] = button;
        sGauge[i] = gauge;
        connect(button, &QPushButton::clicked, this, [this, level = kStatusLevels[i]] { sSB_0Click(level); });
    }

    // The goals of the simulation.
    sGroupBox3 = new QGroupBox(kGoalBoxCaption, this);
    sGroupBox3->setObjectName(QStringLiteral("sGroupBox3"));
    sGroupBox3->setGeometry(kLeft - 6, 470, 392, 170);
    for (size_t i = 0; i < sRadioButton_LV.size(); ++i) {
        auto *radio = new QRadioButton(sGroupBox3);
        radio->setObjectName(QStringLiteral("sRadioButton_LV%1").arg(kGoalLevels[i]));
        radio->setGeometry(10, 20 + static_cast<int>(i) * 20, 372, 20);
        sRadioButton_LV[i] = radio;
    }
    sLabel1 = new QLabel(kGoalNote, sGroupBox3);
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    sLabel1->setGeometry(10, 122, 372, 40);
    sLabel1->setWordWrap(true);
    sButton_Trial = new QPushButton(QStringLiteral("シミュレーション"), this);
    sButton_Trial->setObjectName(QStringLiteral("sButton_Trial"));
    sButton_Trial->setGeometry(kLevelLeft, 456, 110, 28);
    sButton_TrialAbort = new QPushButton(QStringLiteral("中止する"), this);
    sButton_TrialAbort->setObjectName(QStringLiteral("sButton_TrialAbort"));
    sButton_TrialAbort->setGeometry(kLevelLeft, 456, 110, 28);
    sGroupBox_simu = new QGroupBox(kSimulationBoxCaption, this);
    sGroupBox_simu->setObjectName(QStringLiteral("sGroupBox_simu"));
    sGroupBox_simu->setGeometry(kLevelLeft - 6, 492, kLevelWidth + 6, 130);
    int simuTop = 22;
    for (QLabel **label : {&Label_Simu2, &Label_Simu3, &Label_Simu4, &Label_Simu5}) {
        *label = new QLabel(sGroupBox_simu);
        (*label)->setGeometry(10, simuTop, kLevelWidth - 14, 24);
        QFont small = (*label)->font();
        // A tenth smaller, in whichever unit the inherited font is given.
        if (small.pixelSize() > 0)
            small.setPixelSize(qMax(1, qRound(small.pixelSize() * 0.9)));
        else
            small.setPointSizeF(small.pointSizeF() * 0.9);
        (*label)->setFont(small);
        simuTop += 24;
    }
    Label_Simu2->setObjectName(QStringLiteral("Label_Simu2"));
    Label_Simu3->setObjectName(QStringLiteral("Label_Simu3"));
    Label_Simu4->setObjectName(QStringLiteral("Label_Simu4"));
    Label_Simu5->setObjectName(QStringLiteral("Label_Simu5"));
    sGroupBox_simu->hide();
    // The large picture button under the simulation: a piece of the night
    // sky beside the name.
    sBB_Cosmos = new QPushButton(QStringLiteral("Cosmos"), this);
    sBB_Cosmos->setObjectName(QStringLiteral("sBB_Cosmos"));
    sBB_Cosmos->setToolTip(QStringLiteral("Cosmos"));
    sBB_Cosmos->setGeometry(kCosmosButton);
    sBB_Cosmos->setIcon(CosmosButtonPicture(devicePixelRatioF()));
    sBB_Cosmos->setIconSize(kCosmosPicture);
    QFont cosmosFont = sBB_Cosmos->font();
    cosmosFont.setPixelSize(kCosmosFontPixels);
    cosmosFont.setBold(true);
    sBB_Cosmos->setFont(cosmosFont);
    sButton_close = new QPushButton(QStringLiteral("閉じる"), this);
    sButton_close->setObjectName(QStringLiteral("sButton_close"));
    sButton_close->setGeometry(kWidth - 110, kHeight - 40, 90, 28);

    connect(sButton_close, &QPushButton::clicked, this, Guarded(std::bind_front(&TStatusForm::sButton_closeClick, this)));
    connect(sTrackBar_norm, &QSlider::valueChanged, this, Guarded(std::bind_front(&TStatusForm::sTrackBar_normChange, this)));
    for (QSlider *bar : {sTrackBar_StudiedDays, sTrackBar_CorrectRate, sTrackBar_NormAchieveRate})
        connect(bar, &QSlider::valueChanged, this, Guarded([this, bar](int value) { SelfReportChange(bar, value); }));
    connect(sCheckBox_everytime, &QCheckBox::clicked, this,
            Guarded([this](bool checked) { m_cc.settings.showProgressAtEnd = checked ? 1 : 0; }));
    connect(sBB_Cosmos, &QPushButton::clicked, this, Guarded([this] {
        PlaySound(QStringLiteral("COSMOS"));
        if (openCosmos)
            openCosmos();
        sGroupBox3->setFocus();
    }));
    connect(sButton_Trial, &QPushButton::clicked, this, Guarded(std::bind_front(&TStatusForm::sButton_TrialClick, this)));
    connect(sButton_TrialAbort, &QPushButton::clicked, this, Guarded(std::bind_front(&TStatusForm::sButton_TrialAbortClick, this)));
}

void TStatusForm::sSB_0Click(int level)
{
    if (openWordBrowser)
        openWordBrowser(m_cc, level);
}

int TStatusForm::ShowModal(TStatusMode mode)
{
    FormShow(mode);
    return exec();
}

void TStatusForm::FormShow(TStatusMode mode)
{
    m_mode = mode;
    m_filling = true;
    const TLearningStatus status = ComputeLearningStatus(m_cc, mode);
    sButton_TrialAbort->hide();
    CentreOverOwner(this);
    const bool manager = mode == TStatusMode::Manager;
    sTrackBar_norm->setVisible(!manager);
    sCheckBox_everytime->setVisible(!manager);
    sCheckBox_everytime->setChecked(m_cc.settings.showProgressAtEnd == 1);
    // A long title ends in "…" on whole characters; the whole caption is the hint.
    sLabel_file->setText(sLabel_file->fontMetrics().elidedText(status.fileCaption, Qt::ElideMiddle, sLabel_file->width()));
    sLabel_file->setToolTip(status.fileCaption);
    const bool fileEnd = mode == TStatusMode::FileEnd;
    sLabel_fin->setVisible(fileEnd);
    sButton_close->setText(fileEnd ? QStringLiteral("終了") : QStringLiteral("閉じる"));
    for (QWidget *w : std::initializer_list<QWidget *>{sTrackBar_StudiedDays, sTrackBar_CorrectRate,
                                                       sTrackBar_NormAchieveRate, Label_StudiedDays,
                                                       Label_CorrectRate, Label_NormAchieveRate,
                                                       Label_StudiedDaysCaption, Label_CorrectRateCaption,
                                                       Label_NormAchieveRateCaption})
        w->setVisible(status.selfReportNeeded);
    // The self-report starts from what is stored, so that a small move
    // changes a little.
    const TFileSettings &stored = m_cc.settings;
    sTrackBar_StudiedDays->setValue(qBound(kSelfReportDaysMin, stored.learningDays, kSelfReportDaysMax));
    sTrackBar_CorrectRate->setValue(qBound(kSelfReportRateMin, stored.overallCorrectRate, kSelfReportRateMax));
    sTrackBar_NormAchieveRate->setValue(
        qBound(kSelfReportAchievementMin, stored.averageAchievement, kSelfReportAchievementMax));
    sTrackBar_norm->move(status.selfReportNeeded ? kNormLeftWithSelfReport : kNormLeft, sTrackBar_norm->y());
    FillLevels(status);
    FillStatistics(status);
    FillToeic(status);
    for (QRadioButton *radio : sRadioButton_LV) {
        radio->setAutoExclusive(false);
        radio->setChecked(false);
        radio->setAutoExclusive(true);
    }
    m_filling = false;
}

void TStatusForm::FillStatistics(const TLearningStatus &status)
{
    sLabel_FromStart->setText(kFromStart.arg(status.daysSinceStart));
    sLabel_DaysTotal->setText(kDaysTotal.arg(status.learningDays));
    sLabel_TodayCorrectRate->setText(kTodayCorrectRate.arg(status.todayCorrectRate));
    sLabel_CorrectRate->setText(kCorrectRate.arg(status.totalCorrectRate));
    sLabel_TodayMonsuu->setText(kTodayMonsuu.arg(status.answeredToday));
    sLabel_NormADay->setText(kNormADay.arg(status.dailyQuota));
    sTrackBar_norm->setValue(status.dailyQuota);
    sLabel_NormAchieveRate->setText(kNormAchieveRate.arg(status.achievement));
}

void TStatusForm::FillLevels(const TLearningStatus &status)
{
    for (size_t i = 0; i < status.levels.size(); ++i) {
        const TStatusLevel &level = status.levels[i];
        sSB[i]->setText(level.name + QString::number(level.count) + QStringLiteral(" 個"));
        sGauge[i]->setRange(0, qMax(1, status.wordCount));
        sGauge[i]->setValue(qMin(level.count, qMax(1, status.wordCount)));
    }
}

void TStatusForm::FillToeic(const TLearningStatus &status)
{
    const bool shown = status.toeicFile && status.toeicEstimate.has_value();
    sGauge_TOEIC->setVisible(shown);
    sPanel_TOEIC_label->setVisible(shown);
    if (shown) {
        sGauge_TOEIC->setValue(*status.toeicEstimate);
        sPanel_TOEIC_label->setText(QStringLiteral("TOEIC %1").arg(*status.toeicEstimate));
    }
    for (size_t i = 0; i < sRadioButton_LV.size(); ++i)
        sRadioButton_LV[i]->setText(GoalCaption(static_cast<int>(i), status.toeicFile));
}

void TStatusForm::sTrackBar_normChange(int value)
{
    if (m_filling)
        return;
    ChangeDailyQuota(m_cc, value);
    sLabel_NormADay->setText(kNormADay.arg(value));
}

void TStatusForm::SelfReportChange(QSlider *bar, int value)
{
    if (m_filling)
        return;
    TFileSettings &s = m_cc.settings;
    if (bar == sTrackBar_StudiedDays) {
        s.learningDays = value;
        sLabel_DaysTotal->setText(kDaysTotal.arg(value));
        Label_StudiedDays->hide();
    } else if (bar == sTrackBar_CorrectRate) {
        s.overallCorrectRate = value;
        sLabel_CorrectRate->setText(kSelfReportedCorrectRate.arg(value));
        Label_CorrectRate->hide();
    } else {
        s.averageAchievement = value;
        sLabel_NormAchieveRate->setText(kNormAchieveRate.arg(value));
        Label_NormAchieveRate->hide();
    }
}

bool TStatusForm::SelfReportPending() const
{
    return Label_StudiedDays->isVisible() || Label_CorrectRate->isVisible() || Label_NormAchieveRate->isVisible();
}

void TStatusForm::sButton_closeClick()
{
    if (SelfReportPending()) {
        m_cc.notifier->Information(kSelfReportPending);
        return;
    }
    if (sButton_TrialAbort->isVisible() || m_cc.simulationRunning)
        return;
    for (QWidget *w : std::initializer_list<QWidget *>{sTrackBar_StudiedDays, sTrackBar_CorrectRate,
                                                       sTrackBar_NormAchieveRate, Label_StudiedDaysCaption,
                                                       Label_CorrectRateCaption, Label_NormAchieveRateCaption})
        w->hide();
    sGroupBox3->setFocus();
    PlaySound(QStringLiteral("BUTTON"));
    QDialog::reject();
}

void TStatusForm::PlaySound(const QString &name)
{
    if (playSoundEffect)
        playSoundEffect(name);
}

void TStatusForm::keyPressEvent(QKeyEvent *event)
{
    Guard([&] {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            sButton_closeClick();
            return;
        }
        QDialog::keyPressEvent(event);
    });
}

void TStatusForm::mousePressEvent(QMouseEvent *event)
{
    Guard([&] {
        // A click on the window's background closes it like the close button.
        if (childAt(event->position().toPoint()) == nullptr) {
            sButton_closeClick();
            return;
        }
        QDialog::mousePressEvent(event);
    });
}

void TStatusForm::reject()
{
    Guard([&] {
        sButton_closeClick();
    });
}

void TStatusForm::closeEvent(QCloseEvent *event)
{
    Guard([&] {
        // The window's own close box acts like the close button.
        event->ignore();
        sButton_closeClick();
    });
}

int TStatusForm::ChosenGoal() const
{
    for (size_t i = 0; i < sRadioButton_LV.size(); ++i)
        if (sRadioButton_LV[i]->isChecked())
            return kGoalLevels[i];
    return 0;
}

void TStatusForm::RefreshLevels()
{
    const TLearningStatus status = ComputeLearningStatus(m_cc, m_mode);
    FillLevels(status);
    FillToeic(status);
}

void TStatusForm::sButton_TrialClick()
{
    TGoalSimulation simulation(m_cc);
    const int goal = ChosenGoal();
    if (const auto refusal = simulation.Refusal(goal, SelfReportPending())) {
        m_cc.notifier->Information(*refusal);
        return;
    }
    sBB_Cosmos->setEnabled(false);
    sButton_TrialAbort->show();
    sButton_Trial->hide();
    Label_Simu2->setText(kSimuRate.arg(simulation.ExpectedCorrectRate()));
    Label_Simu3->setText(kSimuQuota.arg(simulation.SimulatedQuota()));
    Label_Simu4->setText(kSimuIncrement.arg(m_cc.settings.firstTimeIncrement));
    Label_Simu5->clear();
    sGroupBox_simu->show();
    m_abortRequested = false;

    // The window stays alive: every 50 ms it repaints and sees the abort button.
    QElapsedTimer sinceRefresh;
    sinceRefresh.start();
    simulation.afterQuestion = [this, &sinceRefresh] {
        if (sinceRefresh.elapsed() >= kRefreshEveryMs) {
            QCoreApplication::processEvents();
            sinceRefresh.restart();
        }
        return m_abortRequested;
    };
    simulation.atDayChange = [this](int day) {
        Label_Simu5->setText(kSimuDay.arg(day));
        RefreshLevels();
    };
    std::optional<TSimulationResult> result;
    try {
        result = simulation.Run(goal);
    } catch (const TFatalError &e) {
        // The table is back as it was; the learner hears why the run stopped.
        m_cc.notifier->Error(e.Message());
    }
    sButton_TrialAbort->hide();
    sButton_Trial->show();
    if (result && !result->aborted) {
        if (result->dayLimitReached)
            m_cc.notifier->Information(kDayLimit);
        m_cc.notifier->Information(kSimulationDone.arg(result->days));
    }
    sBB_Cosmos->setEnabled(true);
    sGroupBox_simu->hide();
    RefreshLevels();
}

void TStatusForm::sButton_TrialAbortClick()
{
    m_abortRequested = true;
}
