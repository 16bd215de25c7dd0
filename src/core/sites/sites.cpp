#include "sites/sites.h"

#include "data/module1.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <cmath>

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

bool readSites(const QString &table, std::vector<SearchSite> &sites, QString *error)
{
    sites.clear();
    RecordSet &rs = Module1::Rs();
    if (!rs.openAll(table)) {
        if (error)
            *error = rs.lastError();
        return false;
    }
    for (; !rs.atEnd(); rs.moveNext()) {
        SearchSite site;
        site.rowId = rs.rowId();
        site.nub = rs.text(QStringLiteral("nub"));
        site.btset = rs.text(QStringLiteral("btset"));
        site.btsetIsNull = rs.field(QStringLiteral("btset")).isNull();
        site.urldata = rs.text(QStringLiteral("urldata"));
        site.utf8 = rs.field(QStringLiteral("utf8"));
        sites.push_back(std::move(site));
    }
    sortByDisplayOrder(sites);
    return true;
}
