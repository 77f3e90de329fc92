#include "files/SelectionUnit.h"

#include "widgets/DialogPlacement.h"
#include "base/SlotGuard.h"
#include "base/WaitPumping.h"
#include "engine/CommonUnit.h"
#include "engine/WordBrowser.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace {
constexpr int kClientWidth = 560;
constexpr int kClientHeight = 600;
constexpr int kFillDelayMs = 100;
constexpr int kSpeakDelayMs = 222;
constexpr int kSlotRole = Qt::UserRole;
const QString kWaitText = QStringLiteral("・・・　しばらくお待ちください　・・・");
const QString kNoWordText = QStringLiteral("この習熟レベルに該当する語は一つもありません。");
const QString kCaptionWords = QStringLiteral("習熟レベル %1 の単語");
const QString kCaptionPhrases = QStringLiteral("習熟レベル %1 の熟語");

bool IsPhraseFile(const QString &code)
{
    return code == QStringLiteral("TJ") || code == QStringLiteral("DJ");
}
}

TSelectionForm::TSelectionForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SelectionForm"));
    setFixedSize(kClientWidth, kClientHeight);
    TntTreeView = new QTreeWidget(this);
    TntTreeView->setObjectName(QStringLiteral("TntTreeView"));
    TntTreeView->setHeaderHidden(true);
    TntTreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TntTreeView->setGeometry(12, 12, kClientWidth - 24, kClientHeight - 72);
    TntTreeView->hide();
    sLabel1 = new QLabel(kWaitText, this);
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    sLabel1->setAlignment(Qt::AlignCenter);
    sLabel1->setGeometry(12, kClientHeight / 2 - 20, kClientWidth - 24, 40);
    sButton_close = new QPushButton(QStringLiteral("ＯＫ"), this);
    sButton_close->setObjectName(QStringLiteral("sButton_close"));
    sButton_close->setGeometry(kClientWidth / 2 - 60, kClientHeight - 48, 120, 34);
    sButton_close->hide();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(kFillDelayMs);
    connect(Timer1, &QTimer::timeout, this, Guarded([this] { Timer1Timer(); }));
    connect(TntTreeView, &QTreeWidget::itemClicked, this, Guarded([this] { TntTreeViewClick(); }));
    connect(sButton_close, &QPushButton::clicked, this, Guarded([this] { sButton_closeClick(); }));
}

bool TSelectionForm::Prepare(TCC &cc, int level)
{
    m_cc = &cc;
    m_level = level;
    if (cc.CountWordsAtLevel(level) == 0) {
        cc.notifier->Information(kNoWordText);
        return false;
    }
    return true;
}

void TSelectionForm::ShowLevel(TCC &cc, int level)
{
    if (Prepare(cc, level))
        exec();
}

void TSelectionForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Guard([this] {
        CentreOverOwner(this);
        if (m_cc)
            setWindowTitle((IsPhraseFile(m_cc->fileCode) ? kCaptionPhrases : kCaptionWords).arg(m_level));
        Timer1->start();
    });
}

void TSelectionForm::Timer1Timer()
{
    Timer1->stop();
    TntTreeView->clear();
    TntTreeView->setSortingEnabled(false);
    if (!m_cc)
        return;
    auto *root = new QTreeWidgetItem(TntTreeView, {kWordBrowserRoot});
    root->setData(0, kSlotRole, m_cc->fileSlot);
    // The lines come in text order; the root stays first.
    for (const QString &line : WordBrowserLines(*m_cc, m_level)) {
        auto *item = new QTreeWidgetItem(root, {line});
        item->setData(0, kSlotRole, m_cc->fileSlot);
    }
    sButton_close->show();
    sLabel1->clear();
    TntTreeView->expandAll();
    TntTreeView->show();
    TntTreeView->setFocus();
    TntTreeView->setCurrentItem(root);
}

void TSelectionForm::TntTreeViewClick()
{
    const QTreeWidgetItem *item = TntTreeView->currentItem();
    if (TntTreeView->topLevelItemCount() == 0 || !item)
        return;
    const QString text = SpokenPartOfLine(item->text(0));
    const int slot = item->data(0, kSlotRole).toInt();
    WaitPumping(kSpeakDelayMs);
    if (speakText && !text.isEmpty() && text != kWordBrowserRoot)
        speakText(text, slot);
}

void TSelectionForm::sButton_closeClick()
{
    accept();
}

void TSelectionForm::mousePressEvent(QMouseEvent *event)
{
    QDialog::mousePressEvent(event);
    Guard([&] {
        if (event->button() == Qt::LeftButton)
            accept();
    });
}

void TSelectionForm::done(int result)
{
    Guard([this] { FormClose(); });
    QDialog::done(result);
}

// Every way of closing (the button, Esc, the window's close box, a click on
// the background) ends here. The next opening starts with the wait label.
void TSelectionForm::FormClose()
{
    if (!isVisible())
        return;
    if (playSoundEffect)
        playSoundEffect(QStringLiteral("BUTTON"));
    Timer1->stop();
    sLabel1->setText(kWaitText);
    sButton_close->hide();
    TntTreeView->hide();
}
