#pragma once
// Command registry of tessarion-tool. Each command lives in its own file and
// registers itself:
//     static const TToolCommand reg(QStringLiteral("words"), &RunWords);
// Output is UTF-8, TAB-separated, one record a line; errors go to stderr with
// a non-zero exit.
#include <QString>
#include <QStringList>
#include <optional>

using TToolFunction = int (*)(const QStringList &args);

struct TToolCommand {
    TToolCommand(const QString &name, TToolFunction function);
};

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
