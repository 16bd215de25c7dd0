#include "testsupport.h"

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

// These tests let the real opener run: a stand-in xdg-open first in PATH writes down what it was given.
namespace {

const char Prefix[] = "http://bt.example/search?q=";

class OpenerTest : public KorvaneTest
{
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        Browser::setHandlerForTesting({});
        m_oldPath = qgetenv("PATH");
        m_oldBrowser = qgetenv("BROWSER");
        qunsetenv("BROWSER");
        ASSERT_TRUE(m_bin.isValid());
        qputenv("PATH", QFile::encodeName(m_bin.path()) + ':' + m_oldPath);
    }

    void TearDown() override
    {
        qputenv("PATH", m_oldPath);
        if (!m_oldBrowser.isEmpty())
            qputenv("BROWSER", m_oldBrowser);
        KorvaneTest::TearDown();
    }

    QString received() const { return QDir(m_bin.path()).filePath(QStringLiteral("received")); }

    // The stand-in writes the number of its arguments and the first one, then renames the file into place so
    // that the test never reads half of it.
    void installFakeOpener()
    {
        QFile script(QDir(m_bin.path()).filePath(QStringLiteral("xdg-open")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        const QByteArray out = QFile::encodeName(received());
        script.write("#!/bin/sh\nprintf '%s\\n%s' \"$#\" \"$1\" > '" + out + ".part' && mv '" + out + ".part' '" + out +
                     "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // What the opener was given, once it has run.
    QByteArray waitForOpener()
    {
        QDeadlineTimer deadline(10000);
        while (!QFile::exists(received()) && !deadline.hasExpired())
            QTest::qWait(10);
        QFile file(received());
        if (!file.open(QIODevice::ReadOnly))
            return "<nothing received>";
        const QByteArray content = file.readAll();
        file.close();
        file.remove();
        return content;
    }

    std::unique_ptr<Form1> searchFor(const QString &group, const QString &name, const QString &episode)
    {
        makeDatabase({{QStringLiteral("1"), group, name, episode, QStringLiteral("title"), QString()}},
                     {{QStringLiteral("1"), QStringLiteral("极影"), QString::fromLatin1(Prefix), 0}});
        auto form = std::make_unique<Form1>();
        clickLine(form->List1, 0);
        return form;
    }

    QTemporaryDir m_bin;
    QByteArray m_oldPath;
    QByteArray m_oldBrowser;
};

} // namespace

TEST_F(OpenerTest, TheOpenerGetsTheExactAddressAsItsOneArgument)
{
    installFakeOpener();
    auto form = searchFor(QStringLiteral("XYZ"), QStringLiteral("中"), QStringLiteral("8"));
    QTest::mouseClick(form->Command4, Qt::LeftButton);
    EXPECT_EQ(waitForOpener(), "1\n" + QByteArray(Prefix) + "%58%59%5A%20%D6%D0%20%30%39");

    // Escapes of plain characters and marks stay escapes.
    runSql({QStringLiteral("update AD set SearchN = 'a.~'")});
    clickLine(form->List1, 0);
    form->Check1->setChecked(true);
    QTest::mouseClick(form->Command4, Qt::LeftButton);
    EXPECT_EQ(waitForOpener(), "1\n" + QByteArray(Prefix) + "XYZ%20a%2E%7E%2009");
    EXPECT_TRUE(MessageBox::shown().isEmpty());
}

TEST_F(OpenerTest, WithNothingToOpenThePageTheUserIsTold)
{
    // PATH holds only the empty folder: no xdg-open, and offscreen the desktop opens nothing either.
    qputenv("PATH", QFile::encodeName(QDir(folder()).filePath(QStringLiteral("nothing-here"))));
    auto form = searchFor(QStringLiteral("XYZ"), QStringLiteral("中"), QStringLiteral("8"));
    MessageBox::clearShown();
    QTest::mouseClick(form->Command4, Qt::LeftButton);
    ASSERT_EQ(MessageBox::shown().size(), 1);
    EXPECT_TRUE(MessageBox::shown()[0].text.contains(QString::fromLatin1(Prefix)));
}
