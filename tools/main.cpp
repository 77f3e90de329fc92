// tessarion-tool: a thin command-line layer over the engine's operations.
#include "engine/TError.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        std::fputs("usage: tessarion-tool COMMAND ...\n", stderr);
        return 2;
    }
    std::fprintf(stderr, "tessarion-tool: unknown command %s\n", qPrintable(args.first()));
    return 2;
}
