#pragma once

#include "result.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The four tables of ad.mdb, their columns and what a new file holds. Every name is written here once.
namespace Schema {

inline const QString AD = QStringLiteral("AD");       // the watch list
inline const QString BuiltIn = QStringLiteral("bt");  // the built-in sites
inline const QString Custom = QStringLiteral("xd");   // the user's own sites
inline const QString Defaults = QStringLiteral("mr"); // the saved default set of the built-in sites
// Ours alone, made when first written: when each entry's feeds were last checked, by its search name.
inline const QString FeedChecks = QStringLiteral("feedchecks");

namespace Column {
inline const QString num = QStringLiteral("num");
inline const QString subg = QStringLiteral("subg");
inline const QString SearchN = QStringLiteral("SearchN");
inline const QString Episode = QStringLiteral("Episode");
inline const QString AnimeN = QStringLiteral("AnimeN");
inline const QString Other = QStringLiteral("Other");
inline const QString nub = QStringLiteral("nub");
inline const QString btset = QStringLiteral("btset");
inline const QString urldata = QStringLiteral("urldata");
inline const QString utf8 = QStringLiteral("utf8");
inline const QString rssdata = QStringLiteral("rssdata");     // the feed address, up to the search words; empty: none
inline const QString checkedAt = QStringLiteral("checkedAt"); // UTC, ISO 8601
} // namespace Column

// The columns of AD in the order of the edit fields, and of a site table.
inline const QStringList EntryColumns = {Column::num,     Column::subg,   Column::SearchN,
                                         Column::Episode, Column::AnimeN, Column::Other};
inline const QStringList SiteColumns = {Column::nub, Column::btset, Column::urldata, Column::utf8, Column::rssdata};
inline const QStringList SiteTables = {BuiltIn, Custom, Defaults};

struct FirstSite
{
    QString nub;
    QString btset;
    QString urldata;
    int utf8;
    QString rssdata;
};

// The sites a new file starts with, in bt and as the saved default set in mr.
const QList<FirstSite> &firstSites();

// Creates the four tables (and the first sites in bt and mr) in an open, empty database, in one transaction.
Done createTables(QSqlDatabase db, bool withFirstSites = true);

// Whether the open database can serve as ad.mdb: the four tables with their columns (a file of the earlier
// program has no feed column yet), and a sound file.
Done check(QSqlDatabase db);

// Gives the site tables of a file that has none the feed column, empty; no row is touched.
Done addFeedColumn(QSqlDatabase db);

} // namespace Schema
