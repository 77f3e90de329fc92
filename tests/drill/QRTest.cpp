// The quick-response drill window on a clock of the test's own.
#include "drill/QR.h"
#include "engine/CommonUnit.h"
#include "base/TextFiles.h"
#include "support/EngineFolder.h"

#include <QApplication>
#include <QFontComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
struct TDrillEnv : TEngineFolder {
    TDrillEnv() : TEngineFolder(QStringLiteral("TT"), 6, 5)
    {
        const char *words[] = {"abandon", "ability", "able", "abroad", "absence"};
        const char *meanings[] = {"見捨てる", "能力", "できる", "海外に", "不在"};
        for (int p = 1; p <= 5; ++p) {
            cc.words[p].word = QString::fromLatin1(words[p - 1]);
            cc.words[p].joinedMeanings = QString::fromUtf8(meanings[p - 1]);
            cc.askedWords.Set(p, p);
        }
        cc.SetDefaultFileSettings(true);
        cc.settings.quickResponseValues = {60, 50, 50};   // 2 s a word
    }
    qint64 clock = 0;
};
}

TEST(QuickResponseForm, WordsFadeOnTheClockAndKeysScoreThem)
{
    TDrillEnv env;
    TQR_Form form(env.cc);
    form.now = [&] { return env.clock; };
    form.show();
    form.PrepareDrill();
    form.sButton_start->click();
    ASSERT_FALSE(form.sButton_FtoJ->isHidden());
    form.sButton_FtoJ->click();
    EXPECT_EQ(form.sTrackBar_speed->value(), 60);
    ASSERT_TRUE(form.PassRunning());
    EXPECT_EQ(form.canvas->Text(), QStringLiteral("Let's start training!"));
    QTest::keyClick(&form, Qt::Key_Space);   // the intro takes no key
    EXPECT_EQ(form.Drill().CurrentItem(), 0);

    // Each item lasts 2 s; never shorter, however often frames come.
    env.clock = 2000;
    form.Frame();
    EXPECT_EQ(form.Drill().CurrentItem(), 0);
    env.clock = 2001;
    form.Frame();
    ASSERT_EQ(form.Drill().CurrentItem(), 1);
    EXPECT_EQ(form.canvas->Text(), QStringLiteral("abandon"));
    EXPECT_EQ(form.sPanel_bottom->text(), QStringLiteral("1 / 5"));
    env.clock = 2001 + 1000;
    form.Frame();
    EXPECT_EQ(form.canvas->Grey(), 152);   // half way: trunc(127 x 1.2)
    QTest::keyClick(&form, Qt::Key_A);
    EXPECT_EQ(form.sPanel_bottom->text(), QStringLiteral("○"));
    // Words 2 and 4 right as well; 3 and 5 missed.
    for (int item = 2; item <= 5; ++item) {
        env.clock += 2001;
        form.Frame();
        ASSERT_EQ(form.Drill().CurrentItem(), item);
        if (item % 2 == 0)
            QTest::keyClick(&form, Qt::Key_Return);
    }
    env.clock += 2001;
    form.Frame();
    EXPECT_FALSE(form.PassRunning());
    QTreeWidgetItem *root = form.TntTreeView->topLevelItem(0);
    ASSERT_EQ(root->childCount(), 5);
    EXPECT_EQ(root->text(0), QStringLiteral("トレーニング結果"));
    EXPECT_EQ(root->child(0)->text(0), QStringLiteral("[○] 1. abandon （ 見捨てる ）"));
    EXPECT_EQ(root->child(2)->text(0), QStringLiteral("[×] 3. able （ できる ）"));
    EXPECT_FALSE(form.sButton_again_miss->isHidden());
    EXPECT_EQ(form.sButton_fin->text(), QStringLiteral("ＯＫ"));

    // Missed words only: 3 and 5.
    form.sButton_again_miss->click();
    env.clock += 2001;
    form.Frame();
    EXPECT_EQ(form.Drill().CurrentItem(), 3);
    EXPECT_EQ(form.sPanel_bottom->text(), QStringLiteral("1 / 2"));
    form.sButton_cancelClick();
    EXPECT_FALSE(form.PassRunning());
    EXPECT_EQ(form.TntTreeView->topLevelItem(0)->childCount(), 2);

    // Closing keeps the speed and the rest with the file's settings.
    form.sButton_finClick();
    form.sButton_finClick();
    EXPECT_EQ(ReadStateLines(env.cc.FileSettingsPath()).value_or(QStringList()).value(32), QStringLiteral("60"));
}

TEST(QuickResponseForm, TheWhiteAreaStandsOnlyDuringAPass)
{
    TDrillEnv env;
    TQR_Form form(env.cc);
    form.now = [&] { return env.clock; };
    form.show();
    form.PrepareDrill();
    // The invitation, the instructions and the results are not covered.
    EXPECT_FALSE(form.canvas->isVisible());
    const QRect area = form.canvas->geometry();
    const QImage invitation = form.grab(area).toImage();
    int white = 0;
    for (int y = 0; y < invitation.height(); ++y)
        for (int x = 0; x < invitation.width(); ++x)
            white += invitation.pixelColor(x, y) == QColor(Qt::white) ? 1 : 0;
    EXPECT_LT(white, invitation.width() * invitation.height() / 2);
    form.sButton_start->click();
    EXPECT_FALSE(form.canvas->isVisible());
    form.sButton_FtoJ->click();
    EXPECT_TRUE(form.canvas->isVisible());
    form.sButton_cancelClick();
    EXPECT_FALSE(form.canvas->isVisible());
    form.sButton_finClick();
    EXPECT_FALSE(form.canvas->isVisible());
}

TEST(QuickResponseForm, ArrowKeysScoreEvenAfterAClickOnTheSpeed)
{
    TDrillEnv env;
    TQR_Form form(env.cc);
    form.now = [&] { return env.clock; };
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.PrepareDrill();
    form.sButton_start->click();
    form.sButton_FtoJ->click();
    env.clock = 2001;
    form.Frame();
    ASSERT_EQ(form.Drill().CurrentItem(), 1);
    // A click on the slider's groove.
    QTest::mouseClick(form.sTrackBar_speed, Qt::LeftButton, {}, QPoint(5, form.sTrackBar_speed->height() / 2));
    const int speed = form.sTrackBar_speed->value();
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &form;
    EXPECT_NE(target, form.sTrackBar_speed);
    QTest::keyClick(target, Qt::Key_Left);
    EXPECT_EQ(form.sTrackBar_speed->value(), speed);
    EXPECT_EQ(form.sPanel_bottom->text(), QStringLiteral("○"));
    EXPECT_TRUE(form.Drill().IsCorrect(1));
    form.sButton_cancelClick();
}

TEST(QuickResponseForm, OpeningKeepsTheStoredFaceAndTheDefaultComesBack)
{
    TDrillEnv env;
    // A face this computer has only through a stand-in, as the drill's
    // decorative default is.
    TQR_Form form(env.cc);
    const QString missing = QStringLiteral("Tessarion Drill Test Face");
    QFont::insertSubstitution(missing, form.sFontComboBox1->itemText(form.sFontComboBox1->count() / 2));
    env.cc.settings.quickResponseFont = missing;
    form.show();
    form.PrepareDrill();
    EXPECT_EQ(env.cc.settings.quickResponseFont, missing);
    form.sButton_default->click();
    EXPECT_EQ(env.cc.settings.quickResponseFont, QStringLiteral("Papyrus"));
    // Opened again, the default stays the stored face.
    form.PrepareDrill();
    EXPECT_EQ(env.cc.settings.quickResponseFont, QStringLiteral("Papyrus"));
    // A face the learner picks is stored.
    form.sFontComboBox1->setCurrentIndex(form.sFontComboBox1->count() - 1);
    EXPECT_EQ(env.cc.settings.quickResponseFont, form.sFontComboBox1->currentFont().family());
}
