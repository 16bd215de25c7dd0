#include "feeds/releasematch.h"
#include "support/coretest.h"
#include "tablerows.h"

#include <array>
#include <vector>

// Real-looking titles, with the numbers in them that are no episode.
struct MatchRow
{
    const char *name, *title;
    qint64 episode;
    const char *group;
    bool matches;
};
class ReleaseMatch : public testing::TestWithParam<MatchRow>
{
};

TEST_P(ReleaseMatch, EpisodeAndGroup)
{
    const MatchRow &row = GetParam();
    EXPECT_EQ(releaseMatches(QString::fromUtf8(row.title), row.episode, QString::fromUtf8(row.group)), row.matches);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Titles, ReleaseMatch, testing::Values(
    MatchRow{"ZhBracketed", "【喵萌奶茶屋】★04月新番★[某作品][09][1080p][简体][招募翻译]", 9, "", true},
    MatchRow{"ZhBracketedWithGroup", "【喵萌奶茶屋】★04月新番★[某作品][09][1080p][简体][招募翻译]", 9, "喵萌奶茶屋", true},
    MatchRow{"ZhMonthIsNoEpisode", "【喵萌奶茶屋】★04月新番★[某作品][09][1080p][简体][招募翻译]", 4, "", false},
    MatchRow{"ZhResolution", "【喵萌奶茶屋】★04月新番★[某作品][09][1080p][简体][招募翻译]", 1080, "", false},
    MatchRow{"ZhOtherGroup", "【喵萌奶茶屋】★04月新番★[某作品][09][1080p][简体][招募翻译]", 9, "桜都字幕组", false},
    MatchRow{"ZhSlashTitle", "[桜都字幕组] 某作品 / Title [09][1080P][简繁内封]", 9, "桜都字幕组", true},
    MatchRow{"ZhSlashTitleOtherEpisode", "[桜都字幕组] 某作品 / Title [09][1080P][简繁内封]", 10, "", false},
    MatchRow{"ZhGroupAnyCase", "[LoliHouse] 某作品 - 09 [WebRip 1080p HEVC-10bit AAC]", 9, "lolihouse", true},
    MatchRow{"ZhTenBit", "[LoliHouse] 某作品 - 09 [WebRip 1080p HEVC-10bit AAC]", 10, "", false},
    MatchRow{"ZhDiHua", "[喵萌奶茶屋] 某作品 第09话 [1080p]", 9, "", true},
    MatchRow{"ZhDiJiNoZero", "某作品 第9集 简体中文", 9, "", true},
    MatchRow{"ZhFullWidthDigits", "[喵萌奶茶屋] 某作品 第０９话", 9, "", true},
    MatchRow{"ZhSeasonIsNoEpisode", "[喵萌奶茶屋] 某作品 第2季 第09话 [1080p]", 2, "", false},
    MatchRow{"ZhSeasonThenEpisode", "[喵萌奶茶屋] 某作品 第2季 第09话 [1080p]", 9, "", true},
    MatchRow{"ZhBatch", "[喵萌奶茶屋] 某作品 [01-12 合集][1080p]", 9, "", true},
    MatchRow{"ZhBatchEnds", "[喵萌奶茶屋] 某作品 [01-12 合集][1080p]", 13, "", false},
    MatchRow{"ZhWaveDashBatch", "[某作品][01～12][BDRip 1080p]", 12, "", true},
    MatchRow{"ZhOtherShow", "[桜都字幕组] 星空厨房 [22][1080P]", 9, "", false},
    MatchRow{"JaDiHanashi", "[某作品] 第09話「星の夜」(1080p)", 9, "", true},
    MatchRow{"JaFullWidthHash", "某作品 ＃09 (BS11 1920x1080 x264 AAC)", 9, "", true},
    MatchRow{"JaWidthTimesHeight", "某作品 ＃09 (BS11 1920x1080 x264 AAC)", 1080, "", false},
    MatchRow{"JaCodec", "某作品 ＃09 (BS11 1920x1080 x264 AAC)", 264, "", false},
    MatchRow{"EnDash", "[Group] Title - 09 (1080p) [A1B2C3D4].mkv", 9, "", true},
    MatchRow{"EnNoLeadingZero", "[Group] Title - 9 [720p]", 9, "", true},
    MatchRow{"EnGroupMissing", "[Group] Title - 09 (1080p) [A1B2C3D4].mkv", 9, "喵萌奶茶屋", false},
    MatchRow{"EnCrc", "[Group] Title - 10 (1080p) [A1B2C309].mkv", 9, "", false},
    MatchRow{"EnCrcLikeEpisodeMark", "[Group] Title - 10 (1080p) [A1B2C3E9].mkv", 9, "", false},
    MatchRow{"EnYear", "[Group] Title (2009) - 03 [1080p]", 9, "", false},
    MatchRow{"EnYearTwentyFour", "[Group] Title 2024 - 03 [1080p]", 24, "", false},
    MatchRow{"EnSeasonEpisode", "Title S02E09 1080p WEB H.264-GRP", 9, "", true},
    MatchRow{"EnSeasonOfSeasonEpisode", "Title S02E09 1080p WEB H.264-GRP", 2, "", false},
    MatchRow{"EnDottedCodec", "Title S02E09 1080p WEB H.265-GRP", 265, "", false},
    MatchRow{"EnVersion", "[Group] Title - 09v2 [1080p]", 9, "", true},
    MatchRow{"EnVersionIsNoEpisode", "[Group] Title - 09v2 [1080p]", 2, "", false},
    MatchRow{"EnSeasonDash", "[Group] Title S2 - 09 [1080p]", 9, "", true},
    MatchRow{"EnSeasonDashNoSeason", "[Group] Title S2 - 09 [1080p]", 2, "", false},
    MatchRow{"EnSeasonDashNoRange", "[Group] Title S2 - 09 [1080p]", 5, "", false},
    MatchRow{"EnNameNumberNoRange", "[Group] Title 2 - 09 [1080p]", 5, "", false},
    MatchRow{"EnSeasonWord", "[Group] Title Season 2 - 09 [1080p]", 2, "", false},
    MatchRow{"EnSecondSeason", "[Group] Title 2nd Season - 09 [1080p]", 2, "", false},
    MatchRow{"EnHalfEpisode", "[Group] Title - 12.5 [1080p]", 12, "", false},
    MatchRow{"EnHalfEpisodeFraction", "[Group] Title - 12.5 [1080p]", 5, "", false},
    MatchRow{"EnStereo", "[Group] Title - 03 [1080p AAC2.0]", 2, "", false},
    MatchRow{"EnSurround", "[Group] Title - 03 [BD 1080p FLAC 5.1]", 5, "", false},
    MatchRow{"EnHi10P", "[Group] Title - 03 [BD 720p Hi10P]", 10, "", false},
    MatchRow{"EnTenBitWord", "[Group] Title - 03 [BD 1080p 10bit]", 10, "", false},
    MatchRow{"EnBatch", "[Group] Title 01-12 Batch [BD 1080p]", 7, "", true},
    MatchRow{"EnBatchFin", "[Group] Title [01~12 Fin][1080p]", 12, "", true},
    MatchRow{"EnSpacedBatch", "[Group] Title (01 - 12) [BD 1080p]", 1, "", true},
    MatchRow{"EnTwoEpisodes", "[Group] Title - 09-10 [1080p]", 10, "", true},
    MatchRow{"EnEnd", "[Group] Title - 12END [1080p]", 12, "", true},
    MatchRow{"EnEp", "[Group] Title EP09 [1080p]", 9, "", true},
    MatchRow{"EnE", "[Group] Title E09 [1080p]", 9, "", true},
    MatchRow{"EnNumberInName", "[Group] Mob Story 100 - 09 [1080p]", 100, "", false},
    MatchRow{"EnBareNumber", "Title 09 1080p", 9, "", true},
    MatchRow{"EnDateIsNoRange", "[Group] Title - 09 [2024-04-12]", 10, "", false},
    MatchRow{"EnVolumeIsNoRange", "[Group] Title Vol.1-6 [BD 1080p]", 6, "", false},
    MatchRow{"EnEpisodeZero", "[Group] Title - 00 [1080p]", 0, "", true}),
    rowName<MatchRow>);
// clang-format on

// Releases as several sites list them, and what the window shows: title|hash|sites per line.
struct MergeRow
{
    const char *name;
    std::vector<std::array<const char *, 3>> releases; // title, info hash, site
    const char *shown;
};
class MergeReleases : public testing::TestWithParam<MergeRow>
{
};

TEST_P(MergeReleases, OncePerRelease)
{
    QList<FoundRelease> found;
    for (const auto &[title, hash, site] : GetParam().releases) {
        Release r;
        r.title = QString::fromUtf8(title);
        r.infoHash = QString::fromLatin1(hash);
        mergeRelease(found, r, QString::fromLatin1(site));
    }
    QStringList shown;
    for (const FoundRelease &f : found)
        shown << f.release.title + QLatin1Char('|') + f.release.infoHash + QLatin1Char('|') + f.sites.join(u',');
    EXPECT_EQ(shown.join(QStringLiteral("; ")), QString::fromUtf8(GetParam().shown));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Sites, MergeReleases, testing::Values(
    MergeRow{"SameHash", {{"A - 09", "h1", "nyaa"}, {"Other name", "h1", "mikan"}}, "A - 09|h1|nyaa,mikan"},
    MergeRow{"SameTitleFillsHash", {{"A - 09", "", "bt"}, {" a - 09 ", "h1", "nyaa"}}, "A - 09|h1|bt,nyaa"},
    MergeRow{"TwoHashesOneTitle", {{"A - 09", "h1", "s1"}, {"A - 09", "h2", "s2"}}, "A - 09|h1|s1; A - 09|h2|s2"},
    MergeRow{"HashBeforeTitle", {{"A", "", "s1"}, {"B", "h1", "s2"}, {"A", "h1", "s3"}}, "A||s1; B|h1|s2,s3"},
    MergeRow{"SameSiteTwice", {{"A", "h1", "s1"}, {"a", "h1", "s1"}}, "A|h1|s1"}),
    rowName<MergeRow>);
// clang-format on
