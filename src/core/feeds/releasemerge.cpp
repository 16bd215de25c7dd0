#include "feeds/releasemerge.h"

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

} // namespace

void mergeRelease(QList<FoundRelease> &found, const Release &release, const QString &site)
{
    // The info hash decides first; two different hashes are two torrents, whatever their titles say.
    auto sameHash = [&](const Release &kept) {
        return !kept.infoHash.isEmpty() && kept.infoHash.compare(release.infoHash, Qt::CaseInsensitive) == 0;
    };
    auto sameTitle = [&](const Release &kept) {
        return (kept.infoHash.isEmpty() || release.infoHash.isEmpty()) &&
               kept.title.trimmed().compare(release.title.trimmed(), Qt::CaseInsensitive) == 0;
    };
    for (int pass = 0; pass < 2; ++pass) {
        for (FoundRelease &f : found) {
            if (pass == 0 ? sameHash(f.release) : sameTitle(f.release)) {
                if (!f.sites.contains(site))
                    f.sites.append(site);
                fillGaps(f.release, release);
                return;
            }
        }
    }
    found.append({release, {site}});
}
