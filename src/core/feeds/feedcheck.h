#pragma once

#include "feeds/feedfetcher.h"
#include "feeds/releasematch.h"
#include "feeds/releasemerge.h"
#include "result.h"
#include "sites/sitestore.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QVariant>

#include <vector>

// One watch-list entry to check, its values as stored when the check starts.
struct CheckEntry
{
    qint64 row = -1;
    QString line; // its line in the entry list
    QVariant group;
    QVariant name;
    QVariant episode;
};

// What a check knows of one entry so far.
struct CheckedEntry
{
    CheckEntry entry;
    qint64 next = -1;          // the episode looked for; -1 when the stored one is no number (nothing is asked)
    QList<FoundRelease> found; // its releases, in order of arrival, each with its sites in the sites' order
    QDateTime previous;        // when the entry was checked before; invalid when never
    int waiting = 0;           // sites still to answer
    bool answered = false;     // some site answered with a feed
};

// The sites whose feeds are asked: the built-in ones, then the custom ones, each in display order, those with a
// feed address.
Result<std::vector<SearchSite>> feedSites();

// Asks every site's feed for each entry's next episode, a few requests at a time, and gathers the releases that
// are that episode. Feeds are read on worker threads, as an answer of some megabytes takes longer than a frame;
// the thread this lives on only merges what they found. When the check ends, or is stopped, the entries that
// some site answered for are recorded as checked at its start.
class FeedCheck : public QObject
{
    Q_OBJECT
public:
    explicit FeedCheck(FetchLimits limits = {}, QObject *parent = nullptr);
    ~FeedCheck() override;

    // Starts afresh, ending a check still running. The words hold the group and the next episode when asked;
    // a release counts when it names the next episode, and the group too when the words hold it.
    void start(const QList<CheckEntry> &entries, std::vector<SearchSite> sites, bool withGroup, bool withEpisode);
    // Drops every request still out: nothing of them arrives afterwards.
    void stop();
    bool running() const { return m_running; }

    const QList<CheckedEntry> &entries() const { return m_entries; }
    // Entries every site has answered for (or that had nothing to ask).
    int checkedCount() const;
    // Published since the entry's previous check; every release is new to an entry never checked before.
    static bool isNew(const CheckedEntry &entry, const Release &release);

Q_SIGNALS:
    void releasesFound(int entry);
    void siteFailed(int entry, const QString &site, const Error &why);
    void entryChecked(int entry);
    void finished();

private:
    void answered(int entry, int site, const Result<FetchedAnswer> &answer);
    void merge(int entry, int site, const Result<QList<Release>> &releases);
    void siteDone(int entry);
    void recordTimes();

    FeedFetcher m_fetcher;
    QThreadPool m_readers;
    QList<CheckedEntry> m_entries;
    QStringList m_sites;
    bool m_withGroup = false;
    QDateTime m_startedAt;
    int m_waiting = 0;        // answers still to come, in all
    quint64 m_generation = 0; // answers read for an earlier check are dropped
    bool m_running = false;
};
