#pragma once

#include <QString>
#include <QStringView>

#include <initializer_list>

// How the text around a number in a release title reads it: the episode matcher's vocabulary. The title is first
// normalized(), which keeps every character where it was.

namespace episodecontext {

// How plainly a title writes a number as its episode, weakest first; None: it is something else.
enum Level : int {
    None = 0,
    Bare = 1,      // "Title 09"
    Bracketed = 2, // "[09]", or "- 100 Years" (a dash before a word)
    Dashed = 3,    // "Title - 09"
    Marked = 4,    // "第09话", "EP09", "S01E09", "1x09", "09 of 12", "12END"
};

// Full-width forms as ASCII, every decimal digit as an ASCII one, blanks and "_" as " ", dashes as "-", wave
// dashes as "~", "×" as "x"; one character for one.
QString normalized(const QString &title);

bool isDigit(QChar c);
bool isLetter(QChar c); // ASCII letters only
// A word of ASCII letters ending at end, or starting at start.
QStringView wordBefore(QStringView t, qsizetype end);
QStringView wordAt(QStringView t, qsizetype start);
bool isOneOf(QStringView word, std::initializer_list<const char16_t *> words);
bool isEpisodeWord(QStringView word);
// Digits from position i on.
qsizetype digitsAt(QStringView t, qsizetype i);
// "[", "【", "{" before and "]", "】", "}" after, and "(" ")" too when parentheses are taken.
bool enclosed(QStringView t, qsizetype start, qsizetype end, bool parentheses);

// What the text before the number in [start, end) says of it.
Level before(QStringView t, qsizetype start, qsizetype end);
// What the text after a number ending at end (past a version "v2") says of it.
Level after(QStringView t, qsizetype end);
// Whether a word is joined to the number by a dash ("300-nen", "01-Title"): a name, unless marked as the episode.
bool wordJoinedAfter(QStringView t, qsizetype end);
// Whether the number is a season's episode, "S10E14" or "10x14".
bool seasonEpisodeAt(QStringView t, qsizetype start);
// Whether a word follows the number after a blank ("- 100 Years"): after a dash, the number then begins a name.
bool wordFollows(QStringView t, qsizetype end);
// Whether the number is a special's ("SP01", "OVA - 01", "OAD 2", "特别篇 01", "[特別篇][01]"): no episode of
// the series. Letters right before a number already make it none.
bool specialBefore(QStringView t, qsizetype start);

} // namespace episodecontext
