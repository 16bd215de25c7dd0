#pragma once

#include "result.h"

#include <QString>

// The program's own settings, kept in ad.mdb so that they travel with the watch list: a table of names and values,
// made when first written. A file without it reads as every setting at its default.
namespace Settings {

inline const QString AutoCheck = QStringLiteral("autocheck");               // "1" or "0"
inline const QString AutoCheckMinutes = QStringLiteral("autocheckminutes"); // the pause between scheduled checks
inline const QString LastCheck = QStringLiteral("lastcheck");               // when a check last ended, UTC, ISO 8601
inline const QString TrayNoteShown = QStringLiteral("traynoteshown"); // "1" once told the window hides to the tray

// The value stored under the name, else the default.
Result<QString> read(const QString &name, const QString &byDefault = {});
// Stores the value under the name, replacing any other.
Done write(const QString &name, const QString &value);

} // namespace Settings
