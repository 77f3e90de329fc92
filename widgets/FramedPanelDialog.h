#pragma once
// The help windows' look and manner: a frameless modal window, a slate frame
// around a paper-coloured panel, centred over its owner, closed by OK, Esc
// or a click on the panel, with the button sound.
#include <QDialog>
#include <QList>
#include <functional>

class QFrame;

class TFramedPanelDialog : public QDialog {
    Q_OBJECT
public:
    // panelName: the panel's component name (its colour is set by that name).
    TFramedPanelDialog(QWidget *parent, const QString &objectName, const QString &caption, const QString &panelName);

    // Played when the window closes ("BUTTON").
    std::function<void(const QString &)> playSoundEffect;

    QFrame *Frame() const { return m_frame; }
    QFrame *Panel() const { return m_panel; }

protected:
    // The panel's size; the frame and the window grow around it.
    void SetPanelSize(int width, int height);
    // A click on this control (the panel itself always) closes the window.
    void CloseOnClick(QWidget *control);
    // Runs each time before the window is centred and shown.
    virtual void PrepareToShow() {}
    // Closes the window with the button sound (nothing when it is hidden).
    void ClosePanel();

    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    QFrame *m_frame = nullptr;
    QFrame *m_panel = nullptr;
    QList<QWidget *> m_closingControls;
};
