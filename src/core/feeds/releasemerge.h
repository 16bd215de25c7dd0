#pragma once

#include "feeds/feedreader.h"

#include <QList>
#include <QString>
#include <QStringList>

// The same release from two sites (the same info hash, else, when either lacks one, the same title, compared
// after trimming, case-insensitively) is shown once with both sites. What the first site left unknown is taken
// from the second.
struct FoundRelease
{
    Release release;
    QStringList sites;
};
void mergeRelease(QList<FoundRelease> &found, const Release &release, const QString &site);
