#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

// The search words of one watch-list entry and the two ways a search site wants them written in its address.

// The episode after the stored one: the next whole number, with at least two digits ("8" gives "09", "99" gives
// "100", "12.5" gives "13"). Nothing when the stored value is no number.
std::optional<QString> nextEpisodeText(const QVariant &episode);

// The words of one entry: the group and a blank when asked for, the search name, then a blank and the next
// episode when asked for and the stored episode is a number.
QString searchWords(const QVariant &group, const QVariant &name, const QVariant &episode, bool withGroup,
                    bool withEpisode);

// For sites that read UTF-8: spaces at both ends dropped, ASCII letters and digits as they are, every other
// byte of the UTF-8 form as "%" and two upper-case hex digits. A lone surrogate half counts as U+FFFD.
QByteArray EncodeUtf8Url(const QString &words);

// For sites that read code page 936 (GBK): every byte escaped, letters and digits too, nothing trimmed.
// A character GBK cannot hold becomes "?" (%3F).
QByteArray encodeCodePageUrl(const QString &words);
