#include "data/datafile.h"
#include "data/settings.h"
#include "feeds/releasemarks.h"
#include "feeds/watcher.h"
#include "support/coretest.h"
#include "support/httpserver.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

namespace {

// A watch list of two entries and two sites on the loopback server, and a watcher on it whose clock the test sets.
class WatcherTest : public CoreTest
{
public:
    void SetUp() override
    {
        CoreTest::SetUp();
        const QByteArray item = "<item><title>[G] Show - 09</title><link>https://x.example/9</link></item>";
        server.route("/a", {.body = "<rss><channel>" + item + "</channel></rss>", .etag = "\"v1\""});
        const QString base = QString::fromLatin1(server.url(""));
        makeDatabase({"insert into AD values ('1', 'G', 'Show', '8', 'Show', '')",
                      "insert into AD values ('2', 'G', 'Other', '1', 'Other', '')",
                      "alter table bt add column rssdata text", "alter table xd add column rssdata text"});
        exec({u("update bt set rssdata = '%1/a?k=' where btset = '极影'").arg(base),
              u("update bt set rssdata = '%1/b?k=' where btset = '动漫花园'").arg(base)});
        ASSERT_TRUE(DataFile::prepare().ok());
        wire();
    }
    void wire()
    {
        watcher = std::make_unique<Watcher>(FetchLimits{.timeoutMs = 2000});
        watcher->setClockForTesting([this] { return now; });
        watcher->setOnlineForTesting(true);
        QObject::connect(watcher.get(), &Watcher::checkStarted, [this] { ++checks; });
        QObject::connect(watcher.get(), &Watcher::announced, [this](const QList<Announcement> &a) { news << a; });
    }
    void TearDown() override
    {
        watcher.reset();
        CoreTest::TearDown();
    }
    // Moves the clock on and lets the watcher look at it; waits for a check that starts.
    void after(int minutes)
    {
        now = now.addSecs(qint64(minutes) * 60);
        watcher->review();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !watcher->check().running(); }, 10000));
    }
    // Requests for /b since the last look.
    int askedB()
    {
        const QList<QByteArray> since = server.targets().mid(std::exchange(seen, int(server.targets().size())));
        return int(std::count_if(since.cbegin(), since.cend(), [](const auto &t) { return t.startsWith("/b?"); }));
    }
    // Watching from now, every 15 minutes: the requests for /b at the first check and at each of the next ones.
    QList<int> askedBEvery15Minutes(int next)
    {
        EXPECT_TRUE(watcher->setMinutes(15).ok() && watcher->setOn(true).ok());
        watcher->begin();
        after(0);
        QList<int> asked{askedB()};
        for (int i = 0; i < next; ++i) {
            after(15);
            asked << askedB();
        }
        return asked;
    }

    HttpServer server;
    QDateTime now = QDateTime(QDate(2026, 12, 1), QTime(20, 0), Qt::UTC);
    std::unique_ptr<Watcher> watcher;
    int checks = 0, seen = 0;
    QList<Announcement> news;
};

} // namespace

// Due at once when turned on, then every interval after the last; a machine that slept through several intervals
// checks once; never while paused, offline, or off.
TEST_F(WatcherTest, ChecksWhenDueAndOnceAfterSleepNeverWhilePausedOfflineOrOff)
{
    watcher->begin();
    EXPECT_EQ(checks, 0); // off by default
    ASSERT_TRUE(watcher->setOn(true).ok());
    after(0);
    const struct
    {
        const char *what;
        int minutes, checks;
        std::function<void(Watcher &)> before = {};
    } steps[] = {
        {"not yet due", 59, 1},
        {"due", 1, 2},
        {"slept five hours", 300, 3},
        {"looked again", 0, 3},
        {"offline", 60, 3, [](Watcher &w) { w.setOnlineForTesting(false); }},
        {"back online", 0, 4, [](Watcher &w) { w.setOnlineForTesting(true); }},
        {"paused", 120, 4, [](Watcher &w) { w.setPaused(true); }},
        {"resumed", 0, 5, [](Watcher &w) { w.setPaused(false); }},
        {"a longer interval", 60, 5, [](Watcher &w) { ASSERT_TRUE(w.setMinutes(90).ok()); }},
        {"off", 120, 5, [](Watcher &w) { ASSERT_TRUE(w.setOn(false).ok()); }},
    };
    for (const auto &step : steps) {
        if (step.before)
            step.before(*watcher);
        after(step.minutes);
        EXPECT_EQ(checks, step.checks) << step.what;
    }
    // The settings and the last check are the file's.
    EXPECT_EQ(rows("select name, value from settings order by name"),
              texts({"autocheck|0", "autocheckminutes|90", "lastcheck|2026-12-02T05:00:00Z"}));
}

// 动漫花园 fails each time it is asked: it is asked again after 30 minutes, then 60, then 120 (checks every 15).
// 极影's feed has not changed since its last answer: it says so, and gives what it gave before.
TEST_F(WatcherTest, AFailingSiteIsAskedAfterGrowingPausesAndAnUnchangedFeedGivesWhatItGaveBefore)
{
    server.route("/b", {.status = 500});
    // Each ask is one request for each entry waiting for an episode: two.
    EXPECT_EQ(askedBEvery15Minutes(14), (QList<int>{2, 0, 2, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 2}));
    EXPECT_TRUE(server.heads().join().contains("\r\nIf-None-Match: \"v1\"\r\n"));
    const QList<CheckedEntry> &entries = watcher->check().entries();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].found.size(), 1);
}

// A site that asks for a pause gets it, longer than its failure alone would earn; the user's own check asks it anyway.
TEST_F(WatcherTest, APauseASiteAsksForIsKept)
{
    server.route("/b", {.raw = "HTTP/1.1 429 Too Many Requests\r\nRetry-After: 7200\r\nContent-Length: 0\r\n\r\n"});
    EXPECT_EQ(askedBEvery15Minutes(8), (QList<int>{2, 0, 0, 0, 0, 0, 0, 0, 2}));
    ASSERT_TRUE(watcher->checkNow().ok());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !watcher->check().running(); }));
    EXPECT_EQ(askedB(), 2);
}

// What a scheduled check finds is announced once, by entry, across a restart too; a check the user asks for
// announces nothing; a release stays unseen until the user sees it.
TEST_F(WatcherTest, AReleaseIsAnnouncedOnceAndStaysNewUntilSeen)
{
    ASSERT_TRUE(watcher->setOn(true).ok());
    watcher->begin();
    after(0);
    ASSERT_EQ(news.size(), 1);
    EXPECT_TRUE(news[0].name == u("Show") && news[0].group == u("G") && news[0].episode == 9);
    after(60);
    wire(); // the program started again
    watcher->begin();
    after(120);
    EXPECT_EQ(news.size(), 1);
    EXPECT_EQ(ReleaseMarks::rowsWithUnseen().value(), QSet<qint64>{1});
    ASSERT_TRUE(watcher->markSeen({watcher->check().entries()[0].found.list()[0].release}).ok());
    EXPECT_TRUE(ReleaseMarks::rowsWithUnseen().value().isEmpty());
    // A new release found by the user's own check is recorded, not announced.
    server.route("/a", {.body = "<rss><channel><item><title>[G] Show - 09 v2</title></item></channel></rss>"});
    ASSERT_TRUE(watcher->checkNow().ok());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !watcher->check().running(); }));
    after(60);
    EXPECT_EQ(news.size(), 1);
}

// Two copies of the program on one file: the first to take the lock beside it watches; the other, once it ends.
TEST_F(WatcherTest, OnlyOneCopyWatchesAFile)
{
    ASSERT_TRUE(Settings::write(Settings::AutoCheck, u("1")).ok());
    QProcess other;
    other.start(QCoreApplication::applicationFilePath(), {u("watch"), folder()});
    ASSERT_TRUE(other.waitForReadyRead(10000));
    EXPECT_EQ(other.readLine().trimmed(), "watching");
    watcher->begin();
    EXPECT_FALSE(watcher->holdsLock() || watcher->nextCheck().isValid());
    other.closeWriteChannel();
    ASSERT_TRUE(other.waitForFinished(10000));
    after(0);
    EXPECT_TRUE(watcher->holdsLock() && checks == 1);
}
