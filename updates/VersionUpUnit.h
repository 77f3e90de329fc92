#pragma once
// The version check and program download.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include <QDialog>

class TVersionUpForm : public QDialog {
public:
    explicit TVersionUpForm(QWidget *parent = nullptr) : QDialog(parent)
    {
        setObjectName(QStringLiteral("VersionUpForm"));
    }
};
