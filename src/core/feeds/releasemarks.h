#pragma once

#include "feeds/feedreader.h"
#include "result.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// What the program remembers of the releases its checks found, in ad.mdb, across restarts: which were announced
// (so that none is announced twice) and which the user has seen (a release is 新 until then). Each in a table of
// its own, made when first written; a file without them has announced nothing and shown nothing.
namespace ReleaseMarks {

// What tells a release apart, as the merge of several sites does: its info hash, else its title.
QString keyOf(const Release &release);

// A release a check found for an entry's next episode.
struct Found
{
    QString key;
    QString SearchN;
    qint64 episode = -1;
};

// Records the releases; those never recorded before are returned, in their order, to be announced.
Result<QList<Found>> announce(const QList<Found> &found);

// Which of the keys the user has seen.
Result<QSet<QString>> seen(const QStringList &keys);
Done markSeen(const QStringList &keys);

// The rows of the watch list with a release found for their next episode that the user has not seen.
Result<QSet<qint64>> rowsWithUnseen();

} // namespace ReleaseMarks
