#pragma once

#include "result.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// One item of a torrent index site's RSS feed, as far as the feed tells it. Every text is plain text and every
// number checked: whatever a feed says that is missing, malformed or absurd is left at its "unknown" value.
struct Release
{
    QString title;       // whitespace collapsed, at most maxTitleLength characters
    QString link;        // the item's page (http or https): its link, else its guid; never the .torrent file
    QString magnet;      // a magnet: address (an enclosure, the link, or the first in the description)
    QString torrent;     // a .torrent file's address (http or https): an enclosure, else a link to one
    QString infoHash;    // 40 lower-case hex digits (nyaa:infoHash, else the magnet's); empty when unknown
    qint64 size = -1;    // bytes (nyaa:size, torrent:contentLength, else an enclosure's length); -1 unknown
    QDateTime published; // UTC (pubDate, else torrent:pubDate); invalid when unknown or more than a day ahead
    int seeders = -1;    // -1 unknown
    int leechers = -1;   // -1 unknown
};

// The address a release is handed on by, to the browser or the clipboard: its magnet link, which starts the
// download by itself, else its torrent file, else its page; empty when it has none.
QByteArray releaseAddress(const Release &release);

// Longer titles are cut: no release name needs more, and the window shows them on one line.
inline constexpr qsizetype maxTitleLength = 500;
// Items past this many are not read: no site's feed has more, and the answer is held in memory whole.
inline constexpr qsizetype maxReleases = 5000;

// Reads an RSS 2.0 document, in the encoding it declares. The error is NotAFeed when it is no RSS at all: an HTML
// page, other XML, an empty body, a document malformed before its first complete item, or one built to stall
// the reader (a document type of its own, which could declare entities; more attributes or namespaces on an
// element, or elements nested deeper, than any feed has).
// A document cut off or malformed after some complete items gives those items. Items without a title are left
// out.
Result<QList<Release>> readFeed(const QByteArray &document);
