#include "data/recordset.h"

#include "data/module1.h"
#include "data/sqlerror.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {
// Table and column names come from the program, never from the user; still, quote them so that no name can
// change a statement.
QString quoted(const QString &identifier);

// A typed field that is empty is empty text, not "no value": bind it as ''.
QVariant bindable(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString && value.toString().isNull())
        return QVariant(QStringLiteral(""));
    return value;
}

QString quoted(const QString &identifier)
{
    QString inner = identifier;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}
} // namespace

RecordSet::RecordSet(QSqlDatabase db) : m_db(db.isValid() ? db : Module1::Conn()) {}

Done RecordSet::openAll(const QString &table)
{
    return run(table,
               QStringLiteral("select rowid as _korvane_rowid, * from ") + quoted(table) +
                   QStringLiteral(" order by rowid asc"),
               {});
}

Done RecordSet::open(const QString &table, const QList<Match> &criteria, Join join)
{
    QString sql = QStringLiteral("select rowid as _korvane_rowid, * from ") + quoted(table);
    QVariantList binds;
    if (!criteria.isEmpty()) {
        QStringList parts;
        for (const Match &m : criteria) {
            parts << quoted(m.column) + QStringLiteral(" = ?");
            binds << bindable(m.value);
        }
        sql += QStringLiteral(" where ") +
               parts.join(join == Join::And ? QStringLiteral(" and ") : QStringLiteral(" or "));
    }
    sql += QStringLiteral(" order by rowid asc");
    return run(table, sql, binds);
}

Done RecordSet::openRowIds(const QString &table, const QList<qint64> &rowIds, const QStringList &columns)
{
    QStringList wanted;
    for (const QString &column : columns)
        wanted << quoted(column);
    // Row ids are the program's own numbers, never typed text: written into the statement they need no binding,
    // and one statement serves any number of them.
    QString ids;
    ids.reserve(rowIds.size() * 8);
    for (const qint64 id : rowIds) {
        if (!ids.isEmpty())
            ids += QLatin1Char(',');
        ids += QString::number(id);
    }
    return run(table,
               QStringLiteral("select rowid as _korvane_rowid, ") +
                   (wanted.isEmpty() ? QStringLiteral("*") : wanted.join(QLatin1Char(','))) + QStringLiteral(" from ") +
                   quoted(table) + QStringLiteral(" where rowid in (") + ids + QStringLiteral(") order by rowid asc"),
               {});
}

Done RecordSet::run(const QString &table, const QString &sql, const QVariantList &binds)
{
    m_rows.clear();
    m_pos = 0;
    m_table = table;
    if (!m_db.isOpen())
        return Module1::unavailable();
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return sqlFailure(query.lastError());
    for (const QVariant &value : binds)
        query.addBindValue(value);
    if (!query.exec())
        return sqlFailure(query.lastError());
    m_columns = query.record();
    const int width = m_columns.count();
    while (query.next()) {
        QVariantList values;
        values.reserve(width);
        for (int i = 0; i < width; ++i)
            values << query.value(i);
        m_rows << values;
    }
    if (query.lastError().isValid()) {
        m_rows.clear();
        return sqlFailure(query.lastError());
    }
    return {};
}

QVariant RecordSet::field(const QString &name) const
{
    if (atEnd())
        return {};
    // QSqlRecord looks names up without regard to letter case, as the table's columns are named.
    const int column = m_columns.indexOf(name);
    return column < 0 ? QVariant() : m_rows[m_pos].at(column);
}

QString RecordSet::text(const QString &name) const
{
    const QVariant value = field(name);
    return value.isNull() ? QString() : value.toString();
}

qint64 RecordSet::rowId() const
{
    return atEnd() ? -1 : m_rows[m_pos].at(0).toLongLong(); // every statement reads the rowid first
}

Done RecordSet::deleteCurrent()
{
    if (atEnd())
        return failure(ErrorCode::NotFound, QStringLiteral("no current row"));
    QSqlQuery query(m_db);
    if (!query.prepare(QStringLiteral("delete from ") + quoted(m_table) + QStringLiteral(" where rowid = ?")))
        return sqlFailure(query.lastError());
    query.addBindValue(rowId());
    if (!query.exec())
        return sqlFailure(query.lastError());
    return {};
}

Done RecordSet::addNew(const QList<FieldValue> &values)
{
    if (!m_db.isOpen())
        return Module1::unavailable();
    QStringList columns;
    QStringList marks;
    for (const FieldValue &v : values) {
        columns << quoted(v.column);
        marks << QStringLiteral("?");
    }
    QSqlQuery query(m_db);
    const QString sql = values.isEmpty()
                            ? QStringLiteral("insert into ") + quoted(m_table) + QStringLiteral(" default values")
                            : QStringLiteral("insert into ") + quoted(m_table) + QStringLiteral(" (") +
                                  columns.join(QLatin1Char(',')) + QStringLiteral(") values (") +
                                  marks.join(QLatin1Char(',')) + QStringLiteral(")");
    if (!query.prepare(sql))
        return sqlFailure(query.lastError());
    for (const FieldValue &v : values)
        query.addBindValue(bindable(v.value));
    if (!query.exec())
        return sqlFailure(query.lastError());
    m_lastAdded = query.lastInsertId().toLongLong();
    return {};
}

void RecordSet::close()
{
    m_rows.clear();
    m_pos = 0;
}
