#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// One row of AD as the list reads it, with the row it came from.
struct AnimeEntry
{
    qint64 rowId = -1;
    QString num, subg, SearchN, Episode, AnimeN, Other;
    bool animeNIsNull = false; // a title with no value gives no line in the title-only order
};

// The five orders of the entry list, in Combo1's item order.
enum class EntryOrder { Num, SubG, Episode, SearchN, AnimeN };

QString orderCaption(EntryOrder order);
// The order a Combo1 text names, compared exactly; none for any other text.
std::optional<EntryOrder> orderForCaption(const QString &caption);
const std::vector<EntryOrder> &allOrders();

// The line an entry shows in an order; none when the entry has no line there.
std::optional<QString> entryListLine(const AnimeEntry &entry, EntryOrder order);

// The list's lines in an order, each with the row it shows.
struct EntryListLines
{
    QStringList lines;
    std::vector<qint64> rowIds;
};

// Sorts as a reader expects: serial numbers and episodes by the numbers in them, names in Chinese reading
// order, equal keys in stored order. The entries come in stored order.
EntryListLines buildEntryListLines(std::vector<AnimeEntry> entries, EntryOrder order);

// Every row of AD in stored order; false (and the reason) when the table cannot be read.
bool readAllEntries(std::vector<AnimeEntry> &entries, QString *error = nullptr);
