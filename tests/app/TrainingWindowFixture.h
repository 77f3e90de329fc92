#pragma once
// The training window on a temporary program folder: a small learning file,
// a catalog that queues it, and the window driven by key events on the
// offscreen platform. Message boxes are collected instead of shown, the
// answer gauge steps every millisecond, the shutdown does not wait, and the
// application's end is only noted.
#include "app/MainUnit.h"
#include "app/MainWindowParts.h"
#include "app/Program.h"
#include "app/TrainingFlow.h"
#include "data/LearningFile.h"
#include "engine/CommonUnit.h"
#include "drill/QR.h"
#include "progress/StatusUnit.h"
#include "support/TestSupport.h"
#include <gtest/gtest.h>
#include "base/TextFiles.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>
#include <memory>

inline constexpr int kTtSlot = 6;

struct TFixtureWord {
    QString word;
    QString meaning;
};

// Ten plain English words with distinct meanings.
inline QList<TFixtureWord> FixtureWords()
{
    return {{QStringLiteral("apple"), QStringLiteral("りんご")},   {QStringLiteral("river"), QStringLiteral("川")},
            {QStringLiteral("mountain"), QStringLiteral("山")},    {QStringLiteral("window"), QStringLiteral("窓")},
            {QStringLiteral("letter"), QStringLiteral("手紙")},     {QStringLiteral("garden"), QStringLiteral("庭")},
            {QStringLiteral("kitchen"), QStringLiteral("台所")},    {QStringLiteral("bridge"), QStringLiteral("橋")},
            {QStringLiteral("station"), QStringLiteral("駅")},     {QStringLiteral("island"), QStringLiteral("島")}};
}

// resource/TT_enc.dat with the given words, numbered 1.. in order.
inline void WriteLearningFile(const TTempProgramFolder &folder, const QList<TFixtureWord> &words,
                              const QString &code = QStringLiteral("TT"))
{
    // The related-words table every start loads: the shipped one.
    QFile quotes(SourceDir() + QStringLiteral("/resource/ENG_Quote_enc.dat"));
    if (quotes.open(QIODevice::ReadOnly))
        folder.write(QStringLiteral("resource/ENG_Quote_enc.dat"), quotes.readAll());
    // And the etymology data the etymology page draws from.
    QFile etymology(SourceDir() + QStringLiteral("/resource/Etymology_enc.dat"));
    if (etymology.open(QIODevice::ReadOnly))
        folder.write(QStringLiteral("resource/Etymology_enc.dat"), etymology.readAll());
    QString text = QStringLiteral("v305\r\n");
    int n = 0;
    for (const TFixtureWord &w : words)
        text += QStringLiteral("%1\t%2\t\t\t%3\r\n").arg(++n).arg(w.word, w.meaning);
    text += QStringLiteral("end\r\n");
    folder.write(QStringLiteral("resource/%1_enc.dat").arg(code), EncodeLearningText(text).toUtf8());
}

struct TQueuedFile {
    int slot;
    QString code;
    QString title;
    int wordCount;
};

// The catalog of a program that has started before: the given files on, in
// the given order, the learning-file manager not shown at start.
inline void WriteCatalog(const TTempProgramFolder &folder, const QList<TQueuedFile> &files,
                         const QString &fileManager = QStringLiteral("OFF"))
{
    TCC cc;
    cc.programFolder = folder.path();
    cc.userFolder = cc.FindUserFolder();
    cc.EnsureUserFolders();
    QFile::remove(cc.userFolder + QStringLiteral("FileInfo/FileInfo_PC.dat"));
    cc.siteCatalog.dataVersion = 201;
    for (const TQueuedFile &f : files) {
        TDBF &site = cc.siteCatalog.rows[static_cast<size_t>(f.slot)];
        site.Code = f.code;
        site.Version = 305;
        site.Title = f.title;
        site.TangoTotal = f.wordCount;
        site.DBTangoTotal = f.wordCount;
    }
    cc.LoadCatalog();
    int order = 0;
    for (const TQueuedFile &f : files) {
        cc.catalog.rows[static_cast<size_t>(f.slot)].OnOff = true;
        cc.catalog.rows[static_cast<size_t>(f.slot)].Order = QString::number(++order);
    }
    cc.catalog.fileManager = SwitchFromText(fileManager);
    cc.SaveCatalog();
}

inline void WriteCatalog(const TTempProgramFolder &folder, int wordCount, const QString &fileManager = QStringLiteral("OFF"))
{
    WriteCatalog(folder, {{kTtSlot, QStringLiteral("TT"), QStringLiteral("テスト単語"), wordCount}}, fileManager);
}

// The saved state of the program folder read back as the program reads it
// at its next start: catalog, settings and the TT file with its records.
inline std::unique_ptr<TCC> ReadBackState(const TTempProgramFolder &folder, const QString &code = QStringLiteral("TT"))
{
    auto cc = std::make_unique<TCC>();
    cc->programFolder = folder.path();
    cc->userFolder = cc->FindUserFolder();
    cc->LoadCatalog();
    cc->SetCurrentFile(code);
    cc->LoadFileSettings();
    cc->LoadLearningFile();
    return cc;
}

// Runs the event loop until the condition holds (false after the time-out).
inline bool RunUntil(const std::function<bool()> &condition, int timeoutMs = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// The status window opens modally at a file's end; these tests close it at
// once and count how often it opened.
class TCloseOnShow : public QObject {
public:
    explicit TCloseOnShow(QDialog &dialog) : m_dialog(dialog) { dialog.installEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            ++shown;
            QTimer::singleShot(0, &m_dialog, [this] { m_dialog.reject(); });
        }
        return false;
    }

private:
    QDialog &m_dialog;
};

class TTrainingWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteLearningFile(folder, FixtureWords());
        WriteCatalog(folder, FixtureWords().size());
    }

    void TearDown() override
    {
        modalPoll.reset();
        statusCloser.reset();
        drillCloser.reset();
        program.reset();
        SetStateWriteObserver({});
    }

    // Creates the windows; the first idle step follows in the event loop.
    void Start()
    {
        SetStateWriteObserver([this](const QString &path) { writes.append(path.mid(folder.path().size())); });
        program = std::make_unique<TProgram>(folder.path());
        program->beforeMainFormCreate = [this](TProgram &p) {
            p.cc().notifier = &notes;
            p.cc().random.Seed(11);
            p.cc().clock.FixToday(QDate(2024, 4, 1));
            TTrainingFlow &f = p.mainForm().flow();
            f.SetGaugeStepDuration(std::chrono::milliseconds(1));
            f.SetShutdownWaitScale(0.0);
            f.SetApplicationEnd([this] { ended = true; });
        };
        program->ExecuteMainProgram();
        statusCloser = std::make_unique<TCloseOnShow>(program->statusForm());
        drillCloser = std::make_unique<TCloseOnShow>(program->qrForm());
    }

    TMainForm &form() { return program->mainForm(); }
    // The window's controls, found by their names.
    TMainWindowParts ui() { return MainWindowParts(form()); }
    TTrainingFlow &flow() { return form().flow(); }
    TCC &cc() { return program->cc(); }

    static bool WaitFor(const std::function<bool()> &condition) { return RunUntil(condition); }

    bool WaitForState(TFlowState state) { return WaitFor([&] { return flow().State() == state; }); }

    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget *target = QApplication::focusWidget();
        if (!target || target->window() != &form())
            target = ui().sButton_focus;
        QTest::keyClick(target, key, mods);
    }

    // Starts the program and waits for the start screen.
    void StartToReady()
    {
        Start();
        ASSERT_TRUE(WaitForState(TFlowState::Ready));
    }

    // Asks the next question and waits until its gauge runs.
    void AskQuestion()
    {
        Key(Qt::Key_F);
        ASSERT_TRUE(WaitFor([&] { return flow().State() == TFlowState::Asking && flow().IsAsking() && !flow().StepPosted(); }));
    }

    void AnswerCorrectly()
    {
        Key(static_cast<Qt::Key>(Qt::Key_0 + flow().correctPosition()));
        ASSERT_TRUE(WaitForState(TFlowState::Reviewing));
    }

    QStringList StateFileWrites() const { return writes; }

    // TT and then DT (the last seven fixture words) in the day's queue.
    void QueueTtAndDt()
    {
        constexpr int kDtSlot = 27;
        WriteLearningFile(folder, FixtureWords().mid(3), QStringLiteral("DT"));
        WriteCatalog(folder, {{kTtSlot, QStringLiteral("TT"), QStringLiteral("テスト単語"), 10},
                              {kDtSlot, QStringLiteral("DT"), QStringLiteral("入試単語"), 7}});
    }

    bool WaitForReadyOn(const QString &code)
    {
        return WaitFor([&] { return flow().State() == TFlowState::Ready && cc().fileCode == code; });
    }

    // Acts on the next modal window as soon as it is open (the dialog's own
    // event loop runs meanwhile); the action closes it.
    void WhenModalOpens(std::function<void(QWidget *)> action)
    {
        modalPoll = std::make_unique<QTimer>();
        modalPoll->setInterval(5);
        QObject::connect(modalPoll.get(), &QTimer::timeout, [this, action] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                modalPoll->stop();
                action(modal);
            }
        });
        modalPoll->start();
    }

    TTempProgramFolder folder;
    TCollectingNotifier notes;
    std::unique_ptr<TProgram> program;
    bool ended = false;
    QStringList writes;
    std::unique_ptr<QTimer> modalPoll;
    std::unique_ptr<TCloseOnShow> statusCloser;
    std::unique_ptr<TCloseOnShow> drillCloser;
};

