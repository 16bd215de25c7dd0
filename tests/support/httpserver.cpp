#include "support/httpserver.h"

#include <QTcpSocket>
#include <QTimer>

#include <utility>

namespace {
constexpr qsizetype maxHead = 16 * 1024;
constexpr qint64 maxEndless = 64 * 1024 * 1024; // an endless body ends here if the client never stops reading
} // namespace

HttpServer::HttpServer(int maxRequests, QObject *parent) : QObject(parent), m_maxRequests(maxRequests)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            m_open.insert(socket);
            m_maxOpen = qMax(m_maxOpen, int(m_open.size()));
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readHead(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                leave(socket);
                socket->deleteLater();
            });
        }
    });
    m_server.listen(QHostAddress::LocalHost, 0);
}

void HttpServer::readHead(QTcpSocket *socket)
{
    const QByteArray buffered = socket->peek(maxHead + 1);
    const qsizetype end = buffered.indexOf("\r\n\r\n");
    if (end < 0 || m_heads.size() >= m_maxRequests) {
        if (end >= 0 || buffered.size() > maxHead)
            socket->abort(); // closed unanswered
        return;
    }
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr); // one request per connection
    m_heads.append(socket->read(end + 4));
    const QByteArray target = m_targets.emplace_back(buffered.left(buffered.indexOf("\r\n")).split(' ').value(1));
    const auto found = m_routes.find(target);
    const Route route =
        found != m_routes.end() ? *found : m_routes.value(target.left(target.indexOf('?')), Route{404, "not found"});
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
    leave(socket);
    QByteArray head = "HTTP/1.1 " + QByteArray::number(route.status) + (route.status < 400 ? " OK" : " Error") +
                      "\r\nContent-Type: " + route.contentType + "\r\nConnection: close\r\n";
    if (!route.location.isEmpty())
        head += "Location: " + route.location + "\r\n";
    if (route.chunk.isEmpty()) {
        socket->write(head + "Content-Length: " + QByteArray::number(route.body.size()) + "\r\n\r\n" + route.body);
        socket->disconnectFromHost();
        return;
    }
    // Until the client goes away (or the bound is reached), another chunk whenever the last ones have left.
    socket->write(head + "\r\n");
    auto *timer = new QTimer(socket);
    connect(timer, &QTimer::timeout, socket, [socket, timer, chunk = route.chunk, sent = qint64(0)]() mutable {
        if (!socket->isOpen() || sent >= maxEndless) {
            timer->stop();
            socket->disconnectFromHost();
        } else if (socket->bytesToWrite() < chunk.size()) {
            sent += socket->write(chunk);
        }
    });
    timer->start(route.everyMs);
}

void HttpServer::leave(QTcpSocket *socket)
{
    m_open.remove(socket);
    m_held.removeOne(socket);
}
