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
#include <QTemporaryFile>
#include <QUrl>

#include <cerrno>
#include <unistd.h>

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

// Makes the file with its first contents. Built under a name of its own and put in place only when complete, and
// never over a file that appeared meanwhile: another copy of the program started at the same moment may have made
// it first, and then that one is used. False in made when the other copy's file is the one there.
Done createWithFirstContents(const QString &file, bool &made)
{
    made = false;
    QTemporaryFile building(file + QStringLiteral(".XXXXXX.new"));
    if (!building.open())
        return failure(ErrorCode::Unwritable,
                       QStringLiteral("%1: %2").arg(building.fileTemplate(), building.errorString()));
    building.close();
    Done created = withConnection(building.fileName(), [](QSqlDatabase &db) -> Done {
        if (!db.open())
            return sqlFailure(db.lastError());
        Done result = Schema::createTables(db);
        db.close();
        return result;
    });
    if (!created)
        return created;
    const QByteArray from = QFile::encodeName(building.fileName());
    const QByteArray to = QFile::encodeName(file);
    // A second name for the finished file, which fails rather than replace one that is there.
    if (::link(from.constData(), to.constData()) == 0) {
        made = true;
        return {};
    }
    if (errno == EEXIST)
        return {};
    // A folder that cannot hold a second name (a FAT stick): a rename, unless the file has appeared.
    if (!QFileInfo::exists(file) && QFile::rename(building.fileName(), file)) {
        made = true;
        return {};
    }
    return QFileInfo::exists(file) ? Done()
                                   : failure(ErrorCode::Unwritable, QStringLiteral("cannot make %1").arg(file));
}

// Whether the backup already holds the file as it is now: written after the file's last change, of its size, and
// with its header, which holds the counter SQLite moves on with every change it commits.
bool backupIsCurrent(const QString &file, const QString &backup)
{
    const QFileInfo was(backup), is(file);
    QFile a(file), b(backup);
    return was.isFile() && was.size() == is.size() && was.lastModified() > is.lastModified() &&
           a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly) && a.read(100) == b.read(100);
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
        // Copying them is far quicker than having SQLite write a new file, and needless when the backup has them.
        if (query.exec(QStringLiteral("begin")) && query.exec(QStringLiteral("select count(*) from sqlite_master")) &&
            query.next()) {
            query.finish();
            if (backupIsCurrent(file, backup)) {
                query.exec(QStringLiteral("rollback"));
                return;
            }
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
    // Something else in the backup's place (a folder) is left alone, and so is nothing beside it.
    QFile::remove(backup);
    if (!QFile::rename(building, backup))
        QFile::remove(building);
}

// Whether the file at hand can serve as ad.mdb: nothing but its backup is written.
Done check(const QString &file, bool existed, int busyWaitMs)
{
    return withConnection(file, [&](QSqlDatabase &db) -> Done {
        // Read-write even for the check: a change a crash left half done is rolled back on opening.
        db.setDatabaseName(QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded) +
                           (readOnlyForTesting() ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw")));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyWaitMs));
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
    // Clean, so that a home folder of "/" does not make "//.local/share/...".
    return QDir::cleanPath(QDir(ProgramFolder::userDataFolder()).filePath(fileName));
}

QString backupPath()
{
    return path() + QStringLiteral(".bak");
}

Result<Start> prepare(int busyWaitMs)
{
    const QString file = path();
    const QFileInfo info(file);
    if (!info.exists() && !QDir().mkpath(info.absolutePath())) {
        const Error why =
            failure(ErrorCode::Unwritable, QStringLiteral("cannot make the folder %1").arg(info.absolutePath()));
        Module1::refuseFile(why);
        return why;
    }
    const bool existed = info.exists() || info.isSymLink();
    Done usable;
    bool made = false;
    if (!existed)
        usable = createWithFirstContents(file, made);
    else if (info.isDir())
        usable = failure(ErrorCode::Folder, QStringLiteral("%1 is a folder").arg(file));
    else if (!info.isReadable())
        usable = failure(ErrorCode::ReadOnly, QStringLiteral("%1 cannot be read").arg(file));
    if (usable.ok())
        usable = check(file, !made, busyWaitMs < 0 ? Module1::busyTimeoutMs() : busyWaitMs);
    if (!usable.ok()) {
        Module1::refuseFile(usable.error());
        return usable.error();
    }
    Module1::useFile(file, readOnlyForTesting());
    return made ? Start::Created : Start::Opened;
}

void setReadOnlyForTesting(bool readOnly)
{
    readOnlyForTesting() = readOnly;
}

} // namespace DataFile
