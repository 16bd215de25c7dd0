#include "feeds/releasematch.h"

#include <QStringView>

#include <initializer_list>

namespace {

// How a number in a title reads: no episode at all, a bare number, or one the title marks as its episode.
enum class Kind { None, Bare, Marked };

struct Run
{
    qsizetype start = 0, end = 0;
    qint64 value = -1; // -1 for more digits than an episode has
    Kind kind = Kind::Bare;
    bool inRange = false;
};

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isIn(QChar c, QStringView set)
{
    return set.contains(c);
}

bool isOneOf(QStringView word, std::initializer_list<const char16_t *> words)
{
    for (const char16_t *w : words) {
        if (word.compare(QStringView(w), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QStringView letterWordBefore(QStringView t, qsizetype end)
{
    qsizetype start = end;
    while (start > 0 && isLetter(t[start - 1]))
        --start;
    return t.mid(start, end - start);
}

QStringView letterWordAt(QStringView t, qsizetype start)
{
    qsizetype end = start;
    while (end < t.size() && isLetter(t[end]))
        ++end;
    return t.mid(start, end - start);
}

bool isEpisodeWord(QStringView word)
{
    return isOneOf(word, {u"e", u"ep", u"episode"});
}

// Full-width forms as ASCII, every decimal digit as an ASCII one, dashes and wave dashes as "-" and "~".
QString normalized(const QString &title)
{
    QString t = title;
    for (QChar &c : t) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(char16_t(u - 0xFEE0));
        else if (u == 0x3000)
            c = QLatin1Char(' ');
        else if (u >= 0x2010 && u <= 0x2015)
            c = QLatin1Char('-');
        else if (u == 0x301C)
            c = QLatin1Char('~');
        else if (u > 0x7F && c.isDigit())
            c = QChar(char16_t(u'0' + c.digitValue()));
    }
    return t;
}

// "S02" right before "E09".
bool seasonBefore(QStringView t, qsizetype pos)
{
    while (pos > 0 && isDigit(t[pos - 1]))
        --pos;
    const QStringView word = letterWordBefore(t, pos);
    return isOneOf(word, {u"s"}) && (pos - 1 == 0 || !isDigit(t[pos - 2]));
}

// What the text in front of a number says of it.
Kind kindBefore(QStringView t, qsizetype s)
{
    if (s == 0)
        return Kind::Bare;
    const QChar p = t[s - 1], pp = s >= 2 ? t[s - 2] : QChar();
    if (isLetter(p)) {
        // "EP09", "E09" and "S02E09"; any other letters make it part of a word ("x264", "v2", "S2", "Hi10P").
        const QStringView word = letterWordBefore(t, s);
        const qsizetype wordStart = s - word.size();
        if (!isEpisodeWord(word))
            return Kind::None;
        if (wordStart == 0 || !(isLetter(t[wordStart - 1]) || isDigit(t[wordStart - 1])))
            return Kind::Marked;
        return word.size() == 1 && seasonBefore(t, wordStart) ? Kind::Marked : Kind::None;
    }
    if (p == QLatin1Char('.') && isLetter(pp))
        return isEpisodeWord(letterWordBefore(t, s - 1)) ? Kind::Marked : Kind::None; // "Ep.09", not "H.265"
    if (isIn(p, u".:/,*×") && isDigit(pp))
        return Kind::None; // decimals, times, dates, "1920*1080"
    if (p == QLatin1Char(' ') && isLetter(pp)) {
        const QStringView word = letterWordBefore(t, s - 1);
        if (isEpisodeWord(word))
            return Kind::Marked;
        if (isOneOf(word, {u"season", u"s", u"part", u"vol", u"volume", u"cour"}))
            return Kind::None;
    }
    if (isIn(p, u"#第"))
        return Kind::Marked;
    qsizetype before = s - 1;
    while (before > 0 && t[before] == QLatin1Char(' '))
        --before;
    return t[before] == QLatin1Char('-') ? Kind::Marked : Kind::Bare; // "Title - 09"
}

// What the text after a number says of it.
Kind kindAfter(QStringView t, qsizetype e)
{
    if (e == t.size())
        return Kind::Bare;
    const QChar n = t[e], nn = e + 1 < t.size() ? t[e + 1] : QChar();
    if (isLetter(n)) {
        // A version ("09v2") or the last episode ("12END"); other letters make a unit or a word ("1080p",
        // "10bit", "2nd").
        const QStringView word = letterWordAt(t, e);
        const qsizetype wordEnd = e + word.size();
        if (isOneOf(word, {u"v"}) && wordEnd < t.size() && isDigit(t[wordEnd]))
            return Kind::Marked;
        return isOneOf(word, {u"end", u"fin", u"final"}) ? Kind::Marked : Kind::None;
    }
    if (isIn(n, u".:/,*×") && isDigit(nn))
        return Kind::None;
    if (isIn(n, u"话話集回"))
        return Kind::Marked;
    // Seasons, parts, volumes, months, years, days, times.
    if (isIn(n, u"%季期部月年日号號巻卷弾弹章篇时時分秒"))
        return Kind::None;
    if (isIn(n, u" -") && isLetter(nn) &&
        isOneOf(letterWordAt(t, e + 1), {u"bit", u"bits", u"fps", u"season", u"gb", u"mb", u"gib", u"mib"}))
        return Kind::None;
    return Kind::Bare;
}

Kind combined(QStringView t, const Run &run)
{
    const Kind before = kindBefore(t, run.start), after = kindAfter(t, run.end);
    if (before == Kind::None || after == Kind::None)
        return Kind::None;
    const bool bracketed =
        run.start > 0 && run.end < t.size() && isIn(t[run.start - 1], u"[【(") && isIn(t[run.end], u"]】)");
    return before == Kind::Marked || after == Kind::Marked || bracketed ? Kind::Marked : Kind::Bare;
}

QList<Run> digitRuns(QStringView t)
{
    QList<Run> runs;
    for (qsizetype i = 0; i < t.size();) {
        if (!isDigit(t[i])) {
            ++i;
            continue;
        }
        Run run;
        run.start = i;
        qint64 value = 0;
        int significant = 0;
        for (; i < t.size() && isDigit(t[i]); ++i) {
            significant += significant > 0 || t[i] != QLatin1Char('0');
            if (significant <= 18)
                value = value * 10 + (t[i].unicode() - u'0');
        }
        run.end = i;
        run.value = significant <= 18 ? value : -1;
        runs.append(run);
    }
    return runs;
}

// "-" or "~" straight between two numbers, without blanks.
bool joined(QStringView t, const Run &a, const Run &b)
{
    return b.start == a.end + 1 && isIn(t[a.end], u"-~");
}

// Whether two numbers make a batch range: "01-12", "01~12", "01 - 12" (blanks only between numbers of the
// same width, so that "Title 2 - 09" stays a title and an episode).
bool isRange(QStringView t, const Run &a, const Run &b)
{
    const QStringView between = t.mid(a.end, b.start - a.end).trimmed();
    if (between.size() != 1 || !isIn(between[0], u"-~") || b.start - a.end > 3)
        return false;
    const bool blanks = b.start - a.end > 1;
    if (blanks && (a.end - a.start != b.end - b.start || a.end - a.start < 2))
        return false;
    return a.value >= 0 && b.value > a.value && kindBefore(t, a.start) != Kind::None &&
           kindAfter(t, b.end) != Kind::None;
}

} // namespace

bool titleHoldsEpisode(const QString &title, qint64 episode)
{
    if (episode < 0)
        return false;
    const QString text = normalized(title);
    const QStringView t(text);
    QList<Run> runs = digitRuns(t);
    for (Run &run : runs)
        run.kind = combined(t, run);

    bool anyMarked = false, markedHit = false, bareHit = false;
    for (qsizetype i = 0; i + 1 < runs.size(); ++i) {
        Run &a = runs[i], &b = runs[i + 1];
        // Three numbers joined by dashes are a date, none of them an episode ("2024-04-12").
        if (i + 2 < runs.size() && joined(t, a, b) && joined(t, b, runs[i + 2])) {
            a.kind = b.kind = runs[i + 2].kind = Kind::None;
            continue;
        }
        // What joins a number that is none ("Vol.1-6", "S1-2") is none either.
        if (joined(t, a, b) && kindBefore(t, a.start) == Kind::None) {
            b.kind = Kind::None;
            continue;
        }
        if (a.kind != Kind::None && b.kind != Kind::None && isRange(t, a, b)) {
            a.inRange = b.inRange = anyMarked = true;
            markedHit = markedHit || (episode >= a.value && episode <= b.value);
        }
    }
    for (const Run &run : runs) {
        if (run.inRange || run.kind == Kind::None)
            continue;
        const bool hit = run.value == episode;
        if (run.kind == Kind::Marked) {
            anyMarked = true;
            markedHit = markedHit || hit;
        } else {
            bareHit = bareHit || hit;
        }
    }
    return anyMarked ? markedHit : bareHit;
}

bool releaseMatches(const QString &title, qint64 episode, const QString &group)
{
    const QString name = group.simplified();
    return titleHoldsEpisode(title, episode) && (name.isEmpty() || title.contains(name, Qt::CaseInsensitive));
}
