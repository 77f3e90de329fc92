// The preferences and help windows opened from the training window's menus.
#include "app/TrainingWindowFixture.h"
#include "help/InfoUnit.h"
#include "workspace/ui/PreferencesUnit.h"

#include <QSlider>
#include <QTextEdit>

namespace {

class WindowsFromTheMenus : public TTrainingWindowTest {};

TEST_F(WindowsFromTheMenus, APreferenceTakesEffectOnTheNextQuestionAndSurvivesARestart)
{
    StartToReady();
    AskQuestion();
    const int gaugeOffset = flow().gaugeMaximum() - cc().settings.answerTime;
    AnswerCorrectly();
    const int remaining = cc().training.remaining;
    ASSERT_EQ(cc().settings.dailyQuota, 80);

    WhenModalOpens([](QWidget *modal) {
        auto *prefs = qobject_cast<TPreferencesForm *>(modal);
        ASSERT_NE(prefs, nullptr);
        prefs->sTrackBar_Speed->setValue(1000);   // answer time 1200
        prefs->sTrackBar_norm->setValue(150);     // 100 questions a day
        QTest::mouseClick(prefs->sSpeedButton_OK, Qt::LeftButton);
    });
    ui().smPreferences->trigger();
    EXPECT_EQ(cc().settings.answerTime, 1200);
    EXPECT_EQ(cc().training.remaining, remaining + 20);
    EXPECT_EQ(ui().sLabel_Norm->text().trimmed(), QString::number(remaining + 20));

    AskQuestion();
    EXPECT_EQ(flow().gaugeMaximum(), 1200 + gaugeOffset);

    // The next start reads what the window saved.
    const auto next = ReadBackState(folder);
    EXPECT_EQ(next->settings.answerTime, 1200);
    EXPECT_EQ(next->settings.dailyQuota, 100);
}

TEST_F(WindowsFromTheMenus, AreRefusedWhileAQuestionWaits)
{
    StartToReady();
    AskQuestion();
    int opened = 0;
    WhenModalOpens([&opened](QWidget *modal) {
        ++opened;
        static_cast<QDialog *>(modal)->done(QDialog::Rejected);
    });
    for (const char *entry : {"smPreferences", "smKey", "smFAQ"})
        form().findChild<QAction *>(QLatin1String(entry))->trigger();
    QTest::qWait(50);
    EXPECT_EQ(opened, 0);
}

TEST_F(WindowsFromTheMenus, EachHelpEntryOpensItsTopic)
{
    StartToReady();
    AskQuestion();
    AnswerCorrectly();
    const QList<std::pair<const char *, QString>> entries = {
        {"smKey", QStringLiteral("＋＋ キー操作について ＋＋")},
        {"smTokushuRule", QStringLiteral("＋＋ 記号付きの文字の入力規則 ＋＋")},
        {"smJukugoRule", QStringLiteral("＋＋ 熟語版の入力規則 ＋＋")},
        {"smFAQ", QStringLiteral("＋＋ FAQ ＋＋")},
        {"smWords", QStringLiteral("＋＋ 収録語彙について ＋＋")},
    };
    for (const auto &[entry, title] : entries) {
        SCOPED_TRACE(entry);
        QString shownTitle;
        bool textShown = false;
        WhenModalOpens([&](QWidget *modal) {
            auto *info = qobject_cast<TInfoForm *>(modal);
            ASSERT_NE(info, nullptr);
            shownTitle = info->sLabel_title->text();
            textShown = info->ShownText() != nullptr;
            QTest::keyClick(info, Qt::Key_Escape);
        });
        form().findChild<QAction *>(QLatin1String(entry))->trigger();
        EXPECT_EQ(shownTitle, title);
        EXPECT_TRUE(textShown);   // the fixture's file is TT
    }
}

} // namespace
