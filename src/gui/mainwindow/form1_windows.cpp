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
    QList<int> lines;
    for (const QModelIndex &index : List1->selectionModel()->selectedRows())
        lines << index.row();
    if (lines.isEmpty()) {
        for (int line = 0; line < List1->count(); ++line)
            lines << line;
    }
    std::sort(lines.begin(), lines.end());
    QList<qint64> rows;
    for (const int line : lines)
        rows << rowIdOfLine(line);
    checkFeeds(rows);
}

void Form1::checkFeeds(const QList<qint64> &rows)
{
    // The values as stored now, each from its row; a file that cannot be read says why, as every change does.
    const Result<QHash<qint64, SearchCopy>> copies = EntryStore::searchCopies(rows);
    Result<std::vector<SearchSite>> sites = copies ? feedSites() : copies.error();
    if (!sites) {
        MessageBox::show(this, FeedCheckText::CannotCheck.arg(reasonText(sites.error())), Form1Text::RefusalTitle);
        return;
    }
    QList<CheckEntry> entries;
    for (const qint64 row : rows) {
        const auto found = copies->constFind(row);
        const auto line = std::find(m_lineRowIds.cbegin(), m_lineRowIds.cend(), row) - m_lineRowIds.cbegin();
        if (found != copies->cend() && line < List1->count())
            entries.append({row, List1->item(int(line))->text(), found->subg, found->SearchN, found->Episode});
    }
    const bool opening = !m_feedCheck;
    if (opening) {
        m_feedCheck = new FeedCheckWindow(this);
        connect(m_feedCheck, &FeedCheckWindow::episodeStepped, this, &Form1::followStoredEntries);
        connect(m_feedCheck, &FeedCheckWindow::checkAgain, this, &Form1::Command9_Click);
    }
    m_feedCheck->show();
    if (opening)
        WindowOrder::placeBeside(m_feedCheck, this);
    m_feedCheck->raise();
    m_feedCheck->activateWindow();
    m_feedCheck->start(entries, std::move(sites).value(), Check3->isChecked(), Check2->isChecked());
}

FeedCheckWindow *Form1::feedCheckWindow() const
{
    return m_feedCheck;
}
