#pragma once
// The text colour of a label (or any control showing text), whatever the
// skin's palette gives it.
#include <QColor>
#include <QPalette>
#include <QWidget>

inline void SetTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}
