#pragma once

class QWidget;

// Keeping a window above all others. The window manager has the last word; we set the hint.
namespace WindowOrder {

void putOnTop(QWidget *window);
// Takes the always-on-top state away and sends the window below the others.
void putAtBottom(QWidget *window);
bool isOnTop(const QWidget *window);

// Moves a window just shown beside its owner, to the right, and never off the screen.
void placeBeside(QWidget *window, const QWidget *owner);

} // namespace WindowOrder
