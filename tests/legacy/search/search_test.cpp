#include "support/guitest.h"

#include "mainwindow/form1.h"
#include "platform/browser.h"
#include "mainwindow/searchtexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QByteArray Prefix = "http://bt.example/search?q=";

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

TestEntry entry(const char *num, const char *subg, const char *name, const char *episode)
{
    return {text(num), text(subg), text(name), text(episode), text("title"), QString()};
}

TestSite site(const char *nub, const char *name, const char *url, int utf8)
{
    return {text(nub), text(name), text(url), utf8};
}

class SearchTest : public GuiTest
{
protected:
    // Entries numbered 1, 2, ... so that line i of the "序号" order shows the i-th entry.
    void start(const QList<TestEntry> &entries, const QList<TestSite> &builtIn = {}, const QList<TestSite> &custom = {})
    {
        makeDatabase(entries, builtIn.isEmpty() ? QList<TestSite>{site("1", "极影", Prefix, 0)} : builtIn, custom);
        form = std::make_unique<Form1>();
        ASSERT_EQ(form->List1->count(), entries.size());
        MessageBox::clearShown();
    }

    // A click, then Ctrl+click for each further line, as a user selects.
    void select(const QList<int> &lines)
    {
        for (qsizetype i = 0; i < lines.size(); ++i)
            clickLine(form->List1, lines[i], i == 0 ? Qt::NoModifier : Qt::ControlModifier);
    }

    void pick(QComboBox *combo, int index)
    {
        combo->setCurrentIndex(index);
        Q_EMIT combo->activated(index);
    }

    void search() { QTest::mouseClick(form->Command4, Qt::LeftButton); }

    // The pages after the first are spaced out: wait for them.
    bool openedCount(qsizetype n)
    {
        QDeadlineTimer deadline(10000);
        while (opened.size() < n && !deadline.hasExpired())
            QTest::qWait(10);
        const auto *timer = form->findChild<QTimer *>(QStringLiteral("searchSpacing"));
        return opened.size() == n && !(timer && timer->isActive());
    }

    std::unique_ptr<Form1> form;
};

} // namespace

TEST_F(SearchTest, CheckBoxesChooseTheWordsInBothEncodings)
{
    start({entry("1", "XYZ", "中", "8"), entry("2", "", "中", "8")});
    const struct
    {
        int line;
        bool group, episode;
        const char *codePage, *utf8;
    } cases[] = {
        {0, true, true, "%58%59%5A%20%D6%D0%20%30%39", "XYZ%20%E4%B8%AD%2009"},
        {0, true, false, "%58%59%5A%20%D6%D0", "XYZ%20%E4%B8%AD"},
        {0, false, true, "%D6%D0%20%30%39", "%E4%B8%AD%2009"},
        {0, false, false, "%D6%D0", "%E4%B8%AD"},
        // An empty group keeps its blank in the code page; UTF-8 trims it.
        {1, true, true, "%20%D6%D0%20%30%39", "%E4%B8%AD%2009"},
    };
    for (const auto &c : cases) {
        select({c.line});
        form->Check3->setChecked(c.group);
        form->Check2->setChecked(c.episode);
        opened.clear();
        for (const bool utf8 : {false, true}) {
            form->Check1->setChecked(utf8);
            search();
        }
        EXPECT_EQ(opened, QList<QByteArray>({Prefix + c.codePage, Prefix + c.utf8}));
    }
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

TEST_F(SearchTest, SelectedLinesOpenOnceEachInListOrderWithTheirOwnWords)
{
    start({entry("1", "A", "one", "1"), entry("2", "B", "two", "第二话"), entry("3", "C", "three", "3")});
    form->Check1->setChecked(true);
    select({2, 1, 0});
    search();
    // The second line's episode is no number: it has no episode part, not the line before's.
    ASSERT_TRUE(openedCount(3));
    EXPECT_EQ(opened, QList<QByteArray>({Prefix + "A%20one%2002", Prefix + "B%20two", Prefix + "C%20three%2004"}));
}

TEST_F(SearchTest, WordsComeFromTheRowEachLineShowsNow)
{
    start({entry("1", "C", "one", "1"), entry("2", "B", "two", "2"), entry("3", "A", "three", "3")});
    form->Check1->setChecked(true);
    select({0, 1});
    // Refilled in the group order, line 0 shows another entry.
    const int byGroup = form->Combo1->findText(text("字幕组"));
    ASSERT_GE(byGroup, 0);
    pick(form->Combo1, byGroup);
    select({0});
    search();
    EXPECT_EQ(opened, QList<QByteArray>{Prefix + "A%20three%2004"});
}

TEST_F(SearchTest, NothingSelectedOrNothingListedOpensNothing)
{
    start({entry("1", "A", "one", "1")});
    search();
    // A line whose row has gone since the list was filled has nothing to search for.
    runSql({QStringLiteral("delete from AD")});
    select({0});
    search();
    form->List1->clear();
    search();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

TEST_F(SearchTest, PickingASiteSetsItsAddressAndEncoding)
{
    start({entry("1", "A", "one", "1")}, {site("1", "极影", "http://builtin/?q=", 0), site("2", "Levelup", "", 1)},
          {site("1", "极影", "http://custom/?q=", 1), site("2", "It's ][", "file:///etc/?q=", 1),
           site("3", "levelup", "http://lower/?q=", 0)});
    ASSERT_EQ(form->Combo2->count(), 5);
    const struct
    {
        int index;
        const char *url;
        bool utf8;
    } cases[] = {
        {4, "http://lower/?q=", false},   // names are compared letter case and all
        {2, "http://builtin/?q=", false}, // a custom site named like a built-in one is the built-in one
        {1, "", true},
        {3, "file:///etc/?q=", true}, // a name with a quote
    };
    for (const auto &c : cases) {
        form->Check1->setChecked(!c.utf8);
        pick(form->Combo2, c.index);
        EXPECT_EQ(form->siteUrl(), text(c.url)) << c.index;
        EXPECT_EQ(form->Check1->isChecked(), c.utf8) << c.index;
    }
    // Only web addresses are opened; anything else is named to the user.
    select({0});
    for (const int index : {1, 3}) {
        MessageBox::clearShown();
        pick(form->Combo2, index);
        search();
        ASSERT_EQ(MessageBox::shown().size(), 1);
        EXPECT_EQ(MessageBox::shown()[0].title, text("囧"));
        EXPECT_TRUE(MessageBox::shown()[0].text.contains(index == 1 ? SearchText::EmptyAddress : form->siteUrl()));
    }
    EXPECT_TRUE(opened.isEmpty());

    // A name no row has leaves the site as it was.
    runSql({QStringLiteral("delete from xd")});
    pick(form->Combo2, 4);
    EXPECT_EQ(form->siteUrl(), text("file:///etc/?q="));
    EXPECT_TRUE(form->Check1->isChecked());
}

TEST_F(SearchTest, WhenNoBrowserTakesThePageOneMessageSaysSo)
{
    start({entry("1", "A", "one", "1"), entry("2", "B", "two", "2"), entry("3", "C", "three", "3")});
    Browser::setHandlerForTesting([&](const QByteArray &address) {
        opened << address;
        return false;
    });
    select({0, 1, 2});
    search();
    // The other pages are dropped, not tried later.
    EXPECT_TRUE(openedCount(1));
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_EQ(MessageBox::shown()[0].title, text("囧"));
}
