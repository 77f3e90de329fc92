#pragma once
// The etymology window.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include <QDialog>

class TEtymologyForm : public QDialog {
public:
    explicit TEtymologyForm(QWidget *parent = nullptr) : QDialog(parent)
    {
        setObjectName(QStringLiteral("EtymologyForm"));
    }
};
