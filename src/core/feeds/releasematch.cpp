#include "feeds/releasematch.h"

#include "feeds/chinesescript.h"
#include "feeds/episodecontext.h"

#include <QStringView>

#include <algorithm>

using namespace episodecontext;

namespace {

// No season has more episodes: a title that claims more (in one range or in all) holds none.
constexpr qint64 maxEpisodes = 2000;
// Longer runs of digits are no episode: CRCs ("[00000009]"), dates written in one, sizes.
constexpr qsizetype maxEpisodeDigits = 5;

struct Number
{
    qsizetype start = 0, end = 0, tail = 0; // the digits; tail: past a version ("09v2")
    qint64 value = -1;                      // -1: no episode has such a number
    Level before = Bare, after = Bare, level = Bare;
    bool chinese = false; // "第十二话"
    bool inRange = false;
    bool whole = false;     // "全12集": every episode up to it
    qsizetype position = 0; // where the title writes it; for a list ("01+02"), where the list begins
};

// Episodes first..last, as the title writes them at position.
struct Span
{
    qint64 first, last;
    qsizetype position;
    Level level;
};

bool isIn(QChar c, QStringView set)
{
    return set.contains(c);
}

bool isResolution(qint64 value)
{
    return value == 360 || value == 480 || value == 540 || value == 576 || value == 720 || value == 1080 ||
           value == 1440 || value == 2160;
}

// "第十二话", "第 二 集", "全十二集": Chinese numerals are a number only between 第 or 全 and its mark.
qsizetype chineseNumberAt(QStringView t, qsizetype i, QList<Number> &numbers)
{
    qsizetype start = i + 1;
    while (start < t.size() && t[start] == QLatin1Char(' '))
        ++start;
    qsizetype end = start;
    while (end < t.size() && isChineseNumeral(t[end]))
        ++end;
    qsizetype mark = end;
    while (mark < t.size() && t[mark] == QLatin1Char(' '))
        ++mark;
    if (end > start && mark < t.size() && isIn(t[mark], u"话話集回")) {
        Number n;
        n.start = start;
        n.end = n.tail = end;
        n.value = chineseNumeralValue(t.mid(start, end - start));
        n.before = n.after = Marked;
        n.chinese = true;
        n.whole = t[i] == u'全';
        numbers.append(n);
    }
    return std::max(i + 1, end);
}

QList<Number> numbersIn(QStringView t)
{
    QList<Number> numbers;
    for (qsizetype i = 0; i < t.size();) {
        if (t[i] == u'第' || t[i] == u'全') {
            i = chineseNumberAt(t, i, numbers);
            continue;
        }
        if (!isDigit(t[i])) {
            ++i;
            continue;
        }
        Number n;
        n.start = i;
        n.end = n.tail = i + digitsAt(t, i);
        if (n.end - n.start <= maxEpisodeDigits)
            n.value = t.mid(n.start, n.end - n.start).toLongLong();
        if (n.end + 1 < t.size() && (t[n.end] == QLatin1Char('v') || t[n.end] == QLatin1Char('V')) &&
            isDigit(t[n.end + 1]))
            n.tail = n.end + 1 + digitsAt(t, n.end + 1);
        n.before = before(t, n.start, n.end);
        n.after = after(t, n.tail);
        n.whole = n.after == Marked && t.first(n.start).trimmed().endsWith(u'全');
        numbers.append(n);
        i = n.tail;
    }
    return numbers;
}

Level levelOf(QStringView t, const Number &n)
{
    if (n.value < 0 || n.before == None || n.after == None || (n.before != Marked && wordJoinedAfter(t, n.tail)))
        return None;
    Level level = std::max(n.before, n.after);
    if (level == Dashed && n.after < Dashed && wordFollows(t, n.tail))
        level = Bracketed;
    return enclosed(t, n.start, n.tail, false) ? std::max(level, Bracketed) : level;
}

// The end of a group's name bracketed at the start ("[Group]", "【喵萌奶茶屋】"), 0 when there is none. A bracket
// that begins with a number or an episode mark is no name ("[01]", "【第1话】", "[EP01]").
qsizetype groupNameEnd(QStringView t)
{
    qsizetype open = 0;
    while (open < t.size() && t[open] == QLatin1Char(' '))
        ++open;
    if (open == t.size() || !isIn(t[open], u"[【"))
        return 0;
    const qsizetype close = t.indexOf(t[open] == QLatin1Char('[') ? QChar(u']') : QChar(u'】'), open + 1);
    qsizetype first = open + 1;
    while (first < close && t[first] == QLatin1Char(' '))
        ++first;
    if (close < 0 || first == close || isIn(t[first], u"第#"))
        return 0;
    if (isDigit(t[first])) {
        // A name may begin with a number joined to letters ("[0x539]"), not with a version or an end ("[01v2]").
        const qsizetype letters = first + digitsAt(t, first);
        const QStringView word = wordAt(t, letters);
        const bool version = isOneOf(word, {u"v"}) && letters + 1 < close && isDigit(t[letters + 1]);
        return word.isEmpty() || version || isOneOf(word, {u"end", u"fin", u"tv"}) ? 0 : close;
    }
    const QStringView word = wordAt(t, first);
    return isEpisodeWord(word) && first + word.size() < close && isDigit(t[first + word.size()]) ? 0 : close;
}

// A parenthesis right after a number ("02(57)", "- 52 (227)", "10 (1)").
bool afterNumberInParentheses(QStringView t, const Number &n)
{
    if (n.start < 2 || t[n.start - 1] != QLatin1Char('('))
        return false;
    qsizetype q = n.start - 2;
    while (q > 0 && t[q] == QLatin1Char(' '))
        --q;
    return isDigit(t[q]);
}

// In "02(57)" the number in parentheses counts from the first season's first episode, or a copy's ("10 (1)"): not
// the episode. Smaller and of one width ("29 (04)"), it is the season's own count, and the one before the
// absolute.
void readParentheses(QStringView t, Number &previous, Number &n, qsizetype &parenthesisEnd)
{
    if (n.chinese || n.start < parenthesisEnd || !afterNumberInParentheses(t, n))
        return;
    const bool seasonCount =
        t.mid(n.tail).startsWith(u")") && n.value < previous.value && n.end - n.start == previous.end - previous.start;
    if (seasonCount && n.level != None) {
        n.level = previous.level;
        previous.level = None;
        return;
    }
    const qsizetype close = t.indexOf(QLatin1Char(')'), n.start);
    parenthesisEnd = close < 0 ? t.size() : close;
}

// "S10E14 214", "214 10x14": a number beside a season's episode counts from the first season's first episode.
// Both are taken, as a watch list may count either way; not a year or a resolution beside it.
void takeCountsBesideSeasons(QStringView t, QList<Number> &numbers)
{
    const auto beside = [&](Number &n, qsizetype from, qsizetype to) {
        const QStringView between = t.mid(from, to - from);
        const bool separated =
            !between.isEmpty() && between.count(QLatin1Char(' ')) + between.count(QLatin1Char('.')) == between.size();
        const bool year = n.end - n.start == 4 && n.value >= 1900 && n.value <= 2099;
        if (separated && n.level == Bare && !year && !isResolution(n.value))
            n.level = Marked;
    };
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        const Number &m = numbers[i];
        if (m.level != Marked || !seasonEpisodeAt(t, m.start))
            continue;
        qsizetype token = m.start;
        while (token > 0 && (isLetter(t[token - 1]) || isDigit(t[token - 1])))
            --token;
        for (qsizetype j = i - 1; j >= 0; --j) {
            if (numbers[j].tail <= token) {
                beside(numbers[j], numbers[j].tail, token);
                break;
            }
        }
        if (i + 1 < numbers.size())
            beside(numbers[i + 1], m.tail, numbers[i + 1].start);
    }
}

// Numbers that are something else, whatever their own surroundings say.
void dropNonEpisodes(QStringView t, QList<Number> &numbers)
{
    const qsizetype groupEnd = groupNameEnd(t);
    qsizetype parenthesisEnd = -1;
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        Number &n = numbers[i];
        // A year in brackets ("(2009)", "[2018]") or bare ("Title 2019").
        const bool year = !n.chinese && n.end - n.start == 4 && n.value >= 1900 && n.value <= 2099 &&
                          (n.level == Bare || enclosed(t, n.start, n.tail, true));
        if (i > 0)
            readParentheses(t, numbers[i - 1], n, parenthesisEnd);
        if (n.start < groupEnd || year || specialBefore(t, n.start) || n.start < parenthesisEnd)
            n.level = None;
    }
    // A file name that begins with its episode: "05 - Title".
    if (!numbers.isEmpty() && numbers[0].level != None && t.first(numbers[0].start).trimmed().isEmpty() &&
        t.mid(numbers[0].tail).startsWith(u" - "))
        numbers[0].level = std::max(numbers[0].level, Dashed);
}

// Two numbers in a row as a batch range ("01-12", "01~12", "E01-E12", "01v2-03v2", "01 - 12", "01-02-03"), a
// list ("01+02", "8 & 10"), or neither. Numbers joined by a dash that make no range (backwards, wider than a season)
// are no episode at all.
void readRanges(QStringView t, QList<Number> &numbers, QList<Span> &spans)
{
    for (qsizetype i = 0; i + 1 < numbers.size(); ++i) {
        Number &a = numbers[i], &b = numbers[i + 1];
        if (a.chinese || b.chinese)
            continue;
        QStringView between = t.mid(a.tail, b.start - a.tail);
        // Each end with its marks: "第1话-第3话".
        if (!between.isEmpty() && isIn(between.front(), u"话話集回") && between.back() == u'第')
            between = between.sliced(1, between.size() - 2);
        const QStringView sign = between.trimmed();
        if ((sign == u"+" || sign == u"&") && between.size() <= 3 && a.level != None && b.level != None) {
            a.level = b.level = std::max(a.level, b.level);
            b.position = a.position;
            continue;
        }
        const bool joined =
            !between.isEmpty() && isIn(between[0], u"-~") && (between.size() == 1 || isEpisodeWord(between.mid(1)));
        const qsizetype widthA = a.end - a.start, widthB = b.end - b.start;
        // Blanks only between numbers of one width, or from one written with its zero: "Title 2 - 09" is a
        // title and an episode, "01 - 119" a batch.
        const bool spaced = !joined && between.size() <= 3 && sign.size() == 1 && isIn(sign[0], u"-~") && widthA >= 2 &&
                            (widthA == widthB || t[a.start] == QLatin1Char('0'));
        if (!joined && !spaced)
            continue;
        // A unit after the second number: of both when it is a word of its own ("第1-2季"); else of the second
        // alone, which then is no part of a range ("episode-25-1080p").
        if (b.value >= 0 && b.after == None) {
            if (joined && !isLetter(t[b.tail]))
                a.level = None;
            continue;
        }
        const bool range = a.level != None && b.level != None && b.value > a.value && b.value - a.value < maxEpisodes;
        if (!range) {
            if (joined)
                a.level = b.level = None;
            continue;
        }
        Level level = std::max(a.before, b.after);
        if (enclosed(t, a.start, b.tail, true))
            level = std::max(level, Bracketed);
        if (a.inRange && spans.last().last == a.value) { // "01-02-03"
            spans.last().last = b.value;
            spans.last().level = std::max(spans.last().level, level);
        } else {
            spans.append(Span{a.value, b.value, a.position, level});
        }
        a.inRange = b.inRange = true;
    }
}

// The episodes a title holds: those it writes the plainest way. Of bare numbers alone, the last: a work's
// own number comes before its episode ("Title 2 09"), a resolution is never one.
QList<Span> episodesOf(const QString &title)
{
    const QString text = normalized(title);
    const QStringView t(text);
    QList<Number> numbers = numbersIn(t);
    for (Number &n : numbers) {
        n.level = levelOf(t, n);
        n.position = n.start;
    }
    dropNonEpisodes(t, numbers);
    takeCountsBesideSeasons(t, numbers);
    QList<Span> spans;
    readRanges(t, numbers, spans);
    for (const Number &n : numbers) {
        if (!n.inRange && n.level != None)
            spans.append(Span{n.whole ? 1 : n.value, n.value, n.position, n.level});
    }
    Level top = None;
    for (const Span &s : spans)
        top = std::max(top, s.level);
    spans.removeIf([top](const Span &s) { return s.level < top; });
    if (spans.size() > 1 &&
        std::any_of(spans.begin(), spans.end(), [](const Span &s) { return !isResolution(s.first); }))
        spans.removeIf([](const Span &s) { return s.first == s.last && isResolution(s.first); });
    if (top == Bare && spans.size() > 1) {
        const qsizetype last = std::max_element(spans.begin(), spans.end(), [](const Span &a, const Span &b) {
                                   return a.position < b.position;
                               })->position;
        spans.removeIf([last](const Span &s) { return s.position != last; });
    }
    // More episodes than a season has, in all: a list of something else.
    std::sort(spans.begin(), spans.end(), [](const Span &a, const Span &b) { return a.first < b.first; });
    qint64 count = 0, covered = -1;
    for (const Span &s : spans) {
        count += std::max<qint64>(0, s.last - std::max(s.first, covered + 1) + 1);
        covered = std::max(covered, s.last);
    }
    return count > maxEpisodes ? QList<Span>() : spans;
}

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0x7F; });
}

// A name as it is compared: full-width forms as ASCII, without letter case or blanks.
QString foldedName(const QString &text)
{
    QString folded;
    folded.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E)
            c = QChar(char16_t(c.unicode() - 0xFEE0));
        if (!c.isSpace() && c != QLatin1Char('_'))
            folded.append(c);
    }
    return folded.toCaseFolded();
}

// Whether the title holds the name, in either Chinese script. Titles are converted only when a Chinese name is not
// found as it is written.
bool holdsName(const QString &title, const QString &name)
{
    const QString plainName = foldedName(name), plainTitle = foldedName(title);
    if (plainTitle.contains(plainName))
        return true;
    return !isAscii(plainName) && !isAscii(plainTitle) &&
           simplifiedChinese(plainTitle).contains(simplifiedChinese(plainName));
}

} // namespace

bool titleHoldsEpisode(const QString &title, qint64 episode)
{
    if (episode < 0)
        return false;
    const QList<Span> spans = episodesOf(title);
    return std::any_of(spans.begin(), spans.end(),
                       [episode](const Span &s) { return episode >= s.first && episode <= s.last; });
}

bool releaseMatches(const QString &title, qint64 episode, const QString &group)
{
    return titleHoldsEpisode(title, episode) && (foldedName(group).isEmpty() || holdsName(title, group));
}

bool titleNamesWork(const QString &title, const QString &searchName, const QString &workName)
{
    const bool search = !foldedName(searchName).isEmpty(), work = !foldedName(workName).isEmpty();
    return (!search && !work) || (search && holdsName(title, searchName)) || (work && holdsName(title, workName));
}
