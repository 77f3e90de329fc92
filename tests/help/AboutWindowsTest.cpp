#include "help/AboutTessarion.h"
#include "help/VersionUnit.h"
#include "base/Version.h"

#include "support/EngineFolder.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs `action` once the dialog's modal loop runs, then returns when exec()
// does (a guard closes it so a failure cannot hang the run).
bool ExecAndThen(QDialog &dialog, const std::function<void()> &action)
{
    QTimer::singleShot(0, &dialog, action);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &dialog, [&dialog] { dialog.done(QDialog::Rejected); });
    guard.start(10000);
    dialog.exec();
    return guard.isActive();
}

struct VersionWindowOnScreen : ::testing::Test {
    TEngineFolder env;
    QWidget owner;
    TAboutForm form{env.cc, &owner};
    QStringList sounds;

    void SetUp() override
    {
        owner.setGeometry(100, 80, 1000, 700);
        form.playSoundEffect = [this](const QString &name) { sounds << name; };
    }
};

TEST_F(VersionWindowOnScreen, ALongTitleEndsInAnEllipsisOnWholeCharacters)
{
    // A title of characters outside the basic plane, far wider than the window.
    QString title;
    for (int i = 0; i < 60; ++i)
        title += QStringLiteral("𠮷野家");
    env.UseFile(QStringLiteral("U1"), 32, 10);
    env.cc.catalog.rows[32].Title = title;
    form.show();
    auto *text = form.findChild<QLabel *>(QStringLiteral("AboutText"));
    ASSERT_NE(text, nullptr);
    const QString shown = form.Lines().first();
    EXPECT_TRUE(text->text().startsWith(shown + u'\n'));
    EXPECT_LT(shown.size(), title.size());
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown.at(i).isHighSurrogate()) {
            ASSERT_LT(i + 1, shown.size());
            EXPECT_TRUE(shown.at(i + 1).isLowSurrogate());
        }
    }
    EXPECT_LE(text->geometry().right(), form.width());
    EXPECT_EQ(text->toolTip(), title);
}

TEST_F(VersionWindowOnScreen, OpensModalCentredAndClosesByEscOrOkWithTheButtonSound)
{
    for (const bool byEsc : {true, false}) {
        SCOPED_TRACE(byEsc ? "Esc" : "OK");
        QPoint centre;
        bool modal = false;
        EXPECT_TRUE(ExecAndThen(form, [&] {
            centre = form.geometry().center();
            modal = form.isModal();
            if (byEsc)
                QTest::keyClick(&form, Qt::Key_Escape);
            else
                QTest::mouseClick(form.sButton_OK, Qt::LeftButton);
        }));
        EXPECT_TRUE(modal);
        EXPECT_LE((centre - owner.geometry().center()).manhattanLength(), 4);
        EXPECT_FALSE(form.isVisible());
    }
    EXPECT_EQ(sounds, QStringList({QStringLiteral("BUTTON"), QStringLiteral("BUTTON")}));
}

struct AboutWindow : ::testing::Test {
    QWidget owner;
    TAboutTessarionForm form{&owner};
    QStringList sounds;

    void SetUp() override
    {
        owner.setGeometry(60, 40, 1100, 800);
        form.playSoundEffect = [this](const QString &name) { sounds << name; };
    }
};

TEST_F(AboutWindow, PointingAtAButtonShowsItsOwnIllustrationAndNote)
{
    form.show();
    QList<QImage> pictures;
    QStringList notes;
    for (int n = kAboutTopicCount - 1; n >= 0; --n) {
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(form.sButton_topic[static_cast<size_t>(n)], &enter);
        EXPECT_EQ(form.ShownTopic(), static_cast<TAboutTopic>(n));
        pictures << form.Image_Illustration->grab().toImage();
        notes << form.sLabel_note->text();
    }
    for (int a = 0; a < pictures.size(); ++a) {
        EXPECT_FALSE(notes[a].isEmpty());
        for (int b = a + 1; b < pictures.size(); ++b) {
            EXPECT_NE(pictures[a], pictures[b]) << a << " and " << b << " draw the same picture";
            EXPECT_NE(notes[a], notes[b]);
        }
    }
    // The keyboard reaches the topics too.
    form.sButton_topic[2]->setFocus();
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(form.sButton_topic[2], &focus);
    EXPECT_EQ(form.ShownTopic(), TAboutTopic::Stages);
    EXPECT_TRUE(form.sLabel_note->text().contains(QStringLiteral("Stage 3")));
}

TEST_F(AboutWindow, NamesTheProgramItsVersionLicenceCreditsAndWhereToReportAFault)
{
    const QString credits = form.sRichEdit_credits->toPlainText();
    EXPECT_TRUE(FaultReportAddress().startsWith(QStringLiteral("http")));
    for (const QString &part : {QStringLiteral("Tessarion　バージョン ") + QString::fromLatin1(kTessarionVersion),
                                QStringLiteral("All rights reserved"), QStringLiteral("CC BY-SA 3.0"),
                                QStringLiteral("EDICT"), QStringLiteral("FreeDict"), QStringLiteral("WordNet 3.0"),
                                QStringLiteral("CMU Pronouncing Dictionary"), QStringLiteral("resource/DATA_LICENSE.txt"),
                                QStringLiteral("SIL Open Font License"), QStringLiteral("【不具合のご報告】"),
                                FaultReportAddress()}) {
        EXPECT_TRUE(credits.contains(part)) << part.toStdString();
    }
}

TEST_F(AboutWindow, OpensModalCentredAtTheFirstTopicAndEscClosesWithTheButtonSound)
{
    form.ShowTopic(TAboutTopic::StartOver);
    QPoint centre;
    TAboutTopic topicOnShow = TAboutTopic::StartOver;
    EXPECT_TRUE(ExecAndThen(form, [&] {
        centre = form.geometry().center();
        topicOnShow = form.ShownTopic();
        QTest::keyClick(&form, Qt::Key_Escape);
    }));
    EXPECT_EQ(topicOnShow, TAboutTopic::ForgettingCurve);
    EXPECT_LE((centre - owner.geometry().center()).manhattanLength(), 4);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(sounds, QStringList{QStringLiteral("BUTTON")});
}

}
