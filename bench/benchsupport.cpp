#include "benchsupport.h"

#include "data/datafile.h"
#include "data/module1.h"
#include "data/programfolder.h"
#include "data/schema.h"
#include "sites/sitestore.h"
#include "support/httpserver.h"

#include <QDir>
#include <QMap>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <memory>

std::vector<Ratio> &ratios()
{
    static std::vector<Ratio> r;
    return r;
}

bool registerRatio(Ratio ratio)
{
    ratios().push_back(std::move(ratio));
    return true;
}

QString benchFolderWithEntries(int count)
{
    static QMap<int, std::shared_ptr<QTemporaryDir>> folders;
    if (folders.contains(count))
        return folders[count]->path();
    auto dir = std::make_shared<QTemporaryDir>();
    folders.insert(count, dir);
    const QString name = QStringLiteral("bench-make");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QDir(dir->path()).filePath(QStringLiteral("ad.mdb")));
        db.open();
        (void)Schema::createTables(db);
        const QStringList groups = {QStringLiteral("澄空学园"),  QStringLiteral("华盟字幕社"),
                                    QStringLiteral("HKG字幕组"), QStringLiteral("SumiSora"),
                                    QStringLiteral("LoliHouse"), QStringLiteral("喵萌奶茶屋"),
                                    QStringLiteral("DMG"),       QStringLiteral("极影字幕社")};
        const QStringList words = {QStringLiteral("进击的巨人"), QStringLiteral("Fullmetal"),
                                   QStringLiteral("鬼灭之刃"),   QStringLiteral("Spy Family"),
                                   QStringLiteral("咒术回战"),   QStringLiteral("Frieren"),
                                   QStringLiteral("孤独摇滚"),   QStringLiteral("Mushoku"),
                                   QStringLiteral("药屋少女"),   QStringLiteral("Dungeon Meshi")};
        QRandomGenerator rng(42);
        db.transaction();
        QSqlQuery q(db);
        q.prepare(QStringLiteral("insert into AD (num, subg, SearchN, Episode, AnimeN, Other) values (?,?,?,?,?,?)"));
        for (int i = 0; i < count; ++i) {
            const QString w = words[rng.bounded(words.size())];
            q.addBindValue(QString::number(rng.bounded(count * 2)));
            q.addBindValue(groups[rng.bounded(groups.size())]);
            q.addBindValue(w + QStringLiteral(" S%1").arg(i));
            q.addBindValue(QString::number(rng.bounded(1, 60)));
            q.addBindValue(w + QStringLiteral(" 第%1季").arg(i % 7 + 1));
            q.addBindValue(i % 3 ? QStringLiteral("周%1更新").arg(i % 7) : QString());
            q.exec();
        }
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return dir->path();
}

void useBenchFolder(int count)
{
    const QString folder = benchFolderWithEntries(count);
    if (ProgramFolder::path() == folder)
        return;
    ProgramFolder::setPathForTesting(folder);
    Module1::resetForTesting();
    (void)DataFile::prepare();
}

// A feed as the sites write it: fifty releases of one series, each with its episode, size, date and seeders.
QByteArray feedOf50()
{
    QByteArray feed = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\" "
                      "xmlns:nyaa=\"https://nyaa.si/xmlns/nyaa\"><channel><title>Bench</title>\n";
    for (int episode = 1; episode <= 50; ++episode) {
        const QByteArray n = QByteArray::number(episode).rightJustified(2, '0');
        const QByteArray hash = QByteArray::number(0x1000000 + episode, 16).leftJustified(40, 'a');
        feed += "<item><title>[喵萌奶茶屋] 某作品 / Bou Sakuhin - " + n +
                " [1080p][简日双语]</title>"
                "<link>https://bt.example.org/view/" +
                n +
                "</link><pubDate>Sat, 15 Jun 2024 12:31:02 -0000</pubDate>"
                "<nyaa:seeders>212</nyaa:seeders><nyaa:infoHash>" +
                hash +
                "</nyaa:infoHash>"
                "<nyaa:size>598.3 MiB</nyaa:size><enclosure url=\"magnet:?xt=urn:btih:" +
                hash + "\" length=\"1\" type=\"application/x-bittorrent\"/></item>\n";
    }
    return feed + "</channel></rss>\n";
}

ServerThread::ServerThread(int answerMs, const QByteArray &feed)
{
    m_thread.start();
    m_home.moveToThread(&m_thread);
    QMetaObject::invokeMethod(
        &m_home,
        [this, answerMs, feed] {
            m_server = new HttpServer(1 << 30);
            m_server->keepRequests(false);
            m_server->route("/feed", {.body = feed, .contentType = "application/rss+xml", .delayMs = answerMs});
        },
        Qt::BlockingQueuedConnection);
}

ServerThread::~ServerThread()
{
    QMetaObject::invokeMethod(
        &m_home, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

quint16 ServerThread::port() const
{
    return m_server->port();
}

void feedsOnTwoHosts(const ServerThread &server)
{
    Module1::Opened opened;
    QSqlQuery query(Module1::Conn());
    query.exec(QStringLiteral("update AD set subg = '喵萌奶茶屋', Episode = rowid % 49"));
    query.exec(QStringLiteral("delete from xd"));
    query.exec(QStringLiteral("update bt set rssdata = ''"));
    int order = 0;
    for (const char *host : {"127.0.0.1", "localhost"}) {
        SearchSite site;
        site.nub = QString::number(++order);
        site.btset = QString::fromLatin1(host);
        site.urldata = QStringLiteral("http://%1/?q=").arg(site.btset);
        site.utf8 = 1;
        site.rssdata = QStringLiteral("http://%1:%2/feed?q=").arg(site.btset).arg(server.port());
        (void)SiteStore::add(Schema::Custom, site);
    }
}
