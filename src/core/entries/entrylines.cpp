#include "entries/entrylines.h"

#include "data/module1.h"
#include "data/schema.h"
#include "data/sqlerror.h"

#include <QCollator>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace {
constexpr int LongestLine = 2000;

// What the database puts together for each order: the sort column, and the line's text.
struct OrderQuery
{
    QString sortColumn;
    QString line;
    QString condition;
};

OrderQuery queryOf(EntryOrder order)
{
    using namespace Schema::Column;
    // One printf a line, which writes a field with no value as empty text between its brackets.
    const auto bracketed = [](const QString &first, const QString &second, const QString &third) {
        return QStringLiteral("printf('[%s][%s][%s][%s]%s', %1, %2, %3, %4, %5)")
            .arg(first, second, third, AnimeN, Other);
    };
    switch (order) {
    case EntryOrder::Num:
        return {num, bracketed(subg, SearchN, Episode), {}};
    case EntryOrder::SubG:
        return {subg, bracketed(subg, SearchN, Episode), {}};
    case EntryOrder::SearchN:
        return {SearchN, bracketed(SearchN, subg, Episode), {}};
    case EntryOrder::Episode:
        return {Episode, bracketed(Episode, SearchN, subg), {}};
    case EntryOrder::AnimeN:
        return {AnimeN, AnimeN, QStringLiteral(" where %1 is not null").arg(AnimeN)};
    }
    return {num, QStringLiteral("''"), {}};
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

Result<std::vector<EntryLine>> readEntryLines(EntryOrder order)
{
    QSqlDatabase db = Module1::Conn();
    if (!db.isOpen())
        return Module1::unavailable();
    const OrderQuery q = queryOf(order);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("select rowid, %1, %2 from %3%4 order by rowid asc")
                        .arg(q.sortColumn, q.line, Schema::AD, q.condition)))
        return sqlFailure(query.lastError());
    std::vector<EntryLine> lines;
    while (query.next()) {
        // A line longer than a person reads in one go is cut, so that a huge note does not freeze the list: the
        // row is found by its number, never by the line's text. Cut here rather than by the database, which would
        // build every line twice to measure it.
        QString text = query.value(2).toString();
        if (text.size() > LongestLine) {
            text.truncate(text[LongestLine - 1].isHighSurrogate() ? LongestLine - 1 : LongestLine);
            text += QChar(0x2026); // …
        }
        lines.push_back({query.value(0).toLongLong(), query.value(1).toString(), std::move(text)});
    }
    return lines;
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
