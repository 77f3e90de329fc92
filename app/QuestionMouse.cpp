// The mouse in the question area: options are answered by keys only, labels
// copy their text, the pronunciation pictures open the legend, and the
// exclusion switch answers the pointer with its shadow.
#include "app/LabelShadow.h"
#include "app/MainUnit.h"
#include "app/Menus.h"
#include "app/Program.h"
#include "app/TrainingFlow.h"
#include "help/Hanrei.h"
#include "base/SlotGuard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>

void TMainForm::ConnectQuestionArea()
{
    for (QToolButton *button : sBitBtn_Op)
        connect(button, &QToolButton::clicked, this, Guarded([this] { m_flow->sBitBtn_OpClick(); }));
    connect(sBitBtn_blank, &QToolButton::clicked, this, Guarded([this] { FocusHiddenButton(); }));
    connect(sSpeedButton_glimpse, &QToolButton::clicked, this, Guarded([this] {
        FocusHiddenButton();
        m_flow->CatchAGlimpse();
    }));
    EnsureLabelShadow(sLabelFX_never);
    sLabelFX_never->setCursor(Qt::PointingHandCursor);
}

void TMainForm::CopyToClipboard(const QString &text)
{
    m_flow->PlaySound(QStringLiteral("BUTTON"));
    QGuiApplication::clipboard()->setText(text.trimmed());
}

bool TMainForm::QuestionAreaMouse(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Enter) {
        if (watched == sLabelFX_never)
            FlashLabelShadow(sLabelFX_never);
        return false;
    }
    if (static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
        return false;
    for (size_t i = 0; i < 3; ++i) {
        if (watched == sLabel_Op[i]) {
            CopyToClipboard(sLabel_Op[i]->text());
            return true;
        }
        if (watched == Image_OpP[i]) {
            m_flow->RunModalOverQuestion([this] { m_program.hanreiForm().ShowLegend(); });
            return true;
        }
    }
    if (watched == sLabel_Input || watched == sLabel_TabVoc_Voc || watched == sLabel_glimpse ||
        watched == sLabel_migiue || watched == sLabel_TitleP) {
        CopyToClipboard(m_flow->typedAnswer());
        return true;
    }
    if (watched == sLabelFX_Status) {
        m_menus->smStatus->trigger();
        return true;
    }
    if (watched == sLabelFX_never) {
        m_flow->sLabelFX_neverClick();
        return true;
    }
    return false;
}
