#pragma once

#include "feeds/httpanswer.h"
#include "result.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <map>
#include <optional>

// What one feed request may take. A bad site must not hold the check up for long, nor fill the memory.
struct FetchLimits
{
    int perHost = 2;                   // requests at once to one host
    int total = 6;                     // requests at once in all
    int timeoutMs = 15000;             // per request, from its start to its last byte, redirects included
    int maxRedirects = 5;              // redirects followed per request
    qint64 maxBytes = 4 * 1024 * 1024; // read at most this much of an answer
};

// A request, and what the last answer from its address said of itself: a server that knows them may answer that
// nothing changed.
struct FetchRequest
{
    QByteArray address;        // the bytes of an encoded URL
    QByteArray etag{};         // sent as If-None-Match when not empty
    QByteArray lastModified{}; // sent as If-Modified-Since when not empty
};

struct FetchedAnswer
{
    QByteArray body;
    bool cut = false; // the answer was longer than maxBytes and body holds its first maxBytes
    QByteArray contentType;
    bool notModified = false; // a 304 to a request with validators: no body, the last one still holds
    QByteArray etag;          // the answer's ETag and Last-Modified, empty when absent
    QByteArray lastModified;
};

class HttpConnection;

// Fetches feed addresses with GET, a few at a time, asynchronously on the thread it lives on, over connections of
// its own that it can end at any moment. Proxies come from the system's settings, except for the loopback; TLS
// certificates are always verified. A host that let two requests in a row run out of time is not asked again:
// its other requests fail at once as Skipped, until cancelAll().
class FeedFetcher : public QObject
{
    Q_OBJECT
public:
    using Callback = std::function<void(const Result<FetchedAnswer> &)>;

    explicit FeedFetcher(FetchLimits limits = {}, QObject *parent = nullptr);
    ~FeedFetcher() override;

    // Queues one GET of the address, the bytes of an encoded URL. done runs once, later, on this thread (and may
    // destroy the fetcher), unless cancelAll() comes first or the fetcher is destroyed. Refused: an address that is
    // not http(s) or no valid URL, or one QUrl would change other than by writing escapes of unreserved characters
    // as the characters (the same address) and lower-casing the scheme, host and hex digits. Failures: a status
    // other than 2xx or a 304 to validators (HttpStatus with the number; a 429 or 503 with the pause it asks for),
    // 204, an answer ended before its end (Truncated), broken framing or compression (Corrupt), a body that
    // inflates past maxBytes (NotAFeed).
    quint64 fetch(const QByteArray &address, Callback done);
    // The same, with validators sent along.
    quint64 fetch(const FetchRequest &request, Callback done);
    // Drops every queued, running and answered request: none of their callbacks runs afterwards. The hosts skipped
    // are asked again.
    void cancelAll();
    // The requests whose callbacks are still to come: queued, running, or answered and about to be told.
    int pending() const { return int(m_jobs.size()); }

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    struct Job
    {
        QUrl url;
        QString host;
        QByteArray validators; // as request fields
        Callback done;
        HttpConnection *connection = nullptr; // while running
        bool retried = false;
        int timerId = 0;
        QList<QUrl> visited; // the address and every redirect target so far
        std::optional<Result<FetchedAnswer>> result;
    };

    void startWaiting();
    void start(quint64 id, Job &job);
    void send(quint64 id, Job &job, bool fresh);
    void answered(quint64 id, const Result<HttpAnswer> &answer);
    void redirect(quint64 id, Job &job, const QUrl &target);
    void settle(quint64 id, Result<FetchedAnswer> result);
    void skip(const QString &host);
    void stop(Job &job);
    void park(HttpConnection *connection);
    bool discard(HttpConnection *connection);
    void deliver(quint64 id);

    FetchLimits m_limits;
    std::map<quint64, Job> m_jobs; // by id, which is also the order of arrival
    QHash<QString, int> m_runningPerHost;
    QHash<QString, int> m_timeoutsInARow; // by host
    QList<HttpConnection *> m_kept;       // idle, open for another request, oldest first
    int m_running = 0;
    quint64 m_nextId = 1;
};
