#pragma once

#include "feeds/feedcheck.h"
#include "result.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QLockFile>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

// An entry a check found releases for that had not been announced before.
struct Announcement
{
    QString name;  // the entry's search name
    QString group; // the entry's fansub group, empty when it has none
    qint64 episode = -1;
};

// The feed checks, asked for by the user or due on schedule. Owned by the application, not by a window: a check
// goes on while its window is closed, and its results stay until the next one starts. Only one running copy of
// the program watches a file on schedule, the one holding the lock beside it; another still checks when asked.
//
// Between checks it costs nothing: one timer, set for when the next check is due (and at most half an hour
// ahead, so that a machine waking from sleep, whose timers stood still meanwhile, checks soon after). A check due
// several times over while the machine slept runs once. Sites that failed are asked again after growing pauses,
// and a pause a site asks for is kept.
class Watcher : public QObject
{
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;

    explicit Watcher(FetchLimits limits = {}, QObject *parent = nullptr);
    ~Watcher() override;

    // Reads the settings, takes the lock when it can and plans the next check. Once the file can be used.
    void begin();

    bool isOn() const { return m_on; }
    int minutes() const { return m_minutes; }
    bool isPaused() const { return m_paused; }
    bool holdsLock() const { return m_lock && m_lock->isLocked(); }
    // On, not paused, and this copy's to do.
    bool isWatching() const { return m_on && !m_paused && holdsLock(); }
    // Stored in the file; a check due now runs at once.
    Done setOn(bool on);
    Done setMinutes(int minutes);
    // Until the program ends or it is resumed; not stored.
    void setPaused(bool paused);
    void setSearchOptions(bool withGroup, bool withEpisode);

    QDateTime lastCheck() const { return m_lastCheck; }
    // When the next scheduled check is due; invalid when none is.
    QDateTime nextCheck() const;

    // Checks these rows (every entry when none) now, as the user asked: nothing is announced.
    Done checkNow(const QList<qint64> &rows = {});
    // Checks every entry now as if it were due: what it finds not announced before is announced.
    Done checkOnScheduleNow() { return run({}, true); }
    // Ends the check running; what it found so far stays.
    void stop();
    // The check running, or the last one.
    const FeedCheck &check() const { return m_check; }
    bool checkWasScheduled() const { return m_scheduled; }
    // The user has seen these releases: they are 新 no more.
    Done markSeen(const QList<Release> &releases);

    // Looks at the clock again: a check due now runs. The system's network coming back calls it too.
    void review();

    static constexpr int MinMinutes = 15;
    static constexpr int MaxMinutes = 1440;
    static constexpr int DefaultMinutes = 60;
    static constexpr qint64 LongestPauseSeconds = 6 * 3600;

    // Tests set the time and whether the system is online, and the lock's file.
    void setClockForTesting(Clock clock) { m_clock = std::move(clock); }
    void setOnlineForTesting(std::optional<bool> online) { m_onlineForTesting = online; }

Q_SIGNALS:
    void checkStarted();
    void checkFinished();
    // A scheduled check found releases not announced before, by entry.
    void announced(const QList<Announcement> &entries);
    // The settings, the pause, the last check or the marks changed.
    void changed();

private:
    QDateTime now() const;
    bool online() const;
    void plan();
    Done run(const QList<qint64> &rows, bool scheduled);
    void finished();
    void rememberOutcomes();

    struct SitePause
    {
        int failures = 0;
        QDateTime until;
    };

    FeedCheck m_check;
    FeedMemory m_memory;
    QHash<QString, SitePause> m_pauses; // by feed address
    QTimer m_timer;
    std::unique_ptr<QLockFile> m_lock;
    Clock m_clock;
    std::optional<bool> m_onlineForTesting;
    QDateTime m_lastCheck;
    QDateTime m_checkStarted;
    bool m_on = false;
    int m_minutes = DefaultMinutes;
    bool m_paused = false;
    bool m_begun = false;
    bool m_scheduled = false;
    bool m_wholeList = false;
    bool m_withGroup = true;
    bool m_withEpisode = true;
    std::vector<SearchSite> m_sites; // of the check running
};
