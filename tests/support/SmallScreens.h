#pragma once
// Screens with less room than the windows' designed sizes, as the tests of
// fitting windows give them: the screen's area less its panel.
#include <QRect>

struct TSmallScreen {
    const char *name;
    QRect room;
};

inline const TSmallScreen kSmallScreens[] = {
    {"1366x768 with a panel below", QRect(0, 0, 1366, 736)},
    {"2560x1600 at scale 2 with a panel above", QRect(0, 32, 1280, 768)},
};
