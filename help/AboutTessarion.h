#pragma once
// The about window: an illustrated explanation of the learning method.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include <QDialog>

class TAboutTessarionForm : public QDialog {
public:
    explicit TAboutTessarionForm(QWidget *parent = nullptr) : QDialog(parent)
    {
        setObjectName(QStringLiteral("AboutTessarionForm"));
    }
};
