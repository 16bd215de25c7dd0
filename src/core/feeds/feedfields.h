#pragma once

#include <QString>
#include <QStringView>

// The single values of a feed item, read without trusting them: each gives its "unknown" value (empty or -1) for
// anything malformed or absurd.

// Plain text: whitespace and control characters collapsed to single spaces, trimmed, direction overrides and
// lone surrogate halves dropped, cut to maxLength characters.
QString plainText(QStringView text, qsizetype maxLength);

// An http or https address, in its fully encoded form; empty for any other text.
QString webAddress(QStringView text);
// Whether a web address names a .torrent file.
bool namesTorrentFile(const QString &address);
// A magnet: address as it stands (text of its own, or the first one inside a description); empty for none, and for
// one that names no torrent or hides characters (see isMagnetLink).
QString magnetAddress(QStringView text);
QString magnetInText(QStringView text);

// An info hash, written as 40 hex digits or 32 base-32 letters, as 40 lower-case hex digits.
QString infoHash(QStringView text);
// The BitTorrent info hash a magnet address names.
QString infoHashOfMagnet(QStringView magnet);

// A whole number of at most max, written in plain digits.
qint64 wholeNumber(QStringView text, qint64 max);
// A size as sites write it ("1.2 GiB", "700 MiB", "1.5GB", "12345 Bytes"), in bytes.
qint64 sizeInBytes(QStringView text);
// No release is this large; anything above is a feed's error.
inline constexpr qint64 maxSize = qint64(1) << 50;
