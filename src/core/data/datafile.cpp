#include "data/datafile.h"

#include "data/module1.h"
#include "data/programfolder.h"
#include "data/schema.h"
#include "data/sqlerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace DataFile {

namespace {

bool &readOnlyForTesting()
{
    static bool readOnly = false;
    return readOnly;
}

// A connection of its own to a file, for the checks and copies of start-up.
template <typename Work> auto withConnection(const QString &file, Work &&work)
{
    const QString name = QStringLiteral("korvane-start");
    auto result = [&] {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        return work(db);
    }();
    QSqlDatabase::removeDatabase(name);
    return result;
}

Done createWithFirstContents(const QString &file)
{
    // Built beside the real name and renamed into place once complete, so there is never half a file.
    const QString building = file + QStringLiteral(".new");
    QFile::remove(building);
    Done made = withConnection(building, [](QSqlDatabase &db) -> Done {
        if (!db.open())
            return sqlFailure(db.lastError());
        Done created = Schema::createTables(db);
        db.close();
        return created;
    });
    if (made.ok() && !QFile::rename(building, file))
        made = failure(ErrorCode::Failed, QStringLiteral("cannot rename %1 to %2").arg(building, file));
    if (!made.ok())
        QFile::remove(building);
    return made;
}

// A consistent copy of the file as it is now, written beside it and renamed into place when complete.
void keepBackup(QSqlDatabase &db, const QString &file, const QString &backup)
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
            copied = QFile::copy(file, building);
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

// Whether the file at hand can serve as ad.mdb: nothing but its backup is written.
Done check(const QString &file, bool existed)
{
    return withConnection(file, [&](QSqlDatabase &db) -> Done {
        // Read-write even for the check: a change a crash left half done is rolled back on opening.
        db.setDatabaseName(QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded) +
                           (readOnlyForTesting() ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw")));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(Module1::busyTimeoutMs()));
        if (!db.open())
            return sqlFailure(db.lastError());
        Done sound = Schema::check(db);
        // Only a file that passed the check replaces the last good copy, kept as it was before the feed column.
        if (sound.ok() && existed)
            keepBackup(db, file, file + QStringLiteral(".bak"));
        if (sound.ok())
            sound = Schema::addFeedColumn(db);
        db.close();
        return sound;
    });
}

} // namespace

QString path()
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
    return path() + QStringLiteral(".bak");
}

Result<Start> prepare()
{
    const QString file = path();
    QDir().mkpath(QFileInfo(file).absolutePath());
    const QFileInfo info(file);
    const bool existed = info.exists() || info.isSymLink();
    Done usable;
    if (!existed)
        usable = createWithFirstContents(file);
    else if (info.isDir())
        usable = failure(ErrorCode::Folder, QStringLiteral("%1 is a folder").arg(file));
    else if (!info.isReadable())
        usable = failure(ErrorCode::ReadOnly, QStringLiteral("%1 cannot be read").arg(file));
    if (usable.ok())
        usable = check(file, existed);
    if (!usable.ok()) {
        Module1::refuseFile(usable.error());
        return usable.error();
    }
    Module1::useFile(file, readOnlyForTesting());
    return existed ? Start::Opened : Start::Created;
}

void setReadOnlyForTesting(bool readOnly)
{
    readOnlyForTesting() = readOnly;
}

} // namespace DataFile
