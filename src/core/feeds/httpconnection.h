#pragma once

#include "feeds/httpanswer.h"

#include <QBasicTimer>
#include <QByteArray>
#include <QNetworkProxy>
#include <QObject>
#include <QUrl>

#include <optional>

class QTcpSocket;

// One connection to a web server, or to the proxy before it, asking one GET at a time. A close ends it at once and
// for good, whatever the server is sending: the socket is aborted, so nothing more is read and nothing waits.
class HttpConnection : public QObject
{
    Q_OBJECT
public:
    // To the server of url, through the proxy (NoProxy: directly). TLS is verified as QSslSocket does by default.
    HttpConnection(const QUrl &url, const QNetworkProxy &proxy, qint64 maxBytes, QObject *parent = nullptr);
    ~HttpConnection() override;

    // Connections of the same key go to the same place the same way, and one may take another's next request.
    static QByteArray keyOf(const QUrl &url, const QNetworkProxy &proxy);
    const QByteArray &key() const { return m_key; }

    // Sends a GET of url (of this connection's server) with these further fields, each line ending in CRLF.
    // answered() follows once, never from within this call, unless the connection is closed first.
    void get(const QUrl &url, const QByteArray &fields);
    // Whether it can take another request: its last answer ended whole and the server keeps it open.
    bool reusable() const;
    // Whether the last request failed before a byte of its answer on a connection that had answered before: the
    // server may have closed it while it was kept, and the request is worth sending on a new one.
    bool lostWhileKept() const { return m_lostWhileKept; }
    // Keeps it open this long at most for another request.
    void keep(int ms);
    void close();

Q_SIGNALS:
    void answered(const Result<HttpAnswer> &answer);

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void readAvailable();
    void lost();

    QTcpSocket *m_socket;
    QByteArray m_key;
    QNetworkProxy m_proxy;
    bool m_tls, m_absolute; // absolute: an http address asked of an HTTP proxy by its whole URL
    qint64 m_maxBytes;
    std::optional<HttpAnswerReader> m_reader;
    int m_answers = 0;
    bool m_reusable = false, m_lostWhileKept = false;
    QBasicTimer m_keepTimer;
};
