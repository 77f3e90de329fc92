#include "progress/AboutCosmos.h"

#include "widgets/DialogPlacement.h"
#include "base/SlotGuard.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTextEdit>
#include <functional>

namespace {
const QString kCaption = QStringLiteral(" Cosmos について");
constexpr int kTextWidth = 666;
constexpr int kTextHeight = 522;
constexpr int kSampleWidth = 1024;
constexpr int kSampleHeight = 768;

const QStringList kText = {
    QString(),
    QStringLiteral("　「学習進捗状況」の画面にある大きなボタンを押してみてください。"),
    QStringLiteral("　あなたの学習成果が星空となって現れます。"),
    QStringLiteral("　一つの語が一つの星となり、習熟レベルに応じて輝きを増していくのです。"),
    QStringLiteral("　初めは闇に覆われていますが、学習の継続によってたくさんの星が輝きはじめます。"),
    QString(),
    QString(),
    QStringLiteral("　※ランダムな要素もありますが、基本的には以下のような法則で星が成長します"),
    QString(),
    QStringLiteral("　・ 習熟レベルが高まると明度が増す"),
    QStringLiteral("　・ ミスを繰り返すと赤みが増す"),
    QStringLiteral("　・ Stage 2 以上の語が全語数の 10、20、33、50 % を超すごとに目立つ星が出現する　※ 9 種類"),
    QStringLiteral("　・ Stage 2 以上の語が 1000 個を超えると大きな銀河が出現する　※ 7 種類"),
};

const std::array<QString, 4> kSampleCaptions = {
    QStringLiteral("正答率 75 % で 90 日経過したコスモスのサンプル"),
    QStringLiteral("正答率 75 % で 200 日経過したコスモスのサンプル"),
    QStringLiteral("正答率 80 % で 360 日経過したコスモスのサンプル"),
    QStringLiteral("正答率 75 % で 700 日経過したコスモスのサンプル"),
};

QPixmap Sample(int n)
{
    QSvgRenderer renderer(QStringLiteral(":/cosmos/Sample%1.svg").arg(n));
    QPixmap pixmap(kSampleWidth, kSampleHeight);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}
}

TAboutCosmosForm::TAboutCosmosForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutCosmosForm"));
    setWindowTitle(kCaption);
    setFixedSize(kTextWidth, kTextHeight);
    sRichEdit1 = new QTextEdit(this);
    sRichEdit1->setObjectName(QStringLiteral("sRichEdit1"));
    sRichEdit1->setReadOnly(true);
    sRichEdit1->setPlainText(kText.join(u'\n'));
    sRichEdit1->setGeometry(16, 16, kTextWidth - 32, 300);
    sRichEdit1->viewport()->installEventFilter(this);
    for (int n = 0; n < 4; ++n) {
        auto *button = new QPushButton(kSampleCaptions[static_cast<size_t>(n)], this);
        button->setObjectName(QStringLiteral("sButton%1").arg(n + 1));
        button->setGeometry(16, 328 + n * 36, kTextWidth - 32, 30);
        connect(button, &QPushButton::clicked, this, Guarded([this, n] { ShowSample(n + 1); }));
        sButton[static_cast<size_t>(n)] = button;
        auto *picture = new QLabel(this);
        picture->setObjectName(QStringLiteral("Image_S%1").arg(n + 1));
        picture->setPixmap(Sample(n + 1));
        picture->setGeometry(0, 0, kSampleWidth, kSampleHeight);
        picture->installEventFilter(this);
        picture->hide();
        Image_S[static_cast<size_t>(n)] = picture;
    }
    sButton5 = new QPushButton(QStringLiteral("ＯＫ"), this);
    sButton5->setObjectName(QStringLiteral("sButton5"));
    sButton5->setGeometry(kTextWidth - 120, kTextHeight - 40, 104, 30);
    connect(sButton5, &QPushButton::clicked, this, Guarded(std::bind_front(&QDialog::accept, this)));
}

void TAboutCosmosForm::showEvent(QShowEvent *event)
{
    Guard([&] {
        QDialog::showEvent(event);
        ShowText();
    });
}

void TAboutCosmosForm::ShowSample(int n)
{
    for (QPushButton *b : sButton)
        b->hide();
    sButton5->hide();
    sRichEdit1->hide();
    setFixedSize(kSampleWidth, kSampleHeight);
    if (const QWidget *owner = parentWidget())
        move(owner->window()->pos());
    for (int k = 0; k < 4; ++k)
        Image_S[static_cast<size_t>(k)]->setVisible(k + 1 == n);
}

void TAboutCosmosForm::ShowText()
{
    for (QLabel *picture : Image_S)
        picture->hide();
    setFixedSize(kTextWidth, kTextHeight);
    CentreOverOwner(this);
    for (QPushButton *b : sButton)
        b->show();
    sButton5->show();
    sRichEdit1->show();
}

void TAboutCosmosForm::keyPressEvent(QKeyEvent *event)
{
    Guard([&] {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            if (sRichEdit1->isVisible())
                accept();
            return;
        }
        QDialog::keyPressEvent(event);
    });
}

void TAboutCosmosForm::mousePressEvent(QMouseEvent *event)
{
    Guard([&] {
        // A click on the background closes the explanation.
        if (sRichEdit1->isVisible())
            accept();
        QDialog::mousePressEvent(event);
    });
}

bool TAboutCosmosForm::eventFilter(QObject *watched, QEvent *event)
{
    return GuardReturning(false, [&]() -> bool {
        if (event->type() == QEvent::MouseButtonPress) {
            if (watched == sRichEdit1->viewport()) {
                accept();
                return true;
            }
            ShowText();   // a click on a sample returns to the text
            return true;
        }
        return QDialog::eventFilter(watched, event);
    });
}

void TAboutCosmosForm::done(int result)
{
    Guard([&] {
        if (playSoundEffect)
            playSoundEffect(QStringLiteral("BUTTON"));
        QDialog::done(result);
    });
}
