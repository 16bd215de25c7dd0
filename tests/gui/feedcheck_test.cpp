#include "support/guitest.h"
#include "support/httpserver.h"

#include "data/module1.h"
#include "feedcheck/feedcheckwindow.h"
#include "search/encoders.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTreeWidget>

namespace {

using FeedCheckTest = GuiTest;

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
// give one feed, the four answers at once. Entry 2's release was seen before.
TEST_F(FeedCheckTest, StopsWhenToldFillsEachEntryWithItsSitesAnswersAndStepsAWatchedEpisodeOnce)
{
    Form1::setFeedLimitsForTesting(FetchLimits{.perHost = 6});
    HttpServer server;
    server.route("/plain", {.body = feedFile("plain.xml"), .together = 4});
    // As sent: QUrl writes escapes of letters and digits as the characters, which is the same address.
    const QUrl gbk = QUrl::fromEncoded(server.url("/gbk?k=") + encodeCodePageUrl(u("喵萌奶茶屋 某作品S 08")));
    server.route(gbk.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority), {.body = feedFile("gbk.xml")});
    const QString base = QString::fromLatin1(server.url(""));
    makeDatabase({"insert into AD values ('1', '喵萌奶茶屋', '某作品', '9', '某作品', '')",
                  "insert into AD values ('2', '喵萌奶茶屋', '某作品S', '7.5', '某作品 旧', '')",
                  "create table seen (release text primary key, at text)",
                  "insert into seen values ('btih:27d5482eebd075de44389774fce28c69f45c8a75', '')",
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
    EXPECT_EQ(shown(window->results).filter(u("已停止")), QStringList(2, u("  已停止")));

    exec({u("delete from seen where release not like 'btih:27d5%'")}); // what the stopped check showed
    w->Command9->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->check().running(); }, 10000));
    EXPECT_EQ(shown(window->results),
              texts({"[喵萌奶茶屋][某作品][9][某作品]",
                     "  新|【喵萌奶茶屋】★04月新番★[某作品][10][1080p][简体][招募翻译]|动漫花园、镜像",
                     "  极影：服务器返回 404", "[喵萌奶茶屋][某作品S][7.5][某作品 旧]",
                     "  |【喵萌奶茶屋】★04月新番★[某作品][08][1080p][繁體][招募翻譯]|极影"}));
    EXPECT_TRUE(window->windowTitle() == u("新集检查 — 1 部有新集") &&
                window->progressText->text() == u("已检查 2 / 2"));
    // Shown in the open window: seen, and 新 no more.
    EXPECT_EQ(
        rows("select release from seen order by release"),
        texts({"btih:27d5482eebd075de44389774fce28c69f45c8a75", "btih:86f7e437faa5a7fce15d1ddcb9eaeaea377667b8"}));

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

// Two windows on one entry, and a file another program holds: what the user did in one window stays done in the
// other, a step finds its own entry or says why it cannot, and F5 and Escape work in the feed window.
TEST_F(FeedCheckTest, WhatOneWindowDidTheOtherNeitherUndoesNorMisplaces)
{
    HttpServer server;
    QByteArray items;
    for (const char *title : {"[G] Alpha - 09", "[G] Beta - 03"})
        items += "<item><title>" + QByteArray(title) + "</title><link>https://x.example/" + title[4] + "</link></item>";
    server.route("/feed", {.body = "<rss><channel>" + items + "</channel></rss>"});
    makeDatabase({"insert into AD values ('1', 'G', 'Alpha', '8', 'Alpha', '')",
                  "insert into AD values ('2', 'G', 'Beta', '2', 'Beta', '')",
                  "alter table bt add column rssdata text"});
    exec({u("update bt set rssdata = '%1/feed?k=' where btset = '动漫花园'").arg(QString::fromLatin1(server.url("")))});
    Module1::setBusyTimeoutForTesting(50);
    w = std::make_unique<Form1>();
    w->show();
    clickLine(w->List1, 1);
    clickLine(w->List1, 0, Qt::ControlModifier); // both selected, Alpha loaded
    w->Command9->click();
    FeedCheckWindow *window = w->feedCheckWindow();
    ASSERT_TRUE(window && QTest::qWaitFor([&] { return !window->check().running(); }, 10000));
    EXPECT_EQ(shown(window->results).filter(u("  新|")).size(), 2);
    EXPECT_EQ(window->windowTitle(), u("新集检查 — 2 部有新集"));

    // 已看完 on Alpha reaches the loaded fields; a note typed then is saved with the new episode.
    window->results->setCurrentItem(window->results->topLevelItem(0)->child(0));
    window->watchedButton->click();
    EXPECT_EQ(w->Text4->text(), u("9"));
    w->Text6->setText(u("note"));
    w->Command2->click();
    EXPECT_EQ(rows("select Episode, Other from AD where SearchN = 'Alpha'"), texts({"9|note"}));
    // A value stored elsewhere since loading is not written over, with or without an edit of that field.
    exec({u("update AD set Episode = '10' where SearchN = 'Alpha'")});
    for (const char *typed : {"12", "9"}) {
        w->Text4->setText(u(typed));
        w->Command2->click();
        EXPECT_TRUE(lastMessage().startsWith(u("本条内容在载入后已在别处修改")));
    }
    EXPECT_EQ(rows("select Episode from AD where SearchN = 'Alpha'"), texts({"10"}));

    // Beta's step: refused when its episode changed since the check, or when its row holds another entry now.
    window->results->setCurrentItem(window->results->topLevelItem(1)->child(0));
    exec({u("update AD set Episode = '5' where SearchN = 'Beta'")});
    window->watchedButton->click();
    EXPECT_EQ(lastMessage(), u("集数未能更新：检查时集数是 2，此后已改为 5。\n为免跳过一集，未作改动；请重新检查。"));
    exec({u("delete from AD where SearchN = 'Beta'"), u("insert into AD (rowid, num, subg, SearchN, Episode) values "
                                                        "(2, '3', 'G', 'Gamma', '2')")});
    window->watchedButton->click();
    EXPECT_EQ(lastMessage(), u("集数未能更新：该条目已被删除，或其搜索名、字幕组已修改。"));
    EXPECT_EQ(rows("select Episode from AD where SearchN = 'Gamma'"), texts({"2"}));

    // F5 in the window checks the selected entries again; every site failing says why, and no more.
    server.route("/feed", {.status = 404});
    const qsizetype asked = server.targets().size();
    QTest::keyClick(window, Qt::Key_F5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->check().running() && server.targets().size() > asked; }));
    EXPECT_EQ(shown(window->results).filter(u("  ")), QStringList(2, u("  动漫花园：服务器返回 404")));
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w->feedCheckWindow(); }));

    // A file another program holds says so, as every change does.
    QSqlDatabase other = QSqlDatabase::addDatabase(u("QSQLITE"), u("other"));
    other.setDatabaseName(dbPath());
    ASSERT_TRUE(other.open() && QSqlQuery(other).exec(u("begin exclusive")));
    w->Command9->click();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase(u("other"));
    EXPECT_EQ(lastMessage(), u("无法检查新集。\n原因：文件正被另一个程序使用"));
}
