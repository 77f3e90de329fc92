#include "app/WordPanel.h"

#include "app/MainUnit.h"
#include "app/MainWidgets.h"
#include "app/Program.h"
#include "speech/SpeechAndSound.h"
#include "app/TrainingFlow.h"
#include "base/SlotGuard.h"
#include "base/WaitPumping.h"
#include "engine/CommonUnit.h"
#include "engine/RelatedTree.h"
#include "help/Pictures.h"
#include "widgets/SvgPicture.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>
#include <cmath>

namespace {
// Designed places inside the pages.
const QRect kZodiacPanel(16, 11, 38, 38);
constexpr int kZodiacInner = 36;          // the panel inside its frame
const QPoint kWordLine(72, 21);
constexpr int kWordLineFontHeight = 20;
constexpr int kPhraseWordLineFontHeight = 16;
constexpr int kMemoTop = 27;
constexpr int kPhraseMemoTop = 25;
const QPoint kNeverSwitch(898, 4);
const QRect kCurveImage(102, 66, kCurveGraphWidth, kCurveGraphHeight);
const QPoint kStage3Hint(324, 152);
const QColor kStage3HintColour(0x80, 0x80, 0x80);
const QRect kTree(8, 5, 913, 241);
const QPoint kEtymologyChartShift(8, 6);
const QPoint kEtymologyNote(16, 16);
const QPoint kSpaceNote(812, 226);   // right of the chart, at the bottom
constexpr int kTabIconSize = 12;
constexpr int kPageFrame = 8;            // the tab control's frame around a page
constexpr int kCoverTabClearance = 20;   // the cover starts below the row of tabs

// The graph: its origin, the area in which the pointer shows a stage's
// meaning, and the strip that trims the last curve at the plot's right edge.
constexpr int kHintLeft = kCurveGraphOriginX;
constexpr int kHintRight = kCurveGraphOriginX + 700;
constexpr int kHintTop = kCurveGraphOriginY;
constexpr int kHintBottom = kCurveGraphOriginY + 100;
// The last curve runs to 710 pixels from the origin, one more with its shadow.
const QRect kRightTrim(771, 50, kCurveGraphOriginX + 712 - 771, 97);
const QPoint kMarkOffset(-7, -16);
constexpr int kMarkFontHeight = 12;

// The telop.
constexpr int kTelopMaxWidth = 873;
constexpr int kTelopFontHeight = 16;
constexpr int kPhraseTelopFontHeight = 12;
const QString kTelopSeparator = QStringLiteral(",   ");
const QString kTelopEllipsis = QStringLiteral(" ...");

// Speaking a tree line: the voice is chosen, then this wait.
constexpr int kSpeakLineWait = 222;
const QString kMeaningsOpen = QStringLiteral("（ ");

const std::array<QString, 13> kZodiacNames = {
    QStringLiteral("BigDipper"), QStringLiteral("Aries"),       QStringLiteral("Taurus"),
    QStringLiteral("Gemini"),    QStringLiteral("Cancer"),      QStringLiteral("Leo"),
    QStringLiteral("Virgo"),     QStringLiteral("Libra"),       QStringLiteral("Scorpio"),
    QStringLiteral("Sagittarius"), QStringLiteral("Capricorn"), QStringLiteral("Aquarius"),
    QStringLiteral("Pisces")};
const QString kExcludedSign = QStringLiteral("SouthernCross");

struct TSkinCurves {
    const char *skin;
    TCurveColours colours;
};
const std::array<TSkinCurves, 5> kSkinCurves = {{
    {"Athena", {QColor(0x63, 0xB1, 0xFF), QColor(0xA0, 0xB1, 0xE9), QColor(0x96, 0x96, 0x96), QColor(0xD2, 0xD2, 0xE6)}},
    {"Hephaestus", {QColor(0xDE, 0xDE, 0xDE), QColor(0xDE, 0xDE, 0xDE), QColor(0x6F, 0x6F, 0x6F), QColor(0xAA, 0xAA, 0xAA)}},
    {"Nike", {QColor(0x2C, 0x2C, 0x2C), QColor(0xB1, 0xB1, 0xB1), QColor(0xA0, 0xA0, 0xA0), QColor(0xC7, 0xC7, 0xC7)}},
    {"Olive", {QColor(0x6F, 0x6F, 0x6F), QColor(0x9B, 0x9B, 0x9B), QColor(0xD3, 0xD3, 0xD3), QColor(0xD9, 0xD9, 0xD9)}},
    {"Eos", {QColor(0xFE, 0xFE, 0xFE), QColor(0xFE, 0xFE, 0xFE), QColor(0xD3, 0xD3, 0xD3), QColor(0xDE, 0xDE, 0xDE)}},
}};
const TCurveColours kOtherSkinCurves{QColor(0x58, 0x58, 0x58), QColor(0xBC, 0xBC, 0xBC), QColor(0xD3, 0xD3, 0xD3),
                                     QColor(0xD3, 0xD3, 0xD3)};

// A curve line stands out from the plot's tone by at least this contrast
// ratio (relative luminance, as for graphics on a screen); where the skin's
// own colour does not, its lightness moves until it does.
constexpr double kMinCurveContrast = 3.0;
constexpr int kLightnessSteps = 100;
// Where a stage picture shows the plot's tone: just inside its top-left corner.
const QPoint kPlotToneAt(kCurveGraphOriginX + 2, kCurveGraphOriginY + 2);

double RelativeLuminance(const QColor &c)
{
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// The colour of the same hue and saturation, moved in lightness towards black
// (direction -1) or white (+1) until it stands out from the plot; the end of
// the way (black or white) when it never does.
QColor MovedUntilReadable(const QColor &colour, const QColor &plot, int direction)
{
    float hue = 0;
    float saturation = 0;
    float lightness = 0;
    colour.getHslF(&hue, &saturation, &lightness);
    hue = qMax(hue, 0.0f);   // grey: no hue
    QColor moved = colour;
    for (int step = 1; step <= kLightnessSteps; ++step) {
        const float l = qBound(0.0f, lightness + float(direction * step) / kLightnessSteps, 1.0f);
        moved = QColor(QColor::fromHslF(hue, saturation, l).rgb());   // 8 bits a channel, as drawn
        if (CurveContrast(moved, plot) >= kMinCurveContrast || l <= 0.0f || l >= 1.0f)
            break;
    }
    return moved;
}

// A line readable on the plot. Where it could go either way, it goes away
// from the other curve's line, so that the word's last curve and the earlier
// ones stay apart.
QColor ReadableLine(const QColor &line, const QColor &other, const QColor &plot)
{
    if (CurveContrast(line, plot) >= kMinCurveContrast)
        return line;
    const QColor darker = MovedUntilReadable(line, plot, -1);
    const QColor lighter = MovedUntilReadable(line, plot, +1);
    const bool darkerReads = CurveContrast(darker, plot) >= kMinCurveContrast;
    const bool lighterReads = CurveContrast(lighter, plot) >= kMinCurveContrast;
    if (darkerReads && lighterReads)
        return RelativeLuminance(other) < RelativeLuminance(line) ? lighter : darker;
    if (darkerReads != lighterReads)
        return darkerReads ? darker : lighter;
    return CurveContrast(lighter, plot) > CurveContrast(darker, plot) ? lighter : darker;
}


// The panel's own pictures: the signs, the flags and the stage pictures,
// drawn at their own size; a null picture for a name that is none of them.
QPixmap PanelPicture(const QString &folder, const QString &name, qreal devicePixelRatio = 1.0)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_]+$"));
    if (!plain.match(name).hasMatch() || devicePixelRatio <= 0)
        return {};
    const QString path = QStringLiteral(":/%1/%2.svg").arg(folder, name);
    return QFileInfo::exists(path) ? SvgPicture(path, devicePixelRatio) : QPixmap();
}

const QString kSignFolder = QStringLiteral("zodiac");
const QString kFlagFolder = QStringLiteral("flags");
const QString kStageFolder = QStringLiteral("stages");

// Tab icons: 1 the active page, 2 the other pages.
QIcon TabIcon(bool active)
{
    QPixmap pm(kTabIconSize, kTabIconSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x70, 0x70, 0x90), 1.2));
    p.setBrush(active ? QColor(0x8E, 0xA8, 0xD8) : QColor(0xF2, 0xF2, 0xF2));
    p.drawEllipse(QRectF(1.5, 1.5, kTabIconSize - 3, kTabIconSize - 3));
    return QIcon(pm);
}

bool IsPhraseFile(const TCC &cc)
{
    return cc.fileCode == QStringLiteral("TJ") || cc.fileCode == QStringLiteral("DJ");
}

// A point of a curve in the picture: whole pixels from the graph's origin.
QPoint GraphPoint(float x, float y)
{
    return {kCurveGraphOriginX + static_cast<int>(std::trunc(x)), kCurveGraphOriginY + static_cast<int>(std::trunc(y))};
}

// One segment: its shadow one pixel up, down, left and right, then the line.
void DrawSegment(QPainter &p, QPoint from, QPoint to, const QColor &line, const QColor &shadow)
{
    p.setPen(QPen(shadow, 1));
    for (const QPoint shift : {QPoint(0, -1), QPoint(0, 1), QPoint(-1, 0), QPoint(1, 0)})
        p.drawLine(from + shift, to + shift);
    p.setPen(QPen(line, 1));
    p.drawLine(from, to);
}

void DrawEntryCurve(QPainter &p, const TEntryCurve &curve, const TCurveColours &colours)
{
    const QColor &line = curve.last ? colours.lastLine : colours.line;
    const QColor &shadow = curve.last ? colours.lastShadow : colours.shadow;
    if (curve.last) {
        p.setPen(kLastEntryMarkColour);
        QFont f = p.font();
        f.setPixelSize(kMarkFontHeight);
        p.setFont(f);
        const QPoint at = GraphPoint(curve.startX, 0) + kMarkOffset;
        p.drawText(QRect(at, QSize(kMarkFontHeight * 2, kMarkFontHeight * 2)), Qt::AlignLeft | Qt::AlignTop,
                   kLastEntryMark);
    }
    for (qsizetype k = 1; k < curve.points.size(); ++k) {
        const TCurvePoint &a = curve.points.at(k - 1);
        const TCurvePoint &b = curve.points.at(k);
        DrawSegment(p, GraphPoint(a.x, a.y), GraphPoint(b.x, b.y), line, shadow);
    }
    if (curve.returnsToTop)
        DrawSegment(p, GraphPoint(curve.returnX, curve.returnY), GraphPoint(curve.returnX, 0), line, shadow);
}
}   // namespace

// ---------------------------------------------------------------------------
// Plain functions
// ---------------------------------------------------------------------------

QString ZodiacName(int level)
{
    if (level >= 0 && level < static_cast<int>(kZodiacNames.size()))
        return kZodiacNames[static_cast<size_t>(level)];
    if (level == kExcludedLevel)
        return kExcludedSign;
    return {};
}

QIcon LanguageFlagIcon(int languageKind)
{
    const QPixmap flag = PanelPicture(kFlagFolder, QStringLiteral("Flag%1").arg(languageKind));
    return flag.isNull() ? QIcon() : QIcon(flag);
}

TCurveColours CurveColoursOfSkin(const QString &skinName)
{
    for (const TSkinCurves &s : kSkinCurves)
        if (skinName == QLatin1String(s.skin))
            return s.colours;
    return kOtherSkinCurves;
}

double CurveContrast(const QColor &a, const QColor &b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QColor PlotTone(const QImage &background)
{
    return background.valid(kPlotToneAt) ? background.pixelColor(kPlotToneAt) : QColor(Qt::white);
}

TCurveColours ReadableCurveColours(const TCurveColours &colours, const QColor &plot)
{
    TCurveColours readable = colours;
    readable.line = ReadableLine(colours.line, colours.lastLine, plot);
    readable.lastLine = ReadableLine(colours.lastLine, colours.line, plot);
    return readable;
}

QImage DrawCurveGraph(const TCurveGraphInputs &inputs, const QImage &background, const TCurveColours &colours,
                      const std::function<bool(const QImage &)> &entryDrawn)
{
    QImage surface(kCurveGraphWidth, kCurveGraphHeight, QImage::Format_ARGB32_Premultiplied);
    surface.fill(Qt::white);
    {
        QPainter p(&surface);
        p.drawImage(0, 0, background);
    }
    // A stage-3 word has no curve.
    if (inputs.background == TStage::Three)
        return surface;
    for (const TEntryCurve &curve : inputs.curves) {
        {
            QPainter p(&surface);
            DrawEntryCurve(p, curve, colours);
        }
        if (entryDrawn && !entryDrawn(surface))
            return surface;
    }
    QPainter p(&surface);
    p.fillRect(kRightTrim, Qt::white);
    return surface;
}

QString TelopLine(const QStringList &headwords, const std::function<int(const QString &)> &widthOf, int maxWidth)
{
    QString line = headwords.join(kTelopSeparator);
    bool shortened = false;
    while (!line.isEmpty() && widthOf(line) >= maxWidth) {
        QString body = shortened ? line.chopped(kTelopEllipsis.size()) : line;
        const qsizetype comma = body.lastIndexOf(QLatin1Char(','));
        if (comma >= 0) {
            body.truncate(comma);
        } else {
            // One headword wider than the line: cut it letter by letter.
            if (body.isEmpty())
                return {};
            body.chop(body.size() >= 2 && body.back().isLowSurrogate() ? 2 : 1);
        }
        line = body + kTelopEllipsis;
        shortened = true;
        if (body.isEmpty())
            break;
    }
    return line;
}

// ---------------------------------------------------------------------------
// The panel
// ---------------------------------------------------------------------------

TWordPanel::TWordPanel(TMainForm &form, QWidget *parent, QLabel *telopLabel)
    : QTabWidget(parent), sLabel_Hasei(telopLabel), m_form(form), m_colours(CurveColoursOfSkin(QString()))
{
    setObjectName(QStringLiteral("sPageControl1"));
    setFocusPolicy(Qt::NoFocus);
    tabBar()->setFocusPolicy(Qt::NoFocus);

    sTabSheet_Voc = new QWidget;
    sTabSheet_Voc->setObjectName(QStringLiteral("sTabSheet_Voc"));
    sTabSheet_R = new QWidget;
    sTabSheet_R->setObjectName(QStringLiteral("sTabSheet_R"));
    sTabSheet_O = new QWidget;
    sTabSheet_O->setObjectName(QStringLiteral("sTabSheet_O"));
    addTab(sTabSheet_Voc, TabIcon(true), QStringLiteral(" 忘却曲線   "));
    addTab(sTabSheet_R, TabIcon(false), QStringLiteral(" 関連語彙   "));
    addTab(sTabSheet_O, TabIcon(false), QStringLiteral("語源チャート"));
    BuildCurvePage();
    BuildRelatedPage();
    BuildEtymologyPage();

    sPanel_cover = new TPanel(parent, QStringLiteral("sPanel_cover"));
    sPanel_cover->setAutoFillBackground(true);
    sPanel_cover->setFrameStyle(QFrame::NoFrame);

    connect(this, &QTabWidget::currentChanged, this, Guarded([this] { sPageControl1Change(); }));
    connect(TntTreeView, &QTreeWidget::currentItemChanged, this,
            Guarded([this](QTreeWidgetItem *item) { TntTreeViewChange(item); }));
    for (QWidget *w : {static_cast<QWidget *>(Image_FC), static_cast<QWidget *>(sPanelZodiac),
                       static_cast<QWidget *>(ImageZodiacM), static_cast<QWidget *>(Image_etym),
                       static_cast<QWidget *>(sLabel_Hasei)})
        w->installEventFilter(this);
    Image_FC->setMouseTracking(true);
}

TWordPanel::~TWordPanel() = default;

void TWordPanel::BuildCurvePage()
{
    sPanelZodiac = new TPanel(sTabSheet_Voc, QStringLiteral("sPanelZodiac"));
    sPanelZodiac->setGeometry(kZodiacPanel);
    sPanelZodiac->hide();
    ImageZodiacM = MakeLabel(sPanelZodiac, QStringLiteral("ImageZodiacM"));
    ImageZodiacM->setGeometry(2, 2, 32, 32);
    sLabel_TabVoc_Voc = MakeLabel(sTabSheet_Voc, QStringLiteral("sLabel_TabVoc_Voc"));
    QFont wordFont = PixelFont(kWordLineFontHeight, true);
    wordFont.setUnderline(true);
    sLabel_TabVoc_Voc->setFont(wordFont);
    sLabel_TabVoc_Voc->move(kWordLine);
    sLabel_TabVoc_Memo = MakeLabel(sTabSheet_Voc, QStringLiteral("sLabel_TabVoc_Memo"));
    sLabel_TabVoc_Memo->move(kWordLine.x(), kMemoTop);
    sLabelFX_never = MakeLabel(sTabSheet_Voc, QStringLiteral("sLabelFX_never"), QStringLiteral("○"));
    sLabelFX_never->setToolTip(QStringLiteral("出題／非出題の切替　※Delete キーでも可"));
    sLabelFX_never->setFont(PixelFont(20, true));
    sLabelFX_never->move(kNeverSwitch);
    Image_FC = MakeLabel(sTabSheet_Voc, QStringLiteral("Image_FC"));
    Image_FC->setGeometry(kCurveImage);
    sLabel_stage3_hint = MakeLabel(sTabSheet_Voc, QStringLiteral("sLabel_stage3_hint"),
                                   QStringLiteral("※ Stage 1～2 における成績に基づいて、適切な頻度で出題されます"));
    sLabel_stage3_hint->move(kStage3Hint);
    QPalette pal = sLabel_stage3_hint->palette();
    pal.setColor(QPalette::WindowText, kStage3HintColour);
    sLabel_stage3_hint->setPalette(pal);
    sLabel_stage3_hint->adjustSize();
    sLabel_stage3_hint->hide();
}

void TWordPanel::BuildRelatedPage()
{
    TntTreeView = new QTreeWidget(sTabSheet_R);
    TntTreeView->setObjectName(QStringLiteral("TntTreeView"));
    TntTreeView->setGeometry(kTree);
    TntTreeView->setHeaderHidden(true);
    TntTreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TntTreeView->setFocusPolicy(Qt::NoFocus);
    TntTreeView->setSortingEnabled(false);
}

void TWordPanel::BuildEtymologyPage()
{
    Image_etym = MakeLabel(sTabSheet_O, QStringLiteral("Image_etym"));
    Image_etym->setGeometry(0, 0, kTree.width() + 16, kTree.height() + 10);
    Image_etym->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image_etym->setContentsMargins(kEtymologyChartShift.x(), kEtymologyChartShift.y(), 0, 0);
    Image_etym->hide();
    sLabel_space = MakeLabel(sTabSheet_O, QStringLiteral("sLabel_space"), QStringLiteral("※スペースキーで拡大"));
    sLabel_space->move(kSpaceNote);
    sLabel_space->hide();
    sLabel_etym = MakeLabel(sTabSheet_O, QStringLiteral("sLabel_etym"),
                            QStringLiteral("※英単語の学習ファイルのみ、ここに語源が表示されます"));
    sLabel_etym->move(kEtymologyNote);
    sLabel_etym->adjustSize();
}

bool TWordPanel::Busy() const
{
    return m_form.flow().IsBusy();
}

bool TWordPanel::Asking() const
{
    return m_form.flow().IsAsking();
}

int TWordPanel::CurrentWord() const
{
    const int c = m_form.flow().currentWord();
    return TWordTable::IsPosition(c) ? c : 0;
}

void TWordPanel::PlayButton()
{
    m_form.flow().PlaySound(QStringLiteral("BUTTON"));
}

// ---------------------------------------------------------------------------
// Pages
// ---------------------------------------------------------------------------

void TWordPanel::sPageControl1Change()
{
    // The learner's change clicks; a file that opens on its page does not.
    if (m_form.isActiveWindow() && !m_form.flow().IsLoading())
        PlayButton();
    SetActiveTabIcon(currentIndex());
    RefreshActivePage();
}

void TWordPanel::SetActiveTabIcon(int index)
{
    for (int i = 0; i < count(); ++i)
        setTabIcon(i, TabIcon(i == index));
}

void TWordPanel::RefreshActivePage()
{
    switch (static_cast<TWordPage>(currentIndex())) {
    case TWordPage::Curve:
        ShowWordInfo();
        break;
    case TWordPage::Related:
        BuildRelatedWordsTree();
        break;
    case TWordPage::Etymology:
        ShowEtymologyTab();
        break;
    }
}

void TWordPanel::LayCoverPanel()
{
    // The pages are laid out only when the window first shows: their size
    // follows from the tab control's frame and its row of tabs.
    const QRect pages = geometry();
    const int tabRow = tabBar()->sizeHint().height();
    const QSize sheet(pages.width() - kPageFrame, pages.height() - tabRow - kPageFrame);
    const int top = pages.top() + qMax(kCoverTabClearance, tabRow);
    sPanel_cover->setGeometry(pages.left(), top, sheet.width() + 9, pages.bottom() + 1 - top + 10 - kPageFrame);
    sPanel_cover->clear();
    sPanel_cover->raise();
    sPanel_cover->show();
}

void TWordPanel::ShowWordInfo()
{
    if (Busy())
        return;
    const int c = CurrentWord();
    if (c == 0)
        return;
    TCC &cc = m_form.cc();
    const TTango &t = cc.words[c];

    // The level's sign, centred in the panel.
    const QString sign = ZodiacName(t.level);
    const QPixmap picture = sign.isEmpty() ? QPixmap() : PanelPicture(kSignFolder, sign, devicePixelRatioF());
    if (picture.isNull()) {
        ImageZodiacM->hide();
    } else {
        const QSize size = picture.deviceIndependentSize().toSize();
        ImageZodiacM->setPixmap(picture);
        ImageZodiacM->setGeometry((kZodiacInner - size.width()) / 2, (kZodiacInner - size.height()) / 2,
                                  size.width(), size.height());
        ImageZodiacM->setToolTip(sign + QStringLiteral(" （習熟レベル ") + QString::number(t.level) +
                                 QStringLiteral("）"));
        ImageZodiacM->show();
    }
    sPanelZodiac->show();

    const bool phrases = IsPhraseFile(cc);
    QFont wordFont = sLabel_TabVoc_Voc->font();
    wordFont.setPixelSize(phrases ? kPhraseWordLineFontHeight : kWordLineFontHeight);
    sLabel_TabVoc_Voc->setFont(wordFont);
    sLabel_TabVoc_Memo->move(sLabel_TabVoc_Memo->x(), phrases ? kPhraseMemoTop : kMemoTop);

    sLabel_TabVoc_Voc->setText(cc.FormatHeadword(t.word, false));
    sLabel_TabVoc_Voc->adjustSize();
    sLabel_TabVoc_Voc->setToolTip(QStringList{QStringLiteral(" 習熟レベル：　") + QString::number(t.level),
                                              QStringLiteral(" 出題回数：　") + QString::number(t.timesAsked) +
                                                  QStringLiteral(" 回"),
                                              QStringLiteral(" 不正解回数：　") + QString::number(t.wrongCount) +
                                                  QStringLiteral(" 回"),
                                              QStringLiteral(" 不合格・Limbo 回数：　") +
                                                  QString::number(t.resetCount) + QStringLiteral(" 回")}
                                      .join(QLatin1Char('\n')));
    // The explanation line, right of the word line.
    m_form.flow().ShowExplanationLine();
    DrawForgettingCurve(false);
}

void TWordPanel::DrawForgettingCurve(bool forNewQuestion)
{
    if (!forNewQuestion && (Busy() || currentIndex() != static_cast<int>(TWordPage::Curve)))
        return;
    const int drawing = ++m_drawing;
    m_hintPicture = false;
    const TCurveGraphInputs inputs = CurveGraphInputs(m_form.cc(), CurrentWord(), forNewQuestion, m_gradedStage);
    const QImage &background = m_stagePictures[static_cast<size_t>(inputs.background) - 1];
    // The curves appear one after the other. A newer drawing (a new question,
    // the exclusion switch) started meanwhile takes the graph over.
    const auto stillOurs = [this, drawing, forNewQuestion] {
        return drawing == m_drawing && (forNewQuestion || !Busy());
    };
    const QImage graph = DrawCurveGraph(inputs, background, m_colours, [&](const QImage &surface) {
        Image_FC->setPixmap(QPixmap::fromImage(surface));
        WaitPumping(1);
        return stillOurs();
    });
    if (!stillOurs())
        return;
    m_graph = graph;
    Image_FC->setPixmap(QPixmap::fromImage(m_graph));
}

void TWordPanel::BuildRelatedWordsTree()
{
    if (Busy() || TntTreeView->topLevelItemCount() > 0)
        return;
    const int c = CurrentWord();
    if (c == 0)
        return;
    const TRelatedNode root = BuildRelatedTree(m_form.cc(), m_form.program().relatedWords(), c);
    TntTreeView->setUpdatesEnabled(false);
    TntTreeView->setSortingEnabled(false);
    TntTreeView->clear();
    AddTreeNode(nullptr, root);
    QTreeWidgetItem *top = TntTreeView->topLevelItem(0);
    for (int i = 0; i < top->childCount(); ++i)
        top->child(i)->setExpanded(true);
    top->setExpanded(true);
    TntTreeView->setUpdatesEnabled(true);
}

void TWordPanel::AddTreeNode(QTreeWidgetItem *parent, const TRelatedNode &node)
{
    auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TntTreeView);
    item->setText(0, node.text);
    item->setIcon(0, LanguageFlagIcon(node.icon));
    item->setData(0, Qt::UserRole, node.icon);
    for (const TRelatedNode &child : node.children)
        AddTreeNode(item, child);
}

void TWordPanel::TntTreeViewChange(QTreeWidgetItem *item)
{
    if (!item || TntTreeView->topLevelItemCount() == 0)
        return;
    const QString line = item->text(0);
    const qsizetype open = line.indexOf(kMeaningsOpen);
    const QString text = (open >= 0 ? line.left(open) : line).trimmed();
    if (text.isEmpty())
        return;
    // The voice of the line's language: a related-words entry is English even
    // in a file of another language.
    const int kind = item->data(0, Qt::UserRole).toInt();
    const int slot = MainSlotOfLanguageKind(kind);
    TSpeechAndSound &media = m_form.program().media();
    media.SelectSpeechEngine(slot != 0 ? slot : m_form.cc().fileSlot);
    WaitPumping(kSpeakLineWait);
    media.SpeakText(text, false);
}

void TWordPanel::ShowEtymologyTab()
{
    const int c = CurrentWord();
    const TCC &cc = m_form.cc();
    const bool englishFile =
        cc.fileCode == QStringLiteral("TT") || cc.fileCode == QStringLiteral("DT") || cc.userFile;
    const QPixmap chart = englishFile && c != 0 && !Busy() && etymologyChart ? etymologyChart(c) : QPixmap();
    if (englishFile && !chart.isNull()) {
        Image_etym->setPixmap(chart);
        Image_etym->show();
        sLabel_space->show();
        sLabel_etym->hide();
    } else {
        // Until a chart can be drawn the page tells which files have one.
        Image_etym->hide();
        sLabel_space->hide();
        sLabel_etym->show();
    }
}

// ---------------------------------------------------------------------------
// The telop and what the panel is told
// ---------------------------------------------------------------------------

void TWordPanel::Timer_telopTimer()
{
    // The typed-word hint stays until the next question.
    if (!sLabel_Hasei->text().isEmpty())
        return;
    m_form.StopTelop();
    const TCC &cc = m_form.cc();
    QFont f = sLabel_Hasei->font();
    f.setPixelSize(IsPhraseFile(cc) ? kPhraseTelopFontHeight : kTelopFontHeight);
    sLabel_Hasei->setFont(f);
    const QFontMetrics metrics(f);
    const int c = CurrentWord();
    const QString line =
        c == 0 ? QString()
               : TelopLine(TelopHeadwords(cc, c), [&](const QString &s) { return metrics.horizontalAdvance(s); },
                           kTelopMaxWidth);
    sLabel_Hasei->setText(line);
    sLabel_Hasei->adjustSize();
    RefreshActivePage();
    // The curves are drawn while events go on: a key may have asked the next
    // question meanwhile, whose pages stay closed.
    if (Busy())
        return;
    setEnabled(true);
    if (sPanel_cover->isVisible())
        sPanel_cover->hide();
}

void TWordPanel::AnswerGraded(int position)
{
    if (TWordTable::IsPosition(position))
        m_gradedStage = m_form.cc().words[position].stage;
}

void TWordPanel::ApplySkin(const QString &skinName, const QString &pictureSuffix)
{
    m_pictureSuffix = pictureSuffix;
    for (int stage = 1; stage <= 3; ++stage) {
        QImage picture = PanelPicture(kStageFolder, QStringLiteral("Stage%1%2").arg(stage).arg(pictureSuffix)).toImage();
        if (picture.isNull()) {
            picture = QImage(kCurveGraphWidth, kCurveGraphHeight, QImage::Format_ARGB32_Premultiplied);
            picture.fill(Qt::white);
        }
        m_stagePictures[static_cast<size_t>(stage - 1)] = picture;
    }
    // Stages 1 and 2 share the plot's tone; the curves are drawn to read on it.
    m_colours = ReadableCurveColours(CurveColoursOfSkin(skinName), PlotTone(m_stagePictures[0]));
    DrawForgettingCurve(false);
}

// ---------------------------------------------------------------------------
// The mouse
// ---------------------------------------------------------------------------

bool TWordPanel::eventFilter(QObject *watched, QEvent *event)
{
    bool consumed = false;
    Guard([&] {
        const QEvent::Type type = event->type();
        if (watched == Image_FC && type == QEvent::MouseMove) {
            CurveMouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
        } else if (watched == Image_FC && type == QEvent::Leave) {
            CurveMouseLeave();
        } else if (type == QEvent::MouseButtonPress &&
                   static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            const int c = CurrentWord();
            if ((watched == sPanelZodiac || watched == ImageZodiacM) && c != 0 && !Busy()) {
                if (openWordBrowser)
                    openWordBrowser(m_form.cc().words[c].level);
                consumed = true;
            } else if (watched == Image_etym && c != 0 && !Busy()) {
                if (openEtymologyWindow)
                    openEtymologyWindow(c);
                consumed = true;
            } else if (watched == sLabel_Hasei && !sLabel_Hasei->text().isEmpty()) {
                sLabel_HaseiClick();
                consumed = true;
            }
        }
    });
    return consumed || QTabWidget::eventFilter(watched, event);
}

void TWordPanel::CurveMouseMove(const QPoint &pos)
{
    if (Asking() || m_hintPicture)
        return;
    const int c = CurrentWord();
    if (c == 0)
        return;
    const TTango &t = m_form.cc().words[c];
    if (t.level == 0 || t.level == kExcludedLevel)
        return;
    if (t.stage == TStage::Three) {
        sLabel_stage3_hint->raise();
        sLabel_stage3_hint->show();
        return;
    }
    if (pos.x() <= kHintLeft || pos.x() >= kHintRight || pos.y() <= kHintTop || pos.y() >= kHintBottom)
        return;
    const QPixmap hint =
        PanelPicture(kStageFolder, QStringLiteral("Stage%1%2_hint").arg(static_cast<int>(t.stage)).arg(m_pictureSuffix),
                     devicePixelRatioF());
    if (hint.isNull())
        return;
    m_hintPicture = true;
    ++m_drawing;   // a curve still being drawn gives way to the hint
    Image_FC->setPixmap(hint);
}

void TWordPanel::CurveMouseLeave()
{
    if (Asking())
        return;
    sLabel_stage3_hint->hide();
    const bool redraw = m_hintPicture;
    m_hintPicture = false;
    if (redraw)
        DrawForgettingCurve(false);
}

void TWordPanel::sLabel_HaseiClick()
{
    PlayButton();
    setCurrentIndex(static_cast<int>(TWordPage::Related));
    BuildRelatedWordsTree();
}
