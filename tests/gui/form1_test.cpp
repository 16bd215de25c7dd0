#include "support/guitest.h"

#include "data/module1.h"
#include "data/programfolder.h"
#include "platform/browser.h"
#include "sitesettings/form2.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

// The main window over a file of its own, and what its tests look at.
class Form1Test : public GuiTest
{
public:
    // Line i of the first order shows entry i; "][" in a group, or a shared search name, would mislead a lookup.
    void start(std::initializer_list<const char *> statements = {
                   "insert into AD values ('1', 'A][B', 'Same', '3', 'First', 'note')",
                   "insert into AD values ('2', 'G', 'Same', '8', 'Second', '')",
                   "insert into AD values ('3', null, 'Other''Name', '7', 'Third', 'note')"})
    {
        makeDatabase(statements);
        w = std::make_unique<Form1>();
        w->show();
        QApplication::setActiveWindow(w.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    QStringList fields() const
    {
        return {w->Text1->text(), w->Text2->text(), w->Text3->text(),
                w->Text4->text(), w->Text5->text(), w->Text6->text()};
    }
    void fill(const QStringList &values)
    {
        for (int i = 0; i < 6; ++i)
            w->findChild<QLineEdit *>(u("Text%1").arg(i + 1))->setText(values[i]);
    }
    // Which of 保存修改, 删除 and 加入条目 can be pressed, "+" or "-".
    std::string entryButtons() const
    {
        std::string s;
        for (const QPushButton *b : {w->Command2, w->Command3, w->Command5})
            s += b->isEnabled() ? '+' : '-';
        return s;
    }
    void pickSite(int index)
    {
        w->Combo2->setCurrentIndex(index);
        Q_EMIT w->Combo2->activated(index);
    }
};

// Return, Ctrl+N, Ctrl+Up and Ctrl+S are pressed on a real display by the end-to-end script.
TEST_F(Form1Test, StartsInItsFirstStateTabsInOrderAndTheFilteredFieldsTakeTheirCharactersOnly)
{
    start({"update bt set utf8 = 1 where btset = '极影'", "insert into xd values ('0', 'Mine', 'http://m/?q=', 0)",
           "insert into xd values ('2', printf('%.*c', 320, 'N'), 'http://n/?q=', 0)"});
    EXPECT_TRUE(entryButtons() == "+--" && w->Check3->isChecked() && w->Check2->isChecked());
    EXPECT_TRUE(w->Combo1->currentText() == u("序号") && !w->Combo1->isEditable() && !w->Combo2->isEditable());
    // Built-in sites first, each group by display order; 极影 chosen with its address and encoding.
    EXPECT_TRUE(w->Combo2->itemText(4) == u("Mine") && w->Combo2->currentText() == u("极影") && w->Check1->isChecked());
    EXPECT_EQ(w->siteUrl(), u("http://bt.ktxp.com/search.php?keyword="));
    // A very long site name does not make the window wide; it is read whole in the tip.
    EXPECT_LT(w->sizeHint().width(), 1400);
    EXPECT_EQ(w->Combo2->itemData(5, Qt::ToolTipRole).toString(), QString(320, u'N'));
    // 删除 and 加入条目 are disabled, so Tab passes them.
    const QStringList order = texts({"List1",    "Text1",    "Text2",    "Text3",  "Text4",     "Text5",
                                     "Text6",    "Command1", "Command2", "Combo1", "Command4",  "Command9",
                                     "Combo2",   "Check1",   "Check2",   "Check3", "autoCheck", "autoCheckMinutes",
                                     "Command6", "Command7", "Command8"});
    w->List1->setFocus();
    for (const QString &name : order) {
        EXPECT_EQ(QApplication::focusWidget()->objectName(), name);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }

    // 序号 and 集数 take digits, "-", "." and their letter of the hidden phrase; Ctrl+Down in any field steps down.
    typeInto(w->Text1, u("12-3.4Kk e中 x"));
    typeInto(w->Text4, u("0e9E.-aK"));
    EXPECT_EQ(QStringList({w->Text1->text(), w->Text4->text()}), texts({"12-3.4K", "0e9.-"}));
    w->Text4->setText(u("8"));
    w->Text2->setFocus();
    QTest::keyClick(w->Text2, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(w->Text4->text(), u("7"));
}

// Every reason a user reads is Chinese, made from the kind of failure; the engine's words go to standard error.
// A file written over from its first byte or its hundredth, then a folder; none with a backup to point to.
TEST_F(Form1Test, AFileThatCannotBeUsedIsNamedWithItsReasonInChinese)
{
    QDir(folder()).mkdir(u("ad.mdb.bak"));
    for (const auto &[at, reason] :
         {std::pair(0, "不是数据库文件"), {100, "文件已损坏"}, {-1, "是一个文件夹，不是文件"}}) {
        QFile::remove(dbPath());
        Module1::resetForTesting();
        MessageBox::setTestMode(true);
        makeDatabase();
        QFile f(dbPath());
        ASSERT_TRUE(at < 0 ? f.remove() && QDir(folder()).mkdir(u("ad.mdb"))
                           : f.open(QIODevice::ReadWrite) && f.seek(at) && f.write(QByteArray(2000, '\xff')));
        f.close();
        w = std::make_unique<Form1>();
        EXPECT_TRUE(MessageBox::shown().size() == 1 && MessageBox::shown()[0].title == u("囧"));
        EXPECT_EQ(lastMessage(), u("无法使用数据文件 %1：\n%2\n\n该文件未作任何改动。").arg(dbPath(), u(reason)));
        EXPECT_EQ(w->List1->count() + w->Combo2->count(), 0);
    }
    QDir(dbPath()).removeRecursively();
    // An installed copy whose data folder cannot be made (under a file, as under a home of "/") says where it was.
    const QString blocker = QDir(folder()).filePath(u("blocker"));
    QFile(blocker).open(QIODevice::WriteOnly);
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(blocker + u("/share")));
    ProgramFolder::setInstalledForTesting(true);
    Module1::resetForTesting();
    w = std::make_unique<Form1>();
    qputenv("XDG_DATA_HOME", dataHome);
    EXPECT_EQ(
        lastMessage(),
        u("无法建立数据文件 %1/share/%2/ad.mdb：\n文件夹无法写入").arg(blocker, QCoreApplication::applicationName()));
}

TEST_F(Form1Test, AFileHeldByAnotherProgramIsWaitedForAndNamedInEveryChangeItStops)
{
    makeDatabase({"insert into AD values ('1', 'g', 's', '8', 't', 'o')"});
    Module1::setBusyTimeoutForTesting(50);
    // Another program writing the file holds it until its transaction ends.
    QSqlDatabase other = QSqlDatabase::addDatabase(u("QSQLITE"), u("other"));
    other.setDatabaseName(dbPath());
    ASSERT_TRUE(other.open() && QSqlQuery(other).exec(u("begin exclusive")));
    w = std::make_unique<Form1>();
    w->show();
    // The window is there at once, says it waits, and takes no change meanwhile.
    const auto *note = w->findChild<QLabel *>(u("waitNote"));
    EXPECT_TRUE(note->isVisible() && note->text().contains(u("正在等待")) && MessageBox::shown().isEmpty());
    EXPECT_FALSE(w->Frame1->isEnabled() || w->Frame4->isEnabled());
    // Once the file is free, the window works as after any start.
    ASSERT_TRUE(other.commit());
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->List1->count() == 1; }, 10000));
    EXPECT_TRUE(w->Frame1->isEnabled() && !note->isVisible());
    // A save while the file is held says so; the list, which cannot be read again meanwhile, keeps its lines.
    clickLine(w->List1, 0);
    ASSERT_TRUE(QSqlQuery(other).exec(u("begin exclusive")));
    w->Command2->click();
    EXPECT_EQ(w->List1->count(), 1);
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase(u("other"));
    EXPECT_EQ(lastMessage(), u("本条修改未能保存，原有内容保持不变。\n原因：文件正被另一个程序使用"));
    makeDiskFull();
    w->Text6->setText(QString(9000, u'x'));
    w->Command2->click();
    EXPECT_TRUE(lastMessage().endsWith(u("原因：磁盘已满")));
    makeReadOnly();
    w->Command1->click();
    fill(texts({"9", "g", "s9", "1", "t9", ""}));
    w->Command5->click();
    // A failed add keeps what was typed.
    EXPECT_TRUE(lastMessage().endsWith(u("原因：文件只读")) && w->Text3->text() == u("s9"));
}

// Adding an entry and deleting one with its question are also done on a real display by the end-to-end script.
TEST_F(Form1Test, AClickLoadsTheLinesOwnRowAndTheEntryButtonsActOnIt)
{
    const QString duplicate = u("对不起，您所输入的动画特征信息与现有数据重复或不完整，请别折腾本程序了ORZ");
    start();
    clickLine(w->List1, 1);
    EXPECT_EQ(fields(), texts({"2", "G", "Same", "8", "Second", ""}));
    EXPECT_EQ(entryButtons(), "++-");
    clickLine(w->List1, 0);
    EXPECT_EQ(fields(), texts({"1", "A][B", "Same", "3", "First", "note"}));
    clickLine(w->List1, 2, Qt::ShiftModifier);
    EXPECT_TRUE(w->SelSubG.value(0) == u("A][B") && w->SelEpisode.value(1) == u("8") && w->SelSubG.value(2).isNull() &&
                w->SelSearchN.value(2) == u("Other'Name"));
    // A click on the current line again discards unsaved edits.
    w->Text6->setText(u("unsaved"));
    clickLine(w->List1, 2);
    EXPECT_EQ(w->Text6->text(), u("note"));

    // After an add the fields are empty and a second press adds no empty entry; a duplicate empties them too.
    w->Command1->click();
    EXPECT_EQ(entryButtons(), "--+");
    fill(texts({"4", "DMG", "New Show", "3", "New Title", ""}));
    w->Command5->click();
    EXPECT_TRUE(fields() == QStringList(6) && w->List1->count() == 4 && entryButtons() == "--+");
    w->Command5->click();
    EXPECT_EQ(lastMessage(), duplicate);
    fill(texts({"5", "", "Same", "", "Fifth", ""}));
    w->Command5->click();
    EXPECT_TRUE(lastMessage() == duplicate && fields() == QStringList(6));

    // Save writes the loaded entry back, nothing cut short; a changed key is refused.
    exec({u("update AD set Other = printf('%.*c', 54000, 'x') where num = '2'")});
    clickLine(w->List1, 1);
    w->Text2->setText(u("G2"));
    w->Command2->click();
    EXPECT_EQ(rows("select subg, length(Other) from AD order by rowid desc limit 1"), texts({"G2|54000"}));
    w->Text3->setText(u("Changed"));
    w->Command2->click();
    EXPECT_EQ(lastMessage(),
              u("对不起，此版本暂时不支持序号、搜索名以及动画原名的修改，如果需要调整这些项目，请删除本条后再试。"));

    // Delete asks once until a line is clicked again; No keeps the entry, Yes deletes the one loaded, not 原作名's.
    clickLine(w->List1, 0);
    MessageBox::setNextAnswer(MessageBox::No);
    QTest::keyClick(w->List1, Qt::Key_Delete);
    QTest::keyClick(w->List1, Qt::Key_Delete);
    EXPECT_TRUE(lastMessage() == u("确定要删除本条内容吗？") && MessageBox::shown().size() == 4);
    clickLine(w->List1, 0);
    w->Text5->setText(u("Third"));
    w->Command3->click();
    EXPECT_EQ(rows("select num from AD"), texts({"3", "4", "2"}));
    EXPECT_TRUE(w->Text5->text().isEmpty());
    // A line whose row has gone loads nothing, and the buttons still switch.
    exec({u("delete from AD")});
    clickLine(w->List1, 0);
    EXPECT_TRUE(fields() == QStringList(6) && entryButtons() == "++-");
}

// The settings window: one, owned, not modal, closing with the main window; the site chosen follows its changes, or
// is no more. The credit line, which looks like any label, opens its page only for the exact phrase.
TEST_F(Form1Test, TheSettingsWindowAndTheCreditLine)
{
    start({"insert into xd values ('1', 'Mine', 'http://mine/?q=', 0)",
           "insert into AD values ('1', 'g', 's', '1', 't', '')"});
    w->Command8->click();
    QPointer<Form2> f2 = w->settingsWindow();
    w->Command8->click();
    ASSERT_TRUE(f2 && w->settingsWindow() == f2 && !f2->isModal());
    clickLine(f2->List1, 0);
    f2->Text3->setText(u("http://new.example/?k="));
    f2->Command1->click();
    EXPECT_TRUE(w->Combo2->currentText() == u("极影") && w->siteUrl() == u("http://new.example/?k="));
    pickSite(4);
    clickLine(f2->List2, 0);
    f2->Command7->click();
    EXPECT_EQ(w->Combo2->currentIndex(), -1);
    clickLine(w->List1, 0);
    w->Command4->click();
    EXPECT_EQ(lastMessage(), u("请先选择一个搜索站点。"));
    EXPECT_EQ(w->Label7->cursor().shape(), Qt::ArrowCursor);
    for (const char *last : {"r ", "R", "r"}) {
        fill(texts({"K", "orva", "n", "e", "v", last}));
        QTest::mouseClick(w->Label7, Qt::LeftButton);
    }
    EXPECT_EQ(opened, QList<QByteArray>{"https://korvane.example.org/forum/"});
    w->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return f2.isNull() || !f2->isVisible(); }));
}

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
    // Each says what is wrong with it.
    for (const auto &[index, why] :
         {std::pair(2, "（空）\n\n搜索地址必须以 http:// 或 https:// 开头，"),
          {5, "http://a.example/?q=␊file:///etc/passwd#\n\n搜索地址中不能有空格、换行或其他控制字符，"}}) {
        pickSite(index);
        w->Command4->click();
        EXPECT_TRUE(lastMessage().startsWith(u("当前站点的搜索地址无法使用：\n") + u(why)))
            << lastMessage().toStdString();
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
