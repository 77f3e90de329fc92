#include "widgets/ScreenFit.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

namespace {
const QString kScrollName = QStringLiteral("ScreenFitScroll");
const QString kPageName = QStringLiteral("ScreenFitPage");
// Room kept for the window's frame and title bar before the window manager
// has drawn them (afterwards the real frame is measured).
constexpr int kFrameAllowanceWidth = 16;
constexpr int kFrameAllowanceHeight = 40;

QSize FrameExtra(const QWidget *window)
{
    const QSize measured = window->frameGeometry().size() - window->geometry().size();
    if (window->isVisible() && (measured.width() > 0 || measured.height() > 0))
        return measured;
    return {kFrameAllowanceWidth, kFrameAllowanceHeight};
}

// What a main window shows above its page: the menu bar.
int ChromeHeight(const QWidget *window)
{
    const auto *main = qobject_cast<const QMainWindow *>(window);
    const QWidget *menu = main ? main->menuWidget() : nullptr;
    if (!menu || menu->isHidden())
        return 0;
    // Laid out once the window shows; until then, the height it asks for.
    return window->isVisible() ? menu->height() : menu->sizeHint().height();
}

QScrollArea *ExistingArea(QWidget *window)
{
    if (auto *main = qobject_cast<QMainWindow *>(window)) {
        auto *area = qobject_cast<QScrollArea *>(main->centralWidget());
        return area && area->objectName() == kScrollName ? area : nullptr;
    }
    return window->findChild<QScrollArea *>(kScrollName, Qt::FindDirectChildrenOnly);
}

QScrollArea *NewArea(QWidget *page, QWidget *parent)
{
    auto *area = new QScrollArea(parent);
    area->setObjectName(kScrollName);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(page);
    return area;
}

QScrollArea *MovePage(QWidget *window, const QSize &designed)
{
    if (auto *main = qobject_cast<QMainWindow *>(window)) {
        // The central widget is the page; the menu bar stays above it.
        QWidget *central = main->takeCentralWidget();
        if (!central)
            return nullptr;
        central->setFixedSize(designed.width(), designed.height() - ChromeHeight(window));
        QScrollArea *area = NewArea(central, nullptr);
        main->setCentralWidget(area);
        central->show();
        return area;
    }
    auto *page = new QWidget;
    page->setObjectName(kPageName);
    page->setFixedSize(designed);
    const QList<QWidget *> children = window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (child->isWindow())
            continue;
        const bool hidden = child->isHidden();
        const QRect geometry = child->geometry();
        child->setParent(page);
        child->setGeometry(geometry);
        child->setVisible(!hidden);
    }
    QScrollArea *area = NewArea(page, window);
    area->show();
    return area;
}

// The designed content moves onto a page of its own size that scrolls; the
// control that had the keyboard focus keeps it.
QScrollArea *MakePage(QWidget *window, const QSize &designed)
{
    const QPointer<QWidget> focus = QApplication::focusWidget();
    QScrollArea *area = MovePage(window, designed);
    if (area && focus && focus->window() == window)
        focus->setFocus();
    return area;
}
}   // namespace

QScrollArea *FitOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return nullptr;
    return FitIntoRoom(window, screen->availableGeometry());
}

QScrollArea *FitIntoRoom(QWidget *window, const QRect &room)
{
    const QSize extra = FrameExtra(window);
    QScrollArea *area = ExistingArea(window);
    const QSize designed =
        area ? area->widget()->size() + QSize(0, ChromeHeight(window)) : window->size();
    const QSize limit = room.size() - extra;
    QSize fits = designed.boundedTo(limit);
    // Where the page scrolls one way, the window keeps room for that scroll
    // bar, so that the other way need not scroll as well.
    const int bar = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, window);
    if (fits.height() < designed.height())
        fits.setWidth(qMin(designed.width() + bar, limit.width()));
    if (fits.width() < designed.width())
        fits.setHeight(qMin(designed.height() + bar, limit.height()));

    if (fits != designed && !area)
        area = MakePage(window, designed);
    if (area) {
        window->setFixedSize(fits);
        if (!qobject_cast<QMainWindow *>(window))
            area->setGeometry(window->rect());
    }

    // The frame stays on the screen.
    const QSize frame = window->size() + extra;
    const int x = qBound(room.left(), window->x(), qMax(room.left(), room.right() + 1 - frame.width()));
    const int y = qBound(room.top(), window->y(), qMax(room.top(), room.bottom() + 1 - frame.height()));
    window->move(x, y);
    return area;
}
