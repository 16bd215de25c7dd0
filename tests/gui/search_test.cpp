#include "gui/form1fixture.h"

#include "platform/browser.h"

#include <QCheckBox>
#include <QListWidget>
#include <QTimer>

// Beyond the two lines searched on a real display by the end-to-end script: the group without the episode, lines in
// list order however picked; and what is never opened, or not without asking: a site with no web address or with a
// line break, an address too long to hand on, more than twenty pages at once, pages no browser takes.
TEST_F(Form1Test, SearchesOpenTheExactAddressOfEachSelectedLineAndNothingElse)
{
    start({"update bt set urldata = 'http://b/?q=' where btset = '极影'",
           "update bt set urldata = '' where btset = 'Levelup'",
           "insert into xd values ('1', '极影', 'http://c/?q=', 1)",
           "insert into xd values ('2', 'It''s ][', 'http://a.example/?q=' || char(10) || 'file:///etc/passwd#', 1)",
           "insert into AD with recursive n(i) as (select 1 union all select i + 1 from n where i < 25) "
           "select i, 'G', 's' || i, '1', 't', '' from n",
           "update AD set SearchN = printf('%.*c', 70000, 'x') where num = '2'"});
    w->Check2->setChecked(false);
    clickLine(w->List1, 3);
    clickLine(w->List1, 0, Qt::ControlModifier);
    clickLine(w->List1, 2, Qt::ControlModifier);
    for (const bool utf8 : {false, true}) {
        w->Check1->setChecked(utf8);
        w->Command4->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return opened.size() == (utf8 ? 6 : 3); }));
    }
    EXPECT_EQ(opened,
              QList<QByteArray>({"http://b/?q=%47%20%73%31", "http://b/?q=%47%20%73%33", "http://b/?q=%47%20%73%34",
                                 "http://b/?q=G%20s1", "http://b/?q=G%20s3", "http://b/?q=G%20s4"}));
    for (const int index : {2, 5}) {
        pickSite(index);
        w->Command4->click();
        EXPECT_TRUE(
            lastMessage().startsWith(u("当前站点的搜索地址无法使用：\n") + (index == 2 ? u("（空）") : u("http:"))));
    }
    // A custom site named like a built-in one is the built-in one.
    pickSite(4);
    EXPECT_TRUE(opened.size() == 6 && w->siteUrl() == u("http://b/?q="));
    // Every line: the second, too long, is skipped with a message of its own, and the other 24 are asked for; No
    // opens nothing, Yes the first at once, and Escape drops the rest.
    w->List1->selectAll();
    MessageBox::setNextAnswer(MessageBox::No);
    w->Command4->click();
    EXPECT_TRUE(MessageBox::shown().value(2).text.startsWith(u("搜索地址过长，无法打开")));
    EXPECT_TRUE(lastMessage() == u("将打开 24 个页面，继续吗？") && opened.size() == 6);
    MessageBox::setNextAnswer(MessageBox::Yes);
    w->Command4->click();
    EXPECT_TRUE(opened.size() == 7 && opened.last() == "http://b/?q=%47%20%73%31");
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_FALSE(w->findChild<QTimer *>(u("searchSpacing"))->isActive());
    Browser::setHandlerForTesting([](const QByteArray &) { return false; });
    clickLine(w->List1, 0);
    w->Command4->click();
    EXPECT_TRUE(lastMessage().startsWith(u("无法打开搜索页面：")));
}
