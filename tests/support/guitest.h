#pragma once

#include "mainwindow/form1.h"
#include "platform/messagebox.h"
#include "support/coretest.h"

#include <QByteArray>
#include <QList>

class QListWidget;

// A test of the windows: message boxes are answered without showing and pages are captured, not opened.
class GuiTest : public CoreTest
{
public:
    void SetUp() override;
    void TearDown() override;

    static QString lastMessage() { return MessageBox::shown().isEmpty() ? QString() : MessageBox::shown().last().text; }

    QList<QByteArray> opened; // addresses handed to the browser
    std::unique_ptr<Form1> w; // the main window, when the test opens one; closed before the program folder goes
};

// Clicks a line of a list as a user does, with Ctrl or Shift held when asked.
void clickLine(QListWidget *list, int line, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Types text into a field as keys, CJK and all (QTest::keyClicks takes Latin-1 only).
void typeInto(QWidget *field, const QString &text);
