#pragma once

#include <QString>

// The result of a change to the data: empty error means it was done.
struct Outcome
{
    QString error;

    bool ok() const { return error.isEmpty(); }
    static Outcome done() { return {}; }
    static Outcome failed(const QString &why) { return {why.isEmpty() ? QStringLiteral("unknown error") : why}; }
};
