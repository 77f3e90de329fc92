// Message boxes lay out Japanese text in lines of even length: a long
// paragraph never leaves a character or two on a line of their own.
#include "widgets/MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
constexpr int kMaximum = 560;
constexpr int kShortestLine = 4;   // characters

const QStringList kMessages = {
    QStringLiteral("ダウンロードしたファイルが正しくないため、使いませんでした。元のファイルはそのままです。\nPrograms/tessarion_amd64.deb"),
    QStringLiteral("学習ファイル【 とても長い名前のユーザー学習ファイルのタイトルです 】のデータが少なすぎます。最低でも 3 つのデータがないと起動できません。"),
    QStringLiteral("ファイルに書き込めません。\n/home/learner/Tessarion/user/setting/Setting_TT.dat\nディスクの空きがありません"),
    QStringLiteral("現在お使いの Tessarion は最新版ではありません。　\r\n\r\n\r\n最新バージョンをダウンロードしますか？"),
};

// The lengths of the lines a label of `width` pixels breaks each paragraph into.
QList<int> LineLengths(const QString &text, const QFont &font, int width)
{
    QList<int> lengths;
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const QString &paragraph : plain.split(u'\n')) {
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
            line.setLineWidth(width);
        layout.endLayout();
        for (int i = 0; layout.lineCount() > 1 && i < layout.lineCount(); ++i)
            lengths.append(layout.lineAt(i).textLength());
    }
    return lengths;
}

int Shortest(const QList<int> &lengths)
{
    return lengths.isEmpty() ? kShortestLine : *std::min_element(lengths.begin(), lengths.end());
}
}

TEST(MessageBoxes, LongParagraphsBreakIntoEvenLines)
{
    QLabel label;
    const QFont font = label.font();
    const QFontMetrics metrics(font);
    bool anOrphanAtTheFullWidth = false;
    // Whatever the widest text a screen allows.
    for (int maximum = 240; maximum <= kMaximum; maximum += 16) {
        for (const QString &text : kMessages) {
            SCOPED_TRACE(QStringLiteral("%1 px: %2").arg(maximum).arg(text).toStdString());
            anOrphanAtTheFullWidth |= Shortest(LineLengths(text, font, maximum)) < kShortestLine;
            const int width = MessageTextWidth(text, font, maximum);
            EXPECT_LE(width, maximum);
            EXPECT_GE(Shortest(LineLengths(text, font, width)), kShortestLine);
        }
    }
    // The messages show the fault that the even lines mend.
    EXPECT_TRUE(anOrphanAtTheFullWidth);

    // A short message keeps its own width: nothing wraps.
    const QString shortText = QStringLiteral("設定の変更は次回起動時に反映されます");
    EXPECT_EQ(MessageTextWidth(shortText, font, kMaximum), metrics.horizontalAdvance(shortText));
}

// The box shows the even lines as they are: each fits its label, so nothing
// is wrapped again, and none is a character or two.
TEST(MessageBoxes, TheBoxShowsTheEvenLinesWhole)
{
    for (const QString &text : kMessages) {
        SCOPED_TRACE(text.toStdString());
        QStringList shown;
        int labelWidth = 0;
        QFontMetrics metrics{QFont()};
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            shown = label->text().split(u'\n');
            labelWidth = label->contentsRect().width();
            metrics = label->fontMetrics();
            box->button(QMessageBox::Ok)->click();
        });
        poll.start();
        EXPECT_EQ(ShowMessageBox(nullptr, QMessageBox::Critical, text), QMessageBox::Ok);
        ASSERT_FALSE(shown.isEmpty());
        QString joined = text;
        joined.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(shown.join(QString()).remove(u' ').remove(u'\n'), joined.remove(u' ').remove(u'\n'));
        for (const QString &line : shown) {
            EXPECT_LE(metrics.horizontalAdvance(line), labelWidth) << line.toStdString();
            if (!line.isEmpty())
                EXPECT_GE(line.size(), kShortestLine) << line.toStdString();
        }
    }
}
