#include "support/guitest.h"

#include "widgets/keyfilter.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>

#include <tuple>

TEST_F(GuiTest, FilteredFieldsKeepEditingKeysAndTakeOnlyTheirCharactersFromPastes)
{
    QLineEdit field;
    new KeyFilter(u("1234567890e"), &field);
    typeInto(&field, u("12 x3E-e.,"));
    EXPECT_EQ(field.text(), u("123-e."));

    // Keys as X11 delivers them, Delete with "\x7f" and Ctrl+letter with a control character, and what the field and
    // the clipboard hold after each; a paste arrives without what the field refuses.
    QApplication::clipboard()->setText(u("第12集"));
    field.setCursorPosition(0);
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, const char *, const char *> keys[] = {
        {Qt::Key_Delete, Qt::NoModifier, "\x7f", "23-e.|第12集"},
        {Qt::Key_V, Qt::ControlModifier, "\x16", "1223-e.|第12集"},
        {Qt::Key_Insert, Qt::ShiftModifier, "", "121223-e.|第12集"},
        {Qt::Key_A, Qt::ControlModifier, "\x01", "121223-e.|第12集"},
        {Qt::Key_C, Qt::ControlModifier, "\x03", "121223-e.|121223-e."},
        {Qt::Key_X, Qt::ControlModifier, "\x18", "|121223-e."},
        {Qt::Key_Z, Qt::ControlModifier, "\x1a", "121223-e.|121223-e."},
        {Qt::Key_Y, Qt::ControlModifier, "\x19", "|121223-e."},
        // Alt and Super make no shortcut of a letter: what it would type is filtered as any typed character is.
        {Qt::Key_X, Qt::AltModifier, "x", "|121223-e."},
        {Qt::Key_X, Qt::AltModifier | Qt::ShiftModifier, "X", "|121223-e."},
        {Qt::Key_X, Qt::MetaModifier, "x", "|121223-e."},
        {Qt::Key_X, Qt::ControlModifier | Qt::AltModifier, "x", "|121223-e."},
        {Qt::Key_5, Qt::AltModifier, "5", "5|121223-e."},
    };
    for (const auto &[key, modifiers, text, after] : keys) {
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, modifiers, QString::fromLatin1(text));
            QCoreApplication::sendEvent(&field, &event);
        }
        EXPECT_EQ(field.text() + u("|") + QApplication::clipboard()->text(), u(after)) << key;
    }

    // Dropped or composed text arrives the same way; text set by the program is left as it is.
    QMimeData dropped;
    dropped.setText(u("第3话 v2"));
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&field, &enter);
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&field, &drop);
    QInputMethodEvent composed;
    composed.setCommitString(u("四5"));
    QCoreApplication::sendEvent(&field, &composed);
    EXPECT_EQ(field.text(), u("3255"));
    field.setText(u("第八话"));
    EXPECT_EQ(field.text(), u("第八话"));
}
