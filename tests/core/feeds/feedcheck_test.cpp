#include "feeds/feedcheck.h"
#include "support/coretest.h"
#include "support/httpserver.h"

#include <QScopeGuard>
#include <QSemaphore>
#include <QTest>

// Forty entries whose site answers each with a feed of 5,000 matching releases, 3.9 MB, while the readers are held
// back: requests stop once the answers waiting for them fill their bound. Let go, each entry keeps its newest 200.
TEST_F(CoreTest, LargeFeedsArrivingFasterThanTheyAreReadStayWithinBounds)
{
    makeDatabase();
    QByteArray feed = "<rss><channel>";
    for (int i = 0; i < 5000; ++i)
        feed += "<item><title>[G] Show - 09 (" + QByteArray::number(i) + ")</title><pubDate>" +
                QDateTime::fromSecsSinceEpoch(1700000000 + i, Qt::UTC).toString(Qt::RFC2822Date).toLatin1() +
                "</pubDate><description>" + QByteArray(700, 'd') + "</description></item>";
    feed += "</channel></rss>";
    HttpServer server;
    server.route("/feed", {.body = feed});
    QList<CheckEntry> entries;
    for (int i = 0; i < 40; ++i)
        entries.append({i, {}, u("G"), u("Show ") + QString::number(i), u("8"), {}});
    const SearchSite site{-1, u("1"), u("S"), false, {}, 1, QString::fromLatin1(server.url("/feed?k="))};
    QSemaphore held;
    FeedCheck::setBeforeReadingForTesting([&] { held.acquire(); });
    FeedCheck check;
    // Let go before the check goes, whatever fails: it waits for its readers.
    const auto letGo = qScopeGuard([&] {
        held.release(1000);
        FeedCheck::setBeforeReadingForTesting({});
    });
    check.start(entries, {site}, true, true);
    // Every request started has answered, and waits.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return check.unreadBytes() >= maxUnreadBytes && check.requestsOut() == 0; }, 60000));
    EXPECT_LE(server.targets().size(), maxUnreadBytes / feed.size() + 1 + FetchLimits{}.total);
    held.release(1000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !check.running(); }, 120000));
    for (const CheckedEntry &entry : check.entries()) {
        EXPECT_EQ(entry.found.size(), maxReleasesPerEntry);
        EXPECT_EQ(entry.found.leftOut(), 5000 - maxReleasesPerEntry);
        EXPECT_EQ(entry.found.list().first().release.title, u("[G] Show - 09 (4999)"));
    }
}
