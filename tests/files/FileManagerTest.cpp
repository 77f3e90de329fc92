// The learning-file manager: its rows mirror the catalog, the order numbers
// stay a permutation, and each change is saved when the learner expects it
// (a switch at once, the order and the start box when the window closes, a
// title at once in Title.dat).
#include "data/LearningFile.h"
#include "data/UserWorkbook.h"
#include "engine/CommonUnit.h"
#include "files/FileManagerUnit.h"
#include "progress/StatusUnit.h"
#include "support/TestSupport.h"
#include "support/SmallScreens.h"
#include "widgets/ScreenFit.h"
#include "workspace/CatalogFixture.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QFile>
#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <optional>
#include <gtest/gtest.h>
#include <map>

namespace {
constexpr int kTT = 6;
constexpr int kTJ = 7;
constexpr int kIT = 8;
constexpr int kDT = 27;
constexpr int kU1 = 32;
constexpr int kU2 = 33;
constexpr int kU17 = 48;
constexpr int kU18 = 49;

// A program folder after a first start: the usual server files on offer,
// TT switched on, every order number its slot's; TT's data is installed.
struct TManagerEnv {
    TTempProgramFolder dir;
    TCC cc;

    TManagerEnv()
    {
        dir.writeLines(QStringLiteral("resource/FileInfo_SITE.dat"), SiteCatalogLines(805, UsualSiteRows()));
        cc.programFolder = dir.path();
        cc.userFolder = dir.file(QStringLiteral("user/"));
        for (const char *sub : {"record", "setting", "FileInfo"})
            QDir().mkpath(cc.userFolder + QLatin1String(sub));
        cc.clock.FixToday(QDate(2024, 4, 1));
        cc.LoadServerCatalog();
        cc.LoadCatalog();
        InstallTT();
    }
    void InstallTT(int words = 3)
    {
        QString text = QStringLiteral("x305\r\n");
        for (int k = 1; k <= words; ++k)
            text += QStringLiteral("%1\tword%2\t\t\t意味%1\r\n").arg(k).arg(QChar(u'a' + k));
        dir.write(QStringLiteral("resource/TT_enc.dat"), EncodeLearningText(text).toUtf8());
        cc.catalog.rows[kTT].TangoTotal = words;
        cc.catalog.rows[kTT].DBTangoTotal = words;
    }
    // The catalog as it is on disk now.
    TCatalog Stored() const
    {
        TCC reader;
        reader.programFolder = cc.programFolder;
        reader.userFolder = cc.userFolder;
        reader.context.readOnly = true;
        reader.LoadServerCatalog();
        reader.LoadCatalog();
        return reader.catalog;
    }
    QStringList Messages() { return std::exchange(cc.defaultNotifier.messages, {}); }
};

// Acts on the next modal window once it is open; the action closes it.
void OnNextModal(const std::function<void(QWidget *)> &action)
{
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            action(modal);
        }
    });
    poll->start();
}

int Order(const TCatalog &catalog, int slot)
{
    return catalog.rows[static_cast<size_t>(slot)].Order.toInt();
}
}

TEST(FileManagerForm, ShowsEveryRowAsTheCatalogHasIt)
{
    TManagerEnv env;
    env.cc.catalog.rows[kTT].PopUpDate = QStringLiteral("2024/4/5");   // nothing to ask before then
    env.cc.catalog.rows[kTJ].OnOff = true;
    env.cc.catalog.rows[kTJ].PopUpDate = QStringLiteral("2024/4/1");   // today: due
    env.cc.catalog.rows[kIT].PopUpDate = QStringLiteral("2024/5/1");   // but switched off
    env.dir.writeLines(QStringLiteral("user/word_user/Title.dat"),
                       QStringList{QStringLiteral("動物")} + QStringList(17, QStringLiteral("x")));
    TFileManagerForm form(env.cc);
    form.show();

    EXPECT_EQ(form.windowTitle(), QStringLiteral(" 学習ファイルの管理"));
    EXPECT_EQ(form.sSpeedButton[kTT]->text(), env.cc.catalog.rows[kTT].Title);
    EXPECT_EQ(form.sSpeedButton[kU1]->text(), QStringLiteral("動物"));
    EXPECT_EQ(env.cc.catalog.rows[kU1].Title, QStringLiteral("動物"));
    EXPECT_TRUE(form.sCheckBox[kTT]->isChecked());
    EXPECT_FALSE(form.sCheckBox[kIT]->isChecked());
    for (int slot = 1; slot <= kSlotCount; ++slot)
        EXPECT_EQ(form.sSpinEdit[static_cast<size_t>(slot)]->value(), slot);
    // Unreleased built-in files are greyed; user files never are.
    for (QWidget *w : {static_cast<QWidget *>(form.sCheckBox[1]), static_cast<QWidget *>(form.sSpinEdit[1]),
                       static_cast<QWidget *>(form.sSpeedButton[1]), static_cast<QWidget *>(form.sCheckBox[5]),
                       static_cast<QWidget *>(form.sCheckBox[kDT])})
        EXPECT_FALSE(w->isEnabled());
    EXPECT_TRUE(form.sCheckBox[kTJ]->isEnabled());
    EXPECT_TRUE(form.sCheckBox[kU18]->isEnabled());
    EXPECT_EQ(form.sSpeedButton_edit[kU18]->text(), QStringLiteral("編集"));
    // "NW": switched on and the popup date still ahead.
    EXPECT_TRUE(form.sLabel_nw[kTT]->isVisible());
    EXPECT_EQ(form.sLabel_nw[kTT]->toolTip(), QStringLiteral("今日は出題がありません"));
    EXPECT_FALSE(form.sLabel_nw[kTJ]->isVisible());
    EXPECT_FALSE(form.sLabel_nw[kIT]->isVisible());
    // Normal mode: "ＯＫ", no "終了".
    EXPECT_EQ(form.sButton_OK->text(), QStringLiteral("ＯＫ"));
    EXPECT_FALSE(form.sButton_fin->isVisible());
    form.sButton_OK->click();
}

TEST(FileManagerForm, OrderAndSwitchesChangeTheCatalogAndAreSavedWhenExpected)
{
    TManagerEnv env;
    env.cc.catalog.rows[kIT].PopUpDate = QStringLiteral("2024/4/9");
    env.cc.SaveCatalog();
    env.dir.write(QStringLiteral("resource/IT_enc.dat"), "installed");
    TFileManagerForm form(env.cc);
    form.show();

    using TRows = std::map<int, std::pair<bool, int>>;   // slot: switched on, order
    struct TStep {
        const char *what;
        std::function<void()> act;
        TRows memory;
        TRows disk;
        QStringList messages;
    };
    const TStep steps[] = {
        {"raising TT from 6 to 7 swaps it with TJ, saved only at closing",
         [&] { form.sSpinEdit[kTT]->stepUp(); },
         {{kTT, {true, 7}}, {kTJ, {false, 6}}}, {{kTT, {true, 6}}, {kTJ, {false, 7}}}, {}},
        {"lowering TJ from 6 to 5 swaps it with the empty slot 5",
         [&] { form.sSpinEdit[kTJ]->stepDown(); },
         {{kTJ, {false, 5}}, {5, {false, 6}}}, {{kTJ, {false, 7}}, {5, {false, 5}}}, {}},
        {"a number set far away swaps with the row that held it",
         [&] { form.sSpinEdit[kU1]->setValue(2); },
         {{kU1, {false, 2}}, {2, {false, 32}}}, {{kU1, {false, 32}}, {2, {false, 2}}}, {}},
        {"the highest number goes no further",
         [&] { form.sSpinEdit[kU18]->stepUp(); },
         {{kU18, {false, 49}}, {kU17, {false, 48}}}, {{kU18, {false, 49}}}, {}},
        {"switching IT on saves the whole catalog at once",
         [&] { form.sCheckBox[kIT]->click(); },
         {{kIT, {true, 8}}}, {{kIT, {true, 8}}, {kTT, {true, 7}}, {kTJ, {false, 5}}, {kU1, {false, 2}}}, {}},
        {"switching TT off while IT is on saves at once",
         [&] { form.sCheckBox[kTT]->click(); },
         {{kTT, {false, 7}}}, {{kTT, {false, 7}}}, {}},
        {"the last file switched on stays on",
         [&] { form.sCheckBox[kIT]->click(); },
         {{kIT, {true, 8}}}, {{kIT, {true, 8}}}, {}},
        {"a user file switches on without a spreadsheet program",
         [&] { form.sCheckBox[kU2]->click(); },
         {{kU2, {true, 33}}}, {{kU2, {true, 33}}}, {}},
    };
    for (const TStep &step : steps) {
        step.act();
        const TCatalog stored = env.Stored();
        for (const auto &[slot, expected] : step.memory) {
            EXPECT_EQ(env.cc.catalog.rows[static_cast<size_t>(slot)].OnOff, expected.first) << step.what << " slot " << slot;
            EXPECT_EQ(Order(env.cc.catalog, slot), expected.second) << step.what << " slot " << slot;
            EXPECT_EQ(form.sCheckBox[static_cast<size_t>(slot)]->isChecked(), expected.first) << step.what;
            EXPECT_EQ(form.sSpinEdit[static_cast<size_t>(slot)]->value(), expected.second) << step.what;
        }
        for (const auto &[slot, expected] : step.disk) {
            EXPECT_EQ(stored.rows[static_cast<size_t>(slot)].OnOff, expected.first) << step.what << " slot " << slot;
            EXPECT_EQ(Order(stored, slot), expected.second) << step.what << " slot " << slot;
        }
        EXPECT_EQ(env.Messages(), step.messages) << step.what;
        // The numbers stay a permutation of 1..49.
        QList<int> orders;
        for (int slot = 1; slot <= kSlotCount; ++slot)
            orders.append(Order(env.cc.catalog, slot));
        std::sort(orders.begin(), orders.end());
        for (int k = 0; k < kSlotCount; ++k)
            ASSERT_EQ(orders.at(k), k + 1) << step.what;
    }
    EXPECT_TRUE(form.sLabel_nw[kIT]->isVisible());

    // The start box and the order are written when the window closes, with
    // the note that a running program takes them at the next start.
    form.sCheckBox_start->click();
    EXPECT_FALSE(env.cc.catalog.fileManager);
    EXPECT_TRUE(env.Stored().fileManager);
    form.sButton_OK->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(env.Messages(), QStringList{QStringLiteral("設定の変更は次回起動時に反映されます")});
    const TCatalog stored = env.Stored();
    EXPECT_FALSE(stored.fileManager);
    EXPECT_EQ(stored.rows, env.cc.catalog.rows);
}

TEST(FileManagerForm, AMissingLearningFileIsFetchedBeforeItIsSwitchedOn)
{
    TManagerEnv env;
    TFileManagerForm form(env.cc);
    QStringList asked;
    bool fetches = false;
    form.downloadLearningFile = [&](const QString &code) {
        asked.append(code);
        EXPECT_TRUE(form.sLabel1->isVisible());
        EXPECT_FALSE(form.sCheckBox[kTJ]->isEnabled());   // no other switch meanwhile
        if (fetches)
            env.dir.write(QStringLiteral("resource/IT_enc.dat"), "fetched");
        return fetches;
    };
    form.show();
    form.sCheckBox[kIT]->click();
    EXPECT_EQ(asked, QStringList{QStringLiteral("IT")});
    EXPECT_FALSE(form.sCheckBox[kIT]->isChecked());
    EXPECT_FALSE(env.cc.catalog.rows[kIT].OnOff);
    EXPECT_FALSE(env.Stored().rows[kIT].OnOff);
    EXPECT_FALSE(form.sLabel1->isVisible());
    EXPECT_TRUE(form.sCheckBox[kTJ]->isEnabled());
    EXPECT_EQ(env.Messages(), QStringList{QStringLiteral("ダウンロードできませんでした　")});

    fetches = true;
    form.sCheckBox[kIT]->click();
    EXPECT_TRUE(form.sCheckBox[kIT]->isChecked());
    EXPECT_TRUE(env.Stored().rows[kIT].OnOff);
    EXPECT_TRUE(env.Messages().isEmpty());
    // Installed data is not fetched again.
    form.sCheckBox[kTT]->click();
    form.sCheckBox[kTT]->click();
    EXPECT_EQ(asked.size(), 2);
    form.sButton_OK->click();
}

TEST(FileManagerForm, UserFilesAreRenamedThroughTitleDat)
{
    TManagerEnv env;
    const QStringList titles = env.dir.readLines(QStringLiteral("user/word_user/Title.dat"));
    ASSERT_EQ(titles.size(), kUserFileCount);
    TFileManagerForm form(env.cc);
    std::optional<QString> typed;
    QString offered;
    form.askTitle = [&](const QString &current) {
        offered = current;
        return typed;
    };
    form.show();
    struct TCase {
        std::optional<QString> typed;
        QString title;   // of U2 afterwards
    };
    const TCase cases[] = {
        {QStringLiteral("  英検\n準1級 "), QStringLiteral("英検 準1級")},
        {QStringLiteral("   "), QStringLiteral("英検 準1級")},   // empty: nothing changes
        {std::nullopt, QStringLiteral("英検 準1級")},           // cancelled
    };
    for (const TCase &c : cases) {
        typed = c.typed;
        form.sSpeedButton_name[kU2]->click();
        QStringList expected = titles;
        expected[1] = c.title;
        EXPECT_EQ(env.dir.readLines(QStringLiteral("user/word_user/Title.dat")), expected);
        EXPECT_EQ(form.sSpeedButton[kU2]->text(), c.title);
        EXPECT_EQ(env.cc.catalog.rows[kU2].Title, c.title);
    }
    EXPECT_EQ(offered, QStringLiteral("英検 準1級"));

    // A title longer than its button ends in "…" after whole characters
    // (never half a character at the edge); the whole title is the hint and
    // is what Title.dat keeps.
    QString longTitle;
    for (int i = 0; i < 30; ++i)
        longTitle += QStringLiteral("𠮷野家の単語");
    typed = longTitle;
    form.sSpeedButton_name[kU2]->click();
    QPushButton *name = form.sSpeedButton[kU2];
    const QString shown = name->text();
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
    EXPECT_TRUE(longTitle.startsWith(shown.chopped(1)));
    EXPECT_FALSE(shown.chopped(1).back().isHighSurrogate());
    EXPECT_LE(name->fontMetrics().horizontalAdvance(shown), name->width());
    EXPECT_EQ(name->toolTip(), longTitle);
    EXPECT_EQ(env.dir.readLines(QStringLiteral("user/word_user/Title.dat")).value(1), longTitle);
    form.sButton_OK->click();
}

TEST(FileManagerForm, EditOpensTheWorkbookInTheSpreadsheetProgram)
{
    TManagerEnv env;
    TFileManagerForm form(env.cc);
    bool available = false;
    QStringList opened;
    form.spreadsheetAvailable = [&] { return available; };
    form.openWorkbook = [&](const QString &path) {
        opened.append(path);
        return true;
    };
    form.show();
    const QString u1 = env.dir.file(QStringLiteral("user/word_user/User_1.xls"));

    form.sSpeedButton_edit[kU1]->click();   // no workbook, no program
    EXPECT_EQ(env.Messages(), QStringList{QStringLiteral(
        "ユーザーファイルの作成には、.xls を開ける表計算ソフト（LibreOffice Calc、Gnumeric など）のインストールが必要です")});
    EXPECT_FALSE(QFileInfo::exists(u1));

    available = true;
    form.sSpeedButton_edit[kU1]->click();   // made from the sample, then opened
    EXPECT_EQ(opened, QStringList{u1});
    const QList<QStringList> rows = ReadWorkbookRows(u1);
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.first().value(0), QStringLiteral("capybara"));

    // A workbook carried over read-only is made writable for the learner;
    // an existing one is opened as it is.
    const QByteArray made = env.dir.read(QStringLiteral("user/word_user/User_1.xls"));
    QFile::setPermissions(u1, QFileDevice::ReadOwner);
    form.sSpeedButton_edit[kU1]->click();
    EXPECT_EQ(env.dir.read(QStringLiteral("user/word_user/User_1.xls")), made);
    EXPECT_EQ(opened.size(), 2);
    EXPECT_TRUE(QFileInfo(u1).permissions() & QFileDevice::WriteOwner);
    EXPECT_TRUE(env.Messages().isEmpty());

    // The workbook is there but nothing on this desktop opens .xls: the
    // message names what would.
    available = false;
    form.sSpeedButton_edit[kU1]->click();
    EXPECT_EQ(env.Messages(), QStringList{QStringLiteral(
        "ユーザーファイルの編集には、.xls を開ける表計算ソフト（LibreOffice Calc、Gnumeric など）が必要です")});
    EXPECT_EQ(opened.size(), 2);
    // And so does the window's note; no program of another system is named.
    QStringList notes;
    for (const QLabel *label : form.findChildren<QLabel *>()) {
        EXPECT_FALSE(label->text().contains(QStringLiteral("Excel"))) << label->text().toStdString();
        if (label->text().contains(QStringLiteral("LibreOffice Calc")))
            notes << label->text();
    }
    EXPECT_EQ(notes, QStringList{QStringLiteral(
        "※ ユーザーファイルの編集には、.xls を開ける表計算ソフト（LibreOffice Calc、Gnumeric など）が必要です")});
    // The long note wraps inside its column instead of running under the
    // rows of the right-hand column.
    for (const QLabel *label : form.findChildren<QLabel *>()) {
        if (!label->text().startsWith(QStringLiteral("※")))
            continue;
        for (const QWidget *control : form.findChildren<QWidget *>()) {
            if ((qobject_cast<const QAbstractButton *>(control) || qobject_cast<const QAbstractSpinBox *>(control))
                && control->isVisibleTo(&form) && control->parentWidget() == label->parentWidget())
                EXPECT_FALSE(label->geometry().intersects(control->geometry()))
                    << label->text().toStdString() << " runs under " << control->objectName().toStdString();
        }
    }
    form.sButton_OK->click();
}

TEST(FileManagerForm, TheStatusOfAFileIsShownWithoutTouchingTheFileBeingStudied)
{
    TManagerEnv env;
    TFileManagerForm form(env.cc);
    form.show();
    // Never downloaded, or a user file without its workbook: nothing to show.
    form.sSpeedButton[kTJ]->click();
    form.sSpeedButton[kU1]->click();
    EXPECT_EQ(env.Messages(), QStringList(2, QStringLiteral("まだ学習していないファイルです")));

    // The engine studies DT meanwhile; TT has data but no record yet.
    env.cc.SetCurrentFile(QStringLiteral("DT"));
    env.cc.words[1].word = QStringLiteral("studied");
    QString shownFile;
    QString shownDays;
    OnNextModal([&](QWidget *w) {
        auto *status = qobject_cast<TStatusForm *>(w);
        ASSERT_NE(status, nullptr);
        shownFile = status->sLabel_file->text();
        shownDays = status->sLabel_DaysTotal->text();
        status->sButton_close->click();
    });
    form.sSpeedButton[kTT]->click();
    EXPECT_EQ(shownFile, QStringLiteral("+++ %1 +++").arg(env.cc.catalog.rows[kTT].Title));
    EXPECT_EQ(shownDays, QStringLiteral("・学習回数（起動回数）：　0　回"));   // manager mode
    EXPECT_EQ(env.cc.fileCode, QStringLiteral("DT"));
    EXPECT_EQ(env.cc.words[1].word, QStringLiteral("studied"));
    // A window that only shows made no record and no settings.
    EXPECT_FALSE(QFileInfo::exists(env.dir.file(QStringLiteral("user/record/Record_TT.dat"))));
    EXPECT_FALSE(QFileInfo::exists(env.dir.file(QStringLiteral("user/setting/Setting_TT.dat"))));
    form.sButton_OK->click();
}

TEST(FileManagerForm, TheStatusOfAStudiedFileCountsNothingAnsweredInThisRun)
{
    TManagerEnv env;
    // TT was studied on earlier days: its settings keep a total rate of 74 %.
    {
        TCC writer;
        writer.programFolder = env.cc.programFolder;
        writer.userFolder = env.cc.userFolder;
        writer.clock.FixToday(QDate(2024, 4, 1));
        writer.catalog = env.cc.catalog;
        writer.SetCurrentFile(QStringLiteral("TT"));
        writer.LoadFileSettings();
        writer.LoadLearningFile();
        writer.settings.learningDays = 12;
        writer.settings.answersTotal = 600;
        writer.settings.overallCorrectRate = 74;
        writer.SaveRecordFile();
        writer.SaveFileSettings();
    }
    const QByteArray storedSettings = env.dir.read(QStringLiteral("user/setting/Setting_TT.dat"));
    const QByteArray storedRecord = env.dir.read(QStringLiteral("user/record/Record_TT.dat"));
    ASSERT_FALSE(storedSettings.isEmpty());
    ASSERT_FALSE(storedRecord.isEmpty());
    TFileManagerForm form(env.cc);
    form.show();
    QStringList shown;
    OnNextModal([&](QWidget *w) {
        auto *status = qobject_cast<TStatusForm *>(w);
        ASSERT_NE(status, nullptr);
        shown = {status->sLabel_DaysTotal->text(), status->sLabel_TodayMonsuu->text(),
                 status->sLabel_TodayCorrectRate->text(), status->sLabel_CorrectRate->text()};
        status->sButton_close->click();
    });
    form.sSpeedButton[kTT]->click();
    // Nothing of TT was answered in this run: 0 questions, and the stored total rate.
    EXPECT_EQ(shown, QStringList({QStringLiteral("・学習回数（起動回数）：　12　回"),
                                  QStringLiteral("・学習問数（今回）：　0　問"),
                                  QStringLiteral("・正解率（今回）：　0　％"),
                                  QStringLiteral("・正解率（トータル）：　74　％")}));
    EXPECT_EQ(env.dir.read(QStringLiteral("user/setting/Setting_TT.dat")), storedSettings);
    EXPECT_EQ(env.dir.read(QStringLiteral("user/record/Record_TT.dat")), storedRecord);
    EXPECT_TRUE(env.Messages().isEmpty());
    form.sButton_OK->click();
}

TEST(FileManagerForm, StartModeOffersTheEndAndIgnoresEsc)
{
    TManagerEnv env;
    TFileManagerForm form(env.cc);
    form.SetStartMode(true);
    form.show();
    EXPECT_EQ(form.sButton_OK->text(), QStringLiteral("学習開始"));
    EXPECT_TRUE(form.sButton_fin->isVisible());
    form.reject();   // Esc
    EXPECT_TRUE(form.isVisible());
    form.sSpinEdit[kTT]->stepUp();
    form.sButton_fin->click();
    EXPECT_EQ(form.result(), TFileManagerForm::kEndProgram);
    EXPECT_TRUE(env.Messages().isEmpty());   // no note at program start
    EXPECT_EQ(Order(env.Stored(), kTT), 7);

    // Then in normal mode Esc closes.
    form.show();
    EXPECT_FALSE(form.sButton_fin->isVisible());
    form.reject();
    EXPECT_FALSE(form.isVisible());
}

// At program start the window offers 終了, which ends the program: no single
// key press reaches it by accident. Enter on any box of the window starts
// the study (学習開始) or does nothing, whatever had the focus.
TEST(FileManagerForm, EnterNeverEndsTheProgram)
{
    TManagerEnv env;
    TFileManagerForm form(env.cc);
    form.SetStartMode(true);
    form.show();
    QApplication::setActiveWindow(&form);
    QList<QWidget *> stops;
    for (QWidget *w = form.nextInFocusChain(); w != &form && stops.size() < 500; w = w->nextInFocusChain())
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            stops << w;
    ASSERT_GT(stops.size(), 3);
    for (QWidget *stop : stops) {
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            SCOPED_TRACE(stop->objectName().toStdString());
            if (!form.isVisible())
                form.show();
            form.setResult(0);
            stop->setFocus();
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(stop, &press);
            EXPECT_NE(form.result(), TFileManagerForm::kEndProgram);
        }
    }
}

// On a screen with less room than its designed 820x800 (a 1366x768 laptop,
// a 2560x1600 screen at scale 2, each with a panel), the window fits the
// room and scrolls its content: 学習開始 and 終了 stay reachable, and work.
TEST(FileManagerForm, FitsASmallScreenAndEveryButtonStaysReachable)
{
    for (const TSmallScreen &c : kSmallScreens) {
        SCOPED_TRACE(c.name);
        TManagerEnv env;
        TFileManagerForm form(env.cc);
        form.SetStartMode(true);
        form.show();
        QScrollArea *area = FitIntoRoom(&form, c.room);
        ASSERT_NE(area, nullptr);
        EXPECT_LE(form.height(), c.room.height());
        EXPECT_LE(form.width(), c.room.width());
        EXPECT_TRUE(c.room.contains(form.geometry()));
        for (QWidget *button : {static_cast<QWidget *>(form.sButton_OK), static_cast<QWidget *>(form.sButton_fin)}) {
            area->ensureWidgetVisible(button);
            const QRect shown(button->mapTo(&form, QPoint(0, 0)), button->size());
            EXPECT_TRUE(form.rect().contains(shown)) << button->objectName().toStdString();
            EXPECT_TRUE(button->isVisible());
        }
        // Shown again: the same page, not a second one.
        form.hide();
        form.show();
        EXPECT_EQ(form.findChildren<QScrollArea *>().size(), 1);
        form.sButton_OK->click();
        EXPECT_EQ(form.result(), TFileManagerForm::kStartStudy);
    }
}

// Where the designed size fits, it stays as designed, with nothing to scroll.
TEST(FileManagerForm, KeepsItsDesignedSizeWhereItFits)
{
    TManagerEnv env;
    TFileManagerForm form(env.cc);
    form.show();
    EXPECT_EQ(FitIntoRoom(&form, QRect(0, 0, 1920, 1080)), nullptr);
    EXPECT_EQ(form.size(), QSize(820, 800));
    EXPECT_TRUE(form.findChildren<QScrollArea *>().isEmpty());
}
