// The status window shows the engine's numbers with their texts, and what
// the learner changes there goes into the file's settings.
#include "engine/CommonUnit.h"
#include "progress/StatusUnit.h"
#include "support/EngineFolder.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QApplication>
#include <QFontInfo>
#include <gtest/gtest.h>

namespace {
struct TStatusWindowEnv : TEngineFolder {
    TStatusWindowEnv() : TEngineFolder(QStringLiteral("TT"), 6, 100)
    {
        cc.catalog.rows[6].Title = QStringLiteral("TOEIC 英単語");
        TFileSettings &s = cc.settings;
        s.version = 805;
        s.learningStartDate = QStringLiteral("2009/07/01");
        s.learningDays = 3;
        s.answersTotal = 150;
        s.overallCorrectRate = 60;
        s.averageAchievement = 90;
        s.dailyQuota = 50;
        cc.training.remaining = 20;   // 30 answered
        cc.training.correctToday = 24;
        for (int p = 1; p <= 100; ++p)
            cc.words[p].level = p % 13;
    }
};
}

TEST(StatusForm, ShowsTheNumbersOfEachMode)
{
    TStatusWindowEnv env;
    TStatusForm form(env.cc);
    form.FormShow(TStatusMode::Normal);
    EXPECT_EQ(form.sLabel_file->text(), QStringLiteral("+++ TOEIC 英単語 +++"));
    EXPECT_EQ(form.sLabel_FromStart->text(), QStringLiteral("・学習開始日からの経過日数：　5　日"));
    EXPECT_EQ(form.sLabel_DaysTotal->text(), QStringLiteral("・学習回数（起動回数）：　4　回"));
    EXPECT_EQ(form.sLabel_TodayCorrectRate->text(), QStringLiteral("・正解率（今回）：　80　％"));
    EXPECT_EQ(form.sLabel_CorrectRate->text(), QStringLiteral("・正解率（トータル）：　63　％"));
    EXPECT_EQ(form.sLabel_TodayMonsuu->text(), QStringLiteral("・学習問数（今回）：　30　問"));
    EXPECT_EQ(form.sLabel_NormADay->text(), QStringLiteral("・1 日のノルマ：　50　問"));
    EXPECT_EQ(form.sLabel_NormAchieveRate->text(), QStringLiteral("・ノルマ達成率：　90　％"));
    EXPECT_EQ(form.sSB[1]->text(), QStringLiteral("  Aries ( LV 1 )    8 個"));
    EXPECT_EQ(form.sGauge[1]->maximum(), 100);
    EXPECT_EQ(form.sGauge[1]->value(), 8);
    EXPECT_EQ(form.sRadioButton_LV[0]->text(), QStringLiteral(" レベル 6 以上の語が 90% 以上（ TOEIC 500 レベル）"));
    EXPECT_EQ(form.sRadioButton_LV[4]->text(), QStringLiteral(" レベル 10 以上の語が 90% 以上（ TOEIC 760 レベル ）"));
    EXPECT_TRUE(form.sLabel_fin->isHidden());
    EXPECT_EQ(form.sButton_close->text(), QStringLiteral("閉じる"));
    EXPECT_FALSE(form.sTrackBar_norm->isHidden());

    form.FormShow(TStatusMode::FileEnd);
    EXPECT_FALSE(form.sLabel_fin->isHidden());
    EXPECT_EQ(form.sButton_close->text(), QStringLiteral("終了"));
    // Today counted in: 30 of 50 is 60 %, (60 + 90 x 3) / 4 = 82.
    EXPECT_EQ(form.sLabel_NormAchieveRate->text(), QStringLiteral("・ノルマ達成率：　82　％"));

    form.FormShow(TStatusMode::Manager);
    EXPECT_TRUE(form.sTrackBar_norm->isHidden());
    EXPECT_TRUE(form.sCheckBox_everytime->isHidden());
    EXPECT_EQ(form.sLabel_DaysTotal->text(), QStringLiteral("・学習回数（起動回数）：　3　回"));

    env.UseFile(QStringLiteral("DT"), 27, 100);
    form.FormShow(TStatusMode::Normal);
    EXPECT_EQ(form.sRadioButton_LV[0]->text(), QStringLiteral(" レベル 6 以上の語が 90% 以上"));
    EXPECT_TRUE(form.sGauge_TOEIC->isHidden());
}

TEST(StatusForm, QuotaAndTheEndFlagGoIntoTheSettings)
{
    TStatusWindowEnv env;
    TStatusForm form(env.cc);
    form.FormShow(TStatusMode::Normal);
    form.sTrackBar_norm->setValue(80);
    EXPECT_EQ(env.cc.settings.dailyQuota, 80);
    EXPECT_EQ(env.cc.AskedCount(), 30);   // today's answers stay
    EXPECT_EQ(form.sLabel_NormADay->text(), QStringLiteral("・1 日のノルマ：　80　問"));
    form.sCheckBox_everytime->click();
    EXPECT_EQ(env.cc.settings.showProgressAtEnd, 1);
}

// Statistics of an older settings file are reported once by the learner;
// until all three are, the window does not close.
TEST(StatusForm, OlderSettingsAskForTheSelfReportBeforeClosing)
{
    TStatusWindowEnv env;
    env.cc.settings.version = 30;
    TStatusForm form(env.cc);
    form.FormShow(TStatusMode::Normal);
    form.show();
    EXPECT_FALSE(form.Label_StudiedDays->isHidden());
    // Each trackbar says what it sets and starts at the stored value (3 runs,
    // 60 %, 90 %), so that a click on its groove moves it a step from there.
    const struct {
        QSlider *bar;
        QLabel *caption;
        const char *text;
        int stored;
    } bars[] = {{form.sTrackBar_StudiedDays, form.Label_StudiedDaysCaption, "学習回数", 3},
                {form.sTrackBar_CorrectRate, form.Label_CorrectRateCaption, "正解率", 60},
                {form.sTrackBar_NormAchieveRate, form.Label_NormAchieveRateCaption, "ノルマ達成率", 90}};
    for (const auto &b : bars) {
        SCOPED_TRACE(b.text);
        EXPECT_EQ(b.bar->value(), b.stored);
        EXPECT_TRUE(b.caption->isVisible());
        EXPECT_EQ(b.caption->text(), QString::fromUtf8(b.text));
        EXPECT_FALSE(b.caption->geometry().intersects(b.bar->geometry()));
    }
    // Showing them changed nothing stored.
    EXPECT_EQ(env.cc.settings.learningDays, 3);
    EXPECT_EQ(env.cc.settings.overallCorrectRate, 60);
    EXPECT_EQ(env.cc.settings.averageAchievement, 90);
    EXPECT_FALSE(form.Label_CorrectRate->isHidden());
    form.sButton_closeClick();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(env.cc.defaultNotifier.messages, QStringList{QStringLiteral("自己申請を完了させてください")});

    form.sTrackBar_StudiedDays->setValue(120);
    form.sTrackBar_CorrectRate->setValue(70);
    form.sTrackBar_NormAchieveRate->setValue(95);
    EXPECT_EQ(env.cc.settings.learningDays, 120);
    EXPECT_EQ(env.cc.settings.overallCorrectRate, 70);
    EXPECT_EQ(env.cc.settings.averageAchievement, 95);
    EXPECT_EQ(form.sLabel_CorrectRate->text(), QStringLiteral("・正解率：　70　％"));
    form.sButton_closeClick();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.Label_StudiedDaysCaption->isVisible());
}

// The simulation's lines are set a little smaller than the window's text,
// whether the program's font is given in points or in pixels.
TEST(StatusForm, TheSimulationLinesAreSmallerInEitherFontUnit)
{
    const QFont programFont = QApplication::font();
    for (const bool pixels : {false, true}) {
        SCOPED_TRACE(pixels);
        QFont font = programFont;
        if (pixels)
            font.setPixelSize(14);
        else
            font.setPointSizeF(10.5);
        QApplication::setFont(font);
        TStatusWindowEnv env;
        TStatusForm form(env.cc);
        EXPECT_LT(QFontInfo(form.Label_Simu2->font()).pixelSize(), QFontInfo(form.sGroupBox_simu->font()).pixelSize());
    }
    QApplication::setFont(programFont);
}

TEST(StatusForm, TheSimulationReportsItsDaysAndLeavesTheWordsAsTheyWere)
{
    TStatusWindowEnv env;
    for (int p = 1; p <= 100; ++p)
        env.cc.words[p].level = p <= 95 ? kExcludedLevel : 0;
    TStatusForm form(env.cc);
    form.FormShow(TStatusMode::Normal);
    form.sButton_Trial->click();   // no goal chosen yet
    EXPECT_EQ(env.cc.defaultNotifier.messages, QStringList{QStringLiteral("目標を選択してください")});
    env.cc.defaultNotifier.messages.clear();

    form.sRadioButton_LV[2]->setChecked(true);
    form.sButton_Trial->click();
    ASSERT_EQ(env.cc.defaultNotifier.messages.size(), 1);
    EXPECT_EQ(env.cc.defaultNotifier.messages.first(),
              QStringLiteral("シミュレーションが完了しました。\r\n\r\nこれまでと同じペースで学習された場合、目標達成までに約 0 日かかります。"));
    for (int p = 1; p <= 100; ++p)
        EXPECT_EQ(env.cc.words[p].level, p <= 95 ? kExcludedLevel : 0);
    EXPECT_EQ(env.cc.training.remaining, 20);
    EXPECT_FALSE(env.cc.simulationRunning);
    EXPECT_TRUE(form.sGroupBox_simu->isHidden());
    EXPECT_TRUE(form.sButton_TrialAbort->isHidden());
    EXPECT_TRUE(form.sBB_Cosmos->isEnabled());
}

TEST(StatusForm, CosmosIsTheLargePictureButtonAndCoversNothing)
{
    TStatusWindowEnv env;
    TStatusForm form(env.cc);
    form.FormShow(TStatusMode::Normal);
    const QRect cosmos = form.sBB_Cosmos->geometry();
    const QRect close = form.sButton_close->geometry();
    EXPECT_FALSE(form.sBB_Cosmos->icon().isNull());
    EXPECT_GE(cosmos.width() * cosmos.height(), 3 * close.width() * close.height());
    EXPECT_TRUE(form.rect().contains(cosmos));
    // Nothing of the window lies under it, also what shows only while a
    // simulation runs.
    for (QWidget *other : form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (other == form.sBB_Cosmos || other->isWindow())
            continue;
        EXPECT_FALSE(other->geometry().intersects(cosmos)) << other->objectName().toStdString();
    }
    // Its name is read whole beside the picture.
    const int needed = form.sBB_Cosmos->iconSize().width() + form.sBB_Cosmos->fontMetrics().horizontalAdvance(QStringLiteral("Cosmos"));
    EXPECT_LT(needed, cosmos.width());
    // To look at (build folder).
    EXPECT_TRUE(form.grab().save(QStringLiteral(TESSARION_BINARY_DIR "/status_cosmos_button.png")));
}
