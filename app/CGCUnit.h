#pragma once
// A hidden auxiliary window without a role in the training.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include <QDialog>

class TCGCForm : public QDialog {
public:
    explicit TCGCForm(QWidget *parent = nullptr) : QDialog(parent)
    {
        setObjectName(QStringLiteral("CGCForm"));
    }
};
