// What the training window shows once a question is graded (the explanation
// line, the typed-word hint, the verb hints, the pronunciations beside the
// options), the answer glimpse of typing questions and the exclusion switch.
#include "app/LabelShadow.h"
#include "app/MainUnit.h"
#include "app/TrainingFlow.h"
#include "app/WordPanel.h"
#include "engine/CommonUnit.h"
#include "base/WaitPumping.h"
#include "speech/Pronunciation.h"

#include <QLabel>
#include <QPainter>

namespace {
constexpr int kExplanationGap = 28;
constexpr int kHaseiFontHeight = 12;
const QString kIncluded = QStringLiteral("○");
const QString kExcluded = QStringLiteral("×");
const QString kOptionsByKeysOnly =
    QStringLiteral("答えを入力するか、キーボードの１・２・３を押して解答してください。");
}

void TTrainingFlow::ShowExplanationLine()
{
    const TTango &word = m_cc.words[Question().word];
    TExplanationInput in;
    in.level = word.level;
    in.previousLevel = m_previousLevel;
    in.stage = word.stage;
    in.randomQuestion = Run().state.training.randomQuestion;
    in.newWord = Run().state.training.newWord;
    in.previousRetry = m_lastEffect.previousRetry;
    in.correct = m_answerCorrect;
    in.level6Miss = m_lastEffect.level6Miss;
    in.firstTimeIncrement = m_cc.settings.firstTimeIncrement;
    QLabel *memo = m_form.sLabel_TabVoc_Memo;
    const QLabel *wordLine = m_form.sLabel_TabVoc_Voc;
    const int wordLineWidth = wordLine->text().isEmpty() ? 0 : wordLine->sizeHint().width();
    memo->move(wordLine->x() + wordLineWidth + kExplanationGap, memo->y());
    memo->setText(ExplanationLine(in));
    memo->adjustSize();
}

void TTrainingFlow::ShowTypedWordHint()
{
    std::array<QString, 3> optionForms;
    for (size_t i = 0; i < 3; ++i)
        optionForms[i] = m_cc.DisplayForm(Question().choices[i]);
    const QString hint = TypedWordHint(
        m_typed, optionForms, m_cc.TangoTotal(), [this](int i) { return m_cc.DisplayForm(i); },
        [this](int i) { return m_cc.words[i].joinedMeanings; });
    if (hint.isEmpty())
        return;
    QLabel *hasei = m_form.sLabel_Hasei;
    QFont f = hasei->font();
    f.setPixelSize(kHaseiFontHeight);
    hasei->setFont(f);
    hasei->setText(hint);
    hasei->adjustSize();
}

void TTrainingFlow::ShowOptionVerbHints()
{
    const std::array<QString, 3> hints = OptionVerbHints(m_cc.words[Question().word].word, Question().correctPosition);
    for (size_t i = 0; i < 3; ++i)
        m_form.sLabel_Op[i]->setToolTip(hints[i]);
}

// Each option's pronunciation in glyphs, their ink in the skin's colour. The
// glyphs are drawn on black, the picture's transparent colour; a pixel's ink
// share becomes its opacity, so only the glyphs show, with soft edges. Phrase
// files have none.
void TTrainingFlow::ShowPronunciations()
{
    if (m_cc.HeadwordKind() == THeadwordKind::Phrase)
        return;
    if (!m_pronunciation)
        m_pronunciation = std::make_unique<TPronunciation>();
    const QColor ink = m_form.skinTextColour();
    m_pronunciation->pronunciationColor = ink;
    const int inkMax = qMax(1, qMax(ink.red(), qMax(ink.green(), ink.blue())));
    for (size_t i = 0; i < 3; ++i) {
        QLabel *picture = m_form.Image_OpP[i];
        QImage canvas(picture->size(), QImage::Format_RGB32);
        canvas.fill(Qt::black);
        const QString code = m_cc.words[Question().choices[i]].attributes[0];
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

void TTrainingFlow::CatchAGlimpse()
{
    if (Question().word <= 0)
        return;
    const QString text = m_cc.DisplayForm(Question().word);
    QLabel *label = m_form.sLabel_glimpse;
    label->clear();
    label->repaint();
    const TGlimpseFlashes flashes = GlimpseFlashesOf(m_cc.settings.glimpse);
    for (int n = 0; n < flashes.count; ++n) {
        label->setText(text);
        label->repaint();
        WaitPumping(flashes.milliseconds);
        label->clear();
        label->repaint();
    }
}

void TTrainingFlow::GlimpseKey()
{
    if (!m_glimpseNow) {
        m_glimpseClock.start();
        m_glimpseNow = [this] { return m_glimpseClock.elapsed(); };
    }
    if (m_glimpseThrottle.Allow(m_glimpseNow()))
        CatchAGlimpse();
}

void TTrainingFlow::sLabelFX_neverClick()
{
    if (Question().word <= 0 || IsBusy())
        return;
    const bool excluded = m_cc.ToggleWordExclusion(Question().word);
    m_form.sLabelFX_never->setText(excluded ? kExcluded : kIncluded);
    // A word included again starts afresh: the line no longer compares it
    // with the level it had before it was excluded.
    if (!excluded)
        m_previousLevel = m_cc.words[Question().word].level;
    PlaySound(QStringLiteral("BUTTON"));
    m_form.wordPanel->ShowWordInfo();
}

void TTrainingFlow::sBitBtn_OpClick()
{
    m_form.FocusHiddenButton();
    RunModalOverQuestion([this] { m_cc.notifier->Information(kOptionsByKeysOnly); });
}

// A modal window's own message loop must not run the next training step nor
// let the answer time run out behind it: the step that is posted waits, and
// the gauge stands still, until the window has closed.
void TTrainingFlow::RunModalOverQuestion(const std::function<void()> &modal)
{
    const bool posted = m_idle.IsInstalled();
    m_idle.Remove();
    const bool waiting = IsAsking();
    if (waiting)
        PauseGauge();
    modal();
    if (waiting)
        ResumeGauge();
    if (posted && !m_quit)
        m_idle.Install();
}
