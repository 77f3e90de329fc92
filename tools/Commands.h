#pragma once
// Command registry of tessarion-tool. Each command lives in its own file and
// registers itself with its help: what it does, its options (a sentence
// each), its arguments and an example:
//     static const TToolCommand reg(QStringLiteral("words"), {...help...}, &RunWords);
// main.cpp parses the command line against that help (QCommandLineParser):
// an option the command does not know, a missing value or argument is a usage
// error (exit 2) naming it; folders are made absolute and end in "/"; a
// missing --program-folder is the folder of tessarion-tool itself. The
// command then gets its options as "--name VALUE" pairs, then its arguments.
// Output is UTF-8, TAB-separated, one record a line; errors go to stderr with
// a non-zero exit.
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// Exit codes of every command.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;   // refused or failed: nothing (more) was done
inline constexpr int kExitUsage = 2;    // the command line itself is wrong

using TToolFunction = int (*)(const QStringList &args);

enum class TOptionValue {
    None,     // a flag
    Text,     // any text (numbers are checked by the command)
    Folder,   // a folder: made absolute, ending in "/"
};

struct TToolOption {
    QString name;                 // without the leading "--"
    QString valueName;            // shown in the help ("CODE"); empty for a flag
    QString description;          // one sentence or two
    TOptionValue value = TOptionValue::Text;
    bool required = false;
};

struct TToolArgument {
    QString name;                 // "IN", "OUT.xls"
    QString description;
};

struct TToolHelp {
    QString summary;              // one line: what the command does
    QString details;              // what it prints or writes, when it refuses
    QList<TToolOption> options;
    QList<TToolArgument> arguments;
    QStringList examples;         // whole command lines
};

struct TToolEntry {
    TToolHelp help;
    TToolFunction run = nullptr;
};

struct TToolCommand {
    TToolCommand(const QString &name, TToolHelp help, TToolFunction function);
};

// Every registered command by name.
const QMap<QString, TToolEntry> &ToolCommands();

// Options several commands share, with one text each.
inline const QString kProgramFolderOptionName = QStringLiteral("program-folder");
TToolOption ProgramFolderOption();
TToolOption FileCodeOption();
TToolOption DayOffsetOption();

// "--name VALUE" options; flags without values via HasFlag.
class TToolArgs {
public:
    explicit TToolArgs(QStringList args) : m_args(std::move(args)) {}
    std::optional<QString> Value(const QString &option) const;
    QStringList Values(const QString &option) const;   // every occurrence
    bool HasFlag(const QString &flag) const { return m_args.contains(flag); }
    // The value, or a TFatalError naming the missing option.
    QString Required(const QString &option) const;
    const QStringList &Raw() const { return m_args; }

private:
    QStringList m_args;
};

// Writes one line (a newline is added) to stdout as UTF-8.
void PrintLine(const QString &line);
void PrintFields(const QStringList &fields);   // TAB-joined
