#include "etymology/EtymologyChart.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <cmath>

namespace {
constexpr int kCharWidth = 7;          // one character of a word line
constexpr int kRowHeight = 17;
constexpr int kTextHeight = 13;        // secondary texts; labels are this + 3 high
constexpr int kWordHeight = 14;        // words, roots and affixes
constexpr int kLabelExtraHeight = 3;
constexpr int kAncestorIndent = 35;
constexpr int kRootGap = 30;
constexpr int kSuffixGap = 20;
constexpr int kLowerGap = 40;
constexpr int kLowerGapWithSuffix = 70;
constexpr int kLongGloss = 45;         // a root gloss this long pushes the sense under it
constexpr double kLabelWidthFactor = 1.1;
constexpr double kBoldWidthFactor = 1.2;
constexpr int kMeaningGap = 10;

const QString kLayoutParentFirst = QStringLiteral("1");
const QString kLayoutSecondParentFirst = QStringLiteral("2");
const QString kLayoutDerived = QStringLiteral("3");
const QString kEnglish = QStringLiteral("E");
const QString kGermanic = QStringLiteral("GR");
const QString kIndoEuropean = QStringLiteral("IE");
const QString kSecondRootMarker = QStringLiteral("＆ ");
const QString kSameSense = QStringLiteral("＝");
const QString kMeaningSeparator = QStringLiteral("、");
const QString kRemarkMark = QStringLiteral("▽ ");
const QChar kFullwidthAt(0xFF20);
const QString kGapAfter = QStringLiteral("  ");
const QString kGrammarGloss = QStringLiteral("詞");
const QString kPastGloss = QStringLiteral("過去");

using L = TEtymologyLine;

int RoundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

// The prefix form as the affix table writes it: "pre" -> "pre-", "pre2" -> "pre-2".
QString PrefixAffixForm(const QString &prefix)
{
    if (prefix.endsWith(QLatin1Char('-')))
        return prefix;
    if (!prefix.isEmpty() && IsHomonymDigit(prefix.back()))
        return prefix.left(prefix.size() - 1) + QLatin1Char('-') + prefix.back();
    return prefix + QLatin1Char('-');
}

const TChartColours kScreenColours[kScreenTypeCount] = {
    {QColor(0x634646), QColor(0x634646), QColor(0x4D4D4D), QColor(0xB47D5F), QColor(0xFFFFFE)},
    {QColor(0xFFFFFE), QColor(0xFFFFFE), QColor(0xFFFFFE), QColor(0xFFBCBC), QColor(0xA6A6A6)},
    {QColor(0x634646), QColor(0x634646), QColor(0x4D4D4D), QColor(0xB47D5F), QColor(0xFFFFFE)},
    {QColor(0x585858), QColor(0x636363), QColor(0x4D4D4D), QColor(0x858585), QColor(0xA6A6E9)},
    {QColor(0x3C78FA), QColor(0x4D4D4D), QColor(0x4D4D4D), QColor(0x6F6F6F), QColor(0x6FDEFE)},
};
}

QString ChartLabelKindName(TChartLabelKind kind)
{
    switch (kind) {
    case TChartLabelKind::Title:
        return QStringLiteral("title");
    case TChartLabelKind::Prefix:
        return QStringLiteral("prefix");
    case TChartLabelKind::Suffix:
        return QStringLiteral("suffix");
    case TChartLabelKind::RootChild:
        return QStringLiteral("root_child");
    case TChartLabelKind::RootParent:
        return QStringLiteral("root_parent");
    }
    return {};
}

TChartColours ChartColoursOf(int screenType)
{
    if (screenType < 1 || screenType > kScreenTypeCount)
        screenType = kDefaultScreenType;
    return kScreenColours[screenType - 1];
}

QFont ChartFont(int pixelHeight, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

QString RootLabelText(const QString &code, const QString &forms, const QString &marker)
{
    if (code != kEnglish)
        return marker + QLatin1Char('<') + code + QStringLiteral("> ") + forms;
    QString text;
    const qsizetype semicolon = forms.indexOf(QLatin1Char(';'));
    if (semicolon < 0) {
        text = marker + QLatin1Char('<') + code + QStringLiteral("> ") + forms;
    } else if (semicolon == 0) {
        text = marker + QStringLiteral("<ME>") + forms.mid(1);
    } else {
        text = forms.left(semicolon);
        const QString middleEnglish = forms.mid(semicolon + 1);
        if (!middleEnglish.isEmpty())
            text += QStringLiteral("  <ME>") + middleEnglish;
        text = marker + QStringLiteral("<OE> ") + text;
    }
    if (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

TEtymologyChart::TEtymologyChart(TEtymologyDatabase &db) : m_db(db) {}

TChartPlace &TEtymologyChart::At(int line, int generation, TChartSlot slot, TWordPart part)
{
    return m_places[line][generation - 1][static_cast<int>(slot)][static_cast<int>(part)];
}

bool TEtymologyChart::IsPlaced(int line, int generation, TChartSlot slot, TWordPart part) const
{
    return Place(line, generation, slot, part).placed;
}

QPoint TEtymologyChart::Point(int line, int generation, TChartSlot slot, TWordPart part) const
{
    return Place(line, generation, slot, part).at;
}

TChartPlace TEtymologyChart::Place(int line, int generation, TChartSlot slot, TWordPart part) const
{
    if (line < 0 || line >= kChartLines || generation < 1 || generation > kChartGenerations)
        return {};
    return m_places[line][generation - 1][static_cast<int>(slot)][static_cast<int>(part)];
}

int TEtymologyChart::Ancestor(int line, int generation) const
{
    if (line < 0 || line >= kChartLines || generation < 1 || generation > kChartGenerations)
        return 0;
    return Node(line, generation).record;
}

void TEtymologyChart::Set(TChartSlot slot, TWordPart part, QPoint at)
{
    At(m_line, m_generation, slot, part) = {at, true};
}

bool TEtymologyChart::IsDerived(const QString &code, const QString &forms)
{
    return m_db.IsDerivedRootKey(code, forms, m_notes);
}

bool TEtymologyChart::FindRoot(const QString &code, const QString &forms)
{
    return m_db.FindRootKey(code, forms, m_notes);
}

void TEtymologyChart::TakeMessages()
{
    for (const QString &message : m_notes.messages)
        if (!m_messages.contains(message))
            m_messages.append(message);
    m_notes.messages.clear();
}

int TEtymologyChart::TextWidth(const QString &text) const
{
    return QFontMetrics(ChartFont(m_height, m_bold)).horizontalAdvance(text);
}

void TEtymologyChart::Build(int record)
{
    m_record = 0;
    m_nodes = {};
    m_places = {};
    m_texts.clear();
    m_connectors.clear();
    m_labels.clear();
    m_messages.clear();
    m_notes.messages.clear();
    m_originName.clear();
    m_originCode.clear();
    m_rows = 0;
    m_line = 0;
    m_generation = 1;
    m_dx = m_dy = 0;
    m_bold = false;
    m_height = kTextHeight;
    if (m_db.Record(record)[L::Headword].isEmpty())
        return;

    m_record = record;
    Node(0, 1).record = record;
    LayoutNode(record, 0, 0);
    DrawNode(0, 1);
    Origin();
    TakeMessages();
}

// ---------------------------------------------------------------------------
// Layout: the grid positions of one word and, through its parents, of its
// ancestors. The row counter runs on through the whole chart, so every
// ancestor starts below what was laid out before it.
// ---------------------------------------------------------------------------

void TEtymologyChart::LayoutNode(int record, int x0, int y0)
{
    const int line = m_line;
    const int generation = m_generation;
    const TEtymologyRecord &r = m_db.Record(record);
    const TEtymologyRecord &chart = ChartWord();
    TNode &node = Node(line, generation);
    node.record = record;
    node.origin = {x0, y0};
    node.widths = {};
    node.parentOutside = false;
    TWidths &w = node.widths;

    const QString word = StripHomonymDigit(r[L::Headword]);
    const QString prefix = StripHomonymDigit(r[L::Prefix]);
    const QString parent1 = StripHomonymDigit(r[L::Parent1]);
    const QString parent2 = StripHomonymDigit(r[L::Parent2]);
    const QString suffix = StripHomonymDigit(r[L::Suffix]);
    const int len = static_cast<int>(word.size());
    const int lenP = static_cast<int>(prefix.size());
    const int len1 = static_cast<int>(parent1.size());
    const int len2 = static_cast<int>(parent2.size());
    const int lenS = static_cast<int>(suffix.size());
    const int middleLength = len - lenP - lenS;
    const QString middle = word.mid(lenP, std::max(0, middleLength));
    const bool derived = r[L::LayoutType] == kLayoutDerived;

    if (!prefix.isEmpty()) {
        Set(TChartSlot::WordLine, TWordPart::Prefix, {x0, y0});
        w.prefix = lenP * kCharWidth;
    }
    if (!parent1.isEmpty()) {
        const qsizetype at = middle.indexOf(parent1);
        int x = x0 + w.prefix;
        if (derived) {
            // A word made from its first parent and a suffix: the parent part
            // takes the middle of the word, or stands after it.
            const int middleWidth = std::max(0, middleLength * kCharWidth - 1);
            node.parentOutside = at != 0;
            if (at > 0)
                x = x0 + w.prefix + middleWidth + 3;
        }
        Set(TChartSlot::WordLine, TWordPart::FirstParent, {x, y0});
        w.firstParent = at >= 0 ? len1 * kCharWidth : (middleLength - len2) * kCharWidth;
        if (parent2.isEmpty() && prefix.isEmpty() && suffix.isEmpty() && r[L::RootForms].isEmpty())
            w.firstParent = len * kCharWidth;
    }
    if (!parent2.isEmpty()) {
        int x = x0 + w.prefix + w.firstParent;
        if (word.contains(QLatin1Char(' ')))
            x += kCharWidth;
        else if (const qsizetype at = word.indexOf(parent2); at >= 0)
            x = x0 + static_cast<int>(at) * kCharWidth;
        Set(TChartSlot::WordLine, TWordPart::SecondParent, {x, y0});
        w.secondParent = middle.contains(parent2) ? len2 * kCharWidth : middleLength * kCharWidth - w.firstParent;
    }
    if (derived) {
        // The root of a derived word is its parent's; the suffix follows the
        // parent part directly.
        Set(TChartSlot::WordLine, TWordPart::Root, {node.parentOutside ? x0 : x0 + len1 * kCharWidth, y0});
    } else {
        w.root = middleLength * kCharWidth - w.firstParent - w.secondParent;
        if (w.root != 0)
            Set(TChartSlot::WordLine, TWordPart::Root, {x0 + w.prefix, y0});
    }
    if (!suffix.isEmpty()) {
        Set(TChartSlot::WordLine, TWordPart::Suffix, {x0 + w.prefix + w.firstParent + w.secondParent + w.root, y0});
        w.suffix = lenS * kCharWidth;
    }

    m_rows += 2;
    if (!suffix.isEmpty()) {
        const QPoint part = Point(line, generation, TChartSlot::WordLine, TWordPart::Suffix);
        Set(TChartSlot::SuffixElement, part + QPoint(kSuffixGap + 8, kSuffixGap + 12));
        m_rows += 3;
    } else {
        m_rows += 1;
    }

    if (!r[L::Parent2].isEmpty()) {
        if (IsPlaced(2, 1, TChartSlot::WordLine, TWordPart::SecondParent)) {
            // The second-parent line already shows a compound: this one is
            // only written out.
            const QPoint at = Point(2, 1, TChartSlot::WordLine, TWordPart::SecondParent) + QPoint(22, 22);
            m_texts.push_back({at, QLatin1Char('(') + r[L::Parent1] + QStringLiteral(" + ") + r[L::Parent2] + QLatin1Char(')'),
                               TChartInk::Black, true, kWordHeight});
        } else {
            const int target = generation >= 2 ? 3 : (Ancestor(2, 1) == 0 ? 1 : 2);
            LayoutAncestor(2, target, r[L::Parent2],
                           Point(line, generation, TChartSlot::WordLine, TWordPart::SecondParent), false);
        }
    }
    if ((!derived || node.parentOutside) && !r[L::Parent1].isEmpty())
        LayoutFirstParent(r);

    if (!r[L::RootForms].isEmpty()) {
        QPoint root;
        if (derived) {
            // Below everything laid out so far: the row counter already
            // counts from the top of the chart, so the word's own top is not
            // added again (that would put an ancestor's root off the canvas).
            const int rows = chart[L::Parent1] == r[L::Headword] ? m_rows - 6 : m_rows;
            root = {Point(line, generation, TChartSlot::WordLine, TWordPart::Root).x() + kRootGap + kCharWidth,
                    rows * kRowHeight};
            if (!node.parentOutside)
                m_rows += 3;
        } else {
            root = {x0 + w.prefix + kRootGap + kCharWidth,
                    y0 + (suffix.isEmpty() ? kLowerGap : kLowerGapWithSuffix) + kCharWidth};
        }
        Set(TChartSlot::FirstRoot, root);
        m_rows += 4;
        if (IsDerived(r[L::RootCode], r[L::RootForms])) {
            Set(TChartSlot::FirstRootParent, root + QPoint(kRootGap + kCharWidth, kLowerGap + kCharWidth));
            const bool prefixAbove = Node(0, 1).widths.prefix != 0 || Node(1, 1).widths.prefix != 0 ||
                                     Node(1, 2).widths.prefix != 0 || Node(1, 3).widths.prefix != 0;
            m_rows += generation > 2 && !prefixAbove ? 5 : 4;
        } else {
            m_rows += 1;
        }
        if (!r[L::Root2Forms].isEmpty()) {
            const int above = IsPlaced(line, generation, TChartSlot::FirstRootParent)
                                  ? Point(line, generation, TChartSlot::FirstRootParent).y()
                                  : root.y();
            const QPoint second(root.x(), above + kLowerGap + 12);
            Set(TChartSlot::SecondRoot, second);
            m_rows += 3;
            if (IsDerived(r[L::Root2Code], r[L::Root2Forms])) {
                Set(TChartSlot::SecondRootParent, second + QPoint(kRootGap, kLowerGap));
                m_rows += 3;
            } else if (line == 0) {
                m_rows += 1;
            }
        }
        if (generation == kChartGenerations)
            m_rows += 2;
    }

    if (derived && !node.parentOutside && !r[L::Parent1].isEmpty())
        LayoutFirstParent(r);

    if (!prefix.isEmpty()) {
        QPoint at(Point(line, generation, TChartSlot::WordLine, TWordPart::Prefix).x() + kRootGap + 8,
                  (m_rows - 2) * kRowHeight + 8);
        m_rows += 4;
        if (!IsPlaced(1, 1, TChartSlot::Remark) && !IsPlaced(1, 2, TChartSlot::Remark)) {
            if (chart[L::RootForms].isEmpty() && chart[L::Parent1].isEmpty()) {
                at.ry() += kRowHeight + 8;
            } else if (line == 0 && (IsPlaced(1, 2, TChartSlot::WordLine, TWordPart::Root) ||
                                     IsPlaced(1, 3, TChartSlot::WordLine, TWordPart::Root) ||
                                     IsPlaced(1, 4, TChartSlot::WordLine, TWordPart::Root))) {
                at.ry() += 22;
            }
        } else {
            at.ry() += 8;
        }
        if (line == 1 && !r[L::Root2Forms].isEmpty()) {
            at.ry() -= kLowerGap;
            m_rows -= 2;
        }
        if (generation == 2)
            m_rows += 1;
        else if (generation == 3)
            m_rows += 2;
        if (generation == 4 && IsPlaced(line, 1, TChartSlot::WordLine, TWordPart::Prefix))
            at.ry() += kRowHeight + 8;
        Set(TChartSlot::PrefixElement, at);
    }

    if (!r[L::Remark].isEmpty()) {
        m_rows -= 1;
        QPoint at;
        if (!prefix.isEmpty())
            at.rx() = Point(line, generation, TChartSlot::WordLine, TWordPart::Prefix).x();
        else if (IsPlaced(line, generation, TChartSlot::WordLine, TWordPart::FirstParent))
            at.rx() = Point(line, generation, TChartSlot::WordLine, TWordPart::FirstParent).x();
        else
            at.rx() = Point(line, generation, TChartSlot::WordLine, TWordPart::Root).x();
        at.ry() = m_rows * kRowHeight;
        m_rows += 3;
        const QString &chartType = chart[L::LayoutType];
        const bool chartCompound = !chart[L::Parent2].isEmpty();
        const bool secondRoot = !r[L::Root2Forms].isEmpty();
        if (chartCompound) {
            if (line == 2) {
                at.ry() -= 16;
            } else if (line == 0) {
                if (chartType == kLayoutDerived) {
                    at.ry() += 25;
                    m_rows += 1;
                } else {
                    at.ry() -= 20;
                    m_rows -= 1;
                }
            }
        }
        if (chartType == kLayoutParentFirst && line == 0) {
            at.ry() += 50;
            m_rows += 1;
        }
        if (chartType == kLayoutSecondParentFirst && line == 0) {
            at.ry() += 50;
            m_rows += 2;
        }
        if (chartType != kLayoutSecondParentFirst && line == 1 && !secondRoot)
            at.ry() -= chartCompound ? 25 : 27;
        if (generation == 3 && Node(line, 3).widths.prefix != 0)
            m_rows += 2;
        if (secondRoot) {
            at.ry() -= 30;
            if (chart[L::Parent1].isEmpty())
                m_rows -= 2;
        }
        if (line == 0 && IsPlaced(1, 2, TChartSlot::Remark)) {
            at.ry() += kRowHeight;
            m_rows += 1;
        }
        Set(TChartSlot::Remark, at);
    }

    const QString &chartType = chart[L::LayoutType];
    if ((line == 1 && chartType == kLayoutParentFirst) || (line == 2 && chartType == kLayoutSecondParentFirst)) {
        const int below = IsPlaced(line, generation, TChartSlot::FirstRootParent) ? 12 : 0;
        Set(TChartSlot::Joint, {Point(line, 1, TChartSlot::WordLine, TWordPart::Root).x(), m_rows * kRowHeight + below});
        m_rows += 3;
        if (IsDerived(chart[L::Root2Code], chart[L::Root2Forms])) {
            Set(TChartSlot::JointRootParent, Point(line, 1, TChartSlot::Joint) + QPoint(kRootGap + 12, kLowerGap + 12));
            m_rows += 4;
        }
    }
    m_rows -= 1;
}

void TEtymologyChart::LayoutFirstParent(const TEtymologyRecord &record)
{
    if (m_generation == kChartGenerations)
        return;
    // A first parent goes one generation deeper on the line of its child; the
    // chart's word starts the first-parent line.
    const int line = m_line == 0 ? 1 : m_line;
    const int target = m_line == 0 ? 1 : m_generation + 1;
    LayoutAncestor(line, target, record[L::Parent1],
                   Point(m_line, m_generation, TChartSlot::WordLine, TWordPart::FirstParent), true);
}

void TEtymologyChart::LayoutAncestor(int line, int generation, const QString &name, QPoint explainer, bool first)
{
    if (generation > kChartGenerations || Ancestor(line, generation) != 0)
        return;   // every place of the grid holds one word; a loop in the data ends here
    const int index = m_db.FindHeadword(name);
    if (index == 0)
        return;
    TNode &child = Node(m_line, m_generation);
    (first ? child.firstAncestor : child.secondAncestor) = {line, generation};
    TNode &node = Node(line, generation);
    node.record = index;
    node.explainer = explainer;
    const int savedLine = m_line;
    const int savedGeneration = m_generation;
    m_line = line;
    m_generation = generation;
    LayoutNode(index, explainer.x() + kAncestorIndent, m_rows * kRowHeight - 8);
    m_line = savedLine;
    m_generation = savedGeneration;
}

// ---------------------------------------------------------------------------
// Drawing: the texts, connectors and hover labels at the grid positions.
// ---------------------------------------------------------------------------

void TEtymologyChart::DrawNode(int line, int generation)
{
    const int savedLine = m_line;
    const int savedGeneration = m_generation;
    const int savedCurrent = m_current;
    m_line = line;
    m_generation = generation;
    const TNode &node = Node(line, generation);
    m_current = node.record;
    const TEtymologyRecord &r = m_db.Record(m_current);
    const bool chartWord = line == 0;
    const bool parentAfterRoots = chartWord && r[L::LayoutType] == kLayoutDerived && !node.parentOutside;

    DrawTitle();
    if (!r[L::Suffix].isEmpty())
        DrawAffixElement(true);
    if (node.secondAncestor.IsSet())
        DrawAncestor(node.secondAncestor);
    if (!parentAfterRoots && node.firstAncestor.IsSet())
        DrawAncestor(node.firstAncestor);
    DrawRoot(false);
    DrawRoot(true);
    if (parentAfterRoots && node.firstAncestor.IsSet())
        DrawAncestor(node.firstAncestor);
    if (!r[L::Prefix].isEmpty())
        DrawAffixElement(false);
    if (!r[L::Remark].isEmpty())
        DrawRemark();

    m_line = savedLine;
    m_generation = savedGeneration;
    m_current = savedCurrent;
}

void TEtymologyChart::DrawAncestor(TAncestorRef ref)
{
    const TNode &node = Node(ref.line, ref.generation);
    // To the leftmost part of the ancestor's word line (a derived word that
    // begins with its parent has its root part after the parent part).
    QPoint target = node.origin;
    bool found = false;
    for (TWordPart part : {TWordPart::Prefix, TWordPart::Root, TWordPart::FirstParent}) {
        const TChartPlace place = Place(ref.line, ref.generation, TChartSlot::WordLine, part);
        if (place.placed && (!found || place.at.x() < target.x())) {
            target = place.at;
            found = true;
        }
    }
    DrawConnector(node.explainer, target);
    DrawNode(ref.line, ref.generation);
    const QString &chartType = ChartWord()[L::LayoutType];
    if (ref.generation == 1 && ((ref.line == 1 && chartType == kLayoutParentFirst) ||
                                (ref.line == 2 && chartType == kLayoutSecondParentFirst)))
        DrawJointRootParent(ref.line);
}

void TEtymologyChart::DrawConnector(QPoint from, QPoint to)
{
    const int x = from.x() + 4;
    const int y = to.y() + 7;
    m_connectors.push_back({{x, from.y() + kTextHeight + 2}, {x, y}, {to.x() - 3, y}});
}

void TEtymologyChart::DrawChartText(const QString &text, TChartInk ink, bool bold, int height)
{
    m_bold = bold;
    m_height = height;
    m_lastText = m_position.at + QPoint(m_dx, m_dy);
    if (!text.isEmpty())
        m_texts.push_back({m_lastText, text, ink, bold, height});
}

void TEtymologyChart::LocateLabel(const QString &caption, TChartLabelKind kind, TRootCoordinates root)
{
    if (static_cast<int>(m_labels.size()) == kChartLabelCount || caption.isEmpty())
        return;
    const int width = RoundHalfEven(TextWidth(caption) * kLabelWidthFactor);
    m_labels.push_back({QRect(m_lastText, QSize(width, kTextHeight + kLabelExtraHeight)), caption, kind, m_current, root});
    m_texts.back().label = static_cast<int>(m_labels.size()) - 1;
}

void TEtymologyChart::DrawTitle()
{
    const TEtymologyRecord &r = m_db.Record(m_current);
    const TNode &node = Node(m_line, m_generation);
    TWordPart part = TWordPart::Root;
    if (!r[L::Prefix].isEmpty())
        part = TWordPart::Prefix;
    else if (m_line != 0 ? !r[L::Parent1].isEmpty() : r[L::LayoutType] == kLayoutDerived && !node.parentOutside)
        part = TWordPart::FirstParent;
    m_position = Place(m_line, m_generation, TChartSlot::WordLine, part);
    if (!m_position.placed)
        m_position = {node.origin, true};
    m_dx = m_dy = 0;
    const QString word = StripHomonymDigit(r[L::Headword]);
    DrawChartText(word, TChartInk::Main, true, kWordHeight);
    LocateLabel(word, TChartLabelKind::Title);

    QStringList meanings;
    for (TEtymologyLine line : {L::Meaning1, L::Meaning2, L::Meaning3, L::Meaning4})
        if (!r[line].isEmpty())
            meanings.append(r[line]);
    m_dx = RoundHalfEven(QFontMetrics(ChartFont(kWordHeight, false)).horizontalAdvance(word) * kBoldWidthFactor) +
           kMeaningGap;
    m_dy = 1;
    DrawChartText(meanings.join(kMeaningSeparator), TChartInk::Secondary, false, kTextHeight);
}

void TEtymologyChart::DrawAffixElement(bool suffix)
{
    const TEtymologyRecord &r = m_db.Record(m_current);
    const TWordPart part = suffix ? TWordPart::Suffix : TWordPart::Prefix;
    const TChartSlot slot = suffix ? TChartSlot::SuffixElement : TChartSlot::PrefixElement;
    const QPoint from = Point(m_line, m_generation, TChartSlot::WordLine, part);
    m_position = Place(m_line, m_generation, slot);
    DrawConnector(from, m_position.at);

    const QString form = suffix ? QLatin1Char('-') + r[L::Suffix] : PrefixAffixForm(r[L::Prefix]);
    int entry = m_db.FindAffix(form);
    const bool known = entry <= m_db.AffixCount();
    m_dx = 0;
    m_dy = -1;
    const QString name = QLatin1Char(' ') + FormatHomonym(known ? m_db.Affix(entry).form : form) + QLatin1Char(' ');
    DrawChartText(name, TChartInk::Main, true, kWordHeight);
    LocateLabel(name, suffix ? TChartLabelKind::Suffix : TChartLabelKind::Prefix);
    m_dx += TextWidth(name + kGapAfter);
    m_dy += 2;

    const QString &gloss = r[suffix ? L::SuffixGloss : L::PrefixGloss];
    // A suffix glossed only by its part of speech or tense says nothing here.
    if (!gloss.isEmpty() && !(suffix && (gloss.contains(kGrammarGloss) || gloss.contains(kPastGloss)))) {
        const QString quoted = QStringLiteral("”") + gloss + QStringLiteral("” ");
        DrawChartText(quoted, TChartInk::Secondary, false, kTextHeight);
        m_dx += TextWidth(quoted + kGapAfter);
    }
    if (!known)
        return;
    // A variant names the entry whose gloss it shares.
    const int variant = m_db.FindAffix(m_db.Affix(entry).gloss);
    if (variant <= m_db.AffixCount() && variant != entry) {
        entry = variant;
        const QString same = QStringLiteral("= ") + FormatHomonym(m_db.Affix(entry).form) + QStringLiteral("　");
        DrawChartText(same, TChartInk::Secondary, false, kTextHeight);
        m_dx += TextWidth(same);
    }
    DrawChartText(m_db.Affix(entry).gloss, TChartInk::Secondary, false, kTextHeight);
}

// The part of the word line a root hangs from: its root part, or, in a word
// whose parent parts fill the middle, the parent part that carries the root.
QPoint TEtymologyChart::RootPartOf(bool second) const
{
    const TWordPart parts[] = {TWordPart::Root, second ? TWordPart::SecondParent : TWordPart::FirstParent,
                               second ? TWordPart::FirstParent : TWordPart::SecondParent};
    for (TWordPart part : parts)
        if (IsPlaced(m_line, m_generation, TChartSlot::WordLine, part))
            return Point(m_line, m_generation, TChartSlot::WordLine, part);
    return Node(m_line, m_generation).origin;
}

void TEtymologyChart::DrawRoot(bool second)
{
    const TEtymologyRecord &r = m_db.Record(m_current);
    const L codeLine = second ? L::Root2Code : L::RootCode;
    const L formsLine = second ? L::Root2Forms : L::RootForms;
    const TChartSlot slot = second ? TChartSlot::SecondRoot : TChartSlot::FirstRoot;
    if (r[formsLine].isEmpty() || !IsPlaced(m_line, m_generation, slot))
        return;
    m_position = Place(m_line, m_generation, slot);
    DrawConnector(RootPartOf(second), m_position.at);
    m_dx = m_dy = 0;
    const QString marker = second ? kSecondRootMarker : QString();
    const bool found = FindRoot(r[codeLine], r[formsLine]);
    const TRootCoordinates at = m_db.LastLocatedRoot();
    const TRootNode &node = m_db.RootNode(at.first, at.second, at.third);
    // A root missing from the tree is still named, from the word's own record,
    // but offers no relatives.
    const QString name = found ? RootLabelText(node.code, node.forms, marker)
                               : RootLabelText(r[codeLine], r[formsLine], marker);
    DrawChartText(name, TChartInk::Main, true, kWordHeight);
    if (found)
        LocateLabel(name, TChartLabelKind::RootChild, at);
    m_dx += TextWidth(name + kGapAfter);
    if (found) {
        const QString gloss = QLatin1Char(' ') + node.gloss;
        DrawChartText(gloss, TChartInk::Secondary, false, kTextHeight);
        if (gloss.size() < kLongGloss) {
            m_dx += TextWidth(gloss + kGapAfter);
        } else {
            m_dx += 8;
            m_dy += kRowHeight;
        }
    }
    QString sense = second ? r[L::Root2SenseHere] : r[L::RootSenseHere];
    if (!second && sense == kSameSense)
        sense = r[L::RootSense];
    if (!sense.isEmpty())
        DrawChartText(QStringLiteral("（") + sense + QStringLiteral("）"), TChartInk::Secondary, false, kTextHeight);

    const TChartSlot parentSlot = second ? TChartSlot::SecondRootParent : TChartSlot::FirstRootParent;
    if (found && IsPlaced(m_line, m_generation, parentSlot))
        DrawRootParent(slot, parentSlot);
}

void TEtymologyChart::DrawRootParent(TChartSlot from, TChartSlot to)
{
    const TEtymologyRecord &r = m_db.Record(m_current);
    const TRootCoordinates at = m_db.LastLocatedRoot();
    const TRootNode &top = m_db.RootNode(at.first, 0, 0);
    m_originCode = top.code;
    m_position = Place(m_line, m_generation, to);
    DrawConnector(Point(m_line, m_generation, from), m_position.at);
    m_dx = m_dy = 0;
    QString forms = top.forms;
    if (const qsizetype semicolon = forms.indexOf(QLatin1Char(';')); top.code == kGermanic && semicolon >= 0)
        forms.remove(semicolon, 1);
    const QString name = RootLabelText(top.code, forms, QString());
    DrawChartText(name, TChartInk::Main, true, kWordHeight);
    LocateLabel(name, TChartLabelKind::RootParent, {at.first, 0, 0});
    m_dx += TextWidth(name + kGapAfter);
    const QString gloss = QLatin1Char(' ') + top.gloss;
    DrawChartText(gloss, TChartInk::Secondary, false, kTextHeight);
    if (to != TChartSlot::FirstRootParent)
        return;
    if (gloss.size() < kLongGloss) {
        m_dx += TextWidth(gloss + kGapAfter);
        m_dy -= kTextHeight;
    } else {
        m_dx += 8;
        m_dy += 3;
    }
    if (!r[L::RootSense].isEmpty()) {
        m_dy += kTextHeight;
        DrawChartText(QStringLiteral("（") + r[L::RootSense] + QStringLiteral("）"), TChartInk::Secondary, false,
                      kTextHeight);
    }
}

void TEtymologyChart::DrawJointRootParent(int line)
{
    if (!IsPlaced(line, 1, TChartSlot::JointRootParent))
        return;
    const TEtymologyRecord &chart = ChartWord();
    if (!FindRoot(chart[L::Root2Code], chart[L::Root2Forms]))
        return;
    const TRootCoordinates at = m_db.LastLocatedRoot();
    const TRootNode &top = m_db.RootNode(at.first, 0, 0);
    m_originCode = top.code;
    const int savedLine = m_line;
    const int savedGeneration = m_generation;
    const int savedCurrent = m_current;
    m_line = line;
    m_generation = 1;
    m_current = m_record;
    m_position = Place(line, 1, TChartSlot::JointRootParent);
    DrawConnector(Point(line, 1, TChartSlot::Joint), m_position.at);
    m_dx = m_dy = 0;
    const QString name = RootLabelText(top.code, top.forms, QString());
    DrawChartText(name, TChartInk::Main, true, kWordHeight);
    LocateLabel(name, TChartLabelKind::RootParent, {at.first, 0, 0});
    m_dx += TextWidth(name + kGapAfter);
    DrawChartText(QLatin1Char(' ') + top.gloss, TChartInk::Secondary, false, kTextHeight);
    m_line = savedLine;
    m_generation = savedGeneration;
    m_current = savedCurrent;
}

void TEtymologyChart::DrawRemark()
{
    const TEtymologyRecord &r = m_db.Record(m_current);
    m_position = Place(m_line, m_generation, TChartSlot::Remark);
    m_dx = m_dy = 0;
    QString remark = r[L::Remark];
    remark.remove(kFullwidthAt);
    // In the font the previous text left.
    DrawChartText(kRemarkMark + remark, TChartInk::Remark);
}

void TEtymologyChart::Origin()
{
    const TEtymologyRecord &chart = ChartWord();
    const bool hasRoot = !chart[L::RootCode].isEmpty() || !chart[L::Root2Code].isEmpty();
    if (!chart[L::Parent2].isEmpty())
        return;
    const TEtymologyRecord *source = &chart;
    if (!chart[L::Parent1].isEmpty()) {
        for (int generation = kChartGenerations; generation >= 1; --generation) {
            if (Ancestor(1, generation) != 0) {
                source = &m_db.Record(Ancestor(1, generation));
                break;
            }
        }
    }
    QString code = (*source)[L::Root2Code].isEmpty() ? (*source)[L::RootCode] : (*source)[L::Root2Code];
    if (!m_originCode.isEmpty() && m_originCode != kIndoEuropean)
        code = m_originCode;
    m_originName = OriginLanguageName(code, hasRoot);
}

int TEtymologyChart::LabelAt(QPoint point) const
{
    for (int i = 0; i < static_cast<int>(m_labels.size()); ++i)
        if (m_labels[i].area.contains(point))
            return i;
    return -1;
}

void TEtymologyChart::Paint(QPainter &painter, const TChartColours &colours, bool labelTexts) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colours.line, 1));
    for (const TChartConnector &c : m_connectors) {
        painter.drawLine(c.from, c.corner);
        painter.drawLine(c.corner, c.to);
    }
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const TChartText &t : m_texts) {
        if (!labelTexts && t.label >= 0)
            continue;
        QColor ink = colours.main;
        if (t.ink == TChartInk::Secondary)
            ink = colours.secondary;
        else if (t.ink == TChartInk::Remark)
            ink = colours.remark;
        else if (t.ink == TChartInk::Black)
            ink = Qt::black;
        const QFont font = ChartFont(t.height, t.bold);
        painter.setFont(font);
        painter.setPen(ink);
        painter.drawText(t.at + QPoint(0, QFontMetrics(font).ascent()), t.text);
    }
    painter.restore();
}

QImage TEtymologyChart::Render(const TChartColours &colours, QColor background, bool labelTexts) const
{
    QImage image(kChartWidth, kChartHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    Paint(painter, colours, labelTexts);
    return image;
}
