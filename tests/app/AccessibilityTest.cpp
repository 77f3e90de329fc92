// The question, the options, the gauge and the grading sign as assistive
// technology (a screen reader, the accessibility tree) sees them.
#include "TrainingWindowFixture.h"

#include "app/MainWidgets.h"

#include <QAccessible>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
QString Text(QObject *object, QAccessible::Text kind)
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(object);
    return a ? a->text(kind) : QStringLiteral("<no interface>");
}
}

TEST_F(TTrainingWindowTest, QuestionOptionsGaugeAndSignAreNamedForAssistiveTechnology)
{
    StartToReady();
    Key(Qt::Key_F);
    ASSERT_TRUE(WaitFor([&] { return flow().State() == TFlowState::Asking && flow().IsAsking() && !flow().StepPosted(); }));

    EXPECT_EQ(Text(ui().sPanel_Q, QAccessible::Name), QStringLiteral("問題"));
    // The word asked is read from its label, with what it is.
    ASSERT_FALSE(ui().sLabel_Q->text().isEmpty());
    EXPECT_EQ(Text(ui().sLabel_Q, QAccessible::Name), ui().sLabel_Q->text());
    EXPECT_EQ(Text(ui().sLabel_Q, QAccessible::Description), QStringLiteral("問題の単語"));
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const auto at = static_cast<size_t>(i);
        const QString option = QStringLiteral("選択肢 %1").arg(i + 1);
        EXPECT_EQ(Text(ui().sBitBtn_Op[at], QAccessible::Name), option);
        EXPECT_FALSE(Text(ui().sBitBtn_Op[at], QAccessible::Description).isEmpty());
        EXPECT_EQ(Text(ui().sPanel_Op[at], QAccessible::Name), option);
        EXPECT_EQ(Text(ui().sLabel_Op[at], QAccessible::Name), ui().sLabel_Op[at]->text());
        EXPECT_EQ(Text(ui().sLabel_Op[at], QAccessible::Description), option + QStringLiteral(" の意味"));
    }

    // The gauge is a progress bar whose value is the time left.
    QAccessibleInterface *gauge = QAccessible::queryAccessibleInterface(ui().sGauge_Time);
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->role(), QAccessible::ProgressBar);
    EXPECT_EQ(gauge->text(QAccessible::Name), QStringLiteral("残り時間"));
    ASSERT_NE(gauge->valueInterface(), nullptr);
    EXPECT_EQ(gauge->valueInterface()->maximumValue().toInt(), ui().sGauge_Time->maximum());
    EXPECT_EQ(gauge->valueInterface()->currentValue().toInt(), ui().sGauge_Time->position());

    // The grading sign says how the answer was graded.
    Key(static_cast<Qt::Key>(Qt::Key_0 + flow().correctPosition()));
    ASSERT_TRUE(WaitForState(TFlowState::Reviewing));
    ASSERT_EQ(ui().sSpeedButton_Signal->property("picture").toString(), QStringLiteral("Signal_O"));
    EXPECT_EQ(Text(ui().sSpeedButton_Signal, QAccessible::Name), QStringLiteral("判定：正解"));
}
