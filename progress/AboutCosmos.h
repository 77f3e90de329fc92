#pragma once
// The explanation of the star view.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include <QDialog>

class TAboutCosmosForm : public QDialog {
public:
    explicit TAboutCosmosForm(QWidget *parent = nullptr) : QDialog(parent)
    {
        setObjectName(QStringLiteral("AboutCosmosForm"));
    }
};
