#pragma once
// The quick-response drill (" Tessarion-QR") after the quota: the words of the
// study run flashed one after another, fading from black to white at the
// learner's speed; a key pressed while a word is shown scores it ○. The
// bookkeeping and timing rules are the engine's (engine/QuickResponse.h); this
// window draws, takes the keys and keeps its settings in the file's settings.
#include "engine/QuickResponse.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QFontComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class QTreeWidget;
class TCC;

// The drawing area: the word of the moment in its grey.
class TQuickResponseCanvas : public QWidget {
public:
    explicit TQuickResponseCanvas(QWidget *parent);
    void Show(const QString &text, int grey, const QFont &font);
    const QString &Text() const { return m_text; }
    int Grey() const { return m_grey; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    int m_grey = 0;
    QFont m_font;
};

class TQR_Form : public QDialog {
    Q_OBJECT
public:
    enum class TDirection { WordToMeaning = 1, SpokenWordToMeaning = 2, MeaningToWord = 3 };

    explicit TQR_Form(TCC &cc, QWidget *parent = nullptr);

    // Set by the program: sounds, speaking a text, and the clock the fade
    // runs on (a monotonic millisecond clock; tests give their own).
    std::function<void(const QString &name)> playSoundEffect;
    std::function<void(const QString &text)> speakText;
    std::function<qint64()> now;

    // The drill over the words of the study run; shown modally.
    int RunDrill();
    // The words of the run taken and the window filled (what RunDrill does
    // before it shows the window).
    void PrepareDrill();
    void FormShow();

    void sButton_startClick();
    void StartDirection(TDirection direction);
    void sButton_pauseClick();
    void sButton_cancelClick();
    void sButton_finClick();
    void sButton_againClick();
    void sButton_again_missClick();
    void sSpeedButton_fontClick();
    // One frame of the fade (the timer calls it; tests may too).
    void Frame();
    bool PassRunning() const { return m_running; }
    const TQuickResponseDrill &Drill() const { return m_drill; }

    QFrame *sPanel_start = nullptr;
    QLabel *sLabel0 = nullptr;
    QPushButton *sButton_start = nullptr;
    QCheckBox *sCheckBox_everyday = nullptr;
    QPushButton *sButton_FtoJ = nullptr;
    QPushButton *sButton_FPtoJ = nullptr;
    QPushButton *sButton_JtoF = nullptr;
    QPushButton *sButton_fin = nullptr;
    QPushButton *sButton_pause = nullptr;
    QPushButton *sButton_cancel = nullptr;
    QPushButton *sButton_again = nullptr;
    QPushButton *sButton_again_miss = nullptr;
    QPushButton *sSpeedButton_font = nullptr;
    QGroupBox *sGroupBox_gauge = nullptr;
    QSlider *sTrackBar_speed = nullptr;
    QLabel *sPanel_top = nullptr;
    QLabel *sPanel_bottom = nullptr;
    TQuickResponseCanvas *canvas = nullptr;
    QFrame *sPanel_result = nullptr;
    QTreeWidget *TntTreeView = nullptr;
    QFrame *sPanel_font = nullptr;
    QFontComboBox *sFontComboBox1 = nullptr;
    QSpinBox *sSpinEdit1 = nullptr;
    QLabel *sLabel_font = nullptr;
    QPushButton *sButton_default = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;

private:
    void ShowStoredFont();
    void BeginPass(bool missesOnly);
    void ShowItem();
    void EndPass();
    void ShowResults();
    void ShowDirectionChoice();
    bool IsPhraseFile() const;
    QString TextOf(int item) const;
    QFont DrawingFont() const;
    qint64 Now() const;
    void Sound(const QString &name);

    TCC &m_cc;
    TQuickResponseDrill m_drill;
    TDirection m_direction = TDirection::WordToMeaning;
    QTimer m_frameTimer;
    QElapsedTimer m_clock;
    qint64 m_itemStart = 0;
    QString m_itemText;
    bool m_running = false;
    bool m_paused = false;
    bool m_cancel = false;
    bool m_intro = false;
    bool m_started = false;
};
