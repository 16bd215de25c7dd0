#include "data/module1.h"

#include "data/datafile.h"
#include "data/sqlerror.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace Module1 {

namespace {

const QString ConnectionName = QStringLiteral("korvane");

struct State
{
    bool prepared = false;
    bool usable = false;
    Error unusable;
    int depth = 0;
    RecordSet *rs = nullptr;
    std::function<void(QSqlDatabase &)> afterOpen;
    int busyTimeoutMs = 3000;
};

State &state()
{
    static State s;
    return s;
}

} // namespace

void OpenDatabase()
{
    State &s = state();
    if (!s.prepared)
        (void)DataFile::prepare();
    if (++s.depth > 1 || !s.usable)
        return;
    QSqlDatabase db = QSqlDatabase::database(ConnectionName, false);
    if (db.open() && s.afterOpen)
        s.afterOpen(db);
}

void CloseDatabase()
{
    State &s = state();
    if (s.depth == 0 || --s.depth > 0)
        return;
    delete s.rs;
    s.rs = nullptr;
    if (QSqlDatabase::contains(ConnectionName))
        QSqlDatabase::database(ConnectionName, false).close();
}

bool isOpen()
{
    return QSqlDatabase::contains(ConnectionName) && QSqlDatabase::database(ConnectionName, false).isOpen();
}

QSqlDatabase Conn()
{
    if (!QSqlDatabase::contains(ConnectionName))
        return QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), ConnectionName);
    return QSqlDatabase::database(ConnectionName, false);
}

RecordSet &Rs()
{
    State &s = state();
    if (!s.rs)
        s.rs = new RecordSet(Conn());
    return *s.rs;
}

Error unavailable()
{
    const State &s = state();
    if (s.prepared && !s.usable)
        return s.unusable;
    const QSqlError why = Conn().lastError();
    if (why.isValid())
        return sqlFailure(why);
    return failure(ErrorCode::Failed, QStringLiteral("the database is not open"));
}

void useFile(const QString &path, bool readOnly)
{
    State &s = state();
    if (s.depth > 0) {
        s.depth = 1;
        CloseDatabase();
    }
    QSqlDatabase db = Conn();
    // By URI, so that a file that has gone missing is not silently made anew, empty.
    db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                       (readOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw")));
    // A file another copy of the program is writing is waited for briefly rather than failed.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(s.busyTimeoutMs));
    s.prepared = true;
    s.usable = true;
    s.unusable = {};
}

void refuseFile(const Error &why)
{
    State &s = state();
    s.prepared = true;
    s.usable = false;
    s.unusable = why;
}

bool isUsable()
{
    return state().usable;
}

bool isPrepared()
{
    return state().prepared;
}

Transaction::Transaction()
{
    QSqlDatabase db = Conn();
    if (!db.isOpen()) {
        m_started = unavailable();
        return;
    }
    // The write lock is taken at the start, and waited for while another copy holds it. Taken only at the first
    // write, after a read, SQLite would refuse it at once instead of waiting, since two writers that each hold
    // what the other needs cannot both wait.
    QSqlQuery begin(db);
    if (!begin.exec(QStringLiteral("begin immediate")))
        m_started = sqlFailure(begin.lastError());
}

Transaction::~Transaction()
{
    if (m_started.ok() && !m_done)
        Conn().rollback();
}

Done Transaction::commit()
{
    if (!m_started.ok())
        return m_started;
    m_done = true;
    QSqlDatabase db = Conn();
    if (!db.commit()) {
        const Error why = sqlFailure(db.lastError());
        db.rollback();
        return why;
    }
    return {};
}

void resetForTesting()
{
    State &s = state();
    delete s.rs;
    s.rs = nullptr;
    if (QSqlDatabase::contains(ConnectionName)) {
        QSqlDatabase::database(ConnectionName, false).close();
        QSqlDatabase::removeDatabase(ConnectionName);
    }
    s = State{};
}

void setAfterOpenForTesting(std::function<void(QSqlDatabase &)> afterOpen)
{
    state().afterOpen = std::move(afterOpen);
}

int busyTimeoutMs()
{
    return state().busyTimeoutMs;
}

void setBusyTimeoutForTesting(int ms)
{
    state().busyTimeoutMs = ms;
}

} // namespace Module1
