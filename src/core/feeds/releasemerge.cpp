#include "feeds/releasemerge.h"

#include <algorithm>

namespace {

// Fills what the kept release left unknown from another site's copy.
void fillGaps(Release &kept, const Release &other)
{
    for (auto field : {&Release::link, &Release::magnet, &Release::torrent, &Release::infoHash}) {
        if ((kept.*field).isEmpty())
            kept.*field = other.*field;
    }
    if (kept.size < 0)
        kept.size = other.size;
    if (!kept.published.isValid())
        kept.published = other.published;
    if (kept.seeders < 0)
        kept.seeders = other.seeders;
    if (kept.leechers < 0)
        kept.leechers = other.leechers;
}

QString titleKey(const QString &title)
{
    return title.trimmed().toCaseFolded();
}

QString hashKey(const QString &hash)
{
    return hash.toLower();
}

} // namespace

int FoundReleases::matching(const Release &release)
{
    // The hash decides first.
    if (!release.infoHash.isEmpty()) {
        if (const auto found = m_byHash.constFind(hashKey(release.infoHash)); found != m_byHash.cend())
            return *found;
    }
    const QString title = titleKey(release.title);
    if (release.infoHash.isEmpty()) {
        const auto found = m_firstByTitle.constFind(title);
        return found == m_firstByTitle.cend() ? -1 : *found;
    }
    // A release with a hash joins the first of that title without one, which now takes its hash.
    const auto unhashed = m_unhashedByTitle.find(title);
    if (unhashed == m_unhashedByTitle.end())
        return -1;
    const int index = unhashed->front();
    unhashed->pop_front();
    if (unhashed->empty())
        m_unhashedByTitle.erase(unhashed);
    m_byHash.insert(hashKey(release.infoHash), index);
    return index;
}

void FoundReleases::addSite(int index, const QString &site, int siteRank)
{
    QList<int> &ranks = m_ranks[index];
    if (m_found[index].sites.contains(site))
        return;
    const auto at = std::upper_bound(ranks.begin(), ranks.end(), siteRank) - ranks.begin();
    ranks.insert(at, siteRank);
    m_found[index].sites.insert(at, site);
}

void FoundReleases::add(const Release &release, const QString &site, int siteRank)
{
    if (const int index = matching(release); index >= 0) {
        fillGaps(m_found[index].release, release);
        addSite(index, site, siteRank);
        return;
    }
    if (m_found.size() >= maxReleasesPerEntry) {
        ++m_leftOut;
        return;
    }
    const int index = int(m_found.size());
    m_found.append({release, {site}});
    m_ranks.append(QList<int>{siteRank});
    const QString title = titleKey(release.title);
    if (!m_firstByTitle.contains(title))
        m_firstByTitle.insert(title, index);
    if (release.infoHash.isEmpty())
        m_unhashedByTitle[title].push_back(index);
    else
        m_byHash.insert(hashKey(release.infoHash), index);
}

qsizetype keepNewest(QList<Release> &releases)
{
    const qsizetype over = releases.size() - maxReleasesPerEntry;
    if (over <= 0)
        return 0;
    std::stable_sort(releases.begin(), releases.end(), [](const Release &a, const Release &b) {
        if (a.published.isValid() != b.published.isValid())
            return a.published.isValid();
        return a.published > b.published;
    });
    releases.resize(maxReleasesPerEntry);
    return over;
}
