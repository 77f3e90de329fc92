#pragma once
// The weekly gallery.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include <QDialog>

class TBelvaneForm : public QDialog {
public:
    explicit TBelvaneForm(QWidget *parent = nullptr) : QDialog(parent)
    {
        setObjectName(QStringLiteral("BelvaneForm"));
    }
};
