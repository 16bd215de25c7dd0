#include "data/schema.h"

#include <QSqlError>
#include <QSqlQuery>

namespace Schema {

const QList<BuiltInSite> &firstSites()
{
    // 极影 searches in the code page, so a new file uses both encodings from its first start.
    static const QList<BuiltInSite> sites = {
        {QStringLiteral("1"), QStringLiteral("极影"), QStringLiteral("http://bt.ktxp.com/search.php?keyword="), 0},
        {QStringLiteral("2"), QStringLiteral("动漫花园"), QStringLiteral("https://share.dmhy.org/topics/list?keyword="),
         1},
        {QStringLiteral("3"), QStringLiteral("Levelup"), QStringLiteral("http://www.levelup.cn/search.php?keyword="),
         1},
        {QStringLiteral("4"), QStringLiteral("Tokyo Toshokan"),
         QStringLiteral("https://www.tokyotosho.info/search.php?terms="), 1},
    };
    return sites;
}

Outcome createTables(QSqlDatabase db, bool withFirstSites)
{
    if (!db.transaction())
        return Outcome::failed(db.lastError().text());
    QSqlQuery query(db);
    auto fail = [&](const QSqlError &error) {
        db.rollback();
        return Outcome::failed(error.text());
    };
    const QStringList tables = {
        QStringLiteral("create table AD (num text, subg text, SearchN text, Episode text, AnimeN text, Other text)"),
        QStringLiteral("create table bt (nub text, btset text, urldata text, utf8 integer)"),
        QStringLiteral("create table xd (nub text, btset text, urldata text, utf8 integer)"),
        QStringLiteral("create table mr (nub text, btset text, urldata text, utf8 integer)"),
    };
    for (const QString &sql : tables) {
        if (!query.exec(sql))
            return fail(query.lastError());
    }
    if (withFirstSites) {
        for (const QString &table : {QStringLiteral("bt"), QStringLiteral("mr")}) {
            for (const BuiltInSite &site : firstSites()) {
                query.prepare(QStringLiteral("insert into ") + table +
                              QStringLiteral(" (nub, btset, urldata, utf8) values (?, ?, ?, ?)"));
                query.addBindValue(site.nub);
                query.addBindValue(site.btset);
                query.addBindValue(site.urldata);
                query.addBindValue(site.utf8);
                if (!query.exec())
                    return fail(query.lastError());
            }
        }
    }
    if (!db.commit())
        return fail(db.lastError());
    return Outcome::done();
}

QString problem(QSqlDatabase db)
{
    QSqlQuery query(db);
    auto check = [&](const QString &table, const QStringList &columns) -> QString {
        // Naming every column proves the table and its columns are there without reading a row.
        const QString sql = QStringLiteral("select ") + columns.join(QStringLiteral(", ")) + QStringLiteral(" from ") +
                            table + QStringLiteral(" limit 0");
        if (!query.exec(sql))
            return QStringLiteral("%1: %2").arg(table, query.lastError().databaseText());
        return {};
    };
    if (QString why = check(QStringLiteral("AD"), EntryColumns); !why.isEmpty())
        return why;
    for (const QString &table : SiteTables) {
        if (QString why = check(table, SiteColumns); !why.isEmpty())
            return why;
    }
    return {};
}

QString damage(QSqlDatabase db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("pragma quick_check")))
        return query.lastError().databaseText();
    QStringList findings;
    while (query.next())
        findings << query.value(0).toString();
    if (findings == QStringList{QStringLiteral("ok")})
        return {};
    return findings.mid(0, 3).join(QLatin1Char('\n'));
}

} // namespace Schema
