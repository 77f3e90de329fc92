// How a question appears in the training window: the question text, the
// options or the typing hint, and the answer once the wait has ended.
#include "app/MainUnit.h"
#include "app/MainWidgets.h"
#include "app/TrainingFlow.h"
#include "engine/CommonUnit.h"

#include <QFontMetrics>
#include <QLabel>
#include <QToolButton>

namespace {
const QString kOptionIndent(4, u' ');
const QString kMeaningIndent(8, u' ');
constexpr int kQuestionPanelWidth = 450;
constexpr int kQuestionTextLimit = 448;
constexpr int kQuestionTextMargin = 40;
constexpr int kWideQuestionLimit = 760;
constexpr int kSmallestFittingHeight = 13;
constexpr int kWideFontHeight = 14;
constexpr int kWordQuestionHeight = 24;
constexpr int kMeaningQuestionHeight = 18;
constexpr int kNormFromRight = 103;     // 347 in the 450-pixel question panel's row
constexpr int kStatusFromRight = 77;    // 373

// Font heights as the window's forms give them: negative pixel heights.
QFont HeightFont(const QFont &base, int negativeHeight)
{
    QFont f = base;
    f.setPixelSize(-negativeHeight);
    return f;
}
}

bool TTrainingFlow::PrepareQuestion()
{
    m_form.ClearQuestionTexts();
    m_form.FocusHiddenButton();
    for (int option = 1; option <= 3; ++option) {
        m_form.SetOptionButtonPicture(option, TOptionPicture::Neutral);
        m_form.sBitBtn_Op[static_cast<size_t>(option - 1)]->setEnabled(true);
    }
    // Nothing at all can be asked: the learner says whether random questions
    // may follow, and the question is asked for again.
    TAskResult asked = Run().Ask();
    while (asked == TAskResult::NoQuestions)
        asked = AskUserAboutNoQuestions() ? Run().Ask() : TAskResult::NothingToAsk;
    switch (asked) {
    case TAskResult::Asked:
        break;
    case TAskResult::QuotaUsedUp:
        // The study run ends instead of a further question.
        EndOfStudyRun();
        return false;
    case TAskResult::NoQuestions:
    case TAskResult::NothingToAsk:
        // Whatever was answered in this run is saved as at every file end.
        CloseLearningFile(Run().HasAnswers());
        return false;
    }
    UpdateQuotaLabel();
    m_form.sLabel_random->setVisible(Run().state.training.randomQuestion);

    LayoutQuestionText();
    if (Question().typing.typing) {
        m_form.sPanel_glimpse->show();
        m_form.sLabel_glimpse->repaint();
        m_form.sBitBtn_blank->show();
        m_form.sBitBtn_blank->raise();
        m_form.sBitBtn_Op[1]->hide();
        m_form.sBitBtn_Op[2]->hide();
    } else {
        m_form.sPanel_glimpse->hide();
        m_form.sBitBtn_blank->hide();
        m_form.sBitBtn_Op[1]->show();
        m_form.sBitBtn_Op[2]->show();
    }
    return true;
}

void TTrainingFlow::LayoutQuestionText()
{
    QLabel *label = m_form.sLabel_Q;
    const TTango &word = m_cc.words[Question().word];
    QString text;
    int height;
    if (m_cc.settings.answerDirection == TAnswerDirection::WordToMeaning) {
        text = m_cc.DisplayForm(Question().word);
        label->move(label->x(), 4);
        height = -kWordQuestionHeight;
    } else {
        text = word.joinedMeanings;
        label->move(label->x(), 9);
        height = -kMeaningQuestionHeight;
        while (QFontMetrics(HeightFont(label->font(), height)).horizontalAdvance(text) + kQuestionTextMargin >
                   kQuestionTextLimit &&
               height < -(kSmallestFittingHeight - 1))
            ++height;
    }
    int panelWidth = kQuestionPanelWidth;
    if (height >= -(kSmallestFittingHeight - 1)) {
        // Too long even at 12 pixels: the panel grows to the right instead.
        height = -kWideFontHeight;
        while (QFontMetrics(HeightFont(label->font(), height)).horizontalAdvance(text) + kQuestionTextMargin >=
                   kWideQuestionLimit &&
               height < -1)
            ++height;
        panelWidth = QFontMetrics(HeightFont(label->font(), height)).horizontalAdvance(text) + kQuestionTextMargin;
    }
    const int signalWidth = m_form.sPanel_Signal->width();
    m_form.sPanel_Q->resize(panelWidth, m_form.sPanel_Q->height());
    m_form.sGauge_Time->resize(panelWidth - 3, m_form.sGauge_Time->height());
    m_form.sPanel_Input->resize(panelWidth - signalWidth, m_form.sPanel_Input->height());
    // The quota and the progress mark keep to the input panel's right end.
    m_form.sLabel_Norm->move(panelWidth - kNormFromRight, m_form.sLabel_Norm->y());
    m_form.sLabelFX_Status->move(panelWidth - kStatusFromRight, m_form.sLabelFX_Status->y());
    if (m_cc.settings.answerDirection != TAnswerDirection::WordToMeaning)
        label->move(label->x(), height / 6 + 12);
    label->setFont(HeightFont(label->font(), height));
    label->setText(text);
    label->adjustSize();
}

void TTrainingFlow::RevealOptions()
{
    if (Question().typing.typing) {
        m_form.sLabel_Op[0]->setText(kOptionIndent + Question().typing.hint);
    } else if (m_cc.settings.answerDirection == TAnswerDirection::WordToMeaning && m_phase == TQuestionPhase::Waiting) {
        for (size_t i = 0; i < 3; ++i)
            m_form.sPanel_OpM[i]->setText(kMeaningIndent + m_cc.words[Question().choices[i]].joinedMeanings);
    } else {
        for (size_t i = 0; i < 3; ++i)
            m_form.sLabel_Op[i]->setText(kOptionIndent + m_cc.DisplayForm(Question().choices[i]));
    }
    m_optionsRevealed = true;
}

void TTrainingFlow::ShowAnswer()
{
    if (m_cc.settings.answerDirection == TAnswerDirection::WordToMeaning)
        for (size_t i = 0; i < 3; ++i)
            m_form.sLabel_Op[i]->setText(kOptionIndent + m_cc.DisplayForm(Question().choices[i]));
    m_form.ResetOptionButtons();
    if (Question().typing.typing) {
        m_form.sLabel_Op[0]->setText(kOptionIndent + m_cc.DisplayForm(Question().word));
    } else {
        m_form.SetOptionButtonPicture(Question().correctPosition, TOptionPicture::Correct);
        QToolButton *correct = m_form.sBitBtn_Op[static_cast<size_t>(Question().correctPosition - 1)];
        correct->setEnabled(true);
        correct->setFocus();
        if (m_chosenOption != 0 && m_chosenOption != Question().correctPosition)
            m_form.SetOptionButtonPicture(m_chosenOption, TOptionPicture::Wrong);
    }
    for (size_t i = 0; i < 3; ++i)
        m_form.sPanel_OpM[i]->setText(kMeaningIndent + m_cc.words[Question().choices[i]].joinedMeanings);
    ShowPronunciations();
}
