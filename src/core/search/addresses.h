#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

// Which addresses the program stores and opens.

// A search or feed address prefix as the site settings take it: http:// or https://, ending in "=" for the
// search words, with no blank or control character anywhere (a line break would split it into two addresses).
bool isAddressPrefix(const QString &prefix);

// The address of a site's search page, or of its feed, for these words: the site's prefix and the words
// percent-encoded as the site reads them, in UTF-8 or in the code page. The search and the feed check both ask by it.
QByteArray siteQueryAddress(const QString &prefix, bool utf8, const QString &words);

// What keeps an address from being opened, the first found in this order.
enum class AddressFault {
    None,
    Empty,
    NotWeb,           // neither http:// nor https:// (nor a magnet link, when those are asked for)
    BlankOrControl,   // a raw blank or control character, which would split or hide part of it
    NoHost,           // no site named after the scheme
    NotATorrentMagnet // a magnet link with an invisible character, or without the torrent it names
};

// An address that may be handed to the browser, checked as a whole right before it goes: http or https with a
// host (or a magnet link, when asked), and no raw blank or control character.
AddressFault openableAddressFault(const QByteArray &address, bool magnetToo = false);
inline bool isOpenableAddress(const QByteArray &address, bool magnetToo = false)
{
    return openableAddressFault(address, magnetToo) == AddressFault::None;
}

// A magnet link that names a torrent (an "xt=urn:btih:" hash of 40 hex digits or 32 base-32 letters, or an
// "xt=urn:btmh:" one) and holds nothing a reader cannot see: no blank, no control or format character (direction
// overrides, zero-width spaces, byte order marks), no unpaired surrogate.
bool isMagnetLink(QStringView address);
