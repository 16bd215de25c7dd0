#include "feeds/feedfetcher.h"
#include "support/httpserver.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

namespace {

using Answer = Result<FetchedAnswer>;
constexpr qint64 cap = FetchLimits{}.maxBytes;

// Lets the event loop run until the condition holds, ten seconds at most.
bool waitFor(const std::function<bool()> &condition)
{
    const QDeadlineTimer deadline(10000);
    QTimer wake; // the loop below looks at the condition at least this often
    wake.start(10);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return condition();
}

template <typename Param> class FetcherTest : public ::testing::TestWithParam<Param>
{
protected:
    void SetUp() override
    {
        server.route("/feed", {.body = "x", .contentType = "application/rss+xml"});
        server.route("/slow", {.delayMs = -1});
        server.route("/pair", {.together = 2});
        for (int i = 1; i <= 6; ++i)
            server.route("/hop" + QByteArray::number(i),
                         {.status = 307, .location = "hop" + QByteArray::number(i - 1)});
        server.route("/hop0", {.body = "xxx"});
    }

    Answer fetchOne(const QByteArray &address, FetchLimits limits = {})
    {
        FeedFetcher fetcher(limits);
        std::optional<Answer> answer;
        fetcher.fetch(address, [&](const Answer &a) { answer = a; });
        EXPECT_TRUE(waitFor([&] { return answer.has_value(); }));
        return answer.value_or(failure(ErrorCode::Failed, QStringLiteral("no answer")));
    }

    HttpServer server;
};

struct Case
{
    const char *name;
    HttpServer::Route route = {}; // served at /case
    std::optional<ErrorCode> error = {};
    qint64 size = 0; // of the body, all "x", when there is no error
    bool cut = false;
    int timeoutMs = 5000;
    QByteArray address = {}; // instead of /case
};
using Fetch = FetcherTest<Case>;

TEST_P(Fetch, Answer)
{
    const Case &c = GetParam();
    server.route("/case", c.route);
    const Answer answer = fetchOne(c.address.isEmpty() ? server.url("/case") : c.address, {.timeoutMs = c.timeoutMs});
    ASSERT_EQ(answer.ok(), !c.error) << (answer.ok() ? std::string("a body") : answer.error().detail.toStdString());
    if (!c.error) {
        EXPECT_EQ(answer->body, QByteArray(c.size, 'x'));
        EXPECT_EQ(answer->cut, c.cut);
    } else {
        EXPECT_EQ(answer.error().code, *c.error) << answer.error().detail.toStdString();
        if (c.error == ErrorCode::HttpStatus) { // the number is the detail
            EXPECT_EQ(answer.error().detail, QString::number(c.route.status));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    FeedFetcher, Fetch,
    ::testing::Values(
        Case{"Body", {.body = "xxx"}, {}, 3}, Case{"ExactlyMaxBytes", {.body = QByteArray(cap, 'x')}, {}, cap},
        Case{"LongerCutAtMaxBytes", {.body = QByteArray(cap, 'x') + "yyy"}, {}, cap, true},
        Case{"EndlessCutAtMaxBytes", {.chunk = QByteArray(64 * 1024, 'x')}, {}, cap, true},
        Case{"FiveRedirectsFollowed", {.status = 301, .location = "/hop4"}, {}, 3},
        Case{"SixRedirects", {.status = 302, .location = "/hop5"}, ErrorCode::Failed},
        Case{"RedirectLoop", {.status = 303, .location = "/case"}, ErrorCode::Failed},
        Case{"RedirectToFile", {.status = 308, .location = "file:///etc/passwd"}, ErrorCode::Refused},
        Case{"NotFound", {.status = 404}, ErrorCode::HttpStatus},
        Case{"ServerError", {.status = 500, .body = "broken"}, ErrorCode::HttpStatus},
        Case{"SlowAnswer", {.delayMs = -1}, ErrorCode::TimedOut, 0, false, 300},
        Case{"TrickleForever", {.chunk = "x", .everyMs = 20}, ErrorCode::TimedOut, 0, false, 300},
        Case{.name = "ClosedPort", .error = ErrorCode::Unreachable, .address = "http://127.0.0.1:1/"},
        Case{.name = "FileAddress", .error = ErrorCode::Refused, .address = "file:///etc/passwd"},
        Case{.name = "BlankInAddress", .error = ErrorCode::Refused, .address = "http://127.0.0.1/a b"},
        Case{.name = "UnencodedAddress", .error = ErrorCode::Refused, .address = "http://127.0.0.1/caf\xC3\xA9"}),
    [](const auto &info) { return std::string(info.param.name); });

// The server answers /pair only when two requests wait for it: more than two at once, or fewer, shows.
using Limits = FetcherTest<FetchLimits>;
TEST_P(Limits, TwoAtOnceInOrderOfArrival)
{
    FeedFetcher fetcher(GetParam());
    int answered = 0;
    for (int i = 1; i <= 6; ++i)
        fetcher.fetch(server.url("/pair?" + QByteArray::number(i)), [&](const Answer &a) { answered += a.ok(); });
    EXPECT_EQ(fetcher.pending(), 6);
    ASSERT_TRUE(waitFor([&] { return answered == 6; }));
    EXPECT_EQ(server.maxOpen(), 2);
    EXPECT_EQ(fetcher.pending(), 0);
    QList<QByteArray> targets = server.targets();
    for (auto pair = targets.begin(); pair < targets.end(); pair += 2) // each pair at once, in either order
        std::sort(pair, pair + 2);
    EXPECT_EQ(targets, (QList<QByteArray>{"/pair?1", "/pair?2", "/pair?3", "/pair?4", "/pair?5", "/pair?6"}));
}
INSTANTIATE_TEST_SUITE_P(FeedFetcher, Limits,
                         ::testing::Values(FetchLimits{.perHost = 2, .total = 6},
                                           FetchLimits{.perHost = 6, .total = 2}),
                         [](const auto &info) { return std::string(info.param.perHost == 2 ? "PerHost" : "Total"); });

using FeedFetcherTest = FetcherTest<int>;
TEST_F(FeedFetcherTest, NoCallbackAfterCancelOrDestruction)
{
    int late = 0;
    FeedFetcher kept;
    auto *dropped = new FeedFetcher;
    for (FeedFetcher *fetcher : {&kept, dropped})
        fetcher->fetch(server.url("/slow"), [&](const Answer &) { ++late; });
    ASSERT_TRUE(waitFor([&] { return server.targets().size() == 2; })); // both running
    for (FeedFetcher *fetcher : {&kept, dropped})
        fetcher->fetch("ftp://127.0.0.1/", [&](const Answer &) { ++late; }); // answered, not yet told
    kept.cancelAll();
    delete dropped;
    EXPECT_EQ(kept.pending(), 0);
    // Whatever was still on its way would come before the answer to a later request.
    EXPECT_TRUE(fetchOne(server.url("/feed")).ok());
    EXPECT_EQ(late, 0);
}

// With a proxy in the environment too: the loopback never goes through one.
TEST_F(FeedFetcherTest, RequestReachesTheServerAsWritten)
{
    const QByteArray saved = qgetenv("http_proxy");
    qputenv("http_proxy", "http://127.0.0.1:1"); // nobody answers there
    // QUrl writes escapes of unreserved characters as the characters, the same address; every other escape stays.
    server.route("/a%2Fb~A./c%20d", {.body = "x", .contentType = "application/rss+xml"});
    const Answer answer = fetchOne(server.url("/a%2Fb%7E%41%2E/c%20d?w=%E4%B8%AD%20%2B%26%3D%25%2F%3F%23&x=a+b%7e"));
    saved.isNull() ? qunsetenv("http_proxy") : qputenv("http_proxy", saved);
    ASSERT_TRUE(answer.ok()) << answer.error().detail.toStdString();
    EXPECT_EQ(server.targets(), QList<QByteArray>{"/a%2Fb~A./c%20d?w=%E4%B8%AD%20%2B%26%3D%25%2F%3F%23&x=a+b~"});
    EXPECT_EQ(answer->contentType, "application/rss+xml");
    EXPECT_TRUE(server.heads().value(0).contains("\r\nUser-Agent: Korvane/"));
}

} // namespace
