// The main window as the training flow's screen: each operation the flow
// asks for, done on the window's own controls.
#include "app/MainUnit.h"

#include "app/MainWidgets.h"
#include "app/Menus.h"
#include "app/NoWord.h"
#include "app/NoticeUnit.h"
#include "app/Program.h"
#include "app/WordPanel.h"
#include "files/FileManagerUnit.h"
#include "speech/Pronunciation.h"
#include "widgets/LabelColour.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

namespace {
const QColor kLoadedTitleColour(0xC0, 0xC0, 0xC0);
const QString kOptionIndent(4, u' ');
const QString kMeaningIndent(8, u' ');
const QString kIncluded = QStringLiteral("○");
const QString kExcluded = QStringLiteral("×");
constexpr int kWidePanelWidth = 897;
const QString kTitleOpen = QStringLiteral("+++ ");
const QString kTitleClose = QStringLiteral(" +++");
constexpr int kTelopFast = 1;
constexpr int kTelopSlow = 1111;
constexpr int kTabCurve = 0;
constexpr int kTabRelated = 1;
constexpr int kTabEtymology = 2;
constexpr int kInputLabelTop = 6;
constexpr int kInputFontHeight = 24;
constexpr int kInputPanelWidth = 408;
constexpr int kInputMargin = 70;
constexpr int kExplanationGap = 28;
constexpr int kHaseiFontHeight = 12;
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

// ---------------------------------------------------------------------------
// A learning file opens
// ---------------------------------------------------------------------------

void TMainForm::ShowWaitLine(bool shown)
{
    sLabel_wait->setVisible(shown);
    sLabel_wait->repaint();
}

void TMainForm::ShowFileLoading(const QString &title, const QString &loadingLine)
{
    // A title too long for the panel ends in "…" after a whole character,
    // and the frame around it stays.
    const QFontMetrics metrics = sPanel_Q->fontMetrics();
    const int room = sPanel_Q->contentsRect().width() - 2 * sPanel_Q->margin() - 2 * metrics.averageCharWidth()
                     - metrics.horizontalAdvance(kTitleOpen + kTitleClose);
    SetQuestionPanelText(kTitleOpen + metrics.elidedText(title, Qt::ElideRight, std::max(room, 0)) + kTitleClose);
    SetInputText(loadingLine);
}

void TMainForm::LayOutOptionRows(bool wide, int reactionMilliseconds)
{
    if (wide)
        for (TPanel *p : sPanel_Op)
            p->resize(kWidePanelWidth, p->height());
    TimerForPeedy->setInterval(reactionMilliseconds);
}

void TMainForm::ApplyFileLook(const TFileLook &look)
{
    ShowTopRightDisplay(look.topRightDisplay);
    // The tab of the file's setting opens; its icon shows it.
    const int tab = look.startTab == kTabRelated || look.startTab == kTabEtymology ? look.startTab : kTabCurve;
    sPageControl1->setCurrentIndex(tab);
    SetActiveTabIcon(tab);

    sLabel_wait->hide();
    sPageControl1->setEnabled(false);
    ApplySkin(look.skin);
    ApplyTypingSound(look.typingSound);
    SetTextColour(sLabel_TitleP, kLoadedTitleColour);
    repaint();
}

void TMainForm::ShowFileMenus(const TFileMenus &menus)
{
    m_menus->smJukugoRule->setVisible(menus.phraseRules);
    m_menus->smTokushuRule->setVisible(menus.pronunciationRules);
    m_menus->smWords->setVisible(menus.wordList);
}

void TMainForm::ShowRandomMark(bool shown)
{
    sLabel_random->setVisible(shown);
}

// ---------------------------------------------------------------------------
// A question
// ---------------------------------------------------------------------------

void TMainForm::ShowQuotaLine()
{
    sLabel_Norm->show();
    sLabelFX_Status->show();
}

void TMainForm::ShowQuota(const QString &text)
{
    sLabel_Norm->setText(text);
}

void TMainForm::StopReviewTimers()
{
    Timer_telop->stop();
}

void TMainForm::StopSoundDeviceCheck()
{
    Timer_DDSD->stop();
}

void TMainForm::StopAgentReaction()
{
    TimerForPeedy->stop();
}

void TMainForm::ResetTypedLine()
{
    sLabel_Input->move(sLabel_Input->x(), kInputLabelTop);
    QFont inputFont = sLabel_Input->font();
    inputFont.setPixelSize(kInputFontHeight);
    sLabel_Input->setFont(inputFont);
}

void TMainForm::ClearRelatedTree()
{
    TntTreeView->clear();
}

void TMainForm::ShowExclusion(bool excluded)
{
    sLabelFX_never->setText(excluded ? kExcluded : kIncluded);
}

void TMainForm::SetWordPagesEnabled(bool enabled)
{
    sPageControl1->setEnabled(enabled);
}

void TMainForm::ClearWordPages()
{
    sLabel_TabVoc_Voc->clear();
    sLabel_TabVoc_Memo->clear();
    m_wordPanel->DrawForgettingCurve(true);
}

void TMainForm::ArmOptionButtons()
{
    for (int option = 1; option <= 3; ++option) {
        SetOptionButtonPicture(option, TOptionPicture::Neutral);
        sBitBtn_Op[static_cast<size_t>(option - 1)]->setEnabled(true);
    }
}

void TMainForm::ShowQuestion(const QString &text, bool wordToMeaning, bool typing)
{
    LayoutQuestionText(text, wordToMeaning);
    if (typing) {
        sPanel_glimpse->show();
        sLabel_glimpse->repaint();
        sBitBtn_blank->show();
        sBitBtn_blank->raise();
        sBitBtn_Op[1]->hide();
        sBitBtn_Op[2]->hide();
    } else {
        sPanel_glimpse->hide();
        sBitBtn_blank->hide();
        sBitBtn_Op[1]->show();
        sBitBtn_Op[2]->show();
    }
}

void TMainForm::LayoutQuestionText(const QString &text, bool wordToMeaning)
{
    QLabel *label = sLabel_Q;
    int height;
    if (wordToMeaning) {
        label->move(label->x(), 4);
        height = -kWordQuestionHeight;
    } else {
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
    const int signalWidth = sPanel_Signal->width();
    sPanel_Q->resize(panelWidth, sPanel_Q->height());
    sGauge_Time->resize(panelWidth - 3, sGauge_Time->height());
    sPanel_Input->resize(panelWidth - signalWidth, sPanel_Input->height());
    // The quota and the progress mark keep to the input panel's right end.
    sLabel_Norm->move(panelWidth - kNormFromRight, sLabel_Norm->y());
    sLabelFX_Status->move(panelWidth - kStatusFromRight, sLabelFX_Status->y());
    if (!wordToMeaning)
        label->move(label->x(), height / 6 + 12);
    label->setFont(HeightFont(label->font(), height));
    label->setText(text);
    label->adjustSize();
}

void TMainForm::ShowTyped(const QString &typed)
{
    QLabel *input = sLabel_Input;
    if (QFontMetrics(input->font()).horizontalAdvance(typed) + kInputMargin > kInputPanelWidth) {
        QFont f = input->font();
        f.setPixelSize(f.pixelSize() - 1);
        input->setFont(f);
        input->move(input->x(), input->y() + 1);
    }
    input->setText(typed + QStringLiteral("_"));
    input->adjustSize();
}

void TMainForm::ShowGauge(int position, int maximum)
{
    sGauge_Time->setMaximum(maximum);
    sGauge_Time->setPosition(position);
}

void TMainForm::ShowOptionWords(const std::array<QString, 3> &words)
{
    for (size_t i = 0; i < 3; ++i)
        sLabel_Op[i]->setText(kOptionIndent + words[i]);
}

void TMainForm::ShowOptionMeanings(const std::array<QString, 3> &meanings)
{
    for (size_t i = 0; i < 3; ++i)
        sPanel_OpM[i]->setText(kMeaningIndent + meanings[i]);
}

void TMainForm::ShowFirstOptionText(const QString &text)
{
    sLabel_Op[0]->setText(kOptionIndent + text);
}

void TMainForm::MarkOptions(int correctPosition, int wrongChoice)
{
    SetOptionButtonPicture(correctPosition, TOptionPicture::Correct);
    QToolButton *correct = sBitBtn_Op[static_cast<size_t>(correctPosition - 1)];
    correct->setEnabled(true);
    correct->setFocus();
    if (wrongChoice != 0)
        SetOptionButtonPicture(wrongChoice, TOptionPicture::Wrong);
}

// Each option's pronunciation in glyphs, their ink in the skin's colour. The
// glyphs are drawn on black, the picture's transparent colour; a pixel's ink
// share becomes its opacity, so only the glyphs show, with soft edges.
void TMainForm::ShowPronunciations(const std::array<QString, 3> &codes)
{
    if (!m_pronunciation)
        m_pronunciation = std::make_unique<TPronunciation>();
    const QColor ink = skinTextColour();
    m_pronunciation->pronunciationColor = ink;
    const int inkMax = qMax(1, qMax(ink.red(), qMax(ink.green(), ink.blue())));
    for (size_t i = 0; i < 3; ++i) {
        QLabel *picture = Image_OpP[i];
        QImage canvas(picture->size(), QImage::Format_RGB32);
        canvas.fill(Qt::black);
        const QString &code = codes[i];
        if (!code.isEmpty())
            m_pronunciation->DrawPronunciation(canvas, kPronunciationX, QStringLiteral(" ") + code, kPronunciationY);
        // A recoloured pixel is the ink colour times the ink share: read as
        // premultiplied colour with that share as alpha.
        QImage shown(canvas.size(), QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < canvas.height(); ++y) {
            const auto *from = reinterpret_cast<const QRgb *>(canvas.constScanLine(y));
            auto *to = reinterpret_cast<QRgb *>(shown.scanLine(y));
            for (int x = 0; x < canvas.width(); ++x) {
                const int r = qRed(from[x]), g = qGreen(from[x]), b = qBlue(from[x]);
                const int alpha = qMin(255, qMax(r, qMax(g, b)) * 255 / inkMax);
                to[x] = qRgba(qMin(r, alpha), qMin(g, alpha), qMin(b, alpha), alpha);
            }
        }
        picture->setPixmap(QPixmap::fromImage(shown));
    }
}

bool TMainForm::GlimpseShown() const
{
    return !sPanel_glimpse->isHidden();
}

void TMainForm::ShowGlimpse(const QString &text)
{
    sLabel_glimpse->setText(text);
    sLabel_glimpse->repaint();
}

void TMainForm::NextWordPage()
{
    sPageControl1->setCurrentIndex((sPageControl1->currentIndex() + 1) % sPageControl1->count());
}

// ---------------------------------------------------------------------------
// The grade
// ---------------------------------------------------------------------------

void TMainForm::ShowGradedWord(int position)
{
    m_wordPanel->AnswerGraded(position);
}

void TMainForm::ShowTypedWordHint(const QString &hint)
{
    QLabel *hasei = sLabel_Hasei;
    QFont f = hasei->font();
    f.setPixelSize(kHaseiFontHeight);
    hasei->setFont(f);
    hasei->setText(hint);
    hasei->adjustSize();
}

void TMainForm::ShowOptionHints(const std::array<QString, 3> &hints)
{
    for (size_t i = 0; i < 3; ++i)
        sLabel_Op[i]->setToolTip(hints[i]);
}

void TMainForm::ShowExplanationLine(const QString &line)
{
    QLabel *memo = sLabel_TabVoc_Memo;
    const QLabel *wordLine = sLabel_TabVoc_Voc;
    const int wordLineWidth = wordLine->text().isEmpty() ? 0 : wordLine->sizeHint().width();
    memo->move(wordLine->x() + wordLineWidth + kExplanationGap, memo->y());
    memo->setText(line);
    memo->adjustSize();
}

void TMainForm::ShowWordInfo()
{
    m_wordPanel->ShowWordInfo();
}

// The telop runs at once on the related-words and etymology pages, slowly
// on the forgetting curve; the sound device is checked once.
void TMainForm::StartReviewTimers()
{
    const int tab = sPageControl1->currentIndex();
    Timer_telop->setInterval(tab == kTabRelated || tab == kTabEtymology ? kTelopFast : kTelopSlow);
    Timer_telop->start();
    Timer_DDSD->start();
}

void TMainForm::StartAgentReaction()
{
    TimerForPeedy->start();
}

void TMainForm::StopTelop()
{
    Timer_telop->stop();
}

// ---------------------------------------------------------------------------
// A file closes, the program ends
// ---------------------------------------------------------------------------

void TMainForm::ShowFileClosed(const QString &signalPicture)
{
    SetSignalPicture(signalPicture);
    sPanel_cover->raise();
    sPanel_cover->show();
    sPanel_glimpse->hide();
    sLabel_Norm->hide();
    sLabelFX_Status->hide();
    sGauge_Time->Fill();
    repaint();
}

void TMainForm::ShowClosing(const QString &closingLine)
{
    SetInputText(closingLine);
    sLabel_Hasei->clear();
}

TWindowPlace TMainForm::WindowPlace() const
{
    return {y(), x(), sPageControl1->currentIndex()};
}

// ---------------------------------------------------------------------------
// Windows over the training
// ---------------------------------------------------------------------------

bool TMainForm::RunFileManagerAtStart()
{
    TFileManagerForm &manager = m_program.fileManagerForm();
    manager.SetStartMode(true);
    const bool goOn = manager.exec() != TFileManagerForm::kEndProgram;
    repaint();
    return goOn;
}

void TMainForm::ShowStageNotice()
{
    m_program.noticeForm().exec();
}

bool TMainForm::OfferRandomQuestions()
{
    return m_program.noWordForm().AskNoQuestions() == TNoQuestionsChoice::GoOnRandom;
}

void TMainForm::RunQuickResponseDrill()
{
    m_program.RunQuickResponseDrill();
}

void TMainForm::ShowStatusAtFileEnd()
{
    m_program.ShowStatusAtFileEnd();
}

void TMainForm::ShowEtymologyWindow(int position)
{
    m_program.ShowEtymologyWindow(position);
}

void TMainForm::HideEtymologyWindow()
{
    m_program.HideEtymologyWindow();
}

void TMainForm::ClearEtymologyHistory()
{
    m_program.ClearEtymologyHistory();
}

bool TMainForm::StarViewOrGalleryShowing() const
{
    return m_program.StarViewOrGalleryShowing();
}
