#pragma once

#include "result.h"

#include <QString>
#include <QStringList>

#include <vector>

// The five orders of the entry list, in the order the list offers them.
enum class EntryOrder { Num, SubG, Episode, SearchN, AnimeN };

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
// puts each line together, so only three values a row cross over.
Result<std::vector<EntryLine>> readEntryLines(EntryOrder order);

// The list's lines in an order, each with the row it shows.
struct EntryListLines
{
    QStringList lines;
    std::vector<qint64> rowIds;
};

// Sorts as a reader expects: serial numbers and episodes by the numbers in them, names in Chinese reading
// order, equal keys in stored order. The lines come in stored order.
EntryListLines sortEntryLines(std::vector<EntryLine> lines, EntryOrder order);
