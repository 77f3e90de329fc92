#pragma once
// Labels that answer the mouse with a shadow: a grey drop shadow that turns
// silver (or back) for a moment when the pointer moves over the label.
#include <QColor>

class QGraphicsDropShadowEffect;
class QWidget;

inline const QColor kShadowGrey{0x80, 0x80, 0x80};
inline const QColor kShadowSilver{0xC0, 0xC0, 0xC0};
inline constexpr int kShadowFlashMs = 55;

// Gives the widget its grey drop shadow (once) and returns it.
QGraphicsDropShadowEffect *EnsureLabelShadow(QWidget *label);

// Switches the shadow between grey and silver, and back after 55 ms.
void FlashLabelShadow(QWidget *label);
