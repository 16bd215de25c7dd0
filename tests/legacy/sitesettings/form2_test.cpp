#include "form2fixture.h"

#include <QApplication>

#include <functional>

using Step = std::function<void(Form2Test &)>;

namespace {
Step builtIn(const QString &name)
{
    return [name](Form2Test &t) { t.pick(t.form2->List1, name); };
}
Step custom(const QString &name)
{
    return [name](Form2Test &t) { t.pick(t.form2->List2, name); };
}
Step type(QLineEdit *Form2::*field, const char *text)
{
    return [field, text](Form2Test &t) { typeInto(t.form2->*field, QString::fromLatin1(text)); };
}
Step erase(QLineEdit *Form2::*field)
{
    return [field](Form2Test &t) { QTest::keyClick(t.form2->*field, Qt::Key_Backspace); };
}
const Step pressNew = [](Form2Test &t) { t.press(t.form2->Command6); };
} // namespace

// Each situation of the window, reached by picks, presses and typing, and the buttons it leaves.
TEST_F(Form2Test, ButtonStatesFollowTheFieldRules)
{
    const struct
    {
        const char *situation;
        std::vector<Step> steps;
        std::string buttons; // 加入 修改 删除 设为默认
        bool locked;
        int mode;
    } cases[] = {
        {"built-in after load", {builtIn(JiYing)}, "-+--", true, 0},
        {"built-in after a custom one", {custom(Love), builtIn(JiYing)}, "-+--", true, 0},
        {"built-in after 新增", {pressNew, builtIn(JiYing)}, "----", true, 0},
        {"another built-in", {builtIn(JiYing), builtIn(Dmhy)}, "-+-+", true, 0},
        // The fields get the texts they already hold; their rules run all the same.
        {"the same built-in again", {builtIn(JiYing), builtIn(JiYing)}, "-+-+", true, 0},
        {"built-in address broken", {builtIn(JiYing), builtIn(Dmhy), type(&Form2::Text3, "x")}, "----", true, 0},
        {"built-in address mended",
         {builtIn(JiYing), builtIn(Dmhy), type(&Form2::Text3, "x"), erase(&Form2::Text3)},
         "-+-+",
         true,
         0},
        {"custom after load", {custom(Love)}, "-++-", false, 0},
        {"custom after a built-in one", {builtIn(JiYing), builtIn(Dmhy), custom(Love)}, "-++-", false, 0},
        {"custom after 新增", {pressNew, custom(Love)}, "+-+-", false, 0},
        {"新增 after a built-in one", {builtIn(JiYing), builtIn(Dmhy), pressNew}, "----", false, 1},
        {"新增, order and name typed",
         {custom(Love), pressNew, type(&Form2::Text1, "5"), type(&Form2::Text2, "a")},
         "----",
         false,
         1},
        {"新增, all three typed",
         {pressNew, type(&Form2::Text3, "http://x/?q="), type(&Form2::Text1, "5"), type(&Form2::Text2, "a")},
         "+---",
         false,
         1},
        {"新增, the name erased again",
         {pressNew, type(&Form2::Text1, "5"), type(&Form2::Text2, "a"), type(&Form2::Text3, "http://x/?q="),
          erase(&Form2::Text2)},
         "----",
         false,
         1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.situation);
        reopen();
        for (const Step &step : c.steps)
            step(*this);
        EXPECT_EQ(buttons(), c.buttons);
        EXPECT_EQ(form2->nameLocked(), c.locked);
        EXPECT_EQ(form2->Text2->isReadOnly(), c.locked);
        EXPECT_EQ(form2->Check1->isEnabled(), !c.locked);
        EXPECT_EQ(form2->newSiteMode(), c.mode);
        EXPECT_TRUE(form2->Command6->isEnabled() && form2->Command3->isEnabled() && form2->Command2->isEnabled());
    }
}

TEST_F(Form2Test, AddressCheckNeedsTheSchemeAndTheFinalEquals)
{
    open();
    const std::pair<const char *, bool> cases[] = {
        {"http://a=", true},   {"https://a=", true}, {"http://=", true},  {"HTTP://a=", false},
        {"Https://a=", false}, {"http://a", false},  {"ftp://a=", false}, {"http:/a=", false},
        {"https:/a=", false},  {"=", false},         {"", false},
    };
    for (const auto &[text, passes] : cases) {
        SCOPED_TRACE(text);
        const QString address = QString::fromLatin1(text);
        enterNewSite(QStringLiteral("7"), QStringLiteral("n"), address);
        EXPECT_EQ(form2->Command4->isEnabled(), passes);
        pick(form2->List1, JiYing);
        pick(form2->List1, Dmhy);
        retype(form2->Text3, address);
        EXPECT_EQ(buttons(), passes ? "-+-+" : "----");
        pick(form2->List2, Love);
        retype(form2->Text3, address);
        EXPECT_EQ(buttons(), passes ? "-++-" : "--+-");
    }
}

TEST_F(Form2Test, ABuiltInSiteKeepsItsOrderNameAndEncodingAndTheOrderTakesNumbersOnly)
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

    pick(form2->List2, Love);
    tick(form2->Check1);
    EXPECT_TRUE(form2->Check1->isChecked());
    retype(form2->Text1, QString());
    typeInto(form2->Text1, QStringLiteral("1a2-Z.3 中,"));
    EXPECT_EQ(form2->Text1->text(), QStringLiteral("12-.3"));
    QTest::keyClick(form2->Text1, Qt::Key_Backspace);
    EXPECT_EQ(form2->Text1->text(), QStringLiteral("12-."));
}

TEST_F(Form2Test, MovingIntoOneListUnselectsTheOther)
{
    open();
    pick(form2->List2, Love);
    pick(form2->List1, Dmhy);
    EXPECT_EQ(selected(form2->List2), QString());
    pick(form2->List1, JiYing);
    pick(form2->List2, Nyaa);
    EXPECT_EQ(selected(form2->List1), QString());

    // Tabbing moves in without picking.
    QTest::keyClick(form2->List2, Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), form2->List1);
    EXPECT_EQ(selected(form2->List2), QString());
    EXPECT_EQ(form2->Text2->text(), Nyaa);
    QTest::keyClick(form2->List1, Qt::Key_Down); // the keyboard picks as well
    EXPECT_EQ(form2->Text2->text(), Dmhy);
    typeInto(form2->Text3, QStringLiteral("x"));
    QTest::keyClick(form2->Text3, Qt::Key_Backspace);
    ASSERT_EQ(buttons(), "-+-+");
    QTest::keyClick(form2->List1, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form2->List2);
    EXPECT_EQ(selected(form2->List1), QString());
    EXPECT_EQ(buttons(), "-+--");

    // So does 新增, for both, and picks nothing.
    pick(form2->List2, Nyaa);
    press(form2->Command6);
    EXPECT_EQ(selected(form2->List2), QString());
    EXPECT_EQ(fields(), NoFields);
}

TEST_F(Form2Test, OpensOnTopAfreshEachTimeAndClosesWithBackOrTheMainWindow)
{
    open();
    pick(form2->List2, Nyaa);
    press(form2->Command2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form1->settingsWindow() == nullptr; }));
    EXPECT_EQ(form1->Combo2->count(), 6);

    sql({QStringLiteral("update xd set nub = '1' where btset = 'Nyaa'")});
    QTest::mouseClick(form1->Command8, Qt::LeftButton);
    form2 = form1->settingsWindow();
    ASSERT_NE(form2, nullptr);
    EXPECT_TRUE(WindowOrder::isOnTop(form2));
    EXPECT_EQ(items(form2->List1),
              QStringList({JiYing, Dmhy, QStringLiteral("Levelup"), QStringLiteral("Tokyo Toshokan")}));
    EXPECT_EQ(items(form2->List2), QStringList({Nyaa, Love}));
    EXPECT_EQ(fields(), NoFields);
    EXPECT_EQ(buttons(), "----");
    EXPECT_FALSE(form2->nameLocked());

    form1->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form1->settingsWindow() == nullptr; }));
}

TEST_F(Form2Test, BothWindowsStayUsableAndTheSiteChoiceIsRebuiltKeepingTheCurrentSite)
{
    open();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    pick(form2->List2, Love);
    activate(form1.get());
    typeInto(form1->Text5, QStringLiteral("abc"));
    tick(form1->Check1); // the user's own choice for the current site
    EXPECT_EQ(form1->Text5->text(), QStringLiteral("abc"));
    const QString url = form1->siteUrl();
    ASSERT_FALSE(url.isEmpty());

    activate(form2);
    enterNewSite(QStringLiteral("15"), QStringLiteral("Mikan"), QStringLiteral("https://m.example/?s="));
    press(form2->Command4);
    const QStringList builtInNames = {JiYing, Dmhy, QStringLiteral("Levelup"), QStringLiteral("Tokyo Toshokan")};
    EXPECT_EQ(items(form1->Combo2), builtInNames + QStringList({Love, QStringLiteral("Mikan"), Nyaa}));
    pick(form2->List2, Love);
    MessageBox::setNextAnswer(MessageBox::Yes);
    press(form2->Command7);
    EXPECT_EQ(items(form1->Combo2), builtInNames + QStringList({QStringLiteral("Mikan"), Nyaa}));
    EXPECT_EQ(form1->Combo2->currentIndex(), -1);
    EXPECT_EQ(form1->siteUrl(), url);
    EXPECT_TRUE(form1->Check1->isChecked());
    EXPECT_EQ(form1->Text5->text(), QStringLiteral("abc"));
}
