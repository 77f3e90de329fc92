#include "help/Hanrei.h"

#include "help/Pictures.h"

#include <QLabel>
#include <QMouseEvent>

namespace {
const QString kLegendPicture = QStringLiteral("Hanrei");
}

THanreiForm::THanreiForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("THanreiForm"));
    setWindowTitle(QStringLiteral("発音記号の凡例"));
    setModal(true);
    Image_Hanrei = new QLabel(this);
    Image_Hanrei->setObjectName(QStringLiteral("Image_Hanrei"));
    // Clicks on the picture close the window as clicks anywhere else do.
    Image_Hanrei->setAttribute(Qt::WA_TransparentForMouseEvents);
    const QPixmap picture = PictureByName(kLegendPicture, devicePixelRatioF());
    Image_Hanrei->setPixmap(picture);
    Image_Hanrei->move(0, 0);
}

void THanreiForm::ShowLegend()
{
    hide();
    Image_Hanrei->adjustSize();
    setFixedSize(Image_Hanrei->size());
    if (QWidget *owner = parentWidget()) {
        const QPoint centre = owner->mapToGlobal(owner->rect().center());
        move(centre.x() - width() / 2, centre.y() - height() / 2);
    }
    exec();
}

void THanreiForm::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    Close();
}

void THanreiForm::reject()
{
    Close();
}

void THanreiForm::Close()
{
    if (!isVisible())
        return;
    if (m_clickSound)
        m_clickSound();
    QDialog::done(QDialog::Rejected);
}
