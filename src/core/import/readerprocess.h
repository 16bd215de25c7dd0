#pragma once

#include "import/jetreader.h"
#include "result.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

// Reading a Jet file in a process of its own: on a damaged file libmdb can loop without end, eating memory and
// printing warnings, and only a process can be stopped from outside whatever it is doing.
namespace ReaderProcess {

struct Limits
{
    QString program; // empty: this program, started again
    std::chrono::milliseconds time{30000};
    qint64 residentBytes = qint64(512) << 20;
    qint64 outputBytes = qint64(64) << 20;
};

// The argument that starts a program as the reader: program --read-jet <path> <table>...
inline constexpr char Argument[] = "--read-jet";

// When the arguments ask for it, reads the tables and writes them to standard output and gives the exit code;
// otherwise gives -1. Called first thing in main, before any window or application object.
int serveIfAsked(int argc, char **argv);

using Tables = QMap<QString, JetTable>;

// The named tables (letter case ignored) the file holds, read by a child within the limits. The wait runs an
// event loop, so windows stay responsive; cancelled is asked now and then and, when it says so, stops the child.
// A child stopped at a limit (or cancelled) gives TimedOut, one that fails its error, one that dies Damaged.
Result<Tables> read(const QString &path, const QStringList &tables, const Limits &limits = {},
                    const std::function<bool()> &cancelled = {});

} // namespace ReaderProcess
