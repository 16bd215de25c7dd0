#include "mainwindow/entrylist.h"

#include "data/module1.h"

#include <QCollator>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

QString orderCaption(EntryOrder order)
{
    switch (order) {
    case EntryOrder::Num:
        return QStringLiteral("序号");
    case EntryOrder::SubG:
        return QStringLiteral("字幕组");
    case EntryOrder::Episode:
        return QStringLiteral("集数*");
    case EntryOrder::SearchN:
        return QStringLiteral("搜索名*");
    case EntryOrder::AnimeN:
        return QStringLiteral("动画原名**");
    }
    return {};
}

const std::vector<EntryOrder> &allOrders()
{
    static const std::vector<EntryOrder> orders = {EntryOrder::Num, EntryOrder::SubG, EntryOrder::Episode,
                                                   EntryOrder::SearchN, EntryOrder::AnimeN};
    return orders;
}

std::optional<EntryOrder> orderForCaption(const QString &caption)
{
    for (EntryOrder order : allOrders()) {
        if (caption == orderCaption(order))
            return order;
    }
    return std::nullopt;
}

std::optional<QString> entryListLine(const AnimeEntry &e, EntryOrder order)
{
    const auto bracketed = [&e](const QString &a, const QString &b, const QString &c) {
        QString line;
        line.reserve(a.size() + b.size() + c.size() + e.AnimeN.size() + e.Other.size() + 8);
        line += QLatin1Char('[');
        line += a;
        line += QLatin1String("][");
        line += b;
        line += QLatin1String("][");
        line += c;
        line += QLatin1String("][");
        line += e.AnimeN;
        line += QLatin1Char(']');
        line += e.Other;
        return line;
    };
    switch (order) {
    case EntryOrder::Num:
    case EntryOrder::SubG:
        return bracketed(e.subg, e.SearchN, e.Episode);
    case EntryOrder::SearchN:
        return bracketed(e.SearchN, e.subg, e.Episode);
    case EntryOrder::Episode:
        return bracketed(e.Episode, e.SearchN, e.subg);
    case EntryOrder::AnimeN:
        if (e.animeNIsNull)
            return std::nullopt;
        return e.AnimeN;
    }
    return std::nullopt;
}

namespace {
const QString &sortColumnOf(const AnimeEntry &e, EntryOrder order)
{
    switch (order) {
    case EntryOrder::Num:
        return e.num;
    case EntryOrder::SubG:
        return e.subg;
    case EntryOrder::Episode:
        return e.Episode;
    case EntryOrder::SearchN:
        return e.SearchN;
    case EntryOrder::AnimeN:
        return e.AnimeN;
    }
    return e.num;
}
} // namespace

EntryListLines buildEntryListLines(std::vector<AnimeEntry> entries, EntryOrder order)
{
    QCollator collator{QLocale(QLocale::Chinese, QLocale::China)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(order == EntryOrder::Num || order == EntryOrder::Episode);

    // Sort keys are made once per row; comparing them is then a plain byte comparison.
    std::vector<std::pair<QCollatorSortKey, std::size_t>> keyed;
    keyed.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        keyed.emplace_back(collator.sortKey(sortColumnOf(entries[i], order)), i);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto &a, const auto &b) { return a.first.compare(b.first) < 0; });

    EntryListLines result;
    result.lines.reserve(qsizetype(entries.size()));
    result.rowIds.reserve(entries.size());
    for (const auto &[key, index] : keyed) {
        const AnimeEntry &e = entries[index];
        if (std::optional<QString> line = entryListLine(e, order)) {
            result.lines.append(std::move(*line));
            result.rowIds.push_back(e.rowId);
        }
    }
    return result;
}

bool readAllEntries(std::vector<AnimeEntry> &entries, QString *error)
{
    entries.clear();
    QSqlDatabase db = Module1::Conn();
    if (!db.isOpen()) {
        if (error)
            *error = Module1::unavailableReason();
        return false;
    }
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(
            QStringLiteral("select rowid, num, subg, SearchN, Episode, AnimeN, Other from AD order by rowid asc"))) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    // A value that is no text (a number from an older file) shows in its ordinary decimal form.
    const auto text = [&query](int i) { return query.isNull(i) ? QString() : query.value(i).toString(); };
    while (query.next()) {
        AnimeEntry e;
        e.rowId = query.value(0).toLongLong();
        e.num = text(1);
        e.subg = text(2);
        e.SearchN = text(3);
        e.Episode = text(4);
        e.AnimeN = text(5);
        e.animeNIsNull = query.isNull(5);
        e.Other = text(6);
        entries.push_back(std::move(e));
    }
    return true;
}
