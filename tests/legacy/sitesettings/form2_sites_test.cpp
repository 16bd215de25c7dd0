#include "form2fixture.h"

#include "sitesettings/form2texts.h"

#include <functional>

namespace {
const QString Refusal = QStringLiteral("囧");

QStringList strings(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *t : texts)
        list << QString::fromUtf8(t);
    return list;
}

const QStringList FirstBuiltIn = strings({"1|极影|http://bt.ktxp.com/search.php?keyword=|0",
                                          "2|动漫花园|https://share.dmhy.org/topics/list?keyword=|1",
                                          "3|Levelup|http://www.levelup.cn/search.php?keyword=|1",
                                          "4|Tokyo Toshokan|https://www.tokyotosho.info/search.php?terms=|1"});
const QStringList FirstCustom =
    strings({"20|Nyaa|https://nyaa.example/?q=|1", "10|爱恋|http://love.example/s.php?k=|0"});
const QStringList FirstChoice = strings({"极影", "动漫花园", "Levelup", "Tokyo Toshokan", "爱恋", "Nyaa"});
} // namespace

using Form2SitesTest = Form2Test;

TEST_F(Form2SitesTest, AddStoresNewNamesOnlyAndAlwaysRefillsClearsAndRebuilds)
{
    open();
    enterNewSite(QStringLiteral("15"), QStringLiteral("Mikan"), QStringLiteral("https://m.example/?s="), true);
    press(form2->Command4);
    // A built-in name is a new name here; so is another letter case.
    enterNewSite(QStringLiteral("5"), JiYing, QStringLiteral("http://mirror=/"));
    typeInto(form2->Text3, QStringLiteral("?k="));
    press(form2->Command4);
    enterNewSite(QStringLiteral("6"), QStringLiteral("nyaa"), QStringLiteral("http://n="));
    press(form2->Command4);
    EXPECT_TRUE(MessageBox::shown().isEmpty());
    const QStringList added = FirstCustom + strings({"15|Mikan|https://m.example/?s=|1", "5|极影|http://mirror=/?k=|0",
                                                     "6|nyaa|http://n=|0"});
    EXPECT_EQ(sites(QStringLiteral("xd")), added);
    EXPECT_EQ(items(form2->List2), strings({"极影", "nyaa", "爱恋", "Mikan", "Nyaa"}));
    EXPECT_EQ(items(form1->Combo2), FirstChoice.mid(0, 4) + items(form2->List2));
    EXPECT_EQ(fields(), NoFields);
    EXPECT_EQ(form2->newSiteMode(), 1);

    enterNewSite(QStringLiteral("1"), Nyaa, QStringLiteral("http://other="));
    form1->Combo2->setCurrentIndex(0);
    press(form2->Command4);
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_EQ(MessageBox::shown()[0].text,
              QStringLiteral("站点名称重复，如果想更新的话请点击修改，或者删除相应条目再添加。"));
    EXPECT_EQ(MessageBox::shown()[0].title, Refusal);
    EXPECT_EQ(onTopWhileShown, QList<bool>({false}));
    EXPECT_TRUE(WindowOrder::isOnTop(form2));
    EXPECT_EQ(sites(QStringLiteral("xd")), added);
    EXPECT_EQ(fields(), NoFields);
    EXPECT_EQ(form1->Combo2->currentIndex(), -1);
    EXPECT_EQ(sites(QStringLiteral("bt")), FirstBuiltIn);
}

// A name is data, whatever it holds: added, picked, modified and deleted like any other.
TEST_F(Form2SitesTest, NamesOfEveryKindGoThroughEveryOperation)
{
    for (const QString &name :
         strings({"O'Brien's", "x' or '1'='1", "][", "[a]%_*", "字幕“站”", "😀 站", "  spaced  "})) {
        SCOPED_TRACE(name.toStdString());
        reopen();
        enterNewSite(QStringLiteral("5"), name, QStringLiteral("http://a.example/?q="));
        press(form2->Command4);
        ASSERT_EQ(sites(QStringLiteral("xd")),
                  FirstCustom + QStringList({QStringLiteral("5|%1|http://a.example/?q=|0").arg(name)}));
        pick(form2->List2, name);
        retype(form2->Text3, QStringLiteral("http://b.example/?q="));
        press(form2->Command1);
        EXPECT_EQ(sites(QStringLiteral("xd")),
                  FirstCustom + QStringList({QStringLiteral("5|%1|http://b.example/?q=|0").arg(name)}));
        pick(form2->List2, name);
        MessageBox::setNextAnswer(MessageBox::Yes);
        press(form2->Command7);
        EXPECT_EQ(sites(QStringLiteral("xd")), FirstCustom);
        EXPECT_EQ(MessageBox::shown().size(), 1); // the question only
    }
}

TEST_F(Form2SitesTest, DisplayOrdersThatAreNoNumberAreStoredAsTypedAndListedAfterTheNumbers)
{
    open({});
    const QStringList orders = strings({"-", "99999999999999999999", "1.2.3", ".", "-3", "2.5"});
    for (const QString &nub : orders) {
        enterNewSite(nub, QStringLiteral("s") + nub, QStringLiteral("http://a="));
        press(form2->Command4);
    }
    EXPECT_EQ(rows(QStringLiteral("xd"), QStringLiteral("nub")), orders);
    EXPECT_EQ(items(form2->List2), strings({"s-3", "s2.5", "s99999999999999999999", "s-", "s.", "s1.2.3"}));
}

TEST_F(Form2SitesTest, ModifyReplacesTheCustomSiteFoundByTheNameInTheField)
{
    open();
    form1->Combo2->setCurrentIndex(2);
    pick(form2->List2, Love);
    retype(form2->Text1, QStringLiteral("30"));
    tick(form2->Check1);
    press(form2->Command1);
    // Replaced, so the row is now the last one; listed in its new place here, not yet in the main window.
    QStringList xd = {FirstCustom[0], QStringLiteral("30|爱恋|http://love.example/s.php?k=|1")};
    EXPECT_EQ(sites(QStringLiteral("xd")), xd);
    EXPECT_EQ(items(form2->List2), QStringList({Nyaa, Love}));
    EXPECT_EQ(fields(), QStringList({QStringLiteral("30"), Love, QStringLiteral("http://love.example/s.php?k="),
                                     QStringLiteral("1")}));
    EXPECT_FALSE(form2->Command1->isEnabled());
    EXPECT_EQ(items(form1->Combo2), FirstChoice);
    EXPECT_EQ(form1->Combo2->currentIndex(), 2);

    // A name no custom site has: refused.
    pick(form2->List2, Love);
    retype(form2->Text2, QStringLiteral("爱恋2"));
    press(form2->Command1);
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_EQ(MessageBox::shown()[0].text, QStringLiteral("对不起，这个版本无法正常修改服务器名称，请耐心等待..."));
    EXPECT_EQ(MessageBox::shown()[0].title, Refusal);
    EXPECT_EQ(onTopWhileShown, QList<bool>({false}));
    EXPECT_EQ(sites(QStringLiteral("xd")), xd);
    EXPECT_FALSE(form2->Command1->isEnabled());

    // The name of another custom site: that site takes the values, the one picked stays.
    pick(form2->List2, Love);
    retype(form2->Text2, Nyaa);
    press(form2->Command1);
    EXPECT_EQ(sites(QStringLiteral("xd")),
              QStringList({xd[1], QStringLiteral("30|Nyaa|http://love.example/s.php?k=|1")}));
}

TEST_F(Form2SitesTest, BuiltInSiteModifiedSetAsDefaultAndRestored)
{
    open();
    pick(form2->List1, JiYing);
    pick(form2->List1, Dmhy);
    retype(form2->Text3, QStringLiteral("https://modified.example/?k="));
    press(form2->Command1);
    const QStringList others = {FirstBuiltIn[0], FirstBuiltIn[2], FirstBuiltIn[3]};
    EXPECT_EQ(sites(QStringLiteral("bt")), others + strings({"2|动漫花园|https://modified.example/?k=|1"}));
    EXPECT_EQ(sites(QStringLiteral("mr")), FirstBuiltIn);

    retype(form2->Text3, QStringLiteral("https://default.example/?k="));
    press(form2->Command5);
    const QString stored = QStringLiteral("2|动漫花园|https://default.example/?k=|1");
    EXPECT_EQ(sites(QStringLiteral("bt")), others + QStringList({stored}));
    EXPECT_EQ(sites(QStringLiteral("mr")), others + QStringList({stored}));
    EXPECT_EQ(selected(form2->List1), Dmhy);
    EXPECT_EQ(form2->Text3->text(), QStringLiteral("https://default.example/?k="));

    // Restore brings the default back, in mr's display order, and empties the fields.
    retype(form2->Text3, QStringLiteral("https://later.example/?k="));
    press(form2->Command1);
    press(form2->Command3);
    EXPECT_EQ(sites(QStringLiteral("bt")), QStringList({FirstBuiltIn[0], stored, FirstBuiltIn[2], FirstBuiltIn[3]}));
    EXPECT_EQ(fields(), NoFields);
    EXPECT_TRUE(MessageBox::shown().isEmpty());
    EXPECT_EQ(items(form1->Combo2), FirstChoice);

    // The locked name is now empty: set as default finds no site and neither table gains a name.
    ASSERT_TRUE(form2->nameLocked());
    typeInto(form2->Text3, QStringLiteral("http://typed.example/?k="));
    press(form2->Command5);
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_EQ(MessageBox::shown()[0].title, Refusal);
    QStringList names[] = {rows(QStringLiteral("bt"), QStringLiteral("btset")),
                           rows(QStringLiteral("mr"), QStringLiteral("btset"))};
    names[0].sort();
    names[1].sort();
    EXPECT_EQ(names[0], names[1]);
    EXPECT_EQ(sites(QStringLiteral("mr")).size(), 4);
}

TEST_F(Form2SitesTest, RestoreCopiesTheWholeDefaultSetAndRefusesAnEmptyOne)
{
    const TestSite builtIn{QStringLiteral("1"), QStringLiteral("Only"), QStringLiteral("http://o="), 0};
    QList<TestSite> defaults;
    for (const char *nub : {"3", "1", "x", "2", "10", "4"}) {
        const QString n = QString::fromLatin1(nub);
        defaults << TestSite{n, QStringLiteral("S") + n, QStringLiteral("http://%1=").arg(n), int(n.size() % 2)};
    }
    const std::pair<int, QStringList> cases[] = {
        {3, strings({"1|S1|http://1=|1", "3|S3|http://3=|1", "x|Sx|http://x=|1"})},
        {4, strings({"1|S1|http://1=|1", "2|S2|http://2=|1", "3|S3|http://3=|1", "x|Sx|http://x=|1"})},
        {6, strings({"1|S1|http://1=|1", "2|S2|http://2=|1", "3|S3|http://3=|1", "4|S4|http://4=|1",
                     "10|S10|http://10=|0", "x|Sx|http://x=|1"})},
    };
    for (const auto &[count, expected] : cases) {
        SCOPED_TRACE(count);
        reopen({}, {builtIn}, defaults.mid(0, count));
        press(form2->Command3);
        EXPECT_EQ(sites(QStringLiteral("bt")), expected);
        EXPECT_TRUE(MessageBox::shown().isEmpty());
        EXPECT_EQ(items(form2->List1), QStringList({QStringLiteral("Only")})); // not reloaded
    }

    reopen({}, {builtIn}, {});
    sql({QStringLiteral("delete from mr")});
    pick(form2->List1, QStringLiteral("Only"));
    press(form2->Command3);
    EXPECT_EQ(sites(QStringLiteral("bt")), strings({"1|Only|http://o=|0"}));
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_EQ(MessageBox::shown()[0].text, Form2Text::DefaultsEmpty);
    EXPECT_EQ(onTopWhileShown, QList<bool>({false}));
    EXPECT_EQ(form2->Text2->text(), QStringLiteral("Only"));
}

TEST_F(Form2SitesTest, DeleteAsksWithTheWindowLoweredAndDeletesOnYesOnly)
{
    open();
    form1->Combo2->setCurrentIndex(1);
    pick(form2->List2, Love);
    MessageBox::setNextAnswer(MessageBox::No);
    press(form2->Command7);
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_EQ(MessageBox::shown()[0].text, QStringLiteral("确实要删除本条内容吗？"));
    EXPECT_EQ(MessageBox::shown()[0].title, QStringLiteral("删除条目"));
    EXPECT_EQ(MessageBox::shown()[0].buttons, MessageBox::YesNo);
    EXPECT_EQ(onTopWhileShown, QList<bool>({false}));
    EXPECT_TRUE(WindowOrder::isOnTop(form2));
    // No: nothing at all changes.
    EXPECT_EQ(sites(QStringLiteral("xd")), FirstCustom);
    EXPECT_EQ(form2->Text2->text(), Love);
    EXPECT_EQ(form1->Combo2->currentIndex(), 1);

    MessageBox::setNextAnswer(MessageBox::Yes);
    press(form2->Command7);
    EXPECT_TRUE(WindowOrder::isOnTop(form2));
    EXPECT_EQ(sites(QStringLiteral("xd")), QStringList({FirstCustom[0]}));
    EXPECT_EQ(items(form2->List2), QStringList({Nyaa}));
    EXPECT_EQ(fields(), NoFields);
    EXPECT_EQ(form1->Combo2->currentIndex(), -1);

    // Yes with a name no custom site has: nothing deleted, yet the fields are cleared.
    pick(form2->List2, Nyaa);
    retype(form2->Text2, QStringLiteral("Gone"));
    MessageBox::setNextAnswer(MessageBox::Yes);
    press(form2->Command7);
    EXPECT_EQ(sites(QStringLiteral("xd")), QStringList({FirstCustom[0]}));
    EXPECT_EQ(fields(), NoFields);
    EXPECT_EQ(MessageBox::shown().size(), 3);
}

// Every operation on a write-protected file or a full disk: the tables stay as they were and the user is told.
TEST_F(Form2SitesTest, FailedWritesChangeNothingAndSaySo)
{
    // Long enough to need new pages, which a full disk cannot give.
    const QString longAddress = QStringLiteral("http://long.example/?%1=").arg(QString(6000, QLatin1Char('a')));
    const auto showLong = [&](QListWidget *Form2::*list, const QString &name) {
        return [=](Form2Test &t) {
            t.pick(t.form2->*list, name);
            retype(t.form2->Text3, longAddress);
        };
    };
    const struct
    {
        const char *name;
        std::function<void(Form2Test &)> prepare;
        QPushButton *Form2::*button;
        QString message;
    } operations[] = {
        {"add", [&](Form2Test &t) { t.enterNewSite(QStringLiteral("30"), QStringLiteral("Big"), longAddress); },
         &Form2::Command4, Form2Text::NotAdded},
        {"modify a custom site", showLong(&Form2::List2, Love), &Form2::Command1, Form2Text::NotModified},
        {"modify a built-in site", showLong(&Form2::List1, JiYing), &Form2::Command1, Form2Text::NotModified},
        {"set as default", showLong(&Form2::List1, JiYing), &Form2::Command5, Form2Text::NotSetAsDefault},
        {"restore", [&](Form2Test &t) { t.sql({QStringLiteral("update mr set urldata = '%1'").arg(longAddress)}); },
         &Form2::Command3, Form2Text::NotRestored},
        // Deleting needs no new page, so only a write-protected file stops it.
        {"delete", [](Form2Test &t) { t.pick(t.form2->List2, Love); }, &Form2::Command7, Form2Text::NotDeleted},
    };
    for (const auto &op : operations) {
        for (const bool readOnly : {true, false}) {
            if (!readOnly && op.button == &Form2::Command7)
                continue;
            SCOPED_TRACE(std::string(op.name) + (readOnly ? " on a read-only file" : " on a full disk"));
            reopen();
            op.prepare(*this);
            const QStringList before =
                sites(QStringLiteral("bt")) + sites(QStringLiteral("xd")) + sites(QStringLiteral("mr"));
            const QStringList typed = fields();
            readOnly ? makeReadOnly() : makeDiskFull();
            MessageBox::setNextAnswer(MessageBox::Yes);
            press(form2->*op.button);
            ASSERT_FALSE(MessageBox::shown().isEmpty());
            EXPECT_EQ(MessageBox::shown().last().title, Refusal);
            EXPECT_TRUE(MessageBox::shown().last().text.startsWith(op.message.section(QLatin1Char('\n'), 0, 0)));
            EXPECT_FALSE(onTopWhileShown.last());
            EXPECT_TRUE(WindowOrder::isOnTop(form2));
            EXPECT_EQ(sites(QStringLiteral("bt")) + sites(QStringLiteral("xd")) + sites(QStringLiteral("mr")), before);
            if (op.button == &Form2::Command4) {
                EXPECT_EQ(fields(), typed); // what was typed is kept
            }
        }
    }
}
