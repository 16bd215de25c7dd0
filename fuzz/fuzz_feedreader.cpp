// Any bytes as a feed: never a crash, and every release read holds only checked values. Each title, and the bytes
// themselves as a title, go through the episode rule, and every release through the merge.

#include "feeds/feedfields.h"
#include "feeds/feedreader.h"
#include "feeds/releasematch.h"
#include "feeds/releasemerge.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool holds)
{
    if (!holds)
        std::abort();
}

bool isHash(const QString &hash)
{
    for (const QChar c : hash) {
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))))
            return false;
    }
    return hash.isEmpty() || hash.size() == 40;
}

bool isWebAddress(const QString &address)
{
    return address.isEmpty() || address.startsWith(QLatin1String("http://")) ||
           address.startsWith(QLatin1String("https://"));
}

// One line of plain text: no controls, no blank at either end or twice.
bool isPlainTitle(const QString &title)
{
    for (qsizetype i = 0; i < title.size(); ++i) {
        if (title[i].unicode() < 0x20 || (title[i].isSpace() && title[i] != QLatin1Char(' ')))
            return false;
    }
    return !title.isEmpty() && title.size() <= maxTitleLength && title == title.trimmed() &&
           !title.contains(QLatin1String("  "));
}

void checkEpisodes(const QString &title)
{
    for (const qint64 episode : {qint64(0), qint64(9), qint64(1080)}) {
        const bool holds = titleHoldsEpisode(title, episode);
        check(releaseMatches(title, episode, QString()) == holds);
        // Blanks around a title change nothing: its ends are read as any other boundary.
        check(titleHoldsEpisode(QLatin1Char(' ') + title + QLatin1Char(' '), episode) == holds);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto releases = readFeed(bytes)) {
        check(releases->size() <= maxReleases);
        FoundReleases found;
        for (const Release &r : releases.value()) {
            check(isPlainTitle(r.title));
            check(isWebAddress(r.link) && isWebAddress(r.torrent));
            check(r.magnet.isEmpty() || r.magnet.startsWith(QLatin1String("magnet:?")));
            check(isHash(r.infoHash));
            check(r.size >= -1 && r.size <= maxSize && r.size != 0);
            check(r.seeders >= -1 && r.leechers >= -1);
            check(!r.published.isValid() || r.published.timeSpec() == Qt::UTC);
            checkEpisodes(r.title);
            check(releaseMatches(r.title, 9, r.title) == titleHoldsEpisode(r.title, 9));
            // The same release from two sites is one line with both, in the sites' order.
            found.add(r, QStringLiteral("b"), 1);
            found.add(r, QStringLiteral("a"), 0);
        }
        check(found.size() <= std::min(releases->size(), maxReleasesPerEntry));
        for (const FoundRelease &f : found.list())
            check(f.sites == QStringList({QStringLiteral("a"), QStringLiteral("b")}));
    }
    // Titles are short: the reader keeps maxTitleLength characters.
    checkEpisodes(QString::fromUtf8(bytes.left(maxTitleLength)));
    return 0;
}
