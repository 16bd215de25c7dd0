#pragma once

#include <QString>

// The folder that holds the program: ad.mdb lives there and the browser is started there.
namespace ProgramFolder {

QString path();

// Tests run the program against a folder of their own; an empty path returns to the real one.
void setPathForTesting(const QString &folder);

} // namespace ProgramFolder
