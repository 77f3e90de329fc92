#include "tools/Commands.h"

#include "base/TError.h"
#include "workspace/Catalog.h"

#include <cstdio>

namespace {
QMap<QString, TToolEntry> &Registry()
{
    static QMap<QString, TToolEntry> registry;
    return registry;
}
}

const QMap<QString, TToolEntry> &ToolCommands()
{
    return Registry();
}

TToolCommand::TToolCommand(const QString &name, TToolHelp help, TToolFunction function)
{
    Registry().insert(name, {std::move(help), function});
}

TToolOption ProgramFolderOption()
{
    return {kProgramFolderOptionName, QStringLiteral("FOLDER"),
            QStringLiteral("The program folder: the folder holding resource/ and the program "
                           "(the build folder, or /usr/lib/tessarion when installed). "
                           "Default: the folder of tessarion-tool itself."),
            TOptionValue::Folder};
}

TToolOption FileCodeOption()
{
    return {QStringLiteral("file"), QStringLiteral("CODE"),
            QStringLiteral("The learning file by its code: TT, TJ, DT, DJ, IT for the shipped lists, "
                           "U1 to U%1 for the learner's own.").arg(kUserFileCount),
            TOptionValue::Text, true};
}

TToolOption DayOffsetOption()
{
    return {QStringLiteral("day-offset"), QStringLiteral("N"),
            QStringLiteral("Takes today as N days later (negative: earlier). Default: 0.")};
}

std::optional<QString> TToolArgs::Value(const QString &option) const
{
    const qsizetype i = m_args.indexOf(option);
    if (i < 0 || i + 1 >= m_args.size())
        return std::nullopt;
    return m_args.at(i + 1);
}

QStringList TToolArgs::Values(const QString &option) const
{
    QStringList values;
    for (qsizetype i = 0; i + 1 < m_args.size(); ++i)
        if (m_args.at(i) == option)
            values.append(m_args.at(++i));
    return values;
}

QString TToolArgs::Required(const QString &option) const
{
    if (auto v = Value(option))
        return *v;
    throw TFatalError(QStringLiteral("missing option %1").arg(option));
}

void PrintLine(const QString &line)
{
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fputc('\n', stdout);
}

void PrintFields(const QStringList &fields)
{
    PrintLine(fields.join(u'\t'));
}
