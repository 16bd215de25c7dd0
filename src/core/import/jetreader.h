#pragma once

#include "result.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// One table of an older Jet file: its column names and its rows in stored order. A value is null (no value),
// a QString, a qint64 (whole numbers), a double or a float (numbers with a fraction), or a bool (yes/no).
struct JetTable
{
    QStringList columns;
    QList<QVariantList> rows;
};

// What the conversion needs from a Jet file; the file itself is never written.
class JetReader
{
public:
    virtual ~JetReader() = default;

    // The names of the user tables the file holds.
    virtual QStringList tableNames() = 0;
    // Every row of the named table, in stored order.
    virtual Done readTable(const QString &name, JetTable &table) = 0;
};
