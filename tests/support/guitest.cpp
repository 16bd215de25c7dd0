#include "support/guitest.h"

#include "platform/browser.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QTest>

void GuiTest::SetUp()
{
    CoreTest::SetUp();
    MessageBox::setTestMode(true);
    Browser::setHandlerForTesting([this](const QByteArray &address) {
        opened << address;
        return true;
    });
}

void GuiTest::TearDown()
{
    w.reset();
    Browser::setHandlerForTesting({});
    CoreTest::TearDown();
}

void clickLine(QListWidget *list, int line, Qt::KeyboardModifiers modifiers)
{
    QListWidgetItem *item = list->item(line);
    ASSERT_NE(item, nullptr);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(item).center());
}

void typeInto(QWidget *field, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(field, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(field, &release);
    }
}
