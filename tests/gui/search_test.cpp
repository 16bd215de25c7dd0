#include "gui/form1fixture.h"

#include "platform/browser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QTimer>

#include <tuple>

// The search: exact addresses in both encodings, one per selected line, in list order (two lines are also searched
// on a real display by the end-to-end script).
TEST_F(Form1Test, SearchesOpenTheExactAddressOfEachSelectedLine)
{
    start({"update bt set urldata = 'http://bt.example/?q=', utf8 = 0 where btset = '极影'",
           "insert into AD values ('1', 'XYZ', '中', '8', 't', '')",
           "insert into AD values ('2', '', '中', '8', 't', '')",
           "insert into AD values ('3', 'B', 'two', '第二话', 't', '')"});
    const struct
    {
        int line;
        bool group, episode;
        const char *codePage, *utf8;
    } cases[] = {
        {0, true, false, "%58%59%5A%20%D6%D0", "XYZ%20%E4%B8%AD"},
        {0, false, true, "%D6%D0%20%30%39", "%E4%B8%AD%2009"},
        // An empty group keeps its blank in the code page; UTF-8 trims it. No number, no episode part.
        {1, true, true, "%20%D6%D0%20%30%39", "%E4%B8%AD%2009"},
        {2, true, true, "%42%20%74%77%6F", "B%20two"},
    };
    for (const auto &c : cases) {
        clickLine(w->List1, c.line);
        w->Check3->setChecked(c.group);
        w->Check2->setChecked(c.episode);
        opened.clear();
        for (const bool utf8 : {false, true}) {
            w->Check1->setChecked(utf8);
            QTest::mouseClick(w->Command4, Qt::LeftButton);
        }
        EXPECT_EQ(opened, QList<QByteArray>({"http://bt.example/?q=" + QByteArray(c.codePage),
                                             "http://bt.example/?q=" + QByteArray(c.utf8)}));
    }
    // Several lines open in list order; the pages after the first are spaced out.
    opened.clear();
    clickLine(w->List1, 2);
    clickLine(w->List1, 0, Qt::ControlModifier);
    w->Command4->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.size() == 2; }));
    EXPECT_EQ(opened, QList<QByteArray>({"http://bt.example/?q=XYZ%20%E4%B8%AD%2009", "http://bt.example/?q=B%20two"}));
    // When no browser takes a page, one message says so and the rest are dropped.
    Browser::setHandlerForTesting([&](const QByteArray &address) { return opened << address, false; });
    opened.clear();
    w->Command4->click();
    EXPECT_EQ(opened.size(), 1);
    EXPECT_FALSE(w->findChild<QTimer *>(u("searchSpacing"))->isActive());
    EXPECT_TRUE(lastMessage().startsWith(u("无法打开搜索页面：")));
}

// Picking a site sets its address and encoding; what is never opened, or not without asking: no web address or
// one with a line break, an address too long to hand on, and more than twenty pages at once.
TEST_F(Form1Test, PickedSitesAndThePagesThatShouldNotOpen)
{
    start({"update bt set urldata = 'http://bt.example/?q=', utf8 = 1 where btset = '极影'",
           "update bt set urldata = '' where btset = 'Levelup'",
           "insert into xd values ('1', '极影', 'http://custom/?q=', 0)",
           "insert into xd values ('2', 'It''s ][', 'http://a.example/?q=' || char(10) || 'file:///etc/passwd#', 1)",
           "insert into xd values ('3', 'levelup', 'http://lower/?q=', 0)"});
    // Names are compared letter case and all; a custom site named like a built-in one is the built-in one.
    const std::tuple<int, const char *, bool> sites[] = {
        {6, "http://lower/?q=", false}, {4, "http://bt.example/?q=", true}, {2, "", true}};
    for (const auto &[index, url, utf8] : sites) {
        w->Check1->setChecked(!utf8);
        pickSite(index);
        EXPECT_TRUE(w->siteUrl() == u(url) && w->Check1->isChecked() == utf8) << index;
    }
    QStringList entries;
    for (int i = 1; i <= 25; ++i)
        entries << u("insert into AD values ('%1', '', 's%1', '1', 't%1', '')").arg(i);
    exec(entries + QStringList{u("update AD set SearchN = printf('%.*c', 70000, 'x') where num = '2'")});
    w->RefreshList();
    clickLine(w->List1, 0);
    for (const int index : {2, 5}) {
        pickSite(index);
        w->Command4->click();
        EXPECT_TRUE(
            lastMessage().startsWith(u("当前站点的搜索地址无法使用：\n") + (index == 2 ? u("（空）") : u("http:"))));
    }
    EXPECT_TRUE(opened.isEmpty());
    // A name no row has any more leaves the site as it was.
    exec({u("delete from xd where nub = '3'")});
    pickSite(6);
    EXPECT_TRUE(w->siteUrl().endsWith(u("passwd#")));
    // Three lines, the second too long to hand on: it is skipped with a message of its own.
    pickSite(0);
    clickLine(w->List1, 2, Qt::ShiftModifier);
    w->Command4->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.size() == 2; }));
    EXPECT_EQ(opened.last(), "http://bt.example/?q=s3%2002");
    EXPECT_TRUE(lastMessage().startsWith(u("搜索地址过长，无法打开")));
    // More than twenty: asked first; No opens nothing, and Escape drops what waits.
    opened.clear();
    w->List1->selectAll();
    MessageBox::setNextAnswer(MessageBox::No);
    w->Command4->click();
    EXPECT_TRUE(lastMessage() == u("将打开 24 个页面，继续吗？") && opened.isEmpty());
    MessageBox::setNextAnswer(MessageBox::Yes);
    w->Command4->click();
    EXPECT_EQ(opened.size(), 1);
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_FALSE(w->findChild<QTimer *>(u("searchSpacing"))->isActive());
}
