// tessarion-tool: a thin command-line layer over the engine's operations.
//     tessarion-tool COMMAND [OPTIONS] [ARGUMENTS]
//     tessarion-tool help [COMMAND] | --help | --version
// Each command's line is parsed with QCommandLineParser against the options
// the command registered (tools/Commands.h); the help texts printed here are
// the same texts the manual page is made from.
#include "base/TError.h"
#include "base/Version.h"
#include "tools/Commands.h"
#include "tools/ToolHelp.h"
#include "workspace/Paths.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace {
const QString kProgram = QStringLiteral("tessarion-tool");
const QString kHelpCommand = QStringLiteral("help");

void Print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}

int UsageError(const QString &context, const QString &message, const QString &helpHint)
{
    Print(stderr, QStringLiteral("%1: %2\nTry '%3'.\n").arg(context, message, helpHint));
    return kExitUsage;
}

QCommandLineOption HelpOption()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help."));
}

QCommandLineOption VersionOption()
{
    return QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                              QStringLiteral("Shows the version of tessarion-tool."));
}

int PrintVersion()
{
    Print(stdout, QStringLiteral("%1 %2\n").arg(kProgram, QString::fromLatin1(kTessarionVersion)));
    return kExitDone;
}

// The command's options as "--name VALUE" pairs, folders made absolute with
// their "/", then its arguments; std::nullopt after a usage error was printed.
std::optional<QStringList> CommandArguments(const QString &name, const TToolHelp &help, const QStringList &given,
                                            int &exitCode)
{
    const QString context = kProgram + u' ' + name;
    const QString hint = QStringLiteral("%1 help %2").arg(kProgram, name);
    QCommandLineParser parser;
    const QCommandLineOption helpOption = HelpOption();
    const QCommandLineOption versionOption = VersionOption();
    parser.addOption(helpOption);
    parser.addOption(versionOption);
    for (const TToolOption &option : help.options) {
        if (option.value == TOptionValue::None)
            parser.addOption(QCommandLineOption(option.name, option.description));
        else
            parser.addOption(QCommandLineOption(option.name, option.description, option.valueName));
    }
    if (!parser.parse(QStringList{context} + given)) {
        exitCode = UsageError(context, parser.errorText(), hint);
        return std::nullopt;
    }
    if (parser.isSet(helpOption)) {
        Print(stdout, CommandHelpText(name, help));
        exitCode = kExitDone;
        return std::nullopt;
    }
    if (parser.isSet(versionOption)) {
        exitCode = PrintVersion();
        return std::nullopt;
    }

    QStringList args;
    for (const TToolOption &option : help.options) {
        const QString flag = QStringLiteral("--") + option.name;
        if (option.value == TOptionValue::None) {
            if (parser.isSet(option.name))
                args << flag;
            continue;
        }
        QStringList values = parser.values(option.name);
        if (values.isEmpty() && option.name == kProgramFolderOptionName)
            values << QCoreApplication::applicationDirPath();
        if (values.isEmpty() && option.required) {
            exitCode = UsageError(context, QStringLiteral("missing option %1 %2").arg(flag, option.valueName), hint);
            return std::nullopt;
        }
        for (const QString &value : values) {
            if (option.value == TOptionValue::Folder && value.isEmpty()) {
                exitCode = UsageError(context, QStringLiteral("%1 needs a folder, not an empty text").arg(flag), hint);
                return std::nullopt;
            }
            args << flag << (option.value == TOptionValue::Folder ? FolderText(value) : value);
        }
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != help.arguments.size()) {
        QStringList names;
        for (const TToolArgument &argument : help.arguments)
            names << argument.name;
        const QString message = help.arguments.isEmpty()
            ? QStringLiteral("takes no arguments, but was given '%1'").arg(positional.join(u' '))
            : QStringLiteral("takes %1 (%2), but was given %3")
                  .arg(help.arguments.size() == 1 ? QStringLiteral("one argument")
                                                  : QStringLiteral("%1 arguments").arg(help.arguments.size()),
                       names.join(u' '))
                  .arg(positional.size());
        exitCode = UsageError(context, message, hint);
        return std::nullopt;
    }
    return args + positional;
}

int RunCommand(const QString &name, const TToolEntry &entry, const QStringList &given)
{
    int exitCode = kExitDone;
    const std::optional<QStringList> args = CommandArguments(name, entry.help, given, exitCode);
    if (!args)
        return exitCode;
    try {
        return entry.run(*args);
    } catch (const TFatalError &e) {
        Print(stderr, QStringLiteral("%1 %2: %3\n").arg(kProgram, name, e.Message()));
        return kExitFailed;
    }
}
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(kProgram);
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kTessarionVersion));
    const auto &commands = ToolCommands();

    QCommandLineParser parser;
    const QCommandLineOption helpOption = HelpOption();
    const QCommandLineOption versionOption = VersionOption();
    parser.addOption(helpOption);
    parser.addOption(versionOption);
    // Everything from the command on belongs to the command.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QString hint = QStringLiteral("%1 --help").arg(kProgram);
    if (!parser.parse(QCoreApplication::arguments()))
        return UsageError(kProgram, parser.errorText(), hint);
    if (parser.isSet(helpOption)) {
        Print(stdout, ToolHelpText(commands));
        return kExitDone;
    }
    if (parser.isSet(versionOption))
        return PrintVersion();

    const QStringList words = parser.positionalArguments();
    if (words.isEmpty())
        return UsageError(kProgram, QStringLiteral("no command given"), hint);
    const QString name = words.first();
    if (name == kHelpCommand) {
        if (words.size() == 1) {
            Print(stdout, ToolHelpText(commands));
            return kExitDone;
        }
        if (words.size() == 2 && commands.contains(words.at(1))) {
            Print(stdout, CommandHelpText(words.at(1), commands.value(words.at(1)).help));
            return kExitDone;
        }
        if (words.size() == 2)
            return UsageError(kProgram, QStringLiteral("unknown command '%1'").arg(words.at(1)), hint);
        return UsageError(kProgram, QStringLiteral("help takes one command at most"), hint);
    }
    if (!commands.contains(name))
        return UsageError(kProgram, QStringLiteral("unknown command '%1'").arg(name), hint);
    return RunCommand(name, commands.value(name), words.mid(1));
}
