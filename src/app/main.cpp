#include "data/datafile.h"
#include "feeds/watcher.h"
#include "import/readerprocess.h"
#include "mainwindow/form1.h"
#include "platform/language.h"
#include "tray/traypresence.h"

#include <QApplication>
#include <QIcon>
#include <QSystemTrayIcon>

int main(int argc, char *argv[])
{
    // Started again by itself to read an older Jet file, out of harm's way.
    if (const int code = ReaderProcess::serveIfAsked(argc, argv); code >= 0)
        return code;
    QApplication app(argc, argv);
    // The name decides the user's data folder (~/.local/share/Korvane) of an installed copy.
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    QApplication::setDesktopFileName(QStringLiteral("korvane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/korvane/korvane.svg")));
    // The interface in the user's language, the toolkit's own buttons and dialogs included: Simplified Chinese,
    // the program's own, unless the system's languages or the user's choice say Traditional Chinese or English.
    Language::install(app, DataFile::path());
    // The checks belong to the program, not to a window: they go on while the window is hidden in the tray.
    Watcher watcher;
    Form1 window(&watcher);
    // Started with the session: hidden, with the tray icon shown, when there is a tray.
    const bool hidden = QApplication::arguments().contains(QStringLiteral("--minimized")) &&
                        QSystemTrayIcon::isSystemTrayAvailable();
    TrayPresence tray(&watcher, &window, hidden);
    if (!hidden)
        window.show();
    return QApplication::exec();
}
