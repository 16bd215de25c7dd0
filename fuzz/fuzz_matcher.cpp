// Any text as a release title: never a crash, never more episodes than a season has, and the group's rule only
// ever narrows the episode's. Episodes are counted where the answer can change: at each number the title writes,
// and one past it; some short titles are asked for every episode up to 5001 as well.

#include "feeds/chinesescript.h"
#include "feeds/releasematch.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr qint64 maxEpisodes = 2000;

void check(bool holds)
{
    if (!holds)
        std::abort();
}

// Every number written in the title, in digits of any script or in Chinese numerals, and the one after each.
QList<qint64> turningPoints(const QString &title)
{
    QList<qint64> points{0};
    qint64 value = 0;
    int digits = 0;
    for (qsizetype i = 0; i <= title.size(); ++i) {
        const int d = i < title.size() ? title[i].digitValue() : -1;
        if (d >= 0 && title[i].isDigit()) {
            value = digits < 9 ? value * 10 + d : value;
            ++digits;
            continue;
        }
        if (digits > 0)
            points << value << value + 1;
        value = digits = 0;
    }
    for (qsizetype i = 0; i < title.size();) {
        qsizetype end = i;
        while (end < title.size() && isChineseNumeral(title[end]))
            ++end;
        for (qsizetype from = i; from < end; ++from) {
            for (qsizetype to = from + 1; to <= end && to - from <= 8; ++to) {
                if (const qint64 v = chineseNumeralValue(QStringView(title).mid(from, to - from)); v >= 0)
                    points << v << v + 1;
            }
        }
        i = std::max(end, i + 1);
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    return points;
}

// How many episodes the title holds: the answer holds still between two turning points.
qint64 episodesHeld(const QString &title, const QList<qint64> &points)
{
    qint64 held = 0;
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (titleHoldsEpisode(title, points[i]))
            held += i + 1 < points.size() ? points[i + 1] - points[i] : 1;
    }
    return held;
}

// Whether the answer for every episode up to 5001 is that of the turning point at or before it: a check of the
// count itself.
bool stillBetweenTurningPoints(const QString &title, const QList<qint64> &points)
{
    qsizetype at = 0;
    bool answer = titleHoldsEpisode(title, 0);
    for (qint64 e = 1; e <= 5001; ++e) {
        const bool holds = titleHoldsEpisode(title, e);
        if (at + 1 < points.size() && points[at + 1] == e) {
            ++at;
            answer = holds;
        }
        if (holds != answer)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The title, then after a line break the group and the names.
    const QString input = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype cut = input.indexOf(QLatin1Char('\n'));
    const QString title = cut < 0 ? input : input.left(cut), names = cut < 0 ? QString() : input.mid(cut + 1);

    const QList<qint64> points = turningPoints(title);
    check(episodesHeld(title, points) <= maxEpisodes);
    // One short title in sixty-four, as each takes five thousand answers.
    if (title.size() <= 12 && data[0] % 64 == 0)
        check(stillBetweenTurningPoints(title, points));
    for (const qint64 episode : points.mid(0, 16)) {
        const bool holds = titleHoldsEpisode(title, episode);
        check(!releaseMatches(title, episode, names) || holds);
        check(releaseMatches(title, episode, QString()) == holds);
        check(releaseMatches(title, episode, title) == holds);
    }
    check(titleNamesWork(title, title, QString()));
    check(titleNamesWork(names + title + names, names, QString()));
    check(!titleHoldsEpisode(title, -1));
    return 0;
}
