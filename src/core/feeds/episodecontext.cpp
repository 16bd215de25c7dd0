#include "feeds/episodecontext.h"

namespace episodecontext {

namespace {

bool isIn(QChar c, QStringView set)
{
    return set.contains(c);
}

// Codecs and audio written with a number apart: "H 264", "H.264", "x 265", "E-AC-3".
bool isCodecWord(QStringView word)
{
    return isOneOf(word, {u"h", u"x", u"ac", u"aac", u"dd", u"ddp", u"dts", u"flac", u"opus", u"mpeg"});
}

bool isEndWord(QStringView word)
{
    return isOneOf(word, {u"end", u"fin", u"final"});
}

// "S02" right before "E09".
bool seasonBefore(QStringView t, qsizetype pos)
{
    while (pos > 0 && isDigit(t[pos - 1]))
        --pos;
    const QStringView word = wordBefore(t, pos);
    return isOneOf(word, {u"s"}) && (pos - 1 == 0 || !isDigit(t[pos - 2]));
}

// "2nd Season", "Second Season": the season is told, so a number after the word is the episode.
bool ordinalBefore(QStringView t, qsizetype wordStart)
{
    qsizetype q = wordStart;
    while (q > 0 && t[q - 1] == QLatin1Char(' '))
        --q;
    const QStringView word = wordBefore(t, q);
    if (isOneOf(word, {u"first", u"second", u"third", u"fourth", u"fifth", u"final"}))
        return true;
    return isOneOf(word, {u"st", u"nd", u"rd", u"th"}) && q - word.size() > 0 && isDigit(t[q - word.size() - 1]);
}

// Blanks, and dots between words ("Title.01.mkv"); a dot between digits is a decimal point.
bool isSeparatorBack(QStringView t, qsizetype q)
{
    return t[q] == QLatin1Char(' ') || (t[q] == QLatin1Char('.') && !(q > 0 && isDigit(t[q - 1])));
}

bool isSeparatorForward(QStringView t, qsizetype q)
{
    return t[q] == QLatin1Char(' ') || (t[q] == QLatin1Char('.') && !(q + 1 < t.size() && isDigit(t[q + 1])));
}

} // namespace

QString normalized(const QString &title)
{
    QString t = title;
    for (QChar &c : t) {
        char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            u = char16_t(u - 0xFEE0);
        if (u == u'_' || QChar(u).isSpace())
            u = u' ';
        else if ((u >= 0x2010 && u <= 0x2015) || u == 0x2212)
            u = u'-';
        else if (u == 0x301C)
            u = u'~';
        else if (u == u'×')
            u = u'x';
        else if (u > 0x7F && QChar(u).isDigit())
            u = char16_t(u'0' + QChar(u).digitValue());
        c = QChar(u);
    }
    return t;
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

QStringView wordBefore(QStringView t, qsizetype end)
{
    qsizetype start = end;
    while (start > 0 && isLetter(t[start - 1]))
        --start;
    return t.mid(start, end - start);
}

QStringView wordAt(QStringView t, qsizetype start)
{
    qsizetype end = start;
    while (end < t.size() && isLetter(t[end]))
        ++end;
    return t.mid(start, end - start);
}

bool isOneOf(QStringView word, std::initializer_list<const char16_t *> words)
{
    for (const char16_t *w : words) {
        if (word.compare(QStringView(w), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool isEpisodeWord(QStringView word)
{
    return isOneOf(word, {u"e", u"ep", u"eps", u"episode", u"episodes"});
}

qsizetype digitsAt(QStringView t, qsizetype i)
{
    qsizetype n = 0;
    while (i + n < t.size() && isDigit(t[i + n]))
        ++n;
    return n;
}

bool enclosed(QStringView t, qsizetype start, qsizetype end, bool parentheses)
{
    if (start == 0 || end >= t.size())
        return false;
    const QStringView open = parentheses ? u"[【{(" : u"[【{", close = parentheses ? u"]】})" : u"]】}";
    return isIn(t[start - 1], open) && isIn(t[end], close);
}

Level before(QStringView t, qsizetype s, qsizetype e)
{
    if (s == 0)
        return Bare;
    const QChar p = t[s - 1], pp = s >= 2 ? t[s - 2] : QChar();
    if (isLetter(p)) {
        // "EP09", "E09" and "S02E09"; other letters make a word of it ("x264", "S2", "Hi10P", "SP01").
        const QStringView word = wordBefore(t, s);
        const qsizetype wordStart = s - word.size();
        if (isEpisodeWord(word)) {
            if (wordStart == 0 || !(isLetter(t[wordStart - 1]) || isDigit(t[wordStart - 1])))
                return Marked;
            return word.size() <= 2 && seasonBefore(t, wordStart) ? Marked : None;
        }
        // "1x09": a season of one or two digits, an episode of two or three ("1920x1080" is a size).
        if (isOneOf(word, {u"x"}) && wordStart > 0 && isDigit(t[wordStart - 1]) && e - s >= 2 && e - s <= 3) {
            qsizetype season = wordStart;
            while (season > 0 && isDigit(t[season - 1]))
                --season;
            if (wordStart - season <= 2 && (season == 0 || !(isLetter(t[season - 1]) || isDigit(t[season - 1]))))
                return Marked;
        }
        return None;
    }
    // Decimals, times, dates, sizes; a dot before three digits or more parts words ("Title.01.1080p").
    if (isIn(p, u".:/,*") && isDigit(pp) && (p != QLatin1Char('.') || e - s < 3))
        return None;
    if (p == QLatin1Char('-') && isLetter(pp)) {
        const QStringView word = wordBefore(t, s - 1);
        if (isCodecWord(word))
            return None; // "E-AC-3"
        if (isEpisodeWord(word))
            return Marked; // "episode-25"
    }
    qsizetype q = s - 1;
    while (q >= 0 && isSeparatorBack(t, q))
        --q;
    if (q < 0)
        return Bare;
    const QChar c = t[q];
    if (c == QLatin1Char('-'))
        return Dashed;
    if (c == u'第' || c == QLatin1Char('#'))
        return Marked;
    if (isLetter(c)) {
        const QStringView word = wordBefore(t, q + 1);
        if (isEpisodeWord(word))
            return Marked;
        if (isOneOf(word, {u"season"}))
            return ordinalBefore(t, q + 1 - word.size()) ? Bare : None;
        if (isOneOf(word, {u"s", u"part", u"vol", u"volume", u"cour", u"ver", u"version", u"movie", u"film"}) ||
            isCodecWord(word))
            return None;
    }
    return Bare;
}

Level after(QStringView t, qsizetype e)
{
    if (e == t.size())
        return Bare;
    const QChar n = t[e], nn = e + 1 < t.size() ? t[e + 1] : QChar();
    if (isLetter(n)) {
        // The last episode ("12END"); other letters make a unit or a word ("1080p", "10bit", "2nd", "4K").
        const QStringView word = wordAt(t, e);
        if (isEndWord(word))
            return Marked;
        return isOneOf(word, {u"tv"}) ? Bare : None;
    }
    if (isIn(n, u".:/,*") && isDigit(nn) && (n != QLatin1Char('.') || digitsAt(t, e + 1) < 3))
        return None;
    // Seasons, parts, volumes, months, years, days, times, degrees, bits.
    if (isIn(n, u"%季期部月年日号號巻卷弾弹章篇时時分秒°位"))
        return None;
    qsizetype q = e;
    while (q < t.size() && isSeparatorForward(t, q))
        ++q;
    if (q == t.size())
        return Bare;
    const QChar c = t[q];
    if (isIn(c, u"话話集回"))
        return Marked;
    if (isLetter(c)) {
        const QStringView word = wordAt(t, q);
        const qsizetype wordEnd = q + word.size();
        if (isEndWord(word))
            return Marked;
        if (isOneOf(word, {u"bit", u"bits", u"fps", u"season", u"gb", u"mb", u"gib", u"mib"}))
            return None;
        if (isOneOf(word, {u"of"}) && wordEnd + 1 < t.size() && t[wordEnd] == QLatin1Char(' ') &&
            isDigit(t[wordEnd + 1]))
            return Marked; // "01 of 12"
    }
    return Bare;
}

bool wordJoinedAfter(QStringView t, qsizetype end)
{
    if (end + 1 >= t.size() || t[end] != QLatin1Char('-') || !isLetter(t[end + 1]))
        return false;
    // Not a batch's "01-E12" or "01-TV", nor "12-END".
    const QStringView word = wordAt(t, end + 1);
    const qsizetype wordEnd = end + 1 + word.size();
    const bool range = isEpisodeWord(word) && wordEnd < t.size() && isDigit(t[wordEnd]);
    return !range && !isOneOf(word, {u"tv", u"end", u"fin", u"final"});
}

bool seasonEpisodeAt(QStringView t, qsizetype start)
{
    if (start == 0 || !isLetter(t[start - 1]))
        return false;
    const QStringView word = wordBefore(t, start);
    const qsizetype wordStart = start - word.size();
    if (wordStart == 0)
        return false;
    return (isOneOf(word, {u"e", u"ep"}) && seasonBefore(t, wordStart)) ||
           (isOneOf(word, {u"x"}) && isDigit(t[wordStart - 1]));
}

bool wordFollows(QStringView t, qsizetype end)
{
    if (end + 2 >= t.size() || t[end] != QLatin1Char(' '))
        return false;
    // A name's word has small letters; tags are written in capitals ("WEB", "BD", "END") or with a number ("v2").
    const QStringView word = wordAt(t, end + 1);
    if (word.size() < 2)
        return false;
    for (const QChar c : word) {
        if (c.isLower())
            return true;
    }
    return false;
}

bool specialBefore(QStringView t, qsizetype start)
{
    qsizetype q = start;
    for (int words = 0; words < 2; ++words) {
        while (q > 0 && isIn(t[q - 1], u" -.[]【】()第"))
            --q;
        const QStringView word = wordBefore(t, q);
        if (isOneOf(word, {u"sp", u"ova", u"oad", u"oav", u"ovd"}))
            return true;
        if (!isEpisodeWord(word)) {
            const QStringView text = t.first(q);
            return text.endsWith(u"特别篇") || text.endsWith(u"特別篇") || text.endsWith(u"番外篇") ||
                   text.endsWith(u"番外");
        }
        q -= word.size(); // "OVA EP01"
    }
    return false;
}

} // namespace episodecontext
