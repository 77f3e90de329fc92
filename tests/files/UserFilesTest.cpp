// The record window: an export asks before it writes and before it replaces
// a copy; an import asks twice, takes only a record folder, keeps the
// current folder as a backup and ends the program.
#include "app/TrainingWindowFixture.h"
#include "engine/CommonUnit.h"
#include "files/UserFilesUnit.h"
#include "support/EngineFolder.h"
#include "workspace/CatalogFixture.h"
#include "workspace/RecordFolderTransfer.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {
// Answers confirmations from a list (Yes when it runs out) and keeps every text.
class TScriptedNotifier : public TNotifier {
public:
    void Information(const QString &text) override { messages.append(text); }
    void Error(const QString &text) override { messages.append(text); }
    bool Confirm(const QString &text) override
    {
        messages.append(text);
        return replies.isEmpty() ? true : replies.takeFirst();
    }
    QStringList messages;
    QList<bool> replies;
};

// A record of TT's two words, the first one named.
QByteArray Record(const char *first)
{
    QByteArray bytes = "\xEF\xBB\xBF";
    for (const char *word : {first, "records"})
        bytes += QByteArray(word) + "\t1\t\t0\t\t0\t0\t0\t0\t0\t0\t\t5\t6\tFALSE\r\n";
    return bytes;
}

void MakeRecordFolder(const TTempProgramFolder &dir, const QString &name, const QByteArray &record)
{
    std::map<int, TSiteRow> rows = UsualSiteRows();
    rows[6].tangoTotal = 2;
    rows[6].dbTangoTotal = 2;
    dir.writeLines(name + QStringLiteral("/FileInfo/FileInfo_PC.dat"), PcCatalogLines(805, rows));
    dir.write(name + QStringLiteral("/record/Record_TT.dat"), record);
}

const QString kExportQuestion = QStringLiteral("%1 へ記録ファイルを書き出します。　");
const QString kOverwriteQuestion = QStringLiteral("同名のフォルダが存在します。上書きしますか？　");
const QString kImportQuestion = QStringLiteral(
    "記録ファイルを読み込みます\r\n\r\n※すべての学習ファイルの学習記録が上書きされます　\r\n※ユーザー作成の学習ファイルも上書きされます");
const QString kLossQuestion = QStringLiteral("現在の学習記録が失われますが、よろしいですか？");
}

TEST(UserFilesForm, ExportAsksBeforeWritingAndBeforeReplacing)
{
    TEngineFolder env;
    MakeRecordFolder(env.dir, QStringLiteral("user"), "first");
    TScriptedNotifier notes;
    env.cc.notifier = &notes;
    TUserFilesForm form(env.cc);
    const QTemporaryDir place;
    QStringList captions;
    form.chooseFolder = [&](const QString &caption) {
        captions.append(caption);
        return place.path();
    };
    int saves = 0;
    form.saveCurrentFile = [&] { ++saves; };
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral(" 記録ファイルの管理"));
    EXPECT_EQ(form.sEdit_path->text(), QDir::toNativeSeparators(env.cc.userFolder));
    EXPECT_TRUE(form.sEdit_path->isReadOnly());

    const QString question = kExportQuestion.arg(QDir::toNativeSeparators(place.path() + u'/'));
    notes.replies = {false};
    form.sButton_export->click();   // No: nothing written, nothing saved
    EXPECT_EQ(notes.messages, QStringList{question});
    EXPECT_EQ(saves, 0);
    EXPECT_FALSE(QFileInfo::exists(place.path() + QStringLiteral("/user")));

    notes.messages.clear();
    form.sButton_export->click();
    EXPECT_EQ(notes.messages, (QStringList{question, kExportDoneText}));
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(QFile(place.path() + QStringLiteral("/user/record/Record_TT.dat")).size(), 5);

    // Again: the copy there is replaced only when the learner says so.
    env.dir.write(QStringLiteral("user/record/Record_TT.dat"), "second");
    notes.messages.clear();
    notes.replies = {true, false};
    form.sButton_export->click();
    EXPECT_EQ(notes.messages, (QStringList{question, kOverwriteQuestion}));
    EXPECT_EQ(QFile(place.path() + QStringLiteral("/user/record/Record_TT.dat")).size(), 5);
    EXPECT_EQ(captions, QStringList(3, QStringLiteral("場所を指定してください")));

    // The user folder itself is ignored without a word; its inside is refused.
    notes.messages.clear();
    form.chooseFolder = [&](const QString &) { return env.cc.userFolder; };
    form.sButton_export->click();
    form.chooseFolder = [&](const QString &) { return env.cc.userFolder + QStringLiteral("record"); };
    form.sButton_export->click();
    EXPECT_EQ(notes.messages, QStringList{kExportIntoRecordFolderText});
    form.sButton_OK->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.QuitAfterClose());
}

TEST(UserFilesForm, ImportAsksTwiceTakesOnlyARecordFolderAndEndsTheProgram)
{
    TEngineFolder env;
    MakeRecordFolder(env.dir, QStringLiteral("user"), Record("current"));
    MakeRecordFolder(env.dir, QStringLiteral("saved/user"), Record("saved"));
    env.dir.write(QStringLiteral("plain/notes.txt"), "x");
    TScriptedNotifier notes;
    env.cc.notifier = &notes;
    TUserFilesForm form(env.cc);
    QString chosen = env.dir.file(QStringLiteral("plain"));
    QStringList captions;
    form.chooseFolder = [&](const QString &caption) {
        captions.append(caption);
        return chosen;
    };
    form.show();

    notes.replies = {true, false};
    form.sButton_importClick();
    EXPECT_EQ(notes.messages, (QStringList{kImportQuestion, kLossQuestion}));
    EXPECT_TRUE(captions.isEmpty());

    notes.messages.clear();
    form.sButton_importClick();
    EXPECT_EQ(notes.messages, (QStringList{kImportQuestion, kLossQuestion, kNotRecordFolderText}));
    EXPECT_EQ(captions, QStringList{QStringLiteral("フォルダ（user）を指定してください")});
    EXPECT_EQ(env.dir.read(QStringLiteral("user/record/Record_TT.dat")), Record("current"));
    EXPECT_TRUE(form.isVisible());

    notes.messages.clear();
    chosen = env.dir.file(QStringLiteral("saved/user"));
    form.sButton_importClick();
    EXPECT_EQ(notes.messages, (QStringList{kImportQuestion, kLossQuestion, kImportDoneText, kRestartText}));
    EXPECT_EQ(env.dir.read(QStringLiteral("user/record/Record_TT.dat")), Record("saved"));
    const QStringList kept = QDir(env.dir.path()).entryList({QStringLiteral("user-before-import-*")}, QDir::Dirs);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(env.dir.read(kept.first() + QStringLiteral("/record/Record_TT.dat")), Record("current"));
    EXPECT_TRUE(form.QuitAfterClose());
    EXPECT_FALSE(form.isVisible());
}

// From the menu of a running program: today's answers go into the kept
// folder, and the program ends without writing into the imported one.
TEST_F(TTrainingWindowTest, AnImportFromTheMenuEndsTheProgramWithoutWritingAnyMore)
{
    MakeRecordFolder(folder, QStringLiteral("saved"), Record("saved"));
    StartToReady();
    AskQuestion();
    AnswerCorrectly();
    ASSERT_TRUE(WaitFor([&] { return !flow().IsAsking(); }));
    notes.confirmReply = true;
    program->userFilesForm().chooseFolder = [&](const QString &) { return folder.file(QStringLiteral("saved")); };
    const int writesBefore = static_cast<int>(StateFileWrites().size());
    WhenModalOpens([](QWidget *w) {
        auto *records = qobject_cast<TUserFilesForm *>(w);
        ASSERT_NE(records, nullptr);
        records->sButton_import->click();
    });
    ui().smUserFile->trigger();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    EXPECT_TRUE(notes.messages.contains(kRestartText));
    EXPECT_EQ(folder.read(QStringLiteral("user/record/Record_TT.dat")), Record("saved"));
    // The folder saves go into is there, and nothing was saved into it.
    EXPECT_TRUE(QFileInfo(folder.file(QStringLiteral("user/setting"))).isDir());
    EXPECT_TRUE(QDir(folder.file(QStringLiteral("user/setting"))).isEmpty());
    // Into the user folder, only the save of today's state came after the
    // import began (the rest went into the copy beside it).
    QStringList after;
    for (const QString &path : StateFileWrites().mid(writesBefore))
        if (path.startsWith(QStringLiteral("user/")))
            after.append(path);
    EXPECT_EQ(after, (QStringList{QStringLiteral("user/setting/Setting_TT.dat"), QStringLiteral("user/setting/FormPosition.dat"),
                                  QStringLiteral("user/record/Record_TT.dat")}));
    const QStringList kept = QDir(folder.path()).entryList({QStringLiteral("user-before-import-*")}, QDir::Dirs);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(folder.read(kept.first() + QStringLiteral("/record/Record_TT.dat")).contains("\t0["));   // the answer given today
}
