#pragma once

#include "result.h"

#include <QString>

// Starting with the desktop session ("开机时启动"), through an XDG autostart entry of the user's own.
namespace Autostart {

// $XDG_CONFIG_HOME/autostart/korvane.desktop ($XDG_CONFIG_HOME being ~/.config when unset).
QString entryPath();

// Whether the session will start the program: the entry is there, and neither the user nor the desktop's session
// settings turned it off.
bool isEnabled();

// Writes the entry (whole, or not at all) or removes it. An entry already gone is no failure.
Done setEnabled(bool on);

// The entry's command line for the program at that path, quoted as the entry's format asks.
QString commandFor(const QString &program);

} // namespace Autostart
