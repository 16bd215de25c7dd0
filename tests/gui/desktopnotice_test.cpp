#include "support/coretest.h"

#include "platform/desktopnotice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSystemTrayIcon>

namespace {

const QString Name = u("org.freedesktop.Notifications"), Path = u("/org/freedesktop/Notifications");

// The desktop's notice service, played on a connection of the test's own. A new notice gets the id 41.
class FakeService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QStringList log, last; // what happened, as the cases write it; the last Notify's other arguments

public Q_SLOTS:
    Q_SCRIPTABLE uint Notify(const QString &app, uint replaces, const QString &icon, const QString &summary,
                             const QString &body, const QStringList &actions, const QVariantMap &hints, int expires)
    {
        last = {app, icon, body, actions.join(u(",")), hints[u("desktop-entry")].toString(), QString::number(expires)};
        log << QString::number(replaces) + u(" ") + summary;
        return replaces ? replaces : 41;
    }
    Q_SCRIPTABLE void Ping() {}

Q_SIGNALS:
    Q_SCRIPTABLE void ActionInvoked(uint id, const QString &action);
    Q_SCRIPTABLE void NotificationClosed(uint id, uint reason);
};

} // namespace

TEST(DesktopNotice, ANewOneReplacesOursOnlyAClickOnOursActivatesAndTheBalloonStandsIn)
{
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u("service"));
    FakeService s;
    ASSERT_TRUE(bus.registerObject(Path, &s, QDBusConnection::ExportScriptableContents));
    QSystemTrayIcon tray;
    // Lets all on the way arrive: our call is answered after all the service sent before, until a round brings none.
    const auto settle = [&] {
        for (qsizetype before = -1; before != s.log.size();) {
            before = s.log.size();
            QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(Name, Path, Name, u("Ping")),
                                               QDBus::BlockWithGui);
        }
    };
    // A letter shows a notice of that name; "." lets all arrive; the service closes ours (x) or another's (y), or
    // is clicked on ours (D), on another's (E), on another action of ours (L); it goes (u) and comes back (r); the
    // balloon is clicked (m). What happens: each Notify's replaced id and name, "balloon" and name, "!" activated.
    const std::pair<const char *, const char *> cases[] = {
        {"a.b", "0 a,41 b"}, {"ab", "0 a,41 b"},  {"abc", "0 a,41 c"},     {"a.x.b", "0 a,0 b"},
        {"a.D", "0 a,!"},    {"a.E", "0 a"},      {"a.L", "0 a"},          {"a.xD", "0 a"},
        {"a.yD", "0 a,!"},   {"ub", "balloon b"}, {"ub.m", "balloon b,!"}, {"a.u.b.rc", "0 a,balloon b,0 c"},
    };
    for (const auto &[steps, seen] : cases) {
        SCOPED_TRACE(steps);
        ASSERT_TRUE(bus.registerService(Name)) << "runs on a bus of its own, under dbus-run-session";
        s.log.clear();
        DesktopNotice notice(&tray);
        notice.setBalloonForTesting([&](const QString &summary, const QString &) { s.log << u("balloon ") + summary; });
        QObject::connect(&notice, &DesktopNotice::activated, [&] { s.log << u("!"); });
        for (const char step : std::string_view(steps)) {
            if (step == '.')
                settle();
            else if (step == 'x' || step == 'y')
                Q_EMIT s.NotificationClosed(step == 'x' ? 41 : 7, 2);
            else if (step == 'D' || step == 'E' || step == 'L')
                Q_EMIT s.ActionInvoked(step == 'E' ? 7 : 41, u(step == 'L' ? "later" : "default"));
            else if (step == 'u' || step == 'r')
                step == 'u' ? bus.unregisterService(Name) : bus.registerService(Name);
            else if (step == 'm')
                Q_EMIT tray.messageClicked();
            else
                notice.show(QString(QLatin1Char(step)), u("某番 第3集"));
        }
        settle();
        EXPECT_EQ(s.log.join(u(",")), u(seen));
    }
    EXPECT_EQ(s.last, texts({"Korvane", "korvane", "某番 第3集", "default,查看", "korvane", "-1"}));
}

// Run by a CTest entry of its own, without a bus.
TEST(DesktopNoticeWithoutBus, TheBalloonShowsIt)
{
    if (QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "CTest runs this without a bus";
    DesktopNotice notice(nullptr);
    QString shown;
    notice.setBalloonForTesting([&](const QString &summary, const QString &) { shown = summary; });
    notice.show(u("a"), u("b"));
    EXPECT_EQ(shown, u("a"));
}

#include "desktopnotice_test.moc"
