#include "feeds/feedcheck.h"

#include "data/schema.h"
#include "feeds/checktimes.h"
#include "search/encoders.h"
#include "search/searchwords.h"

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

FeedCheck::FeedCheck(FetchLimits limits, QObject *parent) : QObject(parent), m_fetcher(limits) {}

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
            m_fetcher.fetch(address,
                            [this, e, s](const Result<FetchedAnswer> &answer) { answered(int(e), int(s), answer); });
        }
    }
    if (m_waiting == 0) {
        m_running = false;
        Q_EMIT finished();
    }
}

void FeedCheck::stop()
{
    ++m_generation;
    m_fetcher.cancelAll();
    m_readers.clear();
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

void FeedCheck::answered(int entry, int site, const Result<FetchedAnswer> &answer)
{
    if (!answer) {
        Q_EMIT siteFailed(entry, m_sites[site], answer.error());
        siteDone(entry);
        return;
    }
    const qint64 next = m_entries[entry].next;
    const QString group = m_withGroup ? m_entries[entry].entry.group.toString() : QString();
    m_readers.start([this, generation = m_generation, entry, site, body = answer->body, next, group] {
        Result<QList<Release>> read = readFeed(body);
        if (read)
            read.value().removeIf([&](const Release &r) { return !releaseMatches(r.title, next, group); });
        QMetaObject::invokeMethod(
            this,
            [this, generation, entry, site, read = std::move(read)] {
                if (generation == m_generation)
                    merge(entry, site, read);
            },
            Qt::QueuedConnection);
    });
}

void FeedCheck::merge(int entry, int site, const Result<QList<Release>> &releases)
{
    if (!releases) {
        Q_EMIT siteFailed(entry, m_sites[site], releases.error());
        siteDone(entry);
        return;
    }
    CheckedEntry &checked = m_entries[entry];
    checked.answered = true;
    for (const Release &release : releases.value())
        mergeRelease(checked.found, release, m_sites[site]);
    // Answers come in any order; the sites of a release are named in the order they are asked in.
    for (FoundRelease &found : checked.found)
        std::sort(found.sites.begin(), found.sites.end(),
                  [this](const QString &a, const QString &b) { return m_sites.indexOf(a) < m_sites.indexOf(b); });
    if (!releases->isEmpty())
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
    QStringList names;
    for (const CheckedEntry &checked : std::as_const(m_entries)) {
        if (checked.answered && checked.waiting == 0)
            names << checked.entry.name.toString();
    }
    // A file that cannot be written only loses the marks of the next check.
    (void)CheckTimes::write(names, m_startedAt);
}
