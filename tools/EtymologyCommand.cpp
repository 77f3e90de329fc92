// tessarion-tool etymology --program-folder P WORD: the etymology record of
// WORD as the program reads it (its fields by line number, TAB-separated),
// then the lines of each relation query for it, each headed by the query's name.
#include "base/Notifier.h"
#include "base/TError.h"
#include "etymology/db/EtymologyDatabase.h"
#include "tools/Commands.h"
#include "workspace/Catalog.h"

namespace {
const QString kUsage = QStringLiteral("usage: tessarion-tool etymology --program-folder P WORD");

void PrintList(const QString &name, const QStringList &lines)
{
    PrintLine(name);
    for (const QString &line : lines)
        PrintFields({QString(), line});
}

int RunEtymology(const QStringList &args)
{
    const TToolArgs options(args);
    QString folder = options.Required(QStringLiteral("--program-folder"));
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    if (args.size() != 3)
        throw TFatalError(kUsage);
    const QString word = args.at(args.indexOf(QStringLiteral("--program-folder")) == 0 ? 2 : 0);
    TEtymologyDatabase db;
    TCatalog catalog;
    db.LoadEtymologyData(folder, catalog);
    const int index = db.FindHeadwordInRange(word);
    if (index == kEtymologyNotFound)
        throw TFatalError(QStringLiteral("%1 has no etymology record in %2").arg(word, folder + kEtymologyFile));
    const TEtymologyRecord &record = db.Record(index);
    PrintFields({QStringLiteral("index"), QString::number(index)});
    for (int line = 0; line < kEtymologyRecordLines; ++line)
        PrintFields({QString::number(line), record.lines[line]});

    PrintList(QStringLiteral("ListPrefixRelatives"), db.ListPrefixRelatives(index));
    PrintList(QStringLiteral("ListSuffixRelatives"), db.ListSuffixRelatives(index));
    PrintList(QStringLiteral("ListWordFamily"), db.ListWordFamily(index));
    // The roots of the word: the node of each root and the whole tree under
    // its first-level root.
    TCollectingNotifier notifier;
    for (const auto &[code, forms] : {std::pair{TEtymologyLine::RootCode, TEtymologyLine::RootForms},
                                      std::pair{TEtymologyLine::Root2Code, TEtymologyLine::Root2Forms}}) {
        if (record[code].isEmpty())
            continue;
        const QString key = record[code] + QLatin1Char(' ') + record[forms];
        if (!db.FindRootKey(record[code], record[forms], notifier)) {
            PrintFields({QStringLiteral("ListRootRelatives"), key, notifier.messages.join(QLatin1Char(' '))});
            notifier.messages.clear();
            continue;
        }
        const TRootCoordinates at = db.LastLocatedRoot();
        PrintList(QStringLiteral("ListRootRelatives root_child ") + key,
                  db.ListRootRelatives(TRootRelativesKind::RootChild, index, at.first, at.second, at.third));
        PrintList(QStringLiteral("ListRootRelatives root_parent ") + key,
                  db.ListRootRelatives(TRootRelativesKind::RootParent, index, at.first, at.second, at.third));
    }
    return 0;
}

const TToolCommand reg(QStringLiteral("etymology"),
                       {QStringLiteral("Prints the etymology record of a word and its relatives."),
                        QStringLiteral("The record's fields by line number, TAB-separated, then the lines of each relation query (prefix, suffix, word family, roots), each headed by the query's name. A word without a record exits with status 1. Nothing is written."),
                        {ProgramFolderOption()},
                        {{QStringLiteral("WORD"), QStringLiteral("The English headword to look up.")}},
                        {QStringLiteral("tessarion-tool etymology --program-folder build abandon")}},
                       &RunEtymology);
}
