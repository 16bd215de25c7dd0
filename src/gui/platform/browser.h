#pragma once

#include <QByteArray>

#include <functional>

class QWidget;

// Hands a web address to the desktop's browser. The address is given as the exact bytes to send, so that
// escapes such as %2E reach the site as they were written.
namespace Browser {

// True when something took the address.
bool open(const QByteArray &address);

// Tests take the addresses instead of a browser; an empty function returns to the desktop.
void setHandlerForTesting(std::function<bool(const QByteArray &)> handler);

} // namespace Browser
