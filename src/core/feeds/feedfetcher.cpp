#include "feeds/feedfetcher.h"

#include <QHostAddress>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimerEvent>

#include <algorithm>
#include <utility>

namespace {

const QByteArray userAgent = "Korvane/" KORVANE_VERSION " (+feed check)";

bool isWeb(const QUrl &url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

bool isUnreserved(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

// QUrl writes escapes of unreserved characters as the characters themselves (the same address, RFC 3986 says)
// and lower-cases the scheme, the host and hex digits; an address it would change in any other way is not sent.
bool keepsAddress(const QByteArray &address, const QUrl &url)
{
    QByteArray expected;
    expected.reserve(address.size());
    for (qsizetype i = 0; i < address.size(); ++i) {
        if (address[i] == '%' && i + 2 < address.size()) {
            bool hex = false;
            const char c = char(address.mid(i + 1, 2).toUShort(&hex, 16));
            if (hex && isUnreserved(c)) {
                expected += c;
                i += 2;
                continue;
            }
        }
        expected += address[i];
    }
    return expected.compare(url.toEncoded(), Qt::CaseInsensitive) == 0;
}

// The system's proxies, but never for this machine itself: Qt's own loopback exception applies only to the
// application-wide setting, which a library has no business changing.
class SystemProxies : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        const QString host = query.peerHostName();
        if (host == QLatin1String("localhost") || host.endsWith(QLatin1String(".localhost")) ||
            QHostAddress(host).isLoopback())
            return {QNetworkProxy(QNetworkProxy::NoProxy)};
        return systemProxyForQuery(query);
    }
};

Error networkError(const QNetworkReply *reply)
{
    const QString detail = reply->errorString();
    switch (reply->error()) {
    case QNetworkReply::TimeoutError:
    case QNetworkReply::ProxyTimeoutError:
        return failure(ErrorCode::TimedOut, detail);
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::SslHandshakeFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
    case QNetworkReply::UnknownProxyError:
        return failure(ErrorCode::Unreachable, detail);
    default:
        return failure(ErrorCode::Failed, detail);
    }
}

int statusOf(const QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

bool isRedirect(const QNetworkReply *reply)
{
    const int status = statusOf(reply);
    return (status == 301 || status == 302 || status == 303 || status == 307 || status == 308) &&
           reply->hasRawHeader("Location");
}

// Ends a request whatever its state; no signal of it reaches the receiver afterwards.
void drop(QNetworkReply *reply, QObject *receiver)
{
    reply->disconnect(receiver);
    // Deleting the reply ends the request as well; an error status has Qt's own error on the way, which would
    // clash with the one abort() sets.
    if (statusOf(reply) < 400)
        reply->abort();
    reply->deleteLater();
}

} // namespace

FeedFetcher::FeedFetcher(FetchLimits limits, QObject *parent) : QObject(parent), m_limits(limits)
{
    // Limits that would let nothing through are taken as the tightest that still work.
    m_limits.perHost = std::max(1, m_limits.perHost);
    m_limits.total = std::max(1, m_limits.total);
    m_limits.timeoutMs = std::max(1, m_limits.timeoutMs);
    m_limits.maxRedirects = std::max(0, m_limits.maxRedirects);
    m_limits.maxBytes = std::max<qint64>(0, m_limits.maxBytes);
    m_manager.setProxyFactory(new SystemProxies);
}

FeedFetcher::~FeedFetcher()
{
    cancelAll();
}

quint64 FeedFetcher::fetch(const QByteArray &address, Callback done)
{
    const quint64 id = m_nextId++;
    Job &job = m_jobs[id];
    job.done = std::move(done);
    job.url = QUrl::fromEncoded(address, QUrl::StrictMode);
    if (!job.url.isValid() || !isWeb(job.url) || job.url.host().isEmpty() || !keepsAddress(address, job.url)) {
        answer(id, failure(ErrorCode::Refused, QStringLiteral("not an http(s) address we send as it is: ") +
                                                   QString::fromLatin1(address.left(300))));
        return id;
    }
    job.host = job.url.host();
    startWaiting();
    return id;
}

void FeedFetcher::cancelAll()
{
    for (auto &[id, job] : m_jobs)
        stop(job);
    m_jobs.clear();
}

void FeedFetcher::startWaiting()
{
    // In order of arrival, skipping those whose host has its fill.
    for (auto &[id, job] : m_jobs) {
        if (m_running >= m_limits.total)
            return;
        if (!job.reply && !job.result && m_runningPerHost.value(job.host) < m_limits.perHost)
            start(id, job);
    }
}

void FeedFetcher::start(quint64 id, Job &job)
{
    ++m_running;
    ++m_runningPerHost[job.host]; // redirects elsewhere included: the slot is the request's, not the address's
    // The whole request, redirects and every byte included, has one bound: a trickle never ends by inactivity.
    job.timerId = startTimer(m_limits.timeoutMs);
    job.visited = {job.url};
    send(id, job);
}

void FeedFetcher::send(quint64 id, Job &job)
{
    QNetworkRequest request(job.url);
    request.setRawHeader("User-Agent", userAgent);
    request.setRawHeader("Accept", "application/rss+xml, application/xml;q=0.9, */*;q=0.8");
    // Qt 6.4 loses its way in a chain of redirects (it asks again and ends with an empty answer), so each one is
    // checked and followed here.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    job.reply = m_manager.get(request);
    // Qt reads ahead only this far, so an answer we are about to cut does not pile up unread.
    job.reply->setReadBufferSize(std::min<qint64>(m_limits.maxBytes + 1, 256 * 1024));
    connect(job.reply, &QNetworkReply::metaDataChanged, this, [this, id] { read(id); });
    connect(job.reply, &QNetworkReply::readyRead, this, [this, id] { read(id); });
    connect(job.reply, &QNetworkReply::finished, this, [this, id] { finished(id); });
}

void FeedFetcher::read(quint64 id)
{
    Job &job = m_jobs.at(id);
    if (isRedirect(job.reply)) {
        redirect(id);
        return;
    }
    const int status = statusOf(job.reply);
    if (status >= 400) { // the number is all we want of an error answer
        answer(id, failure(ErrorCode::HttpStatus, QString::number(status)));
        return;
    }
    const qint64 room = m_limits.maxBytes + 1 - job.body.size();
    job.body += job.reply->read(std::min(room, job.reply->bytesAvailable()));
    if (job.body.size() > m_limits.maxBytes) {
        job.body.truncate(m_limits.maxBytes);
        answer(id, outcome(job, true));
    }
}

void FeedFetcher::redirect(quint64 id)
{
    Job &job = m_jobs.at(id);
    const QUrl target = job.url.resolved(QUrl::fromEncoded(job.reply->rawHeader("Location")));
    if (!target.isValid()) {
        answer(id, failure(ErrorCode::Failed, QStringLiteral("redirect to no valid address")));
    } else if (!isWeb(target)) {
        answer(id, failure(ErrorCode::Refused, QStringLiteral("redirect to ") + target.toString()));
    } else if (job.visited.contains(target)) {
        answer(id, failure(ErrorCode::Failed, QStringLiteral("redirect loop at ") + target.toString()));
    } else if (job.visited.size() > m_limits.maxRedirects) {
        answer(id, failure(ErrorCode::Failed, QStringLiteral("more than %1 redirects").arg(m_limits.maxRedirects)));
    } else {
        drop(std::exchange(job.reply, nullptr), this);
        job.url = target;
        job.visited.append(target);
        send(id, job);
    }
}

void FeedFetcher::finished(quint64 id)
{
    Job &job = m_jobs.at(id);
    QNetworkReply *reply = job.reply;
    if (reply->error() != QNetworkReply::NoError && statusOf(reply) < 400 && !isRedirect(reply)) {
        answer(id, networkError(reply));
        return;
    }
    read(id);
    if (job.reply == reply) // neither answered nor redirected by what was left
        answer(id, outcome(job, false));
}

Result<FetchedAnswer> FeedFetcher::outcome(Job &job, bool cut) const
{
    const int status = statusOf(job.reply);
    if (status < 200 || status >= 300)
        return failure(ErrorCode::HttpStatus, QString::number(status));
    return FetchedAnswer{std::move(job.body), cut, job.reply->rawHeader("Content-Type"), false, {}, {}};
}

void FeedFetcher::timerEvent(QTimerEvent *event)
{
    for (auto &[id, job] : m_jobs) {
        if (job.timerId == event->timerId()) {
            const QString detail = QStringLiteral("no whole answer in %1 ms").arg(m_limits.timeoutMs);
            answer(id, failure(ErrorCode::TimedOut, detail));
            return;
        }
    }
    QObject::timerEvent(event);
}

void FeedFetcher::answer(quint64 id, Result<FetchedAnswer> result)
{
    const auto it = m_jobs.find(id);
    if (it == m_jobs.end() || it->second.result)
        return;
    stop(it->second);
    it->second.result = std::move(result);
    // Never from inside a reply's signal, and never before the caller has its id.
    QMetaObject::invokeMethod(
        this, [this, id] { deliver(id); }, Qt::QueuedConnection);
    startWaiting();
}

void FeedFetcher::stop(Job &job)
{
    if (job.timerId)
        killTimer(std::exchange(job.timerId, 0));
    QNetworkReply *reply = std::exchange(job.reply, nullptr);
    if (!reply)
        return;
    drop(reply, this);
    --m_running;
    if (--m_runningPerHost[job.host] <= 0)
        m_runningPerHost.remove(job.host);
}

void FeedFetcher::deliver(quint64 id)
{
    const auto it = m_jobs.find(id);
    if (it == m_jobs.end()) // cancelled
        return;
    const Callback done = std::move(it->second.done);
    const Result<FetchedAnswer> result = std::move(*it->second.result);
    m_jobs.erase(it);
    // Last: the callback may destroy this fetcher.
    if (done)
        done(result);
}
