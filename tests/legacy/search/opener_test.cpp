#include "support/guitest.h"

#include "mainwindow/form1.h"
#include "platform/browser.h"

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The real opener runs here: a stand-in xdg-open first in PATH writes down what it was given.
namespace {

const QByteArray Prefix = "http://bt.example/search?q=";

class OpenerTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        Browser::setHandlerForTesting({});
        qunsetenv("BROWSER");
        ASSERT_TRUE(m_bin.isValid());
        qputenv("PATH", QFile::encodeName(m_bin.path()) + ':' + m_oldPath);

        makeDatabase({{QStringLiteral("1"), QStringLiteral("XYZ"), QStringLiteral("中"), QStringLiteral("8"),
                       QStringLiteral("title"), QString()}},
                     {{QStringLiteral("1"), QStringLiteral("极影"), QString::fromLatin1(Prefix), 0}});
        form = std::make_unique<Form1>();
        clickLine(form->List1, 0);
        MessageBox::clearShown();
    }

    void TearDown() override
    {
        qputenv("PATH", m_oldPath);
        if (!m_oldBrowser.isEmpty())
            qputenv("BROWSER", m_oldBrowser);
        GuiTest::TearDown();
    }

    // Writes its number of arguments and the first one, renaming the file into place so that no half is read.
    void installFakeOpener()
    {
        QFile script(m_bin.filePath(QStringLiteral("xdg-open")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        const QByteArray out = QFile::encodeName(m_bin.filePath(QStringLiteral("received")));
        script.write("#!/bin/sh\nprintf '%s\\n%s' \"$#\" \"$1\" > '" + out + ".part' && mv '" + out + ".part' '" + out +
                     "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QByteArray received()
    {
        QFile file(m_bin.filePath(QStringLiteral("received")));
        QDeadlineTimer deadline(10000);
        while (!file.exists() && !deadline.hasExpired())
            QTest::qWait(10);
        if (!file.open(QIODevice::ReadOnly))
            return "<nothing received>";
        const QByteArray content = file.readAll();
        file.remove();
        return content;
    }

    QTemporaryDir m_bin;
    const QByteArray m_oldPath = qgetenv("PATH");
    const QByteArray m_oldBrowser = qgetenv("BROWSER");
    std::unique_ptr<Form1> form;
};

} // namespace

TEST_F(OpenerTest, TheOpenerGetsTheExactAddressAsItsOneArgument)
{
    installFakeOpener();
    QTest::mouseClick(form->Command4, Qt::LeftButton);
    EXPECT_EQ(received(), "1\n" + Prefix + "%58%59%5A%20%D6%D0%20%30%39");

    // Escapes of plain characters and marks stay escapes.
    runSql({QStringLiteral("update AD set SearchN = 'a.~'")});
    clickLine(form->List1, 0);
    form->Check1->setChecked(true);
    QTest::mouseClick(form->Command4, Qt::LeftButton);
    EXPECT_EQ(received(), "1\n" + Prefix + "XYZ%20a%2E%7E%2009");
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

TEST_F(OpenerTest, WithNothingToOpenThePageTheUserIsTold)
{
    // No xdg-open anywhere, and offscreen the desktop opens nothing either.
    qputenv("PATH", QFile::encodeName(m_bin.path()));
    QTest::mouseClick(form->Command4, Qt::LeftButton);
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_TRUE(MessageBox::shown()[0].text.contains(QString::fromLatin1(Prefix)));
}
