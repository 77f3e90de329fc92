#include "widgets/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>

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
}

QScrollArea *FitOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return nullptr;
    const QRect room = screen->availableGeometry();
    const QSize extra = FrameExtra(window);
    auto *area = window->findChild<QScrollArea *>(kScrollName, Qt::FindDirectChildrenOnly);
    const QSize designed = area ? area->widget()->size() : window->size();
    const QSize fits = designed.boundedTo(room.size() - extra);

    if (fits != designed && !area) {
        // The designed content moves onto a page of its own size.
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
        area = new QScrollArea(window);
        area->setObjectName(kScrollName);
        area->setFrameShape(QFrame::NoFrame);
        area->setWidget(page);
        area->show();
    }
    if (area) {
        window->setFixedSize(area->widget()->size().boundedTo(room.size() - extra));
        area->setGeometry(window->rect());
    }

    // The frame stays on the screen.
    const QSize frame = window->size() + extra;
    const int x = qBound(room.left(), window->x(), qMax(room.left(), room.right() + 1 - frame.width()));
    const int y = qBound(room.top(), window->y(), qMax(room.top(), room.bottom() + 1 - frame.height()));
    window->move(x, y);
    return area;
}
