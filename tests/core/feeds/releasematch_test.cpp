#include "feeds/releasematch.h"
#include "support/coretest.h"

#include <vector>

// Real-looking titles: the episodes each holds, and the numbers in it that are no episode (or not of that group).
TEST(ReleaseMatch, EpisodesAndGroups)
{
    const struct
    {
        const char *title, *group;
        std::vector<qint64> holds, lacks;
    } rows[] = {
        // clang-format off
        {"【喵萌奶茶屋】★04月新番★[某作品][09][1080p][简体][招募翻译]", "喵萌奶茶屋", {9}, {4, 1080}},
        {"【喵萌奶茶屋】★04月新番★[某作品][09][1080p][简体][招募翻译]", "桜都字幕组", {}, {9}},
        {"[LoliHouse] 某作品 - 09 [WebRip 1080p HEVC-10bit AAC]", "lolihouse", {9}, {10}},
        {"某作品 第9集 简体中文", "", {9}, {}},
        {"[喵萌奶茶屋] 某作品 第０９话", "", {9}, {}},
        {"[喵萌奶茶屋] 某作品 第2季 第09话 [1080p]", "", {9}, {2}},
        {"[喵萌奶茶屋] 某作品 [01-12 合集][1080p]", "", {1, 9, 12}, {0, 13}},
        {"[某作品][01～12][BDRip 1080p]", "", {12}, {}},
        {"[某作品] 第09話「星の夜」(1080p)", "", {9}, {}},
        {"某作品 ＃09 (BS11 1920x1080 x264 AAC)", "", {9}, {11, 1920, 1080, 264}},
        {"[Group] Title - 10 (1080p) [A1B2C309].mkv", "", {10}, {9}},
        {"[Group] Title (2009) - 03 [1080p]", "", {3}, {9}},
        {"[Group] Title 2024 - 03 [1080p]", "", {3}, {24}},
        {"Title S02E09 1080p WEB H.264-GRP", "", {9}, {2, 264}},
        {"[Group] Title - 09v2 [1080p]", "", {9}, {2}},
        {"[Group] Title S2 - 09 [1080p]", "", {9}, {2, 5}},
        {"[Group] Title 2 - 09 [1080p]", "", {9}, {2, 5}},
        {"Title Season 2 09 1080p", "", {9}, {2}},
        {"[Group] Title - 12.5 [1080p]", "", {}, {12, 5}},
        {"Title 03 [BD 1080p Hi10P 10 bit FLAC 5.1 AAC2.0]", "", {3}, {0, 1, 2, 5, 10}},
        {"[Group] Title [01~12 Fin][1080p]", "", {12}, {13}},
        {"[Group] Title (01 - 12) [BD 1080p]", "", {1, 12}, {}},
        {"[Group] Title - 09-10 [1080p]", "", {9, 10}, {8, 11}},
        {"[Group] Title - 12END [1080p]", "", {12}, {}},
        {"[Group] Title EP09 [1080p]", "", {9}, {}},
        {"[Group] Title 2 Ep.09 [1080p]", "", {9}, {2}},
        {"[Group] Title 2 [09][1080p]", "", {9}, {2}},
        {"[Group] Title - 09 [2024-04-12]", "", {9}, {4, 10, 12, 2024}},
        {"[Group] Title Vol.1-6 [BD 1080p]", "", {}, {1, 3, 6}},
        {"[Group] Title - 00 [1080p]", "", {0}, {}},
        // clang-format on
    };
    for (const auto &[title, group, holds, lacks] : rows) {
        for (const qint64 episode : holds)
            EXPECT_TRUE(releaseMatches(u(title), episode, u(group))) << title << " holds " << episode;
        for (const qint64 episode : lacks)
            EXPECT_FALSE(releaseMatches(u(title), episode, u(group))) << title << " lacks " << episode;
    }
}
