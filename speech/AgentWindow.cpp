#include "speech/AgentWindow.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace {
constexpr int kDragThreshold = 3;   // pixels before a press becomes a drag
}

TAgentWindow::TAgentWindow(const TAgentArtwork &art)
    // A tool window of the program: above its main window, but not above
    // every window, so the program's other windows come over the bird when
    // they open or are raised.
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus
                           | Qt::NoDropShadowWindowHint),
      m_art(art)
{
    setObjectName(QStringLiteral("AgentWindow"));
    setWindowTitle(QStringLiteral("Tessarion"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::OpenHandCursor);
    const QSizeF size = art.ArtSize() * kAgentScale;
    setFixedSize(int(std::ceil(size.width())), int(std::ceil(size.height())));
}

void TAgentWindow::SetPose(const TAgentPose &pose)
{
    m_pose = pose;
    Render();
    update();
}

void TAgentWindow::Render()
{
    // Drawn at the screen's pixel density, so the bird stays sharp on a
    // screen at scale 2; the outline is cut in the window's own units.
    const qreal ratio = devicePixelRatioF();
    m_frame = QImage((QSizeF(size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    m_frame.setDevicePixelRatio(ratio);
    m_frame.fill(Qt::transparent);
    {
        QPainter p(&m_frame);
        p.scale(kAgentScale, kAgentScale);
        m_art.Paint(p, m_pose);
    }
    QImage outline = m_frame.createAlphaMask(Qt::ThresholdAlphaDither);
    if (outline.size() != size())
        outline = outline.scaled(size());
    QRegion shape(QBitmap::fromImage(outline));
    if (shape.isEmpty())
        shape = QRegion(0, 0, 1, 1);   // an empty mask would mean "no mask"
    if (shape != m_shape) {
        m_shape = shape;
        setMask(m_shape);
    }
}

QPoint TAgentWindow::BalloonAnchorOnScreen(bool above) const
{
    return pos() + (m_art.BalloonAnchor(above) * kAgentScale).toPoint();
}

void TAgentWindow::paintEvent(QPaintEvent *)
{
    if (m_frame.deviceIndependentSize().toSize() != size() || m_frame.devicePixelRatio() != devicePixelRatioF())
        Render();
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, m_frame);
}

void TAgentWindow::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_moved = false;
    m_grab = e->position().toPoint();
    m_pressGlobal = e->globalPosition().toPoint();
    setCursor(Qt::ClosedHandCursor);
}

void TAgentWindow::mouseMoveEvent(QMouseEvent *e)
{
    if (!m_dragging)
        return;
    const QPoint global = e->globalPosition().toPoint();
    if (!m_moved && (global - m_pressGlobal).manhattanLength() < kDragThreshold)
        return;
    m_moved = true;
    move(global - m_grab);
}

void TAgentWindow::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    setCursor(Qt::OpenHandCursor);
    if (m_moved)
        emit Dragged(pos());
}
