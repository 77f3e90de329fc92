#pragma once
// The version window: checks the connection, refreshes the server catalog,
// installs revised learning files and related words, adds newly released
// files to the catalog and offers a newer program, which it only saves where
// the learner chooses. It ends with one status text and the OK button.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include "engine/DataUpdates.h"

#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class TCC;

class TVersionUpForm : public QDialog {
    Q_OBJECT
public:
    explicit TVersionUpForm(TCC &cc, QWidget *parent = nullptr);
    ~TVersionUpForm() override;

    // The HTTP client; by default the configured server (none: offline).
    std::function<std::unique_ptr<TDownloadService>()> makeService;
    // The save dialog: the chosen file, or empty when the learner cancelled.
    std::function<QString(const QString &proposed)> chooseSaveFile;
    // The pause that lets a revision's completion text be read.
    std::function<void(int milliseconds)> pause;

    // Opens the window modally; the check starts once it is painted.
    void ShowModal();

    QLabel *sLabel1() const { return m_label; }
    QProgressBar *sGauge1() const { return m_gauge; }
    QLabel *sLabel_reset() const { return m_reset; }
    QPushButton *sButton1() const { return m_ok; }
    QTimer *Timer1() { return &m_timer; }

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void reject() override;

private:
    void FormShow();
    void Timer1Timer();
    void RunCheck();
    void ProgramVersion(TDataUpdater &updater);
    void sButton1Click();

    TCC &m_cc;
    QLabel *m_label = nullptr;
    QProgressBar *m_gauge = nullptr;
    QLabel *m_reset = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_focus = nullptr;
    QTimer m_timer;
    QString m_status;
    bool m_finished = false;
};
