#pragma once
// The help window.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include <QDialog>

class TInfoForm : public QDialog {
public:
    explicit TInfoForm(QWidget *parent = nullptr) : QDialog(parent)
    {
        setObjectName(QStringLiteral("InfoForm"));
    }
};
