#pragma once
// Message boxes of the program: information (OK), error (OK) and
// confirmation (Yes/No), centred over the main window, with Qt's Japanese
// texts on the standard buttons.
#include "base/Notifier.h"

#include <QMessageBox>

class QFont;
class QWidget;

// The width a message box gives its text: every paragraph on one line up to
// `maximum`; a longer one gets the narrowest width that breaks it into no more
// lines than `maximum` does, so its lines are even and Japanese text (which
// may break after any character) never leaves a character or two alone.
int MessageTextWidth(const QString &text, const QFont &font, int maximum);
// The text broken into the lines of that width, so that the box shows them
// as they are, whatever width it takes.
QString MessageTextLines(const QString &text, const QFont &font, int maximum);

// A message box of the program, caption "Tessarion", its text laid out as
// above; the button the learner chose.
QMessageBox::StandardButton ShowMessageBox(QWidget *parent, QMessageBox::Icon icon, const QString &text,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                           QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

class TMessageBoxNotifier : public TNotifier {
public:
    explicit TMessageBoxNotifier(QWidget *parent) : m_parent(parent) {}
    void Information(const QString &text) override;
    void Error(const QString &text) override;
    bool Confirm(const QString &text) override;

private:
    QWidget *m_parent;
};
