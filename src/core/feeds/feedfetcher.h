#pragma once

#include "result.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <map>
#include <optional>

class QNetworkReply;

// What one feed request may take. A bad site must not hold the check up for long, nor fill the memory.
struct FetchLimits
{
    int perHost = 2;                   // requests at once to one host
    int total = 6;                     // requests at once in all
    int timeoutMs = 15000;             // per request, from its start to its last byte, redirects included
    int maxRedirects = 5;              // redirects followed per request
    qint64 maxBytes = 4 * 1024 * 1024; // read at most this much of an answer
};

struct FetchedAnswer
{
    QByteArray body;
    bool cut = false; // the answer was longer than maxBytes and body holds its first maxBytes
    QByteArray contentType;
    bool notModified = false;
    QByteArray etag, lastModified;
};

struct FetchRequest
{
    QByteArray address;
    QByteArray etag, lastModified;
};

// Fetches feed addresses with GET, a few at a time, asynchronously on the thread it lives on. Proxies come from
// the system's settings, except for the loopback; TLS certificates are always verified.
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
    // as the characters (the same address) and lower-casing the scheme, host and hex digits.
    quint64 fetch(const QByteArray &address, Callback done);
    quint64 fetch(const FetchRequest &request, Callback done) { return fetch(request.address, std::move(done)); }
    // Drops every queued, running and answered request: none of their callbacks runs afterwards.
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
        Callback done;
        QNetworkReply *reply = nullptr;
        int timerId = 0;
        QList<QUrl> visited; // the address and every redirect target so far
        QByteArray body;
        std::optional<Result<FetchedAnswer>> result;
    };

    void startWaiting();
    void start(quint64 id, Job &job);
    void send(quint64 id, Job &job);
    void read(quint64 id);
    void redirect(quint64 id);
    void finished(quint64 id);
    Result<FetchedAnswer> outcome(Job &job, bool cut) const;
    void answer(quint64 id, Result<FetchedAnswer> result);
    void stop(Job &job);
    void deliver(quint64 id);

    FetchLimits m_limits;
    QNetworkAccessManager m_manager;
    std::map<quint64, Job> m_jobs; // by id, which is also the order of arrival
    QHash<QString, int> m_runningPerHost;
    int m_running = 0;
    quint64 m_nextId = 1;
};
