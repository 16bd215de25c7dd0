#pragma once

#include <QByteArray>
#include <QString>

// Which addresses the program stores and opens.

// A search or feed address prefix as the site settings take it: http:// or https://, ending in "=" for the
// search words, with no blank or control character anywhere (a line break would split it into two addresses).
bool isAddressPrefix(const QString &prefix);

// An address that may be handed to the browser, checked as a whole right before it goes: http or https with a
// host (or a magnet link, when asked), and no raw blank or control character.
bool isOpenableAddress(const QByteArray &address, bool magnetToo = false);
