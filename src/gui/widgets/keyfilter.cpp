#include "widgets/keyfilter.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

namespace {
// X11 gives editing keys a control character as their text: Delete "\x7f", Ctrl+A "\x01".
bool typesNothing(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() != 0x7f)
            return false;
    }
    return true;
}
} // namespace

KeyFilter::KeyFilter(const QString &accepted, QLineEdit *field)
    : QObject(field), m_accepted(accepted + QStringLiteral("-.")), m_field(field)
{
    field->installEventFilter(this);
}

QString KeyFilter::accepted(const QString &text) const
{
    QString kept;
    for (const QChar c : text) {
        if (m_accepted.contains(c))
            kept += c;
    }
    return kept;
}

void KeyFilter::insert(const QString &text)
{
    if (!m_field->isReadOnly())
        m_field->insert(accepted(text));
}

bool KeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Paste)) {
            insert(QGuiApplication::clipboard()->text());
            return true;
        }
        // Ctrl makes a shortcut of a key; Alt and Super do not stop a field from typing the key's text.
        const Qt::KeyboardModifiers modifiers = key->modifiers();
        const bool shortcut = (modifiers & Qt::ControlModifier) && !(modifiers & (Qt::AltModifier | Qt::MetaModifier));
        if (shortcut || typesNothing(key->text()))
            return false;
        return accepted(key->text()) != key->text();
    }
    case QEvent::MouseButtonRelease:
        // The middle button pastes the selection on X11.
        if (static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton &&
            QGuiApplication::clipboard()->supportsSelection()) {
            m_field->deselect();
            insert(QGuiApplication::clipboard()->text(QClipboard::Selection));
            return true;
        }
        return false;
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (drop->source() == m_field || !drop->mimeData()->hasText())
            return false;
        m_field->setCursorPosition(m_field->cursorPositionAt(drop->position().toPoint()));
        insert(drop->mimeData()->text());
        drop->acceptProposedAction();
        return true;
    }
    case QEvent::ContextMenu: {
        // The menu's 粘贴 pastes through the filter too.
        QMenu *menu = m_field->createStandardContextMenu();
        if (QAction *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"))) {
            disconnect(paste, &QAction::triggered, m_field, nullptr);
            connect(paste, &QAction::triggered, this, [this] { insert(QGuiApplication::clipboard()->text()); });
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    case QEvent::InputMethod: {
        auto *im = static_cast<QInputMethodEvent *>(event);
        if (im->commitString().isEmpty() && im->preeditString().isEmpty())
            return false;
        // Nothing is composed in the field; what is committed arrives as pasted text does.
        insert(im->commitString());
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
