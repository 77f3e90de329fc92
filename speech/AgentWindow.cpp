#include "speech/AgentWindow.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace {
constexpr int kDragThreshold = 3;   // pixels before a press becomes a drag
}

TAgentWindow::TAgentWindow(const TAgentArtwork &art)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                           | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint),
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
    update();
}

QPoint TAgentWindow::BeakOnScreen() const
{
    const QPointF beak = m_art.BeakPoint() * kAgentScale;
    return mapToGlobal(beak.toPoint());
}

void TAgentWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect(), Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.scale(kAgentScale, kAgentScale);
    m_art.Paint(p, m_pose);
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
