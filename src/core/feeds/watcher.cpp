#include "feeds/watcher.h"

#include "data/datafile.h"
#include "data/settings.h"
#include "feeds/releasemarks.h"

#include <QNetworkInformation>

#include <algorithm>

namespace {
// The longest the timer waits: its time stands still while the machine sleeps.
constexpr qint64 LongestWaitMs = 30 * 60 * 1000;
// A scheduled check that could not start (the file held by another program) is tried again this much later.
constexpr qint64 RetryMs = 5 * 60 * 1000;
// The pause after a site's first failure, doubled with each one after.
constexpr qint64 FirstPauseSeconds = 30 * 60;
} // namespace

Watcher::Watcher(FetchLimits limits, QObject *parent) : QObject(parent), m_check(limits)
{
    m_timer.setSingleShot(true);
    // A coarse timer: a minute late is no matter, and the system may wake us with other work.
    m_timer.setTimerType(Qt::VeryCoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Watcher::review);
    connect(&m_check, &FeedCheck::finished, this, &Watcher::finished);
}

Watcher::~Watcher()
{
    m_check.stop();
}

QDateTime Watcher::now() const
{
    return m_clock ? m_clock() : QDateTime::currentDateTimeUtc();
}

bool Watcher::online() const
{
    if (m_onlineForTesting)
        return *m_onlineForTesting;
    const QNetworkInformation *network = QNetworkInformation::instance();
    return !network || network->reachability() != QNetworkInformation::Reachability::Disconnected;
}

void Watcher::begin()
{
    m_on = Settings::read(Settings::AutoCheck).value_or(QString()) == QLatin1String("1");
    const int minutes = Settings::read(Settings::AutoCheckMinutes).value_or(QString()).toInt();
    m_minutes = minutes == 0 ? DefaultMinutes : std::clamp(minutes, MinMinutes, MaxMinutes);
    m_lastCheck = QDateTime::fromString(Settings::read(Settings::LastCheck).value_or(QString()), Qt::ISODate);
    // The network coming back (after sleep, as often as not) is a moment to look at the clock.
    if (QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        connect(QNetworkInformation::instance(), &QNetworkInformation::reachabilityChanged, this, &Watcher::review,
                Qt::UniqueConnection);
    m_begun = true;
    plan();
}

Done Watcher::setOn(bool on)
{
    if (Done stored = Settings::write(Settings::AutoCheck, on ? QStringLiteral("1") : QStringLiteral("0")); !stored)
        return stored;
    m_on = on;
    plan();
    Q_EMIT changed();
    return {};
}

Done Watcher::setMinutes(int minutes)
{
    minutes = std::clamp(minutes, MinMinutes, MaxMinutes);
    if (Done stored = Settings::write(Settings::AutoCheckMinutes, QString::number(minutes)); !stored)
        return stored;
    m_minutes = minutes;
    plan();
    Q_EMIT changed();
    return {};
}

void Watcher::setPaused(bool paused)
{
    m_paused = paused;
    plan();
    Q_EMIT changed();
}

void Watcher::setSearchOptions(bool withGroup, bool withEpisode)
{
    m_withGroup = withGroup;
    m_withEpisode = withEpisode;
}

QDateTime Watcher::nextCheck() const
{
    if (!isWatching())
        return {};
    return m_lastCheck.isValid() ? m_lastCheck.addSecs(qint64(m_minutes) * 60) : now();
}

void Watcher::review()
{
    plan();
}

void Watcher::plan()
{
    m_timer.stop();
    if (!m_begun || !m_on || m_paused || m_check.running())
        return;
    // The copy watching this file may have ended: the first to see it takes over.
    if (!m_lock) {
        m_lock = std::make_unique<QLockFile>(DataFile::path() + QStringLiteral(".watching"));
        m_lock->setStaleLockTime(0); // stale only when its process has gone
    }
    if (!m_lock->isLocked() && !m_lock->tryLock(0)) {
        m_timer.start(int(LongestWaitMs));
        return;
    }
    const qint64 wait = now().msecsTo(nextCheck());
    if (wait > 0) {
        m_timer.start(int(std::min(wait, LongestWaitMs)));
    } else if (!online()) {
        m_timer.start(int(LongestWaitMs)); // or sooner, when the network comes back
    } else if (!run({}, true)) {
        m_timer.start(int(RetryMs));
    }
}

Done Watcher::checkNow(const QList<qint64> &rows)
{
    return run(rows, false);
}

Done Watcher::run(const QList<qint64> &rows, bool scheduled)
{
    const Result<QList<CheckEntry>> entries = entriesToCheck(rows);
    if (!entries)
        return entries.error();
    Result<std::vector<SearchSite>> sites = feedSites();
    if (!sites)
        return sites.error();
    m_timer.stop();
    m_sites = std::move(sites).value();
    // A check on schedule leaves a site alone while it pauses; one the user asks for asks every site.
    QSet<int> postponed;
    for (int s = 0; scheduled && s < int(m_sites.size()); ++s) {
        const auto pause = m_pauses.constFind(m_sites[std::size_t(s)].rssdata);
        if (pause != m_pauses.cend() && pause->until > now())
            postponed.insert(s);
    }
    m_scheduled = scheduled;
    m_wholeList = rows.isEmpty();
    m_check.setMemory(&m_memory);
    Q_EMIT checkStarted();
    m_check.start(entries.value(), m_sites, m_withGroup, m_withEpisode, postponed);
    return {};
}

void Watcher::stop()
{
    if (!m_check.running())
        return;
    m_check.stop();
    // What it found so far counts; the next scheduled check comes at its time, not at once.
    finished();
}

void Watcher::rememberOutcomes()
{
    const std::vector<SiteOutcome> &outcomes = m_check.outcomes();
    for (std::size_t s = 0; s < outcomes.size() && s < m_sites.size(); ++s) {
        const SiteOutcome &outcome = outcomes[s];
        const QString &site = m_sites[s].rssdata;
        SitePause pause = m_pauses.value(site);
        if (outcome.answered > 0) {
            pause = {};
        } else if (outcome.failed > 0 && !(pause.until.isValid() && pause.until > now())) {
            ++pause.failures;
            const qint64 seconds = std::min(FirstPauseSeconds << std::min(pause.failures - 1, 16), LongestPauseSeconds);
            pause.until = now().addSecs(seconds);
        }
        if (outcome.retryAfterSeconds >= 0)
            pause.until =
                std::max(pause.until.isValid() ? pause.until : now(), now().addSecs(outcome.retryAfterSeconds));
        if (pause.failures == 0 && !pause.until.isValid())
            m_pauses.remove(site);
        else
            m_pauses.insert(site, pause);
    }
}

void Watcher::finished()
{
    // A feed that did not change is asked about again; after a check of every entry, no other is kept.
    if (m_wholeList)
        m_memory = m_check.remembered();
    else
        m_memory.insert(m_check.remembered());
    if (m_scheduled)
        rememberOutcomes();
    if (m_wholeList) {
        m_lastCheck = now();
        (void)Settings::write(Settings::LastCheck, m_lastCheck.toString(Qt::ISODate));
    }

    // Every release found is recorded; those of a scheduled check never recorded before are announced.
    QList<ReleaseMarks::Found> found;
    QHash<QString, int> entryOf;
    const QList<CheckedEntry> &entries = m_check.entries();
    for (int e = 0; e < entries.size(); ++e) {
        for (int i = 0; i < entries[e].found.size(); ++i) {
            // A release that names neither the entry's search name nor its work is likely another series'.
            if (entries[e].doubtful.contains(i))
                continue;
            const QString key = ReleaseMarks::keyOf(entries[e].found.list()[i].release);
            found.append({key, entries[e].entry.name.toString(), entries[e].next});
            if (!entryOf.contains(key)) // a release that fits several entries is told with the first
                entryOf.insert(key, e);
        }
    }
    const Result<QList<ReleaseMarks::Found>> fresh = ReleaseMarks::announce(found);
    if (m_scheduled && fresh && !fresh->isEmpty()) {
        QList<int> announcedEntries;
        for (const ReleaseMarks::Found &f : fresh.value()) {
            const int e = entryOf.value(f.key);
            if (!announcedEntries.contains(e))
                announcedEntries << e;
        }
        std::sort(announcedEntries.begin(), announcedEntries.end());
        QList<Announcement> announcements;
        for (const int e : announcedEntries)
            announcements.append(
                {entries[e].entry.name.toString(), entries[e].entry.group.toString().trimmed(), entries[e].next});
        Q_EMIT announced(announcements);
    }
    Q_EMIT checkFinished();
    Q_EMIT changed();
    plan();
}

Done Watcher::markSeen(const QList<Release> &releases)
{
    QStringList keys;
    for (const Release &release : releases)
        keys << ReleaseMarks::keyOf(release);
    const Done marked = ReleaseMarks::markSeen(keys);
    if (marked && !keys.isEmpty())
        Q_EMIT changed();
    return marked;
}
