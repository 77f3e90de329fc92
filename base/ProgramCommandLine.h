#pragma once
// The command line of the windowed programs (tessarion, tessarion-tray):
// --help and --version are answered before any window or display exists, so
// they work on a console without a desktop; anything else a program does not
// know is a usage error once Qt has taken its own options (-platform, -style).
#include <QString>
#include <QStringList>
#include <optional>

inline constexpr int kProgramExitDone = 0;
inline constexpr int kProgramExitFailed = 1;   // refused or failed
inline constexpr int kProgramExitUsage = 2;    // the command line is wrong

struct TProgramHelp {
    QString program;       // "tessarion"
    QString description;   // paragraphs separated by an empty line
    QString exitStatus;    // the lines after "Exit status:"
};

// The whole --help text.
QString ProgramHelpText(const TProgramHelp &help);

// Before the application object: the exit code when --help or --version was
// asked for (the text is printed to stdout), otherwise nothing.
std::optional<int> AnswerHelpOrVersion(const QStringList &arguments, const TProgramHelp &help);
// The arguments of main() as text.
QStringList ArgumentsOf(int argc, char *argv[]);

// After the application object has taken Qt's own options: the usage error's
// exit code (the message, naming what is wrong, is printed to stderr) when
// anything is left, otherwise nothing.
std::optional<int> RefuseUnknownArguments(const QStringList &arguments, const QString &program);
