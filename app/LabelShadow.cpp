#include "app/LabelShadow.h"
#include "base/SlotGuard.h"

#include <QGraphicsDropShadowEffect>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {
constexpr qreal kShadowOffset = 2.0;
constexpr qreal kShadowBlur = 3.0;

QColor Other(const QColor &c)
{
    return c == kShadowGrey ? kShadowSilver : kShadowGrey;
}
}

QGraphicsDropShadowEffect *EnsureLabelShadow(QWidget *label)
{
    if (auto *existing = qobject_cast<QGraphicsDropShadowEffect *>(label->graphicsEffect()))
        return existing;
    auto *shadow = new QGraphicsDropShadowEffect(label);
    shadow->setColor(kShadowGrey);
    shadow->setOffset(kShadowOffset, kShadowOffset);
    shadow->setBlurRadius(kShadowBlur);
    label->setGraphicsEffect(shadow);
    return shadow;
}

void FlashLabelShadow(QWidget *label)
{
    QPointer<QGraphicsDropShadowEffect> shadow = EnsureLabelShadow(label);
    shadow->setColor(Other(shadow->color()));
    // The shadow rests grey, so flashes that overlap cannot leave it silver.
    QTimer::singleShot(kShadowFlashMs, shadow, Guarded([shadow] {
        if (shadow)
            shadow->setColor(kShadowGrey);
    }));
}
