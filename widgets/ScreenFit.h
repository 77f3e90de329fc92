#pragma once
// Windows of a fixed designed size on screens with less room (a 1366x768
// laptop, a 2560x1600 screen at scale 2): a window that fits keeps its
// designed size; one that does not keeps its designed content on a page that
// scrolls, and takes the size the screen has room for, so every control stays
// reachable. Its frame is kept on the screen.
//
// For a main window the page is its central widget: the menu bar stays where
// it is, above the page.
#include <QRect>
#include <QWidget>

class QScrollArea;

// Call when the window is about to show (after it has been placed), and again
// when its size or frame changed. Returns the scroll area when the content
// scrolls, otherwise nullptr.
QScrollArea *FitOnScreen(QWidget *window);
// The same within a given room: the available area of the screen the window
// opens on.
QScrollArea *FitIntoRoom(QWidget *window, const QRect &room);
