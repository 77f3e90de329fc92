#pragma once
// Message boxes of the program: information (OK), error (OK) and
// confirmation (Yes/No), centred over the main window, with Qt's Japanese
// texts on the standard buttons.
#include "base/Notifier.h"

class QWidget;

class TMessageBoxNotifier : public TNotifier {
public:
    explicit TMessageBoxNotifier(QWidget *parent) : m_parent(parent) {}
    void Information(const QString &text) override;
    void Error(const QString &text) override;
    bool Confirm(const QString &text) override;

private:
    QWidget *m_parent;
};
