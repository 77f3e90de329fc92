#include "app/NoWord.h"

#include "app/DialogPlacement.h"

#include "engine/CommonUnit.h"

#include <QPushButton>
#include <QTextEdit>

namespace {
constexpr int kClientWidth = 716;
constexpr int kClientHeight = 478;

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
    sRichEdit1 = new QTextEdit(this);
    sRichEdit1->setObjectName(QStringLiteral("sRichEdit1"));
    sRichEdit1->setReadOnly(true);
    sRichEdit1->setGeometry(12, 12, kClientWidth - 24, 330);
    sRichEdit1->setPlainText(MessageText());
    sButton_end = new QPushButton(QStringLiteral("終了"), this);
    sButton_end->setObjectName(QStringLiteral("sButton_end"));
    sButton_end->setGeometry(kClientWidth - 132, kClientHeight - 48, 120, 32);
    sButton_cancel = new QPushButton(QStringLiteral("ランダム出題で続行"), this);
    sButton_cancel->setObjectName(QStringLiteral("sButton_cancel"));
    sButton_cancel->setGeometry(kClientWidth - 300, kClientHeight - 48, 156, 32);
    sButton_cancel->setToolTip(QStringLiteral(
        "忘却曲線に基づく出題がない場合に、無作為に語を選んで出題します。これは非効率的な学習方法なので"
        "お勧めしません。　※学習記録にも反映されません"));
    connect(sButton_end, &QPushButton::clicked, this, [this] { done(kEndFile); });
    connect(sButton_cancel, &QPushButton::clicked, this, [this] { done(kGoOnRandom); });
}

void TNoWordForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    const TDBF &row = m_cc.catalog.rows[static_cast<size_t>(qBound(0, m_cc.fileSlot, kSlotCount))];
    setWindowTitle(QStringLiteral("+++ ") + row.Title + QStringLiteral(" +++"));
    CentreOverOwner(this);
    sButton_end->setFocus();
}

// Esc ends the file, as "終了" does.
void TNoWordForm::reject()
{
    done(kEndFile);
}

TNoQuestionsChoice TNoWordForm::AskNoQuestions()
{
    if (beforeShow)
        beforeShow();
    // Closing the window any other way than "終了" or Esc goes on at random.
    return exec() == kEndFile ? TNoQuestionsChoice::End : TNoQuestionsChoice::GoOnRandom;
}
