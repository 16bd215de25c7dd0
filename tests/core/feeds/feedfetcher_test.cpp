#include "feeds/feedfetcher.h"
#include "support/httpserver.h"

#include <QTest>

#include <gtest/gtest.h>

static Result<FetchedAnswer> fetchOne(const QByteArray &address, int timeoutMs = 5000)
{
    FeedFetcher fetcher({.timeoutMs = timeoutMs});
    std::optional<Result<FetchedAnswer>> answer;
    fetcher.fetch(address, [&](const auto &a) { answer = a; });
    return QTest::qWaitFor([&] { return answer.has_value(); }, 10000) ? *answer : failure(ErrorCode::Failed, {});
}

TEST(FeedFetcher, AnswersWithinTheLimits)
{
    constexpr qint64 cap = FetchLimits{}.maxBytes;
    HttpServer server;
    for (int i = 1; i <= 6; ++i) // /hop6 to /hop5 ... to /hop0
        server.route("/hop" + QByteArray::number(i), {.status = 307, .location = "hop" + QByteArray::number(i - 1)});
    server.route("/hop0", {.body = "xxx"});
    using enum ErrorCode;
    // Served at /case; the error (a status with its number), else the size of a body of "x" and whether it was cut;
    // the address asked for, on the server when it starts with "/".
    const std::tuple<const char *, HttpServer::Route, std::optional<ErrorCode>, qint64, bool, QByteArray> rows[] = {
        {"ExactlyMaxBytes", {.body = QByteArray(cap, 'x'), .contentType = "text/xml"}, {}, cap, false, "/case"},
        {"LongerCutAtMaxBytes", {.body = QByteArray(cap, 'x') + "yyy"}, {}, cap, true, "/case"},
        {"EndlessCutAtMaxBytes", {.chunk = QByteArray(64 * 1024, 'x')}, {}, cap, true, "/case"},
        {"FiveRedirectsFollowed", {.status = 301, .location = "/hop4"}, {}, 3, false, "/case"},
        {"SixRedirects", {.status = 302, .location = "/hop5"}, Failed, 0, false, "/case"},
        {"RedirectLoop", {.status = 303, .location = "/case"}, Failed, 0, false, "/case"},
        {"RedirectToFile", {.status = 308, .location = "file:///etc/passwd"}, Refused, 0, false, "/case"},
        {"ServerError", {.status = 500, .body = "broken"}, HttpStatus, 0, false, "/case"},
        {"SlowAnswer", {.delayMs = -1}, TimedOut, 0, false, "/case"},
        {"TrickleForever", {.chunk = "x", .everyMs = 20}, TimedOut, 0, false, "/case"},
        {"ClosedPort", {}, Unreachable, 0, false, "http://127.0.0.1:1/"},
        {"OtherScheme", {}, Refused, 0, false, "ftp://127.0.0.1/"},
        {"UnencodedAddress", {}, Refused, 0, false, "http://127.0.0.1/caf\xC3\xA9"},
        // QUrl writes escapes of unreserved characters as the characters, the same address; every other escape stays.
        {"Escapes", {.body = "x"}, {}, 1, false, "/%63ase?w=%E4%B8%AD%20%2B%26%3D%25%2F%3F%23&x=a+b%7e%41%2E"},
    };
    const QByteArray saved = qgetenv("http_proxy");
    qputenv("http_proxy", "http://127.0.0.1:1"); // nobody there: the loopback never goes through a proxy
    for (const auto &[name, route, error, size, cut, address] : rows) {
        server.route("/case", route);
        const auto a = fetchOne(address[0] == '/' ? server.url(address) : address, error == TimedOut ? 300 : 5000);
        EXPECT_EQ(a ? std::nullopt : std::optional(a.error().code), error) << name;
        EXPECT_TRUE(a ? a->body == QByteArray(size, 'x') && a->cut == cut && a->contentType == route.contentType
                      : error != HttpStatus || a.error().detail == QString::number(route.status))
            << name;
    }
    saved.isNull() ? qunsetenv("http_proxy") : qputenv("http_proxy", saved);
    EXPECT_TRUE(server.targets().contains("/case?w=%E4%B8%AD%20%2B%26%3D%25%2F%3F%23&x=a+b~A."));
    EXPECT_TRUE(server.heads().value(0).contains("\r\nUser-Agent: Korvane/"));
}

// The server answers /pair only when two requests wait for it: more than two at once, or fewer, shows.
TEST(FeedFetcher, TwoAtOnceInOrderOfArrivalAndNoCallbackAfterCancel)
{
    HttpServer server;
    server.route("/pair", {.together = 2});
    server.route("/slow", {.delayMs = -1});
    for (const FetchLimits limits : {FetchLimits{.perHost = 2, .total = 6}, FetchLimits{.perHost = 6, .total = 2}}) {
        FeedFetcher fetcher(limits);
        for (int i = 1; i <= 6; ++i)
            fetcher.fetch(server.url("/pair?" + QByteArray::number(i)), [](const auto &a) { EXPECT_TRUE(a.ok()); });
        EXPECT_EQ(fetcher.pending(), 6);
        ASSERT_TRUE(QTest::qWaitFor([&] { return fetcher.pending() == 0; }, 10000));
    }
    EXPECT_EQ(server.maxOpen(), 2);
    QList<int> pairs; // the pair of each request as it came, in either order within a pair
    for (const QByteArray &target : server.targets())
        pairs << (target.back() - '1') / 2;
    EXPECT_EQ(pairs, (QList<int>{0, 0, 1, 1, 2, 2, 0, 0, 1, 1, 2, 2}));

    // Requests running, and answered but not yet told, end without a word on cancelAll() and on destruction.
    int late = 0;
    FeedFetcher kept;
    auto *dropped = new FeedFetcher;
    for (FeedFetcher *fetcher : {&kept, dropped})
        fetcher->fetch(server.url("/slow"), [&](const auto &) { ++late; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.targets().size() == 14; })); // both running
    for (FeedFetcher *fetcher : {&kept, dropped})
        fetcher->fetch("ftp://127.0.0.1/", [&](const auto &) { ++late; }); // answered, not yet told
    kept.cancelAll();
    delete dropped;
    EXPECT_EQ(fetchOne(server.url("/none")).error().detail, QStringLiteral("404")); // after whatever was on its way
    EXPECT_EQ(late, 0);
}
