#include "progress/CosmosUnit.h"

#include "widgets/ScreenFit.h"
#include "base/Random.h"
#include "engine/CommonUnit.h"
#include "base/SlotGuard.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QSvgRenderer>

namespace {
const QString kCaption = QStringLiteral(" Cosmos");
const std::array<QString, 3> kDarkSkyLines = {
    QStringLiteral("・・・　あなたの語彙の宇宙は誕生したばかりで、まだ深い闇におおわれています　・・・"),
    QStringLiteral("・・・　一つの語の習熟度が高まれば、一つの星が輝きを増してゆくでしょう　・・・"),
    QStringLiteral("・・・　たくさんの星がきらめく、あなただけの美しい宇宙をつくりましょう　・・・"),
};
constexpr int kGalaxyLeft = 384;
constexpr int kGalaxyTop = 256;
constexpr int kLineHeight = 22;
constexpr int kFirstLineTop = kSkyHeight - 3 * kLineHeight - 16;

QPixmap Picture(const QString &name)
{
    QSvgRenderer renderer(QStringLiteral(":/cosmos/%1.svg").arg(name));
    QPixmap pixmap(renderer.defaultSize());
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QLabel *PictureLabel(QWidget *parent, const QString &objectName, const QString &picture)
{
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setPixmap(Picture(picture));
    label->adjustSize();
    label->hide();
    return label;
}
}

QImage DrawSky(const TCC &cc, TRandom &random)
{
    QImage sky(kSkyWidth, kSkyHeight, QImage::Format_RGB32);
    sky.fill(Qt::black);
    const QDate today = cc.clock.Today();
    const int total = cc.TangoTotal();
    for (int p = 1; p <= total; ++p) {
        const TTango &t = cc.words[p];
        const TStarColour c = StarColour(t, today, random);
        // Star positions run 1..1024 and 1..768.
        const int x = t.starX - 1;
        const int y = t.starY - 1;
        if (x >= 0 && x < kSkyWidth && y >= 0 && y < kSkyHeight)
            sky.setPixel(x, y, qRgb(c.red, c.green, c.blue));
    }
    return sky;
}

TCosmosForm::TCosmosForm(TCC &cc, QWidget *parent) : QDialog(parent), m_cc(cc)
{
    setObjectName(QStringLiteral("CosmosForm"));
    setWindowTitle(kCaption);
    setFixedSize(kSkyWidth, kSkyHeight);
    Image_cosmos = new QLabel(this);
    Image_cosmos->setObjectName(QStringLiteral("Image_cosmos"));
    Image_cosmos->setGeometry(0, 0, kSkyWidth, kSkyHeight);
    Image_cosmos->installEventFilter(this);
    for (int n = 0; n < kSmallPictures; ++n)
        Image_sp[static_cast<size_t>(n)] = PictureLabel(this, QStringLiteral("Image_sp%1").arg(n), QStringLiteral("Sp%1").arg(n));
    for (int n = 0; n < kGalaxies; ++n) {
        QLabel *galaxy = PictureLabel(this, QStringLiteral("Image_gal%1").arg(n), QStringLiteral("Gal%1").arg(n));
        galaxy->installEventFilter(this);
        Image_gal[static_cast<size_t>(n)] = galaxy;
    }
    Image_sp[6]->installEventFilter(this);
    Image_sp[7]->installEventFilter(this);
    for (size_t i = 0; i < sLabel_line.size(); ++i) {
        auto *line = new QLabel(kDarkSkyLines[i], this);
        line->setObjectName(QStringLiteral("sLabel_line%1").arg(i + 1));
        line->setGeometry(0, kFirstLineTop + static_cast<int>(i) * kLineHeight, kSkyWidth, kLineHeight);
        line->setAlignment(Qt::AlignHCenter);
        QPalette palette = line->palette();
        palette.setColor(QPalette::WindowText, QColor(0xB0, 0xB0, 0xC8));
        line->setPalette(palette);
        sLabel_line[i] = line;
    }
}

int TCosmosForm::ShowModal()
{
    FormShow();
    return exec();
}

void TCosmosForm::FormShow()
{
    if (const QWidget *owner = parentWidget())
        move(owner->window()->pos());
    Image_cosmos->setPixmap(QPixmap::fromImage(DrawSky(m_cc, m_cc.random)));
    const TSkyLayout layout = ArrangeSky(m_cc.words, m_cc.TangoTotal(), m_cc.settings.reservedA, m_cc.settings.reservedB);
    for (int n = 0; n < kSmallPictures; ++n) {
        const TSkyPicture &place = layout.small[static_cast<size_t>(n)];
        QLabel *picture = Image_sp[static_cast<size_t>(n)];
        picture->move(place.left, place.top);
        picture->setVisible(place.shown);
        picture->raise();
    }
    for (int n = 0; n < kGalaxies; ++n) {
        QLabel *galaxy = Image_gal[static_cast<size_t>(n)];
        galaxy->setVisible(n == layout.galaxy);
        if (n == layout.galaxy) {
            galaxy->move(kGalaxyLeft, kGalaxyTop);
            galaxy->raise();
        }
    }
    for (QLabel *line : sLabel_line) {
        line->setVisible(layout.labelsShown);
        line->raise();
    }
    // The whole sky on a smaller screen: it scrolls.
    FitOnScreen(this);
}

void TCosmosForm::keyPressEvent(QKeyEvent *event)
{
    Guard([&] {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            accept();
            return;
        }
        QDialog::keyPressEvent(event);
    });
}

bool TCosmosForm::eventFilter(QObject *watched, QEvent *event)
{
    return GuardReturning(false, [&]() -> bool {
        if (event->type() == QEvent::MouseButtonPress) {
            accept();
            return true;
        }
        return QDialog::eventFilter(watched, event);
    });
}

void TCosmosForm::done(int result)
{
    Guard([&] {
        if (playSoundEffect)
            playSoundEffect(QStringLiteral("BUTTON"));
        QDialog::done(result);
    });
}
