#pragma once

#include "result.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

// When each entry's feeds were last checked, so that a check can tell which releases came out since. Kept in
// ad.mdb in a table of its own, keyed by search name and made when first written: a file without it reads as
// never checked, and the four tables are never touched.
namespace CheckTimes {

// The time of the previous check of every search name that has one.
Result<QHash<QString, QDateTime>> read();

// Records these search names as checked at this time, all in one transaction.
Done write(const QStringList &names, const QDateTime &at);

} // namespace CheckTimes
