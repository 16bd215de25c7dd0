#pragma once

#include "feeds/feedreader.h"

#include <QList>
#include <QString>
#include <QStringList>

// Which releases of a feed are the episode the viewer waits for.

// Whether a release title names this episode. The plainest mark wins: "第09话", "第九話", "EP09", "S01E09", "1x09",
// "09 of 12", "12END" before "- 09", before "[09]" (and "- 100 Years", a dash before a word), before a bare number,
// of which only the last counts ("Title 2 09"). Beside a season's episode, a count from the first season is taken
// too ("S03E02 026"). A batch spans every episode of its range ("01-12", "01~12", "E01-E12", "01v2-04", "01 - 12",
// "第1话-第3话", "[01-24TV全集]", "01-12 合集") or up to its count ("全12集"); a range running backwards or wider than
// a season, or more episodes than a season in all, is none, and so is a range of seasons ("第1-2季"). No episode: the
// group's name bracketed at the start, years (in brackets, or bare), resolutions, versions, seasons, codecs, bit
// depths, channel layouts, decimals, dates, CRCs, an absolute number in parentheses after the episode ("02(57)"), the
// count in "01 of 12", and specials' numbers ("SP01", "OVA 01", "特别篇 01").
bool titleHoldsEpisode(const QString &title, qint64 episode);

// The whole rule: the episode, and when a group is given (non-empty) the group's name in the title, in either
// Chinese script, letter case and blanks aside ("[櫻都字幕組]" is the group 樱都字幕组).
bool releaseMatches(const QString &title, qint64 episode, const QString &group);

// Whether a release title names the entry's work: holds its search name or its title (原作名), compared as groups
// are. A site that ignores the query lists other series. With neither name given there is nothing to tell: true.
bool titleNamesWork(const QString &title, const QString &searchName, const QString &workName);
