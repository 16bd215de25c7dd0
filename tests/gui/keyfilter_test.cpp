#include "support/guitest.h"

#include "widgets/keyfilter.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

namespace {
// A key as X11 delivers it: Delete carries "\x7f", Ctrl+letter a control character.
void press(QWidget *to, int key, Qt::KeyboardModifiers modifiers, const char *text)
{
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, modifiers, QString::fromLatin1(text));
        QCoreApplication::sendEvent(to, &event);
    }
}
} // namespace

TEST_F(GuiTest, FilteredFieldsKeepEditingKeysAndTakeOnlyTheirCharactersFromPastes)
{
    QLineEdit field;
    new KeyFilter(u("1234567890e"), &field);
    field.show();
    QApplication::setActiveWindow(&field);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&field));
    typeInto(&field, u("12 x3E-e."));
    EXPECT_EQ(field.text(), u("123-e."));
    field.setCursorPosition(0);
    press(&field, Qt::Key_Delete, Qt::NoModifier, "\x7f");
    EXPECT_EQ(field.text(), u("23-e."));
    press(&field, Qt::Key_A, Qt::ControlModifier, "\x01");
    EXPECT_EQ(field.selectedText(), u("23-e."));
    press(&field, Qt::Key_C, Qt::ControlModifier, "\x03");
    press(&field, Qt::Key_X, Qt::ControlModifier, "\x18");
    EXPECT_TRUE(field.text().isEmpty());
    EXPECT_EQ(QApplication::clipboard()->text(), u("23-e."));
    press(&field, Qt::Key_Z, Qt::ControlModifier, "\x1a");
    EXPECT_EQ(field.text(), u("23-e."));
    press(&field, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "\x1a");
    EXPECT_TRUE(field.text().isEmpty());
    press(&field, Qt::Key_Z, Qt::ControlModifier, "\x1a");
    press(&field, Qt::Key_Y, Qt::ControlModifier, "\x19");
    EXPECT_TRUE(field.text().isEmpty());

    // Pasted, dropped or composed text arrives without what the field refuses.
    QApplication::clipboard()->setText(u("第12集"));
    press(&field, Qt::Key_V, Qt::ControlModifier, "\x16");
    press(&field, Qt::Key_Insert, Qt::ShiftModifier, "");
    EXPECT_EQ(field.text(), u("1212"));
    field.clear();
    QMimeData dropped;
    dropped.setText(u("第3话 v2"));
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&field, &enter);
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&field, &drop);
    QInputMethodEvent composed;
    composed.setCommitString(u("四5"));
    QCoreApplication::sendEvent(&field, &composed);
    EXPECT_EQ(field.text(), u("325"));
    // Text set by the program is left as it is.
    field.setText(u("第八话"));
    EXPECT_EQ(field.text(), u("第八话"));
}
