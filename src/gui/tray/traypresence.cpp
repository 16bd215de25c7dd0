#include "tray/traypresence.h"

#include "data/settings.h"
#include "feeds/releasemarks.h"
#include "mainwindow/form1.h"
#include "platform/autostart.h"
#include "platform/desktopnotice.h"
#include "platform/messagebox.h"
#include "usertexts.h"

#include <QApplication>
#include <QCloseEvent>

#include <optional>

using namespace TrayText;

namespace {
std::optional<bool> &trayForTesting()
{
    static std::optional<bool> available;
    return available;
}

bool trayAvailable()
{
    return trayForTesting().value_or(QSystemTrayIcon::isSystemTrayAvailable());
}
} // namespace

void TrayPresence::setTrayForTesting(std::optional<bool> available)
{
    trayForTesting() = available;
}

TrayPresence::TrayPresence(Watcher *watcher, Form1 *window, bool shownFromStart, QObject *parent)
    : QObject(parent), m_watcher(watcher), m_window(window), m_notice(new DesktopNotice(&m_icon, this)),
      m_shownFromStart(shownFromStart)
{
    m_icon.setIcon(QApplication::windowIcon());
    m_icon.setContextMenu(&m_menu);
    m_showWindow = m_menu.addAction(ShowWindow, this, &TrayPresence::showWindow);
    m_checkNow = m_menu.addAction(CheckNow, this, [this] {
        // As a scheduled check: what it finds not announced before is announced, and nothing counts as seen.
        if (const Done started = m_watcher->checkOnScheduleNow(); !started)
            MessageBox::show(nullptr, FeedCheckText::CannotCheck.arg(reasonText(started.error())),
                             FeedCheckText::RefusalTitle);
    });
    m_pause = m_menu.addAction(Pause, this, [this] { m_watcher->setPaused(!m_watcher->isPaused()); });
    m_autostart = m_menu.addAction(StartWithSession, this, [this](bool on) {
        if (const Done written = Autostart::setEnabled(on); !written)
            MessageBox::show(nullptr, AutostartNotWritten.arg(reasonText(written.error())),
                             FeedCheckText::RefusalTitle);
        m_autostart->setChecked(Autostart::isEnabled());
    });
    m_autostart->setCheckable(true);
    m_menu.addSeparator();
    m_quit = m_menu.addAction(Quit, this, &TrayPresence::quit);
    connect(&m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            showWindow();
    });
    connect(m_notice, &DesktopNotice::activated, this, [this] {
        if (m_window)
            m_window->showFeedCheck();
    });
    connect(m_watcher, &Watcher::announced, this, &TrayPresence::announce);
    connect(m_watcher, &Watcher::changed, this, &TrayPresence::update);
    if (m_window)
        m_window->installEventFilter(this);
    update();
}

TrayPresence::~TrayPresence()
{
    QApplication::setQuitOnLastWindowClosed(true);
}

void TrayPresence::update()
{
    const bool shown = trayAvailable() && (m_shownFromStart || m_watcher->isOn());
    // While the icon is there, the program goes on with every window closed; 退出 ends it.
    QApplication::setQuitOnLastWindowClosed(!shown);
    m_icon.setVisible(shown);
    m_pause->setText(m_watcher->isPaused() ? Resume : Pause);
    m_pause->setEnabled(m_watcher->isOn());
    m_autostart->setChecked(Autostart::isEnabled());
    const Result<QSet<qint64>> unseen = ReleaseMarks::rowsWithUnseen();
    const QString last =
        m_watcher->lastCheck().isValid()
            ? LastCheck.arg(QLocale().toString(m_watcher->lastCheck().toLocalTime(), QLocale::ShortFormat))
            : NeverChecked;
    m_icon.setToolTip(Tooltip.arg(last).arg(unseen ? unseen->size() : 0));
    // Shown with no window, and then without a tray (its host went away): the window comes back.
    if (!shown && m_window && !m_window->isVisible() && !m_quitting)
        m_window->show();
}

void TrayPresence::showWindow()
{
    if (!m_window)
        return;
    m_window->showNormal();
    m_window->raise();
    m_window->activateWindow();
}

void TrayPresence::announce(const QList<Announcement> &entries)
{
    QStringList lines;
    for (qsizetype i = 0; i < entries.size() && i < 3; ++i) {
        const Announcement &a = entries[i];
        lines << (a.group.isEmpty() ? NoticeLine.arg(a.name).arg(a.episode)
                                    : NoticeLineWithGroup.arg(a.name).arg(a.episode).arg(a.group));
    }
    if (entries.size() > 3)
        lines << NoticeMore.arg(entries.size());
    m_notice->show(NoticeTitle.arg(entries.size()), lines.join(QLatin1Char('\n')));
}

bool TrayPresence::eventFilter(QObject *watched, QEvent *event)
{
    // Closing the main window hides it to the tray while the icon is there; the first time, a note says so.
    if (watched == m_window && event->type() == QEvent::Close && isShown() && !m_quitting) {
        event->ignore();
        m_window->hide();
        if (Settings::read(Settings::TrayNoteShown).value_or(QString()) != QLatin1String("1")) {
            m_icon.showMessage(TrayNoteTitle, TrayNote);
            (void)Settings::write(Settings::TrayNoteShown, QStringLiteral("1"));
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void TrayPresence::quit()
{
    m_quitting = true;
    if (m_window)
        m_window->close();
    QApplication::quit();
}
