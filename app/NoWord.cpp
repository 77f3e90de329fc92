#include "app/NoWord.h"

#include "widgets/DialogPlacement.h"

#include "engine/CommonUnit.h"
#include "engine/Forecast.h"
#include "workspace/Reminder.h"
#include "base/SlotGuard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTextEdit>
#include <QToolTip>

namespace {
constexpr int kClientWidth = 716;
constexpr int kClientHeight = 478;
const QString kForecastCaption = QStringLiteral(" 今後の出題発生状況");
const QString kShortcutError = QStringLiteral("【 エラー】　ショートカットの作成に失敗しました");

QString MessageText()
{
    const QStringList lines = {
        QStringLiteral("　☆ 忘却曲線にもとづいて出題すべき語がありませんので、終了します"),
        QStringLiteral("　このウインドウが表示されているということは、すべての語が Stage 2 に達していることを意味します。"),
        QStringLiteral("　今後は各語の出題頻度がどんどん低くなりますので、Tessarion を毎日起動する必要はありません。"),
        QStringLiteral("　これからは語彙力を実践的なものに変換していく作業が大切です。"),
        QStringLiteral("  単語や熟語の意味を単純に記憶しているだけでは、本当の語彙力を獲得したとは言えません。"),
        QStringLiteral("　Tessarion で記憶を維持しつつ、多読や多聴をこなしていきましょう！"),
    };
    return lines.join(QStringLiteral("\n\n"));
}
}

TNoWordForm::TNoWordForm(TCC &cc, QWidget *parent) : QDialog(parent), m_cc(cc)
{
    setObjectName(QStringLiteral("NoWordForm"));
    setFixedSize(kClientWidth, kClientHeight);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    trayProgram = QCoreApplication::applicationDirPath() + u'/' + QLatin1String(kTrayProgramName);

    sRichEdit1 = new QTextEdit(this);
    sRichEdit1->setObjectName(QStringLiteral("sRichEdit1"));
    sRichEdit1->setReadOnly(true);
    sRichEdit1->setGeometry(12, 12, kClientWidth - 24, 250);
    sRichEdit1->setPlainText(MessageText());

    // A drop-down whose own text never changes: the days are its items.
    sComboBox1 = new QComboBox(this);
    sComboBox1->setObjectName(QStringLiteral("sComboBox1"));
    sComboBox1->setGeometry(12, 274, 300, 28);
    sComboBox1->setEditable(true);
    sComboBox1->lineEdit()->setReadOnly(true);
    sComboBox1->setInsertPolicy(QComboBox::NoInsert);
    sComboBox1->setEditText(kForecastCaption);

    sGroupBox1 = new QGroupBox(this);
    sGroupBox1->setObjectName(QStringLiteral("sGroupBox1"));
    sGroupBox1->setGeometry(12, 312, kClientWidth - 24, 98);
    sGroupBox1->setFocusPolicy(Qt::StrongFocus);
    sCheckBox_popup = new QCheckBox(
        QStringLiteral("出題可能な語が一定数に達したら、ログイン時にポップアップで知らせる"), sGroupBox1);
    sCheckBox_popup->setObjectName(QStringLiteral("sCheckBox_popup"));
    sCheckBox_popup->setGeometry(12, 10, kClientWidth - 48, 24);
    sLabel_min = new QLabel(QStringLiteral("5 問"), sGroupBox1);
    sLabel_min->setObjectName(QStringLiteral("sLabel_min"));
    sLabel_min->setGeometry(12, 50, 44, 24);
    sTrackBar1 = new QSlider(Qt::Horizontal, sGroupBox1);
    sTrackBar1->setObjectName(QStringLiteral("sTrackBar1"));
    sTrackBar1->setRange(kPopUpThresholdMin, kPopUpThresholdMax);
    sTrackBar1->setValue(kDefaultPopUpWN);
    sTrackBar1->setTickPosition(QSlider::TicksBelow);
    sTrackBar1->setTickInterval(1);
    sTrackBar1->setGeometry(60, 46, 330, 32);
    sTrackBar1->setToolTip(QString::number(kDefaultPopUpWN));
    sLabel_max = new QLabel(QStringLiteral("30 問"), sGroupBox1);
    sLabel_max->setObjectName(QStringLiteral("sLabel_max"));
    sLabel_max->setGeometry(396, 50, 50, 24);
    sLabel_next = new QLabel(sGroupBox1);
    sLabel_next->setObjectName(QStringLiteral("sLabel_next"));
    sLabel_next->setGeometry(470, 50, 200, 24);

    sButton_end = new QPushButton(QStringLiteral("終了"), this);
    sButton_end->setObjectName(QStringLiteral("sButton_end"));
    sButton_end->setGeometry(kClientWidth - 132, kClientHeight - 48, 120, 32);
    sButton_cancel = new QPushButton(QStringLiteral("ランダム出題で続行"), this);
    sButton_cancel->setObjectName(QStringLiteral("sButton_cancel"));
    sButton_cancel->setGeometry(kClientWidth - 300, kClientHeight - 48, 156, 32);
    sButton_cancel->setToolTip(QStringLiteral(
        "忘却曲線に基づく出題がない場合に、無作為に語を選んで出題します。これは非効率的な学習方法なので"
        "お勧めしません。　※学習記録にも反映されません"));

    connect(sButton_end, &QPushButton::clicked, this, Guarded([this] { done(kEndFile); }));
    connect(sButton_cancel, &QPushButton::clicked, this, Guarded([this] { done(kGoOnRandom); }));
    connect(sTrackBar1, &QSlider::valueChanged, this, Guarded([this](int position) {
        sTrackBar1->setToolTip(QString::number(position));
        Refresh();
    }));
    connect(sCheckBox_popup, &QCheckBox::clicked, this, Guarded([this] { PopUpClicked(); }));
    // After the list closes its own text is shown again.
    connect(sComboBox1, &QComboBox::activated, this, Guarded([this] {
        sComboBox1->setEditText(kForecastCaption);
        sGroupBox1->setFocus();
    }));
}

// The forecast of the file on show: built each time the window opens, so a
// second file in the same run shows its own days.
void TNoWordForm::RebuildForecast()
{
    const QList<TForecastDay> forecast = ForecastDueWords(m_cc.words, m_cc.TangoTotal(), m_cc.clock.Today());
    m_counts.clear();
    sComboBox1->clear();
    for (const TForecastDay &day : forecast) {
        m_counts.append(day.count);
        sComboBox1->addItem(ForecastItemText(day));
    }
    sComboBox1->setEditText(kForecastCaption);
}

void TNoWordForm::Refresh()
{
    if (m_cc.fileSlot < 1 || m_cc.fileSlot > kSlotCount)
        return;
    TDBF &row = m_cc.catalog.rows[static_cast<size_t>(m_cc.fileSlot)];
    QList<TForecastDay> forecast;
    for (int i = 0; i < m_counts.size(); ++i)
        forecast.append({i + 1, QDate(), m_counts[i]});
    const int next = PopUpDay(forecast, sTrackBar1->value());
    setWindowTitle(QStringLiteral("+++ ") + row.Title + QStringLiteral(" +++"));
    sLabel_next->setText(NextReminderText(next));
    SetPopUpDate(row, m_cc.clock.Today(), next, sTrackBar1->value());
    sCheckBox_popup->setChecked(row.PopUp);
    sLabel_next->setVisible(row.PopUp);
    sTrackBar1->setEnabled(row.PopUp);
    sLabel_min->setEnabled(row.PopUp);
    sLabel_max->setEnabled(row.PopUp);
}

void TNoWordForm::PopUpClicked()
{
    if (m_cc.fileSlot < 1 || m_cc.fileSlot > kSlotCount)
        return;
    m_cc.catalog.rows[static_cast<size_t>(m_cc.fileSlot)].PopUp = sCheckBox_popup->isChecked();
    Refresh();
}

void TNoWordForm::showEvent(QShowEvent *event)
{
    Guard([&] {
        QDialog::showEvent(event);
        if (m_cc.fileSlot >= 1 && m_cc.fileSlot <= kSlotCount) {
            const TDBF &row = m_cc.catalog.rows[static_cast<size_t>(m_cc.fileSlot)];
            const QSignalBlocker block(sTrackBar1);
            sTrackBar1->setValue(qBound(kPopUpThresholdMin, row.PopUpWN, kPopUpThresholdMax));
            sTrackBar1->setToolTip(QString::number(sTrackBar1->value()));
        }
        RebuildForecast();
        Refresh();
        CentreOverOwner(this);
        sGroupBox1->setFocus();
    });
}

void TNoWordForm::keyPressEvent(QKeyEvent *event)
{
    Guard([&] {
        // Esc ends the file, as "終了" does.
        if (event->key() == Qt::Key_Escape) {
            done(kEndFile);
            return;
        }
        QDialog::keyPressEvent(event);
    });
}

// The window's close button: not "終了", so the run goes on at random.
void TNoWordForm::reject()
{
    Guard([&] {
        done(QDialog::Rejected);
    });
}

// Every way of closing keeps the threshold and the reminder's entry.
void TNoWordForm::done(int result)
{
    Guard([&] {
        if (m_cc.fileSlot >= 1 && m_cc.fileSlot <= kSlotCount) {
            m_cc.catalog.rows[static_cast<size_t>(m_cc.fileSlot)].PopUpWN = sTrackBar1->value();
            m_cc.SaveCatalog();
            QString error;
            if (!UpdateAutostartEntry(m_cc.catalog, sCheckBox_popup->isChecked(), trayProgram,
                                      m_cc.programFolder, &error))
                m_cc.notifier->Error(kShortcutError + QStringLiteral("\n") + error);
        }
        QDialog::done(result);
    });
}

TNoQuestionsChoice TNoWordForm::AskNoQuestions()
{
    if (beforeShow)
        beforeShow();
    return exec() == kEndFile ? TNoQuestionsChoice::End : TNoQuestionsChoice::GoOnRandom;
}
