#include "support/guitest.h"

#include "data/module1.h"
#include "platform/windoworder.h"
#include "sitesettings/form2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <tuple>

namespace {
// The main window with the settings window opened from its button; two custom sites beside the first built-in ones.
class Form2Test : public GuiTest
{
public:
    void open()
    {
        w.reset();
        Module1::resetForTesting();
        QFile::remove(dbPath());
        makeDatabase({"insert into xd values ('20', 'Nyaa', 'https://nyaa.example/?q=', 1)",
                      "insert into xd values ('10', '爱恋', 'http://love.example/s.php?k=', 0)"});
        w = std::make_unique<Form1>();
        w->show();
        w->Command8->click();
        f2 = w->settingsWindow();
        ASSERT_TRUE(f2 && QTest::qWaitForWindowActive(f2));
        MessageBox::setWhileShown([this] { onTopWhileShown << WindowOrder::isOnTop(f2); });
    }
    // Steps as a user takes them: "b:name", "c:name" pick a built-in or custom site, "n" presses 新增, "M" 修改, "F"
    // moves into the built-in list, "1:text" types into a field, "1=text" replaces its text, "3-" erases a character.
    void act(const char *steps)
    {
        for (const QString &step : u(steps).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            QLineEdit *const field = f2->findChild<QLineEdit *>(u("Text") + step[0]);
            QListWidget *const list = step[0] == u'b' ? f2->List1 : f2->List2;
            if (step == u("n"))
                f2->Command6->click();
            else if (step == u("M"))
                f2->Command1->click();
            else if (step == u("F"))
                f2->List1->setFocus();
            else if (step[0] == u'b' || step[0] == u'c')
                clickLine(list, list->row(list->findItems(step.mid(2), Qt::MatchExactly).value(0)));
            else if (step[1] == u'-')
                QTest::keyClick(field, Qt::Key_Backspace);
            else {
                if (step[1] == u'=')
                    field->clear();
                typeInto(field, step.mid(2));
            }
        }
    }
    // The four buttons the rules drive, "+" enabled or "-": 加入 修改 删除 设为默认.
    std::string buttons() const
    {
        std::string s;
        for (const QPushButton *b : {f2->Command4, f2->Command1, f2->Command7, f2->Command5})
            s += b->isEnabled() ? '+' : '-';
        return s;
    }

    Form2 *f2 = nullptr;
    QList<bool> onTopWhileShown; // for every message box: was the window still on top while it was up
};
} // namespace

// Each situation of the window, reached by picks, presses and typing: the buttons 加入 修改 删除 设为默认 it leaves,
// and whether a built-in site's order and name are locked.
TEST_F(Form2Test, ButtonStatesFollowTheFieldRules)
{
    const std::tuple<const char *, const char *, bool> cases[] = {
        {"", "----", false},
        {"b:极影", "-+--", true},
        {"n b:极影", "----", true},
        // The same built-in again: the fields get the texts they hold, and their rules run all the same.
        {"b:极影 b:极影", "-+-+", true},
        {"c:爱恋", "-++-", false},
        {"n c:爱恋", "+-+-", false},
        {"b:极影 b:动漫花园 n", "----", false},
        {"n 3:http://x/?q= 4:https://r= 1:5 2:a", "+---", false},
        {"n 1:5 2:a 3:http://x/?q= 2-", "----", false},
        // The address needs the web scheme, the final "=", and no blank or control character; the feed address may
        // be empty, or else passes the same check.
        {"b:极影 b:动漫花园 3=ftp://x=", "----", true},
        {"c:爱恋 3=http://x", "--+-", false},
        {"n 1:5 2:a 3:http://x/?q=　=", "----", false},
        {"n 1:5 2:a 3:http://x= 4:http://r", "----", false},
        // With no site picked in either list, a valid address leaves 修改 as it was.
        {"c:爱恋 M F 3:x 3-", "--+-", false},
        // The display order takes numbers, "-" and "." only.
        {"c:爱恋 1=1a2-Z.3中,", "-++-", false},
    };
    for (const auto &[steps, expected, locked] : cases) {
        SCOPED_TRACE(steps);
        open();
        act(steps);
        EXPECT_EQ(buttons(), expected);
        EXPECT_EQ(f2->Text1->isReadOnly() && f2->Text2->isReadOnly() && !f2->Check1->isEnabled(), locked);
    }
    EXPECT_EQ(f2->Text1->text(), u("12-.3"));
}

TEST_F(Form2Test, SiteOperationsWriteTheirTablesAndTheWindowStepsAsideForItsMessagesAndOpensAfresh)
{
    open();
    act("n 1:15 2:Mikan 3:https://m.example/?s= 4:https://m.example/rss?s=");
    f2->Check1->setChecked(true);
    f2->Command4->click();
    EXPECT_EQ(rows("select * from xd where btset = 'Mikan'"),
              texts({"15|Mikan|https://m.example/?s=|1|https://m.example/rss?s="}));
    EXPECT_TRUE(f2->List2->item(1)->text() == u("Mikan") && w->Combo2->findText(u("Mikan")) == 5);
    // A name taken: refused with the window lowered while the box is up, the fields cleared all the same.
    act("n 1:1 2:Nyaa 3:http://other=");
    f2->Command4->click();
    EXPECT_EQ(lastMessage(), u("站点名称重复，如果想更新的话请点击修改，或者删除相应条目再添加。"));
    EXPECT_EQ(onTopWhileShown, QList<bool>({false}));
    EXPECT_TRUE(WindowOrder::isOnTop(f2) && f2->Text2->text().isEmpty());

    // Modify finds the custom site by the name in the field; a name no custom site has is refused.
    act("c:爱恋 1=30");
    f2->Command1->click();
    EXPECT_EQ(rows("select * from xd").last(), u("30|爱恋|http://love.example/s.php?k=|0|"));
    act("c:爱恋 2:2");
    f2->Command1->click();
    EXPECT_EQ(lastMessage(), u("对不起，这个版本无法正常修改服务器名称，请耐心等待..."));
    // Renamed to another custom site's name: refused as a taken name, both sites left as they were.
    const QStringList sites = rows("select * from xd");
    act("c:爱恋 2=Nyaa 3=http://taken/?q=");
    f2->Command1->click();
    EXPECT_TRUE(lastMessage().startsWith(u("站点名称重复")) && rows("select * from xd") == sites);

    // A built-in site: set as default writes bt and mr, modify bt only, and restore brings mr back.
    act("b:动漫花园 3=https://b/?q=");
    f2->Command5->click();
    act("b:动漫花园 3=https://c/?q=");
    f2->Command1->click();
    f2->Command3->click();
    EXPECT_EQ(rows("select urldata from bt where btset = '动漫花园' union all select urldata from mr where btset = "
                   "'动漫花园'"),
              texts({"https://b/?q=", "https://b/?q="}));
    EXPECT_TRUE(f2->Text3->text().isEmpty());

    // Delete asks with the window lowered; No keeps the site, Yes deletes it and rebuilds the choice.
    act("c:Mikan");
    MessageBox::setNextAnswer(MessageBox::No);
    f2->Command7->click();
    EXPECT_TRUE(MessageBox::shown().last().title == u("删除条目") && f2->List2->count() == 3);
    f2->Command7->click();
    EXPECT_EQ(rows("select count(*) from xd where btset = 'Mikan'"), texts({"0"}));
    EXPECT_FALSE(w->Combo2->findText(u("Mikan")) >= 0 || onTopWhileShown.contains(true));

    // The language is stored at once, for the next start, and shown as chosen when the window opens again.
    f2->language->setCurrentIndex(3);
    Q_EMIT f2->language->activated(3);
    EXPECT_TRUE(lastMessage() == u("界面语言将在下次启动 Korvane 时生效。") &&
                rows("select value from settings "
                     "where name = 'language'") == texts({"en"}));
    // 返回 closes the window, and the next opening starts afresh, on top; Escape closes it too.
    f2->Command2->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->settingsWindow() == nullptr; }));
    exec({u("update xd set nub = '1' where btset = 'Nyaa'")});
    w->Command8->click();
    f2 = w->settingsWindow();
    ASSERT_TRUE(f2 && WindowOrder::isOnTop(f2) && f2->List2->item(0)->text() == u("Nyaa"));
    EXPECT_EQ(f2->language->currentText(), u("English"));

    // A write that fails says why, in Chinese, and keeps what was typed.
    makeReadOnly();
    act("n 1:16 2:Later 3:http://l/?q=");
    f2->Command4->click();
    EXPECT_EQ(lastMessage(), u("站点未能加入，输入的内容仍保留在编辑框中。\n原因：文件只读"));
    EXPECT_EQ(f2->Text2->text(), u("Later"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(f2));
    QTest::keyClick(f2, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->settingsWindow() == nullptr; }));
}
