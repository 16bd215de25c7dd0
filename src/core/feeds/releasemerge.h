#pragma once

#include "feeds/feedreader.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <deque>

// One release as the check shows it, with the sites that list it.
struct FoundRelease
{
    Release release;
    QStringList sites; // in the order of their ranks
};

// Releases kept for one entry: no one reads through more, and a feed that lists thousands must not fill the
// memory or the window.
inline constexpr qsizetype maxReleasesPerEntry = 200;

// The releases found for one entry, each shown once whatever the number of sites that list it. The same release
// from two sites is the same info hash, else, when either lacks one, the same title (compared after trimming,
// case-insensitively); two different hashes are two torrents, whatever their titles say. What the release kept
// left unknown is taken from the other site's copy. Each release is found through hashes of its info hash and
// title, so that adding one costs the same however many are kept.
class FoundReleases
{
public:
    // Adds what a site lists: to the release already kept, or as a new one after the others. The site's rank
    // orders the sites of a release. A new release past maxReleasesPerEntry is left out and counted.
    void add(const Release &release, const QString &site, int siteRank);
    const QList<FoundRelease> &list() const { return m_found; }
    qsizetype size() const { return m_found.size(); }
    bool isEmpty() const { return m_found.isEmpty(); }
    // New releases that found no room.
    qsizetype leftOut() const { return m_leftOut; }
    void countLeftOut(qsizetype n) { m_leftOut += n; }

private:
    int matching(const Release &release);
    void addSite(int index, const QString &site, int siteRank);

    QList<FoundRelease> m_found;
    QList<QList<int>> m_ranks;                         // the ranks of each release's sites
    QHash<QString, int> m_byHash;                      // by info hash
    QHash<QString, int> m_firstByTitle;                // by folded title: the first release with it
    QHash<QString, std::deque<int>> m_unhashedByTitle; // by folded title: those without a hash, first first
    qsizetype m_leftOut = 0;
};

// The newest releases of one answer when it lists more than fit, the rest counted as left out: sorted by date,
// the newest first and those without a date last, cut at maxReleasesPerEntry. Fewer stay in the feed's order.
qsizetype keepNewest(QList<Release> &releases);
