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
inline const QString Language =
    QStringLiteral("language"); // the interface's: "zh_CN", "zh_TW", "en"; empty: the system's

// The value stored under the name, else the default.
Result<QString> read(const QString &name, const QString &byDefault = {});
// The value stored under the name in the file at that path, read before the program opens it (the language of
// the interface is needed before the first window): empty when the file, the table or the value is not there, or
// the file cannot be read at once.
QString readBeforeStart(const QString &path, const QString &name);
// Stores the value under the name, replacing any other.
Done write(const QString &name, const QString &value);

} // namespace Settings
