#pragma once
// The quick-response drill over the words of the study run.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include <QDialog>

class TQR_Form : public QDialog {
public:
    explicit TQR_Form(QWidget *parent = nullptr) : QDialog(parent)
    {
        setObjectName(QStringLiteral("QR_Form"));
    }
};
