#include "feeds/watcher.h"
#include "import/readerprocess.h"
#include "mainwindow/form1.h"
#include "tray/traypresence.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QSystemTrayIcon>
#include <QTranslator>

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
    // The interface is Simplified Chinese throughout, the toolkit's own buttons (是/否) included.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitTexts);
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
