#pragma once

#include "feeds/feedreader.h"

#include <QList>
#include <QString>
#include <QStringList>

// Which releases of a feed are the episode the viewer waits for.

// Whether a release title names this episode: as a number of its own, with or without leading zeros, bounded by
// non-digits ("[09]", " 09 ", "- 09", "第09话", "第9集", "EP09", "E09", "09v2", "09END"), or a batch range that
// spans it ("01-12", "01~12", "01-12 合集", "[01-12]", "01~12 Fin"). Numbers that are something else are no
// episode: resolutions, versions, seasons, codecs and bit depths, decimals, CRCs, dates and years by value. When
// the title marks some number as its episode ("- 09", "[09]", "第09话", "E09"...), an unmarked number elsewhere
// (a title's own "2" or "100") is taken for part of the name.
bool titleHoldsEpisode(const QString &title, qint64 episode);

// The whole rule: the episode, and when a group is given (non-empty) the group name in the title,
// case-insensitively.
bool releaseMatches(const QString &title, qint64 episode, const QString &group);
