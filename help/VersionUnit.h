#pragma once
// The version window: the current file's title, the program version (the
// data version divided by 100), the file version (the file's Version divided
// by 100), and the release of the programs themselves, on the help windows'
// framed panel. OK, Esc or a click on the panel closes it with the button
// sound.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden;
// it reads the values each time it is shown.
#include <QDialog>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class TCC;

class TAboutForm : public QDialog {
public:
    explicit TAboutForm(TCC &cc, QWidget *parent = nullptr);

    // Played when the window closes ("BUTTON").
    std::function<void(const QString &)> playSoundEffect;

    // The texts as the window shows them now (for the window and its tests).
    QStringList Lines() const;

    QPushButton *sButton_OK = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    void CloseVersion();

    TCC &m_cc;
    QFrame *m_frame = nullptr;
    QFrame *m_panel = nullptr;
    QLabel *m_text = nullptr;
};
