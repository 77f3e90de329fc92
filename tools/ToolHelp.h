#pragma once
// The help texts of tessarion-tool, made from the commands' own option texts:
// printed by --help and help COMMAND, and turned into the manual page and the
// bash completion at build time.
#include "tools/Commands.h"

// The overview: usage, every command with its summary, the exit codes.
QString ToolHelpText(const QMap<QString, TToolEntry> &commands);
// One command: usage, purpose, options with their sentences, arguments,
// examples, exit codes.
QString CommandHelpText(const QString &name, const TToolHelp &help);
// A bash completion script for the commands, their options and the file codes.
QString BashCompletionScript(const QMap<QString, TToolEntry> &commands);
