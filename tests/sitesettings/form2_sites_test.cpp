#include "form2fixture.h"

#include "platform/windoworder.h"
#include "sitesettings/form2texts.h"

#include <functional>

namespace {
const QString JiYing = QStringLiteral("极影");
const QString Dmhy = QStringLiteral("动漫花园");
const QString Love = QStringLiteral("爱恋");
const QString Nyaa = QStringLiteral("Nyaa");
const QString Refusal = QStringLiteral("囧");

const QStringList FirstBuiltIn = {QStringLiteral("1|极影|http://bt.ktxp.com/search.php?keyword=|0"),
                                  QStringLiteral("2|动漫花园|https://share.dmhy.org/topics/list?keyword=|1"),
                                  QStringLiteral("3|Levelup|http://www.levelup.cn/search.php?keyword=|1"),
                                  QStringLiteral("4|Tokyo Toshokan|https://www.tokyotosho.info/search.php?terms=|1")};
const QStringList FirstCustom = {QStringLiteral("20|Nyaa|https://nyaa.example/?q=|1"),
                                 QStringLiteral("10|爱恋|http://love.example/s.php?k=|0")};
const QStringList FirstChoice = {JiYing, Dmhy, QStringLiteral("Levelup"), QStringLiteral("Tokyo Toshokan"), Love, Nyaa};

QStringList strings(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *t : texts)
        list << QString::fromUtf8(t);
    return list;
}

QString firstLine(const QString &message)
{
    return message.section(QLatin1Char('\n'), 0, 0);
}
} // namespace

class Form2SitesTest : public Form2Test
{
public:
    void enterNewSite(const QString &nub, const QString &name, const QString &address, bool utf8 = false)
    {
        QTest::mouseClick(form2->Command6, Qt::LeftButton);
        typeInto(form2->Text1, nub);
        retype(form2->Text2, name);
        retype(form2->Text3, address);
        if (utf8)
            tick(form2->Check1);
    }

    void press(QPushButton *button)
    {
        ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Records, for every box shown, whether the window was still on top while it was up.
    void watchBoxes()
    {
        MessageBox::setWhileShown([this] { onTopWhileShown << WindowOrder::isOnTop(form2); });
    }

    void sql(const QStringList &statements) { runSql(statements); }

    QList<bool> onTopWhileShown;
};

TEST_F(Form2SitesTest, AddStoresTheFieldsAndRebuildsBothSiteListsKeepingTheCurrentSite)
{
    open();
    tick(form1->Check1); // the user's own choice of encoding for the current site
    const QString url = form1->siteUrl();
    for (const bool utf8 : {true, false}) {
        const QString name = utf8 ? QStringLiteral("Mikan") : QStringLiteral("Acg");
        enterNewSite(utf8 ? QStringLiteral("15") : QStringLiteral("5"), name, QStringLiteral("https://m.example/?s="),
                     utf8);
        press(form2->Command4);
    }
    EXPECT_EQ(sites(QStringLiteral("xd")),
              FirstCustom + QStringList({QStringLiteral("15|Mikan|https://m.example/?s=|1"),
                                         QStringLiteral("5|Acg|https://m.example/?s=|0")}));
    EXPECT_EQ(items(form2->List2), QStringList({QStringLiteral("Acg"), Love, QStringLiteral("Mikan"), Nyaa}));
    EXPECT_EQ(fields(), QStringList({QString(), QString(), QString(), QStringLiteral("0")}));
    EXPECT_EQ(form2->newSiteMode(), 1);
    EXPECT_TRUE(MessageBox::shown().isEmpty());
    EXPECT_EQ(items(form1->Combo2),
              QStringList({JiYing, Dmhy, QStringLiteral("Levelup"), QStringLiteral("Tokyo Toshokan"),
                           QStringLiteral("Acg"), Love, QStringLiteral("Mikan"), Nyaa}));
    EXPECT_EQ(form1->Combo2->currentIndex(), -1);
    EXPECT_EQ(form1->siteUrl(), url);
    EXPECT_TRUE(form1->Check1->isChecked());
    EXPECT_EQ(sites(QStringLiteral("bt")), FirstBuiltIn);
}

TEST_F(Form2SitesTest, AddRefusesANameTheCustomListHasButStillRefillsClearsAndRebuilds)
{
    open();
    watchBoxes();
    enterNewSite(QStringLiteral("1"), Nyaa, QStringLiteral("http://other=")); // exact name
    form1->Combo2->setCurrentIndex(0);
    press(form2->Command4);
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_EQ(MessageBox::shown()[0].text,
              QStringLiteral("站点名称重复，如果想更新的话请点击修改，或者删除相应条目再添加。"));
    EXPECT_EQ(MessageBox::shown()[0].title, Refusal);
    EXPECT_EQ(onTopWhileShown, QList<bool>({false}));
    EXPECT_TRUE(WindowOrder::isOnTop(form2));
    EXPECT_EQ(sites(QStringLiteral("xd")), FirstCustom);
    EXPECT_EQ(fields(), QStringList({QString(), QString(), QString(), QStringLiteral("0")}));
    EXPECT_EQ(form1->Combo2->currentIndex(), -1);

    // Letter case counts: "nyaa" is another name.
    enterNewSite(QStringLiteral("1"), QStringLiteral("nyaa"), QStringLiteral("http://other="));
    press(form2->Command4);
    EXPECT_EQ(sites(QStringLiteral("xd")).size(), 3);
}

TEST_F(Form2SitesTest, ACustomSiteMayCarryABuiltInNameAndThenStandsTwiceInTheSiteChoice)
{
    open();
    enterNewSite(QStringLiteral("30"), JiYing, QStringLiteral("http://mirror.example/?k="));
    press(form2->Command4);
    EXPECT_TRUE(MessageBox::shown().isEmpty());
    EXPECT_EQ(items(form1->Combo2), FirstChoice + QStringList({JiYing}));
    EXPECT_EQ(sites(QStringLiteral("bt")), FirstBuiltIn);
}

// A name is data, whatever it holds: added, picked, modified and deleted like any other.
TEST_F(Form2SitesTest, NamesOfEveryKindGoThroughEveryOperation)
{
    const QString names[] = {QStringLiteral("O'Brien's"),  QStringLiteral("x' or '1'='1"), QStringLiteral("]["),
                             QStringLiteral("[a]%_*"),     QStringLiteral("字幕“站”"),     QStringLiteral("😀 站"),
                             QStringLiteral("  spaced  "), QStringLiteral("\"q\"")};
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        reopen();
        enterNewSite(QStringLiteral("5"), name, QStringLiteral("http://a.example/?q="));
        press(form2->Command4);
        ASSERT_EQ(sites(QStringLiteral("xd")),
                  FirstCustom + QStringList({QStringLiteral("5|%1|http://a.example/?q=|0").arg(name)}));
        EXPECT_EQ(items(form2->List2), QStringList({name, Love, Nyaa}));

        pick(form2->List2, name);
        EXPECT_EQ(form2->Text2->text(), name);
        retype(form2->Text3, QStringLiteral("http://b.example/?q="));
        press(form2->Command1);
        EXPECT_EQ(sites(QStringLiteral("xd")),
                  FirstCustom + QStringList({QStringLiteral("5|%1|http://b.example/?q=|0").arg(name)}));

        pick(form2->List2, name);
        MessageBox::setNextAnswer(MessageBox::Yes);
        press(form2->Command7);
        EXPECT_EQ(sites(QStringLiteral("xd")), FirstCustom);
        EXPECT_EQ(items(form1->Combo2), FirstChoice);
        EXPECT_TRUE(MessageBox::shown().size() == 1 && MessageBox::shown()[0].title == QStringLiteral("删除条目"));
    }
}

TEST_F(Form2SitesTest, DisplayOrdersThatAreNoNumberAreStoredAsTypedAndListedAfterTheNumbers)
{
    open({});
    const QString orders[] = {QStringLiteral("-"),     QStringLiteral("99999999999999999999"),
                              QStringLiteral("1.2.3"), QStringLiteral("."),
                              QStringLiteral("-3"),    QStringLiteral("2.5")};
    for (const QString &nub : orders) {
        enterNewSite(nub, QStringLiteral("s") + nub, QStringLiteral("http://a="));
        press(form2->Command4);
    }
    EXPECT_EQ(rows(QStringLiteral("xd"), QStringLiteral("nub")), QList<QString>(std::begin(orders), std::end(orders)));
    EXPECT_EQ(items(form2->List2),
              QStringList({QStringLiteral("s-3"), QStringLiteral("s2.5"), QStringLiteral("s99999999999999999999"),
                           QStringLiteral("s-"), QStringLiteral("s."), QStringLiteral("s1.2.3")}));
}

TEST_F(Form2SitesTest, ModifyReplacesTheCustomSiteAndListsItInItsNewPlace)
{
    open();
    form1->Combo2->setCurrentIndex(2);
    pick(form2->List2, Love);
    retype(form2->Text1, QStringLiteral("30"));
    tick(form2->Check1);
    press(form2->Command1);
    // Replaced, so the row is now the last one.
    EXPECT_EQ(sites(QStringLiteral("xd")),
              QStringList({FirstCustom[0], QStringLiteral("30|爱恋|http://love.example/s.php?k=|1")}));
    EXPECT_EQ(items(form2->List2), QStringList({Nyaa, Love}));
    EXPECT_EQ(fields(), QStringList({QStringLiteral("30"), Love, QStringLiteral("http://love.example/s.php?k="),
                                     QStringLiteral("1")}));
    EXPECT_FALSE(form2->Command1->isEnabled());
    // The main window's list keeps the old order until its next rebuild.
    EXPECT_EQ(items(form1->Combo2), FirstChoice);
    EXPECT_EQ(form1->Combo2->currentIndex(), 2);
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

TEST_F(Form2SitesTest, ModifyOfACustomSiteUnderAnotherName)
{
    open();
    watchBoxes();
    // A name no custom site has: refused, nothing written.
    pick(form2->List2, Love);
    retype(form2->Text2, QStringLiteral("爱恋2"));
    press(form2->Command1);
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_EQ(MessageBox::shown()[0].text, QStringLiteral("对不起，这个版本无法正常修改服务器名称，请耐心等待..."));
    EXPECT_EQ(MessageBox::shown()[0].title, Refusal);
    EXPECT_EQ(onTopWhileShown, QList<bool>({false}));
    EXPECT_TRUE(WindowOrder::isOnTop(form2));
    EXPECT_EQ(sites(QStringLiteral("xd")), FirstCustom);
    EXPECT_FALSE(form2->Command1->isEnabled());
    EXPECT_TRUE(selected(form2->List2).isEmpty()); // refilled

    // The name of another custom site: that site takes the fields' values; the one picked stays.
    pick(form2->List2, Love);
    retype(form2->Text2, Nyaa);
    press(form2->Command1);
    EXPECT_EQ(sites(QStringLiteral("xd")),
              QStringList({FirstCustom[1], QStringLiteral("10|Nyaa|http://love.example/s.php?k=|0")}));
}

TEST_F(Form2SitesTest, BuiltInSiteModifiedSetAsDefaultAndRestored)
{
    open();
    pick(form2->List1, JiYing);
    pick(form2->List1, Dmhy);
    // Modify: only bt changes.
    retype(form2->Text3, QStringLiteral("https://modified.example/?k="));
    press(form2->Command1);
    QStringList bt = FirstBuiltIn;
    bt.removeAt(1);
    EXPECT_EQ(sites(QStringLiteral("bt")),
              bt + QStringList({QStringLiteral("2|动漫花园|https://modified.example/?k=|1")}));
    EXPECT_EQ(sites(QStringLiteral("mr")), FirstBuiltIn);
    EXPECT_EQ(items(form2->List2), QStringList({Love, Nyaa}));
    EXPECT_FALSE(form2->Command1->isEnabled());

    // Set as default: both tables, no question, fields and lists as they were.
    retype(form2->Text3, QStringLiteral("https://default.example/?k="));
    press(form2->Command5);
    const QString stored = QStringLiteral("2|动漫花园|https://default.example/?k=|1");
    EXPECT_EQ(sites(QStringLiteral("bt")), bt + QStringList({stored}));
    EXPECT_EQ(sites(QStringLiteral("mr")), bt + QStringList({stored}));
    EXPECT_EQ(form2->Text3->text(), QStringLiteral("https://default.example/?k="));
    EXPECT_EQ(selected(form2->List1), Dmhy);

    // Modify again, then restore: the default comes back, bt in mr's display order.
    retype(form2->Text3, QStringLiteral("https://later.example/?k="));
    press(form2->Command1);
    press(form2->Command3);
    EXPECT_EQ(sites(QStringLiteral("bt")), QStringList({FirstBuiltIn[0], stored, FirstBuiltIn[2], FirstBuiltIn[3]}));
    EXPECT_EQ(fields(), QStringList({QString(), QString(), QString(), QStringLiteral("0")}));
    EXPECT_TRUE(MessageBox::shown().isEmpty());
    EXPECT_EQ(items(form1->Combo2), FirstChoice);
}

TEST_F(Form2SitesTest, SetAsDefaultWithTheLockedNameEmptiedChangesNoName)
{
    open();
    pick(form2->List1, JiYing);
    press(form2->Command3); // empties the fields; the name stays locked
    ASSERT_TRUE(form2->nameLocked());
    typeInto(form2->Text3, QStringLiteral("http://typed.example/?k="));
    press(form2->Command5);
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_EQ(MessageBox::shown()[0].title, Refusal);
    EXPECT_EQ(sites(QStringLiteral("bt")), FirstBuiltIn);
    EXPECT_EQ(sites(QStringLiteral("mr")), FirstBuiltIn);
}

TEST_F(Form2SitesTest, RestoreCopiesTheWholeDefaultSetInItsDisplayOrder)
{
    const TestSite a{QStringLiteral("3"), QStringLiteral("A"), QStringLiteral("http://a="), 1};
    const TestSite b{QStringLiteral("1"), QStringLiteral("B"), QStringLiteral("http://b="), 0};
    const TestSite c{QStringLiteral("2"), QStringLiteral("C"), QStringLiteral("http://c="), 1};
    const TestSite d{QStringLiteral("x"), QStringLiteral("D"), QStringLiteral("http://d="), 0};
    const TestSite e{QStringLiteral("10"), QStringLiteral("E"), QStringLiteral("http://e="), 1};
    const TestSite f{QStringLiteral("4"), QStringLiteral("F"), QStringLiteral("http://f="), 0};
    const TestSite builtIn{QStringLiteral("1"), QStringLiteral("Only"), QStringLiteral("http://o="), 0};
    const struct
    {
        QList<TestSite> defaults;
        QStringList expected;
    } cases[] = {
        {{a, b, c}, strings({"1|B|http://b=|0", "2|C|http://c=|1", "3|A|http://a=|1"})},
        {{a, b, c, f}, strings({"1|B|http://b=|0", "2|C|http://c=|1", "3|A|http://a=|1", "4|F|http://f=|0"})},
        {{a, b, c, d, e, f},
         strings({"1|B|http://b=|0", "2|C|http://c=|1", "3|A|http://a=|1", "4|F|http://f=|0", "10|E|http://e=|1",
                  "x|D|http://d=|0"})},
    };
    for (const auto &cs : cases) {
        SCOPED_TRACE(cs.defaults.size());
        reopen({}, {builtIn}, cs.defaults);
        press(form2->Command3);
        EXPECT_EQ(sites(QStringLiteral("bt")), cs.expected);
        EXPECT_TRUE(MessageBox::shown().isEmpty());
        // The built-in list goes on showing what it showed.
        EXPECT_EQ(items(form2->List1), QStringList({QStringLiteral("Only")}));
    }

    // An empty default set changes nothing.
    reopen({}, {builtIn}, {});
    runSql({QStringLiteral("delete from mr")});
    watchBoxes();
    pick(form2->List1, QStringLiteral("Only"));
    press(form2->Command3);
    EXPECT_EQ(sites(QStringLiteral("bt")), QStringList({QStringLiteral("1|Only|http://o=|0")}));
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_EQ(MessageBox::shown()[0].text, Form2Text::DefaultsEmpty);
    EXPECT_EQ(onTopWhileShown, QList<bool>({false}));
    EXPECT_EQ(form2->Text2->text(), QStringLiteral("Only"));
}

TEST_F(Form2SitesTest, DeleteAsksWithTheWindowLoweredAndDeletesOnYesOnly)
{
    open();
    watchBoxes();
    form1->Combo2->setCurrentIndex(1);
    // No: nothing at all changes.
    pick(form2->List2, Love);
    MessageBox::setNextAnswer(MessageBox::No);
    press(form2->Command7);
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_EQ(MessageBox::shown()[0].text, QStringLiteral("确实要删除本条内容吗？"));
    EXPECT_EQ(MessageBox::shown()[0].title, QStringLiteral("删除条目"));
    EXPECT_EQ(MessageBox::shown()[0].buttons, MessageBox::YesNo);
    EXPECT_EQ(onTopWhileShown, QList<bool>({false}));
    EXPECT_TRUE(WindowOrder::isOnTop(form2));
    EXPECT_EQ(sites(QStringLiteral("xd")), FirstCustom);
    EXPECT_EQ(form2->Text2->text(), Love);
    EXPECT_EQ(form1->Combo2->currentIndex(), 1);

    // Yes.
    MessageBox::setNextAnswer(MessageBox::Yes);
    press(form2->Command7);
    EXPECT_EQ(onTopWhileShown, QList<bool>({false, false}));
    EXPECT_TRUE(WindowOrder::isOnTop(form2));
    EXPECT_EQ(sites(QStringLiteral("xd")), QStringList({FirstCustom[0]}));
    EXPECT_EQ(items(form2->List2), QStringList({Nyaa}));
    EXPECT_EQ(fields(), QStringList({QString(), QString(), QString(), QStringLiteral("0")}));
    EXPECT_EQ(items(form1->Combo2), FirstChoice.mid(0, 4) + QStringList({Nyaa}));
    EXPECT_EQ(form1->Combo2->currentIndex(), -1);

    // Yes with a name no custom site has: nothing deleted, the lists still refilled and the fields cleared.
    pick(form2->List2, Nyaa);
    retype(form2->Text2, QStringLiteral("Gone"));
    MessageBox::setNextAnswer(MessageBox::Yes);
    press(form2->Command7);
    EXPECT_EQ(sites(QStringLiteral("xd")), QStringList({FirstCustom[0]}));
    EXPECT_TRUE(form2->Text2->text().isEmpty());
    EXPECT_EQ(MessageBox::shown().size(), 3);
}

// Every operation on a write-protected file or a full disk: the tables stay as they were and the user is told.
TEST_F(Form2SitesTest, FailedWritesChangeNothingAndSaySo)
{
    // Long enough to need new pages, which a full disk cannot give.
    const QString longAddress =
        QStringLiteral("http://long.example/?") + QString(6000, QLatin1Char('a')) + QStringLiteral("=");
    struct Operation
    {
        const char *name;
        std::function<void(Form2SitesTest &)> act;
        QString message;
        bool diskFullFails;
    };
    const Operation operations[] = {
        {"add",
         [&](Form2SitesTest &t) {
             t.enterNewSite(QStringLiteral("30"), QStringLiteral("Big"), longAddress);
             t.press(t.form2->Command4);
             // Nothing added: what was typed is still there.
             EXPECT_EQ(t.form2->Text2->text(), QStringLiteral("Big"));
         },
         Form2Text::NotAdded, true},
        {"modify a custom site",
         [&](Form2SitesTest &t) {
             t.pick(t.form2->List2, Love);
             retype(t.form2->Text3, longAddress);
             t.press(t.form2->Command1);
         },
         Form2Text::NotModified, true},
        {"modify a built-in site",
         [&](Form2SitesTest &t) {
             t.pick(t.form2->List1, JiYing);
             retype(t.form2->Text3, longAddress);
             t.press(t.form2->Command1);
         },
         Form2Text::NotModified, true},
        {"set as default",
         [&](Form2SitesTest &t) {
             t.pick(t.form2->List1, JiYing);
             retype(t.form2->Text3, longAddress);
             t.press(t.form2->Command5);
         },
         Form2Text::NotSetAsDefault, true},
        {"restore",
         [&](Form2SitesTest &t) {
             t.sql({QStringLiteral("update mr set urldata = '%1'").arg(longAddress)});
             t.press(t.form2->Command3);
         },
         Form2Text::NotRestored, true},
        // Deleting needs no new page: a full disk does not stop it.
        {"delete",
         [&](Form2SitesTest &t) {
             t.pick(t.form2->List2, Love);
             MessageBox::setNextAnswer(MessageBox::Yes);
             t.press(t.form2->Command7);
         },
         Form2Text::NotDeleted, false},
    };
    for (const Operation &op : operations) {
        for (const bool readOnly : {true, false}) {
            if (!readOnly && !op.diskFullFails)
                continue;
            SCOPED_TRACE(std::string(op.name) + (readOnly ? " on a read-only file" : " on a full disk"));
            reopen();
            const QStringList before[] = {sites(QStringLiteral("bt")), sites(QStringLiteral("xd")),
                                          sites(QStringLiteral("mr"))};
            if (readOnly)
                makeReadOnly();
            else
                makeDiskFull();
            watchBoxes();
            op.act(*this);
            const QList<MessageBox::Shown> boxes = MessageBox::shown();
            ASSERT_FALSE(boxes.isEmpty());
            EXPECT_EQ(boxes.last().title, Refusal);
            EXPECT_TRUE(boxes.last().text.startsWith(firstLine(op.message))) << boxes.last().text.toStdString();
            EXPECT_FALSE(onTopWhileShown.last());
            EXPECT_TRUE(WindowOrder::isOnTop(form2));
            EXPECT_EQ(sites(QStringLiteral("bt")), before[0]);
            EXPECT_EQ(sites(QStringLiteral("xd")), before[1]);
            EXPECT_EQ(sites(QStringLiteral("mr")),
                      op.name == std::string("restore") ? sites(QStringLiteral("mr")) : before[2]);
        }
    }
}
