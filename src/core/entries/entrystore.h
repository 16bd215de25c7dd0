#pragma once

#include "entries/entrylines.h"
#include "result.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

// One followed series: a row of AD. A column without a value reads as empty text.
struct AnimeEntry
{
    QString num;     // serial number
    QString subg;    // fansub group
    QString SearchN; // search name
    QString Episode; // current episode
    QString AnimeN;  // title
    QString Other;   // note
};

// What the search needs of an entry, each value as the database holds it (null when there is none).
struct SearchCopy
{
    QVariant subg;
    QVariant SearchN;
    QVariant Episode;
    QVariant AnimeN;
};

// The watch list in ad.mdb. Each change is one transaction: it happens whole or not at all. Every value is bound,
// never pasted into a statement.
namespace EntryStore {

// The list's lines in an order, each with the row it shows.
Result<EntryListLines> lines(EntryOrder order);

// The entry of a row; NotFound when the row has gone.
Result<AnimeEntry> read(qint64 row);

// The group, search name and episode of each of these rows that still exists.
Result<QHash<qint64, SearchCopy>> searchCopies(const QList<qint64> &rows);

// Adds the entry at the end; Incomplete without a search name, Duplicate when an entry has its serial number, its
// search name or its title.
Done add(const AnimeEntry &entry);

// Writes the entry over the row it was loaded from, which then comes last under a new row number (returned).
// Changed when a stored value differs from the one loaded and the entry would write another over it (a step made
// elsewhere since, which the save would undo); Refused when the entry's serial number, search name or title
// differ from the row's (no value counts as empty text); NotFound when the row has gone.
Result<qint64> replace(qint64 row, const AnimeEntry &loaded, const AnimeEntry &entry);

// Deletes the row; one that has gone already is no failure.
Done remove(qint64 row);

// An entry as another window saw it: its row then, and the values that tell it apart should the row have changed
// since (a save moves an entry to a new row, and a deleted row's number is given to the next entry added).
struct EntryKey
{
    qint64 row = -1;
    QVariant SearchN;
    QVariant subg;
};

struct SteppedEpisode
{
    qint64 row = -1;
    QString episode;
};

// Marks the episode after the one seen as watched: the entry's episode becomes that next whole number, in plain
// digits ("8" and "8.5" give "9"), and is returned with the entry's row. The entry is the row seen while it keeps
// the search name and group, else the first with them. NotFound when no entry has them; Changed, with the stored
// episode as the detail, when it is no longer the one seen (stepped already, or edited since), so that a second
// step never skips an episode.
Result<SteppedEpisode> stepEpisode(const EntryKey &key, const QVariant &seen);

} // namespace EntryStore
