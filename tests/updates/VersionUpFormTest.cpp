// The version window against a real HTTP server on 127.0.0.1: what it
// shows at the end of each check, what it fetched, and that without a
// server nothing changes.
#include "updates/VersionUpUnit.h"
#include "files/FileManagerUnit.h"
#include "net/UpdateFixture.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace {
const QString kDeclined = QStringLiteral("最新バージョンをダウンロードしませんでした。");
const QString kProgramSaved = QStringLiteral(
    "ダウンロードが完了しました。Tessarion 終了後、再インストールしてください。　\r\n\r\n\r\n"
    "※上書きをしても学習記録は消えませんのでご安心ください");
const QString kOffer = QStringLiteral("現在お使いの Tessarion は最新版ではありません。　\r\n\r\n\r\n最新バージョンをダウンロードしますか？");
const QString kServedPackage = QStringLiteral("Programs/tessarion_amd64.deb");
const QString kRefused = QStringLiteral("ダウンロードしたファイルが正しくないため、使いませんでした。元のファイルはそのままです。");

// An ar archive with the members of a Debian package (the bytes are not a
// real program: only the format and the checksum are checked).
QByteArray DebianPackage(const QByteArray &payload)
{
    QByteArray archive = QByteArrayLiteral("!<arch>\n");
    const auto member = [&](const QByteArray &name, const QByteArray &body) {
        archive += name.leftJustified(16, ' ') + QByteArray("0").leftJustified(12, ' ') + QByteArray("0").leftJustified(6, ' ')
                   + QByteArray("0").leftJustified(6, ' ') + QByteArray("100644").leftJustified(8, ' ')
                   + QByteArray::number(body.size()).leftJustified(10, ' ') + QByteArrayLiteral("`\n") + body;
        if (body.size() % 2)
            archive += '\n';
    };
    member("debian-binary", "2.0\n");
    member("control.tar.xz", "control of " + payload);
    member("data.tar.xz", payload);
    return archive;
}
const QByteArray kPackage = DebianPackage("a newer program");

struct TVersionWindow : TUpdateFixture {
    std::unique_ptr<TCC> cc;
    std::unique_ptr<TVersionUpForm> form;
    QStringList pauses;            // the label's text at each pause
    QStringList offeredFiles;      // the names proposed by the save dialog
    QString saveTo;                // the save dialog's answer

    void Open(bool withServer = true, bool confirmReply = false)
    {
        form.reset();
        cc = Engine();
        cc->defaultNotifier.confirmReply = confirmReply;
        cc->LoadServerCatalog();
        cc->LoadCatalog();
        form = std::make_unique<TVersionUpForm>(*cc);
        const QString address = server->address();
        form->makeService = [this, address, withServer]() -> std::unique_ptr<TDownloadService> {
            if (!withServer)
                return nullptr;
            return std::make_unique<THttpDownloadService>(address, limits);
        };
        form->pause = [this](int ms) { pauses.append(QStringLiteral("%1 %2").arg(ms).arg(form->sLabel1()->text())); };
        form->chooseSaveFile = [this](const QString &proposed) {
            offeredFiles.append(proposed);
            return saveTo;
        };
        form->show();
        // The check starts once the window is painted and ends with OK.
        EXPECT_EQ(form->sLabel1()->text(), QStringLiteral("バージョンをチェックしています。しばらくお待ちください。"));
        EXPECT_FALSE(form->sButton1()->isVisible());
        EXPECT_TRUE(QTest::qWaitFor([&] { return form->sButton1()->isVisible(); }, 20000));
        EXPECT_FALSE(form->sGauge1()->isVisible());
    }

    void OfferNewerProgram()
    {
        QStringList lines = served.readLines(QStringLiteral("Programs/FileInfo_SITE.dat"));
        lines[1] = QString::number(lines[1].toInt() + 1);
        served.writeLines(QStringLiteral("Programs/FileInfo_SITE.dat"), lines);
        // The release is served as the served folder's script serves it.
        TTempProgramFolder release;
        release.write(QStringLiteral("tessarion_9.99_amd64.deb"), kPackage);
        ASSERT_EQ(QProcess::execute(QStringLiteral("bash"),
                                    {SourceDir() + QStringLiteral("/scripts/make_server"), QStringLiteral("--package"),
                                     release.file(QStringLiteral("tessarion_9.99_amd64.deb")),
                                     SourceDir() + QStringLiteral("/resource"), release.file(QStringLiteral("served"))}),
                  0);
        for (const QString &name : {kServedPackage, kServedPackage + QStringLiteral(".sha256")})
            served.write(name, release.read(QStringLiteral("served/") + name));
        ASSERT_EQ(served.read(kServedPackage), kPackage);
    }
};
} // namespace

TEST_F(TVersionWindow, UpToDateSaysSoAndChangesNoLearningFile)
{
    const auto resource = Snapshot(program.file(QStringLiteral("resource")));
    Open();
    EXPECT_EQ(form->sLabel1()->text(), kUpToDateStatus);
    EXPECT_FALSE(form->sLabel_reset()->isVisible());
    EXPECT_EQ(Snapshot(program.file(QStringLiteral("resource"))), resource);
    EXPECT_TRUE(cc->defaultNotifier.messages.isEmpty()) << cc->defaultNotifier.messages.join('\n').toStdString();
    QTest::mouseClick(form->sButton1(), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(TVersionWindow, ARevisionIsFetchedWithTheRestartNoteAndStudiedAtTheNextStart)
{
    ReviseServedTT();
    Open();
    EXPECT_EQ(form->sLabel1()->text(), kTtDone);
    EXPECT_TRUE(form->sLabel_reset()->isVisible());
    EXPECT_TRUE(pauses.isEmpty());   // no program offered: nothing to wait for
    EXPECT_EQ(program.read(QStringLiteral("resource/TT_enc.dat")), served.read(QStringLiteral("Programs/TT_enc.dat")));

    auto next = Engine();
    next->LoadServerCatalog();
    next->LoadCatalog();
    next->SetCurrentFile(QStringLiteral("TT"));
    next->LoadLearningFile();
    EXPECT_EQ(next->TangoTotal(), shippedTT + 1);
    EXPECT_EQ(next->words[shippedTT + 1].word, QStringLiteral("resilience"));
}

TEST_F(TVersionWindow, TheNewerProgramIsOfferedAfterTheRevisionTextWasRead)
{
    struct Case {
        const char *name;
        bool yes;
        bool chooseFile;
        QString finalText;
    };
    const Case cases[] = {
        {"declined", false, false, kDeclined},
        {"save dialog cancelled", true, false, kDeclined},
        {"saved", true, true, kProgramSaved},
    };
    ReviseServedTT();
    OfferNewerProgram();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        pauses.clear();
        offeredFiles.clear();
        QFile::remove(program.file(QStringLiteral("resource/TT_enc.dat")));
        QFile::copy(SourceDir() + QStringLiteral("/resource/TT_enc.dat"), program.file(QStringLiteral("resource/TT_enc.dat")));
        {   // TT back at its shipped version, so that the revision comes again
            auto cc = Engine();
            cc->LoadServerCatalog();
            cc->LoadCatalog();
            cc->catalog.rows[6].Version = shippedTTVersion;
            cc->catalog.rows[6].TangoTotal = shippedTT;
            cc->catalog.rows[6].DBTangoTotal = shippedTT;
            cc->SaveCatalog();
        }
        saveTo = c.chooseFile ? program.file(QStringLiteral("Desktop/tessarion_amd64.deb")) : QString();
        QDir().mkpath(program.file(QStringLiteral("Desktop")));
        if (!saveTo.isEmpty())
            QFile::remove(saveTo);
        Open(true, c.yes);
        // The revision's text stayed on screen for 2222 ms before the question.
        EXPECT_EQ(pauses, QStringList({QStringLiteral("2222 ") + kTtDone}));
        EXPECT_FALSE(form->sLabel_reset()->isVisible());
        EXPECT_TRUE(cc->defaultNotifier.messages.contains(kOffer)) << cc->defaultNotifier.messages.join('\n').toStdString();
        EXPECT_EQ(form->sLabel1()->text(), c.finalText);
        EXPECT_EQ(offeredFiles, c.yes ? QStringList({QStringLiteral("tessarion_amd64.deb")}) : QStringList());
        if (c.chooseFile) {
            EXPECT_EQ(program.read(QStringLiteral("Desktop/tessarion_amd64.deb")), kPackage);
        }
        // The data version stays, so the next check offers the program again.
        EXPECT_LT(cc->catalog.dataVersion, cc->siteCatalog.dataVersion);
    }
}

TEST_F(TVersionWindow, ADownloadThatIsNotTheListedPackageIsRefusedAndChangesNothing)
{
    struct Case {
        const char *name;
        std::function<void(TTempProgramFolder &)> spoil;
        QString named;   // the file the message names
    };
    const QString checksums = kServedPackage + QStringLiteral(".sha256");
    const Case cases[] = {
        {"other bytes than the listed checksum",
         [](TTempProgramFolder &s) { s.write(kServedPackage, DebianPackage("a program someone swapped in")); }, kServedPackage},
        {"not a Debian package, listed as it is",
         [&](TTempProgramFolder &s) {
             const QByteArray page = QByteArrayLiteral("<html>maintenance</html>\n");
             s.write(kServedPackage, page);
             s.write(checksums, QCryptographicHash::hash(page, QCryptographicHash::Sha256).toHex() + "  tessarion_amd64.deb\n");
         },
         kServedPackage},
        {"no checksum listed", [&](TTempProgramFolder &s) { QFile::remove(s.file(checksums)); }, checksums},
        {"checksum listed for another file",
         [&](TTempProgramFolder &s) { s.write(checksums, QByteArray(64, 'a') + "  other.deb\n"); }, checksums},
        {"checksum not SHA-256",
         [&](TTempProgramFolder &s) { s.write(checksums, "1234  tessarion_amd64.deb\n"); }, checksums},
    };
    OfferNewerProgram();
    const QByteArray servedPackage = served.read(kServedPackage);
    const QByteArray servedChecksums = served.read(checksums);
    QDir().mkpath(program.file(QStringLiteral("Desktop")));
    saveTo = program.file(QStringLiteral("Desktop/tessarion_amd64.deb"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        served.write(kServedPackage, servedPackage);
        served.write(checksums, servedChecksums);
        c.spoil(served);
        // A package saved earlier stays as it was.
        program.write(QStringLiteral("Desktop/tessarion_amd64.deb"), "the package saved last week");
        // Only the catalogs the check itself refreshes may be written; a
        // leftover download would show as a new file of the user folder.
        const auto outsideCatalogs = [](QHash<QString, QByteArray> files) {
            files.removeIf([](const auto &entry) {
                return entry.key().startsWith(QStringLiteral("user/FileInfo/"));
            });
            return files;
        };
        const auto before = outsideCatalogs(Snapshot(program.path()));
        Open(true, true);
        EXPECT_EQ(form->sLabel1()->text(), kFailed);
        const QString messages = cc->defaultNotifier.messages.join('\n');
        EXPECT_TRUE(messages.contains(kRefused)) << messages.toStdString();
        EXPECT_TRUE(messages.contains(c.named)) << messages.toStdString();
        const auto after = outsideCatalogs(Snapshot(program.path()));
        EXPECT_EQ(after.keys(), before.keys());
        for (const QString &name : before.keys())
            EXPECT_TRUE(after.value(name) == before.value(name)) << name.toStdString();
    }
}

TEST_F(TVersionWindow, WithoutAServerItSaysNoConnectionAtOnceAndChangesNothing)
{
    ReviseServedTT();
    OfferNewerProgram();
    const auto before = Snapshot(program.path());
    Open(false);
    EXPECT_EQ(form->sLabel1()->text(), kNoConnectionStatus);
    EXPECT_FALSE(form->sLabel_reset()->isVisible());
    EXPECT_EQ(Snapshot(program.path()), before);
    EXPECT_TRUE(cc->defaultNotifier.messages.isEmpty());
}

TEST_F(TVersionWindow, ANewlyReleasedFileJoinsTheFileManagerAndIsFetchedWhenSwitchedOn)
{
    constexpr int kFT = 9;
    const QString title = QStringLiteral("フランス語 基本単語");
    QStringList lines = served.readLines(QStringLiteral("Programs/FileInfo_SITE.dat"));
    const qsizetype ft = lines.indexOf(QStringLiteral("FT"));
    lines[ft + 2] = QStringLiteral("100");
    lines[ft + 4] = title;
    lines[ft + 6] = QStringLiteral("3");
    lines[ft + 8] = QStringLiteral("3");
    served.writeLines(QStringLiteral("Programs/FileInfo_SITE.dat"), lines);
    served.write(QStringLiteral("Programs/FT_enc.dat"),
                 EncodeLearningText(QStringLiteral("x100\r\n1\tbonjour\r\n2\tmerci\r\n3\tchat\r\n")).toUtf8());
    ASSERT_FALSE(QFile::exists(program.file(QStringLiteral("resource/FT_enc.dat"))));

    Open();
    EXPECT_EQ(form->sLabel1()->text(), kUpToDateStatus);
    QTest::mouseClick(form->sButton1(), Qt::LeftButton);

    TFileManagerForm manager(*cc);
    manager.downloadLearningFile = [this](const QString &code) {
        THttpDownloadService service(server->address(), limits);
        return TDataUpdater(*cc, &service).DownloadLearningFile(code);
    };
    manager.show();
    EXPECT_EQ(manager.sSpeedButton[kFT]->text(), title);
    EXPECT_TRUE(manager.sCheckBox[kFT]->isEnabled());
    EXPECT_FALSE(manager.sCheckBox[kFT]->isChecked());
    manager.sCheckBox[kFT]->click();
    EXPECT_TRUE(manager.sCheckBox[kFT]->isChecked());
    EXPECT_EQ(program.read(QStringLiteral("resource/FT_enc.dat")), served.read(QStringLiteral("Programs/FT_enc.dat")));
    EXPECT_TRUE(cc->defaultNotifier.messages.isEmpty()) << cc->defaultNotifier.messages.join('\n').toStdString();
    manager.sButton_OK->click();

    auto next = Engine();
    next->LoadServerCatalog();
    next->LoadCatalog();
    EXPECT_TRUE(next->catalog.rows[kFT].OnOff);
    next->SetCurrentFile(QStringLiteral("FT"));
    next->LoadLearningFile();
    EXPECT_EQ(next->TangoTotal(), 3);
    EXPECT_EQ(next->words[3].word, QStringLiteral("chat"));
}
