#pragma once
// The learning-file manager (" 学習ファイルの管理"): which learning files are
// studied and in which order. All 49 file slots are rows: the built-in files
// in two columns, the learner's own files U1..U18 below the right one. A row
// has a box that switches the file's study on, a number for its place in the
// day's order, the marker "NW" when the file has nothing to ask today, and
// its name, which opens the file's learning status. A user file's row can
// also rename the file and open its workbook for editing. Rows of files that
// are not released yet are greyed.
//
// It opens before the first file of a run while the catalog's file-manager
// flag is on (start mode: "学習開始" starts the study, "終了" ends the
// program), and from the menu during a run (normal mode: what changed takes
// effect at the next start). A switch is saved at once, the order and the
// start box when the window closes, a new title at once in Title.dat.
#include "workspace/Catalog.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TCC;

class TFileManagerForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kStartStudy = 1;
    static constexpr int kEndProgram = 2;

    TFileManagerForm(TCC &cc, QWidget *parent = nullptr);

    // Start mode: shown before the first file, "学習開始" on the OK button and
    // "終了" offered. It lasts until the window closes.
    void SetStartMode(bool start);
    bool StartMode() const { return m_startMode; }

    // ---- what the program provides (each may stay empty in tests) ----
    // Fetches a built-in file's learning data that is missing; false when it
    // could not be fetched (the learner has been told why).
    std::function<bool(const QString &code)> downloadLearningFile;
    // Opens a workbook in the desktop's spreadsheet program; false when that failed.
    std::function<bool(const QString &path)> openWorkbook;
    // Whether a spreadsheet program is registered (default: IsExcelAvailable).
    std::function<bool()> spreadsheetAvailable;
    // Asks for a user file's title, pre-filled; nullopt when cancelled.
    std::function<std::optional<QString>(const QString &current)> askTitle;
    // Sounds, and the word browser of the status window opened from a row.
    std::function<void(const QString &name)> playSoundEffect;
    std::function<void(TCC &cc, int level)> openWordBrowser;

    // ---- the actions of the rows and buttons ----
    void FormShow();
    void sCheckBoxClick(int slot);                 // switch
    void sSpinEditChange(int slot, int value);     // order
    void sSpeedButtonClick(int slot);              // the file's learning status
    void sSpeedButtonEditClick(int number);        // user file 1..18 in the spreadsheet program
    void sSpeedButtonNameClick(int slot);          // rename a user file
    void sCheckBox_startClick();
    void sButton_OKClick();
    void sButton_finClick();

    // Controls of the rows, indexed by slot 1..49 (user-file buttons by slot too).
    std::array<QCheckBox *, kSlotCount + 1> sCheckBox{};
    std::array<QSpinBox *, kSlotCount + 1> sSpinEdit{};
    std::array<QPushButton *, kSlotCount + 1> sSpeedButton{};
    std::array<QLabel *, kSlotCount + 1> sLabel_nw{};
    std::array<QPushButton *, kSlotCount + 1> sSpeedButton_name{};
    std::array<QPushButton *, kSlotCount + 1> sSpeedButton_edit{};
    QCheckBox *sCheckBox_start = nullptr;
    QPushButton *sButton_OK = nullptr;
    QPushButton *sButton_fin = nullptr;
    QPushButton *sButton_focus = nullptr;
    QLabel *sLabel1 = nullptr;

    bool Changed() const { return m_changed; }

    // Esc: closes as OK does, except at program start. Closing saves the catalog.
    void reject() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BuildRow(int slot, int left, int top);
    void RefreshMarkers();
    void ShowOrders();
    bool RowReleased(int slot) const;
    bool FileOnDisk(int slot) const;
    void SaveCatalog();
    template <typename F> void Recoverable(F &&action);

    TCC &m_cc;
    bool m_startMode = false;
    bool m_loading = false;
    bool m_changed = false;
};
