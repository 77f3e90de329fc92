#include "app/LabelShadow.h"

#include <QElapsedTimer>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(LabelShadow, FlashTurnsSilverFor55MsAndBack)
{
    QLabel label(QStringLiteral("○"));
    QGraphicsDropShadowEffect *shadow = EnsureLabelShadow(&label);
    EXPECT_EQ(EnsureLabelShadow(&label), shadow);   // one shadow per label
    EXPECT_EQ(shadow->color(), kShadowGrey);

    QElapsedTimer clock;
    clock.start();
    FlashLabelShadow(&label);
    EXPECT_EQ(shadow->color(), kShadowSilver);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shadow->color() == kShadowGrey; }, 5000));
    EXPECT_GE(clock.elapsed(), kShadowFlashMs);
}

}

namespace {

TEST(LabelShadow, OverlappingFlashesEndGrey)
{
    QLabel label;
    QGraphicsDropShadowEffect *shadow = EnsureLabelShadow(&label);
    FlashLabelShadow(&label);
    FlashLabelShadow(&label);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shadow->color() == kShadowGrey; }, 5000));
    QTest::qWait(2 * kShadowFlashMs);
    EXPECT_EQ(shadow->color(), kShadowGrey);
}

}
