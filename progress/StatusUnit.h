#pragma once
// The learning status window (" 学習進捗状況"): where the learner stands with
// the current file, the words at each mastery level, the TOEIC estimate of
// the TOEIC files, the daily quota, and the goals of the simulation. It is
// shown modally from the menu, at the end of a file's day (when the learner
// asked for it) and from the file manager; the numbers come from the engine
// (engine/LearningStatus.h). It writes no file: what the learner changes here
// is saved with the file's settings.
#include "engine/LearningStatus.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class TCC;

class TStatusForm : public QDialog {
    Q_OBJECT
public:
    explicit TStatusForm(TCC &cc, QWidget *parent = nullptr);

    // Plays a sound effect by name ("BUTTON", "COSMOS"); set by the program.
    std::function<void(const QString &name)> playSoundEffect;
    // Opens the star view; set by the program.
    std::function<void()> openCosmos;
    // Opens the word browser on a level of the file shown; set by the program.
    std::function<void(TCC &cc, int level)> openWordBrowser;

    // Fills every display for the mode and shows the window modally.
    int ShowModal(TStatusMode mode);
    // Fills every display (what showing the window does first).
    void FormShow(TStatusMode mode);
    // The close button, Esc and a click on the background: refused while a
    // self-report is not complete.
    void sButton_closeClick();
    // A level button (0..12, 99): the words at that level in the word browser.
    void sSB_0Click(int level);

    QLabel *sLabel_file = nullptr;
    QLabel *sLabel_fin = nullptr;
    QLabel *sLabel_FromStart = nullptr;
    QLabel *sLabel_DaysTotal = nullptr;
    QLabel *sLabel_TodayCorrectRate = nullptr;
    QLabel *sLabel_CorrectRate = nullptr;
    QLabel *sLabel_TodayMonsuu = nullptr;
    QLabel *sLabel_NormADay = nullptr;
    QLabel *sLabel_NormAchieveRate = nullptr;
    std::array<QPushButton *, kStatusLevels.size()> sSB{};
    std::array<QProgressBar *, kStatusLevels.size()> sGauge{};
    QProgressBar *sGauge_TOEIC = nullptr;
    QLabel *sPanel_TOEIC_label = nullptr;
    QGroupBox *sGroupBox3 = nullptr;
    std::array<QRadioButton *, 5> sRadioButton_LV{};   // goals: levels 6 to 10
    QLabel *sLabel1 = nullptr;
    QPushButton *sButton_Trial = nullptr;
    QPushButton *sButton_TrialAbort = nullptr;
    QPushButton *sBB_Cosmos = nullptr;
    QCheckBox *sCheckBox_everytime = nullptr;
    QSlider *sTrackBar_norm = nullptr;
    QSlider *sTrackBar_StudiedDays = nullptr;
    QSlider *sTrackBar_CorrectRate = nullptr;
    QSlider *sTrackBar_NormAchieveRate = nullptr;
    QLabel *Label_StudiedDays = nullptr;
    QLabel *Label_CorrectRate = nullptr;
    QLabel *Label_NormAchieveRate = nullptr;
    // What each self-report trackbar sets, written before it.
    QLabel *Label_StudiedDaysCaption = nullptr;
    QLabel *Label_CorrectRateCaption = nullptr;
    QLabel *Label_NormAchieveRateCaption = nullptr;
    QPushButton *sButton_close = nullptr;
    QGroupBox *sGroupBox_simu = nullptr;
    QLabel *Label_Simu2 = nullptr;
    QLabel *Label_Simu3 = nullptr;
    QLabel *Label_Simu4 = nullptr;
    QLabel *Label_Simu5 = nullptr;

    // The goal simulation: checks, then the run on the engine's rules; the
    // abort button stops it. Everything it touched is back when it ends.
    void sButton_TrialClick();
    void sButton_TrialAbortClick();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void reject() override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FillStatistics(const TLearningStatus &status);
    void FillLevels(const TLearningStatus &status);
    void FillToeic(const TLearningStatus &status);
    // The level display and the TOEIC estimate as the word table is now.
    void RefreshLevels();
    int ChosenGoal() const;
    void sTrackBar_normChange(int value);
    void SelfReportChange(QSlider *bar, int value);
    void PlaySound(const QString &name);
    bool SelfReportPending() const;

    TCC &m_cc;
    TStatusMode m_mode = TStatusMode::Normal;
    bool m_filling = false;
    bool m_abortRequested = false;
};
