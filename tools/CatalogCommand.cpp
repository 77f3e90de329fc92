// tessarion-tool catalog --program-folder P [--merge]: the catalog as the
// program reads it at the start of a study run (created on a first start),
// one TAB-separated line per slot 1..49, then the catalog-wide values. With
// --merge the server catalog is merged in first, as when the first file of a
// run is prepared.
#include "tools/EngineSession.h"

namespace {
int RunCatalog(const QStringList &rawArgs)
{
    const TToolArgs args(rawArgs);
    auto cc = OpenEngine(args, TAccess::ReadOnly);
    LoadCatalogAsProgram(*cc);
    if (args.HasFlag(QStringLiteral("--merge")))
        cc->MergeServerCatalog();
    const TCatalog &catalog = cc->catalog;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const TDBF &row = catalog.rows[slot];
        PrintFields({QString::number(slot), row.Code, QString::number(row.Version), SwitchText(row.OnOff), row.Order,
                     SwitchText(row.PopUp), row.PopUpDate, QString::number(row.PopUpWN), row.Title,
                     QString::number(row.TangoTotal), QString::number(row.DBTangoTotal)});
    }
    PrintLine(QStringLiteral("data-version %1").arg(catalog.dataVersion));
    PrintLine(QStringLiteral("file-manager %1").arg(SwitchText(catalog.fileManager)));
    PrintLine(QStringLiteral("related-words-version %1").arg(catalog.relatedWordsVersion));
    PrintLine(QStringLiteral("etymology-version %1").arg(catalog.etymologyVersion));
    return 0;
}

const TToolCommand reg(QStringLiteral("catalog"),
                       {QStringLiteral("Prints the catalog of learning files as the program reads it at the start of a study run."),
                        QStringLiteral("One TAB-separated line per slot 1 to 49 (slot, code, version, on/off, order, popup, popup date, popup threshold, title, words, rows), then the catalog-wide values. Nothing is written."),
                        {ProgramFolderOption(),
                         {QStringLiteral("merge"), {}, QStringLiteral("Merges the server catalog in first, as when the first file of a run is prepared."), TOptionValue::None}},
                        {},
                        {QStringLiteral("tessarion-tool catalog --program-folder build --merge")}},
                       &RunCatalog);
}
