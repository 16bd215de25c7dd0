#include "sites/sitestore.h"

#include "data/module1.h"
#include "data/schema.h"
#include "data/sqlerror.h"

#include <QCollator>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>

using namespace Schema::Column;

namespace Sites {

const QStringList &builtInNames()
{
    static const QStringList names = {QStringLiteral("极影"), QStringLiteral("动漫花园"), QStringLiteral("Levelup"),
                                      QStringLiteral("Tokyo Toshokan")};
    return names;
}

bool isBuiltInName(const QString &name)
{
    return builtInNames().contains(name, Qt::CaseSensitive);
}

} // namespace Sites

namespace SiteStore {

namespace {

void sortByDisplayOrder(std::vector<SearchSite> &sites)
{
    QCollator collator{QLocale(QLocale::Chinese, QLocale::China)};
    collator.setNumericMode(true);
    struct Key
    {
        bool isNumber;
        double number;
        QCollatorSortKey text;
    };
    std::vector<std::pair<Key, std::size_t>> keys;
    keys.reserve(sites.size());
    for (std::size_t i = 0; i < sites.size(); ++i) {
        bool ok = false;
        const double n = sites[i].nub.trimmed().toDouble(&ok);
        keys.push_back({{ok && std::isfinite(n), n, collator.sortKey(sites[i].nub)}, i});
    }
    std::stable_sort(keys.begin(), keys.end(), [](const auto &a, const auto &b) {
        if (a.first.isNumber != b.first.isNumber)
            return a.first.isNumber;
        if (a.first.isNumber)
            return a.first.number < b.first.number;
        return a.first.text.compare(b.first.text) < 0;
    });
    std::vector<SearchSite> sorted;
    sorted.reserve(sites.size());
    for (const auto &k : keys)
        sorted.push_back(std::move(sites[k.second]));
    sites = std::move(sorted);
}

SearchSite siteOf(const RecordSet &rs)
{
    return {rs.rowId(),       rs.text(nub),   rs.text(btset),  rs.field(btset).isNull(),
            rs.text(urldata), rs.field(utf8), rs.text(rssdata)};
}

QList<FieldValue> valuesOf(const SearchSite &site)
{
    return {{nub, site.nub},
            {btset, site.btset},
            {urldata, site.urldata},
            {utf8, site.utf8.toBool() ? 1 : 0},
            {rssdata, site.rssdata}};
}

} // namespace

Result<std::vector<SearchSite>> list(const QString &table)
{
    Module1::Opened opened;
    RecordSet &rs = Module1::Rs();
    if (Done read = rs.openAll(table); !read)
        return read.error();
    std::vector<SearchSite> sites;
    for (; !rs.atEnd(); rs.moveNext())
        sites.push_back(siteOf(rs));
    sortByDisplayOrder(sites);
    return sites;
}

Result<SearchSite> find(const QString &table, const QString &name)
{
    Module1::Opened opened;
    RecordSet &rs = Module1::Rs();
    if (Done read = rs.open(table, {{btset, name}}); !read)
        return read.error();
    if (rs.atEnd())
        return failure(ErrorCode::NotFound, QStringLiteral("%1: no site named \"%2\"").arg(table, name));
    return siteOf(rs);
}

Done add(const QString &table, const SearchSite &site)
{
    Module1::Opened opened;
    // The name test and the new row see the same table, even with another copy of the program at work.
    Module1::Transaction adding;
    if (!adding.started())
        return adding.started();
    RecordSet &rs = Module1::Rs();
    if (Done read = rs.open(table, {{btset, site.btset}}); !read)
        return read;
    if (!rs.atEnd())
        return failure(ErrorCode::Duplicate, site.btset);
    if (Done added = rs.addNew(valuesOf(site)); !added)
        return added;
    return adding.commit();
}

Done replace(const QStringList &tables, const SearchSite &site)
{
    Module1::Opened opened;
    Module1::Transaction change;
    if (!change.started())
        return change.started();
    RecordSet &rs = Module1::Rs();
    for (const QString &table : tables) {
        if (Done read = rs.open(table, {{btset, site.btset}}); !read)
            return read;
        if (rs.atEnd())
            return failure(ErrorCode::NotFound, QStringLiteral("%1: no site named \"%2\"").arg(table, site.btset));
        if (Done deleted = rs.deleteCurrent(); !deleted)
            return deleted;
        if (Done added = rs.addNew(valuesOf(site)); !added)
            return added;
    }
    return change.commit();
}

Done remove(const QString &table, const QString &name)
{
    Module1::Opened opened;
    RecordSet &rs = Module1::Rs();
    if (Done read = rs.open(table, {{btset, name}}); !read)
        return read;
    if (rs.atEnd())
        return {};
    return rs.deleteCurrent();
}

Done restoreDefaults()
{
    Module1::Opened opened;
    Module1::Transaction restore;
    if (!restore.started())
        return restore.started();
    Result<std::vector<SearchSite>> defaults = list(Schema::Defaults);
    if (!defaults)
        return defaults.error();
    if (defaults->empty())
        return failure(ErrorCode::NotFound, QStringLiteral("%1 is empty").arg(Schema::Defaults));
    QSqlQuery query(Module1::Conn());
    if (!query.exec(QStringLiteral("delete from %1").arg(Schema::BuiltIn)))
        return sqlFailure(query.lastError());
    // Each value is copied as stored, a missing one included.
    const QString columns = Schema::SiteColumns.join(QStringLiteral(", "));
    if (!query.prepare(QStringLiteral("insert into %1 (%2) select %2 from %3 where rowid = ?")
                           .arg(Schema::BuiltIn, columns, Schema::Defaults)))
        return sqlFailure(query.lastError());
    for (const SearchSite &site : defaults.value()) {
        query.addBindValue(site.rowId);
        if (!query.exec())
            return sqlFailure(query.lastError());
    }
    return restore.commit();
}

} // namespace SiteStore
