#include "entries/entrylist.h"

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

namespace {
// What the database puts together for each order: the sort column, and the line's text.
struct OrderQuery
{
    const char *sortColumn;
    const char *line;
    const char *condition;
};

OrderQuery queryOf(EntryOrder order)
{
    // ifnull: a field with no value stands as empty text between its brackets.
    switch (order) {
    case EntryOrder::Num:
        return {"num",
                "'[' || ifnull(subg, '') || '][' || ifnull(SearchN, '') || '][' || ifnull(Episode, '') || '][' || "
                "ifnull(AnimeN, '') || ']' || ifnull(Other, '')",
                ""};
    case EntryOrder::SubG:
        return {"subg",
                "'[' || ifnull(subg, '') || '][' || ifnull(SearchN, '') || '][' || ifnull(Episode, '') || '][' || "
                "ifnull(AnimeN, '') || ']' || ifnull(Other, '')",
                ""};
    case EntryOrder::SearchN:
        return {"SearchN",
                "'[' || ifnull(SearchN, '') || '][' || ifnull(subg, '') || '][' || ifnull(Episode, '') || '][' || "
                "ifnull(AnimeN, '') || ']' || ifnull(Other, '')",
                ""};
    case EntryOrder::Episode:
        return {"Episode",
                "'[' || ifnull(Episode, '') || '][' || ifnull(SearchN, '') || '][' || ifnull(subg, '') || '][' || "
                "ifnull(AnimeN, '') || ']' || ifnull(Other, '')",
                ""};
    case EntryOrder::AnimeN:
        return {"AnimeN", "AnimeN", " where AnimeN is not null"};
    }
    return {"num", "''", ""};
}

// Plain whole numbers ("7", "0012"), which most serial numbers and episodes are: they sort by value without the
// collator. Anything else ("12A", "-1", "2.5", CJK) leaves the whole column to the collator.
bool isPlainNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 18)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// The positions of the lines in the order's sort, equal keys in stored order.
std::vector<std::size_t> sortedPositions(const std::vector<EntryLine> &lines, EntryOrder order)
{
    std::vector<std::size_t> positions(lines.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
        positions[i] = i;
    const bool numeric = order == EntryOrder::Num || order == EntryOrder::Episode;

    if (numeric &&
        std::all_of(lines.begin(), lines.end(), [](const EntryLine &l) { return isPlainNumber(l.sortValue); })) {
        std::vector<qulonglong> values(lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i)
            values[i] = lines[i].sortValue.toULongLong();
        std::stable_sort(positions.begin(), positions.end(),
                         [&values](std::size_t a, std::size_t b) { return values[a] < values[b]; });
        return positions;
    }

    QCollator collator{QLocale(QLocale::Chinese, QLocale::China)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(numeric);
    // Sort keys are made once per row; comparing them is then a plain byte comparison.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(lines.size());
    for (const EntryLine &l : lines)
        keys.push_back(collator.sortKey(l.sortValue));
    std::stable_sort(positions.begin(), positions.end(),
                     [&keys](std::size_t a, std::size_t b) { return keys[a].compare(keys[b]) < 0; });
    return positions;
}
} // namespace

bool readEntryLines(EntryOrder order, std::vector<EntryLine> &lines, QString *error)
{
    lines.clear();
    QSqlDatabase db = Module1::Conn();
    if (!db.isOpen()) {
        if (error)
            *error = Module1::unavailableReason();
        return false;
    }
    const OrderQuery q = queryOf(order);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("select rowid, %1, %2 from AD%3 order by rowid asc")
                        .arg(QLatin1String(q.sortColumn), QLatin1String(q.line), QLatin1String(q.condition)))) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    while (query.next())
        lines.push_back({query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString()});
    return true;
}

EntryListLines sortEntryLines(std::vector<EntryLine> lines, EntryOrder order)
{
    EntryListLines result;
    result.lines.reserve(qsizetype(lines.size()));
    result.rowIds.reserve(lines.size());
    for (const std::size_t index : sortedPositions(lines, order)) {
        result.lines.append(std::move(lines[index].text));
        result.rowIds.push_back(lines[index].rowId);
    }
    return result;
}
