#pragma once
// One guard for every slot and every window override. An error that nobody
// handled where it arose must not unwind through Qt's event loop (Qt does not
// support that): the guard stops it at the slot and hands its message to the
// program, which shows it in an error box and ends without writing anything
// more.
#include "base/TError.h"

#include <QString>

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

// What the program does with an error that reached a slot. The handler set
// last is used; it returns the one it replaced, so a part that sets its own
// can put the old one back when it goes.
using TUnhandledErrorHandler = std::function<void(const QString &message)>;
TUnhandledErrorHandler SetUnhandledErrorHandler(TUnhandledErrorHandler handler);

// Hands the message to the handler (or, before any is set, to the error
// output, and ends the event loop). Never throws.
void ReportUnhandledError(const QString &message) noexcept;

// Runs body; no error leaves it.
template <typename F> void Guard(F &&body) noexcept
{
    try {
        std::forward<F>(body)();
    } catch (const TFatalError &e) {
        ReportUnhandledError(e.Message());
    } catch (const std::exception &e) {
        ReportUnhandledError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ReportUnhandledError(QStringLiteral("An unknown error occurred."));
    }
}

// A slot for connect() that runs the given one under the guard. The slot
// takes either all of the signal's arguments or none.
template <typename F> auto Guarded(F slot)
{
    return [slot = std::move(slot)](auto &&...args) mutable
        requires(std::is_invocable_v<F &, decltype(args)...> || std::is_invocable_v<F &>)
    {
        Guard([&] {
            if constexpr (std::is_invocable_v<F &, decltype(args)...>)
                slot(std::forward<decltype(args)>(args)...);
            else
                slot();
        });
    };
}

// Runs body and returns its value; after an error, the value given.
template <typename T, typename F> T GuardReturning(T onError, F &&body) noexcept
{
    T result = onError;
    Guard([&] { result = std::forward<F>(body)(); });
    return result;
}
