#pragma once

#include "data/outcome.h"
#include "data/recordset.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>

// The data store: one SQLite file, ad.mdb, in the program's folder, with the watch list (AD) and the search
// sites (bt built-in, xd the user's own, mr the saved default set).
namespace Module1 {

inline constexpr const char *FileName = "ad.mdb";

enum class StartState {
    Opened,   // the file was there and holds the four tables
    Created,  // there was no file: it was made with the first contents
    Unusable, // the file is there but cannot be used; it is left exactly as it is
};

struct StartResult
{
    StartState state = StartState::Unusable;
    QString reason; // why the file cannot be used
};

// Where ad.mdb is: beside the program, or in the user's data folder when the program is an installed copy.
QString databasePath();
// The copy of the last file that opened well, kept beside it at start-up.
QString backupPath();

// Start-up: creates the file with its first contents when there is none, and checks an existing one
// (readable, a database, the four tables with their columns). Nothing is written to an existing file.
StartResult PrepareDatabase();

// Whether start-up found the file usable; when it did not, every open fails with the reason.
bool isUsable();
QString unavailableReason();

// Opens the shared connection; nested opens and closes are counted, so the innermost close leaves it open.
void OpenDatabase();
void CloseDatabase();
bool isOpen();

QSqlDatabase Conn();
// The shared record set, replaced by each new statement and emptied by CloseDatabase.
RecordSet &Rs();

// Runs several changes as one: commit() makes them stand, anything else undoes them all. It holds the file for
// writing from its start, so another copy of the program waits for it (and it for them) rather than failing.
class Transaction
{
public:
    Transaction();
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    bool started() const { return m_started; }
    const QString &error() const { return m_error; }
    Outcome commit();

private:
    bool m_started = false;
    bool m_done = false;
    QString m_error;
};

// Forgets the connection and the start-up state (tests start every case from a fresh folder).
void resetForTesting();
// Tests open the file as if it were write-protected (root ignores file permissions) ...
void setReadOnlyForTesting(bool readOnly);
// ... or run statements on every fresh connection, such as a page limit that makes the disk "fill".
void setAfterOpenForTesting(std::function<void(QSqlDatabase &)> afterOpen);

} // namespace Module1
