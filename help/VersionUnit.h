#pragma once
// The version window: program and learning-file versions.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include <QDialog>

class TAboutForm : public QDialog {
public:
    explicit TAboutForm(QWidget *parent = nullptr) : QDialog(parent)
    {
        setObjectName(QStringLiteral("AboutForm"));
    }
};
