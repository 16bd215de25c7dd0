#include "feeds/httpconnection.h"

#include <QSslSocket>
#include <QTimerEvent>

namespace {

constexpr qint64 ReadPiece = 16 * 1024;

QByteArray hostField(const QUrl &url)
{
    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':'))
        host = '[' + host + ']';
    return url.port() < 0 ? host : host + ':' + QByteArray::number(url.port());
}

quint16 portOf(const QUrl &url)
{
    return quint16(url.port(url.scheme() == QLatin1String("https") ? 443 : 80));
}

bool isHttpProxy(const QNetworkProxy &proxy)
{
    return proxy.type() == QNetworkProxy::HttpProxy || proxy.type() == QNetworkProxy::HttpCachingProxy;
}

} // namespace

HttpConnection::HttpConnection(const QUrl &url, const QNetworkProxy &proxy, qint64 maxBytes, QObject *parent)
    : QObject(parent), m_key(keyOf(url, proxy)), m_proxy(proxy), m_tls(url.scheme() == QLatin1String("https")),
      m_maxBytes(maxBytes)
{
    // An HTTP proxy takes a plain request by its whole address; TLS goes through the tunnel it, or a SOCKS proxy,
    // opens for the socket.
    m_absolute = isHttpProxy(proxy) && !m_tls;
    QNetworkProxy socketProxy = proxy;
    if (m_absolute)
        socketProxy = QNetworkProxy(QNetworkProxy::NoProxy);
    else if (isHttpProxy(proxy))
        socketProxy.setType(QNetworkProxy::HttpProxy);
    m_socket = m_tls ? new QSslSocket(this) : new QTcpSocket(this);
    m_socket->setProxy(socketProxy);
    m_socket->setReadBufferSize(16 * ReadPiece); // Qt reads ahead no further than this
    connect(m_socket, &QIODevice::readyRead, this, &HttpConnection::readAvailable);
    // Queued: never from within get(), and what arrived before a close is read before the close is taken.
    connect(m_socket, &QAbstractSocket::errorOccurred, this, &HttpConnection::lost, Qt::QueuedConnection);
    connect(m_socket, &QAbstractSocket::disconnected, this, &HttpConnection::lost, Qt::QueuedConnection);
}

HttpConnection::~HttpConnection()
{
    close();
}

QByteArray HttpConnection::keyOf(const QUrl &url, const QNetworkProxy &proxy)
{
    return url.scheme().toLatin1() + "://" + url.host(QUrl::FullyEncoded).toLatin1() + ':' +
           QByteArray::number(portOf(url)) + " via " + QByteArray::number(proxy.type()) + ' ' +
           proxy.hostName().toUtf8() + ':' + QByteArray::number(proxy.port()) + ' ' + proxy.user().toUtf8();
}

void HttpConnection::get(const QUrl &url, const QByteArray &fields)
{
    m_keepTimer.stop();
    m_reader.emplace(m_maxBytes);
    m_reusable = m_lostWhileKept = false;
    QByteArray target = m_absolute ? url.toEncoded(QUrl::RemoveUserInfo | QUrl::RemoveFragment)
                                   : url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
    if (!m_absolute && !target.startsWith('/'))
        target.prepend('/');
    QByteArray head = "GET " + target + " HTTP/1.1\r\nHost: " + hostField(url) + "\r\n" + fields;
    if (m_absolute && !m_proxy.user().isEmpty())
        head +=
            "Proxy-Authorization: Basic " + (m_proxy.user() + u':' + m_proxy.password()).toUtf8().toBase64() + "\r\n";
    if (m_socket->state() == QAbstractSocket::UnconnectedState) {
        const QString host = m_absolute ? m_proxy.hostName() : url.host(QUrl::FullyEncoded);
        const quint16 port = m_absolute ? m_proxy.port() : portOf(url);
        if (m_tls)
            static_cast<QSslSocket *>(m_socket)->connectToHostEncrypted(host, port); // SNI and the peer's name: host
        else
            m_socket->connectToHost(host, port);
    }
    m_socket->write(head + "\r\n"); // held until the connection (and TLS) is up
}

bool HttpConnection::reusable() const
{
    return m_reusable && !m_reader && m_socket->state() == QAbstractSocket::ConnectedState &&
           m_socket->bytesAvailable() == 0;
}

void HttpConnection::keep(int ms)
{
    m_keepTimer.start(ms, this);
}

void HttpConnection::close()
{
    m_keepTimer.stop();
    m_reader.reset();
    m_reusable = false;
    m_socket->abort();
}

void HttpConnection::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_keepTimer.timerId())
        close();
    else
        QObject::timerEvent(event);
}

void HttpConnection::readAvailable()
{
    if (!m_reader) // a kept connection has nothing to say: one that does is not kept
        return close();
    // A piece at a time, each step bounded; what follows the end of the answer is not read.
    char piece[ReadPiece];
    bool whole = true;
    while (!m_reader->ended() && m_socket->bytesAvailable() > 0) {
        const qint64 n = m_socket->read(piece, ReadPiece);
        if (n <= 0)
            break;
        whole = m_reader->read(QByteArrayView(piece, n)) == n;
    }
    if (!m_reader->ended())
        return;
    const bool started = m_reader->started();
    const Result<HttpAnswer> result = m_reader->result();
    m_reusable = whole && m_reader->reusable() && m_socket->state() == QAbstractSocket::ConnectedState &&
                 m_socket->bytesAvailable() == 0;
    m_lostWhileKept = !result.ok() && !started && m_answers > 0;
    ++m_answers;
    m_reader.reset();
    if (!m_reusable)
        m_socket->abort();
    Q_EMIT answered(result);
}

void HttpConnection::lost()
{
    if (!m_reader)
        return;
    const int answers = m_answers;
    readAvailable(); // what came before the close belongs to the answer
    if (m_reader && m_answers == answers) {
        m_reader->closed(m_socket->errorString());
        readAvailable();
    }
}
