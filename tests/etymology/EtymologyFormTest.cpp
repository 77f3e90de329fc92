// The etymology window: search, related-word menus, going back through the
// shown words, screen types, the main window's page and a damaged data file.
#include "etymology/EtymologyUnit.h"

#include "EtymologyFixture.h"
#include "data/LearningFile.h"
#include "support/EngineFolder.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace etymology_fixture;

namespace {
// Waits on a window condition give up only after this long.
constexpr int kWaitLimitMs = 10000;

struct EtymologyForm : testing::Test {
    void SetUp() override
    {
        engine.dir.write(kEtymologyFile, EncodeLearningText(FixtureText()).toUtf8());
        engine.cc.settings.learningStartDate = QStringLiteral("2009/7/1");
        form.menuDelayMs = 0;
    }
    void TearDown() override
    {
        form.PopupActionBar1->close();
        form.hide();
    }
    int Index(const char *word) { return form.Database().FindHeadword(S(word)); }
    void Search(const QString &text)
    {
        form.sEdit_search->setText(text);
        QTest::keyClick(form.sEdit_search, Qt::Key_Return);
    }
    QStringList MenuTexts() const
    {
        QStringList texts;
        for (QAction *action : form.PopupActionBar1->actions())
            texts << action->text();
        return texts;
    }
    void Hover(int label)
    {
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(form.Label_rel[static_cast<size_t>(label)], &enter);
        // The list of relatives opens as a menu once its delay has passed.
        (void)QTest::qWaitFor([&] { return form.PopupActionBar1->isVisible() || form.RelatedWords().isEmpty(); },
                        kWaitLimitMs);
    }
    void Unhover(int label)
    {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(form.Label_rel[static_cast<size_t>(label)], &leave);
    }
    int VisibleLabels() const
    {
        int n = 0;
        for (QLabel *label : form.Label_rel)
            n += label->isVisible() ? 1 : 0;
        return n;
    }

    TEngineFolder engine;
    TEtymologyForm form{engine.cc};
};
}

TEST_F(EtymologyForm, SearchesTypedWordsAndTheirFirstHomonym)
{
    form.show();
    Search(S("inspection"));
    EXPECT_EQ(form.Chart().Record(), Index("inspection"));
    EXPECT_EQ(VisibleLabels(), 5);
    EXPECT_EQ(form.Label_rel[2]->text(), S("<L> spect"));
    EXPECT_EQ(form.Label_rel[2]->geometry().topLeft(), QPoint(20 + 51, 15 + 77));   // over its text on the canvas
    EXPECT_EQ(form.sLabel_from->text(), S("Latin"));

    // A word that is no headword changes nothing; a homonym is found by its number.
    Search(S("bank"));
    EXPECT_EQ(form.Chart().Record(), Index("inspection"));
    Search(S("bank2"));
    EXPECT_EQ(form.Chart().Record(), Index("bank2"));
    EXPECT_EQ(engine.messages().messages, QStringList{kRootKeyMissingMessage});   // bank2's root is not in the tree
    Search(S("Inspection"));   // headwords are compared exactly
    EXPECT_EQ(form.Chart().Record(), Index("bank2"));
}

TEST_F(EtymologyForm, OpensRelatedWordsAndGoesBackByKeyAndButton)
{
    form.show();
    Search(S("manual"));
    ASSERT_EQ(form.Chart().Record(), Index("manual"));
    // Pointing at the root "manu" lists every word built on it, each followed
    // by the words made from it, sorted.
    int root = -1;
    for (int n = 0; n < static_cast<int>(form.Chart().Labels().size()); ++n)
        if (form.Chart().Labels()[static_cast<size_t>(n)].kind == TChartLabelKind::RootChild)
            root = n;
    ASSERT_GE(root, 0);
    Hover(root);
    const QStringList expected{S("chaina"), S("chainb"), S("chainb"), S("chainc"), S("chainc"),
                               S("chaind"), S("chaind"),  S("chaine"), S("chaine"), S("chainf"),
                               S("chainf"), S("manual"),  S("manuscript"), S("manuscript")};
    EXPECT_EQ(form.RelatedWords(), expected);
    EXPECT_EQ(MenuTexts(), expected);
    EXPECT_TRUE(form.PopupActionBar1->isVisible());
    EXPECT_EQ(form.Label_rel[static_cast<size_t>(root)]->palette().color(QPalette::WindowText), form.Colours().hover);
    // Escape with a menu open closes only the menu.
    QTest::keyClick(form.PopupActionBar1, Qt::Key_Escape);
    EXPECT_FALSE(form.PopupActionBar1->isVisible());
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.RelatedWords().isEmpty());

    // Choosing a word shows its chart; its place in the history is kept.
    Unhover(root);
    Hover(root);
    ASSERT_TRUE(form.PopupActionBar1->isVisible());
    form.PopupActionBar1->actions().at(static_cast<int>(expected.indexOf(S("manuscript"))))->trigger();
    EXPECT_EQ(form.Chart().Record(), Index("manuscript"));
    Search(S("inspection"));
    EXPECT_EQ(form.History(), (std::vector<int>{Index("manual"), Index("manuscript")}));
    EXPECT_TRUE(form.sButton_back->isEnabled());

    // Back by the button, then by Backspace in the empty search box.
    form.sButton_back->click();
    EXPECT_EQ(form.Chart().Record(), Index("manuscript"));
    form.sEdit_search->clear();
    QTest::keyClick(form.sEdit_search, Qt::Key_Backspace);
    EXPECT_EQ(form.Chart().Record(), Index("manual"));
    EXPECT_FALSE(form.sButton_back->isEnabled());
    QTest::keyClick(form.sEdit_search, Qt::Key_Backspace);   // nothing further back
    EXPECT_EQ(form.Chart().Record(), Index("manual"));

    // Every new question starts the history afresh.
    Search(S("inspection"));
    form.ClearHistory();
    EXPECT_TRUE(form.History().empty());
    EXPECT_FALSE(form.sButton_back->isEnabled());

    // With no list open, Escape closes the window.
    QTest::keyClick(form.sEdit_search, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(EtymologyForm, ListsRelativesOfEachKindOfLabel)
{
    form.show();
    Search(S("construction"));
    QStringList seen;
    for (int n = 0; n < static_cast<int>(form.Chart().Labels().size()); ++n) {
        const TChartLabel &label = form.Chart().Labels()[static_cast<size_t>(n)];
        Hover(n);
        seen << ChartLabelKindName(label.kind) + QLatin1Char(':') + form.RelatedWords().join(QLatin1Char(','));
        form.PopupActionBar1->close();
        Unhover(n);
    }
    EXPECT_EQ(seen, (QStringList{S("title:construct"),
                                 S("suffix:"),                                        // no other word ends in -tion
                                 S("title:construction"),                             // construct's family
                                 S("root_child:construct,construction,construction,kingdom,sunflower"),
                                 S("root_parent:construct,construction,construction,kingdom,sunflower"),
                                 S("prefix:construction"),
                                 S("root_child:construct,construction,construction,kingdom,sunflower"),
                                 S("root_parent:construct,construction,construction,kingdom,sunflower"),
                                 S("prefix:construct")}));
}

TEST_F(EtymologyForm, ScreenTypesCycleAndRedrawTheChart)
{
    form.show();
    Search(S("inspection"));
    EXPECT_EQ(form.ScreenType(), 3);   // no stored screen type
    struct Expected {
        int type;
        bool background, white, rich, simple, simpleWhite, from, fromFX;
    };
    const Expected cycle[] = {
        {4, false, true, false, false, true, true, false}, {5, false, false, false, false, false, false, true},
        {1, true, false, true, false, false, true, false}, {2, true, false, true, false, false, true, false},
        {3, true, false, false, true, false, true, false},
    };
    for (const Expected &e : cycle) {
        QTest::mouseClick(form.Image_forAthenaClick, Qt::LeftButton);
        EXPECT_EQ(form.ScreenType(), e.type);
        EXPECT_EQ(form.Image_BG->isVisible(), e.background) << e.type;
        EXPECT_EQ(form.Image_white->isVisible(), e.white) << e.type;
        EXPECT_EQ(form.Image_Athena_Rich->isVisible(), e.rich) << e.type;
        EXPECT_EQ(form.Image_Athena_Simple->isVisible(), e.simple) << e.type;
        EXPECT_EQ(form.Image_Athena_SimpleWhite->isVisible(), e.simpleWhite) << e.type;
        EXPECT_EQ(form.sLabel_from->isVisible(), e.from) << e.type;
        EXPECT_EQ(form.sLabelFX_from->isVisible(), e.fromFX) << e.type;
        EXPECT_EQ(form.Colours(), ChartColoursOf(e.type));
        // The chart is drawn again in the new colours.
        EXPECT_EQ(form.Canvas().pixelColor(18, 60), ChartColoursOf(e.type).line) << e.type;
        EXPECT_EQ(engine.cc.formPosition.etymologyScreenType, e.type);
        EXPECT_EQ(form.sLabelFX_from->text(), S("Latin"));
    }
}

TEST_F(EtymologyForm, FeedsTheMainWindowsPageAndShowsTheCurrentWord)
{
    engine.cc.words[1].word = S("inspection");
    engine.cc.words[2].word = S("unknown");
    engine.cc.words[3].word = S("bank2");
    const QImage page = form.PageChart(1).toImage();
    ASSERT_EQ(page.size(), QSize(kChartWidth, kChartHeight));
    EXPECT_EQ(page.pixelColor(18, 60), ChartColoursOf(3).line);
    EXPECT_EQ(page.pixelColor(790, 590), QColor(Qt::white));
    // A word without a record gives a plain white page.
    QImage white(page.size(), page.format());
    white.fill(Qt::white);
    EXPECT_EQ(form.PageChart(2).toImage().convertToFormat(page.format()), white);
    // The page's chart leaves the window's chart alone.
    EXPECT_TRUE(form.Chart().IsEmpty());
    EXPECT_FALSE(form.isVisible());

    // The main window's space key: the window shows the current word.
    form.ShowWord(1);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.Chart().Record(), Index("inspection"));
    form.ShowWord(3);
    EXPECT_EQ(form.Chart().Record(), Index("bank2"));
    EXPECT_EQ(form.History(), std::vector<int>{Index("inspection")});
    form.ShowWord(2);
    EXPECT_TRUE(form.Chart().IsEmpty());
    EXPECT_EQ(VisibleLabels(), 0);
}

TEST(EtymologyFormKeys, SpaceReturnsToTheMainWindowAndTheWindowGoesAway)
{
    TEngineFolder engine;
    engine.dir.write(kEtymologyFile, EncodeLearningText(FixtureText()).toUtf8());
    engine.cc.words[1].word = S("inspection");
    QWidget main;
    main.resize(800, 600);
    main.show();
    TEtymologyForm form(engine.cc, &main);
    for (QWidget *target : std::initializer_list<QWidget *>{form.sEdit_search, &form}) {
        form.ShowWord(1);
        ASSERT_TRUE(form.isVisible());
        QTest::keyClick(target, Qt::Key_Space);
        EXPECT_FALSE(form.isVisible()) << "Space leaves the window over the main window";
        // The search box took no space.
        EXPECT_FALSE(form.sEdit_search->text().contains(u' '));
    }
    // Shown again, it has kept the word's chart.
    form.ShowWord(1);
    EXPECT_EQ(form.Chart().Record(), form.Database().FindHeadword(S("inspection")));
    form.hide();
}

TEST_F(EtymologyForm, HintLinesShowOnlyInTheFirstDaysOfARecord)
{
    const std::pair<const char *, bool> cases[] = {{"2009/7/5", true}, {"2009/7/2", true}, {"2009/7/1", false}};
    for (const auto &[start, shown] : cases) {
        engine.cc.settings.learningStartDate = S(start);
        form.show();
        form.activateWindow();
        QApplication::setActiveWindow(&form);
        (void)QTest::qWaitFor([&] { return form.Label_remark->isVisible() == shown; }, kWaitLimitMs);
        EXPECT_EQ(form.Label_remark->isVisible(), shown) << start;
        EXPECT_EQ(form.Label_remark3->text(), S("※スペースキーでもとの画面に戻ります"));
        form.hide();
    }
}

TEST(EtymologyFormData, ADamagedFileIsReportedOnceAndLeavesChartsEmpty)
{
    TEngineFolder engine;
    QStringList lines = FixtureLines();
    lines.removeAt(lines.indexOf(S("affix")));
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    engine.dir.write(kEtymologyFile, EncodeLearningText(text).toUtf8());
    engine.cc.words[1].word = S("inspection");
    TEtymologyForm form(engine.cc);
    form.PageChart(1);
    form.ShowWord(1);
    ASSERT_EQ(engine.messages().messages.size(), 1);
    EXPECT_TRUE(engine.messages().messages.first().contains(S("Etymology_enc.dat")));
    EXPECT_TRUE(form.Chart().IsEmpty());
    form.hide();
}

TEST_F(EtymologyForm, OpensWhereItWasLeftInItsScreenType)
{
    engine.dir.writeLines(engine.userFile(QStringLiteral("setting/FormPosition.dat")),
                          {S("100"), S("200"), S("150"), S("250"), S("0"), S("5")});
    form.show();
    EXPECT_EQ(form.frameGeometry().topLeft(), QPoint(250, 150));
    EXPECT_EQ(form.ScreenType(), 5);
    EXPECT_TRUE(form.sLabelFX_from->isVisible());
    // Moved and switched, both are kept for the next settings save.
    form.move(240, 140);
    QTest::mouseClick(form.Image_forAthenaClick, Qt::LeftButton);
    EXPECT_EQ(engine.cc.formPosition.etymologyLeft, form.frameGeometry().left());
    EXPECT_EQ(engine.cc.formPosition.etymologyTop, form.frameGeometry().top());
    EXPECT_EQ(engine.cc.formPosition.etymologyScreenType, 1);
    EXPECT_EQ(engine.cc.formPosition.mainTop, 100);   // the main window's place is not the window's to change
}

TEST(EtymologyFormPlace, AnUnknownStoredScreenTypeGivesTheDefaultThatTheFigureSwitches)
{
    TEngineFolder engine;
    engine.dir.writeLines(engine.userFile(QStringLiteral("setting/FormPosition.dat")),
                          {S("100"), S("200"), S("150"), S("250"), S("0"), S("9")});
    TEtymologyForm form(engine.cc);
    form.show();
    EXPECT_EQ(form.ScreenType(), 3);
    QTest::mouseClick(form.Image_forAthenaClick, Qt::LeftButton);
    EXPECT_EQ(form.ScreenType(), 4);
    form.hide();
}
