#include "feeds/feeddates.h"

#include <array>

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// Digits at pos, exactly count of them, as a number; -1 when they are not there.
int digitsAt(QStringView text, qsizetype pos, int count)
{
    if (pos < 0 || pos + count > text.size())
        return -1;
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const QChar c = text[pos + i];
        if (!isAsciiDigit(c))
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

QDateTime utcTime(int year, int month, int day, int hour, int minute, int second, int offsetSeconds)
{
    // Releases are of this age; the calendar types would take far wider years, and a leap second is its
    // minute's last.
    const QDate date(year, month, day);
    if (year < 1970 || year > 9999 || !date.isValid() || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 60)
        return {};
    return QDateTime(date, QTime(hour, minute, qMin(second, 59)), Qt::UTC).addSecs(-offsetSeconds);
}

// "+0800", "-05:00", "+08" as seconds east of UTC; -1 (never a valid result here) for anything else.
constexpr int noOffset = -1;

int numericOffset(QStringView zone)
{
    if (zone.size() < 3 || (zone[0] != QLatin1Char('+') && zone[0] != QLatin1Char('-')))
        return noOffset;
    const int hours = digitsAt(zone, 1, 2);
    int minutes = 0;
    if (zone.size() == 5)
        minutes = digitsAt(zone, 3, 2);
    else if (zone.size() == 6 && zone[3] == QLatin1Char(':'))
        minutes = digitsAt(zone, 4, 2);
    else if (zone.size() != 3)
        return noOffset;
    if (hours < 0 || hours > 14 || minutes < 0 || minutes > 59)
        return noOffset;
    const int seconds = (hours * 60 + minutes) * 60;
    return zone[0] == QLatin1Char('-') ? -seconds : seconds;
}

int offsetOfZone(QStringView zone)
{
    // "GMT+0800" is "+0800".
    if (zone.size() > 3 && (zone.startsWith(u"GMT") || zone.startsWith(u"UTC")))
        zone = zone.mid(3);
    if (zone.startsWith(QLatin1Char('+')) || zone.startsWith(QLatin1Char('-')))
        return numericOffset(zone);
    // The zones of the e-mail format, and a few more that sites write. CST is the American one, as the format
    // has it. A zone nobody knows counts as UTC, as the format asks.
    static const struct
    {
        const char16_t *name;
        int hours;
    } zones[] = {{u"UT", 0},   {u"UTC", 0},  {u"GMT", 0},  {u"Z", 0},    {u"EST", -5}, {u"EDT", -4},
                 {u"CST", -6}, {u"CDT", -5}, {u"MST", -7}, {u"MDT", -6}, {u"PST", -8}, {u"PDT", -7},
                 {u"JST", 9},  {u"KST", 9},  {u"HKT", 8},  {u"CET", 1},  {u"CEST", 2}};
    for (const auto &z : zones) {
        if (zone.compare(QStringView(z.name), Qt::CaseInsensitive) == 0)
            return z.hours * 3600;
    }
    return 0;
}

int monthFromName(QStringView name)
{
    static const char16_t *const months[] = {u"jan", u"feb", u"mar", u"apr", u"may", u"jun",
                                             u"jul", u"aug", u"sep", u"oct", u"nov", u"dec"};
    if (name.size() < 3)
        return -1;
    for (int i = 0; i < 12; ++i) {
        if (name.left(3).compare(QStringView(months[i]), Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return -1;
}

} // namespace

QDateTime dateFromRfc822(QStringView text)
{
    // Words split at blanks and commas; a date has six at most, a seventh may be a comment such as "(CST)".
    std::array<QStringView, 7> words;
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size() && count < qsizetype(words.size());) {
        const qsizetype start = i;
        while (i < text.size() && text[i] != QLatin1Char(' ') && text[i] != QLatin1Char(','))
            ++i;
        if (i > start)
            words[count++] = text.mid(start, i - start);
        ++i;
    }
    // The weekday is optional and says nothing the date does not.
    const qsizetype w = count > 0 && isAsciiLetter(words[0][0]) ? 1 : 0;
    if (count - w < 4)
        return {};
    const QStringView dayText = words[w], yearText = words[w + 2], timeText = words[w + 3];
    const int day = dayText.size() <= 2 ? digitsAt(dayText, 0, int(dayText.size())) : -1;
    const int month = monthFromName(words[w + 1]);
    int year = yearText.size() == 4 || yearText.size() == 2 ? digitsAt(yearText, 0, int(yearText.size())) : -1;
    if (yearText.size() == 2 && year >= 0)
        year += year < 50 ? 2000 : 1900;
    // "0:15", "00:15" or "00:15:03".
    const qsizetype colon = timeText.indexOf(QLatin1Char(':'));
    const int hour = colon == 1 || colon == 2 ? digitsAt(timeText, 0, int(colon)) : -1;
    const int minute = digitsAt(timeText, colon + 1, 2);
    int second = 0;
    if (timeText.size() == colon + 6 && timeText[colon + 3] == QLatin1Char(':'))
        second = digitsAt(timeText, colon + 4, 2);
    else if (timeText.size() != colon + 3)
        return {};
    if (day < 0 || month < 0 || year < 0 || hour < 0 || minute < 0 || second < 0)
        return {};
    const QStringView zone = count > w + 4 ? words[w + 4] : QStringView();
    const int offset = offsetOfZone(zone);
    return offset == noOffset ? QDateTime() : utcTime(year, month, day, hour, minute, second, offset);
}

QDateTime dateFromIso(QStringView text, int defaultOffsetSeconds)
{
    const QStringView t = text.trimmed();
    const int year = digitsAt(t, 0, 4), month = digitsAt(t, 5, 2), day = digitsAt(t, 8, 2);
    if (year < 0 || month < 0 || day < 0 || t[4] != QLatin1Char('-') || t[7] != QLatin1Char('-'))
        return {};
    if (t.size() == 10)
        return utcTime(year, month, day, 0, 0, 0, defaultOffsetSeconds);
    if (t[10] != QLatin1Char('T') && t[10] != QLatin1Char(' '))
        return {};
    const int hour = digitsAt(t, 11, 2), minute = digitsAt(t, 14, 2);
    if (hour < 0 || minute < 0 || t[13] != QLatin1Char(':'))
        return {};
    qsizetype pos = 16;
    int second = 0;
    if (pos < t.size() && t[pos] == QLatin1Char(':')) {
        second = digitsAt(t, pos + 1, 2);
        pos += 3;
        // Fractions of a second are dropped.
        if (pos < t.size() && (t[pos] == QLatin1Char('.') || t[pos] == QLatin1Char(','))) {
            ++pos;
            while (pos < t.size() && isAsciiDigit(t[pos]))
                ++pos;
        }
    }
    const QStringView zone = t.mid(pos);
    int offset = defaultOffsetSeconds;
    if (zone == u"Z" || zone == u"z")
        offset = 0;
    else if (!zone.isEmpty())
        offset = numericOffset(zone);
    return second < 0 || offset == noOffset ? QDateTime() : utcTime(year, month, day, hour, minute, second, offset);
}
