#pragma once

#include "import/jetreader.h"

#include <QByteArray>
#include <QFile>
#include <QMap>

// A Jet file's tables held in memory; reading the table named in failOn fails.
class FakeJetReader : public JetReader
{
public:
    QMap<QString, JetTable> tables;
    QString failOn;

    QStringList tableNames() override { return tables.keys(); }
    Outcome readTable(const QString &name, JetTable &table) override
    {
        if (name == failOn)
            return Outcome::failed(QStringLiteral("page 42 cannot be read"));
        table = tables.value(name);
        return Outcome::done();
    }
};

// Writes a file whose header says Jet (the fake reader stands in for its contents) and returns its bytes.
inline QByteArray writeJetStandIn(const QString &path)
{
    QByteArray bytes("\x00\x01\x00\x00Standard Jet DB\x00", 20);
    bytes += QByteArray(2028, '\x5a');
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return bytes;
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
