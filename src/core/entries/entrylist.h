#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The five orders of the entry list, in Combo1's item order.
enum class EntryOrder { Num, SubG, Episode, SearchN, AnimeN };

QString orderCaption(EntryOrder order);
// The order a Combo1 text names, compared exactly; none for any other text.
std::optional<EntryOrder> orderForCaption(const QString &caption);
const std::vector<EntryOrder> &allOrders();

// One line of the entry list as read: the row it shows, the value it is sorted by, and its text.
struct EntryLine
{
    qint64 rowId = -1;
    QString sortValue;
    QString text;
};

// The lines of every entry that has one in this order, in stored order: "[" group "][" search name "]["
// episode "][" title "]" note (the first three fields in the order's own arrangement; a field with no value is
// empty), or the title alone in the title-only order, where an entry without a title has no line. The database
// puts each line together, so only three values a row cross over. False (and the reason) on failure.
bool readEntryLines(EntryOrder order, std::vector<EntryLine> &lines, QString *error = nullptr);

// The list's lines in an order, each with the row it shows.
struct EntryListLines
{
    QStringList lines;
    std::vector<qint64> rowIds;
};

// Sorts as a reader expects: serial numbers and episodes by the numbers in them, names in Chinese reading
// order, equal keys in stored order. The lines come in stored order.
EntryListLines sortEntryLines(std::vector<EntryLine> lines, EntryOrder order);
