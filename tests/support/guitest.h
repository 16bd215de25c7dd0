#pragma once

#include "platform/messagebox.h"
#include "support/coretest.h"

#include <QByteArray>
#include <QList>

class QListWidget;
class QWidget;

// A test of the windows: message boxes are answered without showing and pages are captured, not opened.
class GuiTest : public CoreTest
{
public:
    void SetUp() override;
    void TearDown() override;

    QList<QByteArray> opened; // addresses handed to the browser
};

// Clicks a line of a list as a user does, with Ctrl or Shift held when asked.
void clickLine(QListWidget *list, int line, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Types text into a field as keys, CJK and all.
void typeInto(QWidget *field, const QString &text);
