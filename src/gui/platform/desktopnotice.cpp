#include "platform/desktopnotice.h"

#include "usertexts.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QSystemTrayIcon>

namespace {
const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
const QString DefaultAction = QStringLiteral("default");
} // namespace

DesktopNotice::DesktopNotice(QSystemTrayIcon *fallback, QObject *parent) : QObject(parent), m_fallback(fallback)
{
    // The service sends these to every program; ours are told apart by the id.
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this, SLOT(onActionInvoked(uint, QString)));
    bus.connect(Service, Path, Interface, QStringLiteral("NotificationClosed"), this,
                SLOT(onNotificationClosed(uint, uint)));
    if (fallback)
        connect(fallback, &QSystemTrayIcon::messageClicked, this, &DesktopNotice::activated);
}

void DesktopNotice::show(const QString &summary, const QString &body)
{
    // Our id is known only when the service answers: a notice asked for before that waits for it, so that it
    // replaces the one on the way instead of standing beside it.
    if (m_sending) {
        m_next.emplace(summary, body);
        return;
    }
    send(summary, body);
}

void DesktopNotice::setBalloonForTesting(std::function<void(const QString &, const QString &)> balloon)
{
    m_balloonForTesting = std::move(balloon);
}

void DesktopNotice::send(const QString &summary, const QString &body)
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    // Without a bus a call fails before it leaves, and no watcher would ever report it.
    if (!bus.isConnected()) {
        showBalloon(summary, body);
        return;
    }
    QDBusMessage notify = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    // The desktop entry lets the service show our name and icon, and group our notices.
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("korvane")}};
    notify << NoticeText::AppName << m_id << QStringLiteral("korvane") << summary << body
           << QStringList{DefaultAction, NoticeText::Open} << hints << -1;
    m_sending = true;
    auto *call = new QDBusPendingCallWatcher(bus.asyncCall(notify), this);
    connect(call, &QDBusPendingCallWatcher::finished, this,
            [this, summary, body](QDBusPendingCallWatcher *c) { sent(c, summary, body); });
}

void DesktopNotice::sent(QDBusPendingCallWatcher *call, const QString &summary, const QString &body)
{
    call->deleteLater();
    m_sending = false;
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError()) {
        // No service, or one that refused: the notice is not lost. An id of a service gone means nothing
        // to the next one.
        m_id = 0;
        showBalloon(summary, body);
    } else {
        m_id = reply.value();
    }
    if (m_next) {
        const auto [nextSummary, nextBody] = *std::exchange(m_next, std::nullopt);
        send(nextSummary, nextBody);
    }
}

void DesktopNotice::showBalloon(const QString &summary, const QString &body)
{
    if (m_balloonForTesting)
        m_balloonForTesting(summary, body);
    else if (m_fallback)
        m_fallback->showMessage(summary, body);
}

void DesktopNotice::onActionInvoked(uint id, const QString &action)
{
    // Other programs' notices, and actions other than a click on the notice itself, are not ours to answer.
    if (id == m_id && action == DefaultAction)
        Q_EMIT activated();
}

void DesktopNotice::onNotificationClosed(uint id, uint /*reason*/)
{
    // A closed notice can no longer be replaced: the next one is new.
    if (id == m_id)
        m_id = 0;
}
