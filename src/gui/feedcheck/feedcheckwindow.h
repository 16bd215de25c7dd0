#pragma once

#include "feeds/feedcheck.h"

#include <QList>
#include <QSet>
#include <QTimer>
#include <QWidget>

#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "新集检查": the releases of each checked entry's next episode, filled in as the sites answer. Not modal; closing
// it stops the check.
class FeedCheckWindow : public QWidget
{
    Q_OBJECT
public:
    explicit FeedCheckWindow(QWidget *owner = nullptr);

    // Checks the entries on every site with a feed address, starting afresh.
    void start(const QList<CheckEntry> &entries, bool withGroup, bool withEpisode);
    void start(const QList<CheckEntry> &entries, std::vector<SearchSite> sites, bool withGroup, bool withEpisode);
    const FeedCheck &check() const { return *m_check; }

    QTreeWidget *results; // a group per entry (its list line), its releases and failed sites under it
    QProgressBar *progress;
    QLabel *progressText;
    QPushButton *stopButton;
    QPushButton *openButton;
    QPushButton *copyButton;
    QPushButton *watchedButton;

    // Tests wait less for a site that never answers.
    static void setLimitsForTesting(std::optional<FetchLimits> limits);

Q_SIGNALS:
    // A stored episode changed: the main list shows them.
    void episodeStepped();
    // F5: the same entries again, as stored now.
    void checkAgain();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showReleases(int entry);
    void addNote(int entry, const QString &text);
    void showProgress();
    void refreshSoon();
    void currentChanged();
    // The current line's entry and release; the release index is -1 on a line that shows none.
    std::pair<int, int> current() const;
    QByteArray currentAddress() const;
    void openRelease();
    void copyAddress();
    void stepEpisode();

    FeedCheck *m_check;
    QList<QTreeWidgetItem *> m_groups; // by entry
    QList<int> m_shown;                // the release lines of each entry, which come first in its group
    QSet<int> m_stepped;               // entries whose episode was stepped here
    bool m_pickedFirst = false;        // the first release found was made the current line
    QTimer m_refresh; // while answers come, the list is painted and the progress shown a few times a second
};
