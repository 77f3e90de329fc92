#pragma once
// The etymology chart of one word: the word split into its prefix, root and
// suffix parts, the sense of each part, the roots behind it with their origin
// languages and, below and to the right, the words it was derived from (up to
// four generations along two lines of descent), each drawn the same way and
// joined by L-shaped connectors. The chart is laid out once into a list of
// texts, connectors and hover areas; the etymology window, the main window's
// etymology page and the tests all read or paint that same list.
#include "base/Notifier.h"
#include "etymology/db/EtymologyDatabase.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class QPainter;
class QFont;

inline constexpr int kChartWidth = 800;
inline constexpr int kChartHeight = 600;
inline constexpr int kChartLabelCount = 12;   // hover labels of one chart
inline constexpr int kChartLines = 3;         // 0 the word, 1 first-parent line, 2 second-parent line
inline constexpr int kChartGenerations = 4;
inline constexpr int kScreenTypeCount = 5;
inline constexpr int kDefaultScreenType = 3;

// Where an element sits on the position grid.
enum class TChartSlot {
    WordLine = 1,
    SuffixElement = 2,
    FirstRoot = 3,
    FirstRootParent = 4,
    SecondRoot = 5,
    SecondRootParent = 6,
    PrefixElement = 7,
    Remark = 8,
    Joint = 9,              // the joint of a layout-type 1 or 2 word's root parent
    JointRootParent = 10,   // that root parent
};

// Parts of a word line (the sub-positions of slot 1).
enum class TWordPart { None = 0, Prefix = 1, Root = 2, Suffix = 3, FirstParent = 4, SecondParent = 5 };

enum class TChartInk { Main, Secondary, Remark, Black };

enum class TChartLabelKind { Title, Prefix, Suffix, RootChild, RootParent };
// "title", "prefix", "suffix", "root_child", "root_parent"
QString ChartLabelKindName(TChartLabelKind kind);

// The five colours of a screen type.
struct TChartColours {
    QColor main;
    QColor secondary;
    QColor remark;
    QColor line;
    QColor hover;
    bool operator==(const TChartColours &) const = default;
};
// The colours of screen type 1..5; any other value gives those of the default type.
TChartColours ChartColoursOf(int screenType);

struct TChartText {
    QPoint at;        // top left of the text
    QString text;
    TChartInk ink = TChartInk::Main;
    bool bold = false;
    int height = 13;  // pixel height of the font
    int label = -1;   // the hover label that covers it
};

// From a part of a word straight down, then right to the element it explains.
struct TChartConnector {
    QPoint from;
    QPoint corner;
    QPoint to;
    bool operator==(const TChartConnector &) const = default;
};

// A word, root, prefix or suffix the learner can point at for its relatives.
struct TChartLabel {
    QRect area;       // on the canvas
    QString caption;
    TChartLabelKind kind = TChartLabelKind::Title;
    int record = 0;
    TRootCoordinates root;
};

// One place on the grid; `placed` tells a place at (0, 0) from none.
struct TChartPlace {
    QPoint at;
    bool placed = false;
};

// The font of the chart canvas at a pixel height.
QFont ChartFont(int pixelHeight, bool bold);

// A root as the chart writes it: "<L> struct"; English roots keep their Old
// and Middle English forms apart ("<OE> acer  <ME>aker"). marker goes in front.
QString RootLabelText(const QString &code, const QString &forms, const QString &marker);

class TEtymologyChart {
public:
    explicit TEtymologyChart(TEtymologyDatabase &db);

    // Lays out the chart of a record; an index without a record (0, 22001)
    // gives the empty chart.
    void Build(int record);

    bool IsEmpty() const { return m_record == 0; }
    int Record() const { return m_record; }
    const std::vector<TChartText> &Texts() const { return m_texts; }
    const std::vector<TChartConnector> &Connectors() const { return m_connectors; }
    const std::vector<TChartLabel> &Labels() const { return m_labels; }
    // English name of the chart's origin language; empty for a compound.
    const QString &OriginName() const { return m_originName; }
    // What the database reported while the chart was laid out (a root key
    // missing from the tree), each message once.
    const QStringList &Messages() const { return m_messages; }

    // The position grid of the last chart.
    TChartPlace Place(int line, int generation, TChartSlot slot, TWordPart part = TWordPart::None) const;
    // The record laid out at a line and generation; 0 when none.
    int Ancestor(int line, int generation) const;
    // The hover label at a canvas point; -1 when none.
    int LabelAt(QPoint point) const;

    // Paints the chart. Without labelTexts the texts under hover labels are
    // left out (the etymology window's labels show them themselves).
    void Paint(QPainter &painter, const TChartColours &colours, bool labelTexts = true) const;
    // The 800 x 600 canvas filled with `background`, the chart painted on it.
    QImage Render(const TChartColours &colours, QColor background = Qt::white, bool labelTexts = true) const;

private:
    struct TWidths {
        int prefix = 0;
        int firstParent = 0;
        int secondParent = 0;
        int root = 0;
        int suffix = 0;
    };
    struct TAncestorRef {
        int line = 0;
        int generation = 0;
        bool IsSet() const { return generation != 0; }
    };
    struct TNode {
        int record = 0;
        QPoint origin;
        bool parentOutside = false;   // a layout-type 3 word that does not begin with its first parent
        TWidths widths;
        TAncestorRef firstAncestor;
        TAncestorRef secondAncestor;
        QPoint explainer;             // the part of the child word that names this ancestor
    };
    using TSlotPlaces = std::array<std::array<TChartPlace, 6>, 11>;

    TNode &Node(int line, int generation) { return m_nodes[line][generation - 1]; }
    const TNode &Node(int line, int generation) const { return m_nodes[line][generation - 1]; }
    TChartPlace &At(int line, int generation, TChartSlot slot, TWordPart part = TWordPart::None);
    bool IsPlaced(int line, int generation, TChartSlot slot, TWordPart part = TWordPart::None) const;
    QPoint Point(int line, int generation, TChartSlot slot, TWordPart part = TWordPart::None) const;
    void Set(TChartSlot slot, TWordPart part, QPoint at);
    void Set(TChartSlot slot, QPoint at) { Set(slot, TWordPart::None, at); }
    const TEtymologyRecord &ChartWord() const { return m_db.Record(m_record); }
    bool IsDerived(const QString &code, const QString &forms);
    bool FindRoot(const QString &code, const QString &forms);
    void TakeMessages();

    // Layout.
    void LayoutNode(int record, int x0, int y0);
    void LayoutAncestor(int line, int generation, const QString &name, QPoint explainer, bool first);
    void LayoutFirstParent(const TEtymologyRecord &record);

    // Drawing into the lists.
    void DrawNode(int line, int generation);
    void DrawAncestor(TAncestorRef ref);
    void DrawTitle();
    void DrawAffixElement(bool suffix);
    void DrawRoot(bool second);
    QPoint RootPartOf(bool second) const;
    void DrawRootParent(TChartSlot from, TChartSlot to);
    void DrawJointRootParent(int line);
    void DrawRemark();
    void DrawConnector(QPoint from, QPoint to);
    void DrawChartText(const QString &text, TChartInk ink, bool bold, int height);
    void DrawChartText(const QString &text, TChartInk ink) { DrawChartText(text, ink, m_bold, m_height); }
    void LocateLabel(const QString &caption, TChartLabelKind kind, TRootCoordinates root = {});
    int TextWidth(const QString &text) const;
    void Origin();

    TEtymologyDatabase &m_db;
    TCollectingNotifier m_notes;
    QStringList m_messages;
    int m_record = 0;
    std::array<std::array<TNode, kChartGenerations>, kChartLines> m_nodes;
    std::array<std::array<TSlotPlaces, kChartGenerations>, kChartLines> m_places;
    std::vector<TChartText> m_texts;
    std::vector<TChartConnector> m_connectors;
    std::vector<TChartLabel> m_labels;
    QString m_originName;
    QString m_originCode;     // the first-level root of the last root parent drawn

    // Layout and drawing state.
    int m_line = 0;
    int m_generation = 1;
    int m_current = 0;        // the record being laid out or drawn
    int m_rows = 0;           // row counter: rows of 17 px used so far
    TChartPlace m_position;   // grid position of the element being drawn
    int m_dx = 0;
    int m_dy = 0;
    QPoint m_lastText;
    bool m_bold = false;
    int m_height = 13;
};
