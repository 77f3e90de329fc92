#include "base/ProgramCommandLine.h"

#include "base/Version.h"

#include <QCommandLineParser>
#include <cstdio>

namespace {
constexpr int kLineWidth = 79;

void Print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}

QString Wrap(const QString &paragraph)
{
    QString out;
    QString line;
    for (const QString &word : paragraph.split(u' ', Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > kLineWidth) {
            out += line + u'\n';
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    return out + line + u'\n';
}

struct TParser {
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Shows the version.")};
    TParser()
    {
        parser.addOption(help);
        parser.addOption(version);
    }
};
}

QStringList ArgumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

QString ProgramHelpText(const TProgramHelp &help)
{
    QString text = QStringLiteral("Usage: %1 [OPTIONS]\n\n").arg(help.program);
    for (const QString &paragraph : help.description.split(QStringLiteral("\n\n"), Qt::SkipEmptyParts))
        text += Wrap(paragraph.simplified()) + u'\n';
    text += QStringLiteral("Options:\n"
                           "  -h, --help     Shows this help.\n"
                           "  -v, --version  Shows the version.\n");
    text += Wrap(QStringLiteral("Qt's own options, such as -platform NAME or -style NAME, are taken as well."));
    return text + QStringLiteral("\nExit status:\n") + help.exitStatus;
}

std::optional<int> AnswerHelpOrVersion(const QStringList &arguments, const TProgramHelp &help)
{
    TParser p;
    p.parser.parse(arguments);   // Qt's own options are not known here: only help and version count
    if (p.parser.isSet(p.help)) {
        Print(stdout, ProgramHelpText(help));
        return kProgramExitDone;
    }
    if (p.parser.isSet(p.version)) {
        Print(stdout, QStringLiteral("%1 %2\n").arg(help.program, QString::fromLatin1(kTessarionVersion)));
        return kProgramExitDone;
    }
    return std::nullopt;
}

std::optional<int> RefuseUnknownArguments(const QStringList &arguments, const QString &program)
{
    TParser p;
    QString problem;
    if (!p.parser.parse(arguments))
        problem = p.parser.errorText();
    else if (!p.parser.positionalArguments().isEmpty())
        problem = QStringLiteral("takes no arguments, but was given '%1'.").arg(p.parser.positionalArguments().join(u' '));
    if (problem.isEmpty())
        return std::nullopt;
    Print(stderr, QStringLiteral("%1: %2\nTry '%1 --help'.\n").arg(program, problem));
    return kProgramExitUsage;
}
