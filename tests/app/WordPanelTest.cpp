// The word panel below the question: the curve graph as drawn, the telop
// line, and the pages after answers on words of each stage.
#include "TrainingWindowFixture.h"

#include "app/MainWidgets.h"
#include "app/Skins.h"
#include "app/WordPanel.h"
#include "etymology/EtymologyUnit.h"
#include "data/RecordFile.h"
#include "engine/RetentionCurve.h"
#include "help/Pictures.h"

#include <QDir>
#include <QSignalSpy>
#include <QMouseEvent>
#include <QPainter>
#include <QTreeWidget>
#include <cmath>

namespace {

const QColor kBackground(0xF0, 0xF0, 0xF0);

QImage PlainBackground()
{
    QImage image(kCurveGraphWidth, kCurveGraphHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(kBackground);
    return image;
}

QPoint InGraph(float x, float y)
{
    return {kCurveGraphOriginX + static_cast<int>(std::trunc(x)), kCurveGraphOriginY + static_cast<int>(std::trunc(y))};
}

bool Near(const QColor &a, const QColor &b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// Pixels of about this colour inside the rectangle.
int CountColour(const QImage &image, const QRect &area, const QColor &colour, int tolerance = 12)
{
    int n = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += Near(image.pixelColor(x, y), colour, tolerance) ? 1 : 0;
    return n;
}

// Where the mark of the last entry stands.
QRect MarkArea(const TEntryCurve &last)
{
    return QRect(InGraph(last.startX, 0) + QPoint(-7, -16), QSize(16, 16));
}

}   // namespace

TEST(CurveGraphPicture, DrawsTheCurvesOfEachStageOverItsBackground)
{
    struct TCase {
        const char *name;
        TStage stage;
        QList<THistoryPoint> entries;
    };
    const TCase cases[] = {
        {"stage 1: questions 0, 40, 160", TStage::One, {{0, 2}, {40, 3}, {160, 4}}},
        {"stage 2: days 0, 20, 80", TStage::Two, {{2460000, 6}, {2460020, 7}, {2460080, 8}}},
        {"stage 3: no curve", TStage::Three, {}},
    };
    const TCurveColours colours = CurveColoursOfSkin(QStringLiteral("Athena"));
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.name);
        TCurveGraphInputs inputs;
        inputs.background = c.stage;
        inputs.curves = BuildRetentionCurves(c.stage, c.entries);
        int entriesShown = 0;
        const QImage graph = DrawCurveGraph(inputs, PlainBackground(), colours, [&](const QImage &) {
            ++entriesShown;
            return true;
        });
        ASSERT_EQ(graph.size(), QSize(kCurveGraphWidth, kCurveGraphHeight));
        if (c.stage == TStage::Three) {
            EXPECT_EQ(CountColour(graph, graph.rect(), kBackground, 0), graph.width() * graph.height());
            EXPECT_EQ(entriesShown, 0);
            continue;
        }
        ASSERT_EQ(inputs.curves.size(), c.entries.size());
        EXPECT_EQ(entriesShown, c.entries.size());   // the curves appear one after the other
        for (const TEntryCurve &curve : inputs.curves) {
            const TCurvePoint mid = curve.points.at(curve.points.size() / 2);
            EXPECT_EQ(graph.pixelColor(InGraph(mid.x, mid.y)), curve.last ? colours.lastLine : colours.line)
                << "level " << curve.level;
            if (curve.returnsToTop) {
                // Back to full retention where the next entry begins.
                EXPECT_EQ(graph.pixelColor(InGraph(curve.returnX, curve.returnY / 2)), colours.line);
            }
        }
        EXPECT_GT(CountColour(graph, MarkArea(inputs.curves.last()), kLastEntryMarkColour), 4);
        // Only the last entry is marked.
        EXPECT_EQ(CountColour(graph, MarkArea(inputs.curves.first()), kLastEntryMarkColour), 0);
        // The last curve is trimmed at the plot's right edge.
        EXPECT_EQ(CountColour(graph, QRect(771, 50, 11, 97), Qt::white, 0), 11 * 97);
    }
}

TEST(CurveGraphPicture, AStoppedDrawingEndsAfterTheEntryItShowed)
{
    TCurveGraphInputs inputs;
    inputs.background = TStage::One;
    inputs.curves = BuildRetentionCurves(TStage::One, {{0, 2}, {40, 3}, {160, 4}});
    const TCurveColours colours = CurveColoursOfSkin(QStringLiteral("Nike"));
    int shown = 0;
    const QImage graph = DrawCurveGraph(inputs, PlainBackground(), colours, [&](const QImage &) { return ++shown < 1; });
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(CountColour(graph, graph.rect(), colours.lastLine, 0), 0);
    EXPECT_EQ(CountColour(graph, MarkArea(inputs.curves.last()), kLastEntryMarkColour), 0);
}

TEST(CurveGraphPicture, SkinsWithoutColoursOfTheirOwnShareOne)
{
    const TCurveColours zeus = CurveColoursOfSkin(QStringLiteral("Zeus"));
    EXPECT_EQ(zeus.line, QColor(0x58, 0x58, 0x58));
    EXPECT_EQ(zeus.lastShadow, QColor(0xD3, 0xD3, 0xD3));
    EXPECT_EQ(CurveColoursOfSkin(QStringLiteral("Aegean")).shadow, zeus.shadow);
    EXPECT_EQ(CurveColoursOfSkin(QStringLiteral("Eos")).line, QColor(0xFE, 0xFE, 0xFE));
}

TEST(CurveGraphPicture, EveryCurveStandsOutFromThePlotOfItsSkin)
{
    TCurveGraphInputs inputs;
    inputs.background = TStage::One;
    inputs.curves = BuildRetentionCurves(TStage::One, {{0, 2}, {40, 3}, {160, 4}});
    for (const TSkin &skin : SkinTable()) {
        SCOPED_TRACE(skin.name.toStdString());
        const QImage stage1 = SvgPicture(QStringLiteral(":/stages/Stage1%1.svg").arg(skin.pictureSuffix)).toImage();
        const QImage stage2 = SvgPicture(QStringLiteral(":/stages/Stage2%1.svg").arg(skin.pictureSuffix)).toImage();
        ASSERT_FALSE(stage1.isNull());
        const QColor plot = PlotTone(stage1);
        EXPECT_EQ(PlotTone(stage2), plot);   // both stages draw with one set of colours
        const TCurveColours own = CurveColoursOfSkin(skin.name);
        const TCurveColours colours = ReadableCurveColours(own, plot);
        // A colour that reads already stays the skin's own.
        for (const auto &[drawn, ownColour] : {std::pair(colours.line, own.line), std::pair(colours.lastLine, own.lastLine)})
            if (CurveContrast(ownColour, plot) >= 3.0)
                EXPECT_EQ(drawn, ownColour);
        EXPECT_NE(colours.line, colours.lastLine);
        // As drawn: the middle of the first (earlier) and of the last curve.
        const QImage graph = DrawCurveGraph(inputs, stage1, colours).convertToFormat(QImage::Format_ARGB32);
        // To look at, when TESSARION_PANEL_SHOTS names a folder.
        if (const QString folder = qEnvironmentVariable("TESSARION_PANEL_SHOTS"); !folder.isEmpty() && QDir().mkpath(folder))
            graph.save(folder + QStringLiteral("/curves_%1.png").arg(skin.name));
        for (const TEntryCurve &curve : {inputs.curves.first(), inputs.curves.last()}) {
            const TCurvePoint mid = curve.points.at(curve.points.size() / 2);
            const QColor pixel = graph.pixelColor(InGraph(mid.x, mid.y));
            EXPECT_GE(CurveContrast(pixel, plot), 3.0) << (curve.last ? "last " : "earlier ") << pixel.name().toStdString()
                                                      << " on " << plot.name().toStdString();
        }
    }
    // The faint ones seen: Hephaestus' last curve and Tritogeneia's earlier ones, on the grey plot.
    const QColor grey = PlotTone(SvgPicture(QStringLiteral(":/stages/Stage1_C.svg")).toImage());
    EXPECT_LT(CurveContrast(CurveColoursOfSkin(QStringLiteral("Hephaestus")).lastLine, grey), 3.0);
    EXPECT_LT(CurveContrast(CurveColoursOfSkin(QStringLiteral("Tritogeneia")).line, grey), 3.0);
}

TEST(TelopLine, ShortensAtTheLastCommaThatFitsOrCutsALoneWord)
{
    // Every character is 10 pixels wide.
    const auto width = [](const QString &s) { return static_cast<int>(s.size()) * 10; };
    struct TCase {
        QStringList words;
        int maxWidth;
        QString line;
    };
    const TCase cases[] = {
        {{}, 873, QString()},
        {{QStringLiteral("alpha"), QStringLiteral("beta")}, 873, QStringLiteral("alpha,   beta")},
        // 13 characters: too wide for 130, the second word goes.
        {{QStringLiteral("alpha"), QStringLiteral("beta")}, 130, QStringLiteral("alpha ...")},
        {{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, 110, QStringLiteral("a,   b ...")},
        {{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, 90, QStringLiteral("a ...")},
        // No comma to cut at: the word itself is cut until it fits.
        {{QStringLiteral("abcdefghij")}, 80, QStringLiteral("abc ...")},
        {{QStringLiteral("abcdefghij"), QStringLiteral("k")}, 80, QStringLiteral("abc ...")},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.words.join(QLatin1Char('|')).toStdString() + " in " + std::to_string(c.maxWidth));
        const QString line = TelopLine(c.words, width, c.maxWidth);
        EXPECT_EQ(line, c.line);
        EXPECT_LT(width(line), c.maxWidth);
    }
}

TEST(WordPanelPictures, EverySignAndFlagIsThere)
{
    for (int level : {0, 1, 5, 6, 12, 99}) {
        const QString name = ZodiacName(level);
        ASSERT_FALSE(name.isEmpty()) << level;
        EXPECT_FALSE(SvgPicture(QStringLiteral(":/zodiac/%1.svg").arg(name)).isNull()) << level;
    }
    EXPECT_EQ(ZodiacName(1), QStringLiteral("Aries"));
    EXPECT_EQ(ZodiacName(12), QStringLiteral("Pisces"));
    EXPECT_EQ(ZodiacName(99), QStringLiteral("SouthernCross"));
    EXPECT_TRUE(ZodiacName(13).isEmpty());
    EXPECT_TRUE(ZodiacName(-1).isEmpty());
    for (int kind : {0, 2, 3, 4, 5, 6, 7, 8})
        EXPECT_FALSE(LanguageFlagIcon(kind).isNull()) << kind;
    EXPECT_TRUE(LanguageFlagIcon(1).isNull());
    EXPECT_TRUE(LanguageFlagIcon(9).isNull());

    // A sheet of them, enlarged, to look at (when TESSARION_PANEL_SHOTS names a folder).
    const QString folder = qEnvironmentVariable("TESSARION_PANEL_SHOTS");
    if (folder.isEmpty())
        return;
    constexpr int kZoom = 4;
    QImage sheet(15 * 36 * kZoom / 2, 3 * 36 * kZoom, QImage::Format_RGB32);
    sheet.fill(QColor(0xDA, 0xDA, 0xDA));
    QPainter p(&sheet);
    int n = 0;
    for (int level : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 99}) {
        const QPixmap sign = SvgPicture(QStringLiteral(":/zodiac/%1.svg").arg(ZodiacName(level)), kZoom);
        p.drawPixmap(QPoint((n % 7) * 36 * kZoom, (n / 7) * 36 * kZoom), sign);
        ++n;
    }
    n = 0;
    for (int kind : {0, 2, 3, 4, 5, 6, 7, 8})
        p.drawPixmap(QPoint((n++) * 20 * kZoom, 2 * 36 * kZoom), LanguageFlagIcon(kind).pixmap(16 * kZoom));
    p.end();
    QDir().mkpath(folder);
    sheet.save(folder + QStringLiteral("/signs_and_flags.png"));
}

// ---------------------------------------------------------------------------
// The panel in the training window
// ---------------------------------------------------------------------------

class TWordPanelTest : public TTrainingWindowTest {
protected:
    TWordPanel &panel() { return *ui().wordPanel; }

    // The telop has run: the pages are open and show the word.
    bool WaitForTelop()
    {
        return WaitFor([&] { return !panel().sPanel_cover->isVisible() && panel().isEnabled(); });
    }

    void AnswerAQuestion()
    {
        AskQuestion();
        AnswerCorrectly();
    }

    // Saves the window when TESSARION_PANEL_SHOTS names a folder.
    void Shoot(const QString &name)
    {
        const QString folder = qEnvironmentVariable("TESSARION_PANEL_SHOTS");
        if (folder.isEmpty())
            return;
        QDir().mkpath(folder);
        form().grab().save(folder + QStringLiteral("/") + name + QStringLiteral(".png"));
    }

    void MouseOverGraph(QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), panel().Image_FC->mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(panel().Image_FC, &move);
    }

    void MouseLeavesGraph()
    {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(panel().Image_FC, &leave);
    }
};

TEST_F(TWordPanelTest, AfterAnAnswerTheCurvePageShowsTheWordOfEachStage)
{
    struct TCase {
        const char *name;
        TStage stage;
        int level;
        QString stage1;
        QString stage2;
        QString sign;
    };
    const TCase cases[] = {
        {"stage 1", TStage::One, 4, QStringLiteral("0[2]40[3]160[4]"), QString(), QStringLiteral("Cancer")},
        {"stage 2", TStage::Two, 8, QString(), QStringLiteral("2023/1/10[6]2023/2/1[7]2023/4/1[8]"),
         QStringLiteral("Scorpio")},
        {"stage 3", TStage::Three, 11, QString(), QString(), QStringLiteral("Aquarius")},
    };
    StartToReady();
    const TCurveColours colours = panel().curveColours();
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.name);
        AnswerAQuestion();
        // The record the panel shows: the graded word, as if it had this history.
        const int word = flow().currentWord();
        TTango &t = cc().words[word];
        t.stage = c.stage;
        t.level = c.level;
        t.stage1History = c.stage1;
        t.stage1Count = HistoryEntryCount(c.stage1);
        t.stage2History = c.stage2;
        t.stage2Count = HistoryEntryCount(c.stage2);
        t.wrongCount = 3;
        RebuildHistoryArrays(t);
        ASSERT_TRUE(WaitForTelop());
        Shoot(QStringLiteral("curve_%1").arg(static_cast<int>(c.stage)));

        EXPECT_EQ(panel().ImageZodiacM->toolTip(), c.sign + QStringLiteral(" （習熟レベル %1）").arg(c.level));
        EXPECT_TRUE(panel().sPanelZodiac->isVisibleTo(&form()));
        EXPECT_EQ(panel().sLabel_TabVoc_Voc->text(), cc().FormatHeadword(t.word, false));
        EXPECT_TRUE(panel().sLabel_TabVoc_Voc->toolTip().contains(QStringLiteral(" 不正解回数：　3 回")));
        const QImage graph = panel().curveGraph().convertToFormat(QImage::Format_ARGB32);
        const QList<TEntryCurve> curves = cc().RetentionCurvesOf(word);
        if (c.stage == TStage::Three) {
            EXPECT_TRUE(curves.isEmpty());
            EXPECT_EQ(CountColour(graph, graph.rect(), kLastEntryMarkColour, 4), 0);
            EXPECT_EQ(CountColour(graph, graph.rect(), colours.line, 0), 0);
            MouseOverGraph(QPoint(300, 80));
            EXPECT_TRUE(panel().sLabel_stage3_hint->isVisibleTo(&form()));
            EXPECT_FALSE(panel().hintPictureShown());
            // The hint is written on the plot's bare tone, clear of the
            // background's own heading and note.
            const QRect under =
                panel().sLabel_stage3_hint->geometry().translated(-panel().Image_FC->pos()).intersected(graph.rect());
            ASSERT_FALSE(under.isEmpty());
            EXPECT_EQ(CountColour(graph, under, PlotTone(graph), 0), under.width() * under.height());
            Shoot(QStringLiteral("stage3_hint"));
        } else {
            ASSERT_EQ(curves.size(), 3);
            EXPECT_GT(CountColour(graph, MarkArea(curves.last()), kLastEntryMarkColour), 4);
            const TCurvePoint mid = curves.first().points.at(curves.first().points.size() / 2);
            EXPECT_EQ(graph.pixelColor(InGraph(mid.x, mid.y)), colours.line);
            // The pointer over the plot shows what the stage means, until it leaves.
            MouseOverGraph(QPoint(300, 80));
            EXPECT_TRUE(panel().hintPictureShown());
            EXPECT_FALSE(panel().sLabel_stage3_hint->isVisibleTo(&form()));
            Shoot(QStringLiteral("hint_%1").arg(static_cast<int>(c.stage)));
        }
        MouseLeavesGraph();
        EXPECT_FALSE(panel().hintPictureShown());
        EXPECT_FALSE(panel().sLabel_stage3_hint->isVisibleTo(&form()));
        EXPECT_EQ(panel().curveGraph(), graph.convertToFormat(panel().curveGraph().format()));
    }
    // The next question shows the empty background of the stage the last word ended in.
    AskQuestion();
    EXPECT_FALSE(panel().isEnabled());
    EXPECT_EQ(CountColour(panel().curveGraph().convertToFormat(QImage::Format_ARGB32), panel().curveGraph().rect(),
                          kLastEntryMarkColour, 4),
              0);
}

TEST_F(TWordPanelTest, TheTreeListsTheRelatedWordsOrSaysThereAreNone)
{
    StartToReady();
    AnswerAQuestion();
    // One word derived from the word asked and one sharing its meaning.
    const int c = flow().currentWord();
    const int derived = c % 10 + 1;
    const int synonym = derived % 10 + 1;
    ASSERT_NE(synonym, c);
    cc().words[derived].links[0] = cc().words[c].word;
    cc().words[synonym].meanings[1] = cc().words[c].meanings[0];
    ASSERT_TRUE(WaitForTelop());
    EXPECT_EQ(ui().sLabel_Hasei->text(), cc().words[derived].word);

    // A click on the telop opens the tree.
    QTest::mouseClick(ui().sLabel_Hasei, Qt::LeftButton);
    ASSERT_EQ(panel().currentIndex(), static_cast<int>(TWordPage::Related));
    QTreeWidget *tree = panel().TntTreeView;
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem *root = tree->topLevelItem(0);
    EXPECT_EQ(root->text(0), cc().DisplayForm(c) + QStringLiteral(" （ ") + cc().words[c].joinedMeanings +
                                 QStringLiteral(" ）"));
    EXPECT_TRUE(root->isExpanded());
    ASSERT_EQ(root->childCount(), 2);
    EXPECT_EQ(root->child(0)->text(0), QStringLiteral("派生"));
    ASSERT_EQ(root->child(0)->childCount(), 1);
    EXPECT_TRUE(root->child(0)->child(0)->text(0).startsWith(cc().DisplayForm(derived) + QStringLiteral(" （ ")));
    EXPECT_EQ(root->child(1)->text(0), QStringLiteral("同義"));
    ASSERT_EQ(root->child(1)->childCount(), 1);
    EXPECT_TRUE(root->child(1)->child(0)->text(0).startsWith(cc().DisplayForm(synonym) + QStringLiteral(" （ ")));
    EXPECT_FALSE(root->icon(0).isNull());   // the file's flag
    Shoot(QStringLiteral("related"));
    // Choosing a line speaks it; the window goes on.
    tree->setCurrentItem(root->child(1)->child(0));
    EXPECT_EQ(flow().State(), TFlowState::Reviewing);
    EXPECT_EQ(tree->topLevelItemCount(), 1);

    // The links go: the next word's tree has nothing but its root.
    cc().words[derived].links[0].clear();
    cc().words[synonym].meanings[1].clear();
    AskQuestion();
    EXPECT_EQ(tree->topLevelItemCount(), 0);   // emptied for the question
    AnswerCorrectly();
    ASSERT_TRUE(WaitForTelop());
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    ASSERT_EQ(tree->topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral(" nothing"));
    EXPECT_EQ(ui().sLabel_Hasei->text(), QString());
}

TEST_F(TWordPanelTest, TabTurnsThePagesOnlyWhileNoQuestionWaits)
{
    StartToReady();
    AnswerAQuestion();
    ASSERT_TRUE(WaitForTelop());
    const auto activeIcon = [&](int page) { return panel().tabIcon(page).pixmap(12).toImage(); };
    const QImage active = activeIcon(0);
    for (const TWordPage page : {TWordPage::Related, TWordPage::Etymology, TWordPage::Curve}) {
        Key(Qt::Key_Tab);
        const int index = static_cast<int>(page);
        ASSERT_EQ(panel().currentIndex(), index);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(activeIcon(i) == active, i == index) << "page " << index << " icon " << i;
    }
    // The etymology page of an English file shows the word's chart.
    Key(Qt::Key_Tab);
    Key(Qt::Key_Tab);
    EXPECT_FALSE(panel().sLabel_etym->isVisibleTo(&form()));
    EXPECT_TRUE(panel().Image_etym->isVisibleTo(&form()));
    // The note "※スペースキーで拡大" stands inside the page where no chart of
    // the file's words draws (it used to cover the headword).
    const QLabel *note = panel().sLabel_space;
    EXPECT_TRUE(note->isVisibleTo(&form()));
    EXPECT_TRUE(panel().sTabSheet_O->rect().contains(note->geometry()));
    const QMargins shift = panel().Image_etym->contentsMargins();
    int charts = 0;
    for (int position = 1; position <= cc().TangoTotal(); ++position) {
        const QImage chart = program->etymologyForm().PageChart(position).toImage();
        const QRect under = note->geometry().translated(-shift.left(), -shift.top()).intersected(chart.rect());
        int inked = 0;
        int drawn = 0;
        for (int y = 0; y < chart.height(); ++y)
            for (int x = 0; x < chart.width(); ++x) {
                const bool ink = chart.pixelColor(x, y) != QColor(Qt::white);
                drawn += ink ? 1 : 0;
                inked += ink && under.contains(x, y) ? 1 : 0;
            }
        charts += drawn > 0 ? 1 : 0;
        EXPECT_EQ(inked, 0) << "the note covers the chart of word " << position;
    }
    EXPECT_GT(charts, 0);
    AskQuestion();
    Key(Qt::Key_Tab);
    EXPECT_EQ(panel().currentIndex(), static_cast<int>(TWordPage::Etymology));
}

TEST_F(TWordPanelTest, TheTypedWordHintKeepsThePagesClosedUntilTheNextQuestion)
{
    StartToReady();
    AnswerAQuestion();
    ASSERT_TRUE(WaitForTelop());
    AskQuestion();
    AnswerCorrectly();
    // As after a wrong typed answer that named another word of the file.
    const QString hint = QStringLiteral("※ river ･･･ 川");
    ui().sLabel_Hasei->setText(hint);
    panel().sLabel_TabVoc_Voc->clear();
    // The telop comes round at least once while the hint stands.
    QSignalSpy telopRan(ui().Timer_telop, &QTimer::timeout);
    ASSERT_TRUE(WaitFor([&] { return telopRan.count() >= 2; }));
    EXPECT_FALSE(panel().isEnabled());
    EXPECT_EQ(ui().sLabel_Hasei->text(), hint);
    EXPECT_EQ(panel().sLabel_TabVoc_Voc->text(), QString());   // not refreshed
    EXPECT_TRUE(ui().Timer_telop->isActive());              // still trying
    // The next question stops it.
    AskQuestion();
    EXPECT_FALSE(ui().Timer_telop->isActive());
    EXPECT_FALSE(panel().isEnabled());
}

TEST_F(TWordPanelTest, TheExclusionSwitchShowsTheWordsNewSign)
{
    StartToReady();
    AnswerAQuestion();
    ASSERT_TRUE(WaitForTelop());
    const int level = cc().words[flow().currentWord()].level;
    EXPECT_EQ(panel().ImageZodiacM->toolTip(), ZodiacName(level) + QStringLiteral(" （習熟レベル %1）").arg(level));
    Key(Qt::Key_Delete);
    EXPECT_EQ(panel().ImageZodiacM->toolTip(), QStringLiteral("SouthernCross （習熟レベル 99）"));
    EXPECT_TRUE(panel().sLabel_TabVoc_Voc->toolTip().startsWith(QStringLiteral(" 習熟レベル：　99\n")));
    MouseOverGraph(QPoint(300, 80));
    EXPECT_FALSE(panel().hintPictureShown());   // no stage to explain
    Key(Qt::Key_Delete);
    EXPECT_EQ(panel().ImageZodiacM->toolTip(), QStringLiteral("BigDipper （習熟レベル 0）"));
    MouseOverGraph(QPoint(300, 80));
    EXPECT_FALSE(panel().hintPictureShown());
}
