#include "widgets/FramedPanelDialog.h"

#include "widgets/DialogPlacement.h"
#include "base/SlotGuard.h"

#include <QFrame>
#include <QKeyEvent>

namespace {
const QString kButtonSound = QStringLiteral("BUTTON");
const QString kFrameColour = QStringLiteral("#5a6e82");
const QString kPaperColour = QStringLiteral("#f7f5ef");
constexpr int kFrameWidth = 4;
}

TFramedPanelDialog::TFramedPanelDialog(QWidget *parent, const QString &objectName, const QString &caption,
                                       const QString &panelName)
    : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);

    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("sPanel_Frame"));
    m_frame->setStyleSheet(QStringLiteral("#sPanel_Frame { background: %1; }").arg(kFrameColour));
    m_panel = new QFrame(m_frame);
    m_panel->setObjectName(panelName);
    m_panel->setStyleSheet(QStringLiteral("#%1 { background: %2; }").arg(panelName, kPaperColour));
    m_panel->move(kFrameWidth, kFrameWidth);
    m_panel->setFocusPolicy(Qt::StrongFocus);
    CloseOnClick(m_panel);
}

void TFramedPanelDialog::SetPanelSize(int width, int height)
{
    m_panel->resize(width, height);
    m_frame->setGeometry(0, 0, width + 2 * kFrameWidth, height + 2 * kFrameWidth);
    setFixedSize(m_frame->size());
}

void TFramedPanelDialog::CloseOnClick(QWidget *control)
{
    m_closingControls.append(control);
    control->installEventFilter(this);
}

void TFramedPanelDialog::showEvent(QShowEvent *event)
{
    Guard([&] {
        PrepareToShow();
        CentreOverOwner(this);
        QDialog::showEvent(event);
        m_panel->setFocus();
    });
}

bool TFramedPanelDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        for (const QWidget *control : m_closingControls) {
            if (watched == control) {
                Guard([this] { ClosePanel(); });
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFramedPanelDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        Guard([this] { ClosePanel(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFramedPanelDialog::reject()
{
    Guard([this] { ClosePanel(); });
}

void TFramedPanelDialog::ClosePanel()
{
    if (!isVisible())
        return;
    if (playSoundEffect)
        playSoundEffect(kButtonSound);
    QDialog::done(QDialog::Accepted);
}
