#pragma once
// The data updates against a real HTTP server on 127.0.0.1: a served folder
// made from resource/ by scripts/make_server, a program folder with the
// shipped learning files after a first start, and a revision of TT to serve.
#include "data/LearningFile.h"
#include "engine/CommonUnit.h"
#include "engine/DataUpdates.h"
#include "net/HttpDownloadService.h"
#include "net/TestHttpServer.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <memory>

inline const QString kFailed = QStringLiteral("ダウンロードに失敗しました。");
inline const QString kTtDone = QStringLiteral("「TOEIC 英単語」 の学習ファイルのアップデートが完了しました。");
// The word a revision of TT adds after the shipped rows.
inline const QString kNewWordFields = QStringLiteral("\tresilience\tr[i][z][i!][l][j][E]ns\t\t回復力\n");

// Every file below a folder with its bytes.
inline QHash<QString, QByteArray> Snapshot(const QString &folder)
{
    QHash<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        files.insert(path.mid(folder.size()), file.readAll());
    }
    return files;
}

// Replaces `from` by `to` in the lines of the served catalog's row of a code.
inline void SetServedRow(const TTempProgramFolder &served, const QString &code, int version, int tangoTotal,
                  const QString &newCode = QString())
{
    QStringList lines = served.readLines(QStringLiteral("Programs/FileInfo_SITE.dat"));
    const qsizetype at = lines.indexOf(code);
    lines[at] = newCode.isEmpty() ? code : newCode;
    lines[at + 2] = QString::number(version);
    lines[at + 6] = QString::number(tangoTotal);
    lines[at + 8] = QString::number(tangoTotal);
    served.writeLines(QStringLiteral("Programs/FileInfo_SITE.dat"), lines);
}

struct TUpdateFixture : ::testing::Test {
    TTempProgramFolder served;
    TTempProgramFolder program;
    std::unique_ptr<TTestHttpServer> server;
    TDownloadLimits limits;
    QString status;
    QStringList report;
    bool restartNote = false;
    int shippedTT = 0;          // TangoTotal of the shipped TT
    int shippedTTVersion = 0;   // the shipped TT's version; a revision has a higher one
    int shippedTJVersion = 0;

    void SetUp() override
    {
        ASSERT_EQ(QProcess::execute(QStringLiteral("bash"), {SourceDir() + QStringLiteral("/scripts/make_server"),
                                                             SourceDir() + QStringLiteral("/resource"), served.path()}),
                  0);
        QDir().mkpath(program.file(QStringLiteral("resource")));
        for (const QString &name : QDir(SourceDir() + QStringLiteral("/resource")).entryList(QDir::Files))
            QFile::copy(SourceDir() + QStringLiteral("/resource/") + name, program.file(QStringLiteral("resource/") + name));
        for (const char *sub : {"record", "setting", "FileInfo"})
            QDir().mkpath(program.file(QStringLiteral("user/") + QLatin1String(sub)));
        server = std::make_unique<TTestHttpServer>(served.path());
        limits.receiveTimeoutMs = 700;
        limits.transferLimitMs = 5000;
        limits.connectTimeoutMs = 2000;
        limits.maximumBytes = 4 * 1024 * 1024;
        // The first start: the shipped server catalog, TT switched on.
        auto cc = Engine();
        cc->LoadServerCatalog();
        cc->LoadCatalog();
        shippedTT = cc->catalog.rows[6].TangoTotal;
        shippedTTVersion = cc->catalog.rows[6].Version;
        shippedTJVersion = cc->catalog.rows[7].Version;
        ASSERT_GT(shippedTT, 0);
        ASSERT_GT(shippedTTVersion, 0);
    }

    std::unique_ptr<TCC> Engine()
    {
        auto cc = std::make_unique<TCC>();
        cc->programFolder = program.path();
        cc->userFolder = program.file(QStringLiteral("user/"));
        return cc;
    }

    // A revision of TT on the server: the next version, with one more word.
    void ReviseServedTT()
    {
        QByteArray text = program.read(QStringLiteral("resource/TT_enc.dat"));
        QString plain = DecodeLearningBytes(text);
        plain.chop(2);   // the trailer the reading adds
        plain.replace(0, plain.indexOf(QStringLiteral("\r\n")), QStringLiteral("#%1").arg(shippedTTVersion + 1));
        plain += QString::number(shippedTT + 1) + kNewWordFields;
        served.write(QStringLiteral("Programs/TT_enc.dat"), EncodeLearningText(plain).toUtf8());
        SetServedRow(served, QStringLiteral("TT"), shippedTTVersion + 1, shippedTT + 1);
    }

    // The version window's sequence; the engine is returned for a look at it.
    std::unique_ptr<TCC> RunUpdates(TDownloadService *service)
    {
        auto cc = Engine();
        cc->LoadServerCatalog();
        cc->LoadCatalog();
        TUpdateObserver observer;
        observer.status = [this](const QString &text) { status = text; };
        observer.report = [this](const QString &line) { report.append(line); };
        observer.dataReplaced = [this] { restartNote = true; };
        TDataUpdater updater(*cc, service, observer);
        updater.RunDataUpdates();
        return cc;
    }
};
