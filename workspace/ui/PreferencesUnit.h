#pragma once
// The preferences window (its controls come with the preferences).
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include <QDialog>

class TPreferencesForm : public QDialog {
public:
    explicit TPreferencesForm(QWidget *parent = nullptr) : QDialog(parent)
    {
        setObjectName(QStringLiteral("PreferencesForm"));
    }
};
