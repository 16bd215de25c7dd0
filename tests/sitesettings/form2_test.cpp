#include "form2fixture.h"

#include "platform/windoworder.h"

#include <QApplication>

#include <functional>

namespace {
const QString JiYing = QStringLiteral("极影");
const QString Dmhy = QStringLiteral("动漫花园");
const QString Love = QStringLiteral("爱恋");
const QString Nyaa = QStringLiteral("Nyaa");
} // namespace

TEST_F(Form2Test, OpensOnTopWithBothListsInDisplayOrderAndNothingShown)
{
    open();
    EXPECT_EQ(form2->windowTitle(), QStringLiteral("BT平台设置"));
    EXPECT_TRUE(WindowOrder::isOnTop(form2));
    EXPECT_EQ(items(form2->List1),
              QStringList({JiYing, Dmhy, QStringLiteral("Levelup"), QStringLiteral("Tokyo Toshokan")}));
    EXPECT_EQ(items(form2->List2), QStringList({Love, Nyaa}));
    EXPECT_TRUE(selected(form2->List1).isEmpty());
    EXPECT_TRUE(selected(form2->List2).isEmpty());
    EXPECT_EQ(fields(), QStringList({QString(), QString(), QString(), QStringLiteral("0")}));
    EXPECT_EQ(buttons(), "----");
    EXPECT_FALSE(form2->nameLocked());
    EXPECT_EQ(form2->newSiteMode(), 0);
}

TEST_F(Form2Test, PicksShowTheSiteInTheFields)
{
    open();
    pick(form2->List1, Dmhy);
    EXPECT_EQ(fields(),
              QStringList({QStringLiteral("2"), Dmhy, QStringLiteral("https://share.dmhy.org/topics/list?keyword="),
                           QStringLiteral("1")}));
    pick(form2->List2, Love);
    EXPECT_EQ(fields(), QStringList({QStringLiteral("10"), Love, QStringLiteral("http://love.example/s.php?k="),
                                     QStringLiteral("0")}));
    // The keyboard picks as well.
    QTest::keyClick(form2->List2, Qt::Key_Down);
    EXPECT_EQ(form2->Text2->text(), Nyaa);
}

// The button states of each situation the window can be in, reached by picks, presses and typing.
TEST_F(Form2Test, ButtonStatesFollowTheFieldRules)
{
    struct Case
    {
        const char *situation;
        std::function<void(Form2Test &)> steps;
        std::string buttons; // 加入 修改 删除 设为默认
        bool locked;
        int mode;
    };
    auto builtIn = [](const QString &name) { return [name](Form2Test &t) { t.pick(t.form2->List1, name); }; };
    auto custom = [](const QString &name) { return [name](Form2Test &t) { t.pick(t.form2->List2, name); }; };
    auto pressNew = [](Form2Test &t) { QTest::mouseClick(t.form2->Command6, Qt::LeftButton); };
    auto then = [](std::function<void(Form2Test &)> a, std::function<void(Form2Test &)> b) {
        return [a, b](Form2Test &t) {
            a(t);
            b(t);
        };
    };
    const Case cases[] = {
        {"built-in picked after load", builtIn(JiYing), "-+--", true, 0},
        {"built-in picked after a custom one", then(custom(Love), builtIn(JiYing)), "-+--", true, 0},
        {"built-in picked after 新增", then(pressNew, builtIn(JiYing)), "----", true, 0},
        {"another built-in picked", then(builtIn(JiYing), builtIn(Dmhy)), "-+-+", true, 0},
        // The fields get the texts they already hold; their rules run all the same.
        {"the same built-in picked again", then(builtIn(JiYing), builtIn(JiYing)), "-+-+", true, 0},
        {"built-in address broken",
         then(then(builtIn(JiYing), builtIn(Dmhy)),
              [](Form2Test &t) { typeInto(t.form2->Text3, QStringLiteral("x")); }),
         "----", true, 0},
        {"built-in address mended",
         then(then(builtIn(JiYing), builtIn(Dmhy)),
              [](Form2Test &t) {
                  typeInto(t.form2->Text3, QStringLiteral("x"));
                  QTest::keyClick(t.form2->Text3, Qt::Key_Backspace);
              }),
         "-+-+", true, 0},
        {"custom picked after load", custom(Love), "-++-", false, 0},
        {"custom picked after a built-in one", then(then(builtIn(JiYing), builtIn(Dmhy)), custom(Love)), "-++-", false,
         0},
        {"custom picked after 新增", then(pressNew, custom(Love)), "+-+-", false, 0},
        {"新增 after a custom site", then(custom(Love), pressNew), "----", false, 1},
        {"新增 after a built-in site", then(then(builtIn(JiYing), builtIn(Dmhy)), pressNew), "----", false, 1},
        {"新增, then the order and name typed",
         then(pressNew,
              [](Form2Test &t) {
                  typeInto(t.form2->Text1, QStringLiteral("5"));
                  typeInto(t.form2->Text2, QStringLiteral("ab"));
              }),
         "----", false, 1},
        {"新增, then all three typed",
         then(pressNew,
              [](Form2Test &t) {
                  typeInto(t.form2->Text3, QStringLiteral("http://x/?q="));
                  typeInto(t.form2->Text1, QStringLiteral("5"));
                  typeInto(t.form2->Text2, QStringLiteral("ab"));
              }),
         "+---", false, 1},
        {"新增, then the name erased again",
         then(pressNew,
              [](Form2Test &t) {
                  typeInto(t.form2->Text1, QStringLiteral("5"));
                  typeInto(t.form2->Text2, QStringLiteral("a"));
                  typeInto(t.form2->Text3, QStringLiteral("http://x/?q="));
                  QTest::keyClick(t.form2->Text2, Qt::Key_Backspace);
              }),
         "----", false, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.situation);
        reopen();
        c.steps(*this);
        EXPECT_EQ(buttons(), c.buttons);
        EXPECT_EQ(form2->nameLocked(), c.locked);
        EXPECT_EQ(form2->Text2->isReadOnly(), c.locked);
        EXPECT_EQ(form2->Check1->isEnabled(), !c.locked);
        EXPECT_EQ(form2->newSiteMode(), c.mode);
        // These three never change.
        EXPECT_TRUE(form2->Command6->isEnabled() && form2->Command3->isEnabled() && form2->Command2->isEnabled());
    }
}

TEST_F(Form2Test, AddressCheckNeedsTheSchemeAndTheFinalEquals)
{
    open();
    const struct
    {
        const char *address;
        bool passes;
    } cases[] = {
        {"http://a=", true},   {"https://a=", true}, {"http://=", true},  {"HTTP://a=", false},
        {"Https://a=", false}, {"http://a", false},  {"ftp://a=", false}, {"http:/a=", false},
        {"https:/a=", false},  {"=", false},         {"", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.address);
        const QString address = QString::fromLatin1(c.address);
        // A new site: only the add rule can pass.
        QTest::mouseClick(form2->Command6, Qt::LeftButton);
        typeInto(form2->Text1, QStringLiteral("7"));
        typeInto(form2->Text2, QStringLiteral("n"));
        typeInto(form2->Text3, address);
        EXPECT_EQ(form2->Command4->isEnabled(), c.passes);
        EXPECT_FALSE(form2->Command1->isEnabled());
        // A built-in site shown: the default and modify rules.
        pick(form2->List1, JiYing);
        pick(form2->List1, Dmhy);
        retype(form2->Text3, address);
        EXPECT_EQ(form2->Command5->isEnabled(), c.passes);
        EXPECT_EQ(form2->Command1->isEnabled(), c.passes);
        // A custom site shown: modify only.
        pick(form2->List2, Love);
        retype(form2->Text3, address);
        EXPECT_EQ(form2->Command1->isEnabled(), c.passes);
        EXPECT_FALSE(form2->Command5->isEnabled());
    }
}

TEST_F(Form2Test, DisplayOrderTakesDigitsMinusDotAndBackspaceOnly)
{
    open();
    QTest::mouseClick(form2->Command6, Qt::LeftButton);
    typeInto(form2->Text1, QStringLiteral("1a2-Z.3 中,"));
    EXPECT_EQ(form2->Text1->text(), QStringLiteral("12-.3"));
    QTest::keyClick(form2->Text1, Qt::Key_Backspace);
    EXPECT_EQ(form2->Text1->text(), QStringLiteral("12-."));
    // The name and address take anything.
    typeInto(form2->Text2, QStringLiteral("a1-中"));
    EXPECT_EQ(form2->Text2->text(), QStringLiteral("a1-中"));
}

TEST_F(Form2Test, ABuiltInSiteShownKeepsItsNameOrderAndEncodingButNotItsAddress)
{
    open();
    pick(form2->List1, Dmhy);
    typeInto(form2->Text1, QStringLiteral("9"));
    typeInto(form2->Text2, QStringLiteral("x"));
    tick(form2->Check1);
    typeInto(form2->Text3, QStringLiteral("x"));
    EXPECT_EQ(fields(),
              QStringList({QStringLiteral("2"), Dmhy, QStringLiteral("https://share.dmhy.org/topics/list?keyword=x"),
                           QStringLiteral("1")}));
    // A custom site picked next unlocks them.
    pick(form2->List2, Love);
    typeInto(form2->Text2, QStringLiteral("x"));
    EXPECT_EQ(form2->Text2->text(), Love + QStringLiteral("x"));
    tick(form2->Check1);
    EXPECT_TRUE(form2->Check1->isChecked());
}

TEST_F(Form2Test, MovingIntoOneListUnselectsTheOther)
{
    open();
    // Clicking.
    pick(form2->List2, Love);
    pick(form2->List1, Dmhy);
    EXPECT_TRUE(selected(form2->List2).isEmpty());
    EXPECT_EQ(selected(form2->List1), Dmhy);
    EXPECT_EQ(buttons(), "-+--");
    pick(form2->List1, JiYing);
    EXPECT_TRUE(form2->Command5->isEnabled());
    pick(form2->List2, Nyaa);
    EXPECT_TRUE(selected(form2->List1).isEmpty());

    // Tabbing: into the built-in list from the custom one and back; tabbing picks nothing.
    QTest::keyClick(form2->List2, Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), form2->List1);
    EXPECT_TRUE(selected(form2->List2).isEmpty());
    EXPECT_EQ(form2->Text2->text(), Nyaa);
    QTest::keyClick(form2->List1, Qt::Key_Down);
    EXPECT_EQ(form2->Text2->text(), Dmhy);
    typeInto(form2->Text3, QStringLiteral("x"));
    QTest::keyClick(form2->Text3, Qt::Key_Backspace);
    ASSERT_TRUE(form2->Command5->isEnabled());
    QTest::keyClick(form2->List1, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form2->List2);
    EXPECT_TRUE(selected(form2->List1).isEmpty());
    EXPECT_FALSE(form2->Command5->isEnabled());
}

TEST_F(Form2Test, NewSiteEmptiesTheFieldsAndUnselectsBothLists)
{
    open();
    pick(form2->List2, Nyaa);
    QTest::mouseClick(form2->Command6, Qt::LeftButton);
    EXPECT_EQ(fields(), QStringList({QString(), QString(), QString(), QStringLiteral("0")}));
    EXPECT_TRUE(selected(form2->List2).isEmpty());
    EXPECT_EQ(form2->newSiteMode(), 1);
    // Unselected by the program, not picked by the user: the fields stay empty.
    EXPECT_TRUE(form2->Text2->text().isEmpty());
}

TEST_F(Form2Test, BackClosesAndTheNextOpeningStartsAfresh)
{
    open();
    pick(form2->List2, Nyaa);
    QTest::mouseClick(form2->Command2, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form1->settingsWindow() == nullptr; }));
    // The main window's site list is not touched by closing.
    EXPECT_EQ(form1->Combo2->count(), 6);

    runSql({QStringLiteral("update xd set nub = '1' where btset = 'Nyaa'"),
            QStringLiteral("insert into xd (nub, btset, urldata, utf8) values ('15', 'New', 'http://n=', 0)")});
    QTest::mouseClick(form1->Command8, Qt::LeftButton);
    form2 = form1->settingsWindow();
    ASSERT_NE(form2, nullptr);
    EXPECT_EQ(items(form2->List2), QStringList({Nyaa, Love, QStringLiteral("New")}));
    EXPECT_EQ(fields(), QStringList({QString(), QString(), QString(), QStringLiteral("0")}));
    EXPECT_EQ(buttons(), "----");
    EXPECT_FALSE(form2->nameLocked());
}

TEST_F(Form2Test, ClosingTheMainWindowClosesTheSettingsWindow)
{
    open();
    form1->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form1->settingsWindow() == nullptr; }));
}

TEST_F(Form2Test, BothWindowsStayUsableAtOnce)
{
    open();
    EXPECT_FALSE(form2->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    pick(form2->List2, Love);

    activate(form1.get());
    EXPECT_TRUE(form2->isVisible());
    typeInto(form1->Text5, QStringLiteral("abc"));
    EXPECT_EQ(form1->Text5->text(), QStringLiteral("abc"));
    tick(form1->Check1);
    EXPECT_TRUE(form1->Check1->isChecked());

    activate(form2);
    typeInto(form2->Text1, QStringLiteral("5"));
    EXPECT_EQ(form2->Text1->text(), QStringLiteral("105"));
    QTest::mouseClick(form2->Command6, Qt::LeftButton);
    EXPECT_EQ(form2->newSiteMode(), 1);
    EXPECT_EQ(form1->Text5->text(), QStringLiteral("abc"));
}
