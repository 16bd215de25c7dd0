#include "mainwindow/form1.h"

#include "feedcheck/feedcheckwindow.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QListWidget>

#include <algorithm>

// The feed check of the main window: which entries, with which words.

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

    // The values as stored now, each from its line's own row.
    QList<CheckEntry> entries;
    if (const Result<QHash<qint64, SearchCopy>> copies = EntryStore::searchCopies(rows)) {
        for (const int line : lines) {
            const auto found = copies->constFind(rowIdOfLine(line));
            if (found != copies->cend())
                entries.append({found.key(), List1->item(line)->text(), found->subg, found->SearchN, found->Episode});
        }
    }
    if (!m_feedCheck) {
        m_feedCheck = new FeedCheckWindow(this);
        connect(m_feedCheck, &FeedCheckWindow::episodeStepped, this, &Form1::RefreshList);
    }
    m_feedCheck->show();
    m_feedCheck->raise();
    m_feedCheck->activateWindow();
    m_feedCheck->start(entries, Check3->isChecked(), Check2->isChecked());
}

FeedCheckWindow *Form1::feedCheckWindow() const
{
    return m_feedCheck;
}
