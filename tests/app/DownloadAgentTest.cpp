#include "app/DownloadAgent.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {
TSpeechComponentReport Missing(std::initializer_list<TMissingSpeechComponent> parts)
{
    TSpeechComponentReport r;
    r.missing = parts;
    return r;
}
} // namespace

TEST(DownloadAgentForm, WithEverythingPresentTheMainProgramRunsAtOnceAndTheWindowIsNeverSeen)
{
    QList<bool> runs;
    TDownloadAgentForm form([&](bool speech) { runs << speech; });   // the real check
    form.FormCreate();
    EXPECT_EQ(runs, QList<bool>{true});
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.MainProgramStarted());
    EXPECT_TRUE(form.Report().AllPresent());
    form.ExecuteMainProgram(true);   // only once
    EXPECT_EQ(runs.size(), 1);
}

TEST(DownloadAgentForm, AMissingVoiceIsListedWithItsInstallCommand)
{
    QList<bool> runs;
    TDownloadAgentForm form([&](bool speech) { runs << speech; }, [] {
        return Missing({{TSpeechComponent::Voice, QStringLiteral("英語（米国）の音声（espeak-ng の音声データ）")}});
    });
    form.FormCreate();
    EXPECT_TRUE(runs.isEmpty());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("発音機能のインストール"));
    EXPECT_EQ(form.size(), QSize(567, 353));
    EXPECT_TRUE(form.sLabel_missing()->text().contains(QStringLiteral("英語（米国）の音声")));
    EXPECT_EQ(form.sEdit_command()->text(), QStringLiteral("sudo apt-get install espeak-ng-data"));
    EXPECT_TRUE(form.sEdit_command()->isReadOnly());
    EXPECT_EQ(form.sButton_cancel()->text(), QStringLiteral("キャンセル"));

    // Going on without speech: the main program runs, told that speech is off.
    QTest::mouseClick(form.sButton_withoutSpeech(), Qt::LeftButton);
    EXPECT_EQ(runs, QList<bool>{false});
    EXPECT_FALSE(form.isVisible());
}

TEST(DownloadAgentForm, OnlyMissingArtworkAsksToReinstallWithoutACommand)
{
    TDownloadAgentForm form([](bool) {}, [] {
        return Missing({{TSpeechComponent::Artwork, QStringLiteral("インコのキャラクター画像")}});
    });
    form.FormCreate();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.sEdit_command()->isVisible());
    const QLabel *howTo = form.findChild<QLabel *>(QStringLiteral("sLabel6"));
    ASSERT_NE(howTo, nullptr);
    EXPECT_TRUE(howTo->text().contains(QStringLiteral("入れ直して")));
}

TEST(DownloadAgentForm, CancelEndsTheProgramWithoutTheMainProgram)
{
    for (int way = 0; way < 3; ++way) {
        bool ran = false;
        int ended = 0;
        TDownloadAgentForm form([&](bool) { ran = true; }, [] {
            return Missing({{TSpeechComponent::Engine, QStringLiteral("音声合成エンジン espeak-ng とその音声データ")}});
        });
        form.endProgram = [&] { ++ended; };
        form.FormCreate();
        EXPECT_EQ(form.sEdit_command()->text(), QStringLiteral("sudo apt-get install libespeak-ng1 espeak-ng-data"));
        if (way == 0)
            QTest::mouseClick(form.sButton_cancel(), Qt::LeftButton);
        else if (way == 1)
            QTest::keyClick(&form, Qt::Key_Escape);
        else
            form.close();
        EXPECT_EQ(ended, 1) << way;
        EXPECT_FALSE(ran) << way;
        EXPECT_FALSE(form.isVisible()) << way;
    }
}
