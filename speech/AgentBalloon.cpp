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

void TAgentBalloon::ShowText(const QString &text, QPoint beak)
{
    m_text = text;
    const QFontMetrics fm(font());
    const QRect textBox = fm.boundingRect(QRect(0, 0, kMaxTextWidth, 1000), Qt::TextWordWrap | Qt::AlignCenter, text);
    const int w = std::max(textBox.width() + 2 * kPadding, 2 * kRadius + kPointer) + 2 * kMargin;
    const int h = textBox.height() + 2 * kPadding + kPointer + 2 * kMargin;
    resize(w, h);

    QRect screen(0, 0, 1 << 15, 1 << 15);
    if (const QScreen *s = QGuiApplication::screenAt(beak))
        screen = s->availableGeometry();
    else if (const QScreen *primary = QGuiApplication::primaryScreen())
        screen = primary->availableGeometry();
    // Up and to the left of the beak, pointing down at it; below it when the
    // screen's top edge is too close.
    m_pointerDown = beak.y() - h - 40 >= screen.top();
    int x = std::clamp(beak.x() - w + 3 * kRadius, screen.left(), std::max(screen.left(), screen.right() - w));
    const int y = m_pointerDown ? beak.y() - h - 40 : beak.y() + 30;
    m_pointerX = std::clamp(beak.x() - x, 2 * kRadius, w - 2 * kRadius);
    move(x, y);
    show();
    update();
}

void TAgentBalloon::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body = m_pointerDown ? QRectF(kMargin, kMargin, width() - 2 * kMargin, height() - kPointer - 2 * kMargin)
                                      : QRectF(kMargin, kPointer + kMargin, width() - 2 * kMargin,
                                               height() - kPointer - 2 * kMargin);
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
    shape = shape.united(pointer);
    p.setPen(QPen(kOutline, 1.6));
    p.setBrush(kFill);
    p.drawPath(shape);
    p.setPen(kTextColour);
    p.drawText(body.adjusted(kPadding, kPadding, -kPadding, -kPadding), Qt::TextWordWrap | Qt::AlignCenter, m_text);
}
