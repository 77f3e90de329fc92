#pragma once
// The version window: the current file's title, the program version (the
// data version divided by 100), the file version (the file's Version divided
// by 100), and the release of the programs themselves, on the help windows'
// framed panel. OK, Esc or a click on the panel closes it with the button
// sound.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden;
// it reads the values each time it is shown.
#include "widgets/FramedPanelDialog.h"

class QLabel;
class QPushButton;
class TCC;

class TAboutForm : public TFramedPanelDialog {
public:
    explicit TAboutForm(TCC &cc, QWidget *parent = nullptr);

    // The texts as the window shows them now (for the window and its tests).
    QStringList Lines() const;

    QPushButton *sButton_OK = nullptr;

protected:
    // The texts of the moment, and the panel sized to them.
    void PrepareToShow() override;

private:
    TCC &m_cc;
    QLabel *m_text = nullptr;
};
