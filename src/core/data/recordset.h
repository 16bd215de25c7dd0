#pragma once

#include "result.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

// One column = value comparison of a lookup; the value is always bound, never pasted into the statement.
struct Match
{
    QString column;
    QVariant value;
};

enum class Join { And, Or };

// One column value of a row to be added.
struct FieldValue
{
    QString column;
    QVariant value;
};

// A small record set over one table. Rows are read at once (a client-side cursor), so the current row can be
// deleted and new rows added while the set is still being walked. Rows come in the order asked for, and in
// stored order (rowid) among equals, so "the first match" is always the oldest row.
class RecordSet
{
public:
    explicit RecordSet(QSqlDatabase db = {});

    // Every row of the table, in stored order.
    Done openAll(const QString &table);
    // The rows whose columns equal the values, the comparisons joined by and/or.
    Done open(const QString &table, const QList<Match> &criteria, Join join = Join::And);
    // The rows with these rowids, in stored order: all columns, or only those named.
    Done openRowIds(const QString &table, const QList<qint64> &rowIds, const QStringList &columns = {});

    bool atEnd() const { return m_pos >= m_rows.size(); }
    void moveNext() { ++m_pos; }
    void moveFirst() { m_pos = 0; }
    qsizetype count() const { return m_rows.size(); }

    // A column of the current row, its name matched without regard to letter case. Null when it holds no value.
    QVariant field(const QString &name) const;
    // The same as text; a column without a value gives empty text.
    QString text(const QString &name) const;
    qint64 rowId() const;

    // Deletes the current row from the table at once.
    Done deleteCurrent();
    // Adds a row to the table the set was opened on; columns not named stay without a value.
    Done addNew(const QList<FieldValue> &values);
    // The row number of the row added last.
    qint64 lastAdded() const { return m_lastAdded; }

    void close();

private:
    Done run(const QString &table, const QString &sql, const QVariantList &binds);

    QSqlDatabase m_db;
    QString m_table;
    QSqlRecord m_columns;       // the names of the columns, looked up without regard to letter case
    QList<QVariantList> m_rows; // each row's values, in column order
    qsizetype m_pos = 0;
    qint64 m_lastAdded = -1;
};
