#include "support/guitest.h"

#include "data/module1.h"
#include "entries/entrylist.h"
#include "mainwindow/form1.h"
#include "sitesettings/form2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace {
QStringList lines(const QListWidget *list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

QStringList items(const QComboBox *combo)
{
    QStringList result;
    for (int i = 0; i < combo->count(); ++i)
        result << combo->itemText(i);
    return result;
}

void pickOrder(Form1 &w, const QString &caption)
{
    const int index = w.Combo1->findText(caption);
    ASSERT_GE(index, 0);
    w.Combo1->setCurrentIndex(index);
    Q_EMIT w.Combo1->activated(index);
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}
} // namespace

TEST_F(GuiTest, StartUpShowsEveryControlInItsFirstState)
{
    Form1 w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Korvane 0.9 Final"));
    EXPECT_FALSE(w.Command5->isEnabled());
    EXPECT_FALSE(w.Command3->isEnabled());
    EXPECT_TRUE(w.Command2->isEnabled());
    EXPECT_TRUE(w.Command1->isEnabled());
    EXPECT_TRUE(w.Check3->isChecked());
    EXPECT_TRUE(w.Check2->isChecked());
    EXPECT_EQ(items(w.Combo1), QStringList({QStringLiteral("序号"), QStringLiteral("字幕组"), QStringLiteral("集数*"),
                                            QStringLiteral("搜索名*"), QStringLiteral("动画原名**")}));
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("序号"));
    EXPECT_FALSE(w.Combo1->isEditable());
    EXPECT_FALSE(w.Combo2->isEditable());
    EXPECT_EQ(w.Combo2->currentText(), QStringLiteral("极影"));
    // A new file's 极影 searches in the code page.
    EXPECT_FALSE(w.Check1->isChecked());
    EXPECT_EQ(w.siteUrl(), QStringLiteral("http://bt.ktxp.com/search.php?keyword="));
    EXPECT_TRUE(w.List1->selectedItems().isEmpty());
    for (QLineEdit *field : {w.Text1, w.Text2, w.Text3, w.Text4, w.Text5, w.Text6})
        EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(w.Text3->accessibleName(), QStringLiteral("搜索名"));
    EXPECT_EQ(w.Label2->buddy(), w.Text3);

    // Tab walks the controls in the window's order.
    const QStringList expected = {
        QStringLiteral("List1"),    QStringLiteral("Text1"),    QStringLiteral("Text2"),    QStringLiteral("Text3"),
        QStringLiteral("Text4"),    QStringLiteral("Text5"),    QStringLiteral("Text6"),    QStringLiteral("Command1"),
        QStringLiteral("Command3"), QStringLiteral("Command5"), QStringLiteral("Command2"), QStringLiteral("Combo1"),
        QStringLiteral("Command4"), QStringLiteral("Combo2"),   QStringLiteral("Check1"),   QStringLiteral("Check2"),
        QStringLiteral("Check3"),   QStringLiteral("Command6"), QStringLiteral("Command7"), QStringLiteral("Command8")};
    QStringList walked;
    QWidget *widget = w.List1;
    for (int i = 0; i < expected.size(); ++i) {
        walked << widget->objectName();
        do
            widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isEnabled() || widget->objectName().isEmpty() ||
               widget->objectName().startsWith(QLatin1String("qt_")));
    }
    // Disabled buttons are skipped by Tab, so compare with them taken out.
    QStringList reachable = expected;
    reachable.removeAll(QStringLiteral("Command3"));
    reachable.removeAll(QStringLiteral("Command5"));
    EXPECT_EQ(walked.mid(0, reachable.size()), reachable);
}

TEST_F(GuiTest, EveryOrderLaysOutItsLinesExactly)
{
    // Nulls, brackets inside values, quotes and very long text go into the line as stored.
    const QString longText(10000, QLatin1Char('x'));
    makeDatabase({{QStringLiteral("2"), QStringLiteral("ABC"), QStringLiteral("Foo"), QStringLiteral("7"),
                   QStringLiteral("Bar"), QStringLiteral("xyz")},
                  {QStringLiteral("1"), QString(), QStringLiteral("a][b"), QStringLiteral("10"), QString(), QString()},
                  {QStringLiteral("3"), QStringLiteral("O'Neil"), QStringLiteral("😀"), QStringLiteral("9"), longText,
                   QStringLiteral("")}});
    Form1 w;
    EXPECT_EQ(lines(w.List1), QStringList({QStringLiteral("[][a][b][10][]"), QStringLiteral("[ABC][Foo][7][Bar]xyz"),
                                           QStringLiteral("[O'Neil][😀][9][") + longText + QStringLiteral("]")}));
    pickOrder(w, QStringLiteral("搜索名*"));
    EXPECT_EQ(lines(w.List1).at(0), QStringLiteral("[😀][O'Neil][9][") + longText + QStringLiteral("]"));
    EXPECT_TRUE(lines(w.List1).contains(QStringLiteral("[Foo][ABC][7][Bar]xyz")));
    pickOrder(w, QStringLiteral("集数*"));
    EXPECT_EQ(lines(w.List1), QStringList({QStringLiteral("[7][Foo][ABC][Bar]xyz"),
                                           QStringLiteral("[9][😀][O'Neil][") + longText + QStringLiteral("]"),
                                           QStringLiteral("[10][a][b][][]")}));
    // A title with no value has no line in the title-only order.
    pickOrder(w, QStringLiteral("动画原名**"));
    EXPECT_EQ(lines(w.List1), QStringList({QStringLiteral("Bar"), longText}));
    pickOrder(w, QStringLiteral("字幕组"));
    EXPECT_EQ(lines(w.List1).at(0), QStringLiteral("[][a][b][10][]"));
}

TEST_F(GuiTest, OrdersSortAsAReaderExpects)
{
    // The lines' row ids in sorted order, for values given in stored order.
    const auto sorted = [](EntryOrder order, const QStringList &values) {
        std::vector<EntryLine> lines;
        for (const QString &v : values)
            lines.push_back({qint64(lines.size()), v, v});
        QStringList ids;
        for (qint64 id : sortEntryLines(lines, order).rowIds)
            ids << QString::number(id);
        return ids.join(QLatin1Char(' '));
    };
    // Serial numbers by value, "12A" after "12", equal numbers in stored order.
    EXPECT_EQ(sorted(EntryOrder::Num, {QStringLiteral("10"), QStringLiteral("9"), QStringLiteral("12A"),
                                       QStringLiteral("12"), QStringLiteral("9")}),
              QStringLiteral("1 4 0 3 2"));
    // Plain numbers alone sort the same way (leading zeros do not count), an empty episode first.
    EXPECT_EQ(sorted(EntryOrder::Episode, {QStringLiteral("10"), QStringLiteral("9"), QStringLiteral("002"), QString(),
                                           QStringLiteral("100")}),
              QStringLiteral("3 2 1 0 4"));
    // Groups in reading order: Chinese by pinyin (a, bai, cheng), then Latin letters regardless of case.
    EXPECT_EQ(sorted(EntryOrder::SubG, {QStringLiteral("澄空"), QStringLiteral("bbb"), QStringLiteral("阿"),
                                        QStringLiteral("Aaa"), QStringLiteral("白")}),
              QStringLiteral("2 4 0 3 1"));
}

TEST_F(GuiTest, SiteChoiceListsBuiltInThenCustomSites)
{
    const struct
    {
        const char *name;
        QList<TestSite> builtIn;
        QList<TestSite> custom;
        QStringList expectedItems;
        QString expectedCurrent;
        QString expectedUrl;
        bool expectedUtf8;
    } cases[] = {
        {"custom sites of smaller order still come after the built-in ones",
         {{QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("http://b="), 0},
          {QStringLiteral("1"), QStringLiteral("极影"), QStringLiteral("http://j="), 1}},
         {{QStringLiteral("10"), QStringLiteral("Y"), QStringLiteral("http://y="), 0},
          {QStringLiteral("0"), QStringLiteral("X"), QStringLiteral("http://x="), 0}},
         {QStringLiteral("极影"), QStringLiteral("B"), QStringLiteral("X"), QStringLiteral("Y")},
         QStringLiteral("极影"),
         QStringLiteral("http://j="),
         true},
        {"without 极影 nothing is chosen and no address is set",
         {{QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("http://a="), 1}},
         {},
         {QStringLiteral("A")},
         QString(),
         QString(),
         false},
        {"a custom 极影 is chosen but the address is looked up among the built-in sites",
         {{QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("http://a="), 1}},
         {{QStringLiteral("1"), QStringLiteral("极影"), QStringLiteral("http://custom="), 1}},
         {QStringLiteral("A"), QStringLiteral("极影")},
         QStringLiteral("极影"),
         QString(),
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(dbPath());
        Module1::resetForTesting();
        makeDatabase({}, c.builtIn, c.custom, c.builtIn);
        Form1 w;
        EXPECT_EQ(items(w.Combo2), c.expectedItems);
        EXPECT_EQ(w.Combo2->currentText(), c.expectedCurrent);
        EXPECT_EQ(w.siteUrl(), c.expectedUrl);
        EXPECT_EQ(w.Check1->isChecked(), c.expectedUtf8);
    }
}

TEST_F(GuiTest, UnusableFileIsReportedOnceAndLeftUntouched)
{
    const struct
    {
        const char *name;
        std::function<void(GuiTest &)> make;
    } cases[] = {
        {"zero bytes",
         [](GuiTest &t) {
             QFile f(t.dbPath());
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         }},
        {"random bytes",
         [](GuiTest &t) {
             QFile f(t.dbPath());
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             QByteArray junk;
             for (int i = 0; i < 8192; ++i)
                 junk.append(char((i * 7919) % 251));
             f.write(junk);
         }},
        {"a damaged database",
         [](GuiTest &t) {
             t.makeDatabase({{QStringLiteral("1"), QStringLiteral("g"), QStringLiteral("s"), QStringLiteral("1"),
                              QStringLiteral("t"), QStringLiteral("o")}});
             QFile f(t.dbPath());
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             f.seek(100);
             f.write(QByteArray(2000, '\xff'));
         }},
        {"a folder", [](GuiTest &t) { ASSERT_TRUE(QDir(t.folder()).mkdir(QStringLiteral("ad.mdb"))); }},
        {"no table bt",
         [](GuiTest &t) {
             t.makeDatabase();
             t.runSql({QStringLiteral("drop table bt")});
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(dbPath()).removeRecursively();
        QFile::remove(dbPath());
        Module1::resetForTesting();
        MessageBox::clearShown();
        c.make(*this);
        const QByteArray before = fileBytes(dbPath());
        {
            Form1 w;
            ASSERT_EQ(MessageBox::shown().size(), 1);
            EXPECT_EQ(MessageBox::shown().at(0).title, QStringLiteral("囧"));
            EXPECT_TRUE(MessageBox::shown().at(0).text.contains(dbPath()));
            EXPECT_EQ(w.List1->count(), 0);
            EXPECT_EQ(w.Combo2->count(), 0);
            // Later changes fail loudly rather than writing into the file.
            w.Command1->click();
            w.Text1->setText(QStringLiteral("1"));
            w.Command5->click();
            EXPECT_EQ(MessageBox::shown().size(), 2);
        }
        EXPECT_EQ(fileBytes(dbPath()), before);
    }
}

TEST_F(GuiTest, FileBesideTheProgramIsUsedWhateverTheWorkingFolder)
{
    makeDatabase({{QStringLiteral("1"), QStringLiteral("g"), QStringLiteral("s"), QStringLiteral("1"),
                   QStringLiteral("t"), QStringLiteral("o")}});
    QTemporaryDir elsewhere;
    const QString before = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    Form1 w;
    QDir::setCurrent(before);
    EXPECT_EQ(w.List1->count(), 1);
    EXPECT_FALSE(QFile::exists(QDir(elsewhere.path()).filePath(QStringLiteral("ad.mdb"))));
}

TEST_F(GuiTest, OpenAndCloseNestAndEndClosed)
{
    makeDatabase();
    Module1::PrepareDatabase();
    Module1::OpenDatabase();
    Module1::OpenDatabase();
    Module1::CloseDatabase();
    EXPECT_TRUE(Module1::isOpen());
    Module1::CloseDatabase();
    EXPECT_FALSE(Module1::isOpen());
    Module1::CloseDatabase();
    EXPECT_FALSE(Module1::isOpen());
}

TEST_F(GuiTest, ClearFieldsEmptiesAllSix)
{
    Form1 w;
    for (QLineEdit *field : {w.Text1, w.Text2, w.Text3, w.Text4, w.Text5, w.Text6})
        field->setText(QStringLiteral("x"));
    w.ClearFields();
    for (QLineEdit *field : {w.Text1, w.Text2, w.Text3, w.Text4, w.Text5, w.Text6})
        EXPECT_TRUE(field->text().isEmpty()) << field->objectName().toStdString();
}

TEST_F(GuiTest, SettingsButtonKeepsOneOwnedWindow)
{
    Form1 w;
    w.show();
    QTest::mouseClick(w.Command8, Qt::LeftButton);
    Form2 *first = w.settingsWindow();
    ASSERT_NE(first, nullptr);
    QTest::mouseClick(w.Command8, Qt::LeftButton);
    EXPECT_EQ(w.settingsWindow(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isModal());
    EXPECT_EQ(first->windowTitle(), QStringLiteral("BT平台设置"));
    EXPECT_EQ(w.findChildren<Form2 *>().size(), 1);
    // It opens beside the main window and within the screen.
    const QRect room = w.screen()->availableGeometry();
    EXPECT_TRUE(room.contains(first->frameGeometry()));
    // Closing the main window closes the settings window too.
    w.close();
    EXPECT_TRUE(first == nullptr || !w.settingsWindow() || !w.settingsWindow()->isVisible());
}

TEST_F(GuiTest, CreditLabelOpensThePageOnlyForTheExactPhrase)
{
    Form1 w;
    w.show();
    const QStringList phrase = {QStringLiteral("K"), QStringLiteral("orva"), QStringLiteral("n"),
                                QStringLiteral("e"), QStringLiteral("v"),    QStringLiteral("r")};
    QLineEdit *const fields[] = {w.Text1, w.Text2, w.Text3, w.Text4, w.Text5, w.Text6};
    const auto fill = [&](const QStringList &texts) {
        for (int i = 0; i < 6; ++i)
            fields[i]->setText(texts[i]);
    };
    QStringList spaced = phrase;
    spaced[5] += QLatin1Char(' ');
    QStringList upper = phrase;
    upper[1] = upper[1].toUpper();
    for (const QStringList &near : {spaced, upper}) {
        fill(near);
        QTest::mouseClick(w.Label7, Qt::LeftButton);
    }
    EXPECT_TRUE(opened.isEmpty());
    fill(phrase);
    QTest::mouseClick(w.Label7, Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened.at(0).startsWith("https://"));
}
