#include "data/settings.h"

#include "data/module1.h"
#include "data/sqlerror.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace Settings {

namespace {
const QString Table = QStringLiteral("settings");
} // namespace

Result<QString> read(const QString &name, const QString &byDefault)
{
    Module1::Opened opened;
    QSqlDatabase db = Module1::Conn();
    if (!db.isOpen())
        return Module1::unavailable();
    if (!db.tables().contains(Table))
        return byDefault;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("select value from %1 where name = ?").arg(Table));
    query.addBindValue(name);
    if (!query.exec())
        return sqlFailure(query.lastError());
    return query.next() ? query.value(0).toString() : byDefault;
}

QString readBeforeStart(const QString &path, const QString &name)
{
    if (!QFileInfo(path).isFile())
        return {};
    const QString connection = QStringLiteral("korvane-before-start");
    QString value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=200"));
        if (db.open() && db.tables().contains(Table)) {
            QSqlQuery query(db);
            query.prepare(QStringLiteral("select value from %1 where name = ?").arg(Table));
            query.addBindValue(name);
            if (query.exec() && query.next())
                value = query.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return value;
}

Done write(const QString &name, const QString &value)
{
    Module1::Opened opened;
    Module1::Transaction writing;
    if (!writing.started())
        return writing.started();
    QSqlQuery query(Module1::Conn());
    if (!query.exec(QStringLiteral("create table if not exists %1 (name text primary key, value text)").arg(Table)))
        return sqlFailure(query.lastError());
    query.prepare(QStringLiteral("insert or replace into %1 (name, value) values (?, ?)").arg(Table));
    query.addBindValue(name);
    query.addBindValue(value);
    if (!query.exec())
        return sqlFailure(query.lastError());
    return writing.commit();
}

} // namespace Settings
