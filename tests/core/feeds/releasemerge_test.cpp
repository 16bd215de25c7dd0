#include "feeds/releasemerge.h"
#include "support/coretest.h"

#include <array>
#include <vector>

// Releases as several sites list them, and what the window shows: title|hash|sites per line.
TEST(ReleaseMatch, MergedOncePerRelease)
{
    const struct
    {
        std::vector<std::array<const char *, 3>> releases; // title, info hash, site
        const char *shown;
    } rows[] = {
        // clang-format off
        {{{"A - 09", "h1", "nyaa"}, {"Other name", "h1", "mikan"}}, "A - 09|h1|nyaa,mikan"},
        {{{"A - 09", "", "bt"}, {" a - 09 ", "h1", "nyaa"}}, "A - 09|h1|bt,nyaa"},
        {{{"A - 09", "h1", "s1"}, {"A - 09", "h2", "s2"}}, "A - 09|h1|s1; A - 09|h2|s2"},
        {{{"A", "", "s1"}, {"B", "h1", "s2"}, {"A", "h1", "s3"}}, "A||s1; B|h1|s2,s3"},
        {{{"A", "h1", "s1"}, {"a", "h1", "s1"}}, "A|h1|s1"},
        // clang-format on
    };
    for (const auto &[releases, expected] : rows) {
        QList<FoundRelease> found;
        for (const auto &[title, hash, site] : releases) {
            Release r;
            r.title = u(title);
            r.infoHash = u(hash);
            mergeRelease(found, r, u(site));
        }
        QStringList shown;
        for (const FoundRelease &f : found)
            shown << f.release.title + u'|' + f.release.infoHash + u'|' + f.sites.join(u',');
        EXPECT_EQ(shown.join(QStringLiteral("; ")), u(expected));
    }
}
