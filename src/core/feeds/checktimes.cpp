#include "feeds/checktimes.h"

#include "data/module1.h"
#include "data/schema.h"
#include "data/sqlerror.h"

#include <QSqlError>
#include <QSqlQuery>

using namespace Schema::Column;

namespace CheckTimes {

Result<QHash<QString, QDateTime>> read()
{
    Module1::Opened opened;
    QSqlDatabase db = Module1::Conn();
    if (!db.isOpen())
        return Module1::unavailable();
    QHash<QString, QDateTime> times;
    if (!db.tables().contains(Schema::FeedChecks))
        return times;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("select %1, %2 from %3").arg(SearchN, checkedAt, Schema::FeedChecks)))
        return sqlFailure(query.lastError());
    while (query.next()) {
        const QDateTime at = QDateTime::fromString(query.value(1).toString(), Qt::ISODate);
        if (at.isValid())
            times.insert(query.value(0).toString(), at.toUTC());
    }
    return times;
}

Done write(const QStringList &names, const QDateTime &at)
{
    if (names.isEmpty())
        return {};
    Module1::Opened opened;
    Module1::Transaction writing;
    if (!writing.started())
        return writing.started();
    QSqlQuery query(Module1::Conn());
    if (!query.exec(QStringLiteral("create table if not exists %1 (%2 text primary key, %3 text)")
                        .arg(Schema::FeedChecks, SearchN, checkedAt)))
        return sqlFailure(query.lastError());
    if (!query.prepare(QStringLiteral("insert or replace into %1 (%2, %3) values (?, ?)")
                           .arg(Schema::FeedChecks, SearchN, checkedAt)))
        return sqlFailure(query.lastError());
    const QString when = at.toUTC().toString(Qt::ISODateWithMs);
    for (const QString &name : names) {
        query.addBindValue(name);
        query.addBindValue(when);
        if (!query.exec())
            return sqlFailure(query.lastError());
    }
    return writing.commit();
}

} // namespace CheckTimes
