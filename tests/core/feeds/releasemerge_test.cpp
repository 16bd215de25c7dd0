#include "feeds/releasemerge.h"
#include "support/coretest.h"

#include <array>
#include <vector>

// Releases as sites list them (a rank: the site's order), and what the window shows: title|hash|seeders|sites a line.
TEST(ReleaseMerge, EachReleaseOnceWithItsSitesInTheirOrderAndWhatEachKnew)
{
    const struct
    {
        std::vector<std::array<const char *, 4>> releases; // title, info hash, seeders, site rank
        const char *shown;
    } rows[] = {
        // clang-format off
        {{{"A - 09", "h1", "", "1"}, {"Other name", "H1", "5", "0"}}, "A - 09|h1|5|s0,s1"},
        {{{"A - 09", "", "", "0"}, {" a - 09 ", "h1", "", "1"}}, "A - 09|h1||s0,s1"},
        {{{"A - 09", "h1", "", "0"}, {"A - 09", "h2", "", "1"}}, "A - 09|h1||s0; A - 09|h2||s1"},
        {{{"A", "", "", "0"}, {"B", "h1", "", "1"}, {"A", "h1", "", "2"}}, "A|||s0; B|h1||s1,s2"},
        {{{"A", "h1", "", "0"}, {"a", "h1", "", "0"}}, "A|h1||s0"},
        // The first without a hash takes the first hash of its title; the next hash starts a release of its own.
        {{{"A", "", "", "0"}, {"A", "", "", "1"}, {"A", "h1", "7", "2"}, {"A", "h2", "", "2"}, {"A", "h1", "", "1"}},
         "A|h1|7|s0,s1,s2; A|h2||s2"},
        {{{"A", "", "", "0"}, {"A", "", "", "1"}}, "A|||s0,s1"},
        // clang-format on
    };
    for (const auto &[releases, expected] : rows) {
        FoundReleases found;
        for (const auto &[title, hash, seeders, rank] : releases) {
            Release r;
            r.title = u(title);
            r.infoHash = u(hash);
            r.seeders = *seeders ? QString::fromLatin1(seeders).toInt() : -1;
            found.add(r, u("s") + QLatin1String(rank), QString::fromLatin1(rank).toInt());
        }
        QStringList shown;
        for (const FoundRelease &f : found.list())
            shown << f.release.title + u'|' + f.release.infoHash + u'|' +
                         (f.release.seeders < 0 ? QString() : QString::number(f.release.seeders)) + u'|' +
                         f.sites.join(u',');
        EXPECT_EQ(shown.join(QStringLiteral("; ")), u(expected));
    }
}

// A feed of thousands: the newest of an answer are kept, those past the room counted, and an entry keeps at most
// its room whatever the number of answers.
TEST(ReleaseMerge, AnEntryKeepsItsNewestReleasesAndCountsTheRest)
{
    QList<Release> answer;
    for (int i = 0; i < 5000; ++i) {
        Release r;
        r.title = u("T ") + QString::number(i);
        if (i % 2)
            r.published = QDateTime::fromSecsSinceEpoch(1700000000 + i, Qt::UTC);
        answer << r;
    }
    QList<Release> few = answer.mid(0, 3);
    EXPECT_EQ(keepNewest(few), 0);
    EXPECT_EQ(few.last().title, u("T 2")); // the feed's order
    EXPECT_EQ(keepNewest(answer), 4800);
    ASSERT_EQ(answer.size(), maxReleasesPerEntry);
    EXPECT_TRUE(answer.first().title == u("T 4999") && answer.last().title == u("T 4601"));

    FoundReleases found;
    for (const Release &r : answer + answer)
        found.add(r, u("s"), 0);
    Release late;
    late.title = u("late");
    found.add(late, u("s"), 0);
    EXPECT_TRUE(found.size() == maxReleasesPerEntry && found.leftOut() == 1);
}
