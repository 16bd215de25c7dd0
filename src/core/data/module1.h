#pragma once

#include "data/recordset.h"
#include "result.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>

// The shared connection to ad.mdb and the shared record set. Start-up (datafile.h) says whether the file can be
// used; until it has, the first open runs it.
namespace Module1 {

// Opens the shared connection; nested opens and closes are counted, so the innermost close leaves it open.
void OpenDatabase();
void CloseDatabase();
bool isOpen();

// The connection open for as long as this lives: every handler that touches the data holds one.
class Opened
{
public:
    Opened() { OpenDatabase(); }
    ~Opened() { CloseDatabase(); }
    Opened(const Opened &) = delete;
    Opened &operator=(const Opened &) = delete;
};

QSqlDatabase Conn();
// The shared record set, replaced by each new statement and emptied by CloseDatabase.
RecordSet &Rs();

// Why nothing can be read or written now; the start-up error when the file is unusable.
Error unavailable();

// Start-up's verdict: the file at this path can be used (read-only when asked), or it cannot, for this reason.
void useFile(const QString &path, bool readOnly);
void refuseFile(const Error &why);
bool isUsable();
bool isPrepared();

// Runs several changes as one: commit() makes them stand, anything else undoes them all. It holds the file for
// writing from its start, so another copy of the program waits for it (and it for them) rather than failing.
class Transaction
{
public:
    Transaction();
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    const Done &started() const { return m_started; }
    Done commit();

private:
    Done m_started;
    bool m_done = false;
};

// Forgets the connection and the start-up state (tests start every case from a fresh folder).
void resetForTesting();
// Runs statements on every fresh connection, such as a page limit that makes the disk "fill".
void setAfterOpenForTesting(std::function<void(QSqlDatabase &)> afterOpen);
// How long a file another program holds is waited for; tests wait less.
int busyTimeoutMs();
void setBusyTimeoutForTesting(int ms);

} // namespace Module1
