#include "mainwindow/form1.h"

#include "feedcheck/feedcheckwindow.h"
#include "sitesettings/form2.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QScreen>

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
    if (opening) {
        // Beside the main window, not over it, and never off the screen. Placed once shown, when its layout and
        // frame have their final size.
        QRect place = m_form2->frameGeometry();
        place.moveTopLeft(frameGeometry().topRight() + QPoint(8, 0));
        if (const QScreen *here = screen()) {
            const QRect room = here->availableGeometry();
            place.moveRight(std::min(place.right(), room.right()));
            place.moveBottom(std::min(place.bottom(), room.bottom()));
            place.moveTopLeft(QPoint(std::max(place.left(), room.left()), std::max(place.top(), room.top())));
        }
        m_form2->move(place.topLeft());
    }
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
