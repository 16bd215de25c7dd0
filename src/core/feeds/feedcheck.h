#pragma once

#include "feeds/feedfetcher.h"
#include "feeds/releasematch.h"
#include "feeds/releasemerge.h"
#include "result.h"
#include "sites/sitestore.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThreadPool>
#include <QVariant>

#include <algorithm>
#include <deque>
#include <functional>
#include <vector>

// One watch-list entry to check, its values as stored when the check starts.
struct CheckEntry
{
    qint64 row = -1;
    QString line; // its line in the entry list
    QVariant group;
    QVariant name;
    QVariant episode;
    QVariant work; // its title (原作名)
};

// What a check knows of one entry so far.
struct CheckedEntry
{
    CheckEntry entry;
    qint64 next = -1;      // the episode looked for; -1 when the stored one is no number (nothing is asked)
    FoundReleases found;   // its releases, in order of arrival, each with its sites in the sites' order
    QSet<int> fresh;       // the releases the user had not seen when they were found, by index
    QSet<int> doubtful;    // the releases whose title names neither the search name nor the work, by index
    int waiting = 0;       // sites still to answer
    bool answered = false; // some site answered with a feed
    bool failed = false;   // some site gave no feed
    QList<std::pair<int, Error>> failures; // the sites that gave none, by index, and why
    // Some release, not a doubtful one, is new to the user.
    bool hasNew() const
    {
        return std::any_of(fresh.cbegin(), fresh.cend(), [this](int i) { return !doubtful.contains(i); });
    }
};

// The entries of these rows as a check takes them, with their lines in the first order; every entry when no row
// is given.
Result<QList<CheckEntry>> entriesToCheck(const QList<qint64> &rows = {});

// The sites whose feeds are asked: the built-in ones, then the custom ones, each in display order, those with a
// feed address.
Result<std::vector<SearchSite>> feedSites();

// What a site's feed said for one query at the last check that read it: its validators, for asking whether
// anything changed, and the releases it gave, which stand for its answer when nothing did.
struct RememberedAnswer
{
    QByteArray etag, lastModified;
    QList<Release> releases;
    qsizetype leftOut = 0;
};
using FeedMemory = QHash<QByteArray, RememberedAnswer>;

// How each site fared in a check: its answers, its failures, and the pause the last one asked for.
struct SiteOutcome
{
    int answered = 0;
    int failed = 0;
    qint64 retryAfterSeconds = -1;
};

// The answers a check holds in memory before its readers have read them. Past this no request is started, so that
// many large feeds arriving faster than they are read cannot fill the memory.
inline constexpr qint64 maxUnreadBytes = 16 * 1024 * 1024;

// Asks every site's feed for each entry's next episode, a few requests at a time, and gathers the releases that
// are that episode. Feeds are read, matched and cut to their newest releases on worker threads, as an answer of
// some megabytes takes longer than a frame; the thread this lives on only merges what they kept, which costs the
// same however large the feed. With a memory of earlier answers it asks whether a feed changed, and a feed that
// did not gives what it gave before.
class FeedCheck : public QObject
{
    Q_OBJECT
public:
    explicit FeedCheck(FetchLimits limits = {}, QObject *parent = nullptr);
    ~FeedCheck() override;

    // Starts afresh, ending a check still running. The words hold the group and the next episode when asked;
    // a release counts when it names the next episode, and the group too when the words hold it. Sites that are
    // postponed are not asked: each entry notes them as failed.
    void start(const QList<CheckEntry> &entries, std::vector<SearchSite> sites, bool withGroup, bool withEpisode,
               const QSet<int> &postponed = {});
    // Drops every request still out: nothing of them arrives afterwards.
    void stop();
    bool running() const { return m_running; }
    // The answers of earlier checks, asked about again; none when null. It must outlive the check.
    void setMemory(const FeedMemory *memory) { m_memory = memory; }
    // This check's answers that can be asked about again, and those that were the same as before.
    const FeedMemory &remembered() const { return m_remembered; }

    const QList<CheckedEntry> &entries() const { return m_entries; }
    const QStringList &sites() const { return m_sites; }
    const std::vector<SiteOutcome> &outcomes() const { return m_outcomes; }
    // Entries every site has answered for (or that had nothing to ask).
    int checkedCount() const;
    // Bytes of answers waiting for a reader now.
    qint64 unreadBytes() const { return m_unreadBytes; }
    // Requests started and not yet answered.
    int requestsOut() const { return m_started; }
    // Tests hold the readers back with this, run by each reader before it reads (on its own thread).
    static void setBeforeReadingForTesting(std::function<void()> wait);

Q_SIGNALS:
    void started();
    void releasesFound(int entry);
    void siteFailed(int entry, const QString &site, const Error &why);
    void entryChecked(int entry);
    void finished();

private:
    struct Request
    {
        int entry = 0, site = 0;
        QByteArray address;
    };
    struct Read
    {
        Result<QList<Release>> releases;
        qsizetype leftOut = 0;
    };

    void startRequests();
    void answered(const QString &host, const Request &request, const Result<FetchedAnswer> &answer);
    void failed(int entry, int site, const Error &why);
    void merge(int entry, int site, Read read);
    void siteDone(int entry);

    FeedFetcher m_fetcher;
    FetchLimits m_limits;
    QThreadPool m_readers;
    QList<CheckedEntry> m_entries;
    QStringList m_sites;
    std::vector<SiteOutcome> m_outcomes;
    bool m_withGroup = false;
    const FeedMemory *m_memory = nullptr;
    FeedMemory m_remembered;
    // Requests not yet started, by host, and the hosts in the order they were first asked.
    QHash<QString, std::deque<Request>> m_queued;
    QStringList m_hosts;
    QHash<QString, int> m_startedPerHost;
    int m_started = 0; // requests started and not yet answered
    qint64 m_unreadBytes = 0;
    int m_waiting = 0;        // answers still to come, in all
    quint64 m_generation = 0; // answers read for an earlier check are dropped
    bool m_running = false;
};
