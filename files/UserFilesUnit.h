#pragma once
// Export and import of the record folder.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include <QDialog>

class TUserFilesForm : public QDialog {
public:
    explicit TUserFilesForm(QWidget *parent = nullptr) : QDialog(parent)
    {
        setObjectName(QStringLiteral("UserFilesForm"));
    }
};
