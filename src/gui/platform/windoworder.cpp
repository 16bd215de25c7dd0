#include "platform/windoworder.h"

#include <QWidget>

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

} // namespace WindowOrder
