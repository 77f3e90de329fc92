#include "help/AboutTessarion.h"

#include "base/SlotGuard.h"
#include "base/Version.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTextEdit>
#include <cmath>

#ifndef TESSARION_BUGTRACKER
#error "the build names where faults are reported (TESSARION_BUGTRACKER)"
#endif

namespace {
constexpr int kPanelWidth = 780;
constexpr int kPanelHeight = 640;
constexpr int kMargin = 24;
constexpr int kTitleTop = 16;
constexpr int kIntroTop = 52;
constexpr int kIntroHeight = 60;
constexpr int kTopicTop = 120;
constexpr int kButtonColumnWidth = 210;
constexpr int kTopicButtonHeight = 44;
constexpr int kTopicButtonGap = 10;
constexpr int kPictureLeft = kMargin + kButtonColumnWidth + 16;
constexpr int kPictureWidth = kPanelWidth - kPictureLeft - kMargin;
constexpr int kPictureHeight = 230;
constexpr int kNoteHeight = 74;
constexpr int kCreditsTop = kTopicTop + kPictureHeight + kNoteHeight + 16;
constexpr int kOkWidth = 100;
constexpr int kOkHeight = 32;
constexpr int kCreditsHeight = kPanelHeight - kCreditsTop - kOkHeight - 2 * 12;
constexpr int kTitlePixelSize = 18;
constexpr int kTextPixelSize = 13;
constexpr int kPicturePixelSize = 11;

// The retention marks of the learning rules: asked again at 80 %, started
// over at 40 %.
constexpr double kDueRetention = 0.8;
constexpr double kGiveUpRetention = 0.4;

const QColor kInk(0x33, 0x3d, 0x48);
const QColor kGrid(0xc8, 0xcd, 0xd2);
const QColor kCurve(0x2f, 0x6f, 0xb0);
const QColor kDue(0x3c, 0x9a, 0x4e);
const QColor kGiveUp(0xc0, 0x45, 0x3c);
const QColor kStageColours[3] = {QColor(0x7f, 0xb3, 0xd5), QColor(0x5a, 0x8f, 0x5a), QColor(0xc9, 0x9a, 0x2e)};

const QString kCaption = QStringLiteral("Tessarion について");
const QString kTitle = QStringLiteral("＋＋ Tessarion について ＋＋");
const QString kIntro = QStringLiteral(
    "人は覚えたことを時間とともに忘れていきます。Tessarion は一つ一つの語について答えの記録から忘れ方を見積もり、"
    "忘れかけたちょうどその頃にもう一度出題します。左のボタンにマウスを合わせると、図と説明が表示されます。");

struct TTopicText {
    const char *button;
    const char *note;
};
const std::array<TTopicText, kAboutTopicCount> kTopics = {{
    {"忘却曲線",
     "覚えた直後から記憶は急速に薄れ、その後はゆっくりと減っていきます。心理学者エビングハウスは、"
     "覚え直すのにかかる手間から、20 分後には約 4 割、1 日後には約 7 割が失われることを示しました。"
     "これが忘却曲線です。"},
    {"復習で記憶が長持ちする",
     "忘れかけた頃に思い出すと、記憶は前より長持ちするようになります。Tessarion は語ごとに保持率が"
     "約 80 % まで下がる頃を見積もって出題し、正解するたびにレベルが上がって次の出題までの間隔が延びます。"},
    {"Stage 1・2・3",
     "レベル 1〜5 の語（Stage 1）は何問後に出すかを問題数で、レベル 6〜12 の語（Stage 2）は日数で決めます。"
     "Stage 2 に入って 800 日たった時にレベル 10 以上の語は Stage 3 に進み、360〜520 日おきに確かめられます。"},
    {"やり直しになる語",
     "出題の時期を大きく過ぎて保持率が 40 % ほどまで下がったと見積もられる語や、Stage 2 で 800 日たっても"
     "レベル 10 に届かない語は、レベル 0 からやり直しになります。毎日少しずつ続けることが、記憶を定着させる近道です。"},
}};

// The picture beside the topic buttons, drawn for the topic on show.
class TIllustration : public QWidget {
public:
    explicit TIllustration(QWidget *parent) : QWidget(parent) {}

    void SetTopic(TAboutTopic topic)
    {
        m_topic = topic;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), Qt::white);
        p.setPen(kGrid);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        QFont font = p.font();
        font.setPixelSize(kPicturePixelSize);
        p.setFont(font);
        m_plot = QRectF(56, 22, width() - 80, height() - 62);
        switch (m_topic) {
        case TAboutTopic::ForgettingCurve:
            DrawForgettingCurve(p);
            break;
        case TAboutTopic::Review:
            DrawReviews(p);
            break;
        case TAboutTopic::Stages:
            DrawStages(p);
            break;
        case TAboutTopic::StartOver:
            DrawStartOver(p);
            break;
        }
    }

private:
    QPointF At(double x, double retention) const
    {
        return {m_plot.left() + x * m_plot.width(), m_plot.bottom() - retention * m_plot.height()};
    }

    void DrawAxes(QPainter &p, const QString &xCaption) const
    {
        p.setPen(QPen(kInk, 1.5));
        p.drawLine(m_plot.bottomLeft(), m_plot.topLeft());
        p.drawLine(m_plot.bottomLeft(), m_plot.bottomRight());
        p.drawText(QRectF(4, m_plot.top() - 20, 200, 16), Qt::AlignLeft, QStringLiteral("記憶の保持率"));
        p.drawText(QRectF(m_plot.right() - 200, m_plot.bottom() + 20, 200, 16), Qt::AlignRight, xCaption);
        for (const int percent : {100, 80, 40}) {
            const QPointF y = At(0, percent / 100.0);
            p.drawText(QRectF(0, y.y() - 8, m_plot.left() - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                       QStringLiteral("%1 %").arg(percent));
        }
    }

    void DrawLevelLine(QPainter &p, double retention, const QColor &colour, const QString &caption) const
    {
        p.setPen(QPen(colour, 1, Qt::DashLine));
        p.drawLine(At(0, retention), At(1, retention));
        p.drawText(QRectF(At(0, retention) + QPointF(6, 3), QSizeF(m_plot.width() - 12, 14)), Qt::AlignRight,
                   caption);
    }

    // A memory's decay from full retention: fast at first, slower the more
    // often it was recalled (strength).
    static double Retention(double t, double strength) { return std::exp(-t / strength); }

    void DrawForgettingCurve(QPainter &p) const
    {
        DrawAxes(p, QStringLiteral("経過時間"));
        // The classic measurements: time since learning and what was still kept.
        struct TPoint {
            const char *caption;
            double kept;
        };
        const TPoint points[] = {{"直後", 1.0},   {"20分", 0.58}, {"1時間", 0.44}, {"9時間", 0.36},
                                 {"1日", 0.34},   {"2日", 0.28},  {"6日", 0.25},   {"31日", 0.21}};
        const int count = static_cast<int>(std::size(points));
        QPainterPath path;
        QList<QPointF> dots;
        for (int i = 0; i < count; ++i) {
            const QPointF at = At(static_cast<double>(i) / (count - 1), points[i].kept);
            dots << at;
            if (i == 0) {
                path.moveTo(at);
            } else {
                const QPointF before = dots[i - 1];
                path.cubicTo(QPointF((before.x() + at.x()) / 2, before.y()), QPointF((before.x() + at.x()) / 2, at.y()), at);
            }
        }
        p.setPen(QPen(kCurve, 2.5));
        p.drawPath(path);
        p.setBrush(kCurve);
        for (int i = 0; i < count; ++i) {
            p.setPen(Qt::NoPen);
            p.drawEllipse(dots[i], 3.5, 3.5);
            p.setPen(kInk);
            p.drawText(QRectF(dots[i].x() - 30, m_plot.bottom() + 4, 60, 14), Qt::AlignHCenter,
                       QString::fromUtf8(points[i].caption));
            if (i > 0)
                p.drawText(QRectF(dots[i].x() - 30, dots[i].y() - 18, 60, 14), Qt::AlignHCenter,
                           QStringLiteral("%1%").arg(qRound(points[i].kept * 100)));
        }
    }

    void DrawReviews(QPainter &p) const
    {
        DrawAxes(p, QStringLiteral("経過時間"));
        DrawLevelLine(p, kDueRetention, kDue, QStringLiteral("ここで再び出題"));
        // Each review comes when retention reaches the due mark; the memory
        // after it lasts longer.
        const double strengths[] = {0.3, 0.6, 1.2, 2.4};
        const double dueAfter = -std::log(kDueRetention);
        double start = 0;
        p.setPen(QPen(kCurve, 2.5));
        for (const double strength : strengths) {
            const double length = std::min(strength * dueAfter, 1.0 - start);
            QPainterPath path(At(start, 1.0));
            const int steps = 40;
            for (int j = 1; j <= steps; ++j) {
                const double t = length * j / steps;
                path.lineTo(At(start + t, Retention(t, strength)));
            }
            p.drawPath(path);
            start += length;
            if (start >= 1.0)
                break;
            p.drawLine(At(start, Retention(length, strength)), At(start, 1.0));
            p.setBrush(kDue);
            p.setPen(Qt::NoPen);
            p.drawEllipse(At(start, 1.0), 4, 4);
            p.setPen(QPen(kCurve, 2.5));
        }
    }

    void DrawStages(QPainter &p) const
    {
        // The levels as steps, coloured by stage, each with its interval.
        struct TStep {
            int level;
            const char *interval;
            int stage;
        };
        const TStep steps[] = {{1, "16問", 0},  {2, "40問", 0},   {3, "120問", 0},  {4, "280問", 0},  {5, "460問", 0},
                               {6, "20日", 1},  {7, "60日", 1},   {8, "100日", 1},  {9, "140日", 1},  {10, "180日", 1},
                               {11, "220日", 1}, {12, "260日", 1}, {10, "360日", 2}, {11, "440日", 2}, {12, "520日", 2}};
        const int count = static_cast<int>(std::size(steps));
        const double stepWidth = m_plot.width() / count;
        p.setPen(QPen(kInk, 1.5));
        p.drawLine(m_plot.bottomLeft(), m_plot.bottomRight());
        p.drawText(QRectF(4, m_plot.top() - 20, 300, 16), Qt::AlignLeft, QStringLiteral("習熟レベルと次の出題までの間隔"));
        for (int i = 0; i < count; ++i) {
            const double height = m_plot.height() * steps[i].level / 12.0 * 0.85;
            const QRectF bar(m_plot.left() + i * stepWidth + 2, m_plot.bottom() - height, stepWidth - 4, height);
            p.fillRect(bar, kStageColours[steps[i].stage]);
            p.setPen(kInk);
            p.drawText(QRectF(bar.left() - 4, bar.top() - 16, bar.width() + 8, 14), Qt::AlignHCenter,
                       QString::number(steps[i].level));
            p.save();
            p.translate(bar.center().x(), m_plot.bottom() - 6);
            p.rotate(-90);
            p.setPen(Qt::white);
            // Only where the bar is long enough to carry it.
            const QString interval = QString::fromUtf8(steps[i].interval);
            if (p.fontMetrics().horizontalAdvance(interval) + 8 <= height)
                p.drawText(QRectF(0, -7, height, 14), Qt::AlignLeft | Qt::AlignVCenter, interval);
            p.restore();
        }
        const char *const captions[] = {"Stage 1（問題数）", "Stage 2（日数）", "Stage 3"};
        const int firsts[] = {0, 5, 12};
        const int lasts[] = {4, 11, 14};
        for (int s = 0; s < 3; ++s) {
            const double left = m_plot.left() + firsts[s] * stepWidth;
            const double right = m_plot.left() + (lasts[s] + 1) * stepWidth;
            p.setPen(QPen(kStageColours[s], 3));
            p.drawLine(QPointF(left + 2, m_plot.bottom() + 6), QPointF(right - 2, m_plot.bottom() + 6));
            p.setPen(kInk);
            p.drawText(QRectF(left, m_plot.bottom() + 10, right - left, 16), Qt::AlignHCenter,
                       QString::fromUtf8(captions[s]));
        }
    }

    void DrawStartOver(QPainter &p) const
    {
        DrawAxes(p, QStringLiteral("経過時間"));
        DrawLevelLine(p, kDueRetention, kDue, QStringLiteral("出題の時期"));
        DrawLevelLine(p, kGiveUpRetention, kGiveUp, QStringLiteral("ここまで下がるとレベル 0 から"));
        // A memory left alone long after it was due.
        const double strength = 0.55;
        QPainterPath path(At(0, 1.0));
        const int steps = 60;
        const double end = strength * -std::log(kGiveUpRetention);
        for (int j = 1; j <= steps; ++j) {
            const double t = end * j / steps;
            path.lineTo(At(t, Retention(t, strength)));
        }
        p.setPen(QPen(kCurve, 2.5));
        p.drawPath(path);
        const QPointF due = At(strength * -std::log(kDueRetention), kDueRetention);
        const QPointF lost = At(end, kGiveUpRetention);
        p.setPen(Qt::NoPen);
        p.setBrush(kDue);
        p.drawEllipse(due, 4, 4);
        p.setBrush(kGiveUp);
        p.drawEllipse(lost, 5, 5);
        p.setPen(QPen(kGiveUp, 1.5, Qt::DotLine));
        p.drawLine(lost, At(end, 0));
        p.setPen(kInk);
        p.drawText(QRectF(due.x() + 10, due.y() - 20, 200, 14), Qt::AlignLeft, QStringLiteral("ここで答えていれば…"));
    }

    TAboutTopic m_topic = TAboutTopic::ForgettingCurve;
    QRectF m_plot;
};

QLabel *AddText(QWidget *parent, const QString &name, const QRect &geometry, int pixelSize, bool bold = false)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}
} // namespace

QString FaultReportAddress()
{
    return QStringLiteral(TESSARION_BUGTRACKER);
}

QString AboutCreditsText()
{
    const QStringList lines = {
        QStringLiteral("Tessarion　バージョン %1　（英単語・熟語、イタリア語単語の学習プログラム）")
            .arg(QString::fromLatin1(kTessarionVersion)),
        QStringLiteral("プログラム、効果音、絵とアイコン：© 2026 The Tessarion developers. All rights reserved."),
        QStringLiteral("　このパッケージの一部として、変更せずに使用・再配布することができます。"),
        QString(),
        QStringLiteral("【収録データ】"),
        QStringLiteral("単語・熟語リスト（TT, TJ, DT, DJ, IT）、関連語彙と語源のデータは、クリエイティブ・コモンズ 表示-継承 3.0 "
                       "非移植（CC BY-SA 3.0）のもとで提供されます。"),
        QStringLiteral("・EDICT（© Electronic Dictionary Research and Development Group, CC BY-SA 3.0）：英語の語句の日本語の意味"),
        QStringLiteral("・FreeDict 英日・伊日辞書（Karl Bartel と FreeDict / WikDict の協力者, Wiktionary より, CC BY-SA 3.0）："
                       "英語・イタリア語の日本語の意味"),
        QStringLiteral("・WordNet 3.0（© 2006 Princeton University, WordNet ライセンス）：派生語の結び付きと関連語彙"),
        QStringLiteral("・The CMU Pronouncing Dictionary（© Carnegie Mellon University, BSD 形式; npm パッケージ "
                       "cmu-pronouncing-dictionary © Zeke Sikelianos, ISC）：英単語の発音"),
        QStringLiteral("語源の説明は Tessarion の開発者が書き下ろしたもので、各語の日本語の意味は上の単語リストから"
                       "写しているため、語源データも CC BY-SA 3.0 です。ライセンスの全文はプログラムのフォルダーの "
                       "resource/DATA_LICENSE.txt をご覧ください。"),
        QString(),
        QStringLiteral("【絵と文字】"),
        QStringLiteral("インコ、スキン、ステージの絵、星空、語源チャートの背景などの絵は、Tessarion の開発者が描いたものです。"),
        QStringLiteral("装飾用フォント Cardo（© 2002–2011 David J. Perry, SIL Open Font License 1.1）"),
        QString(),
        QStringLiteral("【不具合のご報告】"),
        QStringLiteral("不具合に気づかれたら、%1 に、起きたこと、その直前の操作、学習していたファイルの名前をお知らせください。")
            .arg(FaultReportAddress()),
    };
    return lines.join(u'\n');
}

TAboutTessarionForm::TAboutTessarionForm(QWidget *parent)
    : TFramedPanelDialog(parent, QStringLiteral("AboutTessarionForm"), kCaption, QStringLiteral("sPanel_About"))
{
    SetPanelSize(kPanelWidth, kPanelHeight);
    sPanel_Frame = Frame();
    sPanel_About = Panel();

    const int textWidth = kPanelWidth - 2 * kMargin;
    sLabel_title = AddText(sPanel_About, QStringLiteral("sLabel_title"), QRect(kMargin, kTitleTop, textWidth, 28),
                           kTitlePixelSize, true);
    sLabel_title->setText(kTitle);
    sLabel_intro = AddText(sPanel_About, QStringLiteral("sLabel_intro"),
                           QRect(kMargin, kIntroTop, textWidth, kIntroHeight), kTextPixelSize);
    sLabel_intro->setText(kIntro);

    for (int n = 0; n < kAboutTopicCount; ++n) {
        auto *button = new QPushButton(QString::fromUtf8(kTopics[static_cast<size_t>(n)].button), sPanel_About);
        button->setObjectName(QStringLiteral("sButton_topic%1").arg(n + 1));
        button->setGeometry(kMargin, kTopicTop + n * (kTopicButtonHeight + kTopicButtonGap), kButtonColumnWidth,
                            kTopicButtonHeight);
        button->setAutoDefault(false);
        // Pointed at, or reached with Tab: its topic comes up.
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, Guarded([this, n] { ShowTopic(static_cast<TAboutTopic>(n)); }));
        sButton_topic[static_cast<size_t>(n)] = button;
    }

    auto *picture = new TIllustration(sPanel_About);
    picture->setObjectName(QStringLiteral("Image_Illustration"));
    picture->setGeometry(kPictureLeft, kTopicTop, kPictureWidth, kPictureHeight);
    Image_Illustration = picture;
    sLabel_note = AddText(sPanel_About, QStringLiteral("sLabel_note"),
                          QRect(kPictureLeft, kTopicTop + kPictureHeight + 6, kPictureWidth, kNoteHeight - 6),
                          kTextPixelSize);

    sRichEdit_credits = new QTextEdit(sPanel_About);
    sRichEdit_credits->setObjectName(QStringLiteral("sRichEdit_credits"));
    sRichEdit_credits->setReadOnly(true);
    sRichEdit_credits->setLineWrapMode(QTextEdit::WidgetWidth);
    QFont creditsFont = sRichEdit_credits->font();
    creditsFont.setPixelSize(kPicturePixelSize + 1);
    sRichEdit_credits->setFont(creditsFont);
    sRichEdit_credits->setPlainText(AboutCreditsText());
    sRichEdit_credits->setGeometry(kMargin, kCreditsTop, textWidth, kCreditsHeight);

    sButton_OK = new QPushButton(QStringLiteral("ＯＫ"), sPanel_About);
    sButton_OK->setObjectName(QStringLiteral("sButton_OK"));
    sButton_OK->setGeometry(kPanelWidth - kMargin - kOkWidth, kPanelHeight - 12 - kOkHeight, kOkWidth, kOkHeight);
    connect(sButton_OK, &QPushButton::clicked, this, Guarded([this] { ClosePanel(); }));

    // A click on the panel or its texts closes the window, as the help window does.
    CloseOnClick(sLabel_title);
    CloseOnClick(sLabel_intro);

    ShowTopic(TAboutTopic::ForgettingCurve);
}

void TAboutTessarionForm::ShowTopic(TAboutTopic topic)
{
    m_topic = topic;
    const auto n = static_cast<size_t>(topic);
    static_cast<TIllustration *>(Image_Illustration)->SetTopic(topic);
    sLabel_note->setText(QString::fromUtf8(kTopics[n].note));
    for (size_t k = 0; k < sButton_topic.size(); ++k) {
        QFont font = sButton_topic[k]->font();
        font.setBold(k == n);
        sButton_topic[k]->setFont(font);
    }
}

void TAboutTessarionForm::PrepareToShow()
{
    ShowTopic(TAboutTopic::ForgettingCurve);
    sRichEdit_credits->moveCursor(QTextCursor::Start);
}

bool TAboutTessarionForm::eventFilter(QObject *watched, QEvent *event)
{
    return GuardReturning(false, [&]() -> bool {
        for (size_t n = 0; n < sButton_topic.size(); ++n) {
            if (watched == sButton_topic[n] && (event->type() == QEvent::Enter || event->type() == QEvent::FocusIn)) {
                ShowTopic(static_cast<TAboutTopic>(n));
                return false;
            }
        }
        return TFramedPanelDialog::eventFilter(watched, event);
    });
}
