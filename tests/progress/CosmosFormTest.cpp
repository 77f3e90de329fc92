// The star sky on a screen with less room than its 1024x768 (a laptop, a
// screen at scale 2, each with a panel): the window fits the room and the
// sky scrolls, every part of it reachable.
#include "engine/CommonUnit.h"
#include "engine/CosmosSky.h"
#include "progress/CosmosUnit.h"
#include "support/SmallScreens.h"
#include "widgets/ScreenFit.h"

#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

TEST(CosmosForm, TheSkyScrollsOnAScreenWithLessRoom)
{
    for (const TSmallScreen &c : kSmallScreens) {
        SCOPED_TRACE(c.name);
        TCC cc;
        TCosmosForm form(cc);
        form.FormShow();
        form.show();
        ASSERT_LT(c.room.height(), kSkyHeight + 40);   // less room than the sky and a title bar
        QScrollArea *area = FitIntoRoom(&form, c.room);
        ASSERT_NE(area, nullptr);
        EXPECT_TRUE(c.room.contains(form.geometry()));
        EXPECT_EQ(area->widget()->size(), QSize(kSkyWidth, kSkyHeight));
        EXPECT_EQ(form.Image_cosmos->geometry(), QRect(0, 0, kSkyWidth, kSkyHeight));
        // The whole sky can be scrolled into view, and only the way that lacks room scrolls.
        EXPECT_EQ(area->verticalScrollBar()->maximum(), kSkyHeight - area->viewport()->height());
        EXPECT_EQ(area->horizontalScrollBar()->maximum(), 0);
        // Shown again: still one page.
        form.hide();
        form.FormShow();
        EXPECT_EQ(form.findChildren<QScrollArea *>().size(), 1);
    }
}
