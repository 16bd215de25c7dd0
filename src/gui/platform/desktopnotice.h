#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

class QDBusPendingCallWatcher;
class QSystemTrayIcon;

// A notice on the desktop: the desktop's own notice service (org.freedesktop.Notifications on the session bus)
// when there is one, else the balloon of the tray icon. Only one of ours is up at a time: a new notice takes the
// place of the one still showing.
class DesktopNotice : public QObject
{
    Q_OBJECT

public:
    explicit DesktopNotice(QSystemTrayIcon *fallback, QObject *parent = nullptr);

    // Returns at once: the bus is never waited on.
    void show(const QString &summary, const QString &body);

    // Tests see what would go to the balloon; an empty function returns to the tray icon.
    void setBalloonForTesting(std::function<void(const QString &, const QString &)> balloon);

Q_SIGNALS:
    // The user clicked the notice (or the balloon).
    void activated();

private Q_SLOTS:
    // Slots by name: Qt DBus connects bus signals to slots by their signature only.
    void onActionInvoked(uint id, const QString &action);
    void onNotificationClosed(uint id, uint reason);

private:
    void send(const QString &summary, const QString &body);
    void sent(QDBusPendingCallWatcher *call, const QString &summary, const QString &body);
    void showBalloon(const QString &summary, const QString &body);

    QPointer<QSystemTrayIcon> m_fallback;
    std::function<void(const QString &, const QString &)> m_balloonForTesting;
    uint m_id = 0;                                     // the service's id of our notice still up; 0 when none is
    bool m_sending = false;                            // a Notify call waits for its answer
    std::optional<std::pair<QString, QString>> m_next; // the newest notice asked for meanwhile
};
