// The training window's answered-but-not-graded moment, steps asked for
// inside a modal window, and the parakeet of a file without speech.
#include "TrainingWindowFixture.h"

#include "speech/SpeechAndSound.h"
#include "base/SlotGuard.h"
#include "files/FileManagerUnit.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTimer>

namespace {
const QString kRecord = QStringLiteral("user/record/Record_TT.dat");
}

// Keys pressed right after an answer, before it is graded, neither ask the
// next question nor switch the word off: the answer is graded first.
TEST_F(TTrainingWindowTest, KeysRightAfterAnAnswerWaitForItsGrading)
{
    const struct {
        const char *what;
        Qt::Key second;
    } cases[] = {{"a second option key", Qt::Key_1}, {"Delete", Qt::Key_Delete}, {"Esc", Qt::Key_Escape}};
    StartToReady();
    for (const auto &c : cases) {
        AskQuestion();
        const int word = flow().currentWord();
        const int before = cc().training.correctToday;
        Key(static_cast<Qt::Key>(Qt::Key_0 + flow().correctPosition()));
        Key(c.second);
        ASSERT_TRUE(WaitForState(TFlowState::Reviewing)) << c.what;
        EXPECT_EQ(flow().currentWord(), word) << c.what;
        EXPECT_TRUE(flow().answerCorrect()) << c.what;
        EXPECT_EQ(cc().training.correctToday, before + 1) << c.what;
        EXPECT_NE(cc().words[word].level, kExcludedLevel) << c.what;
        EXPECT_FALSE(flow().QuitRequested()) << c.what;
    }
}

// Closing the window right after an answer grades it, then saves and ends.
TEST_F(TTrainingWindowTest, ClosingRightAfterAnAnswerGradesItFirst)
{
    StartToReady();
    AskQuestion();
    const int word = flow().currentWord();
    Key(static_cast<Qt::Key>(Qt::Key_0 + flow().correctPosition()));
    form().close();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    const auto saved = ReadBackState(folder);
    EXPECT_EQ(saved->words[word].timesAsked, 1);
    EXPECT_GT(saved->words[word].level, 0);
    EXPECT_EQ(saved->settings.answersTotal, 1);
}

// The window closed while the learning-file manager of the start is open:
// no step runs inside the manager's event loop; the program ends once it
// has closed, without saving anything.
TEST_F(TTrainingWindowTest, ClosingUnderTheStartManagerRunsNoStepInsideIt)
{
    WriteCatalog(folder, FixtureWords().size(), QStringLiteral("ON"));
    bool endedInside = true;
    WhenModalOpens([&](QWidget *modal) {
        form().close();
        RunUntil([] { return false; }, 100);
        endedInside = ended;
        // Esc does nothing in the manager at the start; "学習開始" closes it.
        auto *manager = qobject_cast<TFileManagerForm *>(modal);
        ASSERT_NE(manager, nullptr);
        manager->sButton_OK->click();
    });
    Start();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    EXPECT_FALSE(endedInside);
    EXPECT_FALSE(QFile::exists(folder.file(kRecord)));
}

// A file without speech after a file with the parakeet: it leaves.
TEST_F(TTrainingWindowTest, AFileWithoutSpeechHidesTheParakeet)
{
    StartToReady();
    TSpeechAndSound &media = program->media();
    cc().settings.speechMode = kSpeechWithAgent;
    media.StartAgent();
    if (!media.AgentOnScreen())
        GTEST_SKIP() << "no parakeet on this machine";
    cc().settings.speechMode = kSpeechOff;
    media.StartAgent();
    EXPECT_FALSE(media.AgentOnScreen());
}

// The title and the logo are drawn in the shipped decorative face.
TEST_F(TTrainingWindowTest, TheTitleFaceIsShipped)
{
    Start();
    const QFont title = ui().sLabel_TitleP->font();
    EXPECT_TRUE(QFontDatabase::families().contains(title.family())) << title.family().toStdString();
    EXPECT_FALSE(title.italic());
    // Windows that name the title face get the shipped one as well.
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Papyrus"))).family(), title.family());
}

// An error that reaches a slot of any window while a file is open: its
// message is shown, the program ends, and nothing more is written.
TEST_F(TTrainingWindowTest, AnErrorReachingASlotEndsTheProgramWithItsMessage)
{
    StartToReady();
    const QStringList writesBefore = StateFileWrites();
    QTimer::singleShot(0, &form(), Guarded([] { throw TFatalError(QStringLiteral("User_1.xls: line 4")); }));
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    EXPECT_TRUE(notes.messages.contains(QStringLiteral("User_1.xls: line 4")));
    EXPECT_EQ(StateFileWrites(), writesBefore);
}
