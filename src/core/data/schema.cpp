#include "data/schema.h"

#include "data/sqlerror.h"

#include <QSqlError>
#include <QSqlQuery>

namespace Schema {

const QList<FirstSite> &firstSites()
{
    // 极影 searches in the code page, so a new file uses both encodings from its first start.
    static const QList<FirstSite> sites = {
        {QStringLiteral("1"), QStringLiteral("极影"), QStringLiteral("http://bt.ktxp.com/search.php?keyword="), 0, {}},
        {QStringLiteral("2"), QStringLiteral("动漫花园"), QStringLiteral("https://share.dmhy.org/topics/list?keyword="),
         1, QStringLiteral("https://share.dmhy.org/topics/rss/rss.xml?keyword=")},
        {QStringLiteral("3"),
         QStringLiteral("Levelup"),
         QStringLiteral("http://www.levelup.cn/search.php?keyword="),
         1,
         {}},
        {QStringLiteral("4"), QStringLiteral("Tokyo Toshokan"),
         QStringLiteral("https://www.tokyotosho.info/search.php?terms="), 1,
         QStringLiteral("https://www.tokyotosho.info/rss.php?terms=")},
    };
    return sites;
}

Done createTables(QSqlDatabase db, bool withFirstSites)
{
    if (!db.transaction())
        return sqlFailure(db.lastError());
    QSqlQuery query(db);
    auto fail = [&](const QSqlError &error) -> Done {
        db.rollback();
        return sqlFailure(error);
    };
    QStringList statements = {
        QStringLiteral("create table %1 (%2 text, %3 text, %4 text, %5 text, %6 text, %7 text)")
            .arg(AD, Column::num, Column::subg, Column::SearchN, Column::Episode, Column::AnimeN, Column::Other)};
    for (const QString &table : SiteTables)
        statements << QStringLiteral("create table %1 (%2 text, %3 text, %4 text, %5 integer, %6 text)")
                          .arg(table, Column::nub, Column::btset, Column::urldata, Column::utf8, Column::rssdata);
    for (const QString &sql : statements) {
        if (!query.exec(sql))
            return fail(query.lastError());
    }
    for (const QString &table : {BuiltIn, Defaults}) {
        for (const FirstSite &site : withFirstSites ? firstSites() : QList<FirstSite>{}) {
            query.prepare(QStringLiteral("insert into %1 (%2) values (?, ?, ?, ?, ?)")
                              .arg(table, SiteColumns.join(QStringLiteral(", "))));
            query.addBindValue(site.nub);
            query.addBindValue(site.btset);
            query.addBindValue(site.urldata);
            query.addBindValue(site.utf8);
            query.addBindValue(site.rssdata);
            if (!query.exec())
                return fail(query.lastError());
        }
    }
    if (!db.commit())
        return fail(db.lastError());
    return {};
}

Done check(QSqlDatabase db)
{
    QSqlQuery query(db);
    auto hasColumns = [&](const QString &table, const QStringList &columns) -> Done {
        // Rows are told apart by their row numbers: a table without them, or with a column of one of their names
        // that hides them, would have one row taken for another.
        if (query.exec(QStringLiteral("pragma table_info(%1)").arg(table))) {
            while (query.next()) {
                const QString name = query.value(1).toString().toLower();
                if (name == QLatin1String("rowid") || name == QLatin1String("_rowid_") || name == QLatin1String("oid"))
                    return failure(ErrorCode::WrongTables, QStringLiteral("%1: a column named %2").arg(table, name));
            }
        }
        // Naming every column proves the table and its columns are there without reading a row.
        if (query.exec(
                QStringLiteral("select rowid, %1 from %2 limit 0").arg(columns.join(QStringLiteral(", ")), table)))
            return {};
        Error why = sqlFailure(query.lastError());
        // A plain statement error here means a table or a column is not there.
        if (why.code == ErrorCode::Failed)
            why.code = ErrorCode::WrongTables;
        why.detail = table + QStringLiteral(": ") + why.detail;
        return why;
    };
    if (Done found = hasColumns(AD, EntryColumns); !found.ok())
        return found;
    for (const QString &table : SiteTables) {
        if (Done found = hasColumns(table, SiteColumns.mid(0, 4)); !found.ok())
            return found;
    }
    // SQLite's quick check of the whole file.
    if (!query.exec(QStringLiteral("pragma quick_check")))
        return sqlFailure(query.lastError());
    QStringList findings;
    while (query.next())
        findings << query.value(0).toString();
    if (findings == QStringList{QStringLiteral("ok")})
        return {};
    return failure(ErrorCode::Damaged, findings.mid(0, 3).join(QLatin1Char('\n')));
}

Done addFeedColumn(QSqlDatabase db)
{
    QSqlQuery query(db);
    for (const QString &table : SiteTables) {
        if (query.exec(QStringLiteral("select %1 from %2 limit 0").arg(Column::rssdata, table)))
            continue;
        if (!query.exec(QStringLiteral("alter table %1 add column %2 text").arg(table, Column::rssdata)))
            return sqlFailure(query.lastError());
    }
    return {};
}

} // namespace Schema
