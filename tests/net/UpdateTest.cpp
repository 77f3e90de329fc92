// The data updates against a real HTTP server on 127.0.0.1: revisions,
// new releases, the server catalog, and a table of misbehaving servers that
// must never change the learner's files.
#include "net/UpdateFixture.h"
#include "data/RecordFile.h"

#include <QRegularExpression>

TEST_F(TUpdateFixture, ARevisionIsFetchedAndItsNewRowsAreStudiedAtTheNextStart)
{
    ReviseServedTT();
    THttpDownloadService service(server->address(), limits);
    auto cc = RunUpdates(&service);
    EXPECT_EQ(status, kTtDone);
    EXPECT_TRUE(restartNote);
    EXPECT_EQ(program.read(QStringLiteral("resource/TT_enc.dat")), served.read(QStringLiteral("Programs/TT_enc.dat")));
    EXPECT_FALSE(QFile::exists(program.file(QStringLiteral("resource/uncompleted.dat"))));
    EXPECT_TRUE(server->agents.contains(QStringLiteral("Tessarion-DL")));
    EXPECT_FALSE(server->agents.isEmpty());
    for (const QString &agent : server->agents)
        EXPECT_EQ(agent, QStringLiteral("Tessarion-DL"));

    // The next start reads the new catalog and studies the new word.
    auto next = Engine();
    next->LoadServerCatalog();
    next->LoadCatalog();
    EXPECT_EQ(next->catalog.rows[6].Version, shippedTTVersion + 1);
    EXPECT_EQ(next->catalog.rows[6].TangoTotal, shippedTT + 1);
    next->SetCurrentFile(QStringLiteral("TT"));
    next->LoadLearningFile();
    EXPECT_EQ(next->words[shippedTT + 1].word, QStringLiteral("resilience"));
}

TEST_F(TUpdateFixture, OnlySwitchedOnFilesAreRevisedAndNewReleasesJoinSwitchedOff)
{
    // TJ is switched off: its revision is left alone. FT is new on the server.
    SetServedRow(served, QStringLiteral("TJ"), shippedTJVersion + 1, 701);
    QStringList lines = served.readLines(QStringLiteral("Programs/FileInfo_SITE.dat"));
    const qsizetype ft = lines.indexOf(QStringLiteral("FT"));
    lines[ft + 2] = QStringLiteral("100");
    lines[ft + 4] = QStringLiteral("フランス語 基本単語");
    lines[ft + 6] = QStringLiteral("1200");
    lines[ft + 8] = QStringLiteral("1200");
    served.writeLines(QStringLiteral("Programs/FileInfo_SITE.dat"), lines);
    const QByteArray tj = program.read(QStringLiteral("resource/TJ_enc.dat"));
    THttpDownloadService service(server->address(), limits);
    auto cc = RunUpdates(&service);
    EXPECT_EQ(program.read(QStringLiteral("resource/TJ_enc.dat")), tj);
    EXPECT_EQ(cc->catalog.rows[7].Version, shippedTJVersion);
    const TDBF &row = cc->catalog.rows[9];
    EXPECT_EQ(row.Code, QStringLiteral("FT"));
    EXPECT_EQ(row.Version, 100);
    EXPECT_EQ(row.Title, QStringLiteral("フランス語 基本単語"));
    EXPECT_FALSE(row.OnOff);
    EXPECT_EQ(row.Order, QStringLiteral("9"));
    EXPECT_TRUE(report.contains(QStringLiteral("merged\tFT\tフランス語 基本単語")));
    EXPECT_FALSE(restartNote);
}

// A file listed by an earlier check but never fetched, revised on the server
// since: switching it on in the file manager fetches the revision.
TEST_F(TUpdateFixture, AMissingFileIsFetchedAtTheVersionTheServerNowOffers)
{
    constexpr int kFT = 9;
    const auto serveFT = [this](int version, int words) {
        QStringList lines = served.readLines(QStringLiteral("Programs/FileInfo_SITE.dat"));
        const qsizetype ft = lines.indexOf(QStringLiteral("FT"));
        lines[ft + 2] = QString::number(version);
        lines[ft + 6] = QString::number(words);
        lines[ft + 8] = QString::number(words);
        served.writeLines(QStringLiteral("Programs/FileInfo_SITE.dat"), lines);
        QString text = QStringLiteral("x%1\r\n").arg(version);
        for (int k = 1; k <= words; ++k)
            text += QStringLiteral("%1\tmot%1\r\n").arg(k);
        served.write(QStringLiteral("Programs/FT_enc.dat"), EncodeLearningText(text).toUtf8());
    };
    serveFT(100, 3);
    THttpDownloadService service(server->address(), limits);
    RunUpdates(&service);
    serveFT(101, 4);
    auto cc = RunUpdates(&service);
    ASSERT_EQ(cc->catalog.rows[kFT].Version, 100);
    ASSERT_FALSE(cc->catalog.rows[kFT].OnOff);

    EXPECT_TRUE(TDataUpdater(*cc, &service).DownloadLearningFile(QStringLiteral("FT")))
        << cc->defaultNotifier.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(program.read(QStringLiteral("resource/FT_enc.dat")), served.read(QStringLiteral("Programs/FT_enc.dat")));
    auto next = Engine();
    next->LoadServerCatalog();
    next->LoadCatalog();
    EXPECT_EQ(next->catalog.rows[kFT].Version, 101);
    next->SetCurrentFile(QStringLiteral("FT"));
    next->LoadLearningFile();
    EXPECT_EQ(next->TangoTotal(), 4);
    EXPECT_EQ(next->words[4].word, QStringLiteral("mot4"));
}

TEST_F(TUpdateFixture, WithoutAServerNothingIsFetchedAndNothingChanges)
{
    ReviseServedTT();
    const auto before = Snapshot(program.path());
    auto cc = Engine();
    cc->LoadServerCatalog();
    cc->LoadCatalog();
    TDataUpdater updater(*cc, nullptr);
    EXPECT_FALSE(updater.IsInternetConnected());
    QByteArray body;
    EXPECT_FALSE(updater.DownloadFile(kServerCatalogPath, program.file(QStringLiteral("user/uncompleted.dat")), body));
    EXPECT_EQ(Snapshot(program.path()), before);
    EXPECT_TRUE(cc->defaultNotifier.messages.isEmpty());
}

struct TMisbehaviour {
    const char *name;
    // The bad served catalog code for slot 6, or empty to serve a good
    // catalog announcing the TT revision.
    QString catalogCode;
    TServerFault fault;   // on Programs/TT_enc.dat, or on the catalog when its code is set
    bool messageBox;      // besides the refusal, the learner gets a box
};

class TMisbehavingServer : public TUpdateFixture, public ::testing::WithParamInterface<TMisbehaviour> {};

TEST_P(TMisbehavingServer, LeavesTheLearnersFilesByteForByteAndSaysWhy)
{
    const TMisbehaviour &c = GetParam();
    ReviseServedTT();
    if (!c.catalogCode.isEmpty()) {
        SetServedRow(served, QStringLiteral("TT"), shippedTTVersion + 1, shippedTT + 1, c.catalogCode);
        // Whatever a path formed from the code would reach is served too.
        QDir().mkpath(served.file(QStringLiteral("Programs/TT")));
        served.write(QStringLiteral("Programs/") + c.catalogCode + QStringLiteral("_enc.dat"),
                     served.read(QStringLiteral("Programs/TT_enc.dat")));
    }
    if (c.fault != TServerFault::None)
        server->misbehave(c.catalogCode.isEmpty() ? QStringLiteral("Programs/TT_enc.dat")
                                                  : QStringLiteral("Programs/FileInfo_SITE.dat"),
                          c.fault);
    const auto resourceBefore = Snapshot(program.file(QStringLiteral("resource")));
    const QByteArray siteBefore = program.read(QStringLiteral("user/FileInfo/FileInfo_SITE.dat"));

    THttpDownloadService service(server->address(), limits);
    auto cc = RunUpdates(&service);

    EXPECT_EQ(Snapshot(program.file(QStringLiteral("resource"))), resourceBefore);
    EXPECT_EQ(cc->catalog.rows[6].Version, shippedTTVersion);
    EXPECT_EQ(cc->catalog.rows[6].TangoTotal, shippedTT);
    EXPECT_FALSE(restartNote);
    if (!c.catalogCode.isEmpty()) {
        // The catalog itself was refused: the stored one stays.
        EXPECT_EQ(program.read(QStringLiteral("user/FileInfo/FileInfo_SITE.dat")), siteBefore);
        EXPECT_EQ(status, QString());
    } else {
        EXPECT_EQ(status, kFailed);
    }
    EXPECT_FALSE(QFile::exists(program.file(QStringLiteral("resource/uncompleted.dat"))));
    EXPECT_FALSE(QFile::exists(QStringLiteral("/tmp/x_enc.dat")));
    EXPECT_FALSE(QFile::exists(program.file(QStringLiteral("x_enc.dat"))));
    ASSERT_FALSE(report.filter(QStringLiteral("refused\t")).isEmpty()) << report.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(!cc->defaultNotifier.messages.isEmpty(), c.messageBox) << cc->defaultNotifier.messages.join(QLatin1Char('\n')).toStdString();
    // The boxes are Japanese: no English words, only names of paths and headers.
    static const QRegularExpression englishWord(QStringLiteral("(?<![\\w/._:-])[a-z]{2,}(?![\\w/._:-])"));
    for (const QString &message : cc->defaultNotifier.messages)
        EXPECT_FALSE(englishWord.match(message).hasMatch()) << message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, TMisbehavingServer,
    ::testing::Values(
        TMisbehaviour{"CodeClimbingOut", QStringLiteral("../x"), TServerFault::None, true},
        TMisbehaviour{"CodeThroughASlotCode", QStringLiteral("TT/../../x"), TServerFault::None, true},
        TMisbehaviour{"AbsoluteCode", QStringLiteral("/tmp/x"), TServerFault::None, true},
        TMisbehaviour{"CodeOutsideTheSlotTable", QStringLiteral("ZZ"), TServerFault::None, true},
        TMisbehaviour{"CodeOfAnotherSlot", QStringLiteral("TJ"), TServerFault::None, true},
        TMisbehaviour{"BodyLongerThanLength", {}, TServerFault::LongerThanLength, true},
        TMisbehaviour{"BodyShorterThanLength", {}, TServerFault::ShorterThanLength, true},
        TMisbehaviour{"NoContentLength", {}, TServerFault::NoLength, true},
        TMisbehaviour{"HugeContentLength", {}, TServerFault::HugeLength, true},
        TMisbehaviour{"EndlessBody", {}, TServerFault::EndlessBody, true},
        TMisbehaviour{"StallMidBody", {}, TServerFault::StallMidBody, true},
        TMisbehaviour{"NotFound", {}, TServerFault::NotFound, false},
        TMisbehaviour{"ServerError", {}, TServerFault::ServerError, false},
        TMisbehaviour{"HtmlPageForADataFile", {}, TServerFault::HtmlPage, true},
        TMisbehaviour{"RedirectToAnotherHost", {}, TServerFault::RedirectElsewhere, false}),
    [](const ::testing::TestParamInfo<TMisbehaviour> &info) { return std::string(info.param.name); });

// TT is revised while a file is being studied, by the version window of the
// same session or by another run of the program (the update command): the
// session goes on with the words it loaded, the record saved at its end keeps
// every word's record, a file loaded later takes the revision, and the next
// start studies the new rows.
struct TStudiedFile {
    const char *name;
    QString code;       // the file open while the revision arrives
    bool anotherRun;    // the revision comes from another engine on the same folders
};

class TRevisionWhileStudying : public TUpdateFixture, public ::testing::WithParamInterface<TStudiedFile> {};

TEST_P(TRevisionWhileStudying, TheSessionKeepsItsWordsAndTheNextStartStudiesTheNewRows)
{
    const TStudiedFile &c = GetParam();
    const int slot = FileSlotOfCode(c.code);
    const bool studiesTT = c.code == QStringLiteral("TT");
    ReviseServedTT();
    auto cc = Engine();
    cc->LoadServerCatalog();
    cc->LoadCatalog();
    if (!studiesTT) {
        // The user file comes first; TT stays switched on, so it is revised.
        cc->CreateSampleWorkbook(slot - kLastBuiltInSlot);
        cc->catalog.rows[slot].OnOff = true;
        cc->catalog.rows[slot].Order = QStringLiteral("1");
    }
    cc->MergeServerCatalog();
    cc->BuildFileQueue();
    ASSERT_EQ(cc->OpenNextLearningFile(), TFileOpenResult::Opened);
    ASSERT_EQ(cc->fileCode, c.code);
    const int loaded = cc->TangoTotal();
    ASSERT_TRUE(cc->BeginStudyRun());

    THttpDownloadService service(server->address(), limits);
    if (c.anotherRun) {
        RunUpdates(&service);
    } else {
        TUpdateObserver observer;
        observer.status = [this](const QString &text) { status = text; };
        observer.report = [this](const QString &line) { report.append(line); };
        TDataUpdater(*cc, &service, observer).RunDataUpdates();
        EXPECT_EQ(cc->TangoTotal(), loaded);
        // A second check in the same session has nothing left to fetch.
        report.clear();
        TDataUpdater(*cc, &service, observer).RunDataUpdates();
        EXPECT_TRUE(report.filter(QStringLiteral("TT_enc.dat")).isEmpty()) << report.join(QLatin1Char('\n')).toStdString();
    }
    ASSERT_EQ(status, kTtDone);
    EXPECT_EQ(program.read(QStringLiteral("resource/TT_enc.dat")), served.read(QStringLiteral("Programs/TT_enc.dat")));
    EXPECT_EQ(cc->TangoTotal(), loaded);

    for (int k = 0; k < 60 && cc->AskNextQuestion() == TAskResult::Asked; ++k) {
        for (const int p : cc->question.choices) {
            ASSERT_TRUE(p >= 1 && p <= loaded) << "question " << k << " shows position " << p;
            ASSERT_FALSE(cc->words[p].word.isEmpty()) << "question " << k << " shows position " << p;
        }
        cc->GradeQuestion(k % 3 != 0);
    }
    const QByteArray records = RecordFileBytes(cc->words, loaded);
    cc->EndLearningFile(true);
    // The words' lines, then the line that counts them.
    const QByteArray saved = program.read(QStringLiteral("user/record/Record_") + c.code + QStringLiteral(".dat"));
    EXPECT_EQ(saved.first(qMin(saved.size(), records.size())), records);
    const std::optional<TRecordTrailer> trailer = ParseRecordTrailer(QString::fromUtf8(saved.sliced(qMin(saved.size(), records.size()))).trimmed());
    ASSERT_TRUE(trailer);
    EXPECT_EQ(trailer->lines, loaded);
    if (!studiesTT) {
        // TT, queued after the user file, is loaded with its revision.
        ASSERT_EQ(cc->OpenNextLearningFile(), TFileOpenResult::Opened);
        EXPECT_EQ(cc->TangoTotal(), shippedTT + 1);
        EXPECT_EQ(cc->words[shippedTT + 1].word, QStringLiteral("resilience"));
        cc->EndLearningFile(false);
    }

    auto next = Engine();
    next->LoadServerCatalog();
    next->LoadCatalog();
    next->MergeServerCatalog();
    EXPECT_EQ(next->catalog.rows[6].Version, shippedTTVersion + 1);
    EXPECT_EQ(next->catalog.rows[6].TangoTotal, shippedTT + 1);
    next->BuildFileQueue();
    ASSERT_EQ(next->OpenNextLearningFile(), TFileOpenResult::Opened);
    EXPECT_EQ(RecordFileBytes(next->words, loaded), records);
    if (studiesTT) {
        EXPECT_EQ(next->TangoTotal(), shippedTT + 1);
        EXPECT_EQ(next->words[shippedTT + 1].word, QStringLiteral("resilience"));
        EXPECT_EQ(next->words[shippedTT + 1].timesAsked, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, TRevisionWhileStudying,
                         ::testing::Values(TStudiedFile{"TheRevisedFile", QStringLiteral("TT"), false},
                                           TStudiedFile{"TheRevisedFileFromAnotherRun", QStringLiteral("TT"), true},
                                           TStudiedFile{"AUserFile", QStringLiteral("U1"), false},
                                           TStudiedFile{"AUserFileFromAnotherRun", QStringLiteral("U1"), true}),
                         [](const ::testing::TestParamInfo<TStudiedFile> &info) { return std::string(info.param.name); });
