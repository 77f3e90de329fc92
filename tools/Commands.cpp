#include "tools/Commands.h"

#include "base/TError.h"

#include <QMap>
#include <cstdio>

QMap<QString, TToolFunction> &ToolRegistry()
{
    static QMap<QString, TToolFunction> registry;
    return registry;
}

TToolCommand::TToolCommand(const QString &name, TToolFunction function)
{
    ToolRegistry().insert(name, function);
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
