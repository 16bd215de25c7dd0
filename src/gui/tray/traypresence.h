#pragma once

#include "feeds/watcher.h"

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

class DesktopNotice;
class Form1;
class QAction;

// Korvane in the system tray while it watches for new episodes: the icon with its menu and tooltip, a notice when a
// scheduled check finds releases not announced before, and the main window hidden rather than closed. Without a
// tray, or while nothing is watched, none of this shows and closing the main window ends the program.
class TrayPresence : public QObject
{
    Q_OBJECT
public:
    // Shown from the start when asked (the program started minimized), whatever 定时检查 says.
    TrayPresence(Watcher *watcher, Form1 *window, bool shownFromStart, QObject *parent = nullptr);
    ~TrayPresence() override;

    bool isShown() const { return m_icon.isVisible(); }
    QSystemTrayIcon &icon() { return m_icon; }
    QMenu &menu() { return m_menu; }
    DesktopNotice &notice() { return *m_notice; }
    // Whether the desktop has a tray; tests say.
    static void setTrayForTesting(std::optional<bool> available);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void update();
    void showWindow();
    void announce(const QList<Announcement> &entries);
    void quit();

    Watcher *m_watcher;
    QPointer<Form1> m_window;
    QSystemTrayIcon m_icon;
    QMenu m_menu;
    DesktopNotice *m_notice;
    QAction *m_showWindow, *m_checkNow, *m_pause, *m_autostart, *m_quit;
    bool m_shownFromStart;
    bool m_quitting = false;
};
