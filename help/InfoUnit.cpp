#include "help/InfoUnit.h"

#include "widgets/DialogPlacement.h"
#include "base/SlotGuard.h"
#include "engine/AnswerCheck.h"
#include "engine/CommonUnit.h"

#include <QFile>
#include <QtMath>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>

namespace {
// Where the text sits in the panel, and what the panel adds around it.
constexpr int kTextLeft = 24;
constexpr int kTextTop = 56;
constexpr int kPanelExtraWidth = 48;
constexpr int kPanelExtraHeight = 128;
constexpr int kButtonMargin = 24;
constexpr int kFrameExtra = 8;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 32;
constexpr int kTitleTop = 16;
constexpr int kTitlePixelSize = 18;
constexpr int kTextPixelSize = 14;
// A long text scrolls beyond this height, or beyond the screen less the margin.
constexpr int kMaxTextHeight = 620;
constexpr int kScreenMargin = 40;

const QString kButtonSound = QStringLiteral("BUTTON");
const QString kTokushuIntro = QStringLiteral("記号付きの文字は、以下のように置き換えて解答してください。");

struct TTopic {
    const QString &key;
    const char *title;
};
const TTopic kTopics[] = {
    {kInfoJukugoTyping, "＋＋ 熟語版の入力規則 ＋＋"},
    {kInfoTokushuTyping, "＋＋ 記号付きの文字の入力規則 ＋＋"},
    {kInfoOperation, "＋＋ キー操作について ＋＋"},
    {kInfoFAQ, "＋＋ FAQ ＋＋"},
    {kInfoWords, "＋＋ 収録語彙について ＋＋"},
};

// The key list, line by line: entries apart by an empty line, the note
// after two.
const char *const kOperationLines[] = {
    "",
    "　［Ctrl］　発音の再確認",
    "",
    "　［Tab］　タブの切り替え（忘却曲線／関連語彙／語源チャート）",
    "",
    "　［Space］　語源チャートの表示",
    "",
    "　［Esc］　全終了",
    "",
    "　［Delete］　出題／非出題の切替",
    "",
    "　［↑/↓］　選択肢が表示されない出題の時、ヒントをチラッと見る",
    "",
    "　［1, 2, 3］　選択肢の選択",
    "",
    "",
    "　※なお、Enter キーだけではなく、お好きなキーで次の問題へ進めます",
    "　（指の移動ロスの少ないF、J などがお勧めです）",
};

QString OperationText()
{
    QStringList lines;
    for (const char *line : kOperationLines)
        lines << QString::fromUtf8(line);
    return lines.join(u'\n');
}

QString TokushuText()
{
    QStringList lines{QString(), u'　' + kTokushuIntro, QString()};
    for (const QString &line : AccentReplacementLines())
        lines << QStringLiteral("　　") + line;
    lines << QString();
    return lines.join(u'\n');
}

// A help text kept with the program's pictures (resources/help/).
QString HelpResource(const QString &name)
{
    QFile file(QStringLiteral(":/help/%1.help").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}
} // namespace

QStringList AccentReplacementLines()
{
    QStringList lines;
    for (const TDiacriticGroup &group : DiacriticGroups()) {
        QStringList letters;
        for (QChar c : group.letters)
            letters << QString(c);
        lines << QStringLiteral("[%1] ⇒ %2").arg(letters.join(QStringLiteral(", ")), group.plain);
    }
    return lines;
}

TInfoForm::TInfoForm(TCC &cc, QWidget *parent) : QDialog(parent), m_cc(cc)
{
    setObjectName(QStringLiteral("InfoForm"));
    setWindowTitle(QStringLiteral("情報"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);

    sPanel_InfoFrame = new QFrame(this);
    sPanel_InfoFrame->setObjectName(QStringLiteral("sPanel_InfoFrame"));
    sPanel_InfoFrame->setAutoFillBackground(true);
    sPanel_InfoFrame->setStyleSheet(QStringLiteral("#sPanel_InfoFrame { background: #5a6e82; }"));
    sPanel_Info = new QFrame(sPanel_InfoFrame);
    sPanel_Info->setObjectName(QStringLiteral("sPanel_Info"));
    sPanel_Info->setAutoFillBackground(true);
    sPanel_Info->setStyleSheet(QStringLiteral("#sPanel_Info { background: #f7f5ef; }"));
    sPanel_Info->move(kFrameExtra / 2, kFrameExtra / 2);
    sPanel_Info->setFocusPolicy(Qt::StrongFocus);

    sLabel_title = new QLabel(sPanel_Info);
    sLabel_title->setObjectName(QStringLiteral("sLabel_title"));
    QFont titleFont = sLabel_title->font();
    titleFont.setPixelSize(kTitlePixelSize);
    titleFont.setBold(true);
    sLabel_title->setFont(titleFont);
    sLabel_title->move(kTextLeft, kTitleTop);

    sRichEdit_JukugoTyping = AddText(QStringLiteral("sRichEdit_JukugoTyping"), HelpResource(QStringLiteral("JukugoTyping")));
    sRichEdit_TokushuTyping = AddText(QStringLiteral("sRichEdit_TokushuTyping"), TokushuText());
    sRichEdit_Operation = AddText(QStringLiteral("sRichEdit_Operation"), OperationText());
    sRichEdit_FAQ = AddText(QStringLiteral("sRichEdit_FAQ"), HelpResource(QStringLiteral("FAQ")));
    sRichEdit_TT = AddText(QStringLiteral("sRichEdit_TT"), HelpResource(QStringLiteral("Words_TT")));
    sRichEdit_TJ = AddText(QStringLiteral("sRichEdit_TJ"), HelpResource(QStringLiteral("Words_TJ")));
    sRichEdit_DT = AddText(QStringLiteral("sRichEdit_DT"), HelpResource(QStringLiteral("Words_DT")));
    sRichEdit_IT = AddText(QStringLiteral("sRichEdit_IT"), HelpResource(QStringLiteral("Words_IT")));

    sButton_OK = new QPushButton(QStringLiteral("ＯＫ"), sPanel_Info);
    sButton_OK->setObjectName(QStringLiteral("sButton_OK"));
    sButton_OK->resize(kButtonWidth, kButtonHeight);
    connect(sButton_OK, &QPushButton::clicked, this, Guarded([this] { CloseInfo(); }));

    // A click on the title, the panel or one of the short texts closes the window.
    sLabel_title->installEventFilter(this);
    sPanel_Info->installEventFilter(this);
    for (QTextEdit *text : {sRichEdit_TT, sRichEdit_TJ, sRichEdit_DT, sRichEdit_IT, sRichEdit_Operation})
        text->viewport()->installEventFilter(this);
}

QTextEdit *TInfoForm::AddText(const QString &name, const QString &text)
{
    auto *edit = new QTextEdit(sPanel_Info);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setLineWrapMode(QTextEdit::NoWrap);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QFont font = edit->font();
    font.setPixelSize(kTextPixelSize);
    edit->setFont(font);
    edit->setPlainText(text);
    m_sources.insert(edit, text);
    edit->move(kTextLeft, kTextTop);
    edit->hide();
    m_texts << edit;
    return edit;
}

void TInfoForm::ShowTopic(const QString &key)
{
    sLabel_title->setText(key);
    FormShow();
    exec();
}

QTextEdit *TInfoForm::WordsText() const
{
    const QString &code = m_cc.fileCode;
    if (m_cc.userFile)
        return nullptr;
    if (code == QLatin1String("TT"))
        return sRichEdit_TT;
    if (code == QLatin1String("TJ") || code == QLatin1String("DJ"))
        return sRichEdit_TJ;
    if (code == QLatin1String("DT"))
        return sRichEdit_DT;
    if (code == QLatin1String("IT"))
        return sRichEdit_IT;
    return nullptr;
}

QString TInfoForm::WithRowCounts(QString text) const
{
    static const QRegularExpression countField(QStringLiteral("\\{count:([A-Z0-9]+)\\}"));
    QRegularExpressionMatch m;
    while ((m = countField.match(text)).hasMatch()) {
        const int slot = FileSlotOfCode(m.captured(1));
        const int rows = slot >= 1 && slot <= kSlotCount ? m_cc.catalog.rows[static_cast<size_t>(slot)].TangoTotal : 0;
        text.replace(m.capturedStart(), m.capturedLength(), rows > 0 ? QString::number(rows) : QStringLiteral("－"));
    }
    return text;
}

const QScreen *TInfoForm::OwnerScreen() const
{
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    return owner && owner->screen() ? owner->screen() : screen();
}

QSize TInfoForm::TextSize(QTextEdit *text) const
{
    QTextDocument *doc = text->document();
    doc->adjustSize();
    const int frame = 2 * text->frameWidth();
    int width = qCeil(doc->idealWidth() + 2 * doc->documentMargin()) + frame;
    int height = qCeil(doc->size().height()) + frame;
    // Within the screen; a text that does not fit scrolls.
    int maxWidth = width;
    int maxHeight = kMaxTextHeight;
    if (const QScreen *screen = OwnerScreen()) {
        const QRect area = screen->availableGeometry();
        maxWidth = area.width() - kScreenMargin - kPanelExtraWidth - kFrameExtra;
        maxHeight = qMin(maxHeight, area.height() - kScreenMargin - kPanelExtraHeight - kFrameExtra);
    }
    if (height > maxHeight) {
        height = maxHeight;
        width += text->verticalScrollBar()->sizeHint().width();
    }
    return {qMin(width, maxWidth), height};
}

void TInfoForm::FormShow()
{
    // 1. Every text hidden.
    for (QTextEdit *text : m_texts)
        text->hide();
    // 2. The key becomes the title; the topic's text comes up.
    const QString key = sLabel_title->text();
    QTextEdit *shown = nullptr;
    for (const TTopic &topic : kTopics) {
        if (topic.key != key)
            continue;
        sLabel_title->setText(QString::fromUtf8(topic.title));
        if (key == kInfoJukugoTyping)
            shown = sRichEdit_JukugoTyping;
        else if (key == kInfoTokushuTyping)
            shown = sRichEdit_TokushuTyping;
        else if (key == kInfoOperation)
            shown = sRichEdit_Operation;
        else if (key == kInfoFAQ)
            shown = sRichEdit_FAQ;
        else
            shown = WordsText();
    }
    sLabel_title->adjustSize();
    // The word lists say how many rows the files have now.
    for (QTextEdit *words : {sRichEdit_TT, sRichEdit_TJ, sRichEdit_DT, sRichEdit_IT})
        words->setPlainText(WithRowCounts(m_sources.value(words)));
    // The word lists all take one size, that of the TOEIC list's text or
    // larger where another list needs more.
    QSize textSize(0, 0);
    if (key == kInfoWords) {
        for (QTextEdit *words : {sRichEdit_TT, sRichEdit_TJ, sRichEdit_DT, sRichEdit_IT})
            textSize = textSize.expandedTo(TextSize(words));
    } else if (shown) {
        textSize = TextSize(shown);
    }
    textSize.setWidth(qMax(textSize.width(), sLabel_title->width()));
    if (shown) {
        shown->setGeometry(kTextLeft, kTextTop, textSize.width(), textSize.height());
        shown->verticalScrollBar()->setValue(0);
        shown->show();
    }
    const int panelWidth = textSize.width() + kPanelExtraWidth;
    const int panelHeight = textSize.height() + kPanelExtraHeight;
    sPanel_Info->resize(panelWidth, panelHeight);
    // 3. The OK button in the corner, the frame around the panel, the window
    //    the frame's size over the main window.
    sButton_OK->move(panelWidth - kButtonMargin - kButtonWidth, panelHeight - kButtonMargin - kButtonHeight);
    sPanel_InfoFrame->resize(panelWidth + kFrameExtra, panelHeight + kFrameExtra);
    setFixedSize(sPanel_InfoFrame->size());
    CentreOverOwner(this);
    // Never partly off the screen.
    if (const QScreen *screen = OwnerScreen()) {
        const QRect area = screen->availableGeometry();
        move(qBound(area.left(), x(), qMax(area.left(), area.right() + 1 - width())),
             qBound(area.top(), y(), qMax(area.top(), area.bottom() + 1 - height())));
    }
    sPanel_Info->setFocus();
}

QTextEdit *TInfoForm::ShownText() const
{
    for (QTextEdit *text : m_texts)
        if (!text->isHidden())
            return text;
    return nullptr;
}

bool TInfoForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        Guard([this] { CloseInfo(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TInfoForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        Guard([this] { CloseInfo(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void TInfoForm::reject()
{
    Guard([this] { CloseInfo(); });
}

void TInfoForm::CloseInfo()
{
    if (!isVisible())
        return;
    if (playSoundEffect)
        playSoundEffect(kButtonSound);
    sPanel_Info->setFocus();
    QDialog::done(QDialog::Accepted);
}
