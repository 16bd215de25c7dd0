#include "support/coretest.h"

#include "data/programfolder.h"
#include "platform/autostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

TEST(Autostart, TheEntryIsWrittenWholeReadAsTheDesktopReadsItAndRemoved)
{
    const QString ours = u("on|[Desktop Entry]\nType=Application\nName=Korvane\nExec=%1 --minimized\nIcon=korvane\n"
                           "Terminal=false\nX-GNOME-Autostart-enabled=true\n");
    const QString here = ours.arg(QCoreApplication::applicationFilePath()), theirs = u("[Desktop Entry]\nExec=k\n");
    const char *entry = "autostart/korvane.desktop";
    // What stands in $XDG_CONFIG_HOME before (its path, then text); the change: on, on from an installed copy, off,
    // or none; then the failure, whether it is on, and what the entry holds after a change.
    const std::tuple<const char *, QString, char, QString> cases[] = {
        {"", {}, '+', here},
        {"", {}, 'i', ours.arg(u("korvane"))},
        {entry, theirs + u("Hidden=true\n"), '+', here},
        {entry, theirs, '-', u("off|")},
        {"", {}, '-', u("off|")},
        {"autostart", u("a file where the folder goes"), '+', u("Unwritable off|")},
        {entry, theirs + u("Hidden = true\n"), ' ', u("off")},
        {entry, theirs + u("X-GNOME-Autostart-enabled=false\n"), ' ', u("off")},
        {entry, u("Exec=k\n"), ' ', u("off")},
        {entry, theirs + u("[Desktop Action a]\nHidden=true\n"), ' ', u("on")},
    };
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    for (const auto &[path, before, change, after] : cases) {
        SCOPED_TRACE(before.toStdString() + change);
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        ProgramFolder::setInstalledForTesting(change == 'i');
        QFile file(home.filePath(u(path)));
        ASSERT_TRUE(!*path || (QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly) &&
                               file.write(before.toUtf8()) && file.flush()));
        const Done done = change == ' ' ? Done() : Autostart::setEnabled(change != '-');
        const char *failed = done ? "" : done.error().code == ErrorCode::Unwritable ? "Unwritable " : "failed ";
        const QString held = change == ' ' ? QString() : u("|") + QString::fromUtf8(bytesOf(Autostart::entryPath()));
        EXPECT_EQ(u(failed) + (Autostart::isEnabled() ? u("on") : u("off")) + held, after);
    }
    ProgramFolder::setPathForTesting({});
    qputenv("XDG_CONFIG_HOME", config);

    // The program's path, and the Exec value written for it.
    const std::pair<const char *, const char *> commands[] = {
        {"/opt/k/korvane", "/opt/k/korvane --minimized"},
        {"/home/a b/korvane", R"("/home/a b/korvane" --minimized)"},
        {"/x/50%/k", "/x/50%%/k --minimized"},
        {"/x/$d\"q`b\\k\n", R"("/x/\\$d\\"q\\`b\\\\k\n" --minimized)"},
    };
    for (const auto &[program, exec] : commands)
        EXPECT_EQ(Autostart::commandFor(u(program)), u(exec));
}
