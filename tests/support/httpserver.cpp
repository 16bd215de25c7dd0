#include "support/httpserver.h"

#include <QTcpSocket>
#include <QTimer>

#include <utility>

HttpServer::HttpServer(int maxRequests, QObject *parent) : QObject(parent), m_maxRequests(maxRequests)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            m_open.insert(socket);
            m_maxOpen = qMax(m_maxOpen, int(m_open.size()));
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readHead(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_open.remove(socket);
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
    if (end < 0 || m_heads.size() >= m_maxRequests) {
        if (end >= 0 || buffered.size() > 16 * 1024)
            socket->abort(); // closed unanswered
        return;
    }
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr); // one request per connection
    m_heads.append(socket->read(end + 4));
    const QByteArray target = m_targets.emplace_back(buffered.left(buffered.indexOf("\r\n")).split(' ').value(1));
    const Route route = m_routes.value(target, m_routes.value(target.left(target.indexOf('?')), {404, "not found"}));
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
    const QByteArray head = "HTTP/1.1 " + QByteArray::number(route.status) + (route.status < 400 ? " OK" : " Error") +
                            "\r\nContent-Type: " + route.contentType + "\r\nConnection: close\r\n" +
                            (route.location.isEmpty() ? "" : "Location: " + route.location + "\r\n");
    const QByteArray whole = "Content-Length: " + QByteArray::number(route.body.size()) + "\r\n\r\n" + route.body;
    socket->write(head + (route.chunk.isEmpty() ? whole : QByteArray("\r\n")));
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
