#pragma once
// The word browser by level: every word of a learning file that stands at
// one mastery level, in text order with its meanings, below a root "■".
// It opens from the level buttons of the learning status window and from
// the zodiac picture of the word panel. The tree is filled just after the
// window appears (a learner-sized file takes a moment); clicking a line
// speaks its word. It only shows: nothing is written.
#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTimer;
class QTreeWidget;
class TCC;

class TSelectionForm : public QDialog {
    Q_OBJECT
public:
    explicit TSelectionForm(QWidget *parent = nullptr);

    // Speaks a text in the voice of the file slot's language; set by the program.
    std::function<void(const QString &text, int slot)> speakText;
    // Plays a sound effect by name ("BUTTON"); set by the program.
    std::function<void(const QString &name)> playSoundEffect;

    // Takes the engine to read and the level to list (0..12, 99). False, after
    // telling the learner, when no word stands at that level: the window is
    // then not to be shown.
    bool Prepare(TCC &cc, int level);
    // Prepare, then the window modally when there is something to list.
    void ShowLevel(TCC &cc, int level);

    // Fills the tree (what the timer does once the window is on screen).
    void Timer1Timer();
    // Speaks the selected line.
    void TntTreeViewClick();
    void sButton_closeClick();

    QTreeWidget *TntTreeView = nullptr;
    QLabel *sLabel1 = nullptr;
    QPushButton *sButton_close = nullptr;
    QTimer *Timer1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void FormClose();

    TCC *m_cc = nullptr;
    int m_level = 0;
};
