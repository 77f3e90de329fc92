// The word browser lists the words of one level in text order below "■",
// speaks a clicked word, and opens only when the level has words.
#include "app/TrainingWindowFixture.h"
#include "app/WordPanel.h"
#include "engine/CommonUnit.h"
#include "files/SelectionUnit.h"
#include "progress/StatusUnit.h"
#include "support/EngineFolder.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
struct TBrowserEnv : TEngineFolder {
    TBrowserEnv(const QString &code = QStringLiteral("TT"), int slot = 6) : TEngineFolder(code, slot, 5)
    {
        const char *words[] = {"river", "Bank2", "abode", "bank1", "zeal"};
        const int levels[] = {3, 3, 99, 3, 4};
        for (int p = 1; p <= 5; ++p) {
            cc.words[p].word = QString::fromLatin1(words[p - 1]);
            cc.words[p].joinedMeanings = QStringLiteral("意味%1").arg(p);
            cc.words[p].level = levels[p - 1];
        }
    }
};
}

TEST(SelectionForm, ListsTheWordsOfALevelAfterTheWindowAppears)
{
    TBrowserEnv env;
    TSelectionForm form;
    QList<std::pair<QString, int>> spoken;
    form.speakText = [&](const QString &text, int slot) { spoken.append({text, slot}); };
    QStringList sounds;
    form.playSoundEffect = [&](const QString &name) { sounds.append(name); };

    ASSERT_TRUE(form.Prepare(env.cc, 3));
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("習熟レベル 3 の単語"));
    EXPECT_FALSE(form.TntTreeView->isVisible());   // the wait label first
    EXPECT_EQ(form.sLabel1->text(), QStringLiteral("・・・　しばらくお待ちください　・・・"));
    EXPECT_TRUE(form.Timer1->isActive());
    form.Timer1Timer();
    ASSERT_EQ(form.TntTreeView->topLevelItemCount(), 1);
    const QTreeWidgetItem *root = form.TntTreeView->topLevelItem(0);
    EXPECT_EQ(root->text(0), QStringLiteral("■"));
    QStringList lines;
    for (int k = 0; k < root->childCount(); ++k)
        lines.append(root->child(k)->text(0));
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Bank （ 意味2 ）"), QStringLiteral("bank （ 意味4 ）"),
                                  QStringLiteral("river （ 意味1 ）")}));
    EXPECT_TRUE(form.TntTreeView->isVisible());
    EXPECT_TRUE(form.sButton_close->isVisible());

    form.TntTreeView->setCurrentItem(root->child(2));
    form.TntTreeViewClick();
    ASSERT_EQ(spoken.size(), 1);
    EXPECT_EQ(spoken.at(0), std::make_pair(QStringLiteral("river"), 6));

    form.sButton_closeClick();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(sounds, QStringList{QStringLiteral("BUTTON")});
    EXPECT_EQ(form.sLabel1->text(), QStringLiteral("・・・　しばらくお待ちください　・・・"));
    EXPECT_FALSE(form.sButton_close->isVisibleTo(&form));
}

TEST(SelectionForm, ALevelWithoutWordsOpensNothing)
{
    TBrowserEnv env(QStringLiteral("TJ"), 7);
    TSelectionForm form;
    EXPECT_FALSE(form.Prepare(env.cc, 5));
    EXPECT_EQ(env.messages().messages, QStringList{QStringLiteral("この習熟レベルに該当する語は一つもありません。")});
    form.ShowLevel(env.cc, 7);   // returns at once: no window
    EXPECT_FALSE(form.isVisible());

    // Level 99 lists the words excluded from questions; a phrase file says so.
    ASSERT_TRUE(form.Prepare(env.cc, 99));
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("習熟レベル 99 の熟語"));
    form.Timer1Timer();
    EXPECT_EQ(form.TntTreeView->topLevelItem(0)->childCount(), 1);
    form.reject();
}

TEST(SelectionForm, OpensFromTheLevelButtonsOfTheStatusWindow)
{
    TBrowserEnv env;
    env.cc.settings.learningStartDate = QStringLiteral("2009/07/01");
    TStatusForm status(env.cc);
    QList<int> asked;
    status.openWordBrowser = [&](TCC &cc, int level) {
        EXPECT_EQ(&cc, &env.cc);
        asked.append(level);
    };
    status.FormShow(TStatusMode::Normal);
    status.sSB[3]->click();
    status.sSB[13]->click();
    EXPECT_EQ(asked, (QList<int>{3, 99}));
}

// The zodiac sign of the word just answered opens the words of its level.
TEST_F(TTrainingWindowTest, TheZodiacSignOpensTheWordsOfTheCurrentWordsLevel)
{
    StartToReady();
    AskQuestion();
    AnswerCorrectly();
    const int level = cc().words[flow().currentWord()].level;
    QString caption;
    int lines = -1;
    WhenModalOpens([&](QWidget *w) {
        auto *browser = qobject_cast<TSelectionForm *>(w);
        ASSERT_NE(browser, nullptr);
        browser->Timer1Timer();
        caption = browser->windowTitle();
        lines = browser->TntTreeView->topLevelItem(0)->childCount();
        browser->sButton_close->click();
    });
    QTest::mouseClick(ui().wordPanel->ImageZodiacM, Qt::LeftButton);
    EXPECT_EQ(caption, QStringLiteral("習熟レベル %1 の単語").arg(level));
    EXPECT_EQ(lines, cc().CountWordsAtLevel(level));
}
