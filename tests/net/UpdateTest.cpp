// The data updates against a real HTTP server on 127.0.0.1: revisions,
// new releases, the server catalog, and a table of misbehaving servers that
// must never change the learner's files.
#include "net/UpdateFixture.h"

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
    EXPECT_EQ(next->catalog.rows[6].Version, 101);
    EXPECT_EQ(next->catalog.rows[6].TangoTotal, shippedTT + 1);
    next->SetCurrentFile(QStringLiteral("TT"));
    next->LoadLearningFile();
    EXPECT_EQ(next->words[shippedTT + 1].word, QStringLiteral("resilience"));
}

TEST_F(TUpdateFixture, OnlySwitchedOnFilesAreRevisedAndNewReleasesJoinSwitchedOff)
{
    // TJ is switched off: its revision is left alone. FT is new on the server.
    SetServedRow(served, QStringLiteral("TJ"), 101, 701);
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
    EXPECT_EQ(cc->catalog.rows[7].Version, 100);
    const TDBF &row = cc->catalog.rows[9];
    EXPECT_EQ(row.Code, QStringLiteral("FT"));
    EXPECT_EQ(row.Version, 100);
    EXPECT_EQ(row.Title, QStringLiteral("フランス語 基本単語"));
    EXPECT_FALSE(row.OnOff);
    EXPECT_EQ(row.Order, QStringLiteral("9"));
    EXPECT_TRUE(report.contains(QStringLiteral("merged\tFT\tフランス語 基本単語")));
    EXPECT_FALSE(restartNote);
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
        SetServedRow(served, QStringLiteral("TT"), 101, shippedTT + 1, c.catalogCode);
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
    EXPECT_EQ(cc->catalog.rows[6].Version, 100);
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
