#include "mainwindow/form1.h"

#include "platform/messagebox.h"
#include "search/searchwords.h"
#include "usertexts.h"

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

// Loading an entry from the list, and the buttons that add, save and delete entries and step the episode.

using namespace Form1Text;

void Form1::List1_Click()
{
    // The current line's own row, into the edit fields.
    const int current = List1->currentRow();
    ClearFields();
    m_loadedRow = -1;
    if (current >= 0) {
        if (const Result<AnimeEntry> entry = EntryStore::read(rowIdOfLine(current))) {
            m_loadedRow = rowIdOfLine(current);
            m_loaded = entry.value();
            Text1->setText(entry->num);
            Text2->setText(entry->subg);
            Text3->setText(entry->SearchN);
            Text4->setText(entry->Episode);
            Text5->setText(entry->AnimeN);
            Text6->setText(entry->Other);
        }
    }

    copySelection();
    Command2->setEnabled(true);
    Command3->setEnabled(true);
    Command5->setEnabled(false);
}

void Form1::copySelection()
{
    // The group, search name and episode of every selected line, each from that line's own row, read at once.
    QList<int> selected;
    for (const QModelIndex &index : List1->selectionModel()->selectedIndexes())
        selected << index.row();
    std::sort(selected.begin(), selected.end());
    QList<qint64> rows;
    rows.reserve(selected.size());
    for (const int line : selected)
        rows << rowIdOfLine(line);
    if (const Result<QHash<qint64, SearchCopy>> copies = EntryStore::searchCopies(rows)) {
        for (const int line : selected) {
            const auto found = copies->constFind(rowIdOfLine(line));
            if (found == copies->cend())
                continue;
            SelSubG.insert(line, found->subg);
            SelSearchN.insert(line, found->SearchN);
            SelEpisode.insert(line, found->Episode);
        }
    }
}

void Form1::Command1_Click()
{
    m_loadedRow = -1;
    Command5->setEnabled(true);
    Command2->setEnabled(false);
    Command3->setEnabled(false);
    ClearFields();
}

void Form1::Command5_Click()
{
    const Done added = EntryStore::add(fieldsEntry());
    const bool refused =
        !added && (added.error().code == ErrorCode::Duplicate || added.error().code == ErrorCode::Incomplete);
    if (refused)
        MessageBox::show(this, Duplicate, RefusalTitle);
    else if (!added)
        MessageBox::show(this, NotAdded.arg(reasonText(added.error())), RefusalTitle);
    RefreshList();
    // A refused duplicate empties the fields; a failed write keeps what the user typed.
    if (added || refused)
        ClearFields();
}

void Form1::Command2_Click()
{
    // Nothing loaded, or 序号, 搜索名 or 原作名 changed since: those are not changed by saving. Nor is a value
    // another window stored since loading, which the save would undo.
    const AnimeEntry entry = fieldsEntry();
    const Result<qint64> saved = m_loadedRow < 0 ? Result<qint64>(failure(ErrorCode::Refused))
                                                 : EntryStore::replace(m_loadedRow, m_loaded, entry);
    if (saved) {
        m_loadedRow = saved.value();
        m_loaded = entry;
    } else if (saved.error().code == ErrorCode::Changed)
        MessageBox::show(this, ChangedSinceLoaded, RefusalTitle);
    else if (saved.error().code == ErrorCode::Refused)
        MessageBox::show(this, SaveRefused, RefusalTitle);
    else
        MessageBox::show(this, NotSaved.arg(reasonText(saved.error())), RefusalTitle);
    RefreshList();
}

void Form1::Command3_Click()
{
    Command3->setEnabled(false);
    if (MessageBox::show(this, DeleteQuestion, DeleteTitle, MessageBox::YesNo, MessageBox::Yes) == MessageBox::Yes) {
        if (const Done deleted = EntryStore::remove(m_loadedRow)) {
            ClearFields();
            m_loadedRow = -1;
        } else
            MessageBox::show(this, NotDeleted.arg(reasonText(deleted.error())), RefusalTitle);
    }
    RefreshList();
}

void Form1::followStoredEntries()
{
    // The lines selected, and the current one, stay so, and the search takes their new values.
    QList<qint64> selected;
    for (const QModelIndex &index : List1->selectionModel()->selectedRows())
        selected << rowIdOfLine(index.row());
    const qint64 current = rowIdOfLine(List1->currentRow());
    RefreshList();
    m_filling = true;
    for (int line = 0; line < List1->count(); ++line) {
        if (rowIdOfLine(line) == current)
            List1->setCurrentRow(line, QItemSelectionModel::NoUpdate);
        if (selected.contains(rowIdOfLine(line)))
            List1->item(line)->setSelected(true);
    }
    m_filling = false;
    copySelection();
    const Result<AnimeEntry> stored =
        m_loadedRow < 0 ? Result<AnimeEntry>(failure(ErrorCode::NotFound)) : EntryStore::read(m_loadedRow);
    if (!stored)
        return;
    const std::pair<QLineEdit *, QString AnimeEntry::*> fields[] = {
        {Text1, &AnimeEntry::num},     {Text2, &AnimeEntry::subg},   {Text3, &AnimeEntry::SearchN},
        {Text4, &AnimeEntry::Episode}, {Text5, &AnimeEntry::AnimeN}, {Text6, &AnimeEntry::Other}};
    for (const auto &[field, value] : fields) {
        const QString &now = stored.value().*value;
        if (now != m_loaded.*value && field->text() == m_loaded.*value) {
            field->setText(now);
            m_loaded.*value = now;
        }
    }
}

void Form1::Command6_Click()
{
    if (const std::optional<QString> stepped = steppedEpisode(Text4->text(), +1))
        Text4->setText(*stepped);
}

void Form1::Command7_Click()
{
    if (const std::optional<QString> stepped = steppedEpisode(Text4->text(), -1))
        Text4->setText(*stepped);
}
