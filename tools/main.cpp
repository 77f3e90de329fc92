// tessarion-tool: a thin command-line layer over the engine's operations.
#include "base/TError.h"
#include "tools/Commands.h"

#include <QCoreApplication>
#include <QMap>
#include <cstdio>

QMap<QString, TToolFunction> &ToolRegistry();

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const auto &registry = ToolRegistry();
    if (args.isEmpty() || !registry.contains(args.first())) {
        std::fputs("usage: tessarion-tool COMMAND [OPTIONS]\ncommands:", stderr);
        for (auto it = registry.keyBegin(); it != registry.keyEnd(); ++it)
            std::fprintf(stderr, " %s", qPrintable(*it));
        std::fputc('\n', stderr);
        return 2;
    }
    try {
        return registry.value(args.first())(args.mid(1));
    } catch (const TFatalError &e) {
        std::fprintf(stderr, "tessarion-tool: %s\n", e.Message().toUtf8().constData());
        return 1;
    }
}
