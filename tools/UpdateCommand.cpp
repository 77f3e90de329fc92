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
    observer.report = [](const QString &line) { PrintLine(line); };
    TDataUpdater updater(*cc, service.get(), observer);
    updater.RunDataUpdates();
    if (updater.NewerProgramOffered())
        PrintFields({QStringLiteral("program-offered"), kServerProgramPath,
                     QString::number(cc->siteCatalog.dataVersion)});
    PrintFields({QStringLiteral("status"), status});
    return 0;
}

const TToolCommand reg(QStringLiteral("update"), &RunUpdate);
}
