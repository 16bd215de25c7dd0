#include "platform/windoworder.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace WindowOrder {

namespace {
void setOnTop(QWidget *window, bool on)
{
    if (!window || window->testAttribute(Qt::WA_WState_Created) == false) {
        if (window)
            window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
        return;
    }
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    // Changing a window's flags hides it; show it again where it was.
    const bool wasVisible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (wasVisible)
        window->show();
}
} // namespace

void putOnTop(QWidget *window)
{
    setOnTop(window, true);
    if (window && window->isVisible())
        window->raise();
}

void putAtBottom(QWidget *window)
{
    setOnTop(window, false);
    if (window && window->isVisible())
        window->lower();
}

bool isOnTop(const QWidget *window)
{
    return window && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void placeBeside(QWidget *window, const QWidget *owner)
{
    // Placed once shown, when the window's layout and frame have their final size.
    QRect place = window->frameGeometry();
    place.moveTopLeft(owner->frameGeometry().topRight() + QPoint(8, 0));
    if (const QScreen *here = owner->screen()) {
        const QRect room = here->availableGeometry();
        place.moveRight(std::min(place.right(), room.right()));
        place.moveBottom(std::min(place.bottom(), room.bottom()));
        place.moveTopLeft(QPoint(std::max(place.left(), room.left()), std::max(place.top(), room.top())));
    }
    window->move(place.topLeft());
}

} // namespace WindowOrder
