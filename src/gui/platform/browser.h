#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Hands a web address to the desktop's browser. The address is given as the exact bytes to send, so that
// escapes such as %2E reach the site as they were written.
namespace Browser {

// True when something took the address. The browser starts in the given folder, as the program's own working
// folder.
bool open(const QByteArray &address, const QString &workingFolder);

// Tests take the addresses instead of a browser; an empty function returns to the desktop.
void setHandlerForTesting(std::function<bool(const QByteArray &)> handler);

} // namespace Browser
