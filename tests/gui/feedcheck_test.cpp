#include "support/guitest.h"
#include "support/httpserver.h"

#include "feedcheck/feedcheckwindow.h"
#include "search/encoders.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

using FeedCheckTest = GuiTest;

QByteArray feed(const char *name)
{
    QFile file(QStringLiteral(KORVANE_TEST_DATA "/feeds/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Group lines as they are, lines under them indented, a release as 新|title|sites.
QStringList shown(QTreeWidget *results)
{
    QStringList lines;
    for (QTreeWidgetItemIterator it(results); *it; ++it) {
        const QTreeWidgetItem *item = *it;
        const QString release = QStringList{item->text(1), item->text(0), item->text(5)}.join(QLatin1Char('|'));
        lines << (item->parent() ? u("  ") : QString()) + (item->text(5).isEmpty() ? item->text(0) : release);
    }
    return lines;
}

} // namespace

// 极影 reads the words in the code page: only their exact bytes find its feed, all else is a 404. 动漫花园 and 镜像
// give one feed, the four answers at once. Entry 1 was last checked before its release came out, entry 2 after.
TEST_F(FeedCheckTest, StopsWhenToldFillsEachEntryWithItsSitesAnswersAndStepsAWatchedEpisodeOnce)
{
    FeedCheckWindow::setLimitsForTesting(FetchLimits{.perHost = 6});
    HttpServer server;
    server.route("/plain", {.body = feed("plain.xml"), .together = 4});
    // As sent: QUrl writes escapes of letters and digits as the characters, which is the same address.
    const QUrl gbk = QUrl::fromEncoded(server.url("/gbk?k=") + encodeCodePageUrl(u("喵萌奶茶屋 某作品S 08")));
    server.route(gbk.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority), {.body = feed("gbk.xml")});
    const QString base = QString::fromLatin1(server.url(""));
    makeDatabase({"insert into AD values ('1', '喵萌奶茶屋', '某作品', '9', '某作品', '')",
                  "insert into AD values ('2', '喵萌奶茶屋', '某作品S', '7.5', '某作品 旧', '')",
                  "create table feedchecks (SearchN text primary key, checkedAt text)",
                  "insert into feedchecks values ('某作品', '2024-06-15T11:00:00Z'), ('某作品S', '2024-06-02')",
                  "alter table bt add column rssdata text", "alter table xd add column rssdata text"});
    exec(QStringList() << u("update bt set rssdata = '%1/gbk?k=' where btset = '极影'").arg(base)
                       << u("update bt set rssdata = '%1/plain?k=' where btset = '动漫花园'").arg(base)
                       << u("insert into xd values ('1', '镜像', 'http://x/?q=', 1, '%1/plain?m=')").arg(base));
    w = std::make_unique<Form1>();
    w->show();

    // Stopped as the first release is merged, while other answers are being read: none of them arrives.
    w->Command9->click();
    FeedCheckWindow *window = w->feedCheckWindow();
    ASSERT_TRUE(window);
    QObject::connect(&window->check(), &FeedCheck::releasesFound, window->stopButton, &QPushButton::click,
                     Qt::SingleShotConnection);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->check().running(); }, 10000));
    EXPECT_EQ(window->progressText->text(), u("已检查 0 / 2"));
    const QStringList releases = shown(window->results).filter(u("★"));
    EXPECT_TRUE(releases.size() == 1 && !releases[0].contains(u("、"))) << releases.join(u("\n")).toStdString();

    w->Command9->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->check().running(); }, 10000));
    EXPECT_EQ(shown(window->results),
              texts({"[喵萌奶茶屋][某作品][9][某作品]",
                     "  新|【喵萌奶茶屋】★04月新番★[某作品][10][1080p][简体][招募翻译]|动漫花园、镜像",
                     "  极影：服务器返回 404", "[喵萌奶茶屋][某作品S][7.5][某作品 旧]",
                     "  |【喵萌奶茶屋】★04月新番★[某作品][08][1080p][繁體][招募翻譯]|极影"}));
    EXPECT_TRUE(window->windowTitle() == u("新集检查 — 1 部有新集") &&
                window->progressText->text() == u("已检查 2 / 2"));

    // Watched: 7.5 becomes 8, once; an episode changed since the check is left alone.
    window->results->setCurrentItem(window->results->topLevelItem(1)->child(0));
    window->watchedButton->click();
    window->watchedButton->click();
    exec({u("update AD set Episode = '10' where num = '1'")});
    // Return on a release hands its magnet link to the opener, byte for byte.
    window->results->setCurrentItem(window->results->topLevelItem(0)->child(0));
    QTest::keyClick(window->results, Qt::Key_Return);
    EXPECT_EQ(opened,
              QList<QByteArray>{"magnet:?xt=urn:btih:Q336IN72UWT7ZYK5DXOLT2XK5I3XMZ5Y&dn=%E6%9F%90%E4%BD%9C%E5%93%81"});
    window->watchedButton->click();
    EXPECT_EQ(rows("select Episode from AD order by num"), texts({"10", "8"}));
    EXPECT_EQ(w->List1->item(1)->text(), u("[喵萌奶茶屋][某作品S][8][某作品 旧]"));
    EXPECT_EQ(MessageBox::shown().size(), 1);

    // The main window closed mid-check takes the check window with it.
    w->Command9->click();
    w->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w->feedCheckWindow(); }));
}
