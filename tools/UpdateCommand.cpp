// tessarion-tool update --program-folder P [--server URL]: the data updates
// as the version window runs them, without a window: the server catalog, the
// revised learning files and related words, the newly released files. One
// line per file fetched, replaced, merged or refused, then the last status
// text and whether a newer program is offered (it is never downloaded here).
// Without --server the configured address is used; without any, nothing is
// touched and the command says there is no connection.
#include "base/TError.h"
#include "engine/DataUpdates.h"
#include "net/HttpDownloadService.h"
#include "tools/EngineSession.h"

#include <QTextStream>

namespace {
const QString kRefusedLine = QStringLiteral("refused\t");

int RunUpdate(const QStringList &rawArgs)
{
    const TToolArgs args(rawArgs);
    QString address;
    if (const auto server = args.Value(QStringLiteral("--server"))) {
        const QString problem = ServerAddressProblem(*server);
        if (!problem.isEmpty())
            throw TFatalError(problem);
        address = *server;
    } else {
        const TServerAddress configured = ReadServerAddress(args.Required(QStringLiteral("--program-folder")));
        if (!configured.problem.isEmpty())
            QTextStream(stderr) << configured.problem << Qt::endl;
        address = configured.url;
    }
    std::unique_ptr<THttpDownloadService> service;
    if (!address.isEmpty())
        service = std::make_unique<THttpDownloadService>(address);
    if (!service || !service->IsInternetConnected()) {
        PrintFields({QStringLiteral("status"), kNoConnectionStatus});
        return 1;
    }

    auto cc = OpenEngine(args, TAccess::Writes);
    LoadCatalogAsProgram(*cc);
    QString status = kUpToDateStatus;
    TUpdateObserver observer;
    observer.status = [&](const QString &text) { status = text; };
    bool refused = false;
    observer.report = [&refused](const QString &line) {
        refused = refused || line.startsWith(kRefusedLine);
        PrintLine(line);
    };
    TDataUpdater updater(*cc, service.get(), observer);
    updater.RunDataUpdates();
    if (updater.NewerProgramOffered())
        PrintFields({QStringLiteral("program-offered"), kServerProgramPath,
                     QString::number(cc->siteCatalog.dataVersion)});
    PrintFields({QStringLiteral("status"), status});
    return refused ? kExitFailed : kExitDone;
}

const TToolCommand reg(QStringLiteral("update"),
                       {QStringLiteral("Runs the data updates as the version window does: the server catalog, revised and newly released learning files and related words."),
                        QStringLiteral("One line per file fetched, replaced, merged or refused, then the last status text and whether a newer program is offered (it is never downloaded here). Without a server address nothing is touched and the command says there is no connection (exit status 1); a refused download also exits with 1."),
                        {ProgramFolderOption(),
                         {QStringLiteral("server"), QStringLiteral("URL"), QStringLiteral("The server's base address (http:// or https://). Default: the address in ServerAddress.dat.")}},
                        {},
                        {QStringLiteral("tessarion-tool update --program-folder build --server http://127.0.0.1:8080/")}},
                       &RunUpdate);
}
