#include "support/guitest.h"

#include "data/module1.h"
#include "mainwindow/form1.h"
#include "data/programfolder.h"
#include "sitesettings/form2.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

namespace {
QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

TEST_F(GuiTest, AGoodStartKeepsABackupAndABadOneNeverReplacesIt)
{
    makeDatabase({{QStringLiteral("1"), QStringLiteral("g"), QStringLiteral("s"), QStringLiteral("1"),
                   QStringLiteral("t"), QStringLiteral("o")}});
    {
        Form1 w;
    }
    ASSERT_TRUE(QFile::exists(Module1::backupPath()));
    const QByteArray goodCopy = bytesOf(Module1::backupPath());
    EXPECT_EQ(rows(QStringLiteral("AD")), QStringList({QStringLiteral("1|g|s|1|t|o")}));

    // The file is damaged: the message names the backup, which stays as it was.
    QFile f(dbPath());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(0);
    f.write(QByteArray(100, '\0'));
    f.close();
    Module1::resetForTesting();
    {
        Form1 w;
        ASSERT_EQ(MessageBox::shown().size(), 1);
        EXPECT_TRUE(MessageBox::shown().at(0).text.contains(Module1::backupPath()));
    }
    EXPECT_EQ(bytesOf(Module1::backupPath()), goodCopy);
}

TEST_F(GuiTest, AnInstalledCopyKeepsItsDataInTheUsersFolder)
{
    QStandardPaths::setTestModeEnabled(true);
    const QString userFolder = ProgramFolder::userDataFolder();
    QDir(userFolder).removeRecursively();

    ProgramFolder::setInstalledForTesting(true);
    EXPECT_EQ(Module1::databasePath(), QDir(userFolder).filePath(QStringLiteral("ad.mdb")));
    {
        Form1 w;
        EXPECT_TRUE(MessageBox::shown().isEmpty());
        EXPECT_EQ(w.Combo2->count(), 4);
    }
    EXPECT_TRUE(QFile::exists(QDir(userFolder).filePath(QStringLiteral("ad.mdb"))));
    EXPECT_FALSE(QFile::exists(dbPath()));

    // A file already beside the program is used wherever the program lies.
    makeDatabase();
    EXPECT_EQ(Module1::databasePath(), dbPath());
    QDir(userFolder).removeRecursively();
    QStandardPaths::setTestModeEnabled(false);
}

TEST_F(GuiTest, KeyboardShortcutsPressTheirButtons)
{
    makeDatabase({{QStringLiteral("1"), QStringLiteral("g"), QStringLiteral("s"), QStringLiteral("8"),
                   QStringLiteral("t"), QStringLiteral("o")}});
    Form1 w;
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));

    clickLine(w.List1, 0);
    // Return in the list searches the selected line.
    QSignalSpy searched(w.Command4, &QPushButton::clicked);
    QTest::keyClick(w.List1, Qt::Key_Return);
    EXPECT_EQ(searched.size(), 1);

    // Ctrl+Up and Ctrl+Down step the episode while an edit field has the focus.
    w.Text2->setFocus();
    QTest::keyClick(w.Text2, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(w.Text4->text(), QStringLiteral("9"));
    w.Text4->setFocus();
    QTest::keyClick(w.Text4, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(w.Text4, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(w.Text4->text(), QStringLiteral("7"));

    // Ctrl+S saves.
    QTest::keyClick(w.Text4, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(rows(QStringLiteral("AD"), QStringLiteral("Episode")), QStringList({QStringLiteral("7")}));

    // Delete in the list deletes only while "删除" could be pressed.
    w.List1->setFocus();
    clickLine(w.List1, 0);
    MessageBox::setNextAnswer(MessageBox::No);
    QTest::keyClick(w.List1, Qt::Key_Delete);
    EXPECT_EQ(MessageBox::shown().size(), 1);
    QTest::keyClick(w.List1, Qt::Key_Delete);
    EXPECT_EQ(MessageBox::shown().size(), 1);

    // Ctrl+N starts a new entry.
    QTest::keyClick(w.List1, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(w.Command5->isEnabled());
    EXPECT_TRUE(w.Text5->text().isEmpty());

    for (QPushButton *b : {w.Command4, w.Command3, w.Command1, w.Command2, w.Command6, w.Command7})
        EXPECT_FALSE(b->toolTip().isEmpty()) << b->objectName().toStdString();
}

TEST_F(GuiTest, EscapeClosesTheSettingsWindow)
{
    Form1 w;
    w.show();
    w.Command8->click();
    QPointer<Form2> settings = w.settingsWindow();
    ASSERT_TRUE(settings);
    QApplication::setActiveWindow(settings);
    ASSERT_TRUE(QTest::qWaitForWindowActive(settings));
    EXPECT_FALSE(settings->findChild<QPushButton *>(QStringLiteral("Command2"))->toolTip().isEmpty());
    QTest::keyClick(settings, Qt::Key_Escape);
    // The window unloads, as "返回" does.
    EXPECT_TRUE(QTest::qWaitFor([&] { return settings.isNull(); }));
}
