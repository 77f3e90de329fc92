// The star sky on a screen with less room than its 1024x768: the window fits
// the screen and the sky scrolls, every part of it reachable.
#include "engine/CommonUnit.h"
#include "engine/CosmosSky.h"
#include "progress/CosmosUnit.h"

#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

TEST(CosmosForm, TheSkyScrollsOnAScreenWithLessRoom)
{
    TCC cc;
    TCosmosForm form(cc);
    form.FormShow();
    form.show();
    const QRect room = form.screen()->availableGeometry();
    ASSERT_LT(room.width(), kSkyWidth);   // the test screen is smaller than the sky
    EXPECT_TRUE(room.contains(form.geometry()));
    auto *area = form.findChild<QScrollArea *>();
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->widget()->size(), QSize(kSkyWidth, kSkyHeight));
    EXPECT_EQ(form.Image_cosmos->geometry(), QRect(0, 0, kSkyWidth, kSkyHeight));
    EXPECT_EQ(area->horizontalScrollBar()->maximum(), kSkyWidth - area->viewport()->width());
    // Shown again: still one page.
    form.hide();
    form.FormShow();
    EXPECT_EQ(form.findChildren<QScrollArea *>().size(), 1);
}
