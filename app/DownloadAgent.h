#pragma once
// The program's first window: the speech-component check. When the speech
// engine, the voice and the parakeet's artwork are all here, the window is
// never seen and the main program starts at once. Otherwise it tells the
// learner, in Japanese, what is missing and the command that installs it,
// and offers to go on without speech or to end the program.
#include "speech/SpeechComponents.h"

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

class TDownloadAgentForm : public QWidget {
    Q_OBJECT
public:
    using TComponentCheck = std::function<TSpeechComponentReport()>;
    // `mainProgram` creates every other window; it gets false when the learner
    // chose to go on without speech (speech then stays off). `check` is the
    // start-up check (default: engine, US English voice, artwork).
    explicit TDownloadAgentForm(std::function<void(bool speech)> mainProgram,
                                TComponentCheck check = {}, QWidget *parent = nullptr);

    // Ends the program when the learner cancels (default: leaves the event loop).
    std::function<void()> endProgram;

    // The start-up check: runs the main program at once when nothing is
    // missing, else shows this window. Call once, after construction.
    void FormCreate();
    // Hides this window and runs the main program (once).
    void ExecuteMainProgram(bool speech);

    const TSpeechComponentReport &Report() const { return m_report; }
    bool MainProgramStarted() const { return m_started; }

    QPushButton *sButton_cancel() const { return m_cancel; }
    QPushButton *sButton_withoutSpeech() const { return m_withoutSpeech; }
    QLabel *sLabel_missing() const { return m_missing; }
    QLineEdit *sEdit_command() const { return m_command; }

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void FillReport();
    void sButton_cancelClick();
    void sButton_withoutSpeechClick();

    std::function<void(bool)> m_mainProgram;
    TComponentCheck m_check;
    TSpeechComponentReport m_report;
    QLabel *m_missing = nullptr;
    QLabel *m_howTo = nullptr;
    QLineEdit *m_command = nullptr;
    QPushButton *m_withoutSpeech = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_focus = nullptr;
    bool m_started = false;
};
