#pragma once
// The legend of the pronunciation symbols.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include <QDialog>

class THanreiForm : public QDialog {
public:
    explicit THanreiForm(QWidget *parent = nullptr) : QDialog(parent)
    {
        setObjectName(QStringLiteral("HanreiForm"));
    }
};
