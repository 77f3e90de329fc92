#pragma once
// The no-questions window: no word of the file is due, no new word is left
// and every word has reached stage 2. It shows what the coming days hold,
// sets the day the file is called back (its popup date) and lets the learner
// end the file ("終了", Esc) or go on with random questions
// ("ランダム出題で続行").
#include "engine/Selection.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QTextEdit;
class TCC;

class TNoWordForm : public QDialog, public TNoQuestionsHandler {
    Q_OBJECT
public:
    static constexpr int kEndFile = 1;
    static constexpr int kGoOnRandom = 2;

    TNoWordForm(TCC &cc, QWidget *parent = nullptr);

    // Shows the window modally and returns the learner's choice.
    TNoQuestionsChoice AskNoQuestions() override;

    QTextEdit *sRichEdit1 = nullptr;
    QComboBox *sComboBox1 = nullptr;
    QGroupBox *sGroupBox1 = nullptr;
    QCheckBox *sCheckBox_popup = nullptr;
    QSlider *sTrackBar1 = nullptr;
    QLabel *sLabel_min = nullptr;
    QLabel *sLabel_max = nullptr;
    QLabel *sLabel_next = nullptr;
    QPushButton *sButton_end = nullptr;
    QPushButton *sButton_cancel = nullptr;

    // Runs before the window's choice is taken (the main window stops its
    // idle step here).
    std::function<void()> beforeShow;

    // The reminder program the autostart entry starts (beside this program
    // unless set otherwise).
    QString trayProgram;

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void reject() override;

private:
    void RebuildForecast();
    void Refresh();
    void PopUpClicked();

    TCC &m_cc;
    QList<int> m_counts;   // the forecast of the file on show
};
