#include "feeds/feedcheck.h"

#include "data/schema.h"
#include "feeds/checktimes.h"
#include "search/encoders.h"
#include "search/searchwords.h"

#include <QUrl>

#include <algorithm>

Result<std::vector<SearchSite>> feedSites()
{
    std::vector<SearchSite> sites;
    for (const QString &table : {Schema::BuiltIn, Schema::Custom}) {
        Result<std::vector<SearchSite>> listed = SiteStore::list(table);
        if (!listed)
            return listed.error();
        for (SearchSite &site : listed.value()) {
            if (!site.btsetIsNull && !site.rssdata.trimmed().isEmpty())
                sites.push_back(std::move(site));
        }
    }
    return sites;
}

namespace {
std::function<void()> &beforeReading()
{
    static std::function<void()> wait;
    return wait;
}
} // namespace

void FeedCheck::setBeforeReadingForTesting(std::function<void()> wait)
{
    beforeReading() = std::move(wait);
}

bool CheckedEntry::hasNew() const
{
    return std::any_of(found.list().cbegin(), found.list().cend(),
                       [this](const FoundRelease &f) { return FeedCheck::isNew(*this, f.release); });
}

FeedCheck::FeedCheck(FetchLimits limits, QObject *parent) : QObject(parent), m_fetcher(limits), m_limits(limits)
{
    m_limits.perHost = std::max(1, m_limits.perHost);
    m_limits.total = std::max(1, m_limits.total);
}

FeedCheck::~FeedCheck()
{
    stop();
    // A reader still at work posts to this object: it must be done before the object goes.
    m_readers.waitForDone();
}

void FeedCheck::start(const QList<CheckEntry> &entries, std::vector<SearchSite> sites, bool withGroup, bool withEpisode)
{
    stop();
    m_entries.clear();
    m_sites.clear();
    for (const SearchSite &site : sites)
        m_sites << site.btset;
    m_withGroup = withGroup;
    m_startedAt = QDateTime::currentDateTimeUtc();
    m_waiting = 0;
    m_unreadBytes = 0;
    m_running = true;
    const Result<QHash<QString, QDateTime>> previous = CheckTimes::read();
    for (const CheckEntry &entry : entries) {
        CheckedEntry &checked = m_entries.emplace_back();
        checked.entry = entry;
        checked.previous = previous ? previous->value(entry.name.toString()) : QDateTime();
        bool number = false;
        const qint64 next = nextEpisodeText(entry.episode).value_or(QString()).toLongLong(&number);
        checked.next = number && next >= 0 ? next : -1;
    }
    for (qsizetype e = 0; e < m_entries.size(); ++e) {
        CheckedEntry &checked = m_entries[e];
        if (checked.next < 0)
            continue;
        const CheckEntry &entry = checked.entry;
        const QString words = searchWords(entry.group, entry.name, entry.episode, withGroup, withEpisode);
        checked.waiting = int(sites.size());
        m_waiting += checked.waiting;
        for (std::size_t s = 0; s < sites.size(); ++s) {
            const QByteArray address = sites[s].rssdata.toUtf8() +
                                       (sites[s].utf8.toInt() != 0 ? EncodeUtf8Url(words) : encodeCodePageUrl(words));
            const QString host = QUrl::fromEncoded(address).host();
            if (!m_queued.contains(host))
                m_hosts << host;
            m_queued[host].push_back({int(e), int(s), address});
        }
    }
    if (m_waiting == 0) {
        m_running = false;
        Q_EMIT finished();
        return;
    }
    startRequests();
}

// In the order they were asked, a host at a time, as many as the limits allow; none while the readers have
// their fill.
void FeedCheck::startRequests()
{
    for (bool started = true; started && m_unreadBytes < maxUnreadBytes;) {
        started = false;
        for (const QString &host : std::as_const(m_hosts)) {
            if (m_started >= m_limits.total)
                return;
            const auto queue = m_queued.find(host);
            if (queue == m_queued.end() || queue->empty() || m_startedPerHost.value(host) >= m_limits.perHost)
                continue;
            const Request request = queue->front();
            queue->pop_front();
            ++m_started;
            ++m_startedPerHost[host];
            started = true;
            m_fetcher.fetch(request.address, [this, host, request](const Result<FetchedAnswer> &answer) {
                answered(host, request, answer);
            });
        }
    }
}

void FeedCheck::stop()
{
    ++m_generation;
    m_fetcher.cancelAll();
    m_readers.clear();
    m_queued.clear();
    m_hosts.clear();
    m_startedPerHost.clear();
    m_started = 0;
    m_unreadBytes = 0;
    if (std::exchange(m_running, false))
        recordTimes();
}

int FeedCheck::checkedCount() const
{
    return int(std::count_if(m_entries.cbegin(), m_entries.cend(), [](const auto &e) { return e.waiting == 0; }));
}

bool FeedCheck::isNew(const CheckedEntry &entry, const Release &release)
{
    return !entry.previous.isValid() || (release.published.isValid() && release.published > entry.previous);
}

void FeedCheck::answered(const QString &host, const Request &request, const Result<FetchedAnswer> &answer)
{
    --m_started;
    if (--m_startedPerHost[host] <= 0)
        m_startedPerHost.remove(host);
    if (!answer) {
        Q_EMIT siteFailed(request.entry, m_sites[request.site], answer.error());
        m_entries[request.entry].failed = true;
        siteDone(request.entry);
        startRequests();
        return;
    }
    const qint64 next = m_entries[request.entry].next;
    const QString group = m_withGroup ? m_entries[request.entry].entry.group.toString() : QString();
    const qint64 size = answer->body.size();
    m_unreadBytes += size;
    m_readers.start([this, generation = m_generation, entry = request.entry, site = request.site, body = answer->body,
                     next, group, size] {
        if (beforeReading())
            beforeReading()();
        Read read{readFeed(body)};
        if (read.releases) {
            read.releases.value().removeIf([&](const Release &r) { return !releaseMatches(r.title, next, group); });
            read.leftOut = keepNewest(read.releases.value());
        }
        QMetaObject::invokeMethod(
            this,
            [this, generation, entry, site, size, read = std::move(read)]() mutable {
                if (generation != m_generation)
                    return;
                m_unreadBytes -= size;
                merge(entry, site, std::move(read));
                startRequests();
            },
            Qt::QueuedConnection);
    });
    startRequests();
}

void FeedCheck::merge(int entry, int site, Read read)
{
    CheckedEntry &checked = m_entries[entry];
    if (!read.releases) {
        checked.failed = true;
        Q_EMIT siteFailed(entry, m_sites[site], read.releases.error());
        siteDone(entry);
        return;
    }
    checked.answered = true;
    checked.found.countLeftOut(read.leftOut);
    for (const Release &release : read.releases.value())
        checked.found.add(release, m_sites[site], site);
    if (!read.releases->isEmpty())
        Q_EMIT releasesFound(entry);
    siteDone(entry);
}

void FeedCheck::siteDone(int entry)
{
    --m_waiting;
    if (--m_entries[entry].waiting == 0)
        Q_EMIT entryChecked(entry);
    if (m_waiting == 0 && m_running) {
        m_running = false;
        recordTimes();
        Q_EMIT finished();
    }
}

void FeedCheck::recordTimes()
{
    // Only an entry every site answered for: a release on a site that failed would otherwise never be new.
    QStringList names;
    for (const CheckedEntry &checked : std::as_const(m_entries)) {
        if (checked.answered && !checked.failed && checked.waiting == 0)
            names << checked.entry.name.toString();
    }
    // A file that cannot be written only loses the marks of the next check.
    (void)CheckTimes::write(names, m_startedAt);
}
