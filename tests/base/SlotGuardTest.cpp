#include "base/SlotGuard.h"

#include <QObject>

#include <gtest/gtest.h>

namespace {

// Collects what reached the handler and puts the previous one back.
struct THandlerScope {
    QStringList messages;
    TUnhandledErrorHandler previous;
    THandlerScope()
    {
        previous = SetUnhandledErrorHandler([this](const QString &m) { messages << m; });
    }
    ~THandlerScope() { SetUnhandledErrorHandler(std::move(previous)); }
};

} // namespace

// An error thrown in a slot stops at the slot: the signal's emitter carries
// on and the program's handler gets the message, whatever was thrown.
TEST(SlotGuard, AnErrorInASlotReachesTheHandlerAndNotTheEmitter)
{
    THandlerScope scope;
    QObject sender;
    int calls = 0;
    QObject::connect(&sender, &QObject::objectNameChanged, &sender,
                     Guarded([&] { ++calls; throw TFatalError(QStringLiteral("Setting_TT.dat: line 3")); }));
    QObject::connect(&sender, &QObject::objectNameChanged, &sender, Guarded([&] { ++calls; throw std::runtime_error("std"); }));
    QObject::connect(&sender, &QObject::objectNameChanged, &sender, Guarded([&] { ++calls; throw 42; }));
    QObject::connect(&sender, &QObject::objectNameChanged, &sender, Guarded([&] { ++calls; }));
    EXPECT_NO_THROW(sender.setObjectName(QStringLiteral("x")));
    EXPECT_EQ(calls, 4);   // every slot ran
    ASSERT_EQ(scope.messages.size(), 3);
    EXPECT_EQ(scope.messages[0], QStringLiteral("Setting_TT.dat: line 3"));
    EXPECT_EQ(scope.messages[1], QStringLiteral("std"));
    EXPECT_FALSE(scope.messages[2].isEmpty());
}

// A guarded slot receives the signal's arguments when it takes them.
TEST(SlotGuard, PassesTheSignalsArguments)
{
    THandlerScope scope;
    QObject sender;
    QString seen;
    QObject::connect(&sender, &QObject::objectNameChanged, &sender,
                     Guarded([&](const QString &name) { seen = name; }));
    sender.setObjectName(QStringLiteral("TT"));
    EXPECT_EQ(seen, QStringLiteral("TT"));
    EXPECT_TRUE(scope.messages.isEmpty());
}
