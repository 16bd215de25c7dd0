#include "support/guitest.h"

#include "data/module1.h"
#include "mainwindow/form1.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {
TestEntry entry(const QString &num, const QString &subg, const QString &searchN, const QString &episode,
                const QString &animeN, const QString &other = QStringLiteral("note"))
{
    return {num, subg, searchN, episode, animeN, other};
}

QStringList fields(const Form1 &w)
{
    return {w.Text1->text(), w.Text2->text(), w.Text3->text(), w.Text4->text(), w.Text5->text(), w.Text6->text()};
}

void setFields(Form1 &w, const QStringList &values)
{
    QLineEdit *const f[] = {w.Text1, w.Text2, w.Text3, w.Text4, w.Text5, w.Text6};
    for (int i = 0; i < 6; ++i)
        f[i]->setText(values[i]);
}
} // namespace

TEST_F(GuiTest, ClickLoadsTheClickedLinesOwnRow)
{
    // A group holding "][" and two entries sharing a search name would mislead a lookup by the line's text.
    makeDatabase({entry(QStringLiteral("1"), QStringLiteral("A][B"), QStringLiteral("Same"), QStringLiteral("3"),
                        QStringLiteral("First")),
                  entry(QStringLiteral("2"), QStringLiteral("G"), QStringLiteral("Same"), QStringLiteral("5"),
                        QStringLiteral("Second"), QStringLiteral("")),
                  entry(QStringLiteral("3"), QString(), QStringLiteral("Other'Name"), QStringLiteral("7"),
                        QStringLiteral("Third"))});
    Form1 w;
    w.show();
    clickLine(w.List1, 1);
    EXPECT_EQ(fields(w), QStringList({QStringLiteral("2"), QStringLiteral("G"), QStringLiteral("Same"),
                                      QStringLiteral("5"), QStringLiteral("Second"), QString()}));
    EXPECT_TRUE(w.Command2->isEnabled());
    EXPECT_TRUE(w.Command3->isEnabled());
    EXPECT_FALSE(w.Command5->isEnabled());
    clickLine(w.List1, 0);
    EXPECT_EQ(w.Text5->text(), QStringLiteral("First"));
    EXPECT_EQ(w.Text2->text(), QStringLiteral("A][B"));

    // The keyboard moves the selection and loads as a click does; a value with no value loads as empty.
    QTest::keyClick(w.List1, Qt::Key_End);
    EXPECT_EQ(w.Text3->text(), QStringLiteral("Other'Name"));
    EXPECT_TRUE(w.Text2->text().isEmpty());

    // Clicking the current line again discards unsaved edits.
    w.Text6->setText(QStringLiteral("unsaved"));
    clickLine(w.List1, 2);
    EXPECT_EQ(w.Text6->text(), QStringLiteral("note"));

    // A line whose row has gone loads nothing, and the buttons still switch.
    runSql({QStringLiteral("delete from AD where num = '1'")});
    w.Command1->click();
    clickLine(w.List1, 0);
    EXPECT_EQ(fields(w), QStringList({QString(), QString(), QString(), QString(), QString(), QString()}));
    EXPECT_TRUE(w.Command3->isEnabled());
}

TEST_F(GuiTest, SelectionRecordsEverySelectedLineFromItsOwnRow)
{
    QList<TestEntry> entries;
    for (int i = 0; i < 6; ++i)
        entries << entry(QString::number(i), QStringLiteral("G%1").arg(i), QStringLiteral("S%1").arg(i),
                         QString::number(i * 10), QStringLiteral("T%1").arg(i));
    makeDatabase(entries);
    Form1 w;
    w.show();
    clickLine(w.List1, 1);
    clickLine(w.List1, 3, Qt::ShiftModifier);
    clickLine(w.List1, 5, Qt::ControlModifier);
    for (int line : {1, 2, 3, 5}) {
        EXPECT_EQ(w.SelSubG.value(line).toString(), QStringLiteral("G%1").arg(line));
        EXPECT_EQ(w.SelSearchN.value(line).toString(), QStringLiteral("S%1").arg(line));
        EXPECT_EQ(w.SelEpisode.value(line).toString(), QString::number(line * 10));
    }
    EXPECT_FALSE(w.SelSubG.contains(0));
    EXPECT_FALSE(w.SelSubG.contains(4));
    // The last clicked line is loaded.
    EXPECT_EQ(w.Text3->text(), QStringLiteral("S5"));

    // Ctrl+click that deselects the current line still loads it, but does not write its copies anew.
    runSql({QStringLiteral("update AD set subg = 'changed'")});
    clickLine(w.List1, 5, Qt::ControlModifier);
    EXPECT_FALSE(w.List1->item(5)->isSelected());
    EXPECT_EQ(w.Text2->text(), QStringLiteral("changed"));
    EXPECT_EQ(w.SelSubG.value(5).toString(), QStringLiteral("G5"));
    EXPECT_EQ(w.SelSubG.value(1).toString(), QStringLiteral("changed"));
}

TEST_F(GuiTest, SelectionHasNoCapOnLines)
{
    QList<TestEntry> entries;
    for (int i = 0; i < 10000; ++i)
        entries << entry(QString::number(i), QStringLiteral("字幕组%1").arg(i), QStringLiteral("Name %1").arg(i),
                         QString::number(i % 30), QStringLiteral("标题 %1").arg(i));
    makeDatabase(entries);
    Form1 w;
    w.show();
    clickLine(w.List1, 0);
    w.List1->scrollToBottom();
    clickLine(w.List1, 4999, Qt::ShiftModifier);
    EXPECT_EQ(w.List1->selectedItems().size(), 5000);
    EXPECT_EQ(w.SelSearchN.size(), 5000);
    EXPECT_EQ(w.SelSearchN.value(4999).toString(), QStringLiteral("Name 4999"));
    EXPECT_EQ(w.SelSubG.value(1001).toString(), QStringLiteral("字幕组1001"));
}

TEST_F(GuiTest, AddStoresANewEntryAndRefusesDuplicates)
{
    makeDatabase({entry(QStringLiteral("1"), QStringLiteral("g"), QStringLiteral("Foo"), QStringLiteral("1"),
                        QStringLiteral("It's Bar"))});
    Form1 w;
    w.show();
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_TRUE(w.Command5->isEnabled());
    EXPECT_FALSE(w.Command2->isEnabled());
    EXPECT_FALSE(w.Command3->isEnabled());
    const QStringList fresh = {
        QStringLiteral("2"),  QStringLiteral("澄空"),   QStringLiteral("新番 😀"),
        QStringLiteral("12"), QStringLiteral("[标题]"), QStringLiteral("-- '; drop"),
    };
    setFields(w, fresh);
    QTest::mouseClick(w.Command5, Qt::LeftButton);
    EXPECT_TRUE(MessageBox::shown().isEmpty());
    EXPECT_EQ(rows(QStringLiteral("AD")).last(), fresh.join(QLatin1Char('|')));
    EXPECT_EQ(fields(w), QStringList({QString(), QString(), QString(), QString(), QString(), QString()}));
    EXPECT_TRUE(w.Command5->isEnabled());
    EXPECT_EQ(w.List1->count(), 2);

    // Any one of the three identifying fields already stored refuses the entry; a quote compares as any letter.
    const QStringList duplicates[] = {
        {QStringLiteral("1"), QStringLiteral("x"), QStringLiteral("new"), QStringLiteral("1"), QStringLiteral("new"),
         QStringLiteral("")},
        {QStringLiteral("9"), QStringLiteral("x"), QStringLiteral("Foo"), QStringLiteral("1"), QStringLiteral("new"),
         QStringLiteral("")},
        {QStringLiteral("9"), QStringLiteral("x"), QStringLiteral("new"), QStringLiteral("1"),
         QStringLiteral("It's Bar"), QStringLiteral("")},
    };
    for (const QStringList &values : duplicates) {
        MessageBox::clearShown();
        setFields(w, values);
        QTest::mouseClick(w.Command5, Qt::LeftButton);
        ASSERT_EQ(MessageBox::shown().size(), 1);
        EXPECT_EQ(MessageBox::shown().at(0).text,
                  QStringLiteral("对不起，您所输入的动画特征信息与现有数据重复或不完整，请别折腾本程序了ORZ"));
        EXPECT_EQ(MessageBox::shown().at(0).title, QStringLiteral("囧"));
        EXPECT_EQ(rows(QStringLiteral("AD")).size(), 2);
        EXPECT_TRUE(w.Text1->text().isEmpty());
    }
}

TEST_F(GuiTest, SaveReplacesTheEntryAndMovesItLast)
{
    makeDatabase({entry(QStringLiteral("1"), QStringLiteral("g"), QStringLiteral("Foo"), QStringLiteral("1"),
                        QStringLiteral("Bar")),
                  entry(QStringLiteral("2"), QStringLiteral("h"), QStringLiteral("Baz"), QStringLiteral("4"),
                        QStringLiteral("Qux"))});
    Form1 w;
    w.show();
    clickLine(w.List1, 0);
    w.Text2->setText(QStringLiteral("new group"));
    QTest::mouseClick(w.Command6, Qt::LeftButton);
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    EXPECT_TRUE(MessageBox::shown().isEmpty());
    EXPECT_EQ(rows(QStringLiteral("AD")),
              QStringList({QStringLiteral("2|h|Baz|4|Qux|note"), QStringLiteral("1|new group|Foo|2|Bar|note")}));
    EXPECT_EQ(w.Text2->text(), QStringLiteral("new group"));
    EXPECT_TRUE(w.List1->selectedItems().isEmpty());

    // An identifying field changed: refused, nothing written.
    w.Text3->setText(QStringLiteral("Renamed"));
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_TRUE(MessageBox::shown().at(0).text.startsWith(QStringLiteral("对不起，此版本暂时不支持")));
    EXPECT_EQ(rows(QStringLiteral("AD")).size(), 2);
    EXPECT_EQ(w.Text3->text(), QStringLiteral("Renamed"));
}

TEST_F(GuiTest, AFailedWriteLosesNothing)
{
    const QStringList before = {QStringLiteral("1|g|Foo|1|Bar|note")};
    for (bool readOnly : {true, false}) {
        SCOPED_TRACE(readOnly ? "read-only file" : "full disk");
        QFile::remove(dbPath());
        Module1::resetForTesting();
        MessageBox::clearShown();
        makeDatabase({entry(QStringLiteral("1"), QStringLiteral("g"), QStringLiteral("Foo"), QStringLiteral("1"),
                            QStringLiteral("Bar"))});
        Form1 w;
        w.show();
        if (readOnly)
            makeReadOnly();
        else
            makeDiskFull();

        // Save: the old row stays, the fields keep what was typed, the user is told.
        clickLine(w.List1, 0);
        w.Text6->setText(QString(10000, QChar(0x4E2D)));
        QTest::mouseClick(w.Command2, Qt::LeftButton);
        ASSERT_EQ(MessageBox::shown().size(), 1);
        EXPECT_TRUE(MessageBox::shown().at(0).text.contains(QStringLiteral("未能保存")));
        EXPECT_EQ(rows(QStringLiteral("AD")), before);
        EXPECT_EQ(w.Text6->text().size(), 10000);

        // Add: nothing stored, the typed entry stays in the fields.
        QTest::mouseClick(w.Command1, Qt::LeftButton);
        const QStringList typed = {QStringLiteral("2"), QStringLiteral("g2"),    QStringLiteral("New"),
                                   QStringLiteral("3"), QStringLiteral("Title"), QString(20000, QLatin1Char('n'))};
        setFields(w, typed);
        QTest::mouseClick(w.Command5, Qt::LeftButton);
        ASSERT_EQ(MessageBox::shown().size(), 2);
        EXPECT_TRUE(MessageBox::shown().at(1).text.contains(QStringLiteral("未能加入")));
        EXPECT_EQ(rows(QStringLiteral("AD")), before);
        EXPECT_EQ(fields(w), typed);
    }
}

TEST_F(GuiTest, DeleteAsksAndRemovesOnlyTheFirstMatchingTitle)
{
    makeDatabase({entry(QStringLiteral("1"), QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("1"),
                        QStringLiteral("Same")),
                  entry(QStringLiteral("2"), QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("1"),
                        QStringLiteral("Same")),
                  entry(QStringLiteral("3"), QStringLiteral("c"), QStringLiteral("C"), QStringLiteral("1"),
                        QStringLiteral("Other"))});
    Form1 w;
    w.show();
    clickLine(w.List1, 1);

    MessageBox::setNextAnswer(MessageBox::No);
    QTest::mouseClick(w.Command3, Qt::LeftButton);
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_EQ(MessageBox::shown().at(0).text, QStringLiteral("确定要删除本条内容吗？"));
    EXPECT_EQ(MessageBox::shown().at(0).title, QStringLiteral("删除"));
    EXPECT_EQ(MessageBox::shown().at(0).buttons, MessageBox::YesNo);
    EXPECT_EQ(rows(QStringLiteral("AD")).size(), 3);
    EXPECT_FALSE(w.Command3->isEnabled());
    EXPECT_EQ(w.Text3->text(), QStringLiteral("B"));

    // Yes deletes by the title in the field: the first of the two entries that share it.
    clickLine(w.List1, 1);
    MessageBox::setNextAnswer(MessageBox::Yes);
    QTest::mouseClick(w.Command3, Qt::LeftButton);
    EXPECT_EQ(rows(QStringLiteral("AD"), QStringLiteral("num")),
              QStringList({QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_TRUE(w.Text5->text().isEmpty());
    EXPECT_EQ(w.List1->count(), 2);
}

TEST_F(GuiTest, KeyFiltersLetThroughOnlyTheirCharacters)
{
    Form1 w;
    w.show();
    const struct
    {
        QLineEdit *field;
        QString typed;
        QString kept;
    } cases[] = {
        {w.Text1, QStringLiteral("12-3.4Kk e中 x"), QStringLiteral("12-3.4K")},
        {w.Text4, QStringLiteral("0e9E.-aK"), QStringLiteral("0e9.-")},
    };
    for (const auto &c : cases) {
        c.field->clear();
        typeInto(c.field, c.typed);
        EXPECT_EQ(c.field->text(), c.kept);
        QTest::keyClick(c.field, Qt::Key_Backspace);
        EXPECT_EQ(c.field->text(), c.kept.chopped(1));
    }
    // Tab still moves on from the filtered fields.
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.Text4->setFocus();
    QTest::keyClick(w.Text4, Qt::Key_Tab);
    EXPECT_EQ(w.focusWidget(), w.Text5);
    QTest::keyClick(w.Text5, Qt::Key_Backtab);
    EXPECT_EQ(w.focusWidget(), w.Text4);
    // Pasting with Ctrl+V is a key like any other there and is discarded.
    w.Text2->setText(QStringLiteral("99"));
    w.Text2->selectAll();
    w.Text2->copy();
    w.Text4->clear();
    QTest::keyClick(w.Text4, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(w.Text4->text().isEmpty());
    // The other fields take anything.
    typeInto(w.Text3, QStringLiteral("中文 abc"));
    EXPECT_EQ(w.Text3->text(), QStringLiteral("中文 abc"));
}

TEST_F(GuiTest, EpisodeStepsInItsField)
{
    Form1 w;
    const struct
    {
        QString before;
        QString up;
        QString down;
    } cases[] = {
        {QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("8")},
        {QStringLiteral("12.5"), QStringLiteral("13.5"), QStringLiteral("11.5")},
        {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("-1")},
        {QStringLiteral("-1"), QStringLiteral("0"), QStringLiteral("-2")},
        {QStringLiteral("2.1"), QStringLiteral("3.1"), QStringLiteral("1.1")},
        {QStringLiteral("99999999999999"), QStringLiteral("100000000000000"), QStringLiteral("99999999999998")},
        // Text that is no number stays as it is.
        {QString(), QString(), QString()},
        {QStringLiteral("e"), QStringLiteral("e"), QStringLiteral("e")},
        {QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-")},
        {QStringLiteral("--"), QStringLiteral("--"), QStringLiteral("--")},
        {QStringLiteral("1.2.3"), QStringLiteral("1.2.3"), QStringLiteral("1.2.3")},
    };
    for (const auto &c : cases) {
        w.Text4->setText(c.before);
        w.Command6->click();
        EXPECT_EQ(w.Text4->text(), c.up) << c.before.toStdString();
        w.Text4->setText(c.before);
        w.Command7->click();
        EXPECT_EQ(w.Text4->text(), c.down) << c.before.toStdString();
    }
}
