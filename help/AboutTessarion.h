#pragma once
// The about window ("Tessarion について"): how memory fades and how the
// program times its questions against that, in four illustrated topics. A
// topic comes up when its button is pointed at (or takes the focus); below
// them stand the program's name and version, its licence, the credits for
// the data and the art, and where to report a fault. OK, Esc or a click on
// the panel closes it with the button sound.
// The window object exists from the start so that the program's windows are
// created once, in their fixed order, and afterwards only shown and hidden.
#include "widgets/FramedPanelDialog.h"

#include <array>

class QFrame;
class QLabel;
class QPushButton;
class QTextEdit;

// The topics, in the order of their buttons.
enum class TAboutTopic : int { ForgettingCurve = 0, Review, Stages, StartOver };
inline constexpr int kAboutTopicCount = 4;

// The credits and notices block: name, version, licence, data and art, fault reports.
QString AboutCreditsText();
// Where faults are reported (the project's bug tracker).
QString FaultReportAddress();

class TAboutTessarionForm : public TFramedPanelDialog {
    Q_OBJECT
public:
    explicit TAboutTessarionForm(QWidget *parent = nullptr);

    // Brings up a topic's illustration and note.
    void ShowTopic(TAboutTopic topic);
    TAboutTopic ShownTopic() const { return m_topic; }

    QFrame *sPanel_Frame = nullptr;
    QFrame *sPanel_About = nullptr;
    QLabel *sLabel_title = nullptr;
    QLabel *sLabel_intro = nullptr;
    std::array<QPushButton *, kAboutTopicCount> sButton_topic{};
    QWidget *Image_Illustration = nullptr;
    QLabel *sLabel_note = nullptr;
    QTextEdit *sRichEdit_credits = nullptr;
    QPushButton *sButton_OK = nullptr;

protected:
    // The first topic and the credits' beginning each time it opens.
    void PrepareToShow() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:

    TAboutTopic m_topic = TAboutTopic::ForgettingCurve;
};
