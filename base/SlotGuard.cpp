#include "base/SlotGuard.h"

#include <QCoreApplication>
#include <QtGlobal>

namespace {

TUnhandledErrorHandler &Handler()
{
    static TUnhandledErrorHandler handler;
    return handler;
}

} // namespace

TUnhandledErrorHandler SetUnhandledErrorHandler(TUnhandledErrorHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}

void ReportUnhandledError(const QString &message) noexcept
{
    try {
        if (const TUnhandledErrorHandler &handler = Handler()) {
            handler(message);
            return;
        }
        qCritical("%s", qUtf8Printable(message));
        QCoreApplication::exit(1);
    } catch (...) {
        // The handler itself failed: nothing is left to show it with.
        qCritical("%s", qUtf8Printable(message));
        QCoreApplication::exit(1);
    }
}
