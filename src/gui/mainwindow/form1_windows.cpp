#include "mainwindow/form1.h"

#include "feedcheck/feedcheckwindow.h"
#include "platform/messagebox.h"
#include "platform/windoworder.h"
#include "sitesettings/form2.h"
#include "usertexts.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QListWidget>

#include <algorithm>

// The windows the main window opens: the site settings, and the feed check (which entries, with which words).

void Form1::Command8_Click()
{
    const bool opening = !m_form2;
    if (opening) {
        m_form2 = new Form2(this);
        connect(m_form2, &Form2::sitesChanged, this, &Form1::rebuildSiteChoice);
    }
    m_form2->show();
    // Beside the main window, not over it.
    if (opening)
        WindowOrder::placeBeside(m_form2, this);
    m_form2->raise();
    m_form2->activateWindow();
}

Form2 *Form1::settingsWindow() const
{
    return m_form2;
}

void Form1::Command9_Click()
{
    QList<qint64> rows;
    for (const QModelIndex &index : List1->selectionModel()->selectedRows())
        rows << rowIdOfLine(index.row());
    // The selected entries, or every entry when none is selected.
    std::sort(rows.begin(), rows.end());
    openFeedCheck()->start(rows);
}

FeedCheckWindow *Form1::openFeedCheck()
{
    const bool opening = !m_feedCheck;
    if (opening) {
        m_feedCheck = new FeedCheckWindow(m_watcher, this);
        connect(m_feedCheck, &FeedCheckWindow::episodeStepped, this, &Form1::followStoredEntries);
        connect(m_feedCheck, &FeedCheckWindow::checkAgain, this, &Form1::Command9_Click);
    }
    m_feedCheck->show();
    if (opening)
        WindowOrder::placeBeside(m_feedCheck, this);
    m_feedCheck->raise();
    m_feedCheck->activateWindow();
    return m_feedCheck;
}

void Form1::showFeedCheck()
{
    openFeedCheck();
}

FeedCheckWindow *Form1::feedCheckWindow() const
{
    return m_feedCheck;
}
