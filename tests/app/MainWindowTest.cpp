// The main window's shape, its quota label, the answer gauge's pace, and the
// windows that open while a file loads.
#include "TrainingWindowFixture.h"

#include "app/MainWidgets.h"
#include "app/NoWord.h"
#include "engine/Forecast.h"
#include "workspace/Reminder.h"
#include "workspace/UserFolderLock.h"
#include "app/NoticeUnit.h"
#include "app/WordPanel.h"
#include "files/FileManagerUnit.h"
#include "support/SmallScreens.h"
#include "widgets/ScreenFit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

TEST(MainWindowShape, SmallScreensAreThoseOf768PixelsOrLess)
{
    EXPECT_TRUE(TMainForm::IsSmallScreen(600));
    EXPECT_TRUE(TMainForm::IsSmallScreen(768));
    EXPECT_FALSE(TMainForm::IsSmallScreen(769));
    EXPECT_FALSE(TMainForm::IsSmallScreen(1024));
}

TEST_F(TTrainingWindowTest, TheWindowHasItsDesignedShape)
{
    Start();
    const int screenHeight = QGuiApplication::primaryScreen()->geometry().height();
    const bool small = TMainForm::IsSmallScreen(screenHeight);
    EXPECT_EQ(form().width(), 1024);
    EXPECT_EQ(form().height(), small ? 734 : 768);
    EXPECT_EQ(ui().sPageControl1->geometry(), QRect(40, small ? 392 : 400, 937, 281));
    EXPECT_EQ(form().palette().color(QPalette::Window), QColor(0xDA, 0xDA, 0xDA));
    EXPECT_EQ(form().minimumSize(), form().maximumSize());
    EXPECT_EQ(ui().sPanel_Q->geometry(), QRect(39, 38, 450, 36));
    EXPECT_EQ(ui().sGauge_Time->geometry(), QRect(40, 69, 448, 9));
    EXPECT_EQ(ui().sPanel_Input->geometry(), QRect(81, 90, 408, 38));
    EXPECT_EQ(ui().sBitBtn_Op[1]->geometry(), QRect(40, 232, 42, 39));
    EXPECT_EQ(ui().sGroupBox_Title->geometry(), QRect(0, -16, 1024, 784));
    EXPECT_TRUE(form().TitleCoverVisible());
    EXPECT_EQ(ui().sLabel_TitleP->text(), QStringLiteral("Tessarion"));
    // Centred without a stored position.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(form().x(), (screen.width() - 1024) / 2);
    EXPECT_EQ(form().y(), (screen.height() - form().height()) / 2);
    // The menus stay hidden under the title cover.
    EXPECT_FALSE(ui().mmFile->menuAction()->isVisible());
    ASSERT_TRUE(WaitForState(TFlowState::Ready));
}

// Screens with less room than the designed 1024x768 (a 1366x768 laptop with
// a panel, a 2560x1600 screen at scale 2 with a panel): the window takes the
// room there is, its client area scrolls under the menu bar, and every
// button can be scrolled into view and used.
TEST_F(TTrainingWindowTest, OnASmallScreenTheWindowFitsAndEveryButtonStaysReachable)
{
    StartToReady();
    const QSize designedClient = form().centralWidget()->size();
    for (const TSmallScreen &c : kSmallScreens) {
        SCOPED_TRACE(c.name);
        QScrollArea *area = FitIntoRoom(&form(), c.room);
        ASSERT_NE(area, nullptr);
        EXPECT_EQ(form().centralWidget(), area);
        EXPECT_TRUE(c.room.contains(form().geometry()));
        // The page is the designed client area, whole.
        ASSERT_NE(area->widget(), nullptr);
        EXPECT_EQ(area->widget()->size(), designedClient);
        const QList<QWidget *> buttons = {ui().sBitBtn_Op[0], ui().sBitBtn_Op[1], ui().sBitBtn_Op[2],
                                          ui().sSpeedButton_Signal, ui().sPageControl1->tabBar()};
        for (QWidget *button : buttons) {
            area->ensureWidgetVisible(button, 0, 0);
            const QRect shown(button->mapTo(area->viewport(), QPoint(0, 0)), button->size());
            EXPECT_TRUE(area->viewport()->rect().contains(shown)) << button->objectName().toStdString();
        }
    }
    // To look at (build folder): the window as the last room leaves it.
    EXPECT_TRUE(form().grab().save(QStringLiteral(TESSARION_BINARY_DIR "/main_window_scrolled.png")));
}

TEST_F(TTrainingWindowTest, TheWindowIsTheUserFoldersOneWriterForItsWholeRun)
{
    StartToReady();
    EXPECT_EQ(UserFolderHolder(cc().userFolder).pid, QCoreApplication::applicationPid());
    const QByteArray record = folder.read(QStringLiteral("user/record/Record_TT.dat"));
    // A study run of the tool on the same folder waits briefly, then refuses.
    QProcess tool;
    tool.start(BinaryDir() + QStringLiteral("/tessarion-tool"),
               {QStringLiteral("study"), QStringLiteral("--program-folder"), folder.path(), QStringLiteral("--file"),
                QStringLiteral("TT"), QStringLiteral("--answers"), QStringLiteral("111")});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 1);
    const QString err = QString::fromUtf8(tool.readAllStandardError());
    EXPECT_TRUE(err.contains(QDir::toNativeSeparators(QDir::cleanPath(cc().userFolder)))) << err.toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("user/record/Record_TT.dat")), record);
    EXPECT_EQ(flow().State(), TFlowState::Ready);
}

TEST_F(TTrainingWindowTest, AStoredPositionPlacesTheWindowTopFirst)
{
    folder.writeLines(QStringLiteral("user/setting/FormPosition.dat"),
                      {QStringLiteral("12"), QStringLiteral("34"), QStringLiteral("0"), QStringLiteral("0"),
                       QStringLiteral("0"), QStringLiteral("3")});
    Start();
    EXPECT_EQ(form().y(), 12);
    EXPECT_EQ(form().x(), 34);
    ASSERT_TRUE(WaitForState(TFlowState::Ready));
}

TEST_F(TTrainingWindowTest, TheQuotaLabelRightAlignsTheRemainingQuestions)
{
    StartToReady();
    const struct {
        int remaining;
        const char16_t *text;
    } cases[] = {{0, u"   0"}, {7, u"   7"}, {42, u"  42"}, {150, u" 150"}, {-1, u"done"}};
    for (const auto &c : cases) {
        cc().training.remaining = c.remaining;
        flow().UpdateQuotaLabel();
        EXPECT_EQ(ui().sLabel_Norm->text(), QString::fromUtf16(c.text)) << c.remaining;
    }
}

TEST_F(TTrainingWindowTest, TheGaugeNeverStepsFasterThanItsStep)
{
    StartToReady();
    flow().SetGaugeStepDuration(kGaugeStep);
    cc().settings.answerTime = 200;   // 100 steps for a choice question
    QElapsedTimer clock;
    AskQuestion();
    clock.start();
    ASSERT_TRUE(WaitForState(TFlowState::Reviewing));
    EXPECT_GE(clock.elapsed(), 100 * kGaugeStep.count() - kGaugeStep.count());
    EXPECT_EQ(flow().gaugePosition(), 0);
}

TEST_F(TTrainingWindowTest, TheOptionDelayHoldsTheOptionsBack)
{
    StartToReady();
    cc().settings.answerTime = 1000;   // 900 steps
    cc().settings.optionDelay = 50;    // shown below 900 - 50 * 9 = 450
    AskQuestion();
    ASSERT_TRUE(WaitFor([&] { return flow().gaugePosition() < 600; }));
    EXPECT_FALSE(flow().optionsRevealed());
    EXPECT_TRUE(ui().sLabel_Op[0]->text().isEmpty());
    ASSERT_TRUE(WaitFor([&] { return flow().optionsRevealed(); }));
    EXPECT_LT(flow().gaugePosition(), 450);
    EXPECT_GE(flow().gaugePosition(), 440);
}

TEST_F(TTrainingWindowTest, TheSignalShowsTheWaitingPictureAfter277Steps)
{
    StartToReady();
    cc().settings.answerTime = 500;   // 400 steps
    AskQuestion();
    EXPECT_EQ(ui().sSpeedButton_Signal->text(), QStringLiteral("初"));
    ASSERT_TRUE(WaitFor([&] { return flow().gaugePosition() < 400 - 280; }));
    EXPECT_TRUE(ui().sSpeedButton_Signal->text().isEmpty());
    EXPECT_EQ(ui().sSpeedButton_Signal->property("picture").toString(), QStringLiteral("Signal_Q"));
}

TEST_F(TTrainingWindowTest, TheFileManagerOfAFirstStartCanEndTheProgram)
{
    WriteCatalog(folder, FixtureWords().size(), QStringLiteral("ON"));
    bool startMode = false;
    WhenModalOpens([&](QWidget *w) {
        auto *manager = qobject_cast<TFileManagerForm *>(w);
        ASSERT_NE(manager, nullptr);
        startMode = manager->sButton_OK->text() == QStringLiteral("学習開始");
        EXPECT_TRUE(manager->sCheckBox_start->isChecked());
        manager->sButton_fin->click();
    });
    Start();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    EXPECT_TRUE(startMode);
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("user/setting/Setting_TT.dat"))));
}

TEST_F(TTrainingWindowTest, TheFileManagerOfAFirstStartStartsTheStudy)
{
    WriteCatalog(folder, FixtureWords().size(), QStringLiteral("ON"));
    WhenModalOpens([](QWidget *w) {
        auto *manager = qobject_cast<TFileManagerForm *>(w);
        ASSERT_NE(manager, nullptr);
        manager->sCheckBox_start->click();   // not at every start any more
        manager->sButton_OK->click();
    });
    StartToReady();
    EXPECT_FALSE(ReadBackState(folder)->catalog.fileManager);
}

// Every word in stage 2 and none due: the file has nothing to ask.
static void PutEveryWordInStage2(const TTempProgramFolder &folder, int dueInDays)
{
    auto cc = ReadBackState(folder);
    cc->clock.FixToday(QDate(2024, 4, 1));
    for (int p = 1; p <= cc->TangoTotal(); ++p) {
        TTango &t = cc->words[p];
        t.stage = TStage::Two;
        t.level = 7;
        t.timesAsked = 5;
        t.stage2History = QStringLiteral("2024/3/1[6]");
        t.stage2Count = 1;
        t.nextDueDate = QStringLiteral("2024/4/%1").arg(1 + dueInDays);
    }
    cc->SaveRecordFile();
}

TEST_F(TTrainingWindowTest, NothingToAskAndEndChosenClosesWithoutSaving)
{
    PutEveryWordInStage2(folder, 5);
    bool asked = false;
    WhenModalOpens([&](QWidget *w) {
        auto *noWord = qobject_cast<TNoWordForm *>(w);
        ASSERT_NE(noWord, nullptr);
        asked = true;
        // Ten words due in five days.
        EXPECT_EQ(noWord->sComboBox1->count(), kForecastDays);
        EXPECT_EQ(noWord->sComboBox1->itemText(4), QStringLiteral("2024/4/6  10 "));
        EXPECT_EQ(noWord->sComboBox1->currentText(), QStringLiteral(" 今後の出題発生状況"));
        EXPECT_EQ(noWord->sLabel_next->text(), QStringLiteral("次回 ･･･ 5 日後 "));
        noWord->sCheckBox_popup->setChecked(false);
        noWord->sCheckBox_popup->click();   // ticked
        noWord->sTrackBar1->setValue(30);   // never within the forecast
        EXPECT_EQ(noWord->sLabel_next->text(), QStringLiteral("次回 ･･･ 0 日後 "));
        noWord->sTrackBar1->setValue(8);
        EXPECT_EQ(noWord->sLabel_next->text(), QStringLiteral("次回 ･･･ 5 日後 "));
        noWord->sButton_end->click();
    });
    QFile::remove(AutostartEntryPath());
    Start();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    EXPECT_TRUE(asked);
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("user/setting/Setting_TT.dat"))));
    // The file is called back when eight words are due, and the reminder starts at log-on.
    const auto state = ReadBackState(folder);
    const TDBF &row = state->catalog.rows[kTtSlot];
    EXPECT_TRUE(row.PopUp);
    EXPECT_EQ(row.PopUpDate, QStringLiteral("2024/04/06"));
    EXPECT_EQ(row.PopUpWN, 8);
    EXPECT_TRUE(QFile::exists(AutostartEntryPath()));
}

// The reminder was asked for on an earlier day; now the learner unticks it in
// the only file that asked, while every other slot keeps its switch on as a
// first start leaves it.
TEST_F(TTrainingWindowTest, UntickingTheReminderInTheOnlyFileThatAskedRemovesTheAutostartEntry)
{
    PutEveryWordInStage2(folder, 5);
    {   // Another file in the catalog, switched off, its popup as a first start leaves it.
        auto cc = ReadBackState(folder);
        TDBF &other = cc->catalog.rows[kTtSlot + 1];
        other.Code = FileCodeOfSlot(kTtSlot + 1);
        other.Version = 305;
        ASSERT_TRUE(other.PopUp);
        ASSERT_TRUE(other.PopUpDate.isEmpty());
        cc->SaveCatalog();
    }
    QString error;
    ASSERT_TRUE(WriteAutostartEntry(QStringLiteral("/x/tessarion-tray"), QStringLiteral("/x/"), &error));
    WhenModalOpens([&](QWidget *w) {
        auto *noWord = qobject_cast<TNoWordForm *>(w);
        ASSERT_NE(noWord, nullptr);
        EXPECT_EQ(noWord->sCheckBox_popup->text(), QStringLiteral("出題可能な語が一定数に達したら、ログイン時にポップアップで知らせる"));
        noWord->sCheckBox_popup->setChecked(true);
        noWord->sCheckBox_popup->click();   // unticked
        EXPECT_FALSE(noWord->sTrackBar1->isEnabled());
        noWord->sButton_end->click();
    });
    Start();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    const auto state = ReadBackState(folder);
    EXPECT_FALSE(state->catalog.rows[kTtSlot].PopUp);
    int otherFilesSwitchedOn = 0;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const TDBF &row = state->catalog.rows[static_cast<size_t>(slot)];
        otherFilesSwitchedOn += slot != kTtSlot && row.Version != 0 && row.PopUp ? 1 : 0;
    }
    EXPECT_GT(otherFilesSwitchedOn, 0);
    EXPECT_FALSE(QFile::exists(AutostartEntryPath()));
}

TEST_F(TTrainingWindowTest, NothingToAskAndRandomChosenGoesOnAtRandom)
{
    PutEveryWordInStage2(folder, 5);
    WhenModalOpens([](QWidget *w) { qobject_cast<TNoWordForm *>(w)->sButton_cancel->click(); });
    StartToReady();
    EXPECT_TRUE(cc().training.randomAcceptedToday);
    AskQuestion();
    EXPECT_TRUE(ui().sLabel_random->isVisible());
    const int level = cc().words[flow().currentWord()].level;
    AnswerCorrectly();
    EXPECT_EQ(cc().words[flow().currentWord()].level, level);   // a random answer changes no level
}

TEST_F(TTrainingWindowTest, StageOneWordsNotYetDueGoOnAtRandomWithoutAsking)
{
    PutEveryWordInStage2(folder, 5);
    {
        // Half of the words learned once and waiting for their turn in stage 1.
        auto cc = ReadBackState(folder);
        for (int p = 1; p <= 5; ++p) {
            cc->InitWordRecord(p);
            TTango &t = cc->words[p];
            t.stage = TStage::One;
            t.level = 1;
            t.timesAsked = 1;
            t.stage1Counter = 1;
        }
        cc->SaveRecordFile();
    }
    bool windowShown = false;
    WhenModalOpens([&](QWidget *w) {
        windowShown = true;
        w->close();
    });
    StartToReady();
    EXPECT_FALSE(windowShown);
    EXPECT_FALSE(cc().training.randomAcceptedToday);
    EXPECT_TRUE(ui().sLabel_random->isVisible());
    AskQuestion();
    EXPECT_TRUE(cc().training.randomQuestion);
    EXPECT_TRUE(ui().sLabel_random->isVisible());
    const int word = flow().currentWord();
    EXPECT_EQ(cc().words[word].stage, TStage::Two);   // a built-in file asks no stage-1 word at random
    AnswerCorrectly();
    EXPECT_EQ(cc().words[word].level, 7);   // a random answer changes no level
    EXPECT_FALSE(windowShown);
}

TEST_F(TTrainingWindowTest, TheRandomMarkerFollowsTheFirstSelectionOfEachFile)
{
    QueueTtAndDt();
    PutEveryWordInStage2(folder, 5);
    WhenModalOpens([](QWidget *w) { qobject_cast<TNoWordForm *>(w)->sButton_cancel->click(); });
    StartToReady();
    // TT goes on at random from its first selection on.
    EXPECT_TRUE(ui().sLabel_random->isVisible());
    AskQuestion();
    EXPECT_TRUE(ui().sLabel_random->isVisible());
    AnswerCorrectly();
    ui().smFileExit->trigger();
    // DT has new words: its start screen shows no random marker.
    ASSERT_TRUE(WaitForReadyOn(QStringLiteral("DT")));
    EXPECT_FALSE(ui().sLabel_random->isVisible());
    AskQuestion();
    EXPECT_FALSE(ui().sLabel_random->isVisible());
}

// The hint for accented letters follows the speech language of the file just
// loaded, not of the one before it.
TEST_F(TTrainingWindowTest, TheAccentedLettersHintFollowsTheLoadedFilesLanguage)
{
    const int itSlot = FileSlotOfCode(QStringLiteral("IT"));
    WriteLearningFile(folder, FixtureWords().mid(3), QStringLiteral("IT"));
    WriteCatalog(folder, {{kTtSlot, QStringLiteral("TT"), QStringLiteral("テスト単語"), 10},
                          {itSlot, QStringLiteral("IT"), QStringLiteral("イタリア語"), 7}});
    StartToReady();
    EXPECT_FALSE(ui().smTokushuRule->isVisible());   // English
    ui().smFileExit->trigger();
    ASSERT_TRUE(WaitForReadyOn(QStringLiteral("IT")));
    EXPECT_TRUE(ui().smTokushuRule->isVisible());
}

// A long title fits the question panel: it ends in "…" after a whole
// character and keeps its frame.
TEST_F(TTrainingWindowTest, ALongFileTitleEndsInAnEllipsisInsideThePanel)
{
    const QString title = QString(60, QChar(0x8a9e)) + QStringLiteral("𠮷の単語");   // ends in a surrogate pair
    WriteCatalog(folder, {{kTtSlot, QStringLiteral("TT"), title, 10}});
    StartToReady();
    const QLabel &panel = *ui().sPanel_Q;
    const QString shown = panel.text();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("+++ "))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("… +++"))) << shown.toStdString();
    EXPECT_LE(panel.fontMetrics().horizontalAdvance(shown), panel.contentsRect().width());
    const QString kept = shown.mid(4, shown.size() - 4 - 5);
    EXPECT_TRUE(title.startsWith(kept)) << shown.toStdString();
    EXPECT_FALSE(kept.back().isHighSurrogate());
}

TEST_F(TTrainingWindowTest, TheStageNoticeAppliesTheRulesAndSavesTheRecord)
{
    // A stage-2 word for more than 800 days at level 10 passes to stage 3.
    {
        auto cc = ReadBackState(folder);
        TTango &t = cc->words[2];
        t.stage = TStage::Two;
        t.level = 10;
        t.timesAsked = 30;
        t.stage2History = QStringLiteral("2021/1/1[6]2024/3/1[10]");
        t.stage2Count = 2;
        t.nextDueDate = QStringLiteral("2024/9/1");
        cc->SaveRecordFile();
    }
    QStringList passed;
    const auto picture = [](const QIcon &icon) { return icon.pixmap(16).toImage(); };
    WhenModalOpens([&](QWidget *w) {
        auto *notice = qobject_cast<TNoticeForm *>(w);
        ASSERT_NE(notice, nullptr);
        QTreeWidgetItem *header = notice->TreeView_Stage2OK->topLevelItem(0);
        EXPECT_TRUE(header->icon(0).isNull());
        for (int i = 0; i < header->childCount(); ++i) {
            passed.append(header->child(i)->text(0));
            // TT is an English file: its words carry the English flag.
            EXPECT_FALSE(header->child(i)->icon(0).isNull());
            EXPECT_EQ(picture(header->child(i)->icon(0)), picture(LanguageFlagIcon(LanguageKindOfSlot(6))));
        }
        QTreeWidgetItem *nothing = notice->TreeView_StageNG->topLevelItem(0)->child(0);
        EXPECT_EQ(nothing->text(0), QStringLiteral(" nothing"));
        EXPECT_TRUE(nothing->icon(0).isNull());
        EXPECT_FALSE(notice->TreeView_StageNG->isEnabled());
        writes.clear();
        notice->sButton_close->click();
    });
    StartToReady();
    ASSERT_EQ(passed.size(), 1);
    EXPECT_TRUE(passed.first().contains(QStringLiteral("river")));
    EXPECT_EQ(StateFileWrites().value(0), QStringLiteral("user/record/Record_TT.dat"));
    EXPECT_EQ(ReadBackState(folder)->words[2].stage, TStage::Three);
}
