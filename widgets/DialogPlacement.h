#pragma once
// Every dialog opens centred over the window that owns it.
#include <QWidget>

inline void CentreOverOwner(QWidget *dialog)
{
    if (const QWidget *owner = dialog->parentWidget()) {
        const QWidget *main = owner->window();
        dialog->move(main->x() + (main->width() - dialog->width()) / 2,
                     main->y() + (main->height() - dialog->height()) / 2);
    }
}
