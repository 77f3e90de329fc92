// tessarion-tool related --program-folder P --word WORD [--file CODE]: the
// related-words tree of a word of a learning file (default TT) as the tree
// page shows it, one line per node: depth (0 for the word itself), TAB, icon,
// TAB, text. Nothing is written.
#include "base/TError.h"
#include "engine/RelatedTree.h"
#include "tools/EngineSession.h"

namespace {
void PrintNode(const TRelatedNode &node, int depth)
{
    PrintFields({QString::number(depth), QString::number(node.icon), node.text});
    for (const TRelatedNode &child : node.children)
        PrintNode(child, depth + 1);
}

int RunRelated(const QStringList &rawArgs)
{
    QStringList withFile = rawArgs;
    if (!TToolArgs(rawArgs).Value(QStringLiteral("--file")))
        withFile << QStringLiteral("--file") << QStringLiteral("TT");
    const TToolArgs args(withFile);
    const QString wanted = args.Required(QStringLiteral("--word"));
    auto cc = OpenFileAsProgram(args, TAccess::ReadOnly);
    TRelatedWords related;
    LoadRelatedWords(cc->programFolder, related);
    const int last = cc->catalog.rows[static_cast<size_t>(cc->fileSlot)].DBTangoTotal;
    for (int position = 1; position <= last && TWordTable::IsPosition(position); ++position) {
        if (cc->words[position].word == wanted || cc->DisplayForm(position) == wanted) {
            PrintNode(BuildRelatedTree(*cc, related, position), 0);
            return 0;
        }
    }
    throw TFatalError(QStringLiteral("%1 is not a word of %2").arg(wanted, cc->fileCode));
}

const TToolCommand reg(QStringLiteral("related"),
                       {QStringLiteral("Prints the related-words tree of a word as the tree page shows it."),
                        QStringLiteral("One line per node: depth (0 for the word itself), icon, text. A word that is not in the file exits with status 1. Nothing is written."),
                        {ProgramFolderOption(),
                         {QStringLiteral("word"), QStringLiteral("WORD"), QStringLiteral("The headword whose tree is printed."), TOptionValue::Text, true},
                         {QStringLiteral("file"), QStringLiteral("CODE"), QStringLiteral("The learning file holding the word, by its code. Default: TT.")}},
                        {},
                        {QStringLiteral("tessarion-tool related --word abandon")}},
                       &RunRelated);
}
