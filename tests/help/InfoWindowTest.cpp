#include "help/InfoUnit.h"

#include "engine/AnswerCheck.h"
#include "support/EngineFolder.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct InfoWindow : ::testing::Test {
    TEngineFolder env;
    QWidget owner;
    TInfoForm form{env.cc, &owner};
    QStringList sounds;

    void SetUp() override
    {
        // Centred on the screen: a window centred over it fits the screen.
        owner.setGeometry(owner.screen()->availableGeometry().adjusted(20, 20, -20, -20));
        form.playSoundEffect = [this](const QString &name) { sounds << name; };
    }

    // Shows the topic as the menu does (the key in the title label) without
    // entering the modal loop.
    void Show(const QString &key)
    {
        form.sLabel_title->setText(key);
        form.FormShow();
        form.show();
    }
};

TEST_F(InfoWindow, EachTopicShowsItsTitleAndItsText)
{
    struct TCase {
        QString key;
        QString code;
        QString title;
        QTextEdit *TInfoForm::*text;
        QString contains;
    };
    const QList<TCase> cases = {
        {QStringLiteral("JukugoTyping"), QStringLiteral("TJ"), QStringLiteral("＋＋ 熟語版の入力規則 ＋＋"),
         &TInfoForm::sRichEdit_JukugoTyping, QStringLiteral("look forward to")},
        {QStringLiteral("TokushuTyping"), QStringLiteral("IT"), QStringLiteral("＋＋ 記号付きの文字の入力規則 ＋＋"),
         &TInfoForm::sRichEdit_TokushuTyping, QStringLiteral("記号付きの文字は、以下のように置き換えて解答してください。")},
        {QStringLiteral("Operation"), QStringLiteral("TT"), QStringLiteral("＋＋ キー操作について ＋＋"),
         &TInfoForm::sRichEdit_Operation, QStringLiteral("［Ctrl］　発音の再確認")},
        {QStringLiteral("FAQ"), QStringLiteral("TT"), QStringLiteral("＋＋ FAQ ＋＋"), &TInfoForm::sRichEdit_FAQ,
         QStringLiteral("Stage 3")},
        {QStringLiteral("Words"), QStringLiteral("TT"), QStringLiteral("＋＋ 収録語彙について ＋＋"),
         &TInfoForm::sRichEdit_TT, QStringLiteral("TOEIC 英単語")},
        {QStringLiteral("Words"), QStringLiteral("TJ"), QStringLiteral("＋＋ 収録語彙について ＋＋"),
         &TInfoForm::sRichEdit_TJ, QStringLiteral("英熟語")},
        {QStringLiteral("Words"), QStringLiteral("DJ"), QStringLiteral("＋＋ 収録語彙について ＋＋"),
         &TInfoForm::sRichEdit_TJ, QStringLiteral("英熟語")},
        {QStringLiteral("Words"), QStringLiteral("DT"), QStringLiteral("＋＋ 収録語彙について ＋＋"),
         &TInfoForm::sRichEdit_DT, QStringLiteral("大学入試 英単語")},
        {QStringLiteral("Words"), QStringLiteral("IT"), QStringLiteral("＋＋ 収録語彙について ＋＋"),
         &TInfoForm::sRichEdit_IT, QStringLiteral("イタリア語")},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE((c.key + u' ' + c.code).toStdString());
        env.UseFile(c.code, FileSlotOfCode(c.code), 10);
        Show(c.key);
        EXPECT_EQ(form.sLabel_title->text(), c.title);
        QTextEdit *text = form.*c.text;
        EXPECT_EQ(form.ShownText(), text);
        EXPECT_TRUE(text->isVisible());
        EXPECT_TRUE(text->isReadOnly());
        EXPECT_EQ(text->lineWrapMode(), QTextEdit::NoWrap);
        EXPECT_TRUE(text->toPlainText().contains(c.contains));
        EXPECT_EQ(text->pos(), QPoint(24, 56));
        form.hide();
    }
    // A user file has no word-list description.
    env.UseFile(QStringLiteral("U1"), 32, 10);
    Show(QStringLiteral("Words"));
    EXPECT_EQ(form.sLabel_title->text(), QStringLiteral("＋＋ 収録語彙について ＋＋"));
    EXPECT_EQ(form.ShownText(), nullptr);
}

TEST_F(InfoWindow, TheKeyListReadsLineByLineAsWritten)
{
    Show(QStringLiteral("Operation"));
    const QStringList expected = {
        QString(),
        QStringLiteral("　［Ctrl］　発音の再確認"),
        QString(),
        QStringLiteral("　［Tab］　タブの切り替え（忘却曲線／関連語彙／語源チャート）"),
        QString(),
        QStringLiteral("　［Space］　語源チャートの表示"),
        QString(),
        QStringLiteral("　［Esc］　全終了"),
        QString(),
        QStringLiteral("　［Delete］　出題／非出題の切替"),
        QString(),
        QStringLiteral("　［↑/↓］　選択肢が表示されない出題の時、ヒントをチラッと見る"),
        QString(),
        QStringLiteral("　［1, 2, 3］　選択肢の選択"),
        QString(),
        QString(),
        QStringLiteral("　※なお、Enter キーだけではなく、お好きなキーで次の問題へ進めます"),
        QStringLiteral("　（指の移動ロスの少ないF、J などがお勧めです）"),
    };
    EXPECT_EQ(form.sRichEdit_Operation->toPlainText().split(u'\n'), expected);
}

// The list the learner reads and the folding the answer check does can
// never disagree: every letter listed folds to its plain form, and every
// Latin letter the check folds is listed.
TEST(AccentReplacementList, EqualsTheFoldTableOfTheAnswerCheck)
{
    const QStringList lines = AccentReplacementLines();
    EXPECT_EQ(lines.first(), QStringLiteral("[à, á, â, ã, ä, å] ⇒ a"));
    static const QRegularExpression line(QStringLiteral("^\\[(.+)\\] ⇒ ([A-Za-z]+)$"));
    QString listed;
    for (const QString &l : lines) {
        const QRegularExpressionMatch m = line.match(l);
        ASSERT_TRUE(m.hasMatch()) << l.toStdString();
        for (const QString &letter : m.captured(1).split(QStringLiteral(", "))) {
            ASSERT_EQ(letter.size(), 1) << l.toStdString();
            EXPECT_EQ(FoldDiacritics(letter), m.captured(2)) << l.toStdString();
            listed += letter;
        }
    }
    for (char16_t c = 0x00C0; c <= 0x024F; ++c) {
        const QString letter(QChar{c});
        if (FoldDiacritics(letter) != letter) {
            EXPECT_TRUE(listed.contains(letter)) << "not listed: U+" << std::hex << int(c);
        }
    }

    TEngineFolder env(QStringLiteral("IT"), 8);
    TInfoForm form(env.cc);
    form.sLabel_title->setText(QStringLiteral("TokushuTyping"));
    form.FormShow();
    QStringList shown;
    for (const QString &l : form.sRichEdit_TokushuTyping->toPlainText().split(u'\n'))
        if (l.trimmed().startsWith(u'['))
            shown << l.trimmed();
    EXPECT_EQ(shown, lines);
}

TEST_F(InfoWindow, ThePanelFitsTheTextAndTheWindowSitsOverTheMainWindow)
{
    for (const QString &key : {QStringLiteral("Operation"), QStringLiteral("FAQ"), QStringLiteral("JukugoTyping")}) {
        SCOPED_TRACE(key.toStdString());
        Show(key);
        const QTextEdit *text = form.ShownText();
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(form.sPanel_Info->width(), text->width() + 48);
        EXPECT_EQ(form.sPanel_Info->height(), text->height() + 128);
        EXPECT_EQ(form.sButton_OK->geometry().right() + 1, form.sPanel_Info->width() - 24);
        EXPECT_EQ(form.sButton_OK->geometry().bottom() + 1, form.sPanel_Info->height() - 24);
        EXPECT_EQ(form.sPanel_InfoFrame->size(), form.sPanel_Info->size() + QSize(8, 8));
        EXPECT_EQ(form.size(), form.sPanel_InfoFrame->size());
        EXPECT_LE(qAbs(form.geometry().center().x() - owner.geometry().center().x()), 2);
        EXPECT_LE(qAbs(form.geometry().center().y() - owner.geometry().center().y()), 2);
        // The text is shown whole, or as much as the screen takes and scrolls.
        const QRect screen = owner.screen()->availableGeometry();
        EXPECT_LE(form.height(), screen.height());
        if (key == QStringLiteral("Operation")) {
            EXPECT_EQ(text->verticalScrollBar()->maximum(), 0);
        } else if (text->verticalScrollBar()->maximum() > 0) {
            EXPECT_GT(form.height(), screen.height() / 2);
        }
        form.hide();
    }
    // Every word list takes one size, at least that of the TOEIC list's text.
    Show(QStringLiteral("Words"));
    const QSize ttSize = form.sRichEdit_TT->size();
    env.UseFile(QStringLiteral("IT"), 8, 10);
    form.hide();
    Show(QStringLiteral("Words"));
    EXPECT_EQ(form.ShownText(), form.sRichEdit_IT);
    EXPECT_EQ(form.sRichEdit_IT->size(), ttSize);
}

TEST_F(InfoWindow, TheWordListsGiveTheRowCountsOfTheCatalog)
{
    const QList<std::pair<QString, int>> counts = {{QStringLiteral("TT"), 3219}, {QStringLiteral("TJ"), 701},
                                                   {QStringLiteral("DJ"), 630}, {QStringLiteral("DT"), 2860},
                                                   {QStringLiteral("IT"), 1509}};
    for (const auto &[code, rows] : counts)
        env.cc.catalog.rows[static_cast<size_t>(FileSlotOfCode(code))].TangoTotal = rows;
    env.UseFile(QStringLiteral("TT"), FileSlotOfCode(QStringLiteral("TT")), 3219);
    Show(QStringLiteral("Words"));
    EXPECT_TRUE(form.sRichEdit_TT->toPlainText().contains(QStringLiteral("全 3219 語")));
    EXPECT_TRUE(form.sRichEdit_TJ->toPlainText().contains(QStringLiteral("TOEIC 版 全 701 語")));
    EXPECT_TRUE(form.sRichEdit_TJ->toPlainText().contains(QStringLiteral("大学入試版 全 630 語")));
    EXPECT_TRUE(form.sRichEdit_DT->toPlainText().contains(QStringLiteral("全 2860 語")));
    EXPECT_TRUE(form.sRichEdit_IT->toPlainText().contains(QStringLiteral("全 1509 語")));
    for (QTextEdit *t : {form.sRichEdit_TT, form.sRichEdit_TJ, form.sRichEdit_DT, form.sRichEdit_IT})
        EXPECT_FALSE(t->toPlainText().contains(QStringLiteral("{count")));
}

TEST_F(InfoWindow, EveryWayOfClosingPlaysTheButtonSound)
{
    struct TWay {
        const char *what;
        std::function<void()> close;
    };
    const TWay ways[] = {
        {"OK", [&] { QTest::mouseClick(form.sButton_OK, Qt::LeftButton); }},
        {"Esc", [&] { QTest::keyClick(&form, Qt::Key_Escape); }},
        {"title", [&] { QTest::mouseClick(form.sLabel_title, Qt::LeftButton); }},
        {"panel", [&] { QTest::mouseClick(form.sPanel_Info, Qt::LeftButton, {}, QPoint(4, 4)); }},
        {"key text", [&] { QTest::mouseClick(form.sRichEdit_Operation->viewport(), Qt::LeftButton); }},
    };
    for (const TWay &way : ways) {
        SCOPED_TRACE(way.what);
        sounds.clear();
        Show(QStringLiteral("Operation"));
        way.close();
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(sounds, QStringList{QStringLiteral("BUTTON")});
    }
    // The long texts are read with the mouse: a click there keeps the window.
    Show(QStringLiteral("FAQ"));
    QTest::mouseClick(form.sRichEdit_FAQ->viewport(), Qt::LeftButton);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(InfoWindow, ShowTopicRunsModallyUntilClosed)
{
    bool wasModal = false;
    QTimer::singleShot(0, &form, [&] {
        wasModal = form.isModal() && form.isVisible();
        QTest::keyClick(&form, Qt::Key_Escape);
    });
    form.ShowTopic(QStringLiteral("FAQ"));
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(form.isVisible());
}

// The examples of the phrase typing rules are answers the check accepts.
TEST(PhraseTypingRules, TheExamplesOfTheHelpAreAccepted)
{
    QFile help(QStringLiteral(":/help/JukugoTyping.help"));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(help.readAll());
    struct TExample {
        const char *stored;
        const char *typed;
    };
    const TExample examples[] = {
        {"[be] afraid of @", "be afraid of"},
        {"look forward to @", "look forward to"},
        {"How about @?", "How about"},
        {"make up one's mind", "make up one's mind"},
        {"make up one's mind", "make up ones mind"},
        {"regard A as B", "regard a as b"},
        {"the more A, the more B", "the more a, the more b"},
        {"the more A, the more B", "the more a,the more b"},
        {"look out (for @)", "look out"},
        {"look out (for @)", "look out for"},
        {"make sure (that) @", "make sure"},
        {"make sure (that) @", "make sure that"},
        {"come/go on", "come on"},
        {"come/go on", "go on"},
    };
    for (const TExample &e : examples) {
        const QString typed = QString::fromUtf8(e.typed);
        SCOPED_TRACE(e.stored + std::string(" -> ") + e.typed);
        EXPECT_TRUE(CheckTypedAnswer(QString::fromUtf8(e.stored), typed, THeadwordKind::Phrase));
        EXPECT_TRUE(text.contains(typed));
    }
}

} // namespace
