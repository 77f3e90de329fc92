// The menu tree: captions and components, which window each item opens, what
// is refused while a question waits, and the reset of the current file's
// records.
#include "TrainingWindowFixture.h"

#include "app/Menus.h"
#include "files/FileManagerUnit.h"
#include "files/UserFilesUnit.h"
#include "help/InfoUnit.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScopeGuard>
#include <QTest>
#include <QTemporaryDir>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

QStringList ItemsOf(const QMenu *menu)
{
    QStringList items;
    for (const QAction *a : menu->actions())
        items.append(a->objectName() + QLatin1Char('=') + (a->isSeparator() ? QStringLiteral("-") : a->text()));
    return items;
}

struct TWindowItem {
    const char *component;
    const char *window;     // object name of the modal window it opens
    const char *helpText;   // the help window's text on show, or nullptr
};

const TWindowItem kWindowItems[] = {
    {"smFileManager", "FileManagerForm", nullptr},
    {"smUserFile", "UserFilesForm", nullptr},
    {"smStatus", "StatusForm", nullptr},
    {"smPreferences", "PreferencesForm", nullptr},
    {"smKey", "InfoForm", "sRichEdit_Operation"},
    {"smTokushuRule", "InfoForm", "sRichEdit_TokushuTyping"},
    {"smJukugoRule", "InfoForm", "sRichEdit_JukugoTyping"},
    {"smFAQ", "InfoForm", "sRichEdit_FAQ"},
    {"smCosmos", "AboutCosmosForm", nullptr},
    {"smWords", "InfoForm", "sRichEdit_TT"},
    {"smTessarion", "AboutTessarionForm", nullptr},
    {"smVersion", "AboutForm", nullptr},
    {"smVersionCheck", "VersionUpForm", nullptr},
};

// Notes every dialog that shows and closes it again.
class TShownDialogs : public QObject {
public:
    QStringList names;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *dialog = qobject_cast<QDialog *>(watched);
        if (dialog && event->type() == QEvent::Show && dialog->isWindow()) {
            names.append(dialog->objectName());
            // Some windows refuse to close until their work has ended (the
            // version check): asked again until they go.
            auto *closer = new QTimer(dialog);
            closer->setInterval(10);
            QObject::connect(closer, &QTimer::timeout, dialog, [dialog, closer] {
                if (dialog->isVisible())
                    dialog->reject();
                else
                    closer->deleteLater();
            });
            closer->start();
        }
        return false;
    }
};

class TMenusTest : public TTrainingWindowTest {
protected:
    QAction *Item(const char *component)
    {
        return form().findChild<QAction *>(QString::fromLatin1(component));
    }

    // Triggers an item and tells which window opened (closed at once).
    QString OpenedBy(QAction *item)
    {
        TShownDialogs shown;
        qApp->installEventFilter(&shown);
        item->trigger();
        QCoreApplication::processEvents();
        qApp->removeEventFilter(&shown);
        return shown.names.join(QLatin1Char(','));
    }

    // The answers the two confirmations of the reset get, in order.
    void AnswerConfirmations(QList<bool> answers)
    {
        asked.clear();
        form().menus().confirmOkCancel = [this, answers](const QString &text) mutable {
            asked.append(text);
            return answers.isEmpty() ? false : answers.takeFirst();
        };
    }

    QStringList ResetCopies() const
    {
        QDir records(folder.path() + QStringLiteral("user/record"));
        return records.entryList({QStringLiteral("Record_TT.dat.before-reset-*")}, QDir::Files);
    }

    QStringList asked;
};

}   // namespace

TEST_F(TMenusTest, TheTreeHasItsCaptionsAndComponents)
{
    StartToReady();
    const QMenuBar *bar = form().menuBar();
    EXPECT_EQ(bar->objectName(), QStringLiteral("MainMenu1"));
    QStringList top;
    for (const QAction *a : bar->actions())
        top.append(a->menu()->objectName() + QLatin1Char('=') + a->text());
    EXPECT_EQ(top, QStringList({QStringLiteral("mmFile= ファイル"), QStringLiteral("mmPreferences=設定"),
                                QStringLiteral("mmInformation=情報")}));
    EXPECT_EQ(ItemsOf(ui().mmFile),
              QStringList({QStringLiteral("smFileManager=学習ファイルの管理"), QStringLiteral("smUserFile=記録ファイルの管理"),
                           QStringLiteral("N1=-"), QStringLiteral("smReset=このファイルの学習記録を初期化"),
                           QStringLiteral("smStatus=このファイルの学習進捗状況"), QStringLiteral("smFileExit=このファイルを終了"),
                           QStringLiteral("N2=-"), QStringLiteral("smFileAllExit=全終了")}));
    EXPECT_EQ(ItemsOf(ui().mmPreferences),
              QStringList({QStringLiteral("=スキン"), QStringLiteral("=タイプ音"), QStringLiteral("smPreferences=その他")}));
    EXPECT_EQ(ui().mmPreferences->actions()[0]->menu()->objectName(), QStringLiteral("smSkin"));
    EXPECT_EQ(ui().mmPreferences->actions()[1]->menu()->objectName(), QStringLiteral("smTypingSound"));
    EXPECT_EQ(ItemsOf(ui().mmInformation),
              QStringList({QStringLiteral("smKey=キー操作"), QStringLiteral("smTokushuRule=記号付き文字の入力規則"),
                           QStringLiteral("smJukugoRule=熟語版の入力規則"), QStringLiteral("smFAQ=FAQ"),
                           QStringLiteral("smCosmos=Cosmos"), QStringLiteral("smWords=収録語彙"),
                           QStringLiteral("smTessarion=Tessarion について"), QStringLiteral("smVersion=バージョン情報"),
                           QStringLiteral("smVersionCheck=最新バージョンの確認")}));
    EXPECT_EQ(ItemsOf(form().menus().smSkin),
              QStringList({QStringLiteral("smAthena=Athena"), QStringLiteral("smTritogeneia=Tritogeneia"),
                           QStringLiteral("smZeus=Zeus"), QStringLiteral("smMetis=Metis"),
                           QStringLiteral("smHephaestus=Hephaestus"), QStringLiteral("smNike=Nike"),
                           QStringLiteral("smAegean=Aegean"), QStringLiteral("smOlive=Olive"),
                           QStringLiteral("smEos=Eos, rosy-fingered [random color]")}));
    EXPECT_EQ(ItemsOf(form().menus().smTypingSound),
              QStringList({QStringLiteral("smHelicon=Helicon"), QStringLiteral("smHelicon2=Helicon+"),
                           QStringLiteral("smPelion=Pelion"), QStringLiteral("smOlympus=Olympus"),
                           QStringLiteral("smOlympus2=Olympus+"), QStringLiteral("smEtna=Etna"),
                           QStringLiteral("smCithaeron=Cithaeron"), QStringLiteral("smParnassos=Parnassos"),
                           QStringLiteral("smKalliope=Kalliope"), QStringLiteral("smHit1=Hit 1"),
                           QStringLiteral("smHit2=Hit 2"), QStringLiteral("smHit3=Hit 3"), QStringLiteral("smHit4=Hit 4"),
                           QStringLiteral("smHit5=Hit 5"), QStringLiteral("smHit6=Hit 6"),
                           QStringLiteral("smHit7=Hit 7")}));
    // A file is ready: the three menus show; the TJ rule is for TJ only, the
    // word list for built-in files only.
    EXPECT_TRUE(ui().mmFile->menuAction()->isVisible());
    EXPECT_TRUE(ui().mmInformation->menuAction()->isVisible());
    EXPECT_FALSE(Item("smJukugoRule")->isVisible());
    EXPECT_TRUE(Item("smWords")->isVisible());
}

TEST_F(TMenusTest, EachWindowItemOpensItsWindowAndNoneOpensWhileAQuestionWaits)
{
    StartToReady();
    for (const TWindowItem &entry : kWindowItems) {
        SCOPED_TRACE(entry.component);
        QAction *item = Item(entry.component);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(OpenedBy(item), QString::fromLatin1(entry.window));
        if (entry.helpText) {
            ASSERT_NE(program->infoForm().ShownText(), nullptr);
            EXPECT_EQ(program->infoForm().ShownText()->objectName(), QString::fromLatin1(entry.helpText));
        }
        EXPECT_EQ(flow().State(), TFlowState::Ready);
    }

    AskQuestion();
    for (const TWindowItem &entry : kWindowItems) {
        SCOPED_TRACE(entry.component);
        EXPECT_EQ(OpenedBy(Item(entry.component)), QString());
        EXPECT_TRUE(flow().IsAsking());
    }
    // Nor does the reset ask anything.
    AnswerConfirmations({true, true});
    Item("smReset")->trigger();
    EXPECT_TRUE(asked.isEmpty());

    // Once answered, the windows open again.
    AnswerCorrectly();
    EXPECT_EQ(OpenedBy(Item("smVersion")), QStringLiteral("AboutForm"));
}

TEST_F(TMenusTest, TheResetNeedsBothConfirmationsAndKeepsADatedCopyFirst)
{
    StartToReady();
    AskQuestion();
    AnswerCorrectly();
    const int word = flow().currentWord();
    ASSERT_GT(cc().words[word].level, 0);
    cc().SaveRecordFile();
    const QByteArray before = folder.read(QStringLiteral("user/record/Record_TT.dat"));

    struct TCase {
        QList<bool> answers;
        int questions;   // confirmations asked
        bool reset;
    };
    const TCase cases[] = {{{false}, 1, false}, {{true, false}, 2, false}, {{true, true}, 2, true}};
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.answers.size());
        AnswerConfirmations(c.answers);
        Item("smReset")->trigger();
        ASSERT_EQ(asked.size(), c.questions);
        EXPECT_EQ(asked[0], QStringLiteral("この学習ファイルの学習記録をすべて消去します。よろしいですか？"));
        if (c.questions > 1) {
            EXPECT_EQ(asked[1], QStringLiteral("本当によろしいですか？"));
        }
        EXPECT_EQ(cc().words[word].level == 0, c.reset);
        EXPECT_EQ(ResetCopies().size(), c.reset ? 1 : 0);
    }
    // The copy holds the records as they were; the file itself starts afresh.
    const QStringList copies = ResetCopies();
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(folder.read(QStringLiteral("user/record/") + copies[0]), before);
    EXPECT_NE(folder.read(QStringLiteral("user/record/Record_TT.dat")), before);
    const auto readBack = ReadBackState(folder);
    EXPECT_EQ(readBack->words[word].level, 0);
}

// Each top-level menu opens with every item showing; the window with the
// menu under its title is grabbed into the build folder
// (menu_<name>.png) to look at.
TEST_F(TMenusTest, EachTopLevelMenuOpensWithEveryItemShowing)
{
    StartToReady();
    AskQuestion();
    AnswerCorrectly();
    QMenuBar *bar = form().menuBar();
    for (QMenu *menu : {ui().mmFile, ui().mmPreferences, ui().mmInformation}) {
        SCOPED_TRACE(menu->objectName().toStdString());
        const QRect title = bar->actionGeometry(menu->menuAction());
        ASSERT_FALSE(title.isEmpty());
        menu->popup(bar->mapToGlobal(title.bottomLeft()));
        ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); }));
        const auto everyItemShows = [&] {
            for (QAction *a : menu->actions()) {
                if (a->isVisible() && menu->actionGeometry(a).isEmpty())
                    return false;
            }
            return true;
        };
        EXPECT_TRUE(WaitFor(everyItemShows));
        for (QAction *a : menu->actions()) {
            if (a->isVisible()) {
                EXPECT_FALSE(menu->actionGeometry(a).isEmpty()) << a->objectName().toStdString();
            }
        }
        QImage shot = form().grab().toImage();
        QPainter painter(&shot);
        painter.drawPixmap(bar->mapTo(&form(), title.bottomLeft()), menu->grab());
        painter.end();
        EXPECT_TRUE(shot.save(QStringLiteral(TESSARION_BINARY_DIR "/menu_%1.png").arg(menu->objectName())));
        menu->hide();
    }
}

// The file manager's download from a configuration file without a usable
// server address: the message names the file, and nothing is fetched.
TEST_F(TMenusTest, TheManagersDownloadNamesAnUnusableServerAddress)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const auto restore = qScopeGuard([] { qunsetenv("XDG_CONFIG_HOME"); });
    folder.writeLines(QStringLiteral("ServerAddress.dat"), {QStringLiteral("ftp://example.invalid/")});
    StartToReady();
    EXPECT_FALSE(program->fileManagerForm().downloadLearningFile(QStringLiteral("FT")));
    const QString all = notes.messages.join(QLatin1Char('\n'));
    EXPECT_TRUE(all.contains(QStringLiteral("ftp://example.invalid/"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("ServerAddress.dat"))) << all.toStdString();
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("resource/FT_enc.dat"))));
}

// The keyboard opens the menus (Alt+F, Alt+S, Alt+I, F10) with their captions
// unchanged, and not while they are hidden under the title cover.
TEST_F(TMenusTest, TheKeyboardOpensEachMenu)
{
    Start();
    QApplication::setActiveWindow(&form());
    QMenuBar *bar = form().menuBar();
    ASSERT_FALSE(ui().mmFile->menuAction()->isVisible());
    QTest::keyClick(&form(), Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(bar->activeAction(), nullptr);   // under the title cover
    ASSERT_TRUE(WaitForState(TFlowState::Ready));

    const struct {
        QMenu *menu;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {
        {ui().mmFile, Qt::Key_F, Qt::AltModifier},
        {ui().mmPreferences, Qt::Key_S, Qt::AltModifier},
        {ui().mmInformation, Qt::Key_I, Qt::AltModifier},
        {ui().mmFile, Qt::Key_F10, Qt::NoModifier},
    };
    for (const auto &k : keys) {
        SCOPED_TRACE(k.menu->objectName().toStdString());
        QApplication::setActiveWindow(&form());   // the learner's window, not the agent's
        QTest::keyClick(&form(), k.key, k.modifiers);
        EXPECT_EQ(bar->activeAction(), k.menu->menuAction());
        EXPECT_TRUE(WaitFor([&] { return k.menu->isVisible(); }));
        k.menu->hide();
        bar->setActiveAction(nullptr);
    }
    EXPECT_EQ(ui().mmFile->title(), QStringLiteral(" ファイル"));
}
