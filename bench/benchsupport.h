#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QThread>

#include <string>
#include <vector>

// A figure and the floor it is judged against (plus a second floor added to the first, when given).
struct Ratio
{
    std::string measured;
    std::string floor;
    double target;
    std::string addedFloor;
};

// Every benchmark file registers the ratios it is judged by.
std::vector<Ratio> &ratios();
bool registerRatio(Ratio ratio);

// A program folder holding an ad.mdb with this many realistic entries, made once per size.
QString benchFolderWithEntries(int count);
// Points the program at that folder.
void useBenchFolder(int count);

class HttpServer;

// A feed as the sites write it: fifty releases of one series, each with its episode, size, date and seeders.
QByteArray feedOf50();

// The loopback test server on a thread of its own, so that its work does not count as the program's; /feed
// answers every request after answerMs with that feed.
class ServerThread
{
public:
    explicit ServerThread(int answerMs, const QByteArray &feed = feedOf50());
    ~ServerThread();
    quint16 port() const;

private:
    QThread m_thread;
    QObject m_home;
    HttpServer *m_server = nullptr;
};

// The entries of the bench folder in use waiting for episodes 0 to 48 of the feed's series, and their feeds on two
// host names of the server (127.0.0.1 and localhost), its only sites with a feed.
void feedsOnTwoHosts(const ServerThread &server);
