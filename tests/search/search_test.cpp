#include "testsupport.h"

#include "data/module1.h"
#include "mainwindow/form1.h"
#include "platform/browser.h"
#include "search/searchtexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const char Prefix[] = "http://bt.example/search?q=";

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// Polls until the condition holds, handling events meanwhile; false when it never does.
bool eventually(const std::function<bool()> &condition)
{
    QDeadlineTimer deadline(10000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
}

class SearchTest : public KorvaneTest
{
protected:
    // Entries numbered 1, 2, ... so that line i of the "序号" order shows entries[i].
    void start(const QList<TestEntry> &entries, const QList<TestSite> &builtIn = {}, const QList<TestSite> &custom = {})
    {
        makeDatabase(entries,
                     builtIn.isEmpty() ? QList<TestSite>{{QStringLiteral("1"), text("极影"), text(Prefix), 0}}
                                       : builtIn,
                     custom);
        form = std::make_unique<Form1>();
        ASSERT_EQ(form->List1->count(), entries.size());
        MessageBox::clearShown();
    }

    // Selects lines as a user does: a click, then Ctrl+click for each further line.
    void select(const QList<int> &lines)
    {
        for (qsizetype i = 0; i < lines.size(); ++i)
            clickLine(form->List1, lines[i], i == 0 ? Qt::NoModifier : Qt::ControlModifier);
        ASSERT_EQ(form->List1->selectedItems().size(), lines.size());
    }

    void pickSite(int index)
    {
        form->Combo2->setCurrentIndex(index);
        Q_EMIT form->Combo2->activated(index);
    }

    void search() { QTest::mouseClick(form->Command4, Qt::LeftButton); }

    bool spacingTimerRuns() const
    {
        const auto *timer = form->findChild<QTimer *>(QStringLiteral("searchSpacing"));
        return timer && timer->isActive();
    }

    std::unique_ptr<Form1> form;
};

TestEntry entry(const char *num, const char *subg, const char *name, const char *episode)
{
    return {text(num), text(subg), text(name), text(episode), text("title"), QString()};
}

} // namespace

TEST_F(SearchTest, WorkedExampleInBothEncodings)
{
    start({entry("1", "XYZ", "中", "8")});
    select({0});
    search();
    form->Check1->setChecked(true);
    search();
    ASSERT_TRUE(eventually([&] { return opened.size() == 2; }));
    EXPECT_EQ(opened[0], QByteArray(Prefix) + "%58%59%5A%20%D6%D0%20%30%39");
    EXPECT_EQ(opened[1], QByteArray(Prefix) + "XYZ%20%E4%B8%AD%2009");
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

TEST_F(SearchTest, CheckBoxesChooseTheWords)
{
    start({entry("1", "", "中", "9")});
    form->Check1->setChecked(true);
    select({0});
    const struct
    {
        bool group, episode;
        const char *encoded;
    } cases[] = {
        {false, false, "%E4%B8%AD"},
        {false, true, "%E4%B8%AD%2010"},
        // The empty group's blank is trimmed away.
        {true, false, "%E4%B8%AD"},
        {true, true, "%E4%B8%AD%2010"},
    };
    for (const auto &c : cases) {
        opened.clear();
        form->Check3->setChecked(c.group);
        form->Check2->setChecked(c.episode);
        search();
        ASSERT_EQ(opened.size(), 1);
        EXPECT_EQ(opened[0], QByteArray(Prefix) + c.encoded) << c.group << c.episode;
    }
    // The code page keeps the blank.
    opened.clear();
    form->Check1->setChecked(false);
    search();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QByteArray(Prefix) + "%20%D6%D0%20%31%30");
}

TEST_F(SearchTest, SelectedLinesOpenOnceEachInListOrderWithTheirOwnWords)
{
    start({entry("1", "A", "one", "1"), entry("2", "B", "two", "第二话"), entry("3", "C", "three", "3")});
    form->Check1->setChecked(true);
    // Copies left by an earlier selection of line 1 are not searched once the line is no longer selected.
    select({1});
    select({2, 0});
    search();
    ASSERT_TRUE(eventually([&] { return opened.size() == 2; }));
    EXPECT_EQ(opened[0], QByteArray(Prefix) + "A%20one%2002");
    EXPECT_EQ(opened[1], QByteArray(Prefix) + "C%20three%2004");

    // A line whose episode is no number has no episode part, whatever the line before it had.
    opened.clear();
    select({0, 1});
    search();
    ASSERT_TRUE(eventually([&] { return opened.size() == 2; }));
    EXPECT_EQ(opened[1], QByteArray(Prefix) + "B%20two");
    EXPECT_FALSE(spacingTimerRuns());
}

TEST_F(SearchTest, WordsComeFromTheRowEachLineShowsNow)
{
    start({entry("1", "C", "one", "1"), entry("2", "B", "two", "2"), entry("3", "A", "three", "3")});
    form->Check1->setChecked(true);
    select({0, 1});
    // Refilled in the group order, line 0 shows another entry: its copies are made afresh when it is selected.
    const int byGroup = form->Combo1->findText(text("字幕组"));
    ASSERT_GE(byGroup, 0);
    form->Combo1->setCurrentIndex(byGroup);
    Q_EMIT form->Combo1->activated(byGroup);
    select({0});
    search();
    EXPECT_EQ(opened, QList<QByteArray>{QByteArray(Prefix) + "A%20three%2004"});
}

TEST_F(SearchTest, NothingSelectedOrNothingListedOpensNothing)
{
    start({entry("1", "A", "one", "1")});
    search();
    // A line whose row has gone since the list was filled has no copies, so nothing to search for.
    runSql({QStringLiteral("delete from AD")});
    select({0});
    search();
    form->List1->clear();
    search();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

TEST_F(SearchTest, PickingASiteSetsPrefixAndEncoding)
{
    start({entry("1", "A", "one", "1")},
          {{QStringLiteral("1"), text("极影"), QStringLiteral("http://builtin.example/?q="), 0},
           {QStringLiteral("2"), text("Levelup"), QStringLiteral("http://levelup.example/?q="), 1}},
          {{QStringLiteral("1"), text("极影"), QStringLiteral("http://custom.example/?q="), 1},
           {QStringLiteral("2"), text("It's ][ 😀"), QStringLiteral("http://quote.example/?q="), 1},
           {QStringLiteral("3"), text("levelup"), QStringLiteral("http://lower.example/?q="), 0}});
    const QStringList names = {text("极影"), text("Levelup"), text("极影"), text("It's ][ 😀"), text("levelup")};
    ASSERT_EQ(form->Combo2->count(), names.size());
    for (int i = 0; i < names.size(); ++i)
        ASSERT_EQ(form->Combo2->itemText(i), names[i]);

    const struct
    {
        int index;
        const char *url;
        bool utf8;
    } cases[] = {
        {1, "http://levelup.example/?q=", true},
        // A custom site named like a built-in one is the built-in one.
        {2, "http://builtin.example/?q=", false},
        {3, "http://quote.example/?q=", true},
        // Names are compared letter case and all.
        {4, "http://lower.example/?q=", false},
    };
    for (const auto &c : cases) {
        form->Check1->setChecked(!c.utf8);
        pickSite(c.index);
        EXPECT_EQ(form->siteUrl(), QString::fromLatin1(c.url)) << c.index;
        EXPECT_EQ(form->Check1->isChecked(), c.utf8) << c.index;
    }

    // A name no row has leaves the site as it was.
    runSql({QStringLiteral("delete from xd where btset = 'It''s ][ 😀'")});
    form->Check1->setChecked(true);
    pickSite(3);
    EXPECT_EQ(form->siteUrl(), QStringLiteral("http://lower.example/?q="));
    EXPECT_TRUE(form->Check1->isChecked());
}

TEST_F(SearchTest, OnlyWebAddressesAreOpened)
{
    const char *refused[] = {"", "file:///etc/passwd?q=", "-x", " http://a.example/?q=", "javascript:q="};
    for (const char *url : refused) {
        SCOPED_TRACE(url);
        start({entry("1", "A", "one", "1")}, {{QStringLiteral("1"), text("极影"), text(url), 0}});
        select({0});
        search();
        EXPECT_TRUE(opened.isEmpty());
        ASSERT_EQ(MessageBox::shown().size(), 1);
        EXPECT_EQ(MessageBox::shown()[0].title, text("囧"));
        EXPECT_TRUE(MessageBox::shown()[0].text.contains(*url ? text(url) : SearchText::EmptyAddress));
        form.reset();
        Module1::resetForTesting();
        QFile::remove(dbPath());
    }
    start({entry("1", "A", "one", "1")},
          {{QStringLiteral("1"), text("极影"), QStringLiteral("HTTPS://a.example/?q="), 1}});
    select({0});
    search();
    EXPECT_EQ(opened, QList<QByteArray>{"HTTPS://a.example/?q=A%20one%2002"});
}

TEST_F(SearchTest, WhenNoBrowserTakesThePageOneMessageSaysSo)
{
    start({entry("1", "A", "one", "1"), entry("2", "B", "two", "2"), entry("3", "C", "three", "3")});
    int attempts = 0;
    Browser::setHandlerForTesting([&](const QByteArray &) {
        ++attempts;
        return false;
    });
    select({0, 1, 2});
    search();
    EXPECT_EQ(attempts, 1);
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_EQ(MessageBox::shown()[0].title, text("囧"));
    // The other two pages are dropped, not tried again later.
    EXPECT_FALSE(spacingTimerRuns());
}
