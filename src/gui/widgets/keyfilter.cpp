#include "widgets/keyfilter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

KeyFilter::KeyFilter(const QString &accepted, QObject *parent)
    : QObject(parent), m_accepted(accepted + QStringLiteral("-."))
{
}

bool KeyFilter::accepts(const QString &typed) const
{
    if (typed.size() != 1)
        return false;
    if (typed.at(0) == QChar(8))
        return true;
    return m_accepted.contains(typed.at(0));
}

bool KeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        // Backspace edits; Tab and Shift+Tab move on to the next control and are never typed characters.
        if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false;
        const QString typed = key->text();
        if (typed.isEmpty())
            return false;
        return !accepts(typed);
    }
    case QEvent::InputMethod: {
        // A character composed through an input method is never one of the accepted ones.
        auto *im = static_cast<QInputMethodEvent *>(event);
        if (!im->commitString().isEmpty() || !im->preeditString().isEmpty())
            return true;
        return false;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
