#include "entries/entrystore.h"

#include "data/module1.h"
#include "data/schema.h"
#include "data/sqlerror.h"
#include "search/searchwords.h"

#include <QSqlError>
#include <QSqlQuery>

using namespace Schema::Column;

namespace EntryStore {

namespace {

QList<FieldValue> valuesOf(const AnimeEntry &e)
{
    return {{num, e.num},         {subg, e.subg},     {SearchN, e.SearchN},
            {Episode, e.Episode}, {AnimeN, e.AnimeN}, {Other, e.Other}};
}

QList<Match> identifying(const AnimeEntry &e)
{
    return {{num, e.num}, {SearchN, e.SearchN}, {AnimeN, e.AnimeN}};
}

} // namespace

Result<EntryListLines> lines(EntryOrder order)
{
    Module1::Opened opened;
    Result<std::vector<EntryLine>> read = readEntryLines(order);
    if (!read)
        return read.error();
    return sortEntryLines(std::move(read).value(), order);
}

Result<AnimeEntry> read(qint64 row)
{
    Module1::Opened opened;
    RecordSet &rs = Module1::Rs();
    if (Done found = rs.openRowIds(Schema::AD, {row}); !found)
        return found.error();
    if (rs.atEnd())
        return failure(ErrorCode::NotFound, QStringLiteral("row %1 of AD").arg(row));
    return AnimeEntry{rs.text(num), rs.text(subg), rs.text(SearchN), rs.text(Episode), rs.text(AnimeN), rs.text(Other)};
}

Result<QHash<qint64, SearchCopy>> searchCopies(const QList<qint64> &rows)
{
    Module1::Opened opened;
    RecordSet rs(Module1::Conn());
    if (Done found = rs.openRowIds(Schema::AD, rows, {subg, SearchN, Episode, AnimeN}); !found)
        return found.error();
    QHash<qint64, SearchCopy> copies;
    copies.reserve(rs.count());
    for (; !rs.atEnd(); rs.moveNext())
        copies.insert(rs.rowId(), {rs.field(subg), rs.field(SearchN), rs.field(Episode), rs.field(AnimeN)});
    return copies;
}

Done add(const AnimeEntry &entry)
{
    // A search name is what a search needs; an entry without one is incomplete (a second press of the button
    // would otherwise add an empty entry).
    if (entry.SearchN.trimmed().isEmpty())
        return failure(ErrorCode::Incomplete, QStringLiteral("no search name"));
    Module1::Opened opened;
    // The duplicate test and the new row see the same table, even with another copy of the program at work.
    Module1::Transaction adding;
    if (!adding.started())
        return adding.started();
    RecordSet &rs = Module1::Rs();
    if (Done found = rs.open(Schema::AD, identifying(entry), Join::Or); !found)
        return found;
    if (!rs.atEnd())
        return failure(ErrorCode::Duplicate);
    if (Done added = rs.addNew(valuesOf(entry)); !added)
        return added;
    return adding.commit();
}

Result<qint64> replace(qint64 row, const AnimeEntry &loaded, const AnimeEntry &entry)
{
    Module1::Opened opened;
    // Reading the row and replacing it is one step: if any part fails, the entry stays as it was.
    Module1::Transaction change;
    if (!change.started())
        return change.started().error();
    RecordSet &rs = Module1::Rs();
    if (Done found = rs.openRowIds(Schema::AD, {row}); !found)
        return found.error();
    if (rs.atEnd())
        return failure(ErrorCode::NotFound, QStringLiteral("row %1 of AD").arg(row));
    const QList<FieldValue> was = valuesOf(loaded), now = valuesOf(entry);
    for (qsizetype i = 0; i < was.size(); ++i) {
        const QString stored = rs.text(now[i].column);
        if (stored != was[i].value.toString() && stored != now[i].value.toString())
            return failure(ErrorCode::Changed, QStringLiteral("%1 is now \"%2\"").arg(now[i].column, stored));
    }
    if (rs.text(num) != entry.num || rs.text(SearchN) != entry.SearchN || rs.text(AnimeN) != entry.AnimeN)
        return failure(ErrorCode::Refused, QStringLiteral("the serial number, search name or title changed"));
    if (Done removed = rs.deleteCurrent(); !removed)
        return removed.error();
    if (Done added = rs.addNew(valuesOf(entry)); !added)
        return added.error();
    if (Done done = change.commit(); !done)
        return done.error();
    return rs.lastAdded();
}

Done remove(qint64 row)
{
    Module1::Opened opened;
    RecordSet &rs = Module1::Rs();
    if (Done found = rs.openRowIds(Schema::AD, {row}); !found)
        return found;
    if (rs.atEnd())
        return {};
    return rs.deleteCurrent();
}

Result<SteppedEpisode> stepEpisode(const EntryKey &key, const QVariant &seen)
{
    Module1::Opened opened;
    // Finding the entry, reading its episode and writing the next one is one step: another copy of the program
    // cannot come between.
    Module1::Transaction step;
    if (!step.started())
        return step.started().error();
    QSqlQuery query(Module1::Conn());
    // The row seen first, when it still holds the entry.
    query.prepare(
        QStringLiteral("select rowid, %1 from %2 where %3 is ? and %4 is ? order by rowid <> ?, rowid limit 1")
            .arg(Episode, Schema::AD, SearchN, subg));
    query.addBindValue(key.SearchN);
    query.addBindValue(key.subg);
    query.addBindValue(key.row);
    if (!query.exec())
        return sqlFailure(query.lastError());
    if (!query.next())
        return failure(ErrorCode::NotFound,
                       QStringLiteral("no entry %1 of %2").arg(key.SearchN.toString(), key.subg.toString()));
    const qint64 row = query.value(0).toLongLong();
    const QVariant stored = query.value(1);
    if (stored.isNull() != seen.isNull() || stored.toString() != seen.toString())
        return failure(ErrorCode::Changed, stored.toString());
    const std::optional<QString> next = nextEpisodeText(stored);
    if (!next)
        return failure(ErrorCode::Refused, QStringLiteral("episode %1 is no number").arg(stored.toString()));
    // The search writes at least two digits; the stored value is the plain number.
    QString plain = *next;
    const qsizetype digits = plain.startsWith(QLatin1Char('-')) ? 1 : 0;
    while (plain.size() > digits + 1 && plain[digits] == QLatin1Char('0'))
        plain.remove(digits, 1);
    query.finish();
    query.prepare(QStringLiteral("update %1 set %2 = ? where rowid = ?").arg(Schema::AD, Episode));
    query.addBindValue(plain);
    query.addBindValue(row);
    if (!query.exec())
        return sqlFailure(query.lastError());
    if (Done committed = step.commit(); !committed)
        return committed.error();
    return SteppedEpisode{row, plain};
}

} // namespace EntryStore
