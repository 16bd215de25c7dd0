#pragma once

#include "result.h"

#include <QString>

// The file ad.mdb: where it lives, making it with its first contents, checking it and keeping a backup of it.
namespace DataFile {

inline constexpr const char *FileName = "ad.mdb";

// Beside the program, or in the user's data folder when the program is an installed copy.
QString path();
// The copy of the last file that opened well, kept beside it at start-up.
QString backupPath();

enum class Start {
    Opened,  // the file was there and holds the four tables
    Created, // there was no file: it was made with the first contents
};

// Start-up: creates the file when there is none, and checks an existing one (a database, the four tables with
// their columns, sound throughout); nothing is written to an existing file but its backup beside it. Every
// later open uses the file, or fails with the reason it cannot be used.
// A file another program holds is waited for busyWaitMs at most (every later use waits as long as the rest of
// the program does), then it is Busy.
Result<Start> prepare(int busyWaitMs = -1);

// Tests open the file as if it were write-protected (root ignores file permissions).
void setReadOnlyForTesting(bool readOnly);

} // namespace DataFile
