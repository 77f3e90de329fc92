#include "base/WaitPumping.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

TEST(WaitPumping, KeepsEventsFlowingForTheWholeWait)
{
    bool fired = false;
    QTimer::singleShot(0, [&fired] { fired = true; });
    QElapsedTimer timer;
    timer.start();
    WaitPumping(30);
    EXPECT_TRUE(fired);
    EXPECT_GE(timer.elapsed(), 30);
}
