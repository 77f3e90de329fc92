#pragma once
// The star view of the learner's words (its view comes with the progress windows).
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include <QDialog>

class TCosmosForm : public QDialog {
public:
    explicit TCosmosForm(QWidget *parent = nullptr) : QDialog(parent)
    {
        setObjectName(QStringLiteral("CosmosForm"));
    }
};
