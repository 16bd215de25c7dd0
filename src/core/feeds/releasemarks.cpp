#include "feeds/releasemarks.h"

#include "data/module1.h"
#include "data/schema.h"
#include "data/sqlerror.h"
#include "search/searchwords.h"

#include <QDateTime>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

namespace ReleaseMarks {

namespace {

const QString Announced = QStringLiteral("announced");
const QString Seen = QStringLiteral("seen");

Done makeTables(QSqlQuery &query)
{
    for (const QString &sql :
         {QStringLiteral("create table if not exists %1 (release text primary key, SearchN text, episode integer, "
                         "at text)")
              .arg(Announced),
          QStringLiteral("create table if not exists %1 (release text primary key, at text)").arg(Seen)}) {
        if (!query.exec(sql))
            return sqlFailure(query.lastError());
    }
    return {};
}

bool hasTables()
{
    const QStringList tables = Module1::Conn().tables();
    return tables.contains(Announced) && tables.contains(Seen);
}

QString now()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
}

} // namespace

QString keyOf(const Release &release)
{
    return release.infoHash.isEmpty() ? QStringLiteral("title:") + release.title.trimmed().toCaseFolded()
                                      : QStringLiteral("btih:") + release.infoHash.toLower();
}

Result<QList<Found>> announce(const QList<Found> &found)
{
    if (found.isEmpty())
        return QList<Found>{};
    Module1::Opened opened;
    Module1::Transaction writing;
    if (!writing.started())
        return writing.started().error();
    QSqlQuery query(Module1::Conn());
    if (Done made = makeTables(query); !made)
        return made.error();
    query.prepare(
        QStringLiteral("insert or ignore into %1 (release, SearchN, episode, at) values (?, ?, ?, ?)").arg(Announced));
    QList<Found> fresh;
    const QString at = now();
    for (const Found &f : found) {
        query.addBindValue(f.key);
        query.addBindValue(f.SearchN);
        query.addBindValue(f.episode);
        query.addBindValue(at);
        if (!query.exec())
            return sqlFailure(query.lastError());
        if (query.numRowsAffected() > 0)
            fresh << f;
    }
    if (Done committed = writing.commit(); !committed)
        return committed.error();
    return fresh;
}

Result<QSet<QString>> seen(const QStringList &keys)
{
    Module1::Opened opened;
    if (!Module1::Conn().isOpen())
        return Module1::unavailable();
    QSet<QString> found;
    if (keys.isEmpty() || !hasTables())
        return found;
    QSqlQuery query(Module1::Conn());
    query.prepare(QStringLiteral("select 1 from %1 where release = ?").arg(Seen));
    for (const QString &key : keys) {
        query.addBindValue(key);
        if (!query.exec())
            return sqlFailure(query.lastError());
        if (query.next())
            found.insert(key);
    }
    return found;
}

Done markSeen(const QStringList &keys)
{
    if (keys.isEmpty())
        return {};
    Module1::Opened opened;
    Module1::Transaction writing;
    if (!writing.started())
        return writing.started();
    QSqlQuery query(Module1::Conn());
    if (Done made = makeTables(query); !made)
        return made;
    query.prepare(QStringLiteral("insert or ignore into %1 (release, at) values (?, ?)").arg(Seen));
    const QString at = now();
    for (const QString &key : keys) {
        query.addBindValue(key);
        query.addBindValue(at);
        if (!query.exec())
            return sqlFailure(query.lastError());
    }
    return writing.commit();
}

Result<QSet<qint64>> rowsWithUnseen()
{
    Module1::Opened opened;
    if (!Module1::Conn().isOpen())
        return Module1::unavailable();
    QSet<qint64> rows;
    if (!hasTables())
        return rows;
    // The episodes each search name has a release unseen for, then the entries waiting for one of them.
    QSqlQuery query(Module1::Conn());
    if (!query.exec(QStringLiteral("select distinct a.SearchN, a.episode, e.rowid, e.%1 from %2 a join %3 e on "
                                   "e.%4 = a.SearchN where a.release not in (select release from %5)")
                        .arg(Schema::Column::Episode, Announced, Schema::AD, Schema::Column::SearchN, Seen)))
        return sqlFailure(query.lastError());
    while (query.next()) {
        bool number = false;
        const qint64 next = nextEpisodeText(query.value(3)).value_or(QString()).toLongLong(&number);
        if (number && next == query.value(1).toLongLong())
            rows.insert(query.value(2).toLongLong());
    }
    return rows;
}

} // namespace ReleaseMarks
