#pragma once
// The no-questions window: no word of the file is due, no new word is left
// and every word has reached stage 2. The learner ends the file ("終了", Esc)
// or goes on with random questions ("ランダム出題で続行").
#include "engine/Selection.h"

#include <QDialog>

class QPushButton;
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
    QPushButton *sButton_end = nullptr;
    QPushButton *sButton_cancel = nullptr;

    // Runs before the window's choice is taken (the main window stops its
    // idle step here).
    std::function<void()> beforeShow;

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    TCC &m_cc;
};
