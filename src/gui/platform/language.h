#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The language of the interface: the system's, or the one the user chose in the settings window ("界面语言"), which
// takes effect at the next start.
namespace Language {

enum class Choice { System, Simplified, Traditional, English };

// The choice as stored in the file's settings, and back; anything unknown is the system's.
Choice fromSetting(const QString &value);
QString toSetting(Choice choice);

// The translation to load: "zh_TW", "en", or empty for the program's own Simplified Chinese. For the system's
// languages, in the order the user prefers them, the first one there is an interface in decides: Traditional
// Chinese for Taiwan, Hong Kong, Macao and the Traditional script, Simplified Chinese for the rest of Chinese,
// English for English. Languages without one (German, French…) give English; no language at all (the C or POSIX
// locale) gives the program's own.
QString translationFor(Choice choice, const QStringList &uiLanguages);

// Loads the program's translation and the toolkit's own (its buttons, its dialogs) for that choice, reading it
// from the file at that path before anything else opens it. Returns the translation loaded.
QString install(QCoreApplication &app, const QString &dataFile);

} // namespace Language
