#include "sites/sitestore.h"

#include "data/module1.h"
#include "sites/sites.h"

#include <QHash>

namespace SiteStore {

namespace {
const QString Name = QStringLiteral("btset");

// Every change here may be called with the connection open or closed; the nesting makes both harmless.
struct Opened
{
    Opened() { Module1::OpenDatabase(); }
    ~Opened() { Module1::CloseDatabase(); }
    Opened(const Opened &) = delete;
    Opened &operator=(const Opened &) = delete;
};

QList<FieldValue> valuesOf(const Site &site)
{
    return {{QStringLiteral("nub"), site.nub},
            {Name, site.btset},
            {QStringLiteral("urldata"), site.urldata},
            {QStringLiteral("utf8"), site.utf8 ? 1 : 0}};
}

// Opens the shared record set on the rows with the name, oldest first.
bool openByName(const QString &table, const QString &name)
{
    return Module1::Rs().open(table, {{Name, name}});
}
} // namespace

Outcome contains(const QString &table, const QString &name, bool &found)
{
    found = false;
    Opened opened;
    if (!openByName(table, name))
        return Outcome::failed(Module1::Rs().lastError());
    found = !Module1::Rs().atEnd();
    return Outcome::done();
}

Outcome add(const QString &table, const Site &site)
{
    Opened opened;
    RecordSet &rs = Module1::Rs();
    // Names the table the new row goes to, reading no row.
    if (!rs.openRowIds(table, {}))
        return Outcome::failed(rs.lastError());
    return rs.addNew(valuesOf(site));
}

Outcome replace(const QStringList &tables, const Site &site)
{
    Opened opened;
    Module1::Transaction transaction;
    if (!transaction.started())
        return Outcome::failed(transaction.error());
    RecordSet &rs = Module1::Rs();
    for (const QString &table : tables) {
        if (!openByName(table, site.btset))
            return Outcome::failed(rs.lastError());
        if (rs.atEnd())
            return Outcome::failed(QStringLiteral("%1: no site named \"%2\"").arg(table, site.btset));
        if (Outcome deleted = rs.deleteCurrent(); !deleted.ok())
            return deleted;
        if (Outcome added = rs.addNew(valuesOf(site)); !added.ok())
            return added;
    }
    return transaction.commit();
}

Outcome removeFirst(const QString &table, const QString &name, bool &removed)
{
    removed = false;
    Opened opened;
    RecordSet &rs = Module1::Rs();
    if (!openByName(table, name))
        return Outcome::failed(rs.lastError());
    if (rs.atEnd())
        return Outcome::done();
    const Outcome deleted = rs.deleteCurrent();
    removed = deleted.ok();
    return deleted;
}

Outcome readRows(const QString &table, QList<StoredRow> &rows)
{
    rows.clear();
    Opened opened;
    std::vector<SearchSite> ordered;
    QString error;
    if (!readSites(table, ordered, &error))
        return Outcome::failed(error);
    // The display order comes from readSites; the values are taken raw, so that a column without a value is
    // copied as such.
    RecordSet &rs = Module1::Rs();
    if (!rs.openAll(table))
        return Outcome::failed(rs.lastError());
    QHash<qint64, StoredRow> byRowId;
    for (; !rs.atEnd(); rs.moveNext()) {
        StoredRow row;
        for (const char *column : {"nub", "btset", "urldata", "utf8"}) {
            const QString name = QString::fromLatin1(column);
            const QVariant value = rs.field(name);
            // An untyped QVariant is what binds as no value.
            row.append({name, value.isNull() ? QVariant() : value});
        }
        byRowId.insert(rs.rowId(), row);
    }
    for (const SearchSite &site : ordered)
        rows.append(byRowId.value(site.rowId));
    return Outcome::done();
}

Outcome rewrite(const QString &table, const QList<StoredRow> &rows)
{
    Opened opened;
    Module1::Transaction transaction;
    if (!transaction.started())
        return Outcome::failed(transaction.error());
    RecordSet &rs = Module1::Rs();
    if (!rs.openAll(table))
        return Outcome::failed(rs.lastError());
    for (rs.moveFirst(); !rs.atEnd(); rs.moveNext()) {
        if (Outcome deleted = rs.deleteCurrent(); !deleted.ok())
            return deleted;
    }
    for (const StoredRow &row : rows) {
        if (Outcome added = rs.addNew(row); !added.ok())
            return added;
    }
    return transaction.commit();
}

} // namespace SiteStore
