#include "data/module1.h"

#include "data/schema.h"
#include "data/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    QString reason;
    int depth = 0;
    RecordSet *rs = nullptr;
};

struct TestHooks
{
    bool readOnly = false;
    std::function<void(QSqlDatabase &)> afterOpen;
};

TestHooks &testHooks()
{
    static TestHooks h;
    return h;
}

State &state()
{
    static State s;
    return s;
}

// SQLite opens the file by URI so that a file that has gone missing is not silently made anew, empty.
QString uriFor(const QString &path, const char *mode)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=") +
           QString::fromLatin1(mode);
}

QSqlDatabase connectionFor(const QString &name, const QString &path, const char *mode)
{
    QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                   : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(uriFor(path, mode));
    // A file another copy of the program is writing is waited for briefly rather than failed.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=3000"));
    return db;
}

Outcome createWithFirstContents(const QString &path)
{
    // Built beside the real name and renamed into place once complete, so there is never half a file.
    const QString building = path + QStringLiteral(".new");
    QFile::remove(building);
    const QString name = QStringLiteral("korvane-create");
    Outcome result;
    {
        QSqlDatabase db = connectionFor(name, building, "rwc");
        if (!db.open()) {
            result = Outcome::failed(db.lastError().text());
        } else {
            result = Schema::createTables(db);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (result.ok() && !QFile::rename(building, path))
        result = Outcome::failed(QStringLiteral("cannot rename %1 to %2").arg(building, path));
    if (!result.ok())
        QFile::remove(building);
    return result;
}

// A consistent copy of the file as it is now, written beside it and renamed into place when complete.
void keepBackup(QSqlDatabase &db, const QString &path, const QString &backup)
{
    const QString building = backup + QStringLiteral(".new");
    QFile::remove(building);
    QSqlQuery query(db);
    query.exec(QStringLiteral("pragma journal_mode"));
    const bool rollbackJournal =
        query.next() && query.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0;
    bool copied = false;
    if (rollbackJournal) {
        // While this connection reads, no other can finish a change: the bytes of the file are a whole database.
        // Copying them is far quicker than having SQLite write a new file.
        if (query.exec(QStringLiteral("begin")) && query.exec(QStringLiteral("select count(*) from sqlite_master")) &&
            query.next()) {
            query.finish();
            copied = QFile::copy(path, building);
        }
        query.exec(QStringLiteral("rollback"));
    } else {
        // A file kept with a write-ahead log has part of its contents beside it: let SQLite write the copy.
        query.prepare(QStringLiteral("vacuum into ?"));
        query.addBindValue(building);
        copied = query.exec();
    }
    if (!copied) {
        QFile::remove(building);
        return;
    }
    QFile::remove(backup);
    QFile::rename(building, backup);
}

} // namespace

QString databasePath()
{
    const QString fileName = QString::fromLatin1(FileName);
    const QString beside = QDir(ProgramFolder::path()).filePath(fileName);
    // A file beside the program always wins (a portable copy, a build folder); so does a program folder we can
    // write, unless it is the folder the program was installed into.
    if (QFileInfo::exists(beside) || QFileInfo(beside).isSymLink())
        return beside;
    if (!ProgramFolder::isInstalledCopy() && QFileInfo(ProgramFolder::path()).isWritable())
        return beside;
    return QDir(ProgramFolder::userDataFolder()).filePath(fileName);
}

QString backupPath()
{
    return databasePath() + QStringLiteral(".bak");
}

StartResult PrepareDatabase()
{
    State &s = state();
    if (s.depth > 0) {
        s.depth = 1;
        CloseDatabase();
    }
    s.prepared = true;
    s.usable = false;
    s.reason.clear();

    const QString path = databasePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QFileInfo info(path);
    StartResult result;
    if (!info.exists() && !info.isSymLink()) {
        const Outcome created = createWithFirstContents(path);
        if (!created.ok()) {
            s.reason = created.error;
            return {StartState::Unusable, s.reason};
        }
        result.state = StartState::Created;
    } else if (info.isDir()) {
        s.reason = QStringLiteral("it is a folder, not a file");
        return {StartState::Unusable, s.reason};
    } else if (!info.isReadable()) {
        s.reason = QStringLiteral("the file cannot be read");
        return {StartState::Unusable, s.reason};
    } else {
        result.state = StartState::Opened;
    }

    QSqlDatabase db = connectionFor(ConnectionName, path, testHooks().readOnly ? "ro" : "rw");
    if (!db.open()) {
        s.reason = db.lastError().text();
        return {StartState::Unusable, s.reason};
    }
    QString problem = Schema::problem(db);
    if (problem.isEmpty() && result.state == StartState::Opened) {
        problem = Schema::damage(db);
        // Only a file that passed the check replaces the last good copy.
        if (problem.isEmpty())
            keepBackup(db, path, path + QStringLiteral(".bak"));
    }
    db.close();
    if (!problem.isEmpty()) {
        s.reason = problem;
        return {StartState::Unusable, s.reason};
    }
    s.usable = true;
    return result;
}

bool isUsable()
{
    return state().usable;
}

QString unavailableReason()
{
    const State &s = state();
    if (!s.prepared)
        return QStringLiteral("the database has not been opened");
    if (!s.usable)
        return s.reason;
    return QStringLiteral("the database is not open");
}

void OpenDatabase()
{
    State &s = state();
    if (!s.prepared)
        PrepareDatabase();
    if (++s.depth > 1)
        return;
    if (!s.usable)
        return;
    QSqlDatabase db = QSqlDatabase::database(ConnectionName, false);
    if (!db.open())
        s.reason = db.lastError().text();
    else if (testHooks().afterOpen)
        testHooks().afterOpen(db);
}

void CloseDatabase()
{
    State &s = state();
    if (s.depth == 0)
        return;
    if (--s.depth > 0)
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

Transaction::Transaction()
{
    QSqlDatabase db = Conn();
    if (!db.isOpen()) {
        m_error = unavailableReason();
        return;
    }
    // The write lock is taken at the start, and waited for while another copy holds it. Taken only at the first
    // write, after a read, SQLite would refuse it at once instead of waiting, since two writers that each hold
    // what the other needs cannot both wait.
    QSqlQuery begin(db);
    m_started = begin.exec(QStringLiteral("begin immediate"));
    if (!m_started)
        m_error = begin.lastError().text();
}

Transaction::~Transaction()
{
    if (m_started && !m_done)
        Conn().rollback();
}

Outcome Transaction::commit()
{
    if (!m_started)
        return Outcome::failed(m_error);
    m_done = true;
    QSqlDatabase db = Conn();
    if (!db.commit()) {
        const QString why = db.lastError().text();
        db.rollback();
        return Outcome::failed(why);
    }
    return Outcome::done();
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
    testHooks() = TestHooks{};
}

void setReadOnlyForTesting(bool readOnly)
{
    testHooks().readOnly = readOnly;
}

void setAfterOpenForTesting(std::function<void(QSqlDatabase &)> afterOpen)
{
    testHooks().afterOpen = std::move(afterOpen);
}

} // namespace Module1
