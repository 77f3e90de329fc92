#include "etymology/EtymologyUnit.h"

#include "widgets/SvgPicture.h"
#include "base/SlotGuard.h"
#include "base/TError.h"
#include "engine/AnswerCheck.h"
#include "engine/CommonUnit.h"
#include "workspace/ProgramFolders.h"
#include "widgets/LabelColour.h"

#include <QAction>
#include <QCursor>
#include <QDate>
#include <QGraphicsDropShadowEffect>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <functional>

namespace {
constexpr QSize kWindowSize(800, 600);
constexpr QPoint kCanvasOrigin(20, 15);
constexpr QPoint kAthenaRich(684, 328);
constexpr QPoint kAthenaSimple(645, 359);
constexpr QRect kAthenaClick(672, 328, 102, 216);
constexpr QRect kFromLabel(-248, 507, 881, 60);
constexpr QRect kFromLabelFX(474, 506, 300, 54);
constexpr QRect kSearchEdit(688, 8, 98, 21);
constexpr QRect kBackButton(660, 8, 24, 21);
constexpr int kFromFontPixels = 36;
constexpr int kFromFXFontPixels = 32;
constexpr int kRemarkFontPixels = 12;
constexpr int kRemarkLeft = 8;
constexpr int kRemarkTops[] = {516, 532, 548};
constexpr int kHintDays = 5;              // the hint lines show while the record is this young
constexpr int kHistoryCapacity = 200;     // words remembered for going back
constexpr int kMenuOffset = 5;
const QString kCaption = QStringLiteral(" Etymology");
const QString kOriginFont = QStringLiteral("Papyrus");
const QString kPictureFolder = QStringLiteral(":/etymology/");
const QString kBackgroundPicture = QStringLiteral("EtymBG_Vase");
const QString kAthenaRichPicture = QStringLiteral("Etym_Athena_Rich");
const QString kAthenaSimplePicture = QStringLiteral("Etym_Athena_Simple");
const QString kAthenaSimpleWhitePicture = QStringLiteral("Etym_Athena_SimpleWhite");
const QString kHints[] = {
    QStringLiteral("※濃い文字にカーソルを合わせると、同語源の単語を検索できます"),
    QStringLiteral("※アテナ女神をクリックすると、画面タイプを切り替えられます"),
    QStringLiteral("※スペースキーでもとの画面に戻ります"),
};
const QString kBackHint = QStringLiteral("前の単語に戻る（Backspace）");
// The origin caption's colour of screen types 1 to 4 (type 5 has its own caption).
const QColor kFromColours[] = {QColor(0xB96A4D), QColor(0xFFFFFF), QColor(0xB96A4D), QColor(0xC7C7C7)};
const QColor kFromFXColour(0x3C78FA);
// The main window's page is white: a screen type of white texts shows there
// in the colours of the first type.
constexpr int kWhiteTextScreenType = 2;
constexpr int kPageScreenTypeForWhiteText = 1;
const QColor kWhiteTextShade(40, 24, 16, 150);

QPixmap LoadPicture(const QString &name)
{
    return SvgPicture(kPictureFolder + name + QStringLiteral(".svg"));
}

QLabel *MakeLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

// A caption from the menu back to its headword: "bank(2)" is bank2.
QString HeadwordOfCaption(QString caption)
{
    const qsizetype ampersand = caption.indexOf(QLatin1Char('&'));
    if (ampersand >= 0)
        caption.remove(ampersand, 1);
    static const QRegularExpression homonym(QStringLiteral("\\(([1-9])\\)$"));
    return caption.replace(homonym, QStringLiteral("\\1"));
}
}

// The chart canvas: the picture of the last chart, transparent where nothing
// is drawn so that the background shows through.
class TChartCanvas : public QWidget {
public:
    TChartCanvas(TEtymologyForm &form, QWidget *parent) : QWidget(parent), m_form(form)
    {
        setObjectName(QStringLiteral("Image"));
        setAttribute(Qt::WA_TranslucentBackground);
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        Guard([&] {
            QPainter painter(this);
            painter.drawImage(0, 0, m_form.Canvas());
        });
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        Guard([&] {
            QWidget::mouseMoveEvent(event);
            m_moved();
        });
    }

public:
    std::function<void()> m_moved;

private:
    TEtymologyForm &m_form;
};

TEtymologyForm::TEtymologyForm(TCC &cc, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_cc(cc), m_db(std::make_unique<TEtymologyDatabase>()), m_chart(*m_db)
{
    setObjectName(QStringLiteral("EtymologyForm"));
    FormCreate();
}

TEtymologyForm::~TEtymologyForm() = default;

TEtymologyDatabase &TEtymologyForm::Database()
{
    return *m_db;
}

void TEtymologyForm::FormCreate()
{
    setWindowTitle(kCaption);
    setFixedSize(kWindowSize);
    m_canvas = QImage(kChartWidth, kChartHeight, QImage::Format_ARGB32_Premultiplied);
    m_canvas.fill(Qt::transparent);

    Image_BG = MakeLabel(this, QStringLiteral("Image_BG"));
    Image_BG->setGeometry(QRect(QPoint(0, 0), kWindowSize));
    m_background = LoadPicture(kBackgroundPicture);
    m_backgroundForWhiteText = m_background;
    if (!m_backgroundForWhiteText.isNull()) {
        // White texts need the picture darkened to be read on it.
        QPainter painter(&m_backgroundForWhiteText);
        painter.fillRect(m_backgroundForWhiteText.rect(), kWhiteTextShade);
    }
    Image_white = new QLabel(this);   // painted white, not see-through
    Image_white->setObjectName(QStringLiteral("Image_white"));
    Image_white->setGeometry(QRect(QPoint(0, 0), kWindowSize));
    Image_white->setAutoFillBackground(true);
    QPalette white = Image_white->palette();
    white.setColor(QPalette::Window, Qt::white);
    Image_white->setPalette(white);

    Image_Athena_Rich = MakeLabel(this, QStringLiteral("Image_Athena_Rich"));
    Image_Athena_Rich->setPixmap(LoadPicture(kAthenaRichPicture));
    Image_Athena_Rich->move(kAthenaRich);
    Image_Athena_Simple = MakeLabel(this, QStringLiteral("Image_Athena_Simple"));
    Image_Athena_Simple->setPixmap(LoadPicture(kAthenaSimplePicture));
    Image_Athena_Simple->move(kAthenaSimple);
    Image_Athena_SimpleWhite = MakeLabel(this, QStringLiteral("Image_Athena_SimpleWhite"));
    Image_Athena_SimpleWhite->setPixmap(LoadPicture(kAthenaSimpleWhitePicture));
    Image_Athena_SimpleWhite->move(kAthenaSimple);
    for (QLabel *figure : {Image_Athena_Rich, Image_Athena_Simple, Image_Athena_SimpleWhite})
        figure->adjustSize();

    QFont from(kOriginFont);
    from.setStyleHint(QFont::Serif);
    from.setPixelSize(kFromFontPixels);
    sLabel_from = MakeLabel(this, QStringLiteral("sLabel_from"));
    sLabel_from->setGeometry(kFromLabel);
    sLabel_from->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sLabel_from->setFont(from);
    from.setPixelSize(kFromFXFontPixels);
    sLabelFX_from = MakeLabel(this, QStringLiteral("sLabelFX_from"));
    sLabelFX_from->setGeometry(kFromLabelFX);
    sLabelFX_from->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sLabelFX_from->setFont(from);
    SetTextColour(sLabelFX_from, kFromFXColour);
    auto *shadow = new QGraphicsDropShadowEffect(sLabelFX_from);
    shadow->setOffset(2, 2);
    shadow->setBlurRadius(4);
    shadow->setColor(QColor(0, 0, 0, 110));
    sLabelFX_from->setGraphicsEffect(shadow);
    sLabelFX_from->installEventFilter(this);

    Image = new TChartCanvas(*this, this);
    Image->setGeometry(QRect(kCanvasOrigin, QSize(kChartWidth, kChartHeight)));
    Image->m_moved = [this] { ImageMouseMove(); };
    sLabelFX_from->raise();   // clicked like the figure

    for (int n = 0; n < kChartLabelCount; ++n) {
        QLabel *label = MakeLabel(this, QStringLiteral("Label_rel%1").arg(n + 1));
        label->setFont(ChartFont(14, true));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setMargin(0);
        label->setIndent(0);
        label->setCursor(Qt::PointingHandCursor);
        label->hide();
        label->installEventFilter(this);
        Label_rel[static_cast<size_t>(n)] = label;
    }

    QFont hintFont = font();
    hintFont.setPixelSize(kRemarkFontPixels);
    QLabel **hints[] = {&Label_remark, &Label_remark2, &Label_remark3};
    const char *hintNames[] = {"Label_remark", "Label_remark2", "Label_remark3"};
    for (int i = 0; i < 3; ++i) {
        QLabel *hint = MakeLabel(this, QString::fromLatin1(hintNames[i]));
        hint->setText(kHints[i]);
        hint->setFont(hintFont);
        hint->move(kRemarkLeft, kRemarkTops[i]);
        hint->adjustSize();
        hint->hide();
        *hints[i] = hint;
    }

    sEdit_search = new QLineEdit(this);
    sEdit_search->setObjectName(QStringLiteral("sEdit_search"));
    sEdit_search->setGeometry(kSearchEdit);
    sEdit_search->installEventFilter(this);

    sButton_back = new QToolButton(this);
    sButton_back->setObjectName(QStringLiteral("sButton_back"));
    sButton_back->setGeometry(kBackButton);
    sButton_back->setText(QStringLiteral("◀"));
    sButton_back->setToolTip(kBackHint);
    sButton_back->setFocusPolicy(Qt::NoFocus);
    sButton_back->setEnabled(false);
    connect(sButton_back, &QToolButton::clicked, this, Guarded([this] { GoBack(); }));

    Image_forAthenaClick = MakeLabel(this, QStringLiteral("Image_forAthenaClick"));
    Image_forAthenaClick->setGeometry(kAthenaClick);
    Image_forAthenaClick->setToolTip(QStringLiteral("click"));
    Image_forAthenaClick->setCursor(Qt::PointingHandCursor);
    Image_forAthenaClick->installEventFilter(this);

    TreeView_rel = new QTreeWidget(this);
    TreeView_rel->setObjectName(QStringLiteral("TreeView_rel"));
    TreeView_rel->setHeaderHidden(true);
    TreeView_rel->hide();

    PopupActionBar1 = new QMenu(this);
    PopupActionBar1->setObjectName(QStringLiteral("PopupActionBar1"));
    connect(PopupActionBar1, &QMenu::aboutToHide, this, Guarded([this] { MenuHidden(); }));
    m_menuTimer = new QTimer(this);
    m_menuTimer->setSingleShot(true);
    connect(m_menuTimer, &QTimer::timeout, this, Guarded([this] { OpenRelatedMenu(); }));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, Guarded([this] { Timer1Timer(); }));

    sEdit_search->raise();
    sButton_back->raise();
    ApplyScreenType();
}

// ---------------------------------------------------------------------------
// Screen type and placement
// ---------------------------------------------------------------------------

void TEtymologyForm::SetScreenType(int type)
{
    m_screenType = type;
    ApplyScreenType();
    RememberPosition();
}

void TEtymologyForm::ApplyScreenType()
{
    const int type = m_screenType;
    if (type < 1 || type > kScreenTypeCount)
        return;   // an unknown type leaves everything as it was
    Image_BG->setVisible(type <= 3);
    Image_BG->setPixmap(type == kWhiteTextScreenType ? m_backgroundForWhiteText : m_background);
    Image_white->setVisible(type == 4);
    Image_Athena_Rich->setVisible(type <= 2);
    Image_Athena_Simple->setVisible(type == 3);
    Image_Athena_SimpleWhite->setVisible(type == 4);
    sLabel_from->setVisible(type <= 4);
    sLabelFX_from->setVisible(type == 5);
    if (type <= 4)
        SetTextColour(sLabel_from, kFromColours[type - 1]);
    sLabel_from->setText(m_originName);
    sLabelFX_from->setText(m_originName);
    m_colours = ChartColoursOf(type);
    for (QLabel *label : Label_rel)
        SetTextColour(label, m_colours.main);
}

void TEtymologyForm::PlaceWindow()
{
    if (m_placed)
        return;
    m_placed = true;
    if (!m_cc.formPositionLoaded && !m_cc.userFolder.isEmpty())
        m_cc.LoadFormPosition();
    const TFormPosition &stored = m_cc.formPosition;
    // A stored type outside 1..5 would leave the figure unable to switch: the default instead.
    const bool known = stored.etymologyScreenType >= 1 && stored.etymologyScreenType <= kScreenTypeCount;
    m_screenType = known ? stored.etymologyScreenType : kDefaultScreenType;
    ApplyScreenType();
    const QPoint topLeft(stored.etymologyLeft, stored.etymologyTop);
    const QScreen *screen = QGuiApplication::screenAt(topLeft + QPoint(kWindowSize.width() / 2, 20));
    if (!topLeft.isNull() && screen) {
        move(topLeft);
        return;
    }
    // No stored place, or one on no screen: centred on the main window.
    if (const QWidget *main = parentWidget())
        move(main->frameGeometry().center() - QPoint(kWindowSize.width() / 2, kWindowSize.height() / 2));
}

void TEtymologyForm::RememberPosition()
{
    if (!m_placed)
        return;
    if (!m_cc.formPositionLoaded && !m_cc.userFolder.isEmpty())
        m_cc.LoadFormPosition();
    m_cc.formPosition.etymologyTop = frameGeometry().top();
    m_cc.formPosition.etymologyLeft = frameGeometry().left();
    m_cc.formPosition.etymologyScreenType = m_screenType;
}

// ---------------------------------------------------------------------------
// The chart
// ---------------------------------------------------------------------------

void TEtymologyForm::EnsureLoaded()
{
    PlaceWindow();
    if (m_db->IsLoaded() || m_loadFailed)
        return;
    try {
        m_db->LoadEtymologyData(ShippedFileFolder(m_cc.context, kEtymologyFile), m_cc.catalog);
    } catch (const TFatalError &e) {
        // Charts stay empty for the rest of the run; the learner is told once.
        m_loadFailed = true;
        m_cc.notifier->Error(e.Message());
    }
    ApplyScreenType();
}

int TEtymologyForm::RecordOfWord(int position)
{
    if (!TWordTable::IsPosition(position))
        return kEtymologyNotFound;
    const QString &stored = m_cc.words[position].word;
    if (stored.isEmpty())
        return kEtymologyNotFound;
    int index = m_db->FindHeadwordInRange(stored);
    if (index == kEtymologyNotFound) {
        // A headword with markup: its plain form, or the first of its homonyms.
        const QString plain = DisplayForm(stored, THeadwordKind::Word);
        index = m_db->FindHeadwordInRange(plain);
        if (index == kEtymologyNotFound)
            index = m_db->FindHeadwordInRange(plain + QLatin1Char('1'));
    }
    return index;
}

void TEtymologyForm::ShowChart(int index, bool wordTable)
{
    if (m_chartUpToDate)
        return;
    m_chartUpToDate = true;
    EnsureLoaded();
    const int record = wordTable ? RecordOfWord(index) : index;
    m_chart.Build(m_loadFailed ? 0 : record);
    m_originName = m_chart.OriginName();
    sLabel_from->setText(m_originName);
    sLabelFX_from->setText(m_originName);
    m_canvas = m_chart.Render(m_colours, Qt::transparent, false);
    Image->update();
    PlaceLabels();
    if (isVisible())
        Report(m_chart.Messages());
}

void TEtymologyForm::PlaceLabels()
{
    m_related.clear();
    TreeView_rel->clear();
    m_menuLabel = -1;
    m_quietLabel = -1;
    const std::vector<TChartLabel> &labels = m_chart.Labels();
    for (size_t n = 0; n < Label_rel.size(); ++n) {
        QLabel *label = Label_rel[n];
        if (n >= labels.size()) {
            label->hide();
            continue;
        }
        label->setText(labels[n].caption);
        label->setGeometry(labels[n].area.translated(kCanvasOrigin));
        SetTextColour(label, m_colours.main);
        label->show();
        label->raise();
    }
}

void TEtymologyForm::Report(const QStringList &messages)
{
    for (const QString &message : messages)
        m_cc.notifier->Error(message);
}

void TEtymologyForm::ShowRecord(int index, bool remember)
{
    const int shown = m_chart.Record();
    if (remember && shown != 0 && shown != index) {
        if (static_cast<int>(m_history.size()) == kHistoryCapacity)
            m_history.erase(m_history.begin());
        m_history.push_back(shown);
    }
    ClearChartUpToDate();
    ShowChart(index, false);
    sButton_back->setEnabled(!m_history.empty());
}

bool TEtymologyForm::GoBack()
{
    if (m_history.empty())
        return false;
    const int previous = m_history.back();
    m_history.pop_back();
    ShowRecord(previous, false);
    return true;
}

void TEtymologyForm::ClearHistory()
{
    m_history.clear();
    sButton_back->setEnabled(false);
}

void TEtymologyForm::ShowWord(int position)
{
    EnsureLoaded();
    ShowRecord(RecordOfWord(position), isVisible());
    if (!isVisible())
        show();
    raise();
    activateWindow();
    sEdit_search->setFocus();
}

QPixmap TEtymologyForm::PageChart(int position)
{
    EnsureLoaded();
    TEtymologyChart chart(*m_db);
    chart.Build(m_loadFailed ? 0 : RecordOfWord(position));
    const int type = m_screenType == kWhiteTextScreenType ? kPageScreenTypeForWhiteText : m_screenType;
    return QPixmap::fromImage(chart.Render(ChartColoursOf(type), Qt::white));
}

void TEtymologyForm::SearchTypedWord()
{
    const QString typed = sEdit_search->text().trimmed();
    if (typed.isEmpty())
        return;
    EnsureLoaded();
    // The typed headword; a word written without its homonym number finds the first homonym.
    int index = m_db->FindHeadword(typed);
    if (index == 0 && !IsHomonymDigit(typed.back()))
        index = m_db->FindHeadword(typed + QLatin1Char('1'));
    if (index == 0)
        return;
    ShowRecord(index, true);
    sEdit_search->selectAll();
}

// ---------------------------------------------------------------------------
// Related words
// ---------------------------------------------------------------------------

void TEtymologyForm::GetRelWords(TChartLabelKind kind, int record, int third, int second, int first)
{
    if (!m_related.isEmpty())
        return;
    EnsureLoaded();
    QStringList list;
    switch (kind) {
    case TChartLabelKind::Prefix:
        list = m_db->ListPrefixRelatives(record);
        break;
    case TChartLabelKind::Suffix:
        list = m_db->ListSuffixRelatives(record);
        break;
    case TChartLabelKind::Title:
        list = m_db->ListWordFamily(record);
        break;
    case TChartLabelKind::RootChild:
        list = m_db->ListRootRelatives(TRootRelativesKind::RootChild, record, first, second, third);
        break;
    case TChartLabelKind::RootParent:
        list = m_db->ListRootRelatives(TRootRelativesKind::RootParent, record, first, second, third);
        break;
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const QString &a, const QString &b) { return QString::localeAwareCompare(a, b) < 0; });
    m_related = list;
    TreeView_rel->clear();
    PopupActionBar1->clear();
    for (const QString &word : list) {
        TreeView_rel->addTopLevelItem(new QTreeWidgetItem(QStringList{word}));
        QAction *action = PopupActionBar1->addAction(QString(word).replace(QLatin1Char('&'), QStringLiteral("&&")));
        connect(action, &QAction::triggered, this, Guarded([this, word] { MenuItemClick(word); }));
    }
    m_menuTimer->start(menuDelayMs);
}

void TEtymologyForm::OpenRelatedMenu()
{
    if (m_menuLabel < 0)
        return;   // the mouse left the label before the pause was over
    PopupActionBar1->popup(QCursor::pos() - QPoint(kMenuOffset, kMenuOffset));
}

void TEtymologyForm::MenuHidden()
{
    const int n = m_menuLabel;
    m_related.clear();
    TreeView_rel->clear();
    m_menuLabel = -1;
    Timer1->start();
    if (n < 0)
        return;
    QLabel *label = Label_rel[static_cast<size_t>(n)];
    SetTextColour(label, m_colours.main);
    // The mouse still on the label opens no second menu until it has left.
    if (label->isVisible() && label->rect().contains(label->mapFromGlobal(QCursor::pos())))
        m_quietLabel = n;
}

void TEtymologyForm::MenuItemClick(const QString &caption)
{
    PopupActionBar1->hide();   // already so when the item was clicked or chosen by key
    const int index = Database().FindHeadword(HeadwordOfCaption(caption));
    if (index == 0)
        return;
    ShowRecord(index, true);
}

void TEtymologyForm::Label_relMouseEnter(int n)
{
    if (PopupActionBar1->isVisible() || n == m_quietLabel || n >= static_cast<int>(m_chart.Labels().size()))
        return;
    SetTextColour(Label_rel[static_cast<size_t>(n)], m_colours.hover);
    m_menuLabel = n;
    const TChartLabel &label = m_chart.Labels()[static_cast<size_t>(n)];
    GetRelWords(label.kind, label.record, label.root.third, label.root.second, label.root.first);
}

void TEtymologyForm::Label_relMouseLeave(int n)
{
    if (n == m_quietLabel)
        m_quietLabel = -1;
    if (PopupActionBar1->isVisible())
        return;   // the menu took the mouse; closing it clears the list
    Timer1->start();
    SetTextColour(Label_rel[static_cast<size_t>(n)], m_colours.main);
    m_related.clear();
    TreeView_rel->clear();
    m_menuLabel = -1;
    m_menuTimer->stop();
}

void TEtymologyForm::ImageMouseMove()
{
    m_quietLabel = -1;
    if (PopupActionBar1->isVisible())
        PopupActionBar1->close();
}

void TEtymologyForm::Timer1Timer()
{
    Timer1->stop();
    Image->setEnabled(true);
}

// ---------------------------------------------------------------------------
// Events
// ---------------------------------------------------------------------------

void TEtymologyForm::Image_forAthenaClickClick()
{
    if (m_screenType >= 1 && m_screenType <= kScreenTypeCount)
        SetScreenType(m_screenType % kScreenTypeCount + 1);
    ClearChartUpToDate();
    ShowChart(m_chart.Record(), false);
}

void TEtymologyForm::FormActivate()
{
    Image->setEnabled(false);
    Timer1->start();
    const QString &start = m_cc.settings.learningStartDate;
    const bool young = !start.isEmpty() && m_cc.DayNumberSince(start) < kHintDays;
    for (QLabel *hint : {Label_remark, Label_remark2, Label_remark3}) {
        SetTextColour(hint, m_colours.secondary);
        hint->setVisible(young);
    }
    if (m_firstActivation) {
        m_firstActivation = false;
        for (QLabel *label : Label_rel)
            SetTextColour(label, m_colours.secondary);
    }
}

bool TEtymologyForm::ChildKey(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        if (!m_related.isEmpty())
            return false;
        if (!PopupActionBar1->isVisible())
            close();
        return true;
    case Qt::Key_Space:
        // Back to the main window, as the hint line says: the window goes
        // away so that it cannot stay over the next question.
        close();
        if (QWidget *main = parentWidget()) {
            main->raise();
            main->activateWindow();
        }
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        SearchTypedWord();
        return true;
    case Qt::Key_Backspace:
        if (!sEdit_search->hasFocus() || sEdit_search->text().isEmpty()) {
            GoBack();
            return true;
        }
        return false;
    case Qt::Key_Left:
        if (event->modifiers() & Qt::AltModifier) {
            GoBack();
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool TEtymologyForm::eventFilter(QObject *watched, QEvent *event)
{
    return GuardReturning(false, [&]() -> bool {
        if (watched == sEdit_search && event->type() == QEvent::KeyPress)
            return ChildKey(static_cast<QKeyEvent *>(event));
        if ((watched == Image_forAthenaClick || watched == sLabelFX_from) &&
            event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            Image_forAthenaClickClick();
            return true;
        }
        for (int n = 0; n < kChartLabelCount; ++n) {
            if (watched != Label_rel[static_cast<size_t>(n)])
                continue;
            if (event->type() == QEvent::Enter)
                Label_relMouseEnter(n);
            else if (event->type() == QEvent::Leave)
                Label_relMouseLeave(n);
            break;
        }
        return QDialog::eventFilter(watched, event);
    });
}

void TEtymologyForm::keyPressEvent(QKeyEvent *event)
{
    Guard([&] {
        if (ChildKey(event))
            return;
        if (event->key() == Qt::Key_Escape)
            return;   // a menu on its way: Esc closes nothing yet
        QDialog::keyPressEvent(event);
    });
}

void TEtymologyForm::mousePressEvent(QMouseEvent *event)
{
    Guard([&] {
        if (event->button() == Qt::BackButton) {
            GoBack();
            return;
        }
        QDialog::mousePressEvent(event);
    });
}

void TEtymologyForm::showEvent(QShowEvent *event)
{
    Guard([&] {
        PlaceWindow();
        QDialog::showEvent(event);
    });
}

void TEtymologyForm::changeEvent(QEvent *event)
{
    Guard([&] {
        if (event->type() == QEvent::ActivationChange && isActiveWindow())
            FormActivate();
        QDialog::changeEvent(event);
    });
}

void TEtymologyForm::moveEvent(QMoveEvent *event)
{
    Guard([&] {
        QDialog::moveEvent(event);
        if (isVisible())
            RememberPosition();
    });
}
