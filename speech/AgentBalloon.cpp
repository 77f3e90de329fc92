#include "speech/AgentBalloon.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <algorithm>

namespace {
constexpr int kMaxTextWidth = 260;
constexpr int kPadding = 12;
constexpr int kPointer = 16;       // height of the pointer
constexpr int kRadius = 12;
constexpr int kFontPixels = 17;
constexpr int kMargin = 2;         // room for the outline
const QColor kFill(0xFF, 0xFF, 0xF4);
const QColor kOutline(0x5A, 0x4A, 0x2A);
const QColor kTextColour(0x22, 0x22, 0x22);

QFont BalloonFont()
{
    QFont f(QStringLiteral("Charis SIL"));
    f.setPixelSize(kFontPixels);
    f.setStyleHint(QFont::Serif);
    return f;
}
} // namespace

TAgentBalloon::TAgentBalloon()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                           | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint)
{
    setObjectName(QStringLiteral("AgentBalloon"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setFont(BalloonFont());
}

void TAgentBalloon::ShowText(const QString &text, QPoint above, QPoint below)
{
    m_text = text;
    const QFontMetrics fm(font());
    const QRect textBox = fm.boundingRect(QRect(0, 0, kMaxTextWidth, 1000), Qt::TextWordWrap | Qt::AlignCenter, text);
    const int w = std::max(textBox.width() + 2 * kPadding, 2 * kRadius + kPointer) + 2 * kMargin;
    const int h = textBox.height() + 2 * kPadding + kPointer + 2 * kMargin;
    resize(w, h);

    QRect screen(0, 0, 1 << 15, 1 << 15);
    if (const QScreen *s = QGuiApplication::screenAt(above))
        screen = s->availableGeometry();
    else if (const QScreen *primary = QGuiApplication::primaryScreen())
        screen = primary->availableGeometry();
    m_pointerDown = above.y() - h >= screen.top();
    const QPoint tip = m_pointerDown ? above : below;
    // Mostly to the left of the bird, inside the screen.
    const int x = std::clamp(tip.x() - w + 3 * kRadius, screen.left(), std::max(screen.left(), screen.right() - w));
    const int y = m_pointerDown ? tip.y() - h : tip.y();
    m_pointerX = std::clamp(tip.x() - x, 2 * kRadius, w - 2 * kRadius);
    move(x, y);
    // Cut to the outline: no black corners without a compositor.
    QPainterPathStroker outline;
    outline.setWidth(1.6);
    const QPainterPath shape = Shape();
    setMask(QRegion(shape.united(outline.createStroke(shape)).toFillPolygon().toPolygon()));
    show();
    update();
}

QRectF TAgentBalloon::Body() const
{
    return m_pointerDown ? QRectF(kMargin, kMargin, width() - 2 * kMargin, height() - kPointer - 2 * kMargin)
                         : QRectF(kMargin, kPointer + kMargin, width() - 2 * kMargin, height() - kPointer - 2 * kMargin);
}

QPainterPath TAgentBalloon::Shape() const
{
    const QRectF body = Body();
    QPainterPath shape;
    shape.addRoundedRect(body, kRadius, kRadius);
    QPainterPath pointer;
    const double px = m_pointerX;
    if (m_pointerDown) {
        pointer.moveTo(px - 14, body.bottom() - 1);
        pointer.lineTo(px + 2, height() - kMargin);
        pointer.lineTo(px - 2, body.bottom() - 1);
    } else {
        pointer.moveTo(px - 14, body.top() + 1);
        pointer.lineTo(px + 2, kMargin);
        pointer.lineTo(px - 2, body.top() + 1);
    }
    pointer.closeSubpath();
    return shape.united(pointer);
}

void TAgentBalloon::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kOutline, 1.6));
    p.setBrush(kFill);
    p.drawPath(Shape());
    p.setPen(kTextColour);
    p.drawText(Body().adjusted(kPadding, kPadding, -kPadding, -kPadding), Qt::TextWordWrap | Qt::AlignCenter, m_text);
}
