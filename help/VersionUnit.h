#pragma once
// The version window: the current file's title, the program version (the
// data version divided by 100), the file version (the file's Version divided
// by 100), and the release of the programs themselves.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden;
// it reads the values each time it is shown.
#include <QDialog>

class QLabel;
class TCC;

class TAboutForm : public QDialog {
public:
    explicit TAboutForm(TCC &cc, QWidget *parent = nullptr);

    // The texts as the window shows them now (for the window and its tests).
    QStringList Lines() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    TCC &m_cc;
    QLabel *m_text = nullptr;
};
