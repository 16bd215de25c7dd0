#include "feeds/feedfetcher.h"
#include "support/httpserver.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>
#include <zlib.h>

static Result<FetchedAnswer> fetchOne(const FetchRequest &request, FeedFetcher *fetcher = nullptr)
{
    FeedFetcher own;
    std::optional<Result<FetchedAnswer>> answer;
    (fetcher ? *fetcher : own).fetch(request, [&](const auto &a) { answer = a; });
    return QTest::qWaitFor([&] { return answer.has_value(); }, 10000) ? *answer : failure(ErrorCode::Failed, {});
}

static QByteArray gzip(const QByteArray &data)
{
    z_stream z{};
    deflateInit2(&z, 1, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&z, uLong(data.size()))), '\0');
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}

// A 200 answer as written here: its fields, then its body, or else endless lines of flood.
static HttpServer::Route sent(const QByteArray &fields, const QByteArray &body, const QByteArray &flood = {})
{
    const QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n" + fields;
    return {.chunk = flood, .raw = flood.isEmpty() ? head + "\r\n" + body : head};
}

TEST(FeedFetcher, AnswersWithinTheLimits)
{
    constexpr qint64 cap = FetchLimits{}.maxBytes;
    HttpServer server;
    for (int i = 1; i <= 6; ++i) // /hop6 to /hop5 ... to /hop0
        server.route("/hop" + QByteArray::number(i), {.status = 307, .location = "hop" + QByteArray::number(i - 1)});
    server.route("/hop0", {.body = "xxx"});
    server.route("http://feed.invalid/proxied", {.body = "x"});
    const QByteArray x1000 = QByteArray(1000, 'x'), zipped = gzip(x1000), deflated = qCompress(x1000).mid(6).chopped(4);
    const QByteArray chunks = "3;ext=\"a\"\r\n" + deflated.left(3) + "\r\n" +
                              QByteArray::number(deflated.size() - 3, 16) + " \r\n" + deflated.mid(3) +
                              "\r\n0\r\nX-Trailer: 1\r\n\r\n";
    const QByteArray chunked = "Transfer-Encoding: chunked\r\n";
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
        {"RedirectWithoutLocation", {.status = 302}, HttpStatus, 0, false, "/case"},
        {"ServerError", {.status = 500, .body = "broken"}, HttpStatus, 0, false, "/case"},
        {"NoContent", {.status = 204}, HttpStatus, 0, false, "/case"},
        {"NotModifiedUnasked", {.status = 304}, HttpStatus, 0, false, "/case"},
        {"ProxyAuthentication", {.status = 407}, HttpStatus, 0, false, "/case"},
        {"SlowAnswer", {.delayMs = -1}, TimedOut, 0, false, "/case"},
        {"TrickleForever", {.chunk = "x", .everyMs = 20}, TimedOut, 0, false, "/case"},
        {"HeadTrickle", {.chunk = "X: y\r\n", .everyMs = 20, .raw = "HTTP/1.1 200\r\n"}, TimedOut, 0, false, "/case"},
        {"EndlessHeadLines", sent({}, {}, QByteArray("X-Flood: y\r\n").repeated(1000)), Corrupt, 0, false, "/case"},
        {"HeadPastItsBound", sent("X: " + QByteArray(70 * 1024, 'y') + "\r\n", "x"), Corrupt, 0, false, "/case"},
        {"FieldsPastTheirNumber", sent(QByteArray("X: y\r\n").repeated(101), "x"), Corrupt, 0, false, "/case"},
        {"EndlessFraming", sent(chunked + "\r\n", {}, ("1;" + QByteArray(1000, 'e') + "\r\nx\r\n").repeated(64)),
         Corrupt, 0, false, "/case"},
        {"NoStatusLine", {.raw = "<rss><channel>xxx"}, Corrupt, 0, false, "/case"},
        {"Interim", {.raw = "HTTP/1.1 103\r\n\r\n" + sent("Content-Length: 1, 1\r\n", "x").raw}, {}, 1, false, "/case"},
        {"ShorterThanItsLength", sent("Content-Length: 9\r\n", "xxx"), Truncated, 0, false, "/case"},
        {"GzipToTheClose", sent("Content-Encoding: gzip\r\n", zipped), {}, 1000, false, "/case"},
        {"GzipBomb", sent("Content-Encoding: gzip\r\n", gzip(QByteArray(4 * cap, 'x'))), NotAFeed, 0, false, "/case"},
        {"GzipDamaged", sent("Content-Encoding: gzip\r\n", zipped.left(10) + "\xff" + zipped.mid(11)), Corrupt, 0,
         false, "/case"},
        {"RawDeflateInChunks", sent("Content-Encoding: deflate\r\n" + chunked, chunks), {}, 1000, false, "/case"},
        {"ChunkSizeNotHex", sent(chunked, "3\r\nxxx\r\nzz\r\nxxx\r\n0\r\n\r\n"), Corrupt, 0, false, "/case"},
        {"NoLastChunk", sent(chunked + "Content-Length: 8\r\n", "3\r\nxxx\r\n"), Truncated, 0, false, "/case"},
        {"ClosedPort", {}, Unreachable, 0, false, "http://127.0.0.1:1/"},
        {"OtherScheme", {}, Refused, 0, false, "ftp://127.0.0.1/"},
        {"UnencodedAddress", {}, Refused, 0, false, "http://127.0.0.1/caf\xC3\xA9"},
        // QUrl writes escapes of unreserved characters as the characters (the same address); all others stay.
        {"Escapes", {.body = "x"}, {}, 1, false, "/%63ase?w=%E4%B8%AD%20%2B%26%3D%25%2F%3F%23&x=a+b%7e%41%2E"},
        {"ThroughProxy", {}, {}, 1, false, "http://feed.invalid/proxied"},
    };
    const QByteArray saved = qgetenv("http_proxy");
    qputenv("http_proxy", server.url("")); // a proxy for all but the loopback, which it would answer with a 404
    FeedFetcher quick({.timeoutMs = 300}), patient({.timeoutMs = 5000});
    for (const auto &[name, route, error, size, cut, address] : rows) {
        server.route("/case", route);
        FeedFetcher &fetcher = error == TimedOut ? quick : patient;
        const auto a = fetchOne({address[0] == '/' ? server.url(address) : address}, &fetcher);
        EXPECT_EQ(a ? std::nullopt : std::optional(a.error().code), error) << name;
        EXPECT_TRUE(a ? a->body == QByteArray(size, 'x') && a->cut == cut && a->contentType == route.contentType
                      : error != HttpStatus || a.error().detail == QString::number(route.status))
            << name;
        // Whatever the server goes on sending, the request has ended: the connection is closed.
        EXPECT_TRUE(QTest::qWaitFor([&] { return server.connected() == 0; }, 2000)) << name;
        fetcher.cancelAll(); // a check of its own: no host skipped for earlier rows
    }
    saved.isNull() ? qunsetenv("http_proxy") : qputenv("http_proxy", saved);
    EXPECT_TRUE(server.targets().contains("/case?w=%E4%B8%AD%20%2B%26%3D%25%2F%3F%23&x=a+b~A."));
    EXPECT_TRUE(server.heads().value(0).contains("\r\nUser-Agent: Korvane/"));
}

TEST(FeedFetcher, AsksWhetherAFeedChangedAndReadsHowLongABusyServerAsksToWait)
{
    HttpServer server;
    server.route("/feed", {.body = "x", .etag = "\"v1\""});
    const auto first = fetchOne({server.url("/feed")});
    ASSERT_TRUE(first && first->etag == "\"v1\"" && !first->notModified);
    const auto again = fetchOne({server.url("/feed"), first->etag, "Sat, 01 Jun 2024 00:00:00 GMT"});
    EXPECT_TRUE(again && again->notModified && again->body.isEmpty());
    EXPECT_TRUE(server.heads().value(1).contains("\r\nIf-Modified-Since: Sat, 01 Jun 2024 00:00:00 GMT\r\n"));
    // Sent back only as a value of its own field, and credentials only as the address gives them.
    const QByteArray withCredentials = "http://u:p@" + server.url("/feed").mid(7);
    EXPECT_FALSE(fetchOne({withCredentials, first->etag + "\r\nX: y"})->notModified);
    EXPECT_TRUE(!server.heads().value(2).contains("X: y") &&
                server.heads().value(2).contains("\r\nAuthorization: Basic dTpw\r\n"));
    server.route("/dated", sent("Last-Modified: Fri, 31 May 2024\r\n 08:00:00 GMT\r\n", "x")); // an old-style fold
    EXPECT_EQ(fetchOne({server.url("/dated")})->lastModified, "Fri, 31 May 2024 08:00:00 GMT");

    // Seconds, or a date from now; within a day.
    const std::tuple<int, const char *, qint64> rows[] = {
        {429, "120", 120},
        {503, "Wed, 21 Oct 2015 07:28:00 GMT", 0},
        {503, "Fri, 31 Dec 9999 23:59:59 GMT", 86400},
        {429, "100000", 86400},
        {429, "99999999999999999999999", 86400},
        {429, "soon", -1},
        {500, "120", -1},
    };
    for (const auto &[status, value, seconds] : rows) {
        server.route("/busy", {.raw = "HTTP/1.1 " + QByteArray::number(status) + " Busy\r\nRetry-After: " + value +
                                      "\r\nContent-Length: 0\r\n\r\n"});
        EXPECT_EQ(fetchOne({server.url("/busy")}).error().retryAfterSeconds, seconds) << value;
    }
}

// A host that lets two requests in a row run out of time is asked nothing more until the next check; an answer in
// between, or another host, is not held against it.
TEST(FeedFetcher, SkipsAHostAfterTwoTimeoutsInARowUntilCancelled)
{
    HttpServer server;
    server.route("/silent", {.delayMs = -1});
    server.route("/ok", {.body = "x"});
    using enum ErrorCode;
    const std::tuple<int, QList<QByteArray>, QList<std::optional<ErrorCode>>> rows[] = {
        {2, {"/silent", "/silent", "/silent", "/silent", "/ok"}, {TimedOut, TimedOut, Skipped, Skipped, Skipped}},
        {1, {"/silent", "/ok", "/silent", "/ok"}, {TimedOut, {}, TimedOut, {}}},
    };
    for (const auto &[perHost, paths, codes] : rows) {
        FeedFetcher fetcher({.perHost = perHost, .timeoutMs = 300});
        QList<std::optional<ErrorCode>> seen;
        for (const QByteArray &path : paths)
            fetcher.fetch(server.url(path),
                          [&](const auto &a) { seen << (a ? std::nullopt : std::optional(a.error().code)); });
        ASSERT_TRUE(QTest::qWaitFor([&] { return fetcher.pending() == 0; }));
        EXPECT_EQ(seen, codes);
        EXPECT_TRUE(fetchOne({"http://localhost:" + QByteArray::number(server.port()) + "/ok"}, &fetcher).ok());
        fetcher.cancelAll();
        EXPECT_TRUE(fetchOne({server.url("/ok")}, &fetcher).ok());
    }
}

// A connection the server keeps open takes the next request to it; one it closed meanwhile is not held against
// the request, which goes again on a new one.
TEST(FeedFetcher, ReusesKeptConnectionsAndAsksAgainOnOneClosedMeanwhile)
{
    HttpServer server;
    server.route("/kept", {.body = "x", .keepAlive = 2});
    FeedFetcher fetcher;
    int answered = 0;
    for (int i = 1; i <= 3; ++i) {
        fetcher.fetch(server.url("/kept"), [&](const auto &a) { answered += a.ok(); });
        ASSERT_TRUE(QTest::qWaitFor([&] { return answered == i; })) << i;
    }
    EXPECT_EQ(server.connections(), 2);
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
    server.route("/big", {.body = QByteArray(FetchLimits{}.maxBytes, 'x')});
    for (int i = 0; i < 30; ++i) { // destroyed at every stage: connecting, waiting, reading
        auto *fetcher = new FeedFetcher;
        fetcher->fetch(server.url(i % 2 ? "/slow" : "/big"), [&](const auto &) { ++late; });
        for (int turn = 0; turn < i % 6; ++turn)
            QCoreApplication::processEvents();
        delete fetcher;
    }
    EXPECT_EQ(fetchOne({server.url("/none")}).error().detail, QStringLiteral("404")); // after whatever was on its way
    EXPECT_EQ(late, 0);
}
