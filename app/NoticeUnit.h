#pragma once
// The stage-notice window: shown before the first question of a file when
// some of its words have reached a decision point of the stage rules. Showing
// it applies those rules through the engine and lists the words in three
// lists; closing it saves the record file at once.
#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;
class TCC;
class TSpeechAndSound;

class TNoticeForm : public QDialog {
    Q_OBJECT
public:
    TNoticeForm(TCC &cc, TSpeechAndSound &media, QWidget *parent = nullptr);

    QTreeWidget *TreeView_Stage2OK = nullptr;
    QTreeWidget *TreeView_StageNG = nullptr;
    QTreeWidget *TreeView_Limbo = nullptr;
    QPushButton *sButton_close = nullptr;
    QPushButton *sButton_focus = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void FormShow();

    TCC &m_cc;
    TSpeechAndSound &m_media;
    bool m_saved = true;
};
