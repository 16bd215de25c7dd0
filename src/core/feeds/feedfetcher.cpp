#include "feeds/feedfetcher.h"

#include "feeds/feeddates.h"
#include "feeds/httpconnection.h"

#include <QDateTime>
#include <QHostAddress>
#include <QNetworkProxyFactory>
#include <QTimerEvent>

#include <algorithm>
#include <utility>

namespace {

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
QNetworkProxy proxyFor(const QUrl &url)
{
    const QString host = url.host();
    if (host == QLatin1String("localhost") || host.endsWith(QLatin1String(".localhost")) ||
        QHostAddress(host).isLoopback())
        return QNetworkProxy::NoProxy;
    for (const QNetworkProxy &proxy : QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(url))) {
        const auto type = proxy.type();
        if (type == QNetworkProxy::NoProxy || type == QNetworkProxy::HttpProxy ||
            type == QNetworkProxy::HttpCachingProxy || type == QNetworkProxy::Socks5Proxy)
            return proxy;
    }
    return QNetworkProxy::NoProxy;
}

// A value from an earlier answer goes back into a field only when it cannot end the line it is on.
bool isFieldValue(const QByteArray &value)
{
    return std::none_of(value.begin(), value.end(), [](char c) { return (uchar(c) < 0x20 && c != '\t') || c == 0x7f; });
}

bool isRedirect(const HttpAnswer &answer)
{
    const int status = answer.status;
    return (status == 301 || status == 302 || status == 303 || status == 307 || status == 308) &&
           !answer.field("Location").isEmpty();
}

// Retry-After as seconds from now, a number of them or a date, within a day; -1 when absent or unreadable.
qint64 retryAfter(const QByteArray &value)
{
    const QByteArray text = value.trimmed();
    if (!text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        bool fits = false; // digits that do not fit are a long time too
        const qulonglong seconds = text.toULongLong(&fits);
        return fits ? qint64(std::min<qulonglong>(seconds, 86400)) : 86400;
    }
    const QDateTime at = dateFromRfc822(QString::fromLatin1(text));
    return at.isValid() ? std::clamp<qint64>(QDateTime::currentDateTimeUtc().secsTo(at), 0, 86400) : -1;
}

Result<FetchedAnswer> outcome(const Result<HttpAnswer> &result, bool validated)
{
    if (!result)
        return result.error();
    const HttpAnswer &answer = result.value();
    FetchedAnswer fetched{answer.body, answer.cut,           answer.field("Content-Type"),
                          false,       answer.field("ETag"), answer.field("Last-Modified")};
    fetched.notModified = answer.status == 304 && validated;
    if (!fetched.notModified && (answer.status < 200 || answer.status >= 300 || answer.status == 204)) {
        Error error = failure(ErrorCode::HttpStatus, QString::number(answer.status));
        if (answer.status == 429 || answer.status == 503)
            error.retryAfterSeconds = retryAfter(answer.field("Retry-After"));
        return error;
    }
    return fetched;
}

const QByteArray requestFields = "User-Agent: Korvane/" KORVANE_VERSION " (+feed check)\r\n"
                                 "Accept: application/rss+xml, application/xml;q=0.9, */*;q=0.8\r\n"
                                 "Accept-Encoding: gzip, deflate\r\n";

constexpr int KeptMs = 5000;      // an idle connection stays open this long for the next request to its server
constexpr int TimeoutsToSkip = 2; // in a row from one host

} // namespace

FeedFetcher::FeedFetcher(FetchLimits limits, QObject *parent) : QObject(parent), m_limits(limits)
{
    // Limits that would let nothing through are taken as the tightest that still work.
    m_limits.perHost = std::max(1, m_limits.perHost);
    m_limits.total = std::max(1, m_limits.total);
    m_limits.timeoutMs = std::max(1, m_limits.timeoutMs);
    m_limits.maxRedirects = std::max(0, m_limits.maxRedirects);
    m_limits.maxBytes = std::max<qint64>(0, m_limits.maxBytes);
}

FeedFetcher::~FeedFetcher()
{
    cancelAll();
}

quint64 FeedFetcher::fetch(const QByteArray &address, Callback done)
{
    return fetch(FetchRequest{address, {}, {}}, std::move(done));
}

quint64 FeedFetcher::fetch(const FetchRequest &request, Callback done)
{
    const quint64 id = m_nextId++;
    Job &job = m_jobs[id];
    job.done = std::move(done);
    job.url = QUrl::fromEncoded(request.address, QUrl::StrictMode);
    if (!job.url.isValid() || !isWeb(job.url) || job.url.host().isEmpty() || !keepsAddress(request.address, job.url)) {
        settle(id, failure(ErrorCode::Refused, QStringLiteral("not an http(s) address we send as it is: ") +
                                                   QString::fromLatin1(request.address.left(300))));
        return id;
    }
    job.host = job.url.host();
    if (!request.etag.isEmpty() && isFieldValue(request.etag))
        job.validators += "If-None-Match: " + request.etag + "\r\n";
    if (!request.lastModified.isEmpty() && isFieldValue(request.lastModified))
        job.validators += "If-Modified-Since: " + request.lastModified + "\r\n";
    if (m_timeoutsInARow.value(job.host) >= TimeoutsToSkip)
        skip(job.host);
    else
        startWaiting();
    return id;
}

void FeedFetcher::cancelAll()
{
    for (auto &[id, job] : m_jobs)
        stop(job);
    m_jobs.clear();
    m_timeoutsInARow.clear();
    for (HttpConnection *connection : std::exchange(m_kept, {}))
        discard(connection);
}

void FeedFetcher::startWaiting()
{
    // In order of arrival, skipping those whose host has its fill.
    for (auto &[id, job] : m_jobs) {
        if (m_running >= m_limits.total)
            return;
        if (!job.connection && !job.result && m_runningPerHost.value(job.host) < m_limits.perHost)
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
    send(id, job, false);
}

void FeedFetcher::send(quint64 id, Job &job, bool fresh)
{
    const QNetworkProxy proxy = proxyFor(job.url);
    const QByteArray key = HttpConnection::keyOf(job.url, proxy);
    m_kept.removeIf([this](HttpConnection *kept) { return !kept->reusable() && discard(kept); });
    const auto kept = std::find_if(m_kept.rbegin(), m_kept.rend(), [&](auto *c) { return c->key() == key; });
    if (!fresh && kept != m_kept.rend()) {
        job.connection = *kept;
        m_kept.erase(std::next(kept).base());
    } else {
        job.connection = new HttpConnection(job.url, proxy, m_limits.maxBytes, this);
    }
    connect(job.connection, &HttpConnection::answered, this, [this, id](const auto &answer) { answered(id, answer); });
    QByteArray fields = requestFields + job.validators;
    if (!job.url.userName().isEmpty()) // as the address says; a 401 is a failure, never a prompt
        fields +=
            "Authorization: Basic " + (job.url.userName() + u':' + job.url.password()).toUtf8().toBase64() + "\r\n";
    job.connection->get(job.url, fields);
}

void FeedFetcher::answered(quint64 id, const Result<HttpAnswer> &answer)
{
    Job &job = m_jobs.at(id);
    m_timeoutsInARow.remove(job.host); // the server is there
    if (job.connection->lostWhileKept() && !std::exchange(job.retried, true)) {
        // The server closed the kept connection as the request went out: once more, on a new one.
        park(std::exchange(job.connection, nullptr));
        send(id, job, true);
    } else if (answer && isRedirect(answer.value())) {
        redirect(id, job, job.url.resolved(QUrl::fromEncoded(answer->field("Location"))));
    } else {
        settle(id, outcome(answer, !job.validators.isEmpty()));
    }
    startWaiting();
}

void FeedFetcher::redirect(quint64 id, Job &job, const QUrl &target)
{
    if (!target.isValid()) {
        settle(id, failure(ErrorCode::Failed, QStringLiteral("redirect to no valid address")));
    } else if (!isWeb(target) || target.host().isEmpty()) {
        settle(id, failure(ErrorCode::Refused, QStringLiteral("redirect to ") + target.toString()));
    } else if (job.visited.contains(target)) {
        settle(id, failure(ErrorCode::Failed, QStringLiteral("redirect loop at ") + target.toString()));
    } else if (job.visited.size() > m_limits.maxRedirects) {
        settle(id, failure(ErrorCode::Failed, QStringLiteral("more than %1 redirects").arg(m_limits.maxRedirects)));
    } else {
        park(std::exchange(job.connection, nullptr));
        job.url = target;
        job.visited.append(target);
        send(id, job, false);
    }
}

void FeedFetcher::timerEvent(QTimerEvent *event)
{
    const auto it = std::find_if(m_jobs.begin(), m_jobs.end(),
                                 [&](const auto &entry) { return entry.second.timerId == event->timerId(); });
    if (it == m_jobs.end())
        return QObject::timerEvent(event);
    const QString host = it->second.host;
    settle(it->first, failure(ErrorCode::TimedOut, QStringLiteral("no whole answer in %1 ms").arg(m_limits.timeoutMs)));
    if (++m_timeoutsInARow[host] >= TimeoutsToSkip)
        skip(host);
    startWaiting();
}

void FeedFetcher::skip(const QString &host)
{
    for (auto &[id, job] : m_jobs) {
        if (job.host == host)
            settle(id,
                   failure(ErrorCode::Skipped,
                           QStringLiteral("%1 left %2 requests in a row unanswered").arg(host).arg(TimeoutsToSkip)));
    }
}

void FeedFetcher::settle(quint64 id, Result<FetchedAnswer> result)
{
    const auto it = m_jobs.find(id);
    if (it == m_jobs.end() || it->second.result)
        return;
    stop(it->second);
    it->second.result = std::move(result);
    // Never from inside a connection's signal, and never before the caller has its id.
    QMetaObject::invokeMethod(
        this, [this, id] { deliver(id); }, Qt::QueuedConnection);
}

void FeedFetcher::stop(Job &job)
{
    if (job.timerId)
        killTimer(std::exchange(job.timerId, 0));
    if (!job.connection)
        return;
    park(std::exchange(job.connection, nullptr));
    --m_running;
    if (--m_runningPerHost[job.host] <= 0)
        m_runningPerHost.remove(job.host);
}

void FeedFetcher::park(HttpConnection *connection)
{
    disconnect(connection, nullptr, this, nullptr);
    if (!connection->reusable()) {
        discard(connection);
        return;
    }
    connection->keep(KeptMs);
    m_kept.append(connection);
    if (m_kept.size() > m_limits.total)
        discard(m_kept.takeFirst());
}

bool FeedFetcher::discard(HttpConnection *connection)
{
    connection->close();       // at once: nothing more is read
    connection->deleteLater(); // we may be inside its signal; it goes with the fetcher at the latest
    return true;
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
