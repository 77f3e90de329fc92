#pragma once
// The word panel below the question: a tab control with three pages about the
// word just asked. The forgetting-curve page shows the word's level as a
// zodiac sign, its counters, the explanation of the last level change and a
// graph of its history with the modelled forgetting curves; the related-words
// page a tree of the words connected to it; the etymology page its chart.
// Nothing here is shown while a question waits: the pages are disabled during
// a question and refreshed by the telop, the line of related words written
// above the options shortly after each answer.
#include "engine/CurveGraph.h"

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QTabWidget>
#include <array>
#include <functional>
#include <optional>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class TMainForm;
class TPanel;
struct TRelatedNode;

enum class TWordPage { Curve = 0, Related = 1, Etymology = 2 };

// The sign of a mastery level (0..12, 99), also the name of its picture;
// empty for any other level.
QString ZodiacName(int level);

// The tree's icon of a language kind (0 the learner's own files, 2 English,
// 3 Italian ... 8 Portuguese); a null icon for any other kind.
QIcon LanguageFlagIcon(int languageKind);

// Colours of the curves by skin: earlier entries and the word's last entry,
// each a line drawn over its one-pixel shadow.
struct TCurveColours {
    QColor line;
    QColor shadow;
    QColor lastLine;
    QColor lastShadow;
};
TCurveColours CurveColoursOfSkin(const QString &skinName);
// The contrast ratio of two colours (1 to 21), by their relative luminance.
double CurveContrast(const QColor &a, const QColor &b);
// The tone of the plot area of a stage picture.
QColor PlotTone(const QImage &background);
// The skin's colours as drawn on a plot of that tone: each line keeps its
// colour where it stands out from the plot by 3:1 or more; otherwise its
// lightness moves (same hue) until it does, away from the other line where
// either way would, so the last curve and the earlier ones stay apart. The
// shadows stay as they are.
TCurveColours ReadableCurveColours(const TCurveColours &colours, const QColor &plot);

// The colour of the mark above the last entry's start.
inline const QColor kLastEntryMarkColour(0xF4, 0x6F, 0x6F);
inline const QString kLastEntryMark = QStringLiteral("▼");
inline constexpr int kCurveGraphWidth = 800;
inline constexpr int kCurveGraphHeight = 175;

// The graph of a word: its stage background with the curves over it. A
// stage-3 word shows its background only. entryDrawn (when given) sees the
// picture after each entry's curve and may stop the drawing by returning
// false; the picture is then returned as far as it was drawn.
QImage DrawCurveGraph(const TCurveGraphInputs &inputs, const QImage &background, const TCurveColours &colours,
                      const std::function<bool(const QImage &)> &entryDrawn = {});

// The telop line: the headwords joined by ",   ", shortened while it is
// maxWidth pixels wide or wider: cut after the last "," that keeps it
// narrower and end it with " ..."; a single headword too wide on its own is
// cut letter by letter.
QString TelopLine(const QStringList &headwords, const std::function<int(const QString &)> &widthOf, int maxWidth);

class TWordPanel : public QTabWidget {
    Q_OBJECT
public:
    // parent: the window's client area, where the cover panel lies over the
    // pages; telopLabel: the line above the options.
    TWordPanel(TMainForm &form, QWidget *parent, QLabel *telopLabel);
    ~TWordPanel() override;

    // ---- components (named as the program's forms name them) ----
    QWidget *sTabSheet_Voc = nullptr;
    QWidget *sTabSheet_R = nullptr;
    QWidget *sTabSheet_O = nullptr;
    TPanel *sPanelZodiac = nullptr;
    QLabel *ImageZodiacM = nullptr;
    QLabel *sLabel_TabVoc_Voc = nullptr;
    QLabel *sLabel_TabVoc_Memo = nullptr;
    QLabel *sLabelFX_never = nullptr;
    QLabel *Image_FC = nullptr;
    QLabel *sLabel_stage3_hint = nullptr;
    QTreeWidget *TntTreeView = nullptr;
    QLabel *Image_etym = nullptr;
    QLabel *sLabel_space = nullptr;
    QLabel *sLabel_etym = nullptr;
    TPanel *sPanel_cover = nullptr;
    QLabel *sLabel_Hasei = nullptr;

    // ---- the pages ----
    // The page change: icons follow the page, which is refreshed.
    void sPageControl1Change();
    void SetActiveTabIcon(int index);
    // Refreshes the forgetting-curve page; nothing while busy.
    void ShowWordInfo();
    // forNewQuestion: only the background of the coming question.
    void DrawForgettingCurve(bool forNewQuestion);
    // Fills the tree once per question; nothing while busy.
    void BuildRelatedWordsTree();
    void ShowEtymologyTab();
    // The telop: once the typed-word hint has gone, writes the related
    // headwords above the options and opens the pages.
    void Timer_telopTimer();
    // Refreshes the page on top.
    void RefreshActivePage();
    // Covers the pages until the first telop of a file.
    void LayCoverPanel();

    // ---- what the panel is told ----
    // A question was graded: the word ended in this stage (the next
    // question's empty graph shows that stage's background).
    void AnswerGraded(int position);
    // The skin's stage pictures (its picture suffix) and curve colours.
    void ApplySkin(const QString &skinName, const QString &pictureSuffix);

    // The etymology chart of a word as the page shows it; until the chart
    // can be drawn, the page shows its note instead.
    std::function<QPixmap(int position)> etymologyChart;
    // Opens the word browser for a level (the zodiac sign's click) and the
    // etymology window for the word (the chart's click), when present.
    std::function<void(int level)> openWordBrowser;
    std::function<void(int position)> openEtymologyWindow;

    bool hintPictureShown() const { return m_hintPicture; }
    // The graph as last drawn.
    const QImage &curveGraph() const { return m_graph; }
    const TCurveColours &curveColours() const { return m_colours; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildCurvePage();
    void BuildRelatedPage();
    void BuildEtymologyPage();
    bool Busy() const;
    bool Asking() const;
    int CurrentWord() const;
    void PlayButton();
    void AddTreeNode(QTreeWidgetItem *parent, const TRelatedNode &node);
    void TntTreeViewChange(QTreeWidgetItem *item);
    void CurveMouseMove(const QPoint &pos);
    void CurveMouseLeave();
    void sLabel_HaseiClick();

    TMainForm &m_form;
    std::array<QImage, 3> m_stagePictures;   // Image_FC1 .. Image_FC3
    TCurveColours m_colours;
    QString m_pictureSuffix;
    QImage m_graph;
    std::optional<TStage> m_gradedStage;
    bool m_hintPicture = false;
    int m_drawing = 0;   // counts the drawings begun: a newer one stops an older
};
