#pragma once

#include "result.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

// One row of bt, xd or mr.
struct SearchSite
{
    qint64 rowId = -1;
    QString nub;              // display order
    QString btset;            // name
    bool btsetIsNull = false; // the row has no name (such a row is listed nowhere)
    QString urldata;          // the search address up to the search words
    QVariant utf8;            // 1: the words in UTF-8, 0: in the code page; null when the row holds no value
    QString rssdata;          // the feed address up to the search words; empty when the site has no feed
};

namespace Sites {

// These names always mean the built-in sites (bt), even when a custom site carries the same name.
const QStringList &builtInNames();
bool isBuiltInName(const QString &name);

} // namespace Sites

// The search sites in bt, xd and mr. A site is found by its name (btset), compared exactly; every value is
// bound, never pasted into a statement. Every change that can go half-way is one transaction.
namespace SiteStore {

// The rows of a site table in display order: numbers by their value, then any other text, equal orders in
// stored order.
Result<std::vector<SearchSite>> list(const QString &table);

// The first row with the name; NotFound when there is none.
Result<SearchSite> find(const QString &table, const QString &name);

// Adds the site at the end of the table; Duplicate when a site of the table has its name.
Done add(const QString &table, const SearchSite &site);

// In every table, the first row under the site's name is deleted and the site added at the end, all in one
// transaction: a table without the name (NotFound), or any failing step, leaves every table as it was.
Done replace(const QStringList &tables, const SearchSite &site);

// Deletes the first row with the name; none is no failure.
Done remove(const QString &table, const QString &name);

// The built-in sites become the saved default set, row for row in display order, all or nothing; NotFound when
// the default set is empty, which would leave no built-in site at all.
Done restoreDefaults();

} // namespace SiteStore
