#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QTcpServer>

class QTcpSocket;

// Just enough HTTP/1.1 on 127.0.0.1 for the network tests: every request gets the route of its path and the
// connection is closed after the answer, unless the route keeps it alive. Stops when destroyed.
class HttpServer : public QObject
{
    Q_OBJECT
public:
    struct Route
    {
        int status = 200;
        QByteArray body{};
        QByteArray contentType = "text/plain";
        QByteArray location{}; // sent as Location when not empty
        int delayMs = 0;       // answers this much later; -1: never
        int together = 0;      // holds the answer until this many requests wait for it, then answers them all
        QByteArray chunk{};    // when not empty: a body of this chunk sent again and again, every everyMs
        int everyMs = 0;
        QByteArray raw{};  // when not empty: sent as it is in place of the head (and of the body without chunk)
        QByteArray etag{}; // sent as ETag; a request naming it in If-None-Match gets a 304
        int keepAlive = 0; // answers this many requests on one connection, then closes at the next unanswered
    };

    explicit HttpServer(int maxRequests = 200, QObject *parent = nullptr); // any beyond maxRequests: closed unanswered

    quint16 port() const { return m_server.serverPort(); }
    QByteArray url(const QByteArray &target) const { return "http://127.0.0.1:" + QByteArray::number(port()) + target; }
    // The whole target (path and query) is looked up first, then the path alone; anything else is a 404.
    void route(const QByteArray &target, const Route &route) { m_routes.insert(target, route); }

    // Request heads, and their targets (path and query), as received in order of arrival.
    const QList<QByteArray> &heads() const { return m_heads; }
    const QList<QByteArray> &targets() const { return m_targets; }
    // A server for a long run keeps none (its heads and targets stay empty).
    void keepRequests(bool keep) { m_keepRequests = keep; }
    int maxOpen() const { return m_maxOpen; }               // the most connections open and not yet answered at once
    int connections() const { return m_connections; }       // connections accepted
    int connected() const { return int(m_sockets.size()); } // connections neither side has closed yet

private:
    void readHead(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const Route &route);

    QHash<QByteArray, Route> m_routes;
    QList<QByteArray> m_heads, m_targets;
    QSet<QTcpSocket *> m_open, m_sockets;
    QList<QTcpSocket *> m_held;
    int m_maxRequests, m_requests = 0, m_maxOpen = 0, m_connections = 0;
    bool m_keepRequests = true;
    QTcpServer m_server; // last: it stops, and its sockets go, while the members their signals reach still exist
};
