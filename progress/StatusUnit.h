#pragma once
// The learning status window.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include <QDialog>

class TStatusForm : public QDialog {
public:
    explicit TStatusForm(QWidget *parent = nullptr) : QDialog(parent)
    {
        setObjectName(QStringLiteral("StatusForm"));
    }
};
