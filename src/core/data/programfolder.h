#pragma once

#include <QString>

// The folder that holds the program: ad.mdb lives there and the browser is started there.
namespace ProgramFolder {

QString path();

// Whether the program runs from the folder it was installed into (such as /usr/bin): the data then lives in
// the user's data folder instead.
bool isInstalledCopy();
// The user's data folder for Korvane (~/.local/share/Korvane).
QString userDataFolder();

// Tests run the program against a folder of their own; an empty path returns to the real one.
void setPathForTesting(const QString &folder);
void setInstalledForTesting(bool installed);

} // namespace ProgramFolder
