#pragma once
// The preferences window: edits the settings block of the current learning
// file (answer timing, question style, daily quota, speech and sounds, the
// top-right display and the quick-response drill) and saves it on OK.
//
// Esc and Enter act as OK, Tab shows the next page. The window's close button
// and "キャンセル" leave everything as it was when the window opened (the
// volumes tried on the sliders included). The window object exists from the
// start so that the program's windows are created once, in their fixed order,
// and afterwards only shown and hidden.
#include "workspace/FileSettings.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QStyle;
class QKeyEvent;
class QTabWidget;
class TCC;
class TSpeechAndSound;
class TSpeechPlayer;

class TPreferencesForm : public QDialog {
    Q_OBJECT
public:
    TPreferencesForm(TCC &cc, TSpeechAndSound &media, QWidget *parent = nullptr);
    ~TPreferencesForm() override;

    // Centres the window over the main window and shows it modally.
    void ShowModal();

    // ---- handlers ----
    // Shows the current settings (every time the window opens).
    void FormActivate();
    void sSpeedButton_OKClick();
    void sSpeedButton_defClick();
    void sSpeedButton_cancelClick();
    // Choosing "ＯＮ" while speech cannot work: the notice, then "ＯＦＦ".
    void sRadioButton_PRO1MouseDown();
    void sRadioButton_PRO2MouseDown();
    void sComboBox_TTSDropDown();
    void sComboBox_TTSCloseUp();
    void sComboBox_TTS_downloadDropDown();
    void sComboBox_TTS_downloadCloseUp();
    // Speaks a short sentence in the voice chosen in the engine list.
    void sButton_tryVoiceClick();

    // The languages offered in the download list: those of the speech table
    // that the speech engine has no voice for, given the ones it has.
    void FillDownloadList(const QList<int> &installedLanguages);
    // The identifier ("{...}") of the entry chosen in the engine list; empty
    // when none.
    QString ChosenSpeechEngine() const;

    // ---- controls (pages in order: 出題, タイピング, ノルマ・表示, 発音, サウンド) ----
    QTabWidget *sPageControl = nullptr;
    QSlider *sTrackBar_Speed = nullptr;
    QSlider *sTrackBar_Wait = nullptr;
    QRadioButton *sRadioButton_JE = nullptr;
    QRadioButton *sRadioButton_EJ = nullptr;
    QRadioButton *sRadioButton_LV6 = nullptr;
    QRadioButton *sRadioButton_LV2 = nullptr;
    QRadioButton *sRadioButton_LV1 = nullptr;
    QRadioButton *sRadioButton_GlimpseNo = nullptr;
    QRadioButton *sRadioButton_GlimpseYes = nullptr;
    QSlider *sTrackBar_CaG = nullptr;
    QSlider *sTrackBar_norm = nullptr;
    QCheckBox *sCheckBox_QRT = nullptr;
    QRadioButton *sRadioButton_R_P = nullptr;
    QRadioButton *sRadioButton_R_n = nullptr;
    QRadioButton *sRadioButton_R_G = nullptr;
    QRadioButton *sRadioButton_PRO0 = nullptr;
    QRadioButton *sRadioButton_PRO1 = nullptr;
    QRadioButton *sRadioButton_PRO2 = nullptr;
    QCheckBox *sCheckBox_IdleBan = nullptr;
    QCheckBox *sCheckBox_PRO1 = nullptr;
    QCheckBox *sCheckBox_PRO2 = nullptr;
    QComboBox *sComboBox_TTS = nullptr;
    QPushButton *sButton_tryVoice = nullptr;
    QComboBox *sComboBox_TTS_download = nullptr;
    QSlider *sTrackBar_SoundVol = nullptr;
    QSlider *sTrackBar_TypingVol = nullptr;
    QLabel *sLabel_normValue = nullptr;   // the quota the slider stands at
    QPushButton *sSpeedButton_OK = nullptr;
    QPushButton *sSpeedButton_def = nullptr;
    QPushButton *sSpeedButton_cancel = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void reject() override;

private:
    void BuildQuestionPage(QWidget *page);
    void BuildTypingPage(QWidget *page);
    void BuildQuotaPage(QWidget *page);
    void BuildSpeechPage(QWidget *page);
    void BuildSoundPage(QWidget *page);
    void BuildButtons();
    // The style that fills the groove of a slider counting down from its left end.
    QStyle *FillFromLeftStyle();
    // Ctrl+Tab or Ctrl+Shift+Tab: the next or previous page.
    bool TurnPage(QKeyEvent *event);
    void FillEngineList();
    void ShowQuotaValue();
    void VolumeSliderMoved();
    void VolumeSliderReleased(bool typing);
    void RefuseSpeechWithoutComponents(QRadioButton *clicked);
    bool SpeechComponentsReady() const;
    void TakeValues();
    void StartSpeechForMode(int oldMode);
    void Close(int result);
    // Runs a handler; an error that reaches it is shown, not passed on to
    // the event loop.
    template <typename F> void RunHandler(F &&handler);

    TCC &m_cc;
    TSpeechAndSound &m_media;
    std::unique_ptr<TSpeechPlayer> m_voicePlayer;
    // The block, today's quota left and the retry flag as the window found
    // them: what cancelling returns to.
    TFileSettings m_openedSettings;
    int m_openedRemaining = 0;
    bool m_openedRetryPending = false;
    // Slider positions shown at opening: a slider left there keeps its stored
    // value, even one outside the slider's range.
    struct TOpenedPositions {
        int speed = 0, wait = 0, cag = 0, norm = 0, soundVol = 0, typingVol = 0;
    } m_openedPositions;
    QStyle *m_fillFromLeft = nullptr;   // owned by the window
    bool m_filling = false;
};
