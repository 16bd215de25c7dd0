#pragma once

#include "data/outcome.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The four tables of ad.mdb and what a new file holds.
namespace Schema {

inline const QStringList EntryColumns = {QStringLiteral("num"),     QStringLiteral("subg"),   QStringLiteral("SearchN"),
                                         QStringLiteral("Episode"), QStringLiteral("AnimeN"), QStringLiteral("Other")};
inline const QStringList SiteColumns = {QStringLiteral("nub"), QStringLiteral("btset"), QStringLiteral("urldata"),
                                        QStringLiteral("utf8")};
inline const QStringList SiteTables = {QStringLiteral("bt"), QStringLiteral("xd"), QStringLiteral("mr")};

struct BuiltInSite
{
    QString nub;
    QString btset;
    QString urldata;
    int utf8;
};

// The sites a new file starts with, in bt and as the saved default set in mr.
const QList<BuiltInSite> &firstSites();

// Creates the four tables (and the first sites in bt and mr) in an open, empty database, in one transaction.
Outcome createTables(QSqlDatabase db, bool withFirstSites = true);

// Why the open database cannot serve as ad.mdb; empty when it can.
QString problem(QSqlDatabase db);
// SQLite's quick check of the whole file: empty when it is sound.
QString damage(QSqlDatabase db);

} // namespace Schema
