#pragma once
// The record window (" 記録ファイルの管理"): the learner's whole record folder
// (records, settings, catalogs and own word lists, that is the user folder)
// copied out as a backup, or a backup brought back, after which the program
// ends (everything in memory would be stale). The copying and its checks
// are the engine's (workspace/RecordFolderTransfer.h); this window asks.
#include <QDialog>
#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TCC;

class TUserFilesForm : public QDialog {
    Q_OBJECT
public:
    explicit TUserFilesForm(TCC &cc, QWidget *parent = nullptr);

    // Asks for a folder with the caption given; empty when cancelled
    // (default: the desktop's folder dialog, starting at the desktop).
    std::function<QString(const QString &caption)> chooseFolder;
    // Writes the current file's settings and records, so that a copy holds
    // today's answers too; set by the program (nothing when no file is open).
    std::function<void()> saveCurrentFile;

    // Set once an import has replaced the records: the program ends when the
    // window has closed.
    bool QuitAfterClose() const { return m_quitAfterClose; }

    void FormShow();
    void sButton_exportClick();
    void sButton_importClick();
    void sButton_OKClick();

    QGroupBox *sGroupBox1 = nullptr;
    QLineEdit *sEdit_path = nullptr;
    QPushButton *sButton_export = nullptr;
    QPushButton *sButton_import = nullptr;
    QPushButton *sButton_OK = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QString ChooseFolder(const QString &caption);
    void SaveCurrentFile();

    TCC &m_cc;
    bool m_quitAfterClose = false;
};
