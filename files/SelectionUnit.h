#pragma once
// The word browser by level (its lists come with the file tools).
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include <QDialog>

class TSelectionForm : public QDialog {
public:
    explicit TSelectionForm(QWidget *parent = nullptr) : QDialog(parent)
    {
        setObjectName(QStringLiteral("SelectionForm"));
    }
};
