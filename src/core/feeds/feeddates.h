#pragma once

#include <QDateTime>
#include <QStringView>

// The times feeds write, read without trusting them: an invalid time for anything malformed or absurd.

// An e-mail style date ("Sat, 13 Apr 2024 00:15:03 +0800", "13 Apr 24 00:15 GMT", named zones), in UTC.
QDateTime dateFromRfc822(QStringView text);
// An ISO 8601 date and time ("2024-04-13T00:15:03.557+08:00"); one without an offset is taken at the given one.
QDateTime dateFromIso(QStringView text, int defaultOffsetSeconds);
