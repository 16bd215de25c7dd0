#include "support/httpserver.h"

#include <QTcpSocket>
#include <QTimer>

#include <utility>

HttpServer::HttpServer(int maxRequests, QObject *parent) : QObject(parent), m_maxRequests(maxRequests)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            ++m_connections;
            m_sockets.insert(socket);
            m_open.insert(socket);
            m_maxOpen = qMax(m_maxOpen, int(m_open.size()));
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readHead(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_open.remove(socket);
                m_sockets.remove(socket);
                m_held.removeOne(socket);
                socket->deleteLater();
            });
        }
    });
    m_server.listen(QHostAddress::LocalHost, 0);
}

void HttpServer::readHead(QTcpSocket *socket)
{
    const QByteArray buffered = socket->peek(16 * 1024 + 1); // a longer head is no request of ours
    const qsizetype end = buffered.indexOf("\r\n\r\n");
    if (end < 0 || m_requests >= m_maxRequests) {
        if (end >= 0 || buffered.size() > 16 * 1024)
            socket->abort(); // closed unanswered
        return;
    }
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr); // one request at a time
    // Copies: what the socket reads may hold a whole buffer of its, which would stay as long as the copy does.
    ++m_requests;
    const QByteArray read = socket->read(end + 4);
    const QByteArray head(read.constData(), read.size());
    const QByteArray target = buffered.left(buffered.indexOf("\r\n")).split(' ').value(1);
    if (m_keepRequests) {
        m_heads.append(head);
        m_targets.append(target);
    }
    Route route = m_routes.value(target, m_routes.value(target.left(target.indexOf('?')), {404, "not found"}));
    const int answered = socket->property("answered").toInt();
    if (route.keepAlive > 0 && answered >= route.keepAlive)
        return socket->abort(); // as a server does that has closed an idle connection
    socket->setProperty("answered", answered + 1);
    if (!route.etag.isEmpty() && head.contains("\r\nIf-None-Match: " + route.etag + "\r\n"))
        route = {.status = 304, .etag = route.etag, .keepAlive = route.keepAlive};
    if (route.together > 0) {
        m_held.append(socket);
        if (m_held.size() >= route.together)
            for (QTcpSocket *held : std::exchange(m_held, {}))
                answer(held, route);
    } else if (route.delayMs > 0) {
        QTimer::singleShot(route.delayMs, socket, [this, socket, route] { answer(socket, route); });
    } else if (route.delayMs == 0) {
        answer(socket, route);
    }
}

void HttpServer::answer(QTcpSocket *socket, const Route &route)
{
    m_open.remove(socket);
    QByteArray head = route.raw;
    if (head.isEmpty()) {
        head = "HTTP/1.1 " + QByteArray::number(route.status) + (route.status < 400 ? " OK" : " Error") +
               "\r\nContent-Type: " + route.contentType + "\r\n" +
               (route.keepAlive > 0 ? "" : "Connection: close\r\n") +
               (route.location.isEmpty() ? "" : "Location: " + route.location + "\r\n") +
               (route.etag.isEmpty() ? "" : "ETag: " + route.etag + "\r\n");
        head += route.chunk.isEmpty()
                    ? "Content-Length: " + QByteArray::number(route.body.size()) + "\r\n\r\n" + route.body
                    : QByteArray("\r\n");
    }
    socket->write(head);
    if (route.chunk.isEmpty() && route.keepAlive > 0 && route.raw.isEmpty()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readHead(socket); });
        return;
    }
    if (route.chunk.isEmpty())
        return socket->disconnectFromHost();
    // Another chunk whenever the last ones have left, until the client goes away or 64 MiB are sent.
    auto *timer = new QTimer(socket);
    connect(timer, &QTimer::timeout, socket, [socket, timer, chunk = route.chunk, sent = qint64(0)]() mutable {
        if (!socket->isOpen() || sent >= 64 * 1024 * 1024) {
            timer->stop();
            socket->disconnectFromHost();
        } else if (socket->bytesToWrite() < chunk.size()) {
            sent += socket->write(chunk);
        }
    });
    timer->start(route.everyMs);
}
