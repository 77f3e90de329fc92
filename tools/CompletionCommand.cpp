// tessarion-tool completion: the bash completion script of tessarion-tool,
// made from the commands' own options (the package installs its output).
#include "tools/ToolHelp.h"

namespace {
int RunCompletion(const QStringList &)
{
    PrintLine(BashCompletionScript(ToolCommands()).chopped(1));
    return kExitDone;
}

const TToolCommand reg(QStringLiteral("completion"),
                       {QStringLiteral("Prints the bash completion script of tessarion-tool."),
                        QStringLiteral("The script completes the commands, their options, folders and the codes "
                                       "of the learning files. The package installs it; to try it from a build "
                                       "folder, source its output."),
                        {},
                        {},
                        {QStringLiteral("source <(tessarion-tool completion)")}},
                       &RunCompletion);
}
