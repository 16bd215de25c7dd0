#pragma once

#include "feeds/watcher.h"

#include <QList>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "新集检查": the releases of each checked entry's next episode, filled in as the sites answer. It shows the
// watcher's check, the one running or the last one, whoever started it; what it shows the user has seen. Not
// modal; closing it stops a check the user started, not one on schedule.
class FeedCheckWindow : public QWidget
{
    Q_OBJECT
public:
    explicit FeedCheckWindow(Watcher *watcher, QWidget *owner = nullptr);

    // Checks these rows (every entry when none), as stored now; a file that cannot be read says why.
    void start(const QList<qint64> &rows);
    const FeedCheck &check() const { return m_watcher->check(); }

    QTreeWidget *results; // a group per entry (its list line), its releases and failed sites under it
    QProgressBar *progress;
    QLabel *progressText;
    QPushButton *stopButton;
    QPushButton *openButton;
    QPushButton *copyButton;
    QPushButton *watchedButton;

Q_SIGNALS:
    // A stored episode changed: the main list shows them.
    void episodeStepped();
    // F5: check again.
    void checkAgain();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void rebuild();
    void showReleases(int entry);
    void addNote(int entry, const QString &text);
    void entryDone(int entry);
    void showProgress();
    void refreshSoon();
    void markShownSeen();
    void currentChanged();
    // The current line's entry and release; the release index is -1 on a line that shows none.
    std::pair<int, int> current() const;
    const Release *currentRelease() const;
    void openRelease();
    void copyAddress();
    void stepEpisode();

    Watcher *m_watcher;
    QList<QTreeWidgetItem *> m_groups; // by entry
    QList<int> m_shown;                // the release lines of each entry, which come first in its group
    QSet<int> m_stepped;               // entries whose episode was stepped here
    QList<Release> m_unmarked;         // shown, not yet recorded as seen
    bool m_pickedFirst = false;        // the first release found was made the current line
    QTimer m_refresh; // while answers come, the list is painted and the progress shown a few times a second
};
