#include "feeds/feedcheck.h"

#include "data/schema.h"
#include "entries/entrystore.h"
#include "feeds/releasemarks.h"
#include "search/addresses.h"
#include "search/searchwords.h"

#include <QUrl>

#include <algorithm>

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

Result<QList<CheckEntry>> entriesToCheck(const QList<qint64> &rows)
{
    Result<EntryListLines> lines = EntryStore::lines(EntryOrder::Num);
    if (!lines)
        return lines.error();
    // In the list's first order, whatever order the rows come in.
    const QSet<qint64> asked(rows.cbegin(), rows.cend());
    QList<qint64> wanted;
    QList<qsizetype> lineOf;
    for (std::size_t i = 0; i < lines->rowIds.size(); ++i) {
        if (rows.isEmpty() || asked.contains(lines->rowIds[i])) {
            wanted << lines->rowIds[i];
            lineOf << qsizetype(i);
        }
    }
    const Result<QHash<qint64, SearchCopy>> copies = EntryStore::searchCopies(wanted);
    if (!copies)
        return copies.error();
    QList<CheckEntry> entries;
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        const auto copy = copies->constFind(wanted[i]);
        if (copy != copies->cend())
            entries.append(
                {wanted[i], lines->lines[lineOf[i]], copy->subg, copy->SearchN, copy->Episode, copy->AnimeN});
    }
    return entries;
}

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

void FeedCheck::start(const QList<CheckEntry> &entries, std::vector<SearchSite> sites, bool withGroup, bool withEpisode,
                      const QSet<int> &postponed)
{
    stop();
    m_entries.clear();
    m_sites.clear();
    m_remembered.clear();
    for (const SearchSite &site : sites)
        m_sites << site.btset;
    m_outcomes.assign(sites.size(), {});
    m_withGroup = withGroup;
    m_waiting = 0;
    m_unreadBytes = 0;
    m_running = true;
    for (const CheckEntry &entry : entries) {
        CheckedEntry &checked = m_entries.emplace_back();
        checked.entry = entry;
        bool number = false;
        const qint64 next = nextEpisodeText(entry.episode).value_or(QString()).toLongLong(&number);
        checked.next = number && next >= 0 ? next : -1;
        if (checked.next >= 0) {
            checked.waiting = int(sites.size());
            m_waiting += checked.waiting;
        }
    }
    Q_EMIT started();
    for (qsizetype e = 0; e < m_entries.size() && m_running; ++e) {
        const CheckEntry &entry = m_entries[e].entry;
        if (m_entries[e].next < 0)
            continue;
        const QString words = searchWords(entry.group, entry.name, entry.episode, withGroup, withEpisode);
        for (int s = 0; s < int(sites.size()); ++s) {
            if (postponed.contains(s)) {
                failed(int(e), s, failure(ErrorCode::Postponed));
                continue;
            }
            const QByteArray address = siteQueryAddress(sites[s].rssdata, sites[s].utf8.toInt() != 0, words);
            const QString host = QUrl::fromEncoded(address).host();
            if (!m_queued.contains(host))
                m_hosts << host;
            m_queued[host].push_back({int(e), s, address});
        }
    }
    if (m_waiting == 0 && m_running) {
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
            // A feed answered before is asked whether it changed since.
            FetchRequest ask{request.address, {}, {}};
            if (m_memory) {
                if (const auto before = m_memory->constFind(request.address); before != m_memory->cend())
                    ask = {request.address, before->etag, before->lastModified};
            }
            m_fetcher.fetch(
                ask, [this, host, request](const Result<FetchedAnswer> &answer) { answered(host, request, answer); });
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
    m_running = false;
}

int FeedCheck::checkedCount() const
{
    return int(std::count_if(m_entries.cbegin(), m_entries.cend(), [](const auto &e) { return e.waiting == 0; }));
}

void FeedCheck::failed(int entry, int site, const Error &why)
{
    SiteOutcome &outcome = m_outcomes[std::size_t(site)];
    ++outcome.failed;
    if (why.retryAfterSeconds >= 0)
        outcome.retryAfterSeconds = std::max(outcome.retryAfterSeconds, why.retryAfterSeconds);
    m_entries[entry].failed = true;
    m_entries[entry].failures.append({site, why});
    Q_EMIT siteFailed(entry, m_sites[site], why);
    siteDone(entry);
}

void FeedCheck::answered(const QString &host, const Request &request, const Result<FetchedAnswer> &answer)
{
    --m_started;
    if (--m_startedPerHost[host] <= 0)
        m_startedPerHost.remove(host);
    if (!answer) {
        failed(request.entry, request.site, answer.error());
        startRequests();
        return;
    }
    if (answer->notModified) {
        // The same feed as before: what it gave then.
        const RememberedAnswer before = m_memory ? m_memory->value(request.address) : RememberedAnswer{};
        m_remembered.insert(request.address, before);
        merge(request.entry, request.site, {before.releases, before.leftOut});
        startRequests();
        return;
    }
    const qint64 next = m_entries[request.entry].next;
    const QString group = m_withGroup ? m_entries[request.entry].entry.group.toString() : QString();
    const qint64 size = answer->body.size();
    m_unreadBytes += size;
    m_readers.start([this, generation = m_generation, request, body = answer->body, etag = answer->etag,
                     lastModified = answer->lastModified, next, group, size] {
        if (beforeReading())
            beforeReading()();
        Read read{readFeed(body)};
        if (read.releases) {
            read.releases.value().removeIf([&](const Release &r) { return !releaseMatches(r.title, next, group); });
            read.leftOut = keepNewest(read.releases.value());
        }
        QMetaObject::invokeMethod(
            this,
            [this, generation, request, etag, lastModified, size, read = std::move(read)]() mutable {
                if (generation != m_generation)
                    return;
                m_unreadBytes -= size;
                if (read.releases && !(etag.isEmpty() && lastModified.isEmpty()))
                    m_remembered.insert(request.address, {etag, lastModified, read.releases.value(), read.leftOut});
                merge(request.entry, request.site, std::move(read));
                startRequests();
            },
            Qt::QueuedConnection);
    });
    startRequests();
}

void FeedCheck::merge(int entry, int site, Read read)
{
    if (!read.releases) {
        failed(entry, site, read.releases.error());
        return;
    }
    ++m_outcomes[std::size_t(site)].answered;
    CheckedEntry &checked = m_entries[entry];
    checked.answered = true;
    checked.found.countLeftOut(read.leftOut);
    const qsizetype before = checked.found.size();
    for (const Release &release : read.releases.value())
        checked.found.add(release, m_sites[site], site);
    // Those the user has not seen are new; a file that cannot be read leaves them all new.
    QStringList keys;
    for (qsizetype i = before; i < checked.found.size(); ++i)
        keys << ReleaseMarks::keyOf(checked.found.list()[i].release);
    const Result<QSet<QString>> seen = ReleaseMarks::seen(keys);
    for (qsizetype i = before; i < checked.found.size(); ++i) {
        if (!seen || !seen->contains(keys[i - before]))
            checked.fresh.insert(int(i));
        // A site that ignores the query lists other series: shown, but marked.
        if (!titleNamesWork(checked.found.list()[i].release.title, checked.entry.name.toString(),
                            checked.entry.work.toString()))
            checked.doubtful.insert(int(i));
    }
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
        Q_EMIT finished();
    }
}
