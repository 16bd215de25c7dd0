#include "mainwindow/form1.h"

#include "data/module1.h"
#include "mainwindow/form1texts.h"
#include "platform/messagebox.h"

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>

// Loading an entry from the list, and the buttons that add, save and delete entries and step the episode.

using namespace Form1Text;

namespace {
const QString AD = QStringLiteral("AD");

// The six columns from the six edit fields, in field order.
QList<FieldValue> entryFromFields(const Form1 &w)
{
    return {{QStringLiteral("num"), w.Text1->text()},     {QStringLiteral("subg"), w.Text2->text()},
            {QStringLiteral("SearchN"), w.Text3->text()}, {QStringLiteral("Episode"), w.Text4->text()},
            {QStringLiteral("AnimeN"), w.Text5->text()},  {QStringLiteral("Other"), w.Text6->text()}};
}

QList<Match> identifyingFields(const Form1 &w)
{
    return {{QStringLiteral("num"), w.Text1->text()},
            {QStringLiteral("SearchN"), w.Text3->text()},
            {QStringLiteral("AnimeN"), w.Text5->text()}};
}

// The episode field as a number; none for text that is no plain decimal number ("", "e", "-", "1.2.3").
std::optional<double> episodeNumber(const QString &text)
{
    static const QRegularExpression decimal(QStringLiteral("^-?(\\d+\\.?\\d*|\\.\\d+)$"));
    if (!decimal.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

void stepEpisode(QLineEdit *field, double step)
{
    const std::optional<double> value = episodeNumber(field->text());
    if (!value)
        return;
    // Up to 15 significant digits, no trailing zeros: 9 -> 10, 2.5 -> 3.5, 0 -> -1.
    double next = *value + step;
    if (next == 0)
        next = 0; // never "-0"
    field->setText(QString::number(next, 'g', 15));
}
} // namespace

void Form1::List1_Click()
{
    Module1::OpenDatabase();

    // The current line's own row, into the edit fields.
    const int current = List1->currentRow();
    ClearFields();
    if (current >= 0) {
        RecordSet &rs = Module1::Rs();
        if (rs.openRowIds(AD, {rowIdOfLine(current)}) && !rs.atEnd()) {
            Text1->setText(rs.text(QStringLiteral("num")));
            Text2->setText(rs.text(QStringLiteral("subg")));
            Text3->setText(rs.text(QStringLiteral("SearchN")));
            Text4->setText(rs.text(QStringLiteral("Episode")));
            Text5->setText(rs.text(QStringLiteral("AnimeN")));
            Text6->setText(rs.text(QStringLiteral("Other")));
        }
    }

    // The group, search name and episode of every selected line, each from that line's own row, read at once.
    QList<int> selected;
    for (const QModelIndex &index : List1->selectionModel()->selectedIndexes())
        selected << index.row();
    if (!selected.isEmpty()) {
        std::sort(selected.begin(), selected.end());
        QList<qint64> rowIds;
        rowIds.reserve(selected.size());
        for (int line : selected)
            rowIds << rowIdOfLine(line);
        RecordSet rows(Module1::Conn());
        if (rows.openRowIds(AD, rowIds,
                            {QStringLiteral("subg"), QStringLiteral("SearchN"), QStringLiteral("Episode")})) {
            struct Copy
            {
                QVariant subg, searchN, episode;
            };
            QHash<qint64, Copy> byRow;
            byRow.reserve(rows.count());
            for (; !rows.atEnd(); rows.moveNext())
                byRow.insert(rows.rowId(), {rows.field(QStringLiteral("subg")), rows.field(QStringLiteral("SearchN")),
                                            rows.field(QStringLiteral("Episode"))});
            for (int line : selected) {
                const auto found = byRow.constFind(rowIdOfLine(line));
                if (found == byRow.cend())
                    continue;
                SelSubG.insert(line, found->subg);
                SelSearchN.insert(line, found->searchN);
                SelEpisode.insert(line, found->episode);
            }
        }
    }

    Module1::CloseDatabase();
    Command2->setEnabled(true);
    Command3->setEnabled(true);
    Command5->setEnabled(false);
}

void Form1::Command1_Click()
{
    Command5->setEnabled(true);
    Command2->setEnabled(false);
    Command3->setEnabled(false);
    ClearFields();
}

void Form1::Command5_Click()
{
    Module1::OpenDatabase();
    QString failure;
    bool duplicate = false;
    {
        // The duplicate test and the new row see the same table, even with another copy of the program at work.
        Module1::Transaction adding;
        RecordSet &rs = Module1::Rs();
        if (!adding.started())
            failure = adding.error();
        else if (!rs.open(AD, identifyingFields(*this), Join::Or))
            failure = rs.lastError();
        else if (!rs.atEnd())
            duplicate = true;
        else if (Outcome added = rs.addNew(entryFromFields(*this)); !added.ok())
            failure = added.error;
        else if (Outcome done = adding.commit(); !done.ok())
            failure = done.error;
    }
    Module1::CloseDatabase();
    // Messages wait until the file is free again.
    if (duplicate)
        MessageBox::show(this, Duplicate, RefusalTitle);
    if (!failure.isEmpty())
        MessageBox::show(this, NotAdded.arg(failure), RefusalTitle);
    RefreshList();
    // A refused duplicate empties the fields; a failed write keeps what the user typed.
    if (failure.isEmpty())
        ClearFields();
}

void Form1::Command2_Click()
{
    Module1::OpenDatabase();
    QString failure;
    bool found = true;
    {
        // Finding the row and replacing it is one step: if any part fails, the entry stays as it was.
        Module1::Transaction change;
        RecordSet &rs = Module1::Rs();
        if (!change.started())
            failure = change.error();
        else if (!rs.open(AD, identifyingFields(*this), Join::And))
            failure = rs.lastError();
        else if (rs.atEnd())
            found = false;
        else if (Outcome removed = rs.deleteCurrent(); !removed.ok())
            failure = removed.error;
        else if (Outcome added = rs.addNew(entryFromFields(*this)); !added.ok())
            failure = added.error;
        else if (Outcome done = change.commit(); !done.ok())
            failure = done.error;
    }
    if (!found)
        MessageBox::show(this, SaveRefused, RefusalTitle);
    if (!failure.isEmpty())
        MessageBox::show(this, NotSaved.arg(failure), RefusalTitle);
    RefreshList();
    Module1::CloseDatabase();
}

void Form1::Command3_Click()
{
    Module1::OpenDatabase();
    Command3->setEnabled(false);
    if (MessageBox::show(this, DeleteQuestion, DeleteTitle, MessageBox::YesNo, MessageBox::Yes) == MessageBox::Yes) {
        RecordSet &rs = Module1::Rs();
        QString failure;
        if (!rs.open(AD, {{QStringLiteral("AnimeN"), Text5->text()}}))
            failure = rs.lastError();
        else if (!rs.atEnd()) {
            const Outcome deleted = rs.deleteCurrent();
            if (!deleted.ok())
                failure = deleted.error;
        }
        if (failure.isEmpty())
            ClearFields();
        else
            MessageBox::show(this, NotDeleted.arg(failure), RefusalTitle);
    }
    Module1::CloseDatabase();
    RefreshList();
}

void Form1::Command6_Click()
{
    stepEpisode(Text4, 1);
}

void Form1::Command7_Click()
{
    stepEpisode(Text4, -1);
}
