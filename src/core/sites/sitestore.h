#pragma once

#include "data/outcome.h"
#include "data/recordset.h"

#include <QList>
#include <QString>
#include <QStringList>

// The changes the site settings window makes to bt, xd and mr. A site is found by its name (btset), compared
// exactly; every value is bound, never pasted into a statement.
namespace SiteStore {

// A site as the window's fields hold it.
struct Site
{
    QString nub;
    QString btset;
    QString urldata;
    bool utf8 = false;
};

// One stored row, each column's value exactly as it was read (no value stays no value).
using StoredRow = QList<FieldValue>;

// Whether a row of the table has the name; a table that cannot be read fails.
Outcome contains(const QString &table, const QString &name, bool &found);

// Adds the site as a new row at the end of the table.
Outcome add(const QString &table, const Site &site);

// In every table, the first row under the site's name is deleted and the site added at the end, all in one
// transaction: a table without the name, or any failing step, leaves every table as it was.
Outcome replace(const QStringList &tables, const Site &site);

// Deletes the first row with the name; when there is none, nothing changes and removed is false.
Outcome removeFirst(const QString &table, const QString &name, bool &removed);

// The rows of a site table in display order.
Outcome readRows(const QString &table, QList<StoredRow> &rows);

// The table then holds exactly these rows, in this order; all or nothing.
Outcome rewrite(const QString &table, const QList<StoredRow> &rows);

} // namespace SiteStore
