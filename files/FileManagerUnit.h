#pragma once
// The learning-file manager. At a first start (the catalog's file-manager flag
// "ON") it opens before the first file: "学習開始" starts the study, "終了"
// ends the program, and the box " 起動時に毎回この画面を表示する" decides
// whether it opens at every start. Each installed file is listed with a box
// that switches its study on or off.
#include <QDialog>

class QCheckBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class TCC;

class TFileManagerForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kStartStudy = 1;
    static constexpr int kEndProgram = 2;

    TFileManagerForm(TCC &cc, QWidget *parent = nullptr);

    // Start mode: shown before the first file, "学習開始" on the OK button.
    void SetStartMode(bool start);

    QCheckBox *sCheckBox_start = nullptr;
    QPushButton *sButton_OK = nullptr;
    QPushButton *sButton_fin = nullptr;
    QPushButton *sButton_focus = nullptr;
    QListWidget *sListFiles = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;
    void done(int result) override;

private:
    void sCheckBox_startClick();
    void FillFileList();
    void FileItemChanged(QListWidgetItem *item);

    TCC &m_cc;
    bool m_startMode = false;
};
