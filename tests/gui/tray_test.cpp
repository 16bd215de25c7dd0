#include "support/guitest.h"
#include "support/httpserver.h"

#include "feedcheck/feedcheckwindow.h"
#include "platform/desktopnotice.h"
#include "tray/traypresence.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

namespace {

class TrayTest : public GuiTest
{
public:
    void SetUp() override
    {
        GuiTest::SetUp();
        TrayPresence::setTrayForTesting(true);
    }
    void TearDown() override
    {
        tray.reset();
        TrayPresence::setTrayForTesting({});
        GuiTest::TearDown();
    }
    void start(bool minimized = false)
    {
        w = std::make_unique<Form1>();
        tray = std::make_unique<TrayPresence>(&w->watcher(), w.get(), minimized);
        tray->notice().setBalloonForTesting(
            [this](const QString &title, const QString &text) { notices << title + u'|' + text; });
        if (!minimized)
            w->show();
    }
    std::unique_ptr<TrayPresence> tray;
    QStringList notices;
};

} // namespace

// 定时检查 stored in the file puts the icon in the tray: closing the main window then hides it, saying so the first
// time; turned off, the icon goes and closing quits as before.
TEST_F(TrayTest, WhileWatchingTheIconIsThereAndClosingHidesTheWindow)
{
    makeDatabase({"create table settings (name text primary key, value text)",
                  "insert into settings values ('autocheck', '1'), ('autocheckminutes', '30')"});
    start();
    EXPECT_TRUE(w->autoCheck->isChecked() && w->autoCheckMinutes->text() == u("每 30 分钟"));
    EXPECT_TRUE(tray->isShown() && !QApplication::quitOnLastWindowClosed());
    for (int i = 0; i < 2; ++i) {
        w->show();
        w->close();
        EXPECT_TRUE(!w->isVisible() && tray->isShown());
    }
    EXPECT_EQ(rows("select value from settings where name = 'traynoteshown'"), texts({"1"}));
    // The menu: 暂停 says 继续 while paused; the window comes back from the tray.
    QAction *pause = tray->menu().actions().at(2);
    pause->trigger();
    EXPECT_TRUE(w->watcher().isPaused() && pause->text() == u("继续定时检查"));
    tray->menu().actions().at(0)->trigger();
    EXPECT_TRUE(w->isVisible());
    w->autoCheck->click();
    EXPECT_TRUE(!tray->isShown() && QApplication::quitOnLastWindowClosed());
    EXPECT_EQ(rows("select value from settings where name = 'autocheck'"), texts({"0"}));
    // Started minimized (with the session), the icon is there whatever 定时检查 says, and the window is not.
    tray.reset();
    w.reset();
    start(true);
    EXPECT_TRUE(tray->isShown() && !w->isVisible());
}

// A scheduled check that finds releases not announced before gives one notice naming three entries at most; a
// click on it opens 新集检查 on that check. Entries with a release the user has not seen are bold in the list.
TEST_F(TrayTest, ANoticeNamesWhatIsNewAndOpensTheFeedCheck)
{
    HttpServer server;
    // D's site lists another series: shown, marked doubtful, never announced.
    for (const char *name : {"A", "B", "C", "D", "E"})
        server.route(QByteArray("/feed?k=") + name + "%2002",
                     {.body = QByteArray("<rss><channel><item><title>[G] ") + (*name == 'D' ? "Z" : name) +
                              " - 02</title></item></channel></rss>"});
    makeDatabase(
        {"insert into AD values ('1', 'G', 'A', '1', 'A', '')", "insert into AD values ('2', '', 'B', '1', 'B', '')",
         "insert into AD values ('3', 'G', 'C', '1', 'C', '')", "insert into AD values ('4', 'G', 'D', '1', 'D', '')",
         "insert into AD values ('5', 'G', 'E', '1', 'E', '')", "alter table bt add column rssdata text"});
    exec({u("update bt set utf8 = 1, rssdata = '%1/feed?k=' where btset = '极影'")
              .arg(QString::fromLatin1(server.url("")))});
    start();
    w->Check3->setChecked(false); // the group out of the words and the match: B has none
    w->autoCheck->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return notices.size() == 1; }, 10000));
    EXPECT_EQ(notices[0], u("4 部有新集|A 第 2 集 (G)\nB 第 2 集\nC 第 2 集 (G)\n等 4 部"));
    EXPECT_TRUE(w->List1->item(0)->font().bold() && w->List1->item(4)->font().bold());
    EXPECT_FALSE(w->List1->item(3)->font().bold());
    EXPECT_EQ(w->List1->item(0)->text(), u("[G][A][1][A]"));
    Q_EMIT tray->notice().activated();
    FeedCheckWindow *window = w->feedCheckWindow();
    ASSERT_TRUE(window && window->isVisible());
    // Shown, they are seen: bold no more.
    EXPECT_FALSE(w->List1->item(0)->font().bold());
    EXPECT_EQ(window->windowTitle(), u("新集检查 — 4 部有新集"));
    const QTreeWidgetItem *doubtful = window->results->topLevelItem(3)->child(0);
    EXPECT_TRUE(doubtful->text(1).isEmpty() && doubtful->toolTip(0).startsWith(u("标题中没有")));
}
