#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// The search words of one watch-list entry, and the arithmetic of episode numbers.

// The episode after the stored one: the next whole number, with at least two digits ("8" gives "09", "99" gives
// "100", "12.5" gives "13"). Nothing when the stored value is no number.
std::optional<QString> nextEpisodeText(const QVariant &episode);

// The words of one entry: the group and a blank when asked for, the search name, then a blank and the next
// episode when asked for and the stored episode is a number.
QString searchWords(const QVariant &group, const QVariant &name, const QVariant &episode, bool withGroup,
                    bool withEpisode);

// The episode field stepped by one up or down, as the buttons beside it do; nothing for text that is no plain
// decimal number.
std::optional<QString> steppedEpisode(const QString &text, int step);
